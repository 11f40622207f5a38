// The real 800x600 window on the SDL backend: the graphics device made in
// it through the engine's wrapper draws and presents frames and its back
// buffer is read; keys are sent to the window, first as SDL events pushed
// on the queue, then, when xdotool is installed, as real key and button
// presses through the X server, and each must reach CKeyboard (and CMouse)
// as the right key number; a pushed quit event then ends the frame loop
// normally. Exits 77 (skipped) when there is no display.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/app/InputMapper.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "platform/Input.h"
#include "platform/Platform.h"
#include "support/Display.h"

namespace {

const char* const TITLE = "Karvessa window check";

void PushKey(SDL_Scancode scancode, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = scancode;
  e.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
  SDL_PushEvent(&e);
}

bool Xdotool(const std::string& args) { return std::system(("xdotool " + args + " >/dev/null 2>&1").c_str()) == 0; }

// One step: an action, then a condition that must come true within 5 s.
struct Step {
  std::string what;
  std::function<void()> act;
  std::function<bool()> done;
};

class CheckApp : public Nembra::CApplication {
 public:
  std::vector<Step> steps;
  size_t current = 0;
  bool acted = false, failed = false, created = false, quitSent = false, shutdown = false;
  uint32_t started = 0, pixel = 0;
  int frames = 0, framesAfterQuit = 0;

  bool OnInit() override {
    created = Nembra::g_pGraphicsDevice->Create(GetWindow(), GetParams());
    if (!created || !InitInput()) return false;
    Nembra::g_pInputMapper->AddKeyboardMapping(0, platform::DIK_W, "KMP_UP");
    return true;
  }
  void OnShutdown() override { shutdown = true; }

  void OnFrame() override {
    ++frames;
    Draw();
    Nembra::g_pKeyboard->ReadState();
    Nembra::g_pMouse->ReadState();
    if (quitSent) {
      if (++framesAfterQuit > 100000) std::exit(3);  // the quit event never arrived
      return;
    }
    if (current >= steps.size()) {
      if (frames >= 30) PushQuit();
      return;
    }
    Step& step = steps[current];
    if (!acted) {
      step.act();
      acted = true;
      started = SDL_GetTicks();
    } else if (step.done()) {
      std::printf("ok: %s\n", step.what.c_str());
      ++current;
      acted = false;
    } else if (SDL_GetTicks() - started > 5000) {
      std::printf("FAILED: %s\n", step.what.c_str());
      failed = true;
      PushQuit();
    }
  }

 private:
  void PushQuit() {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    quitSent = true;
  }
  void Draw() {
    Nembra::CGraphicsDevice* device = Nembra::g_pGraphicsDevice;
    if (device->CheckDevice() != Nembra::CGraphicsDevice::DEVICE_READY) return;
    device->SetClearColor(0.0f, 0.5f, 1.0f, 1.0f);
    device->Clear();
    device->BeginScene();
    std::vector<uint32_t> argb;
    uint32_t w = 0, h = 0;
    if (frames == 10 && device->GetDevice()->ReadBackBuffer(argb, &w, &h) && w == 800 && h == 600)
      pixel = argb[300 * 800 + 400];
    device->Present();
  }
};

}  // namespace

int main() {
  if (!testsupport::HaveDisplay()) return testsupport::SKIPPED;
  platform::SetBackend(platform::Backend::SdlGl);
  Nembra::InitializeEngine();
  int result = 1;
  {
    CheckApp app;
    using Nembra::g_pInputMapper;
    using Nembra::g_pKeyboard;
    using Nembra::g_pMouse;

    // Keys pushed as SDL events.
    app.steps = {
        {"pushed Up arrow is down as key 200", [] { PushKey(SDL_SCANCODE_UP, true); },
         [] { return g_pKeyboard->WasKeyPressed(platform::DIK_UP) && g_pKeyboard->IsKeyDown(200); }},
        {"pushed Up arrow released", [] { PushKey(SDL_SCANCODE_UP, false); },
         [] { return g_pKeyboard->GetReleasedKey() == platform::DIK_UP; }},
        {"pushed Right Ctrl is key 157", [] { PushKey(SDL_SCANCODE_RCTRL, true); },
         [] { return g_pKeyboard->IsKeyDown(157) && !g_pKeyboard->IsKeyDown(platform::DIK_LCONTROL); }},
        {"pushed Right Ctrl released", [] { PushKey(SDL_SCANCODE_RCTRL, false); },
         [] { return g_pKeyboard->WasKeyReleased(157); }},
    };

    // Real presses through the X server.
    const bool haveXdotool = std::getenv("DISPLAY") && std::system("command -v xdotool >/dev/null 2>&1") == 0;
    if (haveXdotool) {
      const std::string focus =
          std::string("search --name '^") + TITLE + "$' windowactivate --sync %1 windowfocus --sync %1";
      app.steps.insert(app.steps.end(), {
          {"xdotool W is key 17 and the move-up action", [focus] { Xdotool(focus); Xdotool("keydown w"); },
           [] { return g_pKeyboard->IsKeyDown(platform::DIK_W) && g_pInputMapper->IsActionDown(0); }},
          {"xdotool W released", [] { Xdotool("keyup w"); },
           [] { return g_pKeyboard->WasKeyReleased(17) && g_pInputMapper->WasActionReleased(0); }},
          {"xdotool Escape is key 1", [] { Xdotool("keydown Escape"); },
           [] { return g_pKeyboard->IsKeyDown(platform::DIK_ESCAPE); }},
          {"xdotool Escape released", [] { Xdotool("keyup Escape"); },
           [] { return g_pKeyboard->WasKeyReleased(platform::DIK_ESCAPE); }},
          {"xdotool right button is button 1", [] { Xdotool("mousedown 3"); },
           [] { return g_pMouse->IsButtonDown(1) && !g_pMouse->IsButtonDown(0); }},
          {"xdotool right button released", [] { Xdotool("mouseup 3"); },
           [] { return g_pMouse->WasButtonReleased(1); }},
      });
    } else {
      std::printf("xdotool not available: only pushed events checked\n");
    }

    Nembra::APPLICATION_PARAMS params;
    params.SetTitle(TITLE);
    params.windowed = true;
    params.bitsPerPixel = 32;
    if (app.Init(params)) {
      int w = 0, h = 0;
      SDL_GetWindowSize(static_cast<SDL_Window*>(platform::sdl::GetSdlWindow(app.GetWindow())), &w, &h);
      app.Run();
      std::printf("window %dx%d, %d frames, centre pixel %08X, %zu of %zu steps passed, shut down %s\n", w, h,
                  app.frames, app.pixel, app.current, app.steps.size(), app.shutdown ? "yes" : "no");
      result = w == 800 && h == 600 && app.created && app.frames >= 30 && app.pixel == 0xFF0080FFu && !app.failed &&
                       app.current == app.steps.size() && app.shutdown
                   ? 0
                   : 2;
    } else {
      std::printf("the window, the device or the input could not be started\n");
    }
  }
  Nembra::ShutdownEngine();
  return result;
}
