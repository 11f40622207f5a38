// The bounded little-endian reader of the level files.
#include "game/files/LevelFileReader.h"

#include <cstring>

#include "game/files/LevelFileRecords.h"

bool CLevelFileReader::Take(void* out, size_t bytes) {
  if (m_Failed || bytes > m_Size - m_Offset) {
    m_Failed = true;
    return false;
  }
  std::memcpy(out, m_pData + m_Offset, bytes);
  m_Offset += bytes;
  return true;
}

bool CLevelFileReader::ReadInt(int32_t& value) {
  uint8_t b[4];
  if (!Take(b, 4)) return false;
  const uint32_t u = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
  std::memcpy(&value, &u, 4);
  return true;
}

bool CLevelFileReader::ReadFloat(float& value) {
  int32_t bits;
  if (!ReadInt(bits)) return false;
  std::memcpy(&value, &bits, 4);
  return true;
}

bool CLevelFileReader::ReadVector(D3DXVECTOR3& value) {
  return ReadFloat(value.x) && ReadFloat(value.y) && ReadFloat(value.z);
}

bool CLevelFileReader::ReadString(std::string& value) {
  int32_t n;
  if (!ReadInt(n)) return false;
  if (n < 0 || n >= LEVEL_FILE_MAX_STRING || size_t(n) + 1 > Remaining()) {
    m_Failed = true;
    return false;
  }
  const char* bytes = reinterpret_cast<const char*>(m_pData + m_Offset);
  const void* zero = std::memchr(bytes, 0, size_t(n) + 1);
  if (!zero) {
    m_Failed = true;
    return false;
  }
  value.assign(bytes, static_cast<const char*>(zero));
  m_Offset += size_t(n) + 1;
  return true;
}

bool CLevelFileReader::ReadCount(int32_t& count) {
  if (!ReadInt(count)) return false;
  if (count < 0) m_NegativeCount = true;
  if (count > LEVEL_FILE_MAX_RECORDS) {
    m_Failed = true;
    return false;
  }
  return true;
}

bool CLevelFileReader::Expect(int32_t count, size_t minBytes) {
  if (m_Failed) return false;
  if (count > 0 && size_t(count) * minBytes > Remaining()) m_Failed = true;
  return !m_Failed;
}
