#pragma once
// What a backend supplies to the input layer, and the shared input state
// that the backends feed with events.
#include <cstddef>

#include "platform/Input.h"

namespace platform {
namespace detail {

class InputBackend {
 public:
  virtual ~InputBackend() = default;
  // Whether the input system (and its devices) can be made now.
  virtual bool CanCreate() = 0;
  // Relative pointer motion with a hidden pointer, on or off.
  virtual void SetRelativeMouse(HWND window, bool on) = 0;
  // Waits before acquiring again.
  virtual void Wait(int milliseconds) = 0;
  // Called before the n-th read of a device of this kind (n from 0); a
  // result other than Ok fails the read.
  virtual InputResult BeforeRead(InputDeviceKind kind, size_t readIndex) = 0;
  // Called before an acquisition; a result other than Ok fails it.
  virtual InputResult BeforeAcquire() = 0;
};

InputBackend& SdlInputBackend();
InputBackend& HeadlessInputBackend();

// Events from the backends, in key codes and mouse button numbers.
void InputKey(int code, bool down);
void InputButton(int button, bool down);
void InputMotion(int dx, int dy);
void InputWheel(int units);
void InputFocus(bool focused);
// Forgets keys, buttons, motion and focus changes.
void ResetInputState();

}  // namespace detail
}  // namespace platform
