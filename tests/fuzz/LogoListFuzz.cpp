// Fuzz target of the "Logos.dat" reader: any bytes give a list no longer than
// the bytes allow, of logos with a name that starts with no blank and holds no
// line break, and sizes that are not negative nor past what an image can have;
// and a logo sequence made from the list as "Logos.dat" plays and draws a
// frame. Seeds: lists written by the generator's writer and hand-made ones with
// loose blanks.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "frontend/screens/LogoList.h"
#include "frontend/screens/LogoSequence.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSeeds.h"
#include "platform/Saturate.h"
#include "tools/formats/FrontEndFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto logos = ReadLogoList(data, size);
  // Each logo takes at least a name character, its line break, three
  // digits and the two blanks between them ("x\n1 1 1").
  if (logos.size() * 6 > size) __builtin_trap();
  for (const LOGO_ENTRY& logo : logos) {
    if (logo.image.empty() || logo.image.find('\n') != std::string::npos) __builtin_trap();
    const char first = logo.image[0];
    if (first == ' ' || first == '\t' || first == '\r' || first == '\v' || first == '\f') __builtin_trap();
    if (logo.width < 0 || logo.height < 0 || !std::isfinite(logo.seconds)) __builtin_trap();
    if (logo.width > platform::PIXEL_COORDINATE_LIMIT || logo.height > platform::PIXEL_COORDINATE_LIMIT)
      __builtin_trap();
  }
  fuzzgame::PutOnScreen("Logos.dat", data, size);
  CLogoSequence sequence;
  fuzzgame::DrawScreen([&] { sequence.Update(); });
  sequence.Release();
  return 0;
}

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  return {
      SeedBytes(formats::LogoListText({{"Logo_Studio.png", 512, 256, "2.0"}, {"Logo_Nembra.png", 512, 256, "2.0"}})),
      SeedBytes(formats::LogoListText({{"a b.tga", 1, 1, "1e1"}})),
      SeedBytes("3\n\n x.png \n 640 480\n.5\n"),
      SeedBytes("-1\n"),
      SeedBytes("1\nw.png\n2147483647\n2147483647\n1\n"),  // sizes at the int range's end
  };
}
