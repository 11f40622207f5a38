#pragma once
// The first boss arena's names and its hall: the generator writes the
// level from it and the tests read the same layout. Header only.
#include "tools/datagen/LevelLayouts.h"

namespace datagen {

constexpr const char* FIRST_BOSS_ARENA = "LevelIntermedio";
// The init script whose exact name makes the game bring the two guardians.
constexpr const char* FIRST_BOSS_ARENA_INIT = "LevelIntermedio_Init.lua";

// A 4000-unit square hall centred on the origin with a pillar in each
// quarter, clear around both guardians' places; the player starts at the
// south wall.
inline const LEVEL_LAYOUT& FirstBossArenaLayout() {
  static const LEVEL_LAYOUT layout = {
      FIRST_BOSS_ARENA,
      {{-2000, -2000, 2000, 2000}},
      {{-1100, -1100, -900, -900}, {900, -1100, 1100, -900}, {-1100, 900, -900, 1100}, {900, 900, 1100, 1100}},
      {},
      {0, -1700, 0}};
  return layout;
}

}  // namespace datagen
