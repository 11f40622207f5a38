// Seeds of the settings readers: files from the settings and key/value
// writers, and the kinds a save once changed (two UTF-8 marks before a
// section line, a U+FEFF after a comment line's indentation).
#include "fuzz/FuzzSeeds.h"
#include "tools/formats/TextFiles.h"

namespace {
std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }
}  // namespace

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  using formats::Section;
  std::vector<std::vector<uint8_t>> seeds;
  seeds.push_back(Bytes(formats::SettingsFileText(
      {Section<std::string>{"Sound", {{"Effects", "80"}, {"Music", "1"}}},
       Section<std::string>{"Video", {{"Gamma", "500"}, {"Url", "http://a/?b=c"}}}})));
  seeds.push_back(Bytes("# settings\r\n; more\r\n  [Sound]  words\r\nEffects=80\r\n#Music=3\r\n Gamma = 5 \r\n"));
  seeds.push_back(Bytes("\xEF\xBB\xBF\xEF\xBB\xBF[Sound]\r\nMusic=1\r\n[Video]\r\nGamma=2\r\n"));
  seeds.push_back(Bytes(formats::KeyValueFileBytes(
      {Section<std::wstring>{L"ENG", {{L"MENU_PLAY", L"Play"}, {L"HINT", L"Press @KMP_UP$now"}}},
       Section<std::wstring>{L"RUS", {{L"MENU_PLAY", L"\u0418\u0433\u0440\u0430\u0442\u044c"}}}})));
  seeds.push_back(Bytes(formats::Utf16FileBytes(L"A=1\r\n  \uFEFF[Other]\nB=2\n#[Old]\n;C=3\n")));
  return seeds;
}
