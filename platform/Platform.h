#pragma once
// Backend selection for the platform layer. The game runs on the SDL/OpenGL
// backend; tests and tools run on the headless one, which has a scripted
// clock and input and no window, GPU or sound card.
#include <string>

namespace platform {

enum class Backend { SdlGl, Headless };

// Chooses the backend. Call before anything else of the layer; the first
// use of the layer without a call chooses SdlGl.
void SetBackend(Backend backend);
Backend GetBackend();
bool IsHeadless();

// Brings up the backend's video and event system (SDL_Init for SdlGl).
// Safe to call more than once. Returns false with a message in the log
// when the system cannot be started.
bool StartVideo();
// Shuts the backend's systems down; the layer may be started again after.
void StopVideo();

}  // namespace platform
