// Seeds of the credits fuzz target, from the generator's writer.
#include <string>

#include "fuzz/FuzzSeeds.h"
#include "tools/formats/FrontEndFiles.h"
#include "tools/formats/TextFiles.h"

namespace {
std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }
}  // namespace

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  return {
      Bytes(formats::CreditsFileBytes({L"+Team", L"", L"Ana", L"+", L"I\u00F1igo", L"\u0414\u0430\u0440\u044C\u044F"})),
      Bytes(formats::Utf16FileBytes(L"\n\na\n\n\nb")),
      Bytes(formats::Utf16FileBytes(L"x\U0001F600y")),
  };
}
