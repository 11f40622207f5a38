// Seeds of the "Logos.dat" fuzz target: lists written by the generator's
// writer and hand-made ones with loose blanks.
#include <string>

#include "fuzz/FuzzSeeds.h"
#include "tools/formats/FrontEndFiles.h"

namespace {
std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }
}  // namespace

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  return {
      Bytes(formats::LogoListText({{"Logo_Studio.png", 512, 256, "2.0"}, {"Logo_Nembra.png", 512, 256, "2.0"}})),
      Bytes(formats::LogoListText({{"a b.tga", 1, 1, "1e1"}})),
      Bytes("3\n\n x.png \n 640 480\n.5\n"),
      Bytes("-1\n"),
      Bytes("1\nw.png\n2147483647\n2147483647\n1\n"),  // sizes at the int range's end
  };
}
