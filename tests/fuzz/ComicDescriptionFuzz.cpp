// Fuzz target of the comic description reader: any bytes give at most 64
// pages of at most 32 balloons, each at a place a screen can hold; and the
// comic viewer opens the description and draws its first page and its last.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "frontend/comic/ComicDescription.h"
#include "frontend/comic/ComicViewer.h"
#include "fuzz/FuzzGame.h"
#include "platform/Saturate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const COMIC_DESC comic = ReadComicDescription(data, size);
  if (comic.pages.size() > static_cast<size_t>(COMIC_MAX_PAGES)) __builtin_trap();
  for (const COMIC_PAGE_DESC& page : comic.pages) {
    if (page.balloons.size() > static_cast<size_t>(COMIC_MAX_BALLOONS)) __builtin_trap();
    for (const COMIC_BALLOON_DESC& balloon : page.balloons)
      if (!(std::fabs(balloon.x) <= platform::PIXEL_COORDINATE_LIMIT) ||
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
