// Level4's own mesh: the roof over its north corridor, in level
// coordinates (a roof stands at the origin).
#include <string>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/LevelLayouts.h"
#include "tools/datagen/MechanismMeshKit.h"

namespace {

using datagen::MeshKit;
using datagen::Rgb;

std::string NorthCorridorRoof() {
  const datagen::LEVEL_LAYOUT& level = *datagen::FindLevelLayout("Level4");
  const datagen::LAYOUT_BOX corridor = level.rooms[5];
  const float z = level.wallHeight;
  MeshKit kit;
  kit.Box({corridor.minX, corridor.minY, z}, {corridor.maxX, corridor.maxY, z + 20}, Rgb(0.3f, 0.33f, 0.36f));
  // Cross beams every 150 units.
  for (float y = corridor.minY + 75; y < corridor.maxY; y += 150)
    kit.Box({corridor.minX + 15, y - 12, z + 20}, {corridor.maxX - 15, y + 12, z + 28}, Rgb(0.55f, 0.45f, 0.2f));
  return kit.FileBytes("Level4_Roof");
}

bool WriteLevel4Assets(const datagen::Output& out) { return out.Write("Level4_Roof.X", NorthCorridorRoof()); }

}  // namespace

DATAGEN_GROUP("level4-assets", WriteLevel4Assets);
