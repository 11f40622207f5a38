#include "game/mechanisms/barriers/DoorLaserFiles.h"

#include "engine/app/Engine.h"
#include "game/mechanisms/TextReader.h"
#include "platform/Files.h"
#include "platform/Log.h"

namespace {

bool ReadBytes(const std::string& fileName, std::vector<uint8_t>& bytes) {
  return !fileName.empty() && platform::ReadWholeFile(Nembra::g_DataDirectory + fileName, bytes);
}

}  // namespace

namespace DoorLaserFiles {

bool ParseDoorDescription(const uint8_t* data, size_t size, DOOR_DESCRIPTION& out) {
  CTextReader reader(data, size);
  DOOR_DESCRIPTION read;
  if (!reader.Line(MAX_NAME, read.meshName) || !reader.LeadingFloat(read.width) || !reader.LeadingFloat(read.depth))
    return false;
  out = read;
  return true;
}

std::vector<float> ParseDurations(const uint8_t* data, size_t size, int32_t* refused) {
  std::vector<float> durations;
  if (refused) *refused = 0;
  CTextReader reader(data, size);
  int32_t count = 0;
  if (!reader.LeadingInt(count) || count <= 0) return durations;
  const int32_t wanted = count < MAX_DURATIONS ? count : MAX_DURATIONS;
  for (int32_t i = 0; i < wanted; ++i) {
    float seconds = 0.0f;
    if (!reader.LeadingFloat(seconds)) break;
    if (seconds >= MIN_DURATION) durations.push_back(seconds);
    else if (seconds > 0.0f && refused) ++*refused;
  }
  return durations;
}

bool ReadDoorDescription(const std::string& fileName, DOOR_DESCRIPTION& out) {
  std::vector<uint8_t> bytes;
  return ReadBytes(fileName, bytes) && ParseDoorDescription(bytes.data(), bytes.size(), out);
}

std::vector<float> ReadDurations(const std::string& fileName) {
  std::vector<uint8_t> bytes;
  if (!ReadBytes(fileName, bytes)) return {};
  int32_t refused = 0;
  std::vector<float> durations = ParseDurations(bytes.data(), bytes.size(), &refused);
  if (refused > 0)
    platform::LogWarning("durations file " + fileName + ": " + std::to_string(refused) +
                         " duration(s) below a millisecond left out of the laser's blinking");
  return durations;
}

}  // namespace DoorLaserFiles
