#pragma once
// game/files/: the level's binary files: the record types, the byte
// reader and the parsers. It may call platform/ only.
//
// Parsers of the level's binary files. Each parses a whole file into its
// records or fails: a short read, a string or count beyond the limits or a
// record the format does not allow gives false, and the output is then left
// as it was. Bytes after the last record are ignored with one warning in
// the log, unless a negative count came before them (they are then the
// records a damaged count skipped). Nothing is set aside from a count
// before the bytes it needs are known to be there.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/files/LevelFileReader.h"
#include "game/files/LevelFileRecords.h"

// One shape record at the reader's position. A vertex count below 1 gives
// an empty shape (no vertex data follows); above LEVEL_FILE_MAX_VERTICES or
// past the end of the bytes fails.
bool ReadShapeRecord(CLevelFileReader& reader, SHAPE_RECORD& shape);

// Collision file: int32 count (a negative count fails), then the shapes.
bool ParseCollisionFile(const uint8_t* data, size_t size, COLLISION_FILE& file, size_t* errorOffset = nullptr);
// Wire-grate shape file: an int32, then two shapes.
bool ParseWireGrateShapeFile(const uint8_t* data, size_t size, WIRE_GRATE_SHAPE_FILE& file,
                             size_t* errorOffset = nullptr);
// Enemy-generator file: int32 count, below 1 rejected, then the generators.
bool ParseEnemyGeneratorFile(const uint8_t* data, size_t size, ENEMY_GENERATOR_FILE& file,
                             size_t* errorOffset = nullptr);
// Items file: the thirteen sections in order (a count of 0 or less: no
// records). A roof's door count below 0 fails.
bool ParseItemsFile(const uint8_t* data, size_t size, ITEMS_FILE& file, size_t* errorOffset = nullptr);

inline bool ParseCollisionFile(const std::vector<uint8_t>& bytes, COLLISION_FILE& file) {
  return ParseCollisionFile(bytes.data(), bytes.size(), file);
}
inline bool ParseWireGrateShapeFile(const std::vector<uint8_t>& bytes, WIRE_GRATE_SHAPE_FILE& file) {
  return ParseWireGrateShapeFile(bytes.data(), bytes.size(), file);
}
inline bool ParseEnemyGeneratorFile(const std::vector<uint8_t>& bytes, ENEMY_GENERATOR_FILE& file) {
  return ParseEnemyGeneratorFile(bytes.data(), bytes.size(), file);
}
inline bool ParseItemsFile(const std::vector<uint8_t>& bytes, ITEMS_FILE& file) {
  return ParseItemsFile(bytes.data(), bytes.size(), file);
}
