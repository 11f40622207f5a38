#pragma once
// What the game-layer fuzz targets do with what a reader gave them, as the
// game meets a file: the real application, started headless on a private
// copy of the demo data and playing Level4, reads the input from its data
// folder, plays a frame, draws it and saves the player's profile and
// settings. The front end's screens are drawn in a screen scenario of their
// own, on another copy. Both are made at the first input, kept for the run
// (an input that ended the level is followed by the level playing again)
// and silent once they stand.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Math.h"

class CApp;
class CLevel;
namespace scenario {
class ScreenScenario;
}

namespace fuzzgame {

// The input written into the application's data folder under a name.
void PutInGame(const std::string& name, const uint8_t* data, size_t size);
void PutInGame(const std::string& name, const std::vector<uint8_t>& bytes);
// The application, playing (an input may then take it to another state).
CApp& App();
// The playing level emptied as between levels, ready for the input's file.
CLevel& EmptiedLevel();
// One frame of the application played and drawn, whatever its state, then
// the current profile and its settings saved.
void PlayDrawSave();
// Where the input's objects stand: a little ahead of the player.
D3DXVECTOR3 BesidePlayer();

// The input written into the screen scenario's data folder under a name.
void PutOnScreen(const std::string& name, const uint8_t* data, size_t size);
// One frame of the screen scenario drawn by `draw`.
void DrawScreen(const std::function<void()>& draw);
// The screen scenario (made by PutOnScreen), for scripted input.
scenario::ScreenScenario& Screen();

}  // namespace fuzzgame
