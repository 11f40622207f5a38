#pragma once
// Scripted input of a scenario frame, on either backend: the headless
// layer's events and the window's typed characters, or, on the SDL backend,
// SDL events as a player's would arrive (keys by DirectInput number; mouse
// buttons 0 left, 1 right, 2 middle, 3 the first extra button).
#include <string>

#include "platform/Window.h"
#include "scenario/ScreenScenario.h"

namespace scenario {

// Puts a scenario on its backend: SDL with OpenGL (false, with the reason,
// when there is no display), or the headless one with its graphics, input,
// events and clock reset.
bool SelectBackend(bool gl, std::string& problem);

void ApplyFrameInput(const FrameInput& in, bool gl, platform::HWND window);

// Dispatches the window messages waiting, as the program's loop does before
// a frame; false as soon as a quit is taken (what follows it stays queued).
bool DispatchWaitingMessages();

void PushSdlKey(int keyCode, bool down);
void PushSdlButton(int button, bool down);

}  // namespace scenario
