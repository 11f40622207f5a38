#pragma once
// What a backend supplies to the window-and-message layer.
#include <cstdint>
#include <string>

#include "platform/Window.h"

namespace platform {
namespace detail {

class WindowBackend {
 public:
  virtual ~WindowBackend() = default;
  // Creates the native window for the handle; false on failure.
  virtual bool Create(WindowObject* window) = 0;
  virtual void Destroy(WindowObject* window) = 0;
  virtual void Show(WindowObject* window) = 0;
  // Turns waiting native events into posted messages (non-blocking).
  virtual void Pump() = 0;
  // Blocks until at least one message was posted (or returns having posted
  // nothing when it cannot wait).
  virtual void Wait() = 0;
  virtual void SystemCommand(WindowObject* window, WPARAM command) = 0;
  virtual short KeyState(int virtualKey) = 0;
  virtual void MessageBox(const std::string& text, const std::string& title) = 0;
};

WindowBackend& SdlWindowBackend();
WindowBackend& HeadlessWindowBackend();

}  // namespace detail

struct WindowObject {
  std::string className;
  std::string title;
  uint32_t style = 0;
  int x = 0, y = 0, width = 0, height = 0;
  WNDPROC proc = nullptr;
  void* native = nullptr;  // SDL_Window* on the SDL backend
  bool destroyed = false;
};

namespace detail {
// The one window, or null.
WindowObject* CurrentWindow();
}  // namespace detail

}  // namespace platform
