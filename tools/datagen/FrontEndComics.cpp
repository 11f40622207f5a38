// The comics the level descriptions name: page pictures (1024 x 1024, the
// page in the top-left 800 x 600: panels of the story's scenes and a white
// balloon where each text goes), the descriptions, the balloon texts in the
// three languages, and the viewer's turn buttons.
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/datagen/ComicArt.h"
#include "tools/datagen/DataGen.h"
#include "tools/datagen/DemoLevels.h"
#include "tools/datagen/GameTexts.h"
#include "tools/datagen/WordPainter.h"
#include "tools/formats/FrontEndFiles.h"

namespace {

using datagen::GameText;
using datagen::PaintBox;
using formats::TestPicture;

using datagen::comic::PanelBox;
using datagen::comic::Scene;

struct Balloon {
  int x, y;  // the text's centre x and top y
  const wchar_t* english;
  const wchar_t* spanish;
  const wchar_t* russian;
  int tailX = 0, tailY = 0;  // the speaker, when the balloon points at one
};

struct Page {
  std::vector<std::pair<PanelBox, Scene>> panels;
  std::vector<Balloon> balloons;
};

struct Comic {
  const char* file;  // as the level descriptions name it
  const char* tag;   // in page and text names
  std::vector<Page> pages;
};

const std::vector<Comic>& Comics() {
  static const std::vector<Comic> comics = {
      {"ComicTutorial.dat",
       "Tutorial",
       {{{{{8, 8, 784, 290}, Scene::StationInSpace}, {{8, 308, 300, 284}, Scene::Commander},
          {{318, 308, 474, 284}, Scene::HeroWakes}},
         {{250, 200, L"Wake up. The station is silent.", L"Despierta. La estaci\u00F3n est\u00E1 en silencio.",
           L"\u041F\u0440\u043E\u0441\u043D\u0438\u0441\u044C. \u0421\u0442\u0430\u043D\u0446\u0438\u044F \u043C\u043E\u043B\u0447\u0438\u0442.",
           158, 400}}},
        {{{{8, 8, 784, 286}, Scene::RedShotAtBlue}, {{8, 306, 784, 286}, Scene::BlueShotAtRed}},
         {{420, 34, L"Red shots hurt blue enemies.", L"Los disparos rojos da\u00F1an a los azules.",
           L"\u041A\u0440\u0430\u0441\u043D\u044B\u0435 \u0432\u044B\u0441\u0442\u0440\u0435\u043B\u044B \u0440\u0430\u043D\u044F\u0442 \u0441\u0438\u043D\u0438\u0445."},
          {380, 326, L"And blue ones hurt red.", L"Y los azules, a los rojos.",
           L"\u0410 \u0441\u0438\u043D\u0438\u0435 - \u043A\u0440\u0430\u0441\u043D\u044B\u0445."}}},
        {{{{8, 8, 784, 584}, Scene::CorridorToExit}},
         {{400, 40, L"Find the way out.", L"Encuentra la salida.",
           L"\u041D\u0430\u0439\u0434\u0438 \u0432\u044B\u0445\u043E\u0434."}}}}},
      {"ComicLevel4.dat",
       "Level4",
       {{{{{8, 8, 784, 330}, Scene::DeadGenerators}, {{8, 348, 300, 244}, Scene::Engineer},
          {{318, 348, 474, 244}, Scene::HeroAtDarkPanel}},
         {{300, 270, L"The generators are down.", L"Los generadores no funcionan.",
           L"\u0413\u0435\u043D\u0435\u0440\u0430\u0442\u043E\u0440\u044B \u043E\u0442\u043A\u043B\u044E\u0447\u0435\u043D\u044B.",
           150, 430}}},
        {{{{8, 8, 384, 584}, Scene::CircuitLit}, {{402, 8, 390, 584}, Scene::HeroThroughGate}},
         {{597, 64, L"Route the circuit, then go.", L"Conecta el circuito y adelante.",
           L"\u0417\u0430\u043C\u043A\u043D\u0438 \u0446\u0435\u043F\u044C \u0438 \u0438\u0434\u0438."}}}}},
      {"ComicEnd.dat",
       "End",
       {{{{{8, 8, 784, 584}, Scene::GuardianFallen}},
         {{400, 40, L"It is over. For now.", L"Se acab\u00F3. Por ahora.",
           L"\u0412\u0441\u0451 \u043A\u043E\u043D\u0447\u0435\u043D\u043E. \u041F\u043E\u043A\u0430.", 640, 290}}},
        {{{{8, 8, 784, 584}, Scene::StationDark}},
         {{400, 500, L"To be continued...", L"Continuar\u00E1...",
           L"\u041F\u0440\u043E\u0434\u043E\u043B\u0436\u0435\u043D\u0438\u0435 \u0441\u043B\u0435\u0434\u0443\u0435\u0442..."}}}}},
  };
  return comics;
}

std::string PageImage(const Comic& comic, size_t page) {
  return std::string("Comic_") + comic.tag + "_" + std::to_string(page) + ".jpg";
}
std::string BalloonId(const Comic& comic, size_t page, size_t balloon) {
  return std::string("TXT_COMIC_") + comic.tag + "_" + std::to_string(page) + "_" + std::to_string(balloon);
}

TestPicture PagePicture(const Page& page) {
  std::vector<datagen::comic::Balloon> balloons;
  for (const Balloon& b : page.balloons) balloons.push_back({b.x, b.y, b.tailX, b.tailY});
  return datagen::comic::Page(page.panels, balloons);
}

TestPicture TurnButtons(uint32_t ink) {
  TestPicture p(32, 32, 0x00000000u);
  datagen::FillBox(p, {0, 0, 32, 32}, 0xC0202020u);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 6 - std::abs(y - 6) / 1; ++x) {
      if (x < 0) continue;
      p.At(uint32_t(5 + x), uint32_t(2 + y)) = ink;        // next: pointing right at (0, 0)
      p.At(uint32_t(10 - x), uint32_t(18 + y)) = ink;      // previous: pointing left at (0, 16)
    }
  for (int i = 3; i < 13; ++i) {                          // close: a cross at (16, 0)
    p.At(uint32_t(16 + i), uint32_t(i)) = ink;
    p.At(uint32_t(16 + 15 - i), uint32_t(i)) = ink;
  }
  return p;
}

bool WriteComics(const datagen::Output& out) {
  bool ok = true;
  for (const Comic& comic : Comics()) {
    std::vector<formats::ComicPageItem> pages;
    for (size_t n = 0; n < comic.pages.size(); ++n) {
      formats::ComicPageItem item;
      item.image = PageImage(comic, n);
      for (size_t m = 0; m < comic.pages[n].balloons.size(); ++m)
        item.balloons.push_back({BalloonId(comic, n, m), comic.pages[n].balloons[m].x, comic.pages[n].balloons[m].y});
      pages.push_back(item);
      ok = out.Write(item.image, formats::JpegBytes(PagePicture(comic.pages[n]), 90)) && ok;
    }
    ok = out.Write(comic.file, formats::ComicDescriptionText(pages)) && ok;
  }
  ok = out.Write("Play.png", formats::PngBytes(TurnButtons(0xFFE0E0E0u))) && ok;
  ok = out.Write("Play2.png", formats::PngBytes(TurnButtons(0xFFFFB020u))) && ok;
  return ok;
}

std::vector<GameText> ComicTexts() {
  std::vector<GameText> texts;
  for (const Comic& comic : Comics())
    for (size_t n = 0; n < comic.pages.size(); ++n)
      for (size_t m = 0; m < comic.pages[n].balloons.size(); ++m) {
        const Balloon& b = comic.pages[n].balloons[m];
        texts.push_back({BalloonId(comic, n, m), b.english, b.spanish, b.russian});
      }
  return texts;
}

}  // namespace

DATAGEN_GROUP("frontend-comics", WriteComics);
DATAGEN_TEXTS("frontend-comics", ComicTexts);
