#pragma once
// Writers of the level's binary files over the records the game parses
// (game/files/LevelFileRecords.h): collision shapes, wire-grate shapes, enemy
// generators and items. Tests and the demo data generator make their files
// with these.
#include <cstdint>
#include <string>
#include <vector>

#include "game/files/LevelFileRecords.h"

namespace formats {

// Little-endian bytes, appended field by field. The offsets of every count
// and string length written are kept, so tests can damage exactly those.
class LevelFileBytes {
 public:
  void Int(int32_t value);
  // A record or vertex count.
  void Count(size_t count);
  void Float(float value);
  void Vector(const D3DXVECTOR3& value);
  // int32 length, the bytes and a terminating zero.
  void String(const std::string& value);
  void Pair(const LEVEL_PAIR& pair);
  const std::vector<uint8_t>& Bytes() const { return m_Bytes; }
  const std::vector<size_t>& LengthOffsets() const { return m_LengthOffsets; }

 private:
  std::vector<uint8_t> m_Bytes;
  std::vector<size_t> m_LengthOffsets;
};

// A level object's place on the floor at (x, y), turned by an angle about
// the vertical.
inline LEVEL_PAIR At(float x, float y, float angle = 0.0f) {
  LEVEL_PAIR pair;
  pair.orientation = D3DXVECTOR3(0.0f, 0.0f, angle);
  pair.position = D3DXVECTOR3(x, y, 0.0f);
  return pair;
}

void WriteShapeRecord(LevelFileBytes& out, const SHAPE_RECORD& shape);
void WriteItemRecord(LevelFileBytes& out, const ITEM_RECORD& item);
void WriteNodeReference(LevelFileBytes& out, const NODE_REFERENCE& ref);

void WriteCollisionFile(LevelFileBytes& out, const COLLISION_FILE& file);
void WriteWireGrateShapeFile(LevelFileBytes& out, const WIRE_GRATE_SHAPE_FILE& file);
void WriteEnemyGeneratorFile(LevelFileBytes& out, const ENEMY_GENERATOR_FILE& file);
void WriteItemsFile(LevelFileBytes& out, const ITEMS_FILE& file);

template <typename File>
std::vector<uint8_t> LevelFileBytesOf(void (*write)(LevelFileBytes&, const File&), const File& file) {
  LevelFileBytes out;
  write(out, file);
  return out.Bytes();
}
inline std::vector<uint8_t> CollisionFileBytes(const COLLISION_FILE& file) {
  return LevelFileBytesOf(WriteCollisionFile, file);
}
inline std::vector<uint8_t> WireGrateShapeFileBytes(const WIRE_GRATE_SHAPE_FILE& file) {
  return LevelFileBytesOf(WriteWireGrateShapeFile, file);
}
inline std::vector<uint8_t> EnemyGeneratorFileBytes(const ENEMY_GENERATOR_FILE& file) {
  return LevelFileBytesOf(WriteEnemyGeneratorFile, file);
}
inline std::vector<uint8_t> ItemsFileBytes(const ITEMS_FILE& file) { return LevelFileBytesOf(WriteItemsFile, file); }

// A closed outline through the points, its first point repeated at the end.
SHAPE_RECORD ClosedShape(const std::vector<D3DXVECTOR3>& points);

}  // namespace formats
