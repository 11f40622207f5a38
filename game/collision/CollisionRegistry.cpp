// The level's collision registry: loading, registration and the query.
#include "game/collision/CollisionRegistry.h"

#include <algorithm>
#include <vector>

#include "engine/app/Engine.h"
#include "game/files/LevelFiles.h"
#include "platform/Files.h"
#include "platform/Log.h"

namespace {
const std::list<CCollisionShape> kNoStaticShapes;
const std::list<CCollisionShape*> kNoObjectShapes;
constexpr float kLargestFloat = 3.4028235e38f;
}  // namespace

bool CCollisionRegistry::LoadCollision(const std::string& fileName, int collisionClass) {
  const std::string meaning = ": the level gets none of its walls of collision class " +
                              std::to_string(collisionClass) + ", so what they hold back passes through";
  if (!IsValidClass(collisionClass)) {
    platform::LogWarning("Collision file " + fileName + ": no collision class " + std::to_string(collisionClass));
    return false;
  }
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(Nembra::g_DataDirectory + fileName, bytes)) {
    platform::LogWarning("Collision file " + fileName + " cannot be read" + meaning);
    return false;
  }
  COLLISION_FILE file;
  size_t offset = 0;
  if (!ParseCollisionFile(bytes.data(), bytes.size(), file, &offset)) {
    platform::LogWarning("Collision file " + fileName + " is damaged at byte " + std::to_string(offset) + meaning);
    return false;
  }
  return AddStaticShapes(file, collisionClass);
}

bool CCollisionRegistry::AddStaticShapes(const COLLISION_FILE& file, int collisionClass) {
  if (!IsValidClass(collisionClass)) return false;
  for (const SHAPE_RECORD& record : file.shapes) m_StaticShapes[collisionClass].emplace_back(record);
  return true;
}

void CCollisionRegistry::AddCollisionShape(CCollisionShape* shape, int collisionClass) {
  if (IsValidClass(collisionClass)) m_ObjectShapes[collisionClass].push_back(shape);
}

void CCollisionRegistry::RemoveCollisionShape(CCollisionShape* shape, int collisionClass) {
  if (!IsValidClass(collisionClass)) return;
  auto& shapes = m_ObjectShapes[collisionClass];
  const auto it = std::find(shapes.begin(), shapes.end(), shape);
  if (it != shapes.end()) shapes.erase(it);
}

bool CCollisionRegistry::CheckCollision(const float from[3], const float to[3], float radius, float hit[3],
                                        float& distance, float normal[3], int collisionClass,
                                        bool includeObjects) const {
  distance = kLargestFloat;
  if (!IsValidClass(collisionClass)) return false;
  bool found = false;
  float h[3], d, n[3];
  const auto consider = [&](const CCollisionShape& shape) {
    if (shape.IntersectSphere(from, to, radius, h, d, n) && d < distance) {
      hit[0] = h[0], hit[1] = h[1], hit[2] = h[2];
      normal[0] = n[0], normal[1] = n[1], normal[2] = n[2];
      distance = d;
      found = true;
    }
  };
  for (const CCollisionShape& shape : m_StaticShapes[collisionClass]) consider(shape);
  if (includeObjects)
    for (const CCollisionShape* shape : m_ObjectShapes[collisionClass])
      if (shape) consider(*shape);
  return found;
}

void CCollisionRegistry::Clear() {
  for (int c = 0; c < COLLISION_CLASS_COUNT; ++c) {
    m_StaticShapes[c].clear();
    m_ObjectShapes[c].clear();
  }
}

const std::list<CCollisionShape>& CCollisionRegistry::GetStaticShapes(int collisionClass) const {
  return IsValidClass(collisionClass) ? m_StaticShapes[collisionClass] : kNoStaticShapes;
}

const std::list<CCollisionShape*>& CCollisionRegistry::GetObjectShapes(int collisionClass) const {
  return IsValidClass(collisionClass) ? m_ObjectShapes[collisionClass] : kNoObjectShapes;
}
