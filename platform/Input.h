#pragma once
// Keyboard and mouse in the shape the engine reads them: an input system
// that makes devices, a keyboard whose state is 256 bytes indexed by the
// DirectInput key numbering (a key is down when its byte has the high bit
// 0x80), and a mouse whose state is the motion since the last read, the
// wheel in steps of 120 per notch and four button bytes.
//
// Devices follow the window in front: they are acquired while the window
// has the input, a read of a device that lost it fails, and Acquire takes
// it again. An exclusive mouse puts the pointer in relative mode (hidden,
// unbounded motion) while acquired.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Window.h"

namespace platform {

// Key codes, DirectInput numbering: profiles and settings files store these.
enum : int {
  DIK_ESCAPE = 0x01, DIK_1 = 0x02, DIK_2 = 0x03, DIK_3 = 0x04, DIK_4 = 0x05, DIK_5 = 0x06,
  DIK_6 = 0x07, DIK_7 = 0x08, DIK_8 = 0x09, DIK_9 = 0x0A, DIK_0 = 0x0B, DIK_MINUS = 0x0C,
  DIK_EQUALS = 0x0D, DIK_BACK = 0x0E, DIK_TAB = 0x0F,
  DIK_Q = 0x10, DIK_W = 0x11, DIK_E = 0x12, DIK_R = 0x13, DIK_T = 0x14, DIK_Y = 0x15, DIK_U = 0x16,
  DIK_I = 0x17, DIK_O = 0x18, DIK_P = 0x19, DIK_LBRACKET = 0x1A, DIK_RBRACKET = 0x1B,
  DIK_RETURN = 0x1C, DIK_LCONTROL = 0x1D,
  DIK_A = 0x1E, DIK_S = 0x1F, DIK_D = 0x20, DIK_F = 0x21, DIK_G = 0x22, DIK_H = 0x23, DIK_J = 0x24,
  DIK_K = 0x25, DIK_L = 0x26, DIK_SEMICOLON = 0x27, DIK_APOSTROPHE = 0x28, DIK_GRAVE = 0x29,
  DIK_LSHIFT = 0x2A, DIK_BACKSLASH = 0x2B,
  DIK_Z = 0x2C, DIK_X = 0x2D, DIK_C = 0x2E, DIK_V = 0x2F, DIK_B = 0x30, DIK_N = 0x31, DIK_M = 0x32,
  DIK_COMMA = 0x33, DIK_PERIOD = 0x34, DIK_SLASH = 0x35, DIK_RSHIFT = 0x36, DIK_MULTIPLY = 0x37,
  DIK_LMENU = 0x38, DIK_SPACE = 0x39, DIK_CAPITAL = 0x3A,
  DIK_F1 = 0x3B, DIK_F2 = 0x3C, DIK_F3 = 0x3D, DIK_F4 = 0x3E, DIK_F5 = 0x3F, DIK_F6 = 0x40,
  DIK_F7 = 0x41, DIK_F8 = 0x42, DIK_F9 = 0x43, DIK_F10 = 0x44,
  DIK_NUMLOCK = 0x45, DIK_SCROLL = 0x46,
  DIK_NUMPAD7 = 0x47, DIK_NUMPAD8 = 0x48, DIK_NUMPAD9 = 0x49, DIK_SUBTRACT = 0x4A,
  DIK_NUMPAD4 = 0x4B, DIK_NUMPAD5 = 0x4C, DIK_NUMPAD6 = 0x4D, DIK_ADD = 0x4E,
  DIK_NUMPAD1 = 0x4F, DIK_NUMPAD2 = 0x50, DIK_NUMPAD3 = 0x51, DIK_NUMPAD0 = 0x52, DIK_DECIMAL = 0x53,
  DIK_OEM_102 = 0x56, DIK_F11 = 0x57, DIK_F12 = 0x58,
  DIK_F13 = 0x64, DIK_F14 = 0x65, DIK_F15 = 0x66,
  DIK_KANA = 0x70, DIK_ABNT_C1 = 0x73, DIK_CONVERT = 0x79, DIK_NOCONVERT = 0x7B, DIK_YEN = 0x7D,
  DIK_NUMPADEQUALS = 0x8D, DIK_PREVTRACK = 0x90, DIK_NEXTTRACK = 0x99,
  DIK_NUMPADENTER = 0x9C, DIK_RCONTROL = 0x9D,
  DIK_MUTE = 0xA0, DIK_CALCULATOR = 0xA1, DIK_PLAYPAUSE = 0xA2, DIK_MEDIASTOP = 0xA4,
  DIK_VOLUMEDOWN = 0xAE, DIK_VOLUMEUP = 0xB0, DIK_WEBHOME = 0xB2,
  DIK_NUMPADCOMMA = 0xB3, DIK_DIVIDE = 0xB5, DIK_SYSRQ = 0xB7, DIK_RMENU = 0xB8,
  DIK_PAUSE = 0xC5, DIK_HOME = 0xC7, DIK_UP = 0xC8, DIK_PRIOR = 0xC9, DIK_LEFT = 0xCB,
  DIK_RIGHT = 0xCD, DIK_END = 0xCF, DIK_DOWN = 0xD0, DIK_NEXT = 0xD1, DIK_INSERT = 0xD2,
  DIK_DELETE = 0xD3, DIK_LWIN = 0xDB, DIK_RWIN = 0xDC, DIK_APPS = 0xDD, DIK_POWER = 0xDE,
  DIK_SLEEP = 0xDF, DIK_WEBSEARCH = 0xE5, DIK_WEBFAVORITES = 0xE6, DIK_WEBREFRESH = 0xE7,
  DIK_WEBSTOP = 0xE8, DIK_WEBFORWARD = 0xE9, DIK_WEBBACK = 0xEA, DIK_MYCOMPUTER = 0xEB,
  DIK_MAIL = 0xEC, DIK_MEDIASELECT = 0xED,
};

constexpr int KEYBOARD_STATE_SIZE = 256;
constexpr int MOUSE_BUTTON_COUNT = 4;  // 0 left, 1 right, 2 middle, 3 first side button
constexpr int WHEEL_DELTA = 120;       // wheel units per notch

// The mouse's state: motion and wheel since the last read, buttons now.
struct DIMOUSESTATE {
  int32_t lX = 0;
  int32_t lY = 0;
  int32_t lZ = 0;
  uint8_t rgbButtons[MOUSE_BUTTON_COUNT] = {0, 0, 0, 0};
};

enum class InputResult {
  Ok,
  NotAcquired,          // the device is not acquired (the window lost the input)
  OtherAppHasPriority,  // the window is not in front: the input belongs to another program
  InvalidParam,         // a state buffer of the wrong size
  Failed,
};

enum class InputDeviceKind { Keyboard, Mouse };

class InputDevice {
 public:
  InputDeviceKind GetKind() const { return m_Kind; }
  // Binds the device to the window. An exclusive mouse hides the pointer
  // and switches to relative motion while acquired.
  InputResult SetCooperativeLevel(HWND window, bool exclusive);
  InputResult Acquire();
  void Unacquire();
  bool IsAcquired() const;
  // Keyboard: size KEYBOARD_STATE_SIZE. Mouse: size sizeof(DIMOUSESTATE).
  InputResult GetDeviceState(size_t size, void* data);
  // Unacquires and frees the device.
  void Release();

 private:
  friend class InputSystem;
  explicit InputDevice(InputDeviceKind kind) : m_Kind(kind) {}
  ~InputDevice() = default;
  InputDeviceKind m_Kind;
  HWND m_Window = nullptr;
  bool m_Exclusive = false;
  bool m_Acquired = false;
  uint64_t m_FocusEpoch = 0;  // the focus period in which the device was acquired
  size_t m_Reads = 0;
};

// The input system of the process; makes the devices.
class InputSystem {
 public:
  // Null when input cannot be started.
  static InputSystem* Create();
  // Null when the device cannot be made.
  InputDevice* CreateDevice(InputDeviceKind kind);
  void Release();

 private:
  InputSystem() = default;
  ~InputSystem() = default;
};

// Waits before another acquisition is tried (the headless clock moves on
// instead of sleeping).
void WaitForInput(int milliseconds);

// The display name of a key code or a mouse button, from our own table;
// empty for codes and buttons that have none.
std::wstring GetKeyName(int code);
std::wstring GetMouseButtonName(int button);
// The key code of an SDL scancode; 0 when the scancode has no key code.
int KeyCodeFromScancode(int scancode);

namespace headless {
// One scripted input event.
struct InputEvent {
  enum class Type { KeyDown, KeyUp, ButtonDown, ButtonUp, Move, Wheel };
  Type type;
  int a = 0;  // key code, button, dx or notches
  int b = 0;  // dy
  static InputEvent KeyDown(int code) { return {Type::KeyDown, code, 0}; }
  static InputEvent KeyUp(int code) { return {Type::KeyUp, code, 0}; }
  static InputEvent ButtonDown(int button) { return {Type::ButtonDown, button, 0}; }
  static InputEvent ButtonUp(int button) { return {Type::ButtonUp, button, 0}; }
  static InputEvent Move(int dx, int dy) { return {Type::Move, dx, dy}; }
  static InputEvent Wheel(int notches) { return {Type::Wheel, notches, 0}; }
};
using InputFrame = std::vector<InputEvent>;
// A script of input, one entry per frame. Each device takes the events of
// its own kind from entry n just before its n-th read after this call
// (keys for the keyboard; buttons, motion and wheel for the mouse).
void SetInputScript(std::vector<InputFrame> frames);
// Applies one event at once.
void SendInput(const InputEvent& event);
// Whether the window has the input (true by default). Losing it releases
// every key and button and unacquires the devices.
void SetInputFocus(bool focused);
// The next `count` reads of devices of this kind fail as not acquired.
void FailInputReads(InputDeviceKind kind, int count);
// The next `count` acquisitions answer OtherAppHasPriority.
void HoldInputElsewhere(int count);
// Makes creating the input system and its devices fail.
void FailInputCreation(bool fail);
bool IsRelativeMouseMode();
// Forgets the script, the state of keys, buttons and motion and the failures.
void ResetInput();
}  // namespace headless

}  // namespace platform
