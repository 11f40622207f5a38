#include "game/mechanisms/barriers/DoorLaserFiles.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "engine/app/Engine.h"
#include "platform/Files.h"
#include "platform/Log.h"

namespace {

// Reads values the way the stream reads of the text formats do: numbers
// after any white space, a name up to the end of its line.
class CTextCursor {
 public:
  CTextCursor(const uint8_t* data, size_t size) : m_Data(data), m_Size(size) {}

  // One line of 1 to max bytes (a name line); the newline stays.
  bool Line(size_t max, std::string& out) {
    size_t end = m_Pos;
    while (end < m_Size && m_Data[end] != '\n' && m_Data[end] != 0) ++end;
    const size_t length = end - m_Pos;
    if (length == 0 || length > max) return false;
    out.assign(reinterpret_cast<const char*>(m_Data + m_Pos), length);
    if (!out.empty() && out.back() == '\r') out.pop_back();  // a line ended the other way
    if (out.empty()) return false;
    m_Pos = end;
    return true;
  }

  bool Float(float& out) {
    char text[64];
    if (!Token(text, sizeof text)) return false;
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(text, &end);
    if (end == text || !std::isfinite(value)) return false;
    m_Pos -= std::strlen(end);  // give back what the number did not take
    out = value;
    return true;
  }

  bool Int(int32_t& out) {
    char text[64];
    if (!Token(text, sizeof text)) return false;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || value > INT32_MAX || value < INT32_MIN) return false;
    m_Pos -= std::strlen(end);
    out = static_cast<int32_t>(value);
    return true;
  }

 private:
  // Skips white space, then copies the next run of non-space bytes (cut to
  // the buffer) into text.
  bool Token(char* text, size_t room) {
    while (m_Pos < m_Size && std::isspace(m_Data[m_Pos])) ++m_Pos;
    size_t n = 0;
    while (m_Pos < m_Size && n + 1 < room && m_Data[m_Pos] != 0 && !std::isspace(m_Data[m_Pos]))
      text[n++] = static_cast<char>(m_Data[m_Pos++]);
    text[n] = '\0';
    return n > 0;
  }

  const uint8_t* m_Data;
  size_t m_Size;
  size_t m_Pos = 0;
};

bool ReadBytes(const std::string& fileName, std::vector<uint8_t>& bytes) {
  return !fileName.empty() && platform::ReadWholeFile(Nembra::g_DataDirectory + fileName, bytes);
}

}  // namespace

namespace DoorLaserFiles {

bool ParseDoorDescription(const uint8_t* data, size_t size, DOOR_DESCRIPTION& out) {
  CTextCursor cursor(data, size);
  DOOR_DESCRIPTION read;
  if (!cursor.Line(MAX_NAME, read.meshName) || !cursor.Float(read.width) || !cursor.Float(read.depth)) return false;
  out = read;
  return true;
}

std::vector<float> ParseDurations(const uint8_t* data, size_t size, int32_t* refused) {
  std::vector<float> durations;
  if (refused) *refused = 0;
  CTextCursor cursor(data, size);
  int32_t count = 0;
  if (!cursor.Int(count) || count <= 0) return durations;
  const int32_t wanted = count < MAX_DURATIONS ? count : MAX_DURATIONS;
  for (int32_t i = 0; i < wanted; ++i) {
    float seconds = 0.0f;
    if (!cursor.Float(seconds)) break;
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
