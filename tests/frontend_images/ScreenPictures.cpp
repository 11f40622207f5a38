// Pictures of the title screen, the comics, the credits, the logos and the
// final and purchase screens through the OpenGL device, with pixel probes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/app/GraphicsDevice.h"
#include "engine/sprites/ScreenFader.h"
#include "engine/util/TextTable.h"
#include "frontend/comic/ComicViewer.h"
#include "frontend/menu/MainMenu.h"
#include "frontend/screens/BuyNowButton.h"
#include "frontend/screens/Credits.h"
#include "frontend/screens/FinalScreen.h"
#include "frontend/screens/LogoSequence.h"
#include "scenario/ScreenScenario.h"

using scenario::FrameInput;
using scenario::ScreenScenario;

namespace {

int Channel(uint32_t c, int shift) { return int((c >> shift) & 0xFF); }
int Brightness(uint32_t c) { return Channel(c, 16) + Channel(c, 8) + Channel(c, 0); }
// Pixels in a box whose colour is near the given one.
int CountNear(const ScreenScenario& s, int x0, int y0, int x1, int y1, uint32_t colour, int tolerance = 40) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const uint32_t c = s.PixelAt(x, y);
      if (std::abs(Channel(c, 16) - Channel(colour, 16)) <= tolerance &&
          std::abs(Channel(c, 8) - Channel(colour, 8)) <= tolerance &&
          std::abs(Channel(c, 0) - Channel(colour, 0)) <= tolerance)
        ++n;
    }
  return n;
}

class ScreenPictures : public ::testing::Test {
 protected:
  void SetUp() override { m_OldLanguage = Nembra::g_LanguageCode; }
  void TearDown() override {
    ReleaseBuyNowButton(m_BuyNow);
    g_pBuyNowButton = nullptr;
    Nembra::g_LanguageCode = m_OldLanguage;
  }
  bool Start(ScreenScenario*& s, std::unique_ptr<ScreenScenario>& holder, const std::wstring& language) {
    ScreenScenario::Options o;
    o.gl = true;
    o.writableData = true;
    holder = std::make_unique<ScreenScenario>(o);
    s = holder.get();
    if (!s->Ready()) return false;
    Nembra::g_LanguageCode = language;
    Nembra::CTextTable::Load(language);
    m_BuyNow = CreateBuyNowButton();
    g_pBuyNowButton = m_BuyNow.get();
    return true;
  }
  std::unique_ptr<CBuyNowButton> m_BuyNow;
  std::wstring m_OldLanguage;
};

#define START(language)                                   \
  ScreenScenario* s = nullptr;                            \
  std::unique_ptr<ScreenScenario> holder;                 \
  if (!Start(s, holder, language)) GTEST_SKIP() << holder->Problem()

TEST_F(ScreenPictures, MainMenuPages) {
  START(L"ENG");
  CMainMenu menu;
  menu.Init();
  auto frame = [&] { menu.Update(); };
  // English main page, the pointer on Start mid-flash.
  s->Next().MoveTo(700, 268);
  s->Run(6, frame);
  ASSERT_TRUE(s->CaptureFrame("menu_main_eng", frame));
  EXPECT_GT(CountNear(*s, 681, 247, 777, 290, 0xFFB020), 40) << "the hovered word in amber";
  EXPECT_GT(CountNear(*s, 600, 4, 796, 75, 0x1A6E2A, 30), 2000) << "the buy-now button";
  EXPECT_GT(CountNear(*s, 561, 312, 777, 355, 0xD8D8E0, 30), 40) << "the language word";

  // Exit question.
  s->Script({FrameInput().MoveTo(730, 540), FrameInput().Press(0), FrameInput().Release(0),
             FrameInput().MoveTo(250, 150)});
  s->Run(4, frame);
  ASSERT_EQ(menu.m_Page, CMainMenu::PAGE_EXIT_QUESTION);
  ASSERT_TRUE(s->CaptureFrame("menu_exit_question", frame));
  EXPECT_GT(CountNear(*s, 322, 518, 397, 561, 0xD8D8E0, 30), 30) << "yes";
  EXPECT_GT(CountNear(*s, 429, 519, 503, 562, 0xD8D8E0, 30), 30) << "no";
  EXPECT_GT(CountNear(*s, 688, 518, 777, 561, 0x8181E0, 40), 30) << "the exit button tinted";
  menu.ShowMainPage();

  // Configuration page with the sliders at 0.25, 0.5 and 1.0.
  s->Script({FrameInput().MoveTo(690, 400), FrameInput().Press(0), FrameInput().Release(0),
             FrameInput().MoveTo(600, 200)});
  s->Run(4, frame);
  ASSERT_EQ(menu.m_Page, CMainMenu::PAGE_CONFIGURATION);
  menu.GammaSlider().SetValue(0.25f);
  menu.MusicSlider().SetValue(0.5f);
  menu.EffectsSlider().SetValue(1.0f);
  ASSERT_TRUE(s->CaptureFrame("menu_configuration", frame));
  EXPECT_GT(CountNear(*s, 245, 308, 245 + 58, 316, 0x30C0F0, 50), 300) << "gamma filled over a quarter";
  EXPECT_EQ(CountNear(*s, 245 + 66, 309, 480, 315, 0x30C0F0, 50), 0);
  EXPECT_GT(CountNear(*s, 245, 358, 245 + 120, 366, 0x30C0F0, 50), 700);
  EXPECT_EQ(CountNear(*s, 245 + 128, 359, 480, 365, 0x30C0F0, 50), 0);
  EXPECT_GT(CountNear(*s, 245, 408, 490, 416, 0x30C0F0, 50), 1500);
  EXPECT_GT(CountNear(*s, 130, 300, 230, 325, 0xFFFFFF, 60), 30) << "the gamma label";
  s->Next().KeyDown(1);
  s->Frame(frame);
  s->Next().KeyUp(1);
  s->Frame(frame);

  // Spanish language page.
  menu.SetLanguage(L"SPA");
  s->Script({FrameInput().MoveTo(700, 333), FrameInput().Press(0), FrameInput().Release(0),
             FrameInput().MoveTo(150, 150)});
  s->Run(4, frame);
  ASSERT_EQ(menu.m_Page, CMainMenu::PAGE_LANGUAGE);
  ASSERT_TRUE(s->CaptureFrame("menu_language_spa", frame));
  EXPECT_GT(CountNear(*s, 309, 345, 491, 388, 0xD8D8E0, 30), 40) << "INGLES";
  EXPECT_GT(CountNear(*s, 614, 312, 777, 355, 0x8181E0, 40), 30) << "IDIOMA tinted blue-grey";
  menu.Release();
}

TEST_F(ScreenPictures, RussianMainMenu) {
  START(L"RUS");
  CMainMenu menu;
  menu.Init();
  auto frame = [&] { menu.Update(); };
  s->Next().MoveTo(150, 150);
  s->Frame(frame);
  ASSERT_TRUE(s->CaptureFrame("menu_main_rus", frame));
  EXPECT_GT(CountNear(*s, 685, 314, 781, 357, 0xD8D8E0, 30), 30) << "start in the language row";
  EXPECT_EQ(CountNear(*s, 685, 247, 781, 290, 0xD8D8E0, 20), 0) << "nothing in the start row";
  menu.Release();
}

TEST_F(ScreenPictures, ComicsInEnglishAndRussianAndMidCrossFade) {
  for (const wchar_t* language : {L"ENG", L"RUS"}) {
    START(language);
    CComicViewer viewer;
    viewer.OpenComic("ComicTutorial.dat");
    auto frame = [&] { viewer.Render(); };
    s->Next().MoveTo(600, 500);
    s->Frame(frame);
    const std::string tag = language == std::wstring(L"ENG") ? "eng" : "rus";
    ASSERT_TRUE(s->CaptureFrame("comic_page0_" + tag, frame));
    EXPECT_GT(CountNear(*s, 100, 195, 400, 232, 0x000000, 60), 100) << "black balloon text";
    EXPECT_GT(CountNear(*s, 100, 195, 400, 232, 0xFFFFFF, 30), 2000) << "the white balloon";
    // The panels round it: stars over the station, the commander, the hero's pod.
    EXPECT_GT(CountNear(*s, 20, 20, 300, 170, 0xE6EBFF, 60), 40) << "stars";
    EXPECT_GT(CountNear(*s, 420, 480, 700, 540, 0x5AAADC, 40), 2000) << "the pod's blue light";
    EXPECT_GT(CountNear(*s, 750, 5, 766, 21, 0xE0E0E0, 30), 10) << "the next button";
    EXPECT_EQ(CountNear(*s, 729, 5, 745, 21, 0xE0E0E0, 30), 0) << "no previous button on page 0";
    if (tag == "eng") {
      // Half a second into a turn: both pages show.
      s->Next().KeyDown(205);
      s->Frame(frame);
      s->Next().KeyUp(205);
      s->Run(29, frame);
      ASSERT_TRUE(s->CaptureFrame("comic_crossfade_eng", frame));
      EXPECT_NEAR(viewer.GetComic()->m_Fade, 0.5f, 0.02f);
      EXPECT_GT(CountNear(*s, 100, 195, 400, 232, 0xFFFFFF, 140), 1000) << "the old balloon half faded";
    }
    viewer.CloseComic();
  }
  // Every page of the three comics, turned to in English, each with its balloon's black words on white.
  START(L"ENG");
  for (const char* file : {"ComicTutorial.dat", "ComicLevel4.dat", "ComicEnd.dat"}) {
    CComicViewer viewer;
    viewer.OpenComic(file);
    auto frame = [&] { viewer.Render(); };
    const std::string name = std::string(file).substr(5, std::string(file).size() - 9);
    for (int page = 0; viewer.GetComic() && page < int(viewer.GetComic()->GetPages().size()); ++page) {
      if (page) {
        s->Next().KeyDown(205);
        s->Frame(frame);
        s->Next().KeyUp(205);
      }
      s->Run(70, frame);
      ASSERT_TRUE(s->CaptureFrame("comic_" + name + "_" + std::to_string(page), frame));
      EXPECT_GT(CountNear(*s, 0, 0, 800, 600, 0xFFFFFF, 20), 9000) << name << " " << page << ": a balloon";
    }
    viewer.CloseComic();
  }
}

TEST_F(ScreenPictures, CreditsAtFourSeconds) {
  START(L"ENG");
  CCredits credits(CreditsFileFor(L"ENG"));
  auto frame = [&] { credits.Render(); };
  s->Run(240, frame);
  ASSERT_TRUE(s->CaptureFrame("credits_4s", frame));
  EXPECT_NEAR(credits.m_Position, 300.0f - 30.0f * 241.0f / 60.0f, 0.1f);
  EXPECT_GT(CountNear(*s, 250, 100, 550, 500, 0xDAAE00, 40), 30) << "gold headings";
  EXPECT_GT(CountNear(*s, 250, 100, 550, 500, 0xFFFFFF, 30), 30) << "white names";
  EXPECT_EQ(CountNear(*s, 0, 0, 800, 100, 0x000000, 4), 800 * 100) << "the top band";
  EXPECT_EQ(CountNear(*s, 0, 500, 800, 600, 0x000000, 4), 800 * 100) << "the bottom band";
}

TEST_F(ScreenPictures, FinalScreens) {
  for (const wchar_t* language : {L"ENG", L"SPA", L"RUS"}) {
    START(language);
    CFinalScreen screen;
    screen.Init(language);
    auto frame = [&] { ScreenScenario::TwoPass([&] { screen.Update(); }, nullptr); };
    s->Next().MoveTo(100, 500);
    s->Frame(frame);
    std::string tag = language == std::wstring(L"ENG") ? "en" : language == std::wstring(L"SPA") ? "es" : "ru";
    ASSERT_TRUE(s->CaptureFrame("final_" + tag, frame));
    EXPECT_GT(CountNear(*s, 144, 160, 656, 220, 0xFFD040, 50), 200) << "the gold first strip";
    EXPECT_GT(CountNear(*s, 144, 280, 656, 320, 0xFFFFFF, 40), 100) << "the second strip";
    EXPECT_GT(CountNear(*s, 593, 518, 789, 589, 0x1A6E2A, 30), 2000) << "the buy-now button";
    screen.Release();
  }
}

TEST_F(ScreenPictures, PurchaseScreen) {
  START(L"ENG");
  CBuyNowScreen screen;
  auto frame = [&] { ScreenScenario::TwoPass([&] { screen.Render(); }, nullptr); };
  s->Next().MoveTo(650, 550);
  s->Frame(frame);
  ASSERT_TRUE(s->CaptureFrame("purchase_screen", frame));
  EXPECT_GT(CountNear(*s, 0, 0, 800, 135, 0x802000, 80), 20000) << "the strip over the top rows";
  EXPECT_EQ(CountNear(*s, 0, 140, 800, 600, 0x802000, 20), 0);
  EXPECT_GT(CountNear(*s, 593, 518, 789, 589, 0x2EB84A, 30), 2000) << "the hovered buy-now button";
}

TEST_F(ScreenPictures, LogoMidFade) {
  START(L"ENG");
  Nembra::g_ScreenFader.Init(D3DXCOLOR(0, 0, 0, 1), 800, 600, false, 0.5f);
  CLogoSequence logos;
  auto frame = [&] { logos.Update(); };
  // 2 s on screen, then a quarter of a second into the fade.
  s->Run(120 + 15, frame);
  ASSERT_TRUE(logos.m_FadingOut);
  ASSERT_TRUE(s->CaptureFrame("logo_mid_fade", frame));
  const uint32_t ground = s->PixelAt(160, 200);
  EXPECT_NEAR(Channel(ground, 0), 0x8C / 2, 20) << "the blue ground half covered";
  EXPECT_EQ(Brightness(s->PixelAt(50, 50)), 0);
  logos.Release();
}

}  // namespace
