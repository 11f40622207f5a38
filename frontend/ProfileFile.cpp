#include "frontend/ProfileFile.h"

#include "platform/Text.h"

namespace {

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

constexpr size_t PREFIX_BYTES = 2;
constexpr size_t COUNT_BYTES = 4;
constexpr size_t LEVEL_BYTES = 4;

}  // namespace

ProfileFileState ParseProfileBytes(const uint8_t* data, size_t size, PROFILE_FILE_CONTENT& out) {
  out = PROFILE_FILE_CONTENT();
  if (!data || size < PREFIX_BYTES + COUNT_BYTES + 2 + LEVEL_BYTES) return ProfileFileState::Damaged;
  const uint32_t count = ReadU32(data + PREFIX_BYTES);
  if (count == 0 || count > PROFILE_MAX_COUNT) return ProfileFileState::Damaged;
  // The count is small now, so this sum cannot overflow.
  const size_t expected = PREFIX_BYTES + COUNT_BYTES + 2 * static_cast<size_t>(count) + LEVEL_BYTES;
  if (size != expected) return ProfileFileState::Damaged;
  const uint8_t* units = data + PREFIX_BYTES + COUNT_BYTES;
  const size_t last = 2 * (static_cast<size_t>(count) - 1);
  if (units[last] != 0 || units[last + 1] != 0) return ProfileFileState::Damaged;
  const uint32_t level = ReadU32(units + 2 * static_cast<size_t>(count));
  if (level > PROFILE_MAX_LEVEL) return ProfileFileState::Damaged;

  size_t nameUnits = 0;
  while (units[2 * nameUnits] != 0 || units[2 * nameUnits + 1] != 0) ++nameUnits;
  out.name = platform::Utf16LeToWide(units, 2 * nameUnits);
  out.levelReached = level;
  return ProfileFileState::Ok;
}

std::vector<uint8_t> BuildProfileBytes(const std::wstring& name, uint32_t levelReached) {
  const std::wstring upToZero = name.substr(0, name.find(L'\0'));
  std::vector<uint8_t> units = platform::WideToUtf16Le(upToZero);
  const size_t maxBytes = 2 * static_cast<size_t>(PROFILE_MAX_COUNT - 1);
  if (units.size() > maxBytes) {
    size_t cut = maxBytes;
    // Never leave a lone high surrogate (D800..DBFF) at the end.
    const uint16_t lastUnit = static_cast<uint16_t>(units[cut - 2] | (units[cut - 1] << 8));
    if (lastUnit >= 0xD800 && lastUnit <= 0xDBFF) cut -= 2;
    units.resize(cut);
  }
  std::vector<uint8_t> out = {0xFF, 0xFE};
  out.reserve(PREFIX_BYTES + COUNT_BYTES + units.size() + 2 + LEVEL_BYTES);
  PutU32(out, static_cast<uint32_t>(units.size() / 2 + 1));
  out.insert(out.end(), units.begin(), units.end());
  out.push_back(0);
  out.push_back(0);
  PutU32(out, levelReached);
  return out;
}
