// Fuzz target of the comic description reader: any bytes give at most 64 pages,
// each with its image name, of at most 32 balloons, each with its text id and
// at a place a screen can hold; and the comic
// viewer opens the description and draws its first page and its last. Seeds:
// the generator's writer's files.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "frontend/comic/ComicDescription.h"
#include "frontend/comic/ComicViewer.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSeeds.h"
#include "platform/Saturate.h"
#include "tools/formats/FrontEndFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const COMIC_DESC comic = ReadComicDescription(data, size, "FuzzComic.dat");
  if (comic.pages.size() > static_cast<size_t>(COMIC_MAX_PAGES)) __builtin_trap();
  for (const COMIC_PAGE_DESC& page : comic.pages) {
    if (page.balloons.size() > static_cast<size_t>(COMIC_MAX_BALLOONS) || page.imageFile.empty()) __builtin_trap();
    for (const COMIC_BALLOON_DESC& balloon : page.balloons)
      if (balloon.textId.empty() || !(std::fabs(balloon.x) <= platform::PIXEL_COORDINATE_LIMIT) ||
          !(std::fabs(balloon.y) <= platform::PIXEL_COORDINATE_LIMIT))
        __builtin_trap();
  }
  fuzzgame::PutOnScreen("FuzzComic.dat", data, size);
  CComicViewer viewer;
  viewer.OpenComic("FuzzComic.dat");
  fuzzgame::DrawScreen([&] { viewer.Render(); });
  if (viewer.GetComic() && viewer.GetComic()->GetPageCount() > 1) {
    viewer.GetComic()->TurnTo(static_cast<uint32_t>(viewer.GetComic()->GetPageCount() - 1));
    fuzzgame::DrawScreen([&] { viewer.Render(); });
  }
  viewer.CloseComic();
  return 0;
}

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  return {
      SeedBytes(formats::ComicDescriptionText({{"Comics\\A_0.jpg", {{"COMIC_A_0_0", 400, 520}, {"COMIC_A_0_1", 150, 40}}},
                                           {"Comics\\A_1.jpg", {{"COMIC_A_1_0", -20, 300}}}})),
      SeedBytes(formats::ComicDescriptionText({{"one.jpg", {}}})),
      SeedBytes("[InitComic]\r\nPagesCount=2147483647\r\n[Page_0]\r\nBalloonsCount=-1\r\n"),
      // A balloon at the ends of the int range.
      SeedBytes("[InitComic]\r\nPagesCount=1\r\n[Page_0]\r\nImageFile=one.jpg\r\nBalloonsCount=1\r\n"
            "[Page_0_Balloon_0]\r\nIdText=X\r\nTextPos=2147483647,-2147483648\r\n"),
  };
}
