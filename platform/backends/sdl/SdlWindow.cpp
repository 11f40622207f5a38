// Windows and events on SDL2.
#include <SDL.h>

#include <map>

#include "platform/Log.h"
#include "platform/Text.h"
#include "platform/backends/WindowBackend.h"
#include "platform/backends/sdl/SdlEvents.h"

namespace platform {
namespace sdl {
namespace {
std::map<int, EventListener>& Listeners() {
  static std::map<int, EventListener> listeners;
  return listeners;
}
int g_nextListener = 1;
}  // namespace

int AddEventListener(EventListener listener) {
  int id = g_nextListener++;
  Listeners()[id] = std::move(listener);
  return id;
}
void RemoveEventListener(int id) { Listeners().erase(id); }
}  // namespace sdl

namespace detail {
namespace {

int VirtualKeyOf(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + (key - SDLK_F1);
  switch (key) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_MENU;
    case SDLK_LEFT: return 0x25;
    case SDLK_UP: return 0x26;
    case SDLK_RIGHT: return 0x27;
    case SDLK_DOWN: return 0x28;
    case SDLK_DELETE: return 0x2E;
    case SDLK_HOME: return 0x24;
    case SDLK_END: return 0x23;
    default: return 0;
  }
}

class SdlBackend : public WindowBackend {
 public:
  bool Create(WindowObject* w) override {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    int x = w->x, y = w->y, width = w->width, height = w->height;
    if (w->style & WS_POPUP) {
      // Full screen over the desktop. The window is made the desktop's size
      // from the start: without a window manager to grow it, it would keep
      // the requested size while its drawable is reported full size.
      flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
      x = y = 0;
      SDL_DisplayMode desktop;
      if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
        width = desktop.w;
        height = desktop.h;
      }
    } else if (x == 0 && y == 0) {
      x = y = SDL_WINDOWPOS_CENTERED;
    }
    SDL_Window* window = SDL_CreateWindow(w->title.c_str(), x, y, width, height, flags);
    if (!window) {
      LogError(std::string("cannot open the window: ") + SDL_GetError());
      return false;
    }
    w->native = window;
    return true;
  }

  void Destroy(WindowObject* w) override {
    if (w->native) SDL_DestroyWindow(static_cast<SDL_Window*>(w->native));
    w->native = nullptr;
  }

  void Show(WindowObject* w) override {
    if (!w->native) return;
    SDL_ShowWindow(static_cast<SDL_Window*>(w->native));
    SDL_RaiseWindow(static_cast<SDL_Window*>(w->native));
  }

  void Pump() override {
    SDL_Event e;
    while (SDL_PollEvent(&e)) Translate(e);
  }

  void Wait() override {
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, 100)) {
      Translate(e);
      Pump();
    }
  }

  void SystemCommand(WindowObject* w, WPARAM command) override {
    auto* window = static_cast<SDL_Window*>(w->native);
    if (!window) return;
    switch (command & 0xFFF0) {
      case SC_MINIMIZE: SDL_MinimizeWindow(window); break;
      case SC_MAXIMIZE: SDL_MaximizeWindow(window); break;
      case SC_RESTORE: SDL_RestoreWindow(window); break;
      default: break;
    }
  }

  short KeyState(int vk) override {
    const Uint8* keys = SDL_GetKeyboardState(nullptr);
    SDL_Scancode code = SDL_SCANCODE_UNKNOWN;
    switch (vk) {
      case VK_LSHIFT: code = SDL_SCANCODE_LSHIFT; break;
      case VK_RSHIFT: code = SDL_SCANCODE_RSHIFT; break;
      case VK_LCONTROL: code = SDL_SCANCODE_LCTRL; break;
      case VK_RCONTROL: code = SDL_SCANCODE_RCTRL; break;
      case VK_LMENU: code = SDL_SCANCODE_LALT; break;
      case VK_RMENU: code = SDL_SCANCODE_RALT; break;
      case VK_SHIFT:
        return (keys[SDL_SCANCODE_LSHIFT] || keys[SDL_SCANCODE_RSHIFT]) ? static_cast<short>(0x8000) : 0;
      default: {
        SDL_Keycode key = SDLK_UNKNOWN;
        if (vk >= 'A' && vk <= 'Z') key = SDLK_a + (vk - 'A');
        else if (vk >= '0' && vk <= '9') key = SDLK_0 + (vk - '0');
        if (key != SDLK_UNKNOWN) code = SDL_GetScancodeFromKey(key);
      }
    }
    return (code != SDL_SCANCODE_UNKNOWN && keys[code]) ? static_cast<short>(0x8000) : 0;
  }

  void MessageBox(const std::string& text, const std::string& title) override {
    WindowObject* w = CurrentWindow();
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(),
                             w ? static_cast<SDL_Window*>(w->native) : nullptr);
  }

 private:
  void Translate(const SDL_Event& e) {
    for (auto& entry : sdl::Listeners()) entry.second(e);
    WindowObject* w = CurrentWindow();
    switch (e.type) {
      case SDL_QUIT:
        if (w) PostMessage(w, WM_CLOSE, 0, 0);
        else PostQuitMessage(0);
        break;
      case SDL_WINDOWEVENT:
        if (!w) break;
        switch (e.window.event) {
          case SDL_WINDOWEVENT_CLOSE: PostMessage(w, WM_SYSCOMMAND, SC_CLOSE, 0); break;
          case SDL_WINDOWEVENT_FOCUS_GAINED: PostMessage(w, WM_ACTIVATE, WA_ACTIVE, 0); break;
          case SDL_WINDOWEVENT_FOCUS_LOST: PostMessage(w, WM_ACTIVATE, WA_INACTIVE, 0); break;
          case SDL_WINDOWEVENT_MINIMIZED: PostMessage(w, WM_SIZE, SIZE_MINIMIZED, 0); break;
          case SDL_WINDOWEVENT_RESTORED: PostMessage(w, WM_SIZE, SIZE_RESTORED, 0); break;
          case SDL_WINDOWEVENT_MAXIMIZED: PostMessage(w, WM_SIZE, SIZE_MAXIMIZED, 0); break;
          default: break;
        }
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        if (!w) break;
        int vk = VirtualKeyOf(e.key.keysym.sym);
        if (vk == 0) break;
        LPARAM lp = static_cast<LPARAM>(e.key.keysym.scancode & 0xFF) << 16;
        if (e.key.keysym.sym == SDLK_RCTRL || e.key.keysym.sym == SDLK_RALT) lp |= KF_EXTENDED_BIT;
        const bool alt = (e.key.keysym.mod & KMOD_ALT) != 0 || vk == VK_MENU;
        const bool down = e.type == SDL_KEYDOWN;
        PostMessage(w, down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP),
                    static_cast<WPARAM>(vk), lp);
        // Keys that type a control character.
        if (down && (vk == VK_RETURN || vk == VK_TAB || vk == VK_ESCAPE))
          PostMessage(w, WM_CHAR, static_cast<WPARAM>(vk), lp);
        break;
      }
      case SDL_TEXTINPUT: {
        if (!w) break;
        for (wchar_t c : Utf8ToWide(e.text.text)) PostMessage(w, WM_CHAR, static_cast<WPARAM>(c), 0);
        break;
      }
      default: break;
    }
  }
};
}  // namespace

WindowBackend& SdlWindowBackend() {
  static SdlBackend backend;
  return backend;
}
}  // namespace detail
}  // namespace platform
