// The checks of the generated demo data over everything registered, and
// the checks themselves on data made faulty on purpose.
#include <gtest/gtest.h>

#include "frontend/FontNames.h"
#include "frontend/hud/widgets/GUIDigitalTimer.h"
#include "scenario/AssetChecks.h"
#include "support/TempDir.h"
#include "tools/formats/BitmapFontFiles.h"
#include "tools/formats/GraphicsFiles.h"
#include "tools/formats/TextFiles.h"

namespace {

std::string DemoData() { return std::string(KARVESSA_DEMO_DATA_DIR) + "/"; }

// Texts the application writes itself: the demo notice and the loading
// text of the three languages.
ASSET_TEXTS("application literals", [](const std::string&) {
  return std::vector<std::wstring>{L"Demo version", L"Loading . . .", L"Cargando . . .",
                                   L"\u0417\u0430\u0433\u0440\u0443\u0437\u043a\u0430 . . ."};
});
// Every character the count-down display can write.
ASSET_TEXTS("count-down display", [](const std::string&) {
  return std::vector<std::wstring>{CGUIDigitalTimer::FormatTime(5999.99f), L"0123456789 :"};
});

std::vector<std::string> Fonts() { return std::vector<std::string>(GAME_FONT_NAMES.begin(), GAME_FONT_NAMES.end()); }

std::string Join(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& l : lines) all += l + "\n";
  return all;
}

TEST(DemoDataChecks, EveryRegisteredRectangleLiesInsideItsImageAndShowsSomething) {
  const std::vector<std::string> faults = assetcheck::CheckLayouts(DemoData());
  EXPECT_TRUE(faults.empty()) << Join(faults);
}

TEST(DemoDataChecks, EveryFontCoversEveryRegisteredText) {
  EXPECT_GE(assetcheck::TextNames().size(), 2u);
  const std::vector<std::string> faults = assetcheck::CheckFontCoverage(DemoData(), Fonts());
  EXPECT_TRUE(faults.empty()) << Join(faults);
}

TEST(DemoDataChecks, EveryFontCoversTheThreeLanguagesWholly) {
  // Latin-1 and Cyrillic whole, beyond what the texts use today.
  const std::vector<std::wstring> all{formats::GameFontCharacters()};
  for (const std::string& font : Fonts()) {
    const std::vector<std::string> faults = assetcheck::CheckFont(DemoData(), font, all);
    EXPECT_TRUE(faults.empty()) << Join(faults);
  }
}

TEST(AssetCheckers, FindRectanglesOutsideTheirImageEmptyOrFullyTransparent) {
  testsupport::TempDir dir;
  formats::TestPicture p(64, 32, 0x00000000u);
  p.At(40, 10) = 0x80FF0000u;  // one half-transparent texel
  ASSERT_TRUE(formats::WriteBytes(dir.File("Atlas.png"), formats::PngBytes(p)));
  const std::string data = dir.Path() + "/";
  using assetcheck::ImageRect;
  EXPECT_TRUE(assetcheck::CheckRects(data, {{"Atlas.png", {40, 10, 41, 11}, "one texel"},
                                            {"Atlas.png", {0, 0, 64, 32}, "whole"}})
                  .empty());
  const std::vector<std::string> faults =
      assetcheck::CheckRects(data, {{"Atlas.png", {0, 0, 40, 32}, "clear"},
                                    {"Atlas.png", {60, 0, 65, 10}, "past the right"},
                                    {"Atlas.png", {0, 30, 10, 33}, "past the bottom"},
                                    {"Atlas.png", {-1, 0, 10, 10}, "left of the image"},
                                    {"Atlas.png", {10, 10, 10, 20}, "empty"},
                                    {"Missing.png", {0, 0, 1, 1}, "no image"}});
  ASSERT_EQ(faults.size(), 6u) << Join(faults);
  EXPECT_NE(faults[0].find("fully transparent"), std::string::npos);
  EXPECT_NE(faults[1].find("outside"), std::string::npos);
  EXPECT_NE(faults[5].find("not readable"), std::string::npos);
}

TEST(AssetCheckers, FindMissingGlyphsGlyphsOutsideTheAtlasAndAnInkedCorner) {
  testsupport::TempDir dir;
  const std::string data = dir.Path() + "/";
  formats::TestPicture atlas(32, 32, 0x00FFFFFFu);
  ASSERT_TRUE(formats::WriteBytes(dir.File("Small.png"), formats::PngBytes(atlas)));
  ASSERT_TRUE(formats::WriteBytes(dir.File("Small.dat"),
                                  formats::GlyphTableBytes(10, {{L'a', 6, 5, 0}, {L'b', 6, 25, 0}})));
  std::vector<std::string> faults = assetcheck::CheckFont(data, "Small", {L"ab\na", L"abc\u0416"});
  ASSERT_EQ(faults.size(), 3u) << Join(faults);
  EXPECT_NE(faults[0].find("U+0062 reaches outside"), std::string::npos);  // 25 + 6 + 5 > 32
  EXPECT_NE(faults[1].find("no glyph for U+0063"), std::string::npos);
  EXPECT_NE(faults[2].find("no glyph for U+0416"), std::string::npos);

  atlas.At(0, 0) = 0xFFFFFFFFu;
  ASSERT_TRUE(formats::WriteBytes(dir.File("Small.png"), formats::PngBytes(atlas)));
  faults = assetcheck::CheckFont(data, "Small", {L"a"});
  ASSERT_EQ(faults.size(), 2u) << Join(faults);
  EXPECT_NE(faults[0].find("texel (0, 0)"), std::string::npos);

  // A cut-short table and a missing one.
  ASSERT_TRUE(formats::WriteBytes(dir.File("Cut.dat"), formats::GlyphTableBytes(10, 5, {{L'a', 6, 5, 0}})));
  ASSERT_TRUE(formats::WriteBytes(dir.File("Cut.png"), formats::PngBytes(formats::TestPicture(32, 32, 0))));
  faults = assetcheck::CheckFont(data, "Cut", {L"a"});
  ASSERT_EQ(faults.size(), 1u) << Join(faults);
  EXPECT_NE(faults[0].find("cut short"), std::string::npos);
  EXPECT_EQ(assetcheck::CheckFont(data, "Absent", {L"a"}).size(), 1u);
}

}  // namespace
