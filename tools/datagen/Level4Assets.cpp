// Level4's own mesh: the roof over its north corridor, in level
// coordinates (a roof stands at the origin).
#include <string>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/MechanismMeshKit.h"

namespace {

using datagen::Rgb;

std::string NorthCorridorRoof() {
  // Cross beams every 150 units.
  const datagen::ROOF_STYLE style{Rgb(0.3f, 0.33f, 0.36f), Rgb(0.55f, 0.45f, 0.2f), 150, 15, 12, 8};
  return datagen::RoofOverRoom("Level4", 5, style, "Level4_Roof");
}

bool WriteLevel4Assets(const datagen::Output& out) { return out.Write("Level4_Roof.X", NorthCorridorRoof()); }

}  // namespace

DATAGEN_GROUP("level4-assets", WriteLevel4Assets);
