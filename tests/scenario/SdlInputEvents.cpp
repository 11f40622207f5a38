#include "scenario/SdlInputEvents.h"

#include <SDL.h>

#include "platform/Input.h"

namespace scenario {

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

}  // namespace scenario
