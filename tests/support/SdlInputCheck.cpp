// Opens the real window on the SDL backend, starts the keyboard and mouse
// and sends keys to it: first as SDL events pushed on the queue, then, when
// xdotool is installed, as real key and button presses through the X
// server. Each must reach CKeyboard (and CMouse) as the right key number.
// Exits 77 (skipped) when there is no display.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/InputMapper.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "platform/Input.h"
#include "platform/Platform.h"
#include "support/Display.h"

namespace {

const char* const TITLE = "Karvessa input check";

void PushKey(SDL_Scancode scancode, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = scancode;
  e.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
  SDL_PushEvent(&e);
}

bool Xdotool(const std::string& args) {
  const std::string command = "xdotool " + args + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

// One step: an action, then a condition that must come true within a time.
struct Step {
  std::string what;
  std::function<void()> act;
  std::function<bool()> done;
};

class CheckApp : public Nembra::CApplication {
 public:
  std::vector<Step> steps;
  size_t current = 0;
  bool acted = false;
  uint32_t started = 0;
  bool failed = false;

  bool OnInit() override {
    if (!InitInput()) return false;
    Nembra::g_pInputMapper->AddKeyboardMapping(0, platform::DIK_W, "KMP_UP");
    return true;
  }

  void OnFrame() override {
    Nembra::g_pKeyboard->ReadState();
    Nembra::g_pMouse->ReadState();
    if (current >= steps.size()) {
      Quit();
      return;
    }
    Step& step = steps[current];
    if (!acted) {
      step.act();
      acted = true;
      started = SDL_GetTicks();
      return;
    }
    if (step.done()) {
      std::printf("ok: %s\n", step.what.c_str());
      ++current;
      acted = false;
    } else if (SDL_GetTicks() - started > 5000) {
      std::printf("FAILED: %s\n", step.what.c_str());
      failed = true;
      Quit();
    }
  }
};

}  // namespace

int main() {
  if (!testsupport::HaveDisplay()) return testsupport::SKIPPED;
  platform::SetBackend(platform::Backend::SdlGl);
  Nembra::InitializeEngine();
  CheckApp app;
  using Nembra::g_pInputMapper;
  using Nembra::g_pKeyboard;
  using Nembra::g_pMouse;

  // Keys pushed as SDL events.
  app.steps.push_back({"pushed Up arrow is down as key 200",
                       [] { PushKey(SDL_SCANCODE_UP, true); },
                       [] { return g_pKeyboard->WasKeyPressed(platform::DIK_UP) && g_pKeyboard->IsKeyDown(200); }});
  app.steps.push_back({"pushed Up arrow released",
                       [] { PushKey(SDL_SCANCODE_UP, false); },
                       [] { return g_pKeyboard->GetReleasedKey() == platform::DIK_UP; }});
  app.steps.push_back({"pushed Right Ctrl is key 157",
                       [] { PushKey(SDL_SCANCODE_RCTRL, true); },
                       [] { return g_pKeyboard->IsKeyDown(157) && !g_pKeyboard->IsKeyDown(platform::DIK_LCONTROL); }});
  app.steps.push_back({"pushed Right Ctrl released",
                       [] { PushKey(SDL_SCANCODE_RCTRL, false); },
                       [] { return g_pKeyboard->WasKeyReleased(157); }});

  // Real presses through the X server.
  const bool haveXdotool = std::getenv("DISPLAY") && std::system("command -v xdotool >/dev/null 2>&1") == 0;
  if (haveXdotool) {
    const std::string focus = std::string("search --name '^") + TITLE + "$' windowactivate --sync %1 windowfocus --sync %1";
    app.steps.push_back({"xdotool W is key 17 and the move-up action",
                         [focus] { Xdotool(focus); Xdotool("keydown w"); },
                         [] { return g_pKeyboard->IsKeyDown(platform::DIK_W) && g_pInputMapper->IsActionDown(0); }});
    app.steps.push_back({"xdotool W released",
                         [] { Xdotool("keyup w"); },
                         [] { return g_pKeyboard->WasKeyReleased(17) && g_pInputMapper->WasActionReleased(0); }});
    app.steps.push_back({"xdotool Escape is key 1",
                         [] { Xdotool("keydown Escape"); },
                         [] { return g_pKeyboard->IsKeyDown(platform::DIK_ESCAPE); }});
    app.steps.push_back({"xdotool Escape released",
                         [] { Xdotool("keyup Escape"); },
                         [] { return g_pKeyboard->WasKeyReleased(platform::DIK_ESCAPE); }});
    app.steps.push_back({"xdotool right button is button 1",
                         [] { Xdotool("mousedown 3"); },
                         [] { return g_pMouse->IsButtonDown(1) && !g_pMouse->IsButtonDown(0); }});
    app.steps.push_back({"xdotool right button released",
                         [] { Xdotool("mouseup 3"); },
                         [] { return g_pMouse->WasButtonReleased(1); }});
  } else {
    std::printf("xdotool not available: only pushed events checked\n");
  }

  Nembra::APPLICATION_PARAMS params;
  params.SetTitle(TITLE);
  params.windowed = true;
  if (!app.Init(params)) {
    std::printf("the window or the input could not be started\n");
    Nembra::ShutdownEngine();
    return 1;
  }
  app.Run();
  Nembra::ShutdownEngine();
  const bool allDone = app.current == app.steps.size();
  std::printf("%zu of %zu steps passed\n", app.current, app.steps.size());
  return (!app.failed && allDone) ? 0 : 2;
}
