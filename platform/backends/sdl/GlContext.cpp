#include "platform/backends/sdl/GlContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

namespace platform {
namespace detail {

namespace {

class EglContext final : public GlContext {
 public:
  EglContext(EGLDisplay display, EGLContext context) : m_Display(display), m_Context(context) {}
  ~EglContext() override {
    eglMakeCurrent(m_Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(m_Display, m_Context);
  }
  bool MakeCurrent() override { return eglMakeCurrent(m_Display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_Context) == EGL_TRUE; }

 private:
  EGLDisplay m_Display;
  EGLContext m_Context;
};

}  // namespace

std::unique_ptr<GlContext> MakeEglContext(std::string* why) {
  static EGLDisplay display = EGL_NO_DISPLAY;
  static bool tried = false;
  static std::string failure;
  if (!tried) {
    tried = true;
    display = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0, minor = 0;
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
      display = EGL_NO_DISPLAY;
      failure = "no EGL surfaceless display";
    } else if (!eglBindAPI(EGL_OPENGL_API)) {
      display = EGL_NO_DISPLAY;
      failure = "EGL cannot bind desktop OpenGL";
    }
  }
  if (display == EGL_NO_DISPLAY) {
    if (why) *why = failure;
    return nullptr;
  }
  eglBindAPI(EGL_OPENGL_API);
  const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 3,
                               EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
  if (context == EGL_NO_CONTEXT) {
    const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLint count = 0;
    if (eglChooseConfig(display, wanted, &config, 1, &count) && count > 0)
      context = eglCreateContext(display, config, EGL_NO_CONTEXT, attributes);
  }
  if (context == EGL_NO_CONTEXT) {
    if (why) *why = "no OpenGL 3.3 core context through EGL";
    return nullptr;
  }
  auto made = std::make_unique<EglContext>(display, context);
  if (!made->MakeCurrent()) {
    if (why) *why = "the EGL context cannot be made current";
    return nullptr;
  }
  return made;
}

}  // namespace detail
}  // namespace platform
