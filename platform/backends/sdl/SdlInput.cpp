// Keyboard and mouse on SDL2: the events the message pump takes feed the
// input state in key codes and button numbers.
#include <SDL.h>

#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/backends/InputBackend.h"
#include "platform/backends/WindowBackend.h"
#include "platform/backends/sdl/SdlEvents.h"

namespace platform {

int KeyCodeFromScancode(int scancode) {
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
    static const int letters[26] = {DIK_A, DIK_B, DIK_C, DIK_D, DIK_E, DIK_F, DIK_G, DIK_H, DIK_I,
                                    DIK_J, DIK_K, DIK_L, DIK_M, DIK_N, DIK_O, DIK_P, DIK_Q, DIK_R,
                                    DIK_S, DIK_T, DIK_U, DIK_V, DIK_W, DIK_X, DIK_Y, DIK_Z};
    return letters[scancode - SDL_SCANCODE_A];
  }
  // SDL orders the digits 1..9, 0 as the key codes do.
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_0) return DIK_1 + (scancode - SDL_SCANCODE_1);
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F10) return DIK_F1 + (scancode - SDL_SCANCODE_F1);
  switch (scancode) {
    case SDL_SCANCODE_RETURN: return DIK_RETURN;
    case SDL_SCANCODE_ESCAPE: return DIK_ESCAPE;
    case SDL_SCANCODE_BACKSPACE: return DIK_BACK;
    case SDL_SCANCODE_TAB: return DIK_TAB;
    case SDL_SCANCODE_SPACE: return DIK_SPACE;
    case SDL_SCANCODE_MINUS: return DIK_MINUS;
    case SDL_SCANCODE_EQUALS: return DIK_EQUALS;
    case SDL_SCANCODE_LEFTBRACKET: return DIK_LBRACKET;
    case SDL_SCANCODE_RIGHTBRACKET: return DIK_RBRACKET;
    case SDL_SCANCODE_BACKSLASH: return DIK_BACKSLASH;
    case SDL_SCANCODE_NONUSHASH: return DIK_BACKSLASH;
    case SDL_SCANCODE_SEMICOLON: return DIK_SEMICOLON;
    case SDL_SCANCODE_APOSTROPHE: return DIK_APOSTROPHE;
    case SDL_SCANCODE_GRAVE: return DIK_GRAVE;
    case SDL_SCANCODE_COMMA: return DIK_COMMA;
    case SDL_SCANCODE_PERIOD: return DIK_PERIOD;
    case SDL_SCANCODE_SLASH: return DIK_SLASH;
    case SDL_SCANCODE_CAPSLOCK: return DIK_CAPITAL;
    case SDL_SCANCODE_F11: return DIK_F11;
    case SDL_SCANCODE_F12: return DIK_F12;
    case SDL_SCANCODE_F13: return DIK_F13;
    case SDL_SCANCODE_F14: return DIK_F14;
    case SDL_SCANCODE_F15: return DIK_F15;
    case SDL_SCANCODE_PRINTSCREEN: return DIK_SYSRQ;
    case SDL_SCANCODE_SCROLLLOCK: return DIK_SCROLL;
    case SDL_SCANCODE_PAUSE: return DIK_PAUSE;
    case SDL_SCANCODE_INSERT: return DIK_INSERT;
    case SDL_SCANCODE_HOME: return DIK_HOME;
    case SDL_SCANCODE_PAGEUP: return DIK_PRIOR;
    case SDL_SCANCODE_DELETE: return DIK_DELETE;
    case SDL_SCANCODE_END: return DIK_END;
    case SDL_SCANCODE_PAGEDOWN: return DIK_NEXT;
    case SDL_SCANCODE_RIGHT: return DIK_RIGHT;
    case SDL_SCANCODE_LEFT: return DIK_LEFT;
    case SDL_SCANCODE_DOWN: return DIK_DOWN;
    case SDL_SCANCODE_UP: return DIK_UP;
    case SDL_SCANCODE_NUMLOCKCLEAR: return DIK_NUMLOCK;
    case SDL_SCANCODE_KP_DIVIDE: return DIK_DIVIDE;
    case SDL_SCANCODE_KP_MULTIPLY: return DIK_MULTIPLY;
    case SDL_SCANCODE_KP_MINUS: return DIK_SUBTRACT;
    case SDL_SCANCODE_KP_PLUS: return DIK_ADD;
    case SDL_SCANCODE_KP_ENTER: return DIK_NUMPADENTER;
    case SDL_SCANCODE_KP_1: return DIK_NUMPAD1;
    case SDL_SCANCODE_KP_2: return DIK_NUMPAD2;
    case SDL_SCANCODE_KP_3: return DIK_NUMPAD3;
    case SDL_SCANCODE_KP_4: return DIK_NUMPAD4;
    case SDL_SCANCODE_KP_5: return DIK_NUMPAD5;
    case SDL_SCANCODE_KP_6: return DIK_NUMPAD6;
    case SDL_SCANCODE_KP_7: return DIK_NUMPAD7;
    case SDL_SCANCODE_KP_8: return DIK_NUMPAD8;
    case SDL_SCANCODE_KP_9: return DIK_NUMPAD9;
    case SDL_SCANCODE_KP_0: return DIK_NUMPAD0;
    case SDL_SCANCODE_KP_PERIOD: return DIK_DECIMAL;
    case SDL_SCANCODE_KP_EQUALS: return DIK_NUMPADEQUALS;
    case SDL_SCANCODE_KP_COMMA: return DIK_NUMPADCOMMA;
    case SDL_SCANCODE_NONUSBACKSLASH: return DIK_OEM_102;
    case SDL_SCANCODE_APPLICATION: return DIK_APPS;
    case SDL_SCANCODE_POWER: return DIK_POWER;
    case SDL_SCANCODE_SLEEP: return DIK_SLEEP;
    case SDL_SCANCODE_INTERNATIONAL1: return DIK_ABNT_C1;
    case SDL_SCANCODE_INTERNATIONAL2: return DIK_KANA;
    case SDL_SCANCODE_INTERNATIONAL3: return DIK_YEN;
    case SDL_SCANCODE_INTERNATIONAL4: return DIK_CONVERT;
    case SDL_SCANCODE_INTERNATIONAL5: return DIK_NOCONVERT;
    case SDL_SCANCODE_LCTRL: return DIK_LCONTROL;
    case SDL_SCANCODE_LSHIFT: return DIK_LSHIFT;
    case SDL_SCANCODE_LALT: return DIK_LMENU;
    case SDL_SCANCODE_LGUI: return DIK_LWIN;
    case SDL_SCANCODE_RCTRL: return DIK_RCONTROL;
    case SDL_SCANCODE_RSHIFT: return DIK_RSHIFT;
    case SDL_SCANCODE_RALT: return DIK_RMENU;
    case SDL_SCANCODE_RGUI: return DIK_RWIN;
    case SDL_SCANCODE_AUDIONEXT: return DIK_NEXTTRACK;
    case SDL_SCANCODE_AUDIOPREV: return DIK_PREVTRACK;
    case SDL_SCANCODE_AUDIOSTOP: return DIK_MEDIASTOP;
    case SDL_SCANCODE_AUDIOPLAY: return DIK_PLAYPAUSE;
    case SDL_SCANCODE_AUDIOMUTE: return DIK_MUTE;
    case SDL_SCANCODE_MUTE: return DIK_MUTE;
    case SDL_SCANCODE_VOLUMEUP: return DIK_VOLUMEUP;
    case SDL_SCANCODE_VOLUMEDOWN: return DIK_VOLUMEDOWN;
    case SDL_SCANCODE_MEDIASELECT: return DIK_MEDIASELECT;
    case SDL_SCANCODE_MAIL: return DIK_MAIL;
    case SDL_SCANCODE_CALCULATOR: return DIK_CALCULATOR;
    case SDL_SCANCODE_COMPUTER: return DIK_MYCOMPUTER;
    case SDL_SCANCODE_AC_SEARCH: return DIK_WEBSEARCH;
    case SDL_SCANCODE_AC_HOME: return DIK_WEBHOME;
    case SDL_SCANCODE_AC_BACK: return DIK_WEBBACK;
    case SDL_SCANCODE_AC_FORWARD: return DIK_WEBFORWARD;
    case SDL_SCANCODE_AC_STOP: return DIK_WEBSTOP;
    case SDL_SCANCODE_AC_REFRESH: return DIK_WEBREFRESH;
    case SDL_SCANCODE_AC_BOOKMARKS: return DIK_WEBFAVORITES;
    default: return 0;
  }
}

namespace detail {
namespace {

int ButtonOf(Uint8 sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_RIGHT: return 1;
    case SDL_BUTTON_MIDDLE: return 2;
    case SDL_BUTTON_X1: return 3;
    default: return -1;
  }
}

void OnEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_KEYDOWN:
      if (!e.key.repeat) InputKey(KeyCodeFromScancode(e.key.keysym.scancode), true);
      break;
    case SDL_KEYUP:
      InputKey(KeyCodeFromScancode(e.key.keysym.scancode), false);
      break;
    case SDL_MOUSEMOTION:
      InputMotion(e.motion.xrel, e.motion.yrel);
      break;
    case SDL_MOUSEWHEEL: {
      int notches = e.wheel.y;
      if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      InputWheel(notches * WHEEL_DELTA);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      InputButton(ButtonOf(e.button.button), e.type == SDL_MOUSEBUTTONDOWN);
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) InputFocus(false);
      else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) InputFocus(true);
      break;
    default:
      break;
  }
}

class SdlInput : public InputBackend {
 public:
  bool CanCreate() override {
    if (!StartVideo()) return false;
    if (m_Listener == 0) m_Listener = sdl::AddEventListener(&OnEvent);
    return true;
  }
  void SetRelativeMouse(HWND window, bool on) override {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    if (SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE) != 0)
      LogWarning(std::string("relative mouse mode unavailable: ") + SDL_GetError());
  }
  void Wait(int milliseconds) override { SDL_Delay(static_cast<Uint32>(milliseconds)); }
  InputResult BeforeRead(InputDeviceKind, size_t) override { return InputResult::Ok; }
  InputResult BeforeAcquire() override { return InputResult::Ok; }

 private:
  int m_Listener = 0;
};

}  // namespace

InputBackend& SdlInputBackend() {
  static SdlInput backend;
  return backend;
}

}  // namespace detail
}  // namespace platform
