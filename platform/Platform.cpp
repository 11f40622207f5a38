#include "platform/Platform.h"

#include <SDL.h>

#include "platform/Log.h"

namespace platform {
namespace {
Backend g_backend = Backend::SdlGl;
bool g_videoStarted = false;
}  // namespace

void SetBackend(Backend backend) { g_backend = backend; }
Backend GetBackend() { return g_backend; }
bool IsHeadless() { return g_backend == Backend::Headless; }

bool StartVideo() {
  if (IsHeadless() || g_videoStarted) return true;
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
    LogError(std::string("SDL could not start: ") + SDL_GetError());
    return false;
  }
  g_videoStarted = true;
  return true;
}

void StopVideo() {
  if (!g_videoStarted) return;
  SDL_Quit();
  g_videoStarted = false;
}

}  // namespace platform
