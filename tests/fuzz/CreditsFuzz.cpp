// Fuzz target of the credits reader: any bytes give no more lines than units,
// none holding a line feed, each white or heading gold; and the credits screen
// reads the file and draws a frame of it. Seeds: the generator's writer's
// files.
#include <cstddef>
#include <cstdint>

#include "frontend/screens/Credits.h"
#include "frontend/screens/CreditsText.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSeeds.h"
#include "tools/formats/FrontEndFiles.h"
#include "tools/formats/TextFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto lines = ReadCreditLines(data, size);
  if (size < 4 ? !lines.empty() : lines.size() > (size - 2) / 2) __builtin_trap();
  for (const CREDIT_LINE& line : lines) {
    if (line.text.find(L'\n') != std::wstring::npos) __builtin_trap();
    if (line.IsHeading() && line.red != CREDITS_HEADING_RED) __builtin_trap();
  }
  fuzzgame::PutOnScreen("FuzzCredits.txt", data, size);
  CCredits credits("FuzzCredits.txt");
  fuzzgame::DrawScreen([&] { credits.Render(); });
  return 0;
}

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  return {
      SeedBytes(formats::CreditsFileBytes({L"+Team", L"", L"Ana", L"+", L"I\u00F1igo", L"\u0414\u0430\u0440\u044C\u044F"})),
      SeedBytes(formats::Utf16FileBytes(L"\n\na\n\n\nb")),
      SeedBytes(formats::Utf16FileBytes(L"x\U0001F600y")),
  };
}
