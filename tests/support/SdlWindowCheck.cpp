// Opens the real 800x600 window on the SDL backend, runs frames, pushes a
// quit event and expects the frame loop to end normally. Exits 77 (skipped)
// when there is no display.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "platform/Platform.h"
#include "support/Display.h"

namespace {
class CheckApp : public Nembra::CApplication {
 public:
  int frames = 0;
  void OnFrame() override {
    ++frames;
    if (frames == 30) {
      SDL_Event quit{};
      quit.type = SDL_QUIT;
      SDL_PushEvent(&quit);
    }
    if (frames > 100000) std::exit(3);  // the quit event never arrived
  }
  bool shutdown = false;
  void OnShutdown() override { shutdown = true; }
};
}  // namespace

int main() {
  if (!testsupport::HaveDisplay()) return testsupport::SKIPPED;
  platform::SetBackend(platform::Backend::SdlGl);
  Nembra::InitializeEngine();
  CheckApp app;
  Nembra::APPLICATION_PARAMS params;
  params.SetTitle("Karvessa window check");
  params.windowed = true;
  if (!app.Init(params)) {
    std::printf("the window could not be opened\n");
    return 1;
  }
  int w = 0, h = 0;
  SDL_GetWindowSize(static_cast<SDL_Window*>(platform::sdl::GetSdlWindow(app.GetWindow())), &w, &h);
  app.Run();
  Nembra::ShutdownEngine();
  std::printf("window %dx%d, %d frames, shut down %s\n", w, h, app.frames, app.shutdown ? "yes" : "no");
  return (w == 800 && h == 600 && app.frames >= 30 && app.shutdown) ? 0 : 2;
}
