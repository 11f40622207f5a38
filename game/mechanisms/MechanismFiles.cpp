#include "game/mechanisms/MechanismFiles.h"

#include "game/mechanisms/TextReader.h"

namespace MechanismFiles {

int ParseWireGrateDescription(const uint8_t* data, size_t size, WIRE_GRATE_DESCRIPTION& out) {
  CTextReader reader(data, size);
  int32_t flag = 0;
  if (!reader.Word(out.closedMesh, MAX_NAME)) return 0;
  if (!reader.Word(out.openedMesh, MAX_NAME)) return 1;
  if (!reader.Word(out.explosionEffectFile, MAX_NAME)) return 2;
  if (!reader.Float(out.closedBoxWidth)) return 3;
  if (!reader.Float(out.closedBoxDepth)) return 4;
  if (!reader.Int(flag)) return 5;
  out.breakable = flag == 1;
  if (!reader.Word(out.openedShapesFileA, MAX_NAME)) return 6;
  if (!reader.Word(out.openedShapesFileB, MAX_NAME)) return 7;
  return 8;
}

bool ParsePushableParts(const uint8_t* data, size_t size, PUSHABLE_PARTS& out) {
  CTextReader reader(data, size);
  PUSHABLE_PARTS read;
  int32_t count = 0;
  if (!reader.Float(read.partHeight) || !reader.IntAnyBase(count)) return false;
  if (count < 0 || count > MAX_PARTS) return false;
  for (int32_t i = 0; i < count; ++i) {
    PUSHABLE_PART part;
    if (!reader.Word(part.meshFile, MAX_NAME) || !reader.Float(part.x)) return false;
    read.parts.push_back(std::move(part));
  }
  out = std::move(read);
  return true;
}

}  // namespace MechanismFiles
