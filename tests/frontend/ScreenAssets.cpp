// The image rectangles and texts the title screen, comics, credits and
// final screens take from the demo data, for the asset checks.
#include <vector>

#include "engine/util/KeyValueFile.h"
#include "frontend/comic/ComicDescription.h"
#include "frontend/menu/MainMenuLayout.h"
#include "frontend/screens/CreditsText.h"
#include "scenario/AssetChecks.h"

namespace {

platform::RECT Rect(const MenuBox& b) { return platform::RECT{b.x, b.y, b.x + b.w, b.y + b.h}; }

ASSET_LAYOUT("main menu", [] {
  std::vector<assetcheck::ImageRect> rects;
  for (int language = 0; language < MENU_LANGUAGE_COUNT; ++language) {
    const char* atlas = language == MENU_RUS ? MENU_ATLAS_RUSSIAN : MENU_ATLAS;
    for (int button = 0; button < MENU_BUTTON_COUNT; ++button)
      for (int image = 0; image < 3; ++image)
        rects.push_back({atlas, Rect(MenuWordSource(language, button, image)), "menu word"});
    for (int label = 0; label < MENU_LABEL_COUNT; ++label)
      rects.push_back({atlas, Rect(MenuLabelSource(language, label)), "slider label"});
  }
  for (const MenuBox& b : {MENU_PANEL_STRIP, MENU_SLIDER_BAR, MENU_SLIDER_FILL})
    rects.push_back({MENU_CONFIG_ATLAS, Rect(b), "configuration atlas"});
  rects.push_back({MENU_BACKGROUND, {0, 0, 800, 600}, "background"});
  rects.push_back({MENU_BACKGROUND_RUSSIAN, {0, 0, 800, 600}, "background"});
  rects.push_back({"MousePointer2.tga", {0, 0, 32, 32}, "pointer"});
  return rects;
});

ASSET_LAYOUT("comics, credits, final and purchase screens", [] {
  std::vector<assetcheck::ImageRect> rects = {
      {"Play.png", {0, 16, 16, 32}, "previous"},    {"Play.png", {0, 0, 16, 16}, "next"},
      {"Play.png", {16, 0, 32, 16}, "close"},       {"Play2.png", {0, 16, 16, 32}, "previous"},
      {"Play2.png", {0, 0, 16, 16}, "next"},        {"Play2.png", {16, 0, 32, 16}, "close"},
      {"MousePointer.tga", {0, 0, 32, 32}, "pointer"}, {"TP.png", {0, 0, 1, 1}, "band"},
      {"BuyNowButton.png", {0, 0, 196, 71}, "buy now"}, {"BuyNowButton.png", {0, 71, 196, 142}, "buy now hover"},
      {"BuyNowScreen.jpg", {0, 0, 800, 600}, "purchase"}, {"BuyNowScreen.jpg", {0, 600, 800, 735}, "strip"},
      {"Logo_Studio.png", {0, 0, 512, 256}, "logo"},  {"Logo_Nembra.png", {0, 0, 512, 256}, "logo"}};
  for (const char* final : {"Final_EN.png", "Final_ES.png", "Final_RU.png"})
    for (int i = 0; i < 3; ++i) rects.push_back({final, {0, 60 * i, 512, 60 * i + 44}, "final strip"});
  for (const char* comic : {"ComicTutorial.dat", "ComicLevel4.dat", "ComicEnd.dat"}) {
    const COMIC_DESC desc = LoadComicDescription(std::string(KARVESSA_DEMO_DATA_DIR) + "/" + comic);
    if (desc.pages.empty()) rects.push_back({comic, {0, 0, 1, 1}, "comic with no pages"});
    for (const COMIC_PAGE_DESC& page : desc.pages) rects.push_back({page.imageFile, {0, 0, 800, 600}, "comic page"});
  }
  return rects;
});

ASSET_TEXTS("comic balloons and credits", [](const std::string& data) {
  std::vector<std::wstring> texts;
  for (const wchar_t* language : {L"ENG", L"SPA", L"RUS"})
    for (const Nembra::KeyValueRecord& r : Nembra::CKeyValueFile::GetSectionKeys(language, data + "Texts.dat"))
      if (r.key.rfind(L"TXT_COMIC_", 0) == 0) texts.push_back(r.value);
  for (const char* file : {"Credits_EN.txt", "Credits_ES.txt", "Credits_RU.txt"})
    for (const CREDIT_LINE& line : LoadCreditLines(data + file)) {
      std::wstring text = line.text;
      if (!text.empty() && text.back() == L'\r') text.pop_back();
      texts.push_back(text);
    }
  texts.push_back(L"Demo version");
  return texts;
});

}  // namespace
