// Fuzz target of the settings readers (8-bit sectioned files and UTF-16
// key/value files): any bytes read, written and read again give the same
// records, and a value set where the grammar can hold it reads back as set.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/util/ConfigFile.h"
#include "engine/util/KeyValueFile.h"

namespace {

using namespace Nembra;

// Key, value and section to set: the input's last three parts split at 0.
template <typename File, typename Str>
void Check(std::vector<SectionedRecord<Str>> records, const Str& text,
           std::vector<SectionedRecord<Str>> (*reread)(const std::vector<SectionedRecord<Str>>&)) {
  if (records != reread(records)) __builtin_trap();
  std::vector<Str> parts(3);
  size_t part = 0;
  for (auto c : text) {
    if (c == 0)
      part = (part + 1) % 3;
    else if (parts[part].size() < 64)
      parts[part] += c;
  }
  if (!File::CanHold(parts[0], parts[1], parts[2])) return;
  SectionedText<Str>::Set(records, parts[0], parts[1], parts[2]);
  const auto read = reread(records);
  const auto found = SectionedText<Str>::Find(read, parts[0], parts[2]);
  if (found.empty() || found.front().value != parts[1]) __builtin_trap();
}

std::vector<ConfigRecord> RereadConfig(const std::vector<ConfigRecord>& records) {
  const std::string bytes = CConfigFile::ToBytes(records);
  return CConfigFile::FromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::vector<KeyValueRecord> RereadKeyValue(const std::vector<KeyValueRecord>& records) {
  const std::vector<uint8_t> bytes = CKeyValueFile::ToBytes(records);
  return CKeyValueFile::FromBytes(bytes.data(), bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string narrow(reinterpret_cast<const char*>(data), size);
  Check<CConfigFile, std::string>(CConfigFile::FromBytes(data, size), narrow, RereadConfig);
  std::wstring wide;
  for (size_t i = 2; i + 1 < size; i += 2) wide += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
  Check<CKeyValueFile, std::wstring>(CKeyValueFile::FromBytes(data, size), wide, RereadKeyValue);
  return 0;
}
