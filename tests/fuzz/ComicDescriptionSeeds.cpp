// Seeds of the comic description fuzz target, from the generator's writer.
#include <string>

#include "fuzz/FuzzSeeds.h"
#include "tools/formats/FrontEndFiles.h"

namespace {
std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }
}  // namespace

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  return {
      Bytes(formats::ComicDescriptionText({{"Comics\\A_0.jpg", {{"COMIC_A_0_0", 400, 520}, {"COMIC_A_0_1", 150, 40}}},
                                           {"Comics\\A_1.jpg", {{"COMIC_A_1_0", -20, 300}}}})),
      Bytes(formats::ComicDescriptionText({{"one.jpg", {}}})),
      Bytes("[InitComic]\r\nPagesCount=2147483647\r\n[Page_0]\r\nBalloonsCount=-1\r\n"),
      // A balloon at the ends of the int range.
      Bytes("[InitComic]\r\nPagesCount=1\r\n[Page_0]\r\nBalloonsCount=1\r\n"
            "[Page_0_Balloon_0]\r\nIdText=X\r\nTextPos=2147483647,-2147483648\r\n"),
  };
}
