// Fuzz target of the credits reader: any bytes give no more lines than
// units, none holding a line feed, each white or heading gold; and the
// credits screen reads the file and draws a frame of it.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzGame.h"
#include "frontend/screens/Credits.h"
#include "frontend/screens/CreditsText.h"

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
