// The terrain mesh of every demo level (<Level>_Terrain.X) and the
// floor and wall textures they share.
#include "tools/datagen/DataGen.h"
#include "tools/datagen/LevelTerrain.h"

namespace {

bool WriteLevelTerrain(const datagen::Output& out) {
  bool ok = out.Write(datagen::TERRAIN_FLOOR_TEXTURE,
                      formats::PngBytes(datagen::TerrainFloorPicture(), false));
  ok &= out.Write(datagen::TERRAIN_WALL_TEXTURE,
                  formats::PngBytes(datagen::TerrainWallPicture(), false));
  for (const datagen::LEVEL_LAYOUT& layout : datagen::DemoLevelLayouts())
    ok &= out.Write(datagen::TerrainMeshName(layout),
                    formats::XFileText(datagen::TerrainMeshFile(layout)));
  return ok;
}

}  // namespace

DATAGEN_GROUP("level-terrain", WriteLevelTerrain);
