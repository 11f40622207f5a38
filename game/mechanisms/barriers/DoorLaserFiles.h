#pragma once
// The small text files of the mechanisms: a door's description (the mesh
// name on the first line, then the width and the depth of its boxes) and a
// laser's blink durations (a count, then that many seconds). Both are
// parsed from bytes in memory; a file not read whole leaves the values as
// they were.
#include <cstdint>
#include <string>
#include <vector>

struct DOOR_DESCRIPTION {
  std::string meshName;
  float width = 0.0f;
  float depth = 0.0f;
};

namespace DoorLaserFiles {

constexpr size_t MAX_NAME = 259;        // bytes of a name line
constexpr int32_t MAX_DURATIONS = 1024;  // entries read from a durations file
constexpr float MIN_DURATION = 0.001f;   // seconds: shorter entries are left out

// True, with `out` filled, when the mesh line (1 to 259 bytes) and both
// numbers (finite) are there.
bool ParseDoorDescription(const uint8_t* data, size_t size, DOOR_DESCRIPTION& out);
// The durations of the file of at least MIN_DURATION, at most MAX_DURATIONS
// of the count read; a short file keeps the entries it gave. Empty without
// a count. `refused`, when given, counts the positive entries left out for
// being shorter.
std::vector<float> ParseDurations(const uint8_t* data, size_t size, int32_t* refused = nullptr);

// The same, read from the data folder; false (nothing changed) or an empty
// list when the file cannot be read. Durations left out are logged.
bool ReadDoorDescription(const std::string& fileName, DOOR_DESCRIPTION& out);
std::vector<float> ReadDurations(const std::string& fileName);

}  // namespace DoorLaserFiles
