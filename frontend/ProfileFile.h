#pragma once
// The bytes of a profile file ("Profile<n>.dat"): a two-byte prefix (FF FE
// when we write it; readers skip any two bytes), a little-endian 32-bit
// count = name length in UTF-16 units + 1, the name and one 0 unit, then the
// level reached as a little-endian 32-bit number. Nothing follows.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "game/level/LevelDescriptions.h"

enum class ProfileFileState {
  Ok,       // a whole, plausible profile
  Missing,  // no such file
  Damaged,  // a file that is not a profile: the slot counts as free
};

// Limits a profile file must keep: at most 256 name units (count 257) and a
// level reached of at most the number of level descriptions (a profile that
// finished the last level has gone one past it).
constexpr uint32_t PROFILE_MAX_COUNT = 257;
constexpr uint32_t PROFILE_MAX_LEVEL = LEVEL_DESCRIPTION_COUNT;

struct PROFILE_FILE_CONTENT {
  std::wstring name;
  uint32_t levelReached = 0;
};

// Ok with the content, or Damaged (content left empty) when the bytes are
// shorter than 12, the count is 0 or above 257, the file holds fewer units
// than the count or bytes after the level, the last unit is not 0, or the
// level is above PROFILE_MAX_LEVEL. The name is the units before the first 0 unit.
ProfileFileState ParseProfileBytes(const uint8_t* data, size_t size, PROFILE_FILE_CONTENT& out);

// The file's bytes. A name longer than 256 units is cut (never inside a
// surrogate pair), and so is a name at an embedded 0 unit.
std::vector<uint8_t> BuildProfileBytes(const std::wstring& name, uint32_t levelReached);
