#pragma once
// The GL contexts the device draws with: an SDL window's, or an EGL
// surfaceless one for drawing without a window.
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

namespace platform {
namespace detail {

class GlContext {
 public:
  virtual ~GlContext() = default;
  virtual bool MakeCurrent() = 0;
  virtual void Swap() {}
  // Size of the window's drawable; false when there is no window.
  virtual bool DrawableSize(int* w, int* h) { return false; }
  // Without a window: the size of the off-screen screen (0: the back buffer's).
  uint32_t screenWidth = 0, screenHeight = 0;
};

class SdlContext final : public GlContext {
 public:
  SdlContext(SDL_Window* window, SDL_GLContext context) : m_Window(window), m_Context(context) {}
  ~SdlContext() override { SDL_GL_DeleteContext(m_Context); }
  bool MakeCurrent() override { return SDL_GL_MakeCurrent(m_Window, m_Context) == 0; }
  void Swap() override { SDL_GL_SwapWindow(m_Window); }
  bool DrawableSize(int* w, int* h) override {
    SDL_GL_GetDrawableSize(m_Window, w, h);
    return true;
  }

 private:
  SDL_Window* m_Window;
  SDL_GLContext m_Context;
};

// An OpenGL 3.3 core context without a surface, made current; null with
// the reason in why when there is none.
std::unique_ptr<GlContext> MakeEglContext(std::string* why);

}  // namespace detail
}  // namespace platform
