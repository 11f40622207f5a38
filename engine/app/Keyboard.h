#pragma once
// The keyboard, read once per frame: each query compares this frame's key
// states with the frame before. Key codes use the DirectInput numbering
// (platform/Input.h); codes outside 0..255 read as up.
#include <cstdint>
#include <string>

#include "platform/Input.h"
#include "platform/Window.h"

namespace Nembra {

class CKeyboard {
 public:
  static constexpr int STATE_SIZE = platform::KEYBOARD_STATE_SIZE;

  CKeyboard();
  ~CKeyboard();
  CKeyboard(const CKeyboard&) = delete;
  CKeyboard& operator=(const CKeyboard&) = delete;

  // Makes and acquires the keyboard device for the window; false on failure.
  bool Initialize(platform::InputSystem* directInput, platform::HWND window);
  // Takes this frame's key states; once per frame.
  void ReadState();

  bool IsKeyDown(int code) const;
  bool WasKeyPressed(int code) const;   // up in the previous frame, down now
  bool WasKeyReleased(int code) const;  // down in the previous frame, up now
  bool WasAnyKeyReleased() const;
  // The lowest key code released this frame, or -1.
  int GetReleasedKey() const;
  // The display name of a key; empty for a code with no key.
  std::wstring GetKeyName(int code) const;

  // Unacquires and frees the device.
  void ReleaseDevice();

 private:
  static bool InRange(int code) { return code >= 0 && code < STATE_SIZE; }

  platform::InputDevice* m_pDevice = nullptr;
  uint8_t m_KeyStates[STATE_SIZE];
  uint8_t m_PrevKeyStates[STATE_SIZE];
};

extern CKeyboard* g_pKeyboard;

// Makes a keyboard or mouse device for the window and acquires it, waiting
// a few seconds at most while another program has the input (the device
// then stays unacquired and is taken when the window comes to the front).
// Null when the device cannot be made, bound or acquired at all.
platform::InputDevice* OpenInputDevice(platform::InputSystem* directInput, platform::InputDeviceKind kind,
                                       platform::HWND window, bool exclusive);
// Unacquires and frees a device, leaving the pointer null.
void ReleaseInputDevice(platform::InputDevice*& device);

}  // namespace Nembra
