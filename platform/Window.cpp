#include "platform/Window.h"

#include <cstdio>
#include <deque>
#include <map>
#include <memory>

#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/Sound.h"
#include "platform/backends/WindowBackend.h"

namespace platform {
namespace {

std::map<std::string, WNDPROC>& Classes() {
  static std::map<std::string, WNDPROC> classes;
  return classes;
}
std::deque<MSG>& Queue() {
  static std::deque<MSG> queue;
  return queue;
}
std::unique_ptr<WindowObject> g_window;
bool g_quitPosted = false;
int g_quitCode = 0;

detail::WindowBackend& ActiveBackend() {
  return IsHeadless() ? detail::HeadlessWindowBackend() : detail::SdlWindowBackend();
}

bool TakeQueued(MSG* msg) {
  auto& q = Queue();
  if (!q.empty()) {
    *msg = q.front();
    q.pop_front();
    return true;
  }
  if (g_quitPosted) {
    // The quit message comes after everything already posted.
    g_quitPosted = false;
    *msg = MSG{};
    msg->message = WM_QUIT;
    msg->wParam = static_cast<WPARAM>(g_quitCode);
    return true;
  }
  return false;
}

}  // namespace

namespace detail {
WindowObject* CurrentWindow() { return g_window && !g_window->destroyed ? g_window.get() : nullptr; }
}  // namespace detail

bool RegisterWindowClass(const std::string& className, WNDPROC proc) {
  if (className.empty() || !proc) return false;
  if (Classes().count(className)) return false;
  Classes()[className] = proc;
  return true;
}

bool UnregisterWindowClass(const std::string& className) { return Classes().erase(className) > 0; }

HWND CreateAppWindow(const std::string& className, const std::string& title, uint32_t style, int x, int y,
                     int width, int height) {
  auto it = Classes().find(className);
  if (it == Classes().end()) return nullptr;
  if (detail::CurrentWindow()) {
    LogError("only one window is supported");
    return nullptr;
  }
  if (!StartVideo()) return nullptr;
  auto window = std::make_unique<WindowObject>();
  window->className = className;
  window->title = title;
  window->style = style;
  window->x = x;
  window->y = y;
  window->width = width;
  window->height = height;
  window->proc = it->second;
  if (!ActiveBackend().Create(window.get())) return nullptr;
  g_window = std::move(window);
  g_quitPosted = false;
  return g_window.get();
}

bool DestroyWindow(HWND window) {
  if (!window || window != g_window.get() || window->destroyed) return false;
  if (window->proc) window->proc(window, WM_DESTROY, 0, 0);
  ActiveBackend().Destroy(window);
  window->destroyed = true;
  // Messages still queued for the window are dropped.
  auto& q = Queue();
  for (auto it = q.begin(); it != q.end();) it = it->hwnd == window ? q.erase(it) : it + 1;
  return true;
}

bool IsFullScreenWindow(HWND window) { return window && (window->style & WS_POPUP) != 0; }

void GetClientSize(HWND window, int* width, int* height) {
  if (width) *width = window ? window->width : 0;
  if (height) *height = window ? window->height : 0;
}

void ShowWindow(HWND window) {
  if (window && !window->destroyed) ActiveBackend().Show(window);
}

bool PeekMessage(MSG* msg) {
  ActiveBackend().Pump();
  return TakeQueued(msg);
}

bool GetMessage(MSG* msg) {
  ActiveBackend().Pump();
  if (!TakeQueued(msg)) {
    while (!TakeQueued(msg)) {
      ActiveBackend().Wait();
      // Sound plays on while the application waits in the background.
      UpdateAudio();
      if (Queue().empty() && !g_quitPosted) {
        if (IsHeadless()) {
          // Nothing will ever arrive: end the run instead of hanging.
          LogWarning("headless GetMessage with nothing to wait for: quitting");
          *msg = MSG{};
          msg->message = WM_QUIT;
          return false;
        }
        continue;
      }
    }
  }
  return msg->message != WM_QUIT;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg || msg->message == WM_QUIT) return 0;
  HWND target = msg->hwnd ? msg->hwnd : detail::CurrentWindow();
  if (!target || target->destroyed || !target->proc) return 0;
  return target->proc(target, msg->message, msg->wParam, msg->lParam);
}

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window || window->destroyed || !window->proc) return 0;
  return window->proc(window, message, wParam, lParam);
}

void PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m;
  m.hwnd = window;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  Queue().push_back(m);
}

void PostQuitMessage(int exitCode) {
  g_quitPosted = true;
  g_quitCode = exitCode;
}

LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        SendMessage(window, WM_CLOSE, 0, 0);
        return 0;
      }
      if (window && !window->destroyed) ActiveBackend().SystemCommand(window, wParam);
      return 0;
    default:
      return 0;
  }
}

short GetKeyState(int virtualKey) { return ActiveBackend().KeyState(virtualKey); }

void ShowMessageBox(const std::string& text, const std::string& title) {
  std::fprintf(stderr, "%s: %s\n", title.c_str(), ClippedForLog(text).c_str());
  ActiveBackend().MessageBox(text, title);
}

namespace sdl {
void* GetSdlWindow(HWND window) {
  if (IsHeadless() || !window || window->destroyed) return nullptr;
  return window->native;
}
}  // namespace sdl

namespace headless {
void PostEvent(UINT message, WPARAM wParam, LPARAM lParam) {
  PostMessage(detail::CurrentWindow(), message, wParam, lParam);
}
}  // namespace headless

namespace detail {
void ResetMessageQueue() {
  Queue().clear();
  g_quitPosted = false;
}
}  // namespace detail

}  // namespace platform
