#pragma once
// What the game-layer fuzz targets do with what a reader gave them (see
// README.md): the application headless on a copy of the demo data, playing
// Level4, or the front end's screens in a screen scenario on another copy;
// both made at the first input, kept for the run and silent.
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
