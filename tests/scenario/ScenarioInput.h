#pragma once
// Scripted input of a scenario frame, on either backend: the headless
// layer's events and the window's typed characters, or, on the SDL backend,
// SDL events as a player's would arrive (keys by DirectInput number; mouse
// buttons 0 left, 1 right, 2 middle, 3 the first extra button).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/app/Application.h"
#include "platform/Window.h"
#include "scenario/ScreenScenario.h"
#include "support/TempDir.h"

namespace scenario {

// Puts a scenario on its backend: SDL with OpenGL (false, with the reason,
// when there is no display), or the headless one with its graphics, input,
// events and clock reset.
bool SelectBackend(bool gl, std::string& problem);

void ApplyFrameInput(const FrameInput& in, bool gl, platform::HWND window);

// Dispatches the window messages waiting, as the program's loop does before
// a frame; false as soon as a quit is taken (what follows it stays queued).
bool DispatchWaitingMessages();

// The steps the application and screen scenarios share (internal to the
// harness): the demo data
// copied into `into` (false with the reason), the 800 x 600 window, the
// OpenGL device's read-back probe, the decoder of the game's fonts.
bool CopyDemoData(testsupport::TempDir& into, std::string& problem);
Nembra::APPLICATION_PARAMS WindowParams(const char* title);
bool CanReadBack();
std::unique_ptr<DrawDecoder> GameFontDecoder();
// The next scripted frame's input, taken off the script (empty when none).
FrameInput TakeNext(std::vector<FrameInput>& script);
// Frame `number`'s clock (headless) and frame time; the recording device's
// log cleared. Gives the texture factor the frame starts with.
uint32_t BeginFrame(int number, float frameTime, bool gl, platform::headless::RecordingDevice* device);
// The back buffer kept as test-images/<name>.png; false, pixels emptied,
// when it cannot be read or is not 800 x 600.
bool ReadAndKeep(const std::string& name, std::vector<uint32_t>& pixels);
// What a scenario undoes after the engine's shutdown.
void EndScenario(bool gl);
// GL only: takes the new window's first events before the first scripted
// frame, dispatching its messages and reading the keyboard and the mouse as
// a frame does: it is shown and has the keyboard focus, and the pointer's
// arrival (a motion of its own) has come where the pointer is over it; an
// earlier window's last events come before these. Waits on the events
// themselves; false, with the reason, when they have not all come within
// 30 seconds.
bool TakeFirstWindowEvents(std::string& problem);
// Runs `frame` until `done` holds after one; false when it never did or
// `frame` gave false (the run ended).
bool FramesUntil(const std::function<bool()>& frame, const std::function<bool()>& done, int maxFrames);

void PushSdlKey(int keyCode, bool down);
void PushSdlButton(int button, bool down);

}  // namespace scenario
