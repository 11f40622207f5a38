// Opens the real window on the SDL backend, creates the graphics device in
// it through the engine's device wrapper, draws frames and presents them,
// and checks the back buffer. Exits 77 (skipped) when there is no display.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "platform/Platform.h"

namespace {
class CheckApp : public Nembra::CApplication {
 public:
  int frames = 0;
  bool created = false;
  uint32_t pixel = 0;
  bool OnInit() override {
    created = Nembra::g_pGraphicsDevice->Create(GetWindow(), GetParams());
    return created;
  }
  void OnFrame() override {
    ++frames;
    Nembra::CGraphicsDevice* device = Nembra::g_pGraphicsDevice;
    if (device->CheckDevice() != Nembra::CGraphicsDevice::DEVICE_READY) return;
    device->SetClearColor(0.0f, 0.5f, 1.0f, 1.0f);
    device->Clear();
    device->BeginScene();
    if (frames == 10) {
      std::vector<uint32_t> argb;
      uint32_t w = 0, h = 0;
      if (device->GetDevice()->ReadBackBuffer(argb, &w, &h) && w == 800 && h == 600) pixel = argb[300 * 800 + 400];
    }
    device->Present();
    if (frames == 20) {
      SDL_Event quit{};
      quit.type = SDL_QUIT;
      SDL_PushEvent(&quit);
    }
    if (frames > 100000) std::exit(3);
  }
};
}  // namespace

int main() {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    std::printf("no display: skipped\n");
    return 77;
  }
  platform::SetBackend(platform::Backend::SdlGl);
  Nembra::InitializeEngine();
  int result;
  {
    CheckApp app;
    Nembra::APPLICATION_PARAMS params;
    params.SetTitle("Karvessa device check");
    params.windowed = true;
    params.bitsPerPixel = 32;
    if (!app.Init(params)) {
      std::printf("the window or the device could not be made\n");
      Nembra::ShutdownEngine();
      return 1;
    }
    app.Run();
    std::printf("%d frames, centre pixel %08X\n", app.frames, app.pixel);
    result = (app.created && app.frames >= 20 && app.pixel == 0xFF0080FFu) ? 0 : 2;
    Nembra::ShutdownEngine();
  }
  return result;
}
