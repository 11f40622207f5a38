#include "platform/Input.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/Saturate.h"
#include "platform/backends/InputBackend.h"

namespace platform {
namespace {

// Input as the backends report it between two reads of the devices.
struct InputState {
  std::array<bool, KEYBOARD_STATE_SIZE> keys{};
  // Went down since the keyboard was last read: a key tapped between two
  // reads is still seen down by one read.
  std::array<bool, KEYBOARD_STATE_SIZE> keyTapped{};
  std::array<bool, MOUSE_BUTTON_COUNT> buttons{};
  std::array<bool, MOUSE_BUTTON_COUNT> buttonTapped{};
  int64_t dx = 0, dy = 0, dz = 0;
  bool focused = true;
  uint64_t focusEpoch = 1;  // counts the times the window lost the input
  HWND relativeWindow = nullptr;
};

InputState& State() {
  static InputState state;
  return state;
}

detail::InputBackend& ActiveInput() {
  return IsHeadless() ? detail::HeadlessInputBackend() : detail::SdlInputBackend();
}

void SetRelative(HWND window, bool on) {
  InputState& s = State();
  if (on == (s.relativeWindow != nullptr)) return;
  s.relativeWindow = on ? window : nullptr;
  ActiveInput().SetRelativeMouse(window, on);
}

}  // namespace

namespace detail {
void InputKey(int code, bool down) {
  if (code <= 0 || code >= KEYBOARD_STATE_SIZE) return;
  State().keys[code] = down;
  if (down) State().keyTapped[code] = true;
}
void InputButton(int button, bool down) {
  if (button < 0 || button >= MOUSE_BUTTON_COUNT) return;
  State().buttons[button] = down;
  if (down) State().buttonTapped[button] = true;
}
void InputMotion(int dx, int dy) {
  State().dx += dx;
  State().dy += dy;
}
void InputWheel(int units) { State().dz += units; }
void InputFocus(bool focused) {
  InputState& s = State();
  if (s.focused == focused) return;
  s.focused = focused;
  if (!focused) {
    // The devices lose the input; nothing stays held.
    ++s.focusEpoch;
    s.keys.fill(false);
    s.keyTapped.fill(false);
    s.buttons.fill(false);
    s.buttonTapped.fill(false);
    s.dx = s.dy = s.dz = 0;
    if (s.relativeWindow) SetRelative(s.relativeWindow, false);
  }
}
void ResetInputState() {
  InputState& s = State();
  if (s.relativeWindow) SetRelative(s.relativeWindow, false);
  const uint64_t epoch = s.focusEpoch + 1;
  s = InputState{};
  s.focusEpoch = epoch;
}
}  // namespace detail

// ---- devices

InputResult InputDevice::SetCooperativeLevel(HWND window, bool exclusive) {
  if (!window) return InputResult::Failed;
  m_Window = window;
  m_Exclusive = exclusive;
  return InputResult::Ok;
}

InputResult InputDevice::Acquire() {
  if (IsAcquired()) return InputResult::Ok;
  InputResult r = ActiveInput().BeforeAcquire();
  if (r != InputResult::Ok) return r;
  InputState& s = State();
  if (!s.focused) return InputResult::OtherAppHasPriority;
  m_Acquired = true;
  m_FocusEpoch = s.focusEpoch;
  if (m_Kind == InputDeviceKind::Mouse) {
    // Motion from before the acquisition is not ours.
    s.dx = s.dy = s.dz = 0;
    if (m_Exclusive) SetRelative(m_Window, true);
  }
  return InputResult::Ok;
}

void InputDevice::Unacquire() {
  m_Acquired = false;
  if (m_Kind == InputDeviceKind::Mouse && m_Exclusive && State().relativeWindow == m_Window)
    SetRelative(m_Window, false);
}

bool InputDevice::IsAcquired() const { return m_Acquired && m_FocusEpoch == State().focusEpoch; }

InputResult InputDevice::GetDeviceState(size_t size, void* data) {
  const size_t expected = m_Kind == InputDeviceKind::Keyboard ? KEYBOARD_STATE_SIZE : sizeof(DIMOUSESTATE);
  if (!data || size != expected) return InputResult::InvalidParam;
  InputResult r = ActiveInput().BeforeRead(m_Kind, m_Reads++);
  if (r == InputResult::Ok && !IsAcquired()) r = InputResult::NotAcquired;
  if (r != InputResult::Ok) {
    m_Acquired = false;
    return r;
  }
  InputState& s = State();
  if (m_Kind == InputDeviceKind::Keyboard) {
    auto* out = static_cast<uint8_t*>(data);
    for (int i = 0; i < KEYBOARD_STATE_SIZE; ++i) out[i] = (s.keys[i] || s.keyTapped[i]) ? 0x80 : 0;
    s.keyTapped.fill(false);
  } else {
    DIMOUSESTATE state;
    state.lX = ClampToInt32(s.dx);
    state.lY = ClampToInt32(s.dy);
    state.lZ = ClampToInt32(s.dz);
    s.dx = s.dy = s.dz = 0;
    for (int i = 0; i < MOUSE_BUTTON_COUNT; ++i)
      state.rgbButtons[i] = (s.buttons[i] || s.buttonTapped[i]) ? 0x80 : 0;
    s.buttonTapped.fill(false);
    std::memcpy(data, &state, sizeof state);
  }
  return InputResult::Ok;
}

void InputDevice::Release() {
  Unacquire();
  delete this;
}

InputSystem* InputSystem::Create() {
  if (!ActiveInput().CanCreate()) {
    LogError("the input system could not be started");
    return nullptr;
  }
  return new InputSystem();
}

InputDevice* InputSystem::CreateDevice(InputDeviceKind kind) {
  if (!ActiveInput().CanCreate()) return nullptr;
  return new InputDevice(kind);
}

void InputSystem::Release() { delete this; }

void WaitForInput(int milliseconds) {
  if (milliseconds > 0) ActiveInput().Wait(milliseconds);
}

// ---- names

namespace {
std::array<const wchar_t*, KEYBOARD_STATE_SIZE> MakeKeyNames() {
  std::array<const wchar_t*, KEYBOARD_STATE_SIZE> n{};
  n[DIK_ESCAPE] = L"Escape";
  n[DIK_1] = L"1"; n[DIK_2] = L"2"; n[DIK_3] = L"3"; n[DIK_4] = L"4"; n[DIK_5] = L"5";
  n[DIK_6] = L"6"; n[DIK_7] = L"7"; n[DIK_8] = L"8"; n[DIK_9] = L"9"; n[DIK_0] = L"0";
  n[DIK_MINUS] = L"-"; n[DIK_EQUALS] = L"="; n[DIK_BACK] = L"Backspace"; n[DIK_TAB] = L"Tab";
  n[DIK_Q] = L"Q"; n[DIK_W] = L"W"; n[DIK_E] = L"E"; n[DIK_R] = L"R"; n[DIK_T] = L"T";
  n[DIK_Y] = L"Y"; n[DIK_U] = L"U"; n[DIK_I] = L"I"; n[DIK_O] = L"O"; n[DIK_P] = L"P";
  n[DIK_LBRACKET] = L"["; n[DIK_RBRACKET] = L"]"; n[DIK_RETURN] = L"Enter"; n[DIK_LCONTROL] = L"Left Ctrl";
  n[DIK_A] = L"A"; n[DIK_S] = L"S"; n[DIK_D] = L"D"; n[DIK_F] = L"F"; n[DIK_G] = L"G";
  n[DIK_H] = L"H"; n[DIK_J] = L"J"; n[DIK_K] = L"K"; n[DIK_L] = L"L";
  n[DIK_SEMICOLON] = L";"; n[DIK_APOSTROPHE] = L"'"; n[DIK_GRAVE] = L"`";
  n[DIK_LSHIFT] = L"Left Shift"; n[DIK_BACKSLASH] = L"\\";
  n[DIK_Z] = L"Z"; n[DIK_X] = L"X"; n[DIK_C] = L"C"; n[DIK_V] = L"V"; n[DIK_B] = L"B";
  n[DIK_N] = L"N"; n[DIK_M] = L"M"; n[DIK_COMMA] = L","; n[DIK_PERIOD] = L"."; n[DIK_SLASH] = L"/";
  n[DIK_RSHIFT] = L"Right Shift"; n[DIK_MULTIPLY] = L"Num *"; n[DIK_LMENU] = L"Left Alt";
  n[DIK_SPACE] = L"Space"; n[DIK_CAPITAL] = L"Caps Lock";
  n[DIK_F1] = L"F1"; n[DIK_F2] = L"F2"; n[DIK_F3] = L"F3"; n[DIK_F4] = L"F4"; n[DIK_F5] = L"F5";
  n[DIK_F6] = L"F6"; n[DIK_F7] = L"F7"; n[DIK_F8] = L"F8"; n[DIK_F9] = L"F9"; n[DIK_F10] = L"F10";
  n[DIK_F11] = L"F11"; n[DIK_F12] = L"F12"; n[DIK_F13] = L"F13"; n[DIK_F14] = L"F14"; n[DIK_F15] = L"F15";
  n[DIK_NUMLOCK] = L"Num Lock"; n[DIK_SCROLL] = L"Scroll Lock";
  n[DIK_NUMPAD7] = L"Num 7"; n[DIK_NUMPAD8] = L"Num 8"; n[DIK_NUMPAD9] = L"Num 9"; n[DIK_SUBTRACT] = L"Num -";
  n[DIK_NUMPAD4] = L"Num 4"; n[DIK_NUMPAD5] = L"Num 5"; n[DIK_NUMPAD6] = L"Num 6"; n[DIK_ADD] = L"Num +";
  n[DIK_NUMPAD1] = L"Num 1"; n[DIK_NUMPAD2] = L"Num 2"; n[DIK_NUMPAD3] = L"Num 3"; n[DIK_NUMPAD0] = L"Num 0";
  n[DIK_DECIMAL] = L"Num ."; n[DIK_OEM_102] = L"<>";
  n[DIK_KANA] = L"Kana"; n[DIK_ABNT_C1] = L"Ro"; n[DIK_CONVERT] = L"Convert"; n[DIK_NOCONVERT] = L"No Convert";
  n[DIK_YEN] = L"Yen"; n[DIK_NUMPADEQUALS] = L"Num ="; n[DIK_PREVTRACK] = L"Previous Track";
  n[DIK_NEXTTRACK] = L"Next Track"; n[DIK_NUMPADENTER] = L"Num Enter"; n[DIK_RCONTROL] = L"Right Ctrl";
  n[DIK_MUTE] = L"Mute"; n[DIK_CALCULATOR] = L"Calculator"; n[DIK_PLAYPAUSE] = L"Play/Pause";
  n[DIK_MEDIASTOP] = L"Media Stop"; n[DIK_VOLUMEDOWN] = L"Volume Down"; n[DIK_VOLUMEUP] = L"Volume Up";
  n[DIK_WEBHOME] = L"Web Home"; n[DIK_NUMPADCOMMA] = L"Num ,"; n[DIK_DIVIDE] = L"Num /";
  n[DIK_SYSRQ] = L"Print Screen"; n[DIK_RMENU] = L"Right Alt"; n[DIK_PAUSE] = L"Pause";
  n[DIK_HOME] = L"Home"; n[DIK_UP] = L"Up Arrow"; n[DIK_PRIOR] = L"Page Up"; n[DIK_LEFT] = L"Left Arrow";
  n[DIK_RIGHT] = L"Right Arrow"; n[DIK_END] = L"End"; n[DIK_DOWN] = L"Down Arrow"; n[DIK_NEXT] = L"Page Down";
  n[DIK_INSERT] = L"Insert"; n[DIK_DELETE] = L"Delete"; n[DIK_LWIN] = L"Left Windows";
  n[DIK_RWIN] = L"Right Windows"; n[DIK_APPS] = L"Menu"; n[DIK_POWER] = L"Power"; n[DIK_SLEEP] = L"Sleep";
  n[DIK_WEBSEARCH] = L"Web Search"; n[DIK_WEBFAVORITES] = L"Web Favorites"; n[DIK_WEBREFRESH] = L"Web Refresh";
  n[DIK_WEBSTOP] = L"Web Stop"; n[DIK_WEBFORWARD] = L"Web Forward"; n[DIK_WEBBACK] = L"Web Back";
  n[DIK_MYCOMPUTER] = L"My Computer"; n[DIK_MAIL] = L"Mail"; n[DIK_MEDIASELECT] = L"Media Select";
  return n;
}
}  // namespace

std::wstring GetKeyName(int code) {
  static const std::array<const wchar_t*, KEYBOARD_STATE_SIZE> names = MakeKeyNames();
  if (code < 0 || code >= KEYBOARD_STATE_SIZE || !names[code]) return std::wstring();
  return names[code];
}

std::wstring GetMouseButtonName(int button) {
  static const wchar_t* const names[MOUSE_BUTTON_COUNT] = {L"Left Mouse Button", L"Right Mouse Button",
                                                           L"Middle Mouse Button", L"Mouse Button 4"};
  if (button < 0 || button >= MOUSE_BUTTON_COUNT) return std::wstring();
  return names[button];
}

}  // namespace platform
