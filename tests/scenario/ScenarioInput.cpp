#include "scenario/ScenarioInput.h"

#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "frontend/FontNames.h"
#include "game/world/GameGlobals.h"
#include "platform/Clock.h"
#include "platform/HeadlessGraphics.h"
#include "platform/Input.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "support/OffscreenDeviceTest.h"

namespace scenario {

bool SelectBackend(bool gl, std::string& problem) {
  if (gl) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
      problem = "no display for the OpenGL device (run under xvfb-run)";
      return false;
    }
    platform::SetBackend(platform::Backend::SdlGl);
    return true;
  }
  platform::SetBackend(platform::Backend::Headless);
  platform::headless::ResetGraphics();
  platform::headless::ResetInput();
  platform::headless::ResetEvents();
  platform::headless::SetTime(0);
  return true;
}

bool CopyDemoData(testsupport::TempDir& into, std::string& problem) {
  std::error_code ec;
  std::filesystem::copy(KARVESSA_DEMO_DATA_DIR, into.Path(), std::filesystem::copy_options::recursive, ec);
  if (ec) problem = "cannot copy the demo data: " + ec.message();
  return !ec;
}

Nembra::APPLICATION_PARAMS WindowParams(const char* title) {
  Nembra::APPLICATION_PARAMS params;
  params.SetTitle(title);
  params.windowed = true;
  params.width = 800;
  params.height = 600;
  params.bitsPerPixel = 32;
  return params;
}

bool CanReadBack() {
  std::vector<uint32_t> probe;
  uint32_t w = 0, h = 0;
  return Nembra::g_pGraphicsDevice->GetDevice() && Nembra::g_pGraphicsDevice->GetDevice()->ReadBackBuffer(probe, &w, &h);
}

std::unique_ptr<DrawDecoder> GameFontDecoder() {
  return std::make_unique<DrawDecoder>(std::vector<std::string>(GAME_FONT_NAMES.begin(), GAME_FONT_NAMES.end()));
}

FrameInput TakeNext(std::vector<FrameInput>& script) {
  FrameInput input;
  if (!script.empty()) {
    input = std::move(script.front());
    script.erase(script.begin());
  }
  return input;
}

uint32_t BeginFrame(int number, float frameTime, bool gl, platform::headless::RecordingDevice* device) {
  if (!gl)
    platform::headless::SetTime(static_cast<uint64_t>(std::floor(double(number) * double(frameTime) * 1000.0 + 0.5)));
  Nembra::g_FrameTime = frameTime;
  if (!device) return 0;
  device->ClearLog();
  return device->RenderState(platform::D3DRS_TEXTUREFACTOR);
}

bool ReadAndKeep(const std::string& name, std::vector<uint32_t>& pixels) {
  uint32_t w = 0, h = 0;
  pixels.clear();
  if (Nembra::g_pGraphicsDevice->GetDevice()->ReadBackBuffer(pixels, &w, &h) && w == 800 && h == 600) {
    testsupport::KeepPicture(name, pixels, w, h);
    return true;
  }
  pixels.clear();
  return false;
}

bool FramesUntil(const std::function<bool()>& frame, const std::function<bool()>& done, int maxFrames) {
  for (int i = 0; i < maxFrames; ++i) {
    if (!frame()) return false;
    if (done()) return true;
  }
  return false;
}

void EndScenario(bool gl) {
  // The music belonged to the streaming factory the engine's shutdown deleted.
  g_pCurrentMusic = nullptr;
  Nembra::g_FrameTime = 0.0f;
  if (gl) {
    // SDL stays up for the next scenario: shutting it down unloads the GL
    // driver, whose allocations the leak checker then finds unreferenced.
    platform::SetBackend(platform::Backend::Headless);
  } else {
    platform::headless::ResetInput();
    platform::headless::ResetEvents();
  }
}

namespace {

// The SDL scancode of a key number (0 when none maps to it).
int ScancodeOf(int keyCode) {
  for (int s = 0; s < SDL_NUM_SCANCODES; ++s)
    if (platform::KeyCodeFromScancode(s) == keyCode) return s;
  return 0;
}

}  // namespace

void PushSdlKey(int keyCode, bool down) {
  const int scancode = ScancodeOf(keyCode);
  if (scancode == 0) return;
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = static_cast<SDL_Scancode>(scancode);
  e.key.keysym.sym = SDL_GetKeyFromScancode(e.key.keysym.scancode);
  SDL_PushEvent(&e);
}

void PushSdlButton(int button, bool down) {
  static const Uint8 kButtons[] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1};
  if (button < 0 || button > 3) return;
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.button = kButtons[button];
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  SDL_PushEvent(&e);
}

bool DispatchWaitingMessages() {
  platform::MSG msg;
  while (platform::PeekMessage(&msg)) {
    if (msg.message == platform::WM_QUIT) return false;
    platform::DispatchMessage(&msg);
  }
  return true;
}

namespace {
bool PointerOver(SDL_Window* window) {
  int x = 0, y = 0, left = 0, top = 0, width = 0, height = 0;
  SDL_GetGlobalMouseState(&x, &y);
  SDL_GetWindowPosition(window, &left, &top);
  SDL_GetWindowSize(window, &width, &height);
  return x >= left && y >= top && x < left + width && y < top + height;
}
}  // namespace

bool TakeFirstWindowEvents(std::string& problem) {
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  if (!window) {
    problem = "no window with an OpenGL context to wait for";
    return false;
  }
  constexpr Uint32 kLimit = 30000;
  const Uint32 start = SDL_GetTicks();
  for (;;) {
    // Every event waiting is translated and its messages dispatched; the
    // flags below tell which of the window's own have been taken.
    platform::MSG msg;
    while (platform::PeekMessage(&msg))
      if (msg.message != platform::WM_QUIT) platform::DispatchMessage(&msg);
    if (Nembra::g_pKeyboard) Nembra::g_pKeyboard->ReadState();
    if (Nembra::g_pMouse) Nembra::g_pMouse->ReadState();
    const Uint32 flags = SDL_GetWindowFlags(window);
    const bool shown = (flags & SDL_WINDOW_SHOWN) != 0, focused = (flags & SDL_WINDOW_INPUT_FOCUS) != 0;
    const bool pointerTaken = (flags & SDL_WINDOW_MOUSE_FOCUS) != 0 || !PointerOver(window);
    if (shown && focused && pointerTaken) return true;
    const Uint32 waited = SDL_GetTicks() - start;
    if (waited >= kLimit) {
      problem = std::string("the window's first events did not all come within 30 s:") + (shown ? "" : " not shown") +
                (focused ? "" : " no keyboard focus") + (pointerTaken ? "" : " the pointer over it never arrived");
      return false;
    }
    SDL_WaitEventTimeout(nullptr, static_cast<int>(kLimit - waited));
  }
}

void ApplyFrameInput(const FrameInput& in, bool gl, platform::HWND window) {
  const int dx = (in.move ? in.mouseX - Nembra::g_pMouse->GetX() : 0) + in.moveDX;
  const int dy = (in.move ? in.mouseY - Nembra::g_pMouse->GetY() : 0) + in.moveDY;
  if (gl) {
    if (dx || dy) {
      SDL_Event e{};
      e.type = SDL_MOUSEMOTION;
      e.motion.xrel = dx;
      e.motion.yrel = dy;
      SDL_PushEvent(&e);
    }
    if (in.wheelNotches) {
      SDL_Event e{};
      e.type = SDL_MOUSEWHEEL;
      e.wheel.y = in.wheelNotches;
      e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
      SDL_PushEvent(&e);
    }
    for (int b : in.buttonsUp) PushSdlButton(b, false);
    for (int b : in.buttonsDown) PushSdlButton(b, true);
    for (int k : in.keysUp) PushSdlKey(k, false);
    for (int k : in.keysDown) PushSdlKey(k, true);
    if (!in.typed.empty()) {
      // One event per character keeps every event within SDL's text size.
      for (wchar_t c : in.typed) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        const std::string utf8 = platform::WideToUtf8(std::wstring(1, c));
        std::snprintf(e.text.text, sizeof e.text.text, "%s", utf8.c_str());
        SDL_PushEvent(&e);
      }
    }
    return;
  }
  using platform::headless::InputEvent;
  using platform::headless::SendInput;
  if (dx || dy) SendInput(InputEvent::Move(dx, dy));
  if (in.wheelNotches) SendInput(InputEvent::Wheel(in.wheelNotches));
  for (int b : in.buttonsUp) SendInput(InputEvent::ButtonUp(b));
  for (int b : in.buttonsDown) SendInput(InputEvent::ButtonDown(b));
  for (int k : in.keysUp) SendInput(InputEvent::KeyUp(k));
  for (int k : in.keysDown) {
    SendInput(InputEvent::KeyDown(k));
    // As on the real window: Enter, Tab and Escape type their control character.
    if (k == platform::DIK_RETURN) platform::PostMessage(window, platform::WM_CHAR, 13, 0);
    if (k == platform::DIK_TAB) platform::PostMessage(window, platform::WM_CHAR, 9, 0);
    if (k == platform::DIK_ESCAPE) platform::PostMessage(window, platform::WM_CHAR, 27, 0);
  }
  for (wchar_t c : in.typed) platform::PostMessage(window, platform::WM_CHAR, static_cast<platform::WPARAM>(c), 0);
}

}  // namespace scenario
