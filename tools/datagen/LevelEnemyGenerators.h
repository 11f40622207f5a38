#pragma once
// The enemy generators of the demo levels: one in the middle of every room
// at least 1000 from the player's start, with the options of the level.
#include <array>
#include <string>

#include "game/files/LevelFileRecords.h"
#include "tools/datagen/LevelLayouts.h"

namespace datagen {

namespace enemygen {

inline bool Contains(const LAYOUT_BOX& box, const D3DXVECTOR3& p) {
  return p.x >= box.minX && p.x <= box.maxX && p.y >= box.minY && p.y <= box.maxY;
}

// Walkers first in the tutorial, a mix further on, every kind in the arena.
inline std::array<ENEMY_GENERATOR_OPTION, 3> OptionsOf(const std::string& level) {
  if (level == "LevelTutorial") return {{{1, 100, 1}, {1, 0, 1}, {1, 0, 1}}};
  if (level == "Level4") return {{{1, 50, 1}, {3, 30, 1}, {7, 0, 1}}};
  return {{{0, 60, 1}, {6, 20, 0}, {8, 0, 1}}};
}

}  // namespace enemygen

inline ENEMY_GENERATOR_FILE DemoLevelEnemyGenerators(const LEVEL_LAYOUT& layout) {
  ENEMY_GENERATOR_FILE file;
  for (const LAYOUT_BOX& room : layout.rooms) {
    if (enemygen::Contains(room, layout.playerStart)) continue;
    ENEMY_GENERATOR_RECORD record;
    record.options = enemygen::OptionsOf(layout.name);
    record.position = D3DXVECTOR3((room.minX + room.maxX) * 0.5f, (room.minY + room.maxY) * 0.5f, 0.0f);
    record.facing = 0.0f;
    record.group = file.generators.size() % 2 == 0 ? "" : "Far";
    // Clear of the pillars standing in the room.
    for (const LAYOUT_BOX& pillar : layout.pillars)
      if (enemygen::Contains(LAYOUT_BOX{pillar.minX - 100, pillar.minY - 100, pillar.maxX + 100, pillar.maxY + 100},
                   record.position))
        record.position.x = room.minX + 150.0f;
    const D3DXVECTOR3 fromStart = record.position - layout.playerStart;
    bool taken = D3DXVec3Length(&fromStart) < 1000.0f;
    for (const ENEMY_GENERATOR_RECORD& other : file.generators)
      taken |= other.position.x == record.position.x && other.position.y == record.position.y;
    if (taken) continue;
    file.generators.push_back(record);
  }
  return file;
}

}  // namespace datagen
