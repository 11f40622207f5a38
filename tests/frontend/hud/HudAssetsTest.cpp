// The HUD's pictures, sounds and texts in the demo data: every region the widgets draw registered
// with the data checks, the layout itself, the backdrop patches and the sounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "frontend/hud/widgets/GUICounters.h"
#include "frontend/hud/widgets/GUIDigitalTimer.h"
#include "frontend/hud/GUILayout.h"
#include "engine/util/KeyValueFile.h"
#include "platform/Image.h"
#include "platform/Sound.h"
#include "scenario/AssetChecks.h"
#include "tools/datagen/HudPictures.h"

using namespace gui_layout;

namespace {

std::string DemoData() { return std::string(KARVESSA_DEMO_DATA_DIR) + "/"; }

platform::RECT Rect(const REGION& r) { return {r.x, r.y, r.x + r.width, r.y + r.height}; }

ASSET_LAYOUT("HUD atlas", [] {
  std::vector<assetcheck::ImageRect> rects;
  for (const NAMED_REGION& r : GUI_REGIONS) rects.push_back({GUI_ATLAS, Rect(r.rect), r.name});
  return rects;
});

ASSET_LAYOUT("HUD word atlases", [] {
  std::vector<assetcheck::ImageRect> rects;
  for (int lang = 0; lang < TEXT_LANGUAGE_COUNT; ++lang) {
    for (int i = 0; i < TEXT_IMAGE_COUNT; ++i)
      rects.push_back({TEXT_ATLASES[lang], Rect(WORD_IMAGES[lang][i].rect), "word image " + std::to_string(i)});
    rects.push_back({TEXT_ATLASES[lang], Rect(DIM_PATCH), "dim patch"});
    rects.push_back({TEXT_ATLASES[lang], Rect(BLACK_PATCH), "black patch"});
  }
  return rects;
});

ASSET_LAYOUT("message portraits", [] {
  return std::vector<assetcheck::ImageRect>{
      {datagen::PORTRAITS_IMAGE, Rect(datagen::PORTRAIT_COMMANDER), "commander"},
      {datagen::PORTRAITS_IMAGE, Rect(datagen::PORTRAIT_ENGINEER), "engineer"}};
});

// Every character the gauges, the weapon panel and the counters write.
ASSET_TEXTS("HUD numbers", [](const std::string&) {
  return std::vector<std::wstring>{L"0123456789%", L"0 / 3", CGUICounters::FormatTimeLeft(61.5f),
                                   CGUIDigitalTimer::FormatTime(75.5f)};
});

// The messages of the demo levels, by language, from the text table.
std::vector<std::wstring> Messages(const std::string& data, const wchar_t* language) {
  std::vector<std::wstring> texts;
  for (const Nembra::KeyValueRecord& r : Nembra::CKeyValueFile::GetSectionKeys(language, data + "Texts.dat"))
    if (r.key.compare(0, 8, L"TXT_MSG_") == 0) texts.push_back(r.value);
  return texts;
}

ASSET_TEXTS("HUD messages", [](const std::string& data) {
  std::vector<std::wstring> all;
  for (const wchar_t* language : {L"ENG", L"SPA", L"RUS"}) {
    const std::vector<std::wstring> texts = Messages(data, language);
    all.insert(all.end(), texts.begin(), texts.end());
  }
  return all;
});

bool Overlap(const REGION& a, const REGION& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST(HudLayout, TheAtlasRegionsTileWithoutOverlapInsideTheAtlas) {
  for (size_t i = 0; i < GUI_REGION_COUNT; ++i) {
    const REGION& a = GUI_REGIONS[i].rect;
    EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.width <= GUI_ATLAS_SIZE && a.y + a.height <= GUI_ATLAS_SIZE)
        << GUI_REGIONS[i].name;
    for (size_t j = i + 1; j < GUI_REGION_COUNT; ++j)
      EXPECT_FALSE(Overlap(a, GUI_REGIONS[j].rect)) << GUI_REGIONS[i].name << " / " << GUI_REGIONS[j].name;
  }
  // The word images of one language do not overlap each other or the patches.
  for (int lang = 0; lang < TEXT_LANGUAGE_COUNT; ++lang)
    for (int i = 0; i < TEXT_IMAGE_COUNT; ++i) {
      const REGION& a = WORD_IMAGES[lang][i].rect;
      EXPECT_LE(a.x + a.width, TEXT_ATLAS_WIDTH);
      EXPECT_FALSE(Overlap(a, DIM_PATCH) || Overlap(a, BLACK_PATCH));
      for (int j = i + 1; j < TEXT_IMAGE_COUNT; ++j) EXPECT_FALSE(Overlap(a, WORD_IMAGES[lang][j].rect));
      // The centre is the middle of the image, rounded down.
      EXPECT_EQ(std::make_pair(WORD_IMAGES[lang][i].centerX, WORD_IMAGES[lang][i].centerY),
                std::make_pair(a.width / 2, a.height / 2));
    }
}

TEST(HudData, TheAtlasesHaveTheirSizesAndTheBackdropPatchesTheirOpacity) {
  platform::Image gui;
  ASSERT_TRUE(platform::LoadImageFile(DemoData() + GUI_ATLAS, gui));
  EXPECT_EQ(std::make_pair(gui.width, gui.height), std::make_pair(1024u, 1024u));
  for (const char* name : TEXT_ATLASES) {
    platform::Image atlas;
    ASSERT_TRUE(platform::LoadImageFile(DemoData() + name, atlas)) << name;
    EXPECT_EQ(std::make_pair(atlas.width, atlas.height),
              std::make_pair(uint32_t(TEXT_ATLAS_WIDTH), uint32_t(TEXT_ATLAS_HEIGHT)));
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(atlas.Pixel(uint32_t(DIM_PATCH.x + x), uint32_t(DIM_PATCH.y + y)), 0x80000000u);
        EXPECT_EQ(atlas.Pixel(uint32_t(BLACK_PATCH.x + x), uint32_t(BLACK_PATCH.y + y)), 0xFF000000u);
      }
  }
}

TEST(HudData, EveryMessageIsGivenInTheThreeLanguages) {
  const std::vector<std::wstring> english = Messages(DemoData(), L"ENG");
  EXPECT_GE(english.size(), 5u);
  EXPECT_EQ(Messages(DemoData(), L"SPA").size(), english.size());
  EXPECT_EQ(Messages(DemoData(), L"RUS").size(), english.size());
  // The Russian ones in Cyrillic.
  for (const std::wstring& text : Messages(DemoData(), L"RUS"))
    EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x0410 && c <= 0x044F; }));
}

TEST(HudData, TheBannerSoundsAndTheMusicDecode) {
  for (const char* name : {"ObjectiveComplete2.wav", "WeaponUp2.wav", "MissionComplete.ogg"}) {
    std::string error;
    const auto source = platform::OpenSampleSource(DemoData() + name, &error);
    ASSERT_NE(source, nullptr) << name << ": " << error;
    int16_t frames[64];
    EXPECT_EQ(source->Read(frames, 64 / source->Channels()), size_t(64 / source->Channels())) << name;
  }
}

}  // namespace
