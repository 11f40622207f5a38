#pragma once
// Writers of the level's binary files over the records the game parses
// (game/LevelFileRecords.h): collision shapes, wire-grate shapes, enemy
// generators and items. Tests and the demo data generator make their files
// with these.
#include <cstdint>
#include <string>
#include <vector>

#include "game/LevelFileRecords.h"

namespace formats {

// Little-endian bytes, appended field by field.
class LevelFileBytes {
 public:
  void Int(int32_t value);
  void Float(float value);
  void Vector(const D3DXVECTOR3& value);
  // int32 length, the bytes and a terminating zero.
  void String(const std::string& value);
  void Pair(const LEVEL_PAIR& pair);
  const std::vector<uint8_t>& Bytes() const { return m_Bytes; }

 private:
  std::vector<uint8_t> m_Bytes;
};

void WriteShapeRecord(LevelFileBytes& out, const SHAPE_RECORD& shape);
void WriteItemRecord(LevelFileBytes& out, const ITEM_RECORD& item);
void WriteNodeReference(LevelFileBytes& out, const NODE_REFERENCE& ref);

std::vector<uint8_t> CollisionFileBytes(const COLLISION_FILE& file);
std::vector<uint8_t> WireGrateShapeFileBytes(const WIRE_GRATE_SHAPE_FILE& file);
std::vector<uint8_t> EnemyGeneratorFileBytes(const ENEMY_GENERATOR_FILE& file);
std::vector<uint8_t> ItemsFileBytes(const ITEMS_FILE& file);

// A closed outline through the points, its first point repeated at the end.
SHAPE_RECORD ClosedShape(const std::vector<D3DXVECTOR3>& points);

}  // namespace formats
