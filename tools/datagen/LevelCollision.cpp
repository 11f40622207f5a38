// The collision files of the demo levels, made from their room layouts:
//   <Level>_Col0.dat  the walls as they stand (shots, lasers, blocks);
//   <Level>_Col1.dat  the same walls grown into the rooms by the characters'
//                     margin (what enemies and the player walk against);
//   <Level>_Col2.dat  the walls only the player meets.
#include <cstdio>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/LevelLayouts.h"
#include "tools/formats/LevelFiles.h"

namespace {

COLLISION_FILE ClosedLoops(const std::vector<std::vector<D3DXVECTOR3>>& loops) {
  COLLISION_FILE file;
  for (const auto& loop : loops) file.shapes.push_back(formats::ClosedShape(loop));
  return file;
}

bool WriteLevelCollision(const datagen::Output& out) {
  for (const datagen::LEVEL_LAYOUT& layout : datagen::DemoLevelLayouts()) {
    const auto walls = datagen::LayoutOutlines(layout);
    if (walls.empty()) {
      std::fprintf(stderr, "datagen: the walls of %s cannot be traced\n", layout.name.c_str());
      return false;
    }
    COLLISION_FILE playerOnly;
    for (const auto& line : layout.playerOnlyWalls) playerOnly.shapes.push_back(SHAPE_RECORD{line});
    const COLLISION_FILE tight = ClosedLoops(walls);
    const COLLISION_FILE grown = ClosedLoops(datagen::GrowIntoWalkable(walls, datagen::CHARACTER_WALL_MARGIN));
    if (!out.Write(layout.name + "_Col0.dat", formats::CollisionFileBytes(tight)) ||
        !out.Write(layout.name + "_Col1.dat", formats::CollisionFileBytes(grown)) ||
        !out.Write(layout.name + "_Col2.dat", formats::CollisionFileBytes(playerOnly)))
      return false;
  }
  return true;
}

}  // namespace

DATAGEN_GROUP("level-collision", WriteLevelCollision);
