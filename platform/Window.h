#pragma once
// A small window-and-message layer with the message numbers, system
// commands and virtual-key codes the engine's window procedure uses. The
// SDL backend turns SDL events into these messages; the headless backend
// takes them from a test.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

struct WindowObject;
using HWND = WindowObject*;
using UINT = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// Messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;  // wParam: one typed character (UTF-16 unit or code point)
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCOMMAND = 0x0112;

// WM_ACTIVATE low word.
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;
constexpr WPARAM WA_CLICKACTIVE = 2;
// WM_SIZE wParam.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;
constexpr WPARAM SIZE_MAXSHOW = 3;
constexpr WPARAM SIZE_MAXHIDE = 4;
// WM_SYSCOMMAND wParam.
constexpr WPARAM SC_SIZE = 0xF000;
constexpr WPARAM SC_MOVE = 0xF010;
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_MAXIMIZE = 0xF030;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_KEYMENU = 0xF100;
constexpr WPARAM SC_RESTORE = 0xF120;
constexpr WPARAM SC_MONITORPOWER = 0xF170;

// Virtual-key codes used by the window procedure.
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_F4 = 0x73;
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;
constexpr int VK_LCONTROL = 0xA2;
constexpr int VK_RCONTROL = 0xA3;
constexpr int VK_LMENU = 0xA4;
constexpr int VK_RMENU = 0xA5;
// Bit 24 of a key message's lParam: the extended key (right Ctrl, right Alt).
constexpr LPARAM KF_EXTENDED_BIT = LPARAM(1) << 24;

// Window styles the engine asks for.
constexpr uint32_t WS_POPUP = 0x80000000u;
constexpr uint32_t WS_VISIBLE = 0x10000000u;
constexpr uint32_t WS_CAPTION = 0x00C00000u;
constexpr uint32_t WS_SYSMENU = 0x00080000u;

// Window class: a name and a procedure.
bool RegisterWindowClass(const std::string& className, WNDPROC proc);
bool UnregisterWindowClass(const std::string& className);

// Opens the one window. style WS_POPUP means full screen (desktop full
// screen with the back buffer scaled to fit); otherwise a normal window
// whose client area is width x height. Returns null on failure.
HWND CreateAppWindow(const std::string& className, const std::string& title, uint32_t style,
                     int x, int y, int width, int height);
// Destroys the window; its procedure gets WM_DESTROY.
bool DestroyWindow(HWND window);
bool IsFullScreenWindow(HWND window);
void GetClientSize(HWND window, int* width, int* height);
void ShowWindow(HWND window);

// Messages. PeekMessage takes the next waiting message without blocking;
// GetMessage blocks until one arrives (keeping sound fed meanwhile) and
// returns false for WM_QUIT.
bool PeekMessage(MSG* msg);
bool GetMessage(MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Default handling: WM_CLOSE destroys the window, SC_CLOSE closes it,
// SC_MINIMIZE / SC_MAXIMIZE / SC_RESTORE act on a real window; the rest
// does nothing. Returns 0.
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Whether a key (virtual-key code) is down now; high bit set as in Win32.
short GetKeyState(int virtualKey);

// A modal message box (stderr as well); headless writes stderr only.
void ShowMessageBox(const std::string& text, const std::string& title);

// Opens an http or https address in the desktop's browser (xdg-open,
// started without a shell). Any other address is refused.
bool OpenWebPage(const std::string& url);

namespace headless {
// Tests drive the headless message stream.
void PostEvent(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Called by GetMessage when nothing waits; it should post something. When
// it posts nothing, GetMessage ends the run with WM_QUIT so a test never hangs.
void SetIdleHook(std::function<void()> hook);
// Called on every turn of the message pump (each PeekMessage or
// GetMessage), before the queue is read: a test moves its clock or posts
// events there.
void SetPumpHook(std::function<void()> hook);
// Sets the state reported by GetKeyState.
void SetKeyDown(int virtualKey, bool down);
// Every system command that reached DefWindowProc, in order.
const std::vector<WPARAM>& DefaultSystemCommands();
// Message boxes shown so far (text, title).
const std::vector<std::pair<std::string, std::string>>& MessageBoxes();
// Forgets events, keys, commands and boxes.
void ResetEvents();
}  // namespace headless

namespace sdl {
// The SDL window behind a window handle (SDL backend only; null otherwise).
void* GetSdlWindow(HWND window);
}  // namespace sdl

}  // namespace platform
