// Fuzz target of the settings readers (8-bit sectioned files and UTF-16
// key/value files): any bytes read, written and read again give the same
// records, and a value set where the grammar can hold it reads back as set.
// Seeds: files from the settings and key/value writers, and the kinds a save
// once changed (two UTF-8 marks before a section line, a U+FEFF after a comment
// line's indentation).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/util/ConfigFile.h"
#include "engine/util/KeyValueFile.h"
#include "fuzz/FuzzSeeds.h"
#include "tools/formats/TextFiles.h"

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

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  using formats::Section;
  std::vector<std::vector<uint8_t>> seeds;
  seeds.push_back(SeedBytes(formats::SettingsFileText(
      {Section<std::string>{"Sound", {{"Effects", "80"}, {"Music", "1"}}},
       Section<std::string>{"Video", {{"Gamma", "500"}, {"Url", "http://a/?b=c"}}}})));
  seeds.push_back(SeedBytes("# settings\r\n; more\r\n  [Sound]  words\r\nEffects=80\r\n#Music=3\r\n Gamma = 5 \r\n"));
  seeds.push_back(SeedBytes("\xEF\xBB\xBF\xEF\xBB\xBF[Sound]\r\nMusic=1\r\n[Video]\r\nGamma=2\r\n"));
  seeds.push_back(SeedBytes(formats::KeyValueFileBytes(
      {Section<std::wstring>{L"ENG", {{L"MENU_PLAY", L"Play"}, {L"HINT", L"Press @KMP_UP$now"}}},
       Section<std::wstring>{L"RUS", {{L"MENU_PLAY", L"\u0418\u0433\u0440\u0430\u0442\u044c"}}}})));
  seeds.push_back(SeedBytes(formats::Utf16FileBytes(L"A=1\r\n  \uFEFF[Other]\nB=2\n#[Old]\n;C=3\n")));
  return seeds;
}
