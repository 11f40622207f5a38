#pragma once
// Lets other parts of the SDL backend (input, sound) see the SDL events
// that the message pump takes from the queue.
#include <SDL.h>

#include <functional>

namespace platform {
namespace sdl {
using EventListener = std::function<void(const SDL_Event&)>;
// Returns an id for RemoveEventListener.
int AddEventListener(EventListener listener);
void RemoveEventListener(int id);
}  // namespace sdl
}  // namespace platform
