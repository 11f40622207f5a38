#pragma once
// Scripted input of a scenario frame, on either backend: the headless
// layer's events and the window's typed characters, or, on the SDL backend,
// SDL events as a player's would arrive (keys by DirectInput number; mouse
// buttons 0 left, 1 right, 2 middle, 3 the first extra button).
#include "platform/Window.h"
#include "scenario/ScreenScenario.h"

namespace scenario {

void ApplyFrameInput(const FrameInput& in, bool gl, platform::HWND window);

void PushSdlKey(int keyCode, bool down);
void PushSdlButton(int button, bool down);

}  // namespace scenario
