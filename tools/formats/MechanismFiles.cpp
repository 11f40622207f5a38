#include "tools/formats/MechanismFiles.h"

#include <cstdio>

namespace formats {

namespace {
std::string Line(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}
}  // namespace

std::string WireGrateDescriptionText(const MechanismFiles::WIRE_GRATE_DESCRIPTION& d) {
  return d.closedMesh + "\n" + d.openedMesh + "\n" + d.explosionEffectFile + "\n" +
         Line("%f\n", d.closedBoxWidth) + Line("%f\n", d.closedBoxDepth) + (d.breakable ? "1\n" : "0\n") +
         d.openedShapesFileA + "\n" + d.openedShapesFileB + "\n";
}

std::string PushablePartsText(const MechanismFiles::PUSHABLE_PARTS& parts) {
  std::string text = Line("%f\n", parts.partHeight) + std::to_string(parts.parts.size()) + "\n";
  for (const MechanismFiles::PUSHABLE_PART& part : parts.parts) text += part.meshFile + "\n" + Line("%f\n", part.x);
  return text;
}

}  // namespace formats
