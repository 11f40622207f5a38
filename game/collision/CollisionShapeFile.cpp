// Loading a wire grate's pair of shapes from its shape file.
#include "game/collision/CollisionShapeFile.h"

#include <vector>

#include "engine/app/Engine.h"
#include "game/files/LevelFiles.h"
#include "platform/Files.h"
#include "platform/Log.h"

bool LoadWireGrateShapes(const std::string& fileName, const D3DXVECTOR3& position, float angle,
                         CCollisionShape& first, CCollisionShape& second) {
  first = CCollisionShape();
  second = CCollisionShape();
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(Nembra::g_DataDirectory + fileName, bytes)) {
    platform::LogWarning("Wire-grate shape file " + fileName + " cannot be read");
    return false;
  }
  WIRE_GRATE_SHAPE_FILE file;
  size_t offset = 0;
  if (!ParseWireGrateShapeFile(bytes.data(), bytes.size(), file, &offset)) {
    platform::LogWarning("Wire-grate shape file " + fileName + " is damaged at byte " + std::to_string(offset));
    return false;
  }
  first.Load(file.shapes[0]);
  second.Load(file.shapes[1]);
  first.MoveTo(position, angle);
  second.MoveTo(position, angle);
  return true;
}
