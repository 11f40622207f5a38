#include "game/triggers/TriggerFile.h"

#include <cstring>

namespace {

// Reads little-endian fields from a byte range; every read checks what is left.
class CByteReader {
 public:
  CByteReader(const uint8_t* data, size_t size) : m_Data(data), m_Size(size) {}

  bool ReadInt(int32_t& out) {
    if (m_Size - m_Pos < 4) return false;
    const uint8_t* p = m_Data + m_Pos;
    out = static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                               static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
    m_Pos += 4;
    return true;
  }

  bool ReadFloat(float& out) {
    int32_t bits = 0;
    if (!ReadInt(bits)) return false;
    std::memcpy(&out, &bits, sizeof out);
    return true;
  }

  // Empty `error` on a short read; a reason when the string is malformed.
  bool ReadString(std::string& out, std::string& error) {
    int32_t length = 0;
    if (!ReadInt(length)) return false;
    if (length < 0 || length > TRIGGER_FILE_MAX_STRING) {
      error = "string length " + std::to_string(length) + " out of range";
      return false;
    }
    const size_t bytes = static_cast<size_t>(length) + 1;
    if (m_Size - m_Pos < bytes) return false;
    const char* text = reinterpret_cast<const char*>(m_Data + m_Pos);
    if (text[length] != '\0') {
      error = "string not terminated";
      return false;
    }
    out.assign(text, std::strlen(text));
    m_Pos += bytes;
    return true;
  }

  size_t Position() const { return m_Pos; }

 private:
  const uint8_t* m_Data;
  size_t m_Size;
  size_t m_Pos = 0;
};

}  // namespace

bool ParseTriggerFile(const uint8_t* data, size_t size, std::vector<TRIGGER_RECORD>& records,
                      std::string* error) {
  CByteReader reader(data, size);
  std::string reason;
  auto fail = [&](const std::string& where) {
    if (error) *error = where + (reason.empty() ? std::string(" cut short") : ": " + reason);
    return false;
  };
  int32_t count = 0;
  if (!reader.ReadInt(count)) return fail("count");
  if (count < 0) {
    reason = "negative count " + std::to_string(count);
    return fail("count");
  }
  for (int32_t i = 0; i < count; ++i) {
    const std::string where = "record " + std::to_string(i) + " at byte " + std::to_string(reader.Position());
    TRIGGER_RECORD record;
    int32_t shape = 0, enabled = 0, type = 0;
    if (!reader.ReadInt(shape) || !reader.ReadString(record.script, reason) ||
        !reader.ReadString(record.name, reason) || !reader.ReadFloat(record.x) || !reader.ReadFloat(record.y) ||
        !reader.ReadFloat(record.z) || !reader.ReadInt(enabled))
      return fail(where);
    record.circle = shape == 0;
    if (record.circle ? !reader.ReadFloat(record.radius)
                      : !reader.ReadFloat(record.width) || !reader.ReadFloat(record.height))
      return fail(where);
    if (!reader.ReadInt(type)) return fail(where);
    record.enabled = enabled == 1;
    record.type = type == 1 ? 1u : 0u;
    records.push_back(std::move(record));
  }
  return true;
}
