#pragma once
// What each demo level holds besides its rooms: the items file, the enemy
// generators, the triggers, the level's scripts, and the route a player
// walks to finish it. One header per level fills these; header only, so
// the tests and the scripted runs read the same values the generator
// writes.
#include <string>
#include <utility>
#include <vector>

#include "game/files/LevelFileRecords.h"
#include "tools/datagen/LevelLayouts.h"
#include "tools/formats/LevelFiles.h"
#include "tools/formats/TriggerFile.h"

namespace datagen {

// One step of the way through a level, taken in order by a player.
struct DEMO_ROUTE_STEP {
  enum Kind {
    WALK,    // walk to (x, y), fighting enemies met on the way
    ACTION,  // walk to (x, y), then press the Action key once
    SHOOT,   // stand, aim at (x, y, z) and fire `shots` shots of colour `colour`
    FIGHT,   // stand and fight until no enemy is alive within `radius`, at most `seconds`
    WAIT,    // stand for `seconds`
    HAZARD,  // walk to (x, y) and stay there until the player dies (planned death)
    FINISH,  // walk to (x, y), the level's last goal: the level ends there
  };
  Kind kind = WALK;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  int shots = 0;
  int colour = 0;  // 0 blue, 1 red (the weapon to use)
  float seconds = 0.0f;
  float radius = 0.0f;
  const char* note = "";
};

struct DEMO_LEVEL_CONTENT {
  ITEMS_FILE items;
  ENEMY_GENERATOR_FILE generators;
  std::vector<formats::TriggerFileRecord> triggers;
  // Scripts the level runs, by file name under "Scripts/", and their text.
  std::vector<std::pair<std::string, std::string>> scripts;
  std::vector<DEMO_ROUTE_STEP> route;
};

using formats::At;

// A route step of a kind at a point; the kind's other values stay to set.
inline DEMO_ROUTE_STEP RouteStep(DEMO_ROUTE_STEP::Kind kind, float x, float y, const char* note) {
  DEMO_ROUTE_STEP step;
  step.kind = kind;
  step.x = x;
  step.y = y;
  step.note = note;
  return step;
}

}  // namespace datagen
