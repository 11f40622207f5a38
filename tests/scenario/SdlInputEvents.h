#pragma once
// Scripted input for scenarios on the SDL backend: keys (DirectInput key
// numbers) and mouse buttons (0 left, 1 right, 2 middle, 3 the first extra
// button) pushed as SDL events, as a player's would arrive.

namespace scenario {

void PushSdlKey(int keyCode, bool down);
void PushSdlButton(int button, bool down);

}  // namespace scenario
