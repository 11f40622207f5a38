// The logo sequence, the comic viewer and the credits frame by frame with scripted input.
#include <gtest/gtest.h>

#include <fstream>

#include "FrontendTestSupport.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/resources/Texture.h"
#include "engine/sprites/ScreenFader.h"
#include "engine/util/KeyValueFile.h"
#include "engine/util/TextTable.h"
#include "frontend/FontNames.h"
#include "frontend/comic/ComicDescription.h"
#include "frontend/comic/ComicViewer.h"
#include "frontend/menu/MainMenuLayout.h"
#include "frontend/screens/Credits.h"
#include "frontend/screens/LogoSequence.h"
#include "platform/Files.h"
#include "support/MissingLog.h"
#include "tools/datagen/DemoLevels.h"
#include "tools/formats/FrontEndFiles.h"

using namespace fetest;

namespace {

void Put(const ScreenScenario& s, const std::string& name, const std::string& bytes) {
  std::ofstream(s.DataFolder() + name, std::ios::binary) << bytes;
  platform::ClearPathCache();
}

TEST(LogoSequence, TwoSecondLogoWithHalfSecondFaderAndSkips) {
  ScreenScenario s(Writable());
  ASSERT_TRUE(s.Ready()) << s.Problem();
  Put(s, "Logos.dat", formats::LogoListText({{"Logo_Studio.png", 512, 256, "2.0"}, {"Logo_Nembra.png", 512, 256, "2.0"}}));
  Nembra::g_ScreenFader.Init(D3DXCOLOR(0, 0, 0, 1), 800, 600, false, 0.5f);
  CLogoSequence logos;
  ASSERT_EQ(logos.GetLogos().size(), 2u);
  const CLogo& first = logos.GetLogos().front();
  EXPECT_EQ(std::make_pair(first.m_Sprite.m_Position.x, first.m_Sprite.m_Center.y), std::make_pair(400.0f, 128.0f));
  auto frame = [&] { logos.Update(); };
  // First logo: shown 2 s (elapsed reaches 2.0 in frame 120), then a 0.5 s fade.
  int frames = 0;
  for (; !logos.m_FadingOut && frames < 500; ++frames) s.Frame(frame);
  EXPECT_EQ(frames, 121) << "sixty 1/60 s frames add up to just under one second in floats";
  EXPECT_EQ(s.Last().FindSprites(scenario::TextureOf("Logo_Studio.png")).size(), 1u);
  for (; logos.GetCurrent() == &first && frames < 500; ++frames) s.Frame(frame);
  EXPECT_NEAR(frames, 121 + 30, 1) << "the overlay takes half a second";
  EXPECT_TRUE(logos.m_FadingIn);
  // A click while the overlay clears is no skip.
  s.Script({FrameInput().Press(0), FrameInput().Release(0)});
  s.Run(2, frame);
  EXPECT_TRUE(logos.m_FadingIn);
  EXPECT_FALSE(logos.m_FadingOut);

  // A held Escape does not skip; its release does, once the fade-in ended.
  s.Run(40, frame);
  EXPECT_FALSE(logos.m_FadingIn);
  s.Next().KeyDown(1);
  s.Run(20, frame);
  EXPECT_FALSE(logos.m_FadingOut) << "held, not released";
  s.Next().KeyUp(1);
  s.Frame(frame);
  EXPECT_TRUE(logos.m_FadingOut);
  EXPECT_LT(logos.m_Elapsed, 1.0f) << "skipped long before its two seconds";
  // The frame that sets done draws nothing, and so do the later ones.
  EXPECT_TRUE(s.RunUntil([&] { return logos.done; }, 100, frame));
  EXPECT_TRUE(s.Last().sprites.empty());
  s.Frame(frame);
  EXPECT_TRUE(s.Last().sprites.empty());
  logos.Release();
  EXPECT_EQ(Nembra::g_pTextureFactory->Find("Logo_Studio.png"), nullptr) << "released by name";
}

TEST(LogoSequence, MissingOrBadListIsDoneAtOnceAndAShortOneShowsWholeLogos) {
  ScreenScenario s(Writable());
  ASSERT_TRUE(s.Ready()) << s.Problem();
  for (const char* bad : {"", "x\n", "-3\n"}) {
    Put(s, "Logos.dat", bad);
    CLogoSequence logos;
    EXPECT_TRUE(logos.done) << bad;
    s.Frame([&] { logos.Update(); });
    EXPECT_TRUE(s.Last().sprites.empty());
  }
  std::remove((s.DataFolder() + "Logos.dat").c_str());
  platform::ClearPathCache();
  EXPECT_TRUE(CLogoSequence().done);
  Put(s, "Logos.dat", "3\nLogo_Studio.png\n512\n256\n1.0\nLogo_Nembra.png\n512\n");
  CLogoSequence shortList;
  EXPECT_EQ(shortList.GetLogos().size(), 1u);
  EXPECT_FALSE(shortList.done);
  shortList.Release();
  { CLogoSequence unreleased; }
  EXPECT_EQ(Nembra::g_pTextureFactory->Find("Logo_Studio.png"), nullptr) << "given back when the sequence goes";
}

class ComicTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(s.Ready()) << s.Problem(); }
  void TearDown() override {
    Nembra::g_LanguageCode = m_Old;
    Nembra::CTextTable::Load(m_Old);
  }
  void Frames(const std::vector<FrameInput>& inputs = {FrameInput()}) {
    s.Script(inputs);
    s.Run(int(inputs.size()), [&] { viewer.Render(); });
  }
  void Key(int code) { Frames({FrameInput().KeyDown(code), FrameInput().KeyUp(code)}); }
  void ClickAt(int x) { Frames({FrameInput().MoveTo(x, 10), FrameInput().Press(0), FrameInput().Release(0)}); }
  uint32_t Page() const { return viewer.GetComic()->m_CurrentPage; }

  std::wstring m_Old = Nembra::g_LanguageCode;
  ScreenScenario s{Writable()};
  CComicViewer viewer;
};

TEST_F(ComicTest, ButtonsKeysWheelAndTheCrossFade) {
  Nembra::CTextTable::Load(L"ENG");
  viewer.OpenComic("ComicTutorial.dat");
  ASSERT_EQ(viewer.GetComic()->GetPageCount(), 3);
  Frames();
  EXPECT_FALSE(viewer.PreviousButton().m_Visible);
  EXPECT_TRUE(viewer.NextButton().m_Visible);
  EXPECT_EQ(s.Last().FindText(L"Wake up. The station is silent.").size(), 1u);
  Key(203);  // left keys do nothing on the first page
  EXPECT_EQ(Page(), 0u);
  ClickAt(755);  // the next button
  EXPECT_EQ(std::make_pair(Page(), viewer.GetComic()->m_PreviousPage), std::make_pair(1u, 0));
  Frames();
  EXPECT_TRUE(viewer.PreviousButton().m_Visible);
  // Half a second later, the wheel turns again: the fade restarts at 1 from page 1.
  s.Run(30, [&] { viewer.Render(); });
  EXPECT_NEAR(viewer.GetComic()->m_Fade, 1.0f - 31.0f / 60.0f, 0.01f);
  Frames({FrameInput().Wheel(1)});
  EXPECT_EQ(std::make_pair(Page(), viewer.GetComic()->m_PreviousPage), std::make_pair(2u, 1));
  EXPECT_FLOAT_EQ(viewer.GetComic()->m_Fade, 1.0f);
  Frames();
  EXPECT_FALSE(viewer.NextButton().m_Visible);
  // Page 1's balloons fade over page 2's in black.
  const auto old = s.Last().FindText(L"Red shots hurt blue enemies.");
  ASSERT_EQ(old.size(), 1u);
  EXPECT_LT(old[0]->color >> 24, 255u);
  EXPECT_EQ(s.Last().FindText(L"Find the way out.").size(), 1u);
  // Right keys and the wheel stop at the last page; Backspace goes back; Enter and keypad 6 turn on, keypad 4 back.
  Frames({FrameInput().Wheel(1)});
  EXPECT_EQ(Page(), 2u);
  Key(14);
  EXPECT_EQ(Page(), 1u);
  EXPECT_EQ(viewer.finished, 0);
  for (auto [code, page] : {std::pair<int, uint32_t>{28, 2}, {75, 1}, {77, 2}, {75, 1}}) {
    Key(code);
    EXPECT_EQ(Page(), page) << code;
  }
  // A click on a button that a key has just made pointless (still shown in
  // that frame) never turns past the first or the last page.
  Frames({FrameInput().MoveTo(755, 10).Press(0), FrameInput().KeyDown(28), FrameInput().Release(0).KeyUp(28)});
  EXPECT_EQ(Page(), 2u);
  Key(75);
  Frames({FrameInput().MoveTo(734, 10).Press(0), FrameInput().KeyDown(75), FrameInput().Release(0).KeyUp(75)});
  EXPECT_EQ(Page(), 0u);
  ClickAt(783);  // close
  EXPECT_EQ(viewer.finished, 1);
  viewer.CloseComic();
  EXPECT_EQ(Nembra::g_pTextureFactory->Find("Comic_Tutorial_0.jpg"), nullptr) << "pages released by name";
  EXPECT_EQ(viewer.GetComic(), nullptr);
  // A second viewer gives its buttons and pointer back when it goes.
  auto refs = [](const char* name) {
    const Nembra::CTexture* t = Nembra::g_pTextureFactory->Find(name);
    return t ? t->GetRefCount() : 0u;
  };
  const uint32_t before[3] = {refs("Play.png"), refs("Play2.png"), refs("MousePointer.tga")};
  { CComicViewer second; }
  EXPECT_EQ(refs("Play.png"), before[0]);
  EXPECT_EQ(refs("Play2.png"), before[1]);
  EXPECT_EQ(refs("MousePointer.tga"), before[2]);
}

TEST_F(ComicTest, BalloonsInEachLanguageAndAnEmptyComicClosesByItsButton) {
  const std::pair<const wchar_t*, const wchar_t*> expected[] = {
      {L"ENG", L"To be continued..."}, {L"SPA", L"Continuar\u00E1..."},
      {L"RUS", L"\u041F\u0440\u043E\u0434\u043E\u043B\u0436\u0435\u043D\u0438\u0435 \u0441\u043B\u0435\u0434\u0443\u0435\u0442..."}};
  for (const auto& [language, text] : expected) {
    Nembra::CTextTable::Load(language);
    viewer.OpenComic("ComicEnd.dat");
    viewer.GetComic()->TurnTo(1);
    viewer.GetComic()->m_Fade = 0.0f;
    Frames();
    const auto found = s.Last().FindText(text);
    ASSERT_EQ(found.size(), 1u) << std::string(language, language + 3);
    EXPECT_EQ(found[0]->color & 0xFFFFFFu, 0u) << "black";
    EXPECT_EQ(found[0]->y, 500);  // the balloon under the dark station
    EXPECT_NEAR(found[0]->x + found[0]->width / 2, 400, 1) << "centred on x";
    viewer.CloseComic();
  }
  Put(s, "Empty.dat", "[InitComic]\r\nPagesCount=0\r\n");
  for (const char* file : {"Empty.dat", "NoSuchComic.dat"}) {
    viewer.OpenComic(file);
    Frames({FrameInput(), FrameInput().KeyDown(205)});
    EXPECT_EQ(s.Last().sprites.size(), 2u) << "the close button and the pointer only";
    EXPECT_FALSE(viewer.NextButton().m_Visible);
    Frames({FrameInput().KeyUp(205).MoveTo(783, 10), FrameInput().Press(0), FrameInput().Release(0)});
    EXPECT_EQ(viewer.finished, 1);
    viewer.finished = 0;
    viewer.CloseComic();
  }
  // A balloon placed at the ends of the int range is written at the edge of what a screen can hold.
  Put(s, "Far.dat", "[InitComic]\r\nPagesCount=1\r\n[Page_0]\r\nImageFile=Comic_End_1.jpg\r\nBalloonsCount=1\r\n"
                    "[Page_0_Balloon_0]\r\nIdText=NO_SUCH_ID\r\nTextPos=2147483647,-2147483648\r\n");
  viewer.OpenComic("Far.dat");
  Frames();
  const auto far = s.Last().FindText(L">> ERROR : Unknown Text ID <<");
  ASSERT_EQ(far.size(), 1u);
  EXPECT_EQ(far[0]->y, -(1 << 20));
  EXPECT_NEAR(far[0]->x + far[0]->width / 2, 1 << 20, 1);
  viewer.CloseComic();
}

TEST_F(ComicTest, ACutComicNamesItsFileAndShowsTheWholePages) {
  Nembra::CTextTable::Load(L"ENG");
  const std::string whole = formats::ComicDescriptionText({{"Comic_End_0.jpg", {{"TXT_COMIC_End_0_0", 400, 40}}},
                                                           {"Comic_End_1.jpg", {{"TXT_COMIC_End_1_0", 400, 500}}},
                                                           {"Comic_End_1.jpg", {}}});
  Put(s, "CutEnd.dat", whole.substr(0, whole.find("[Page_1]")));
  testsupport::MissingLog log;
  viewer.OpenComic("CutEnd.dat");
  ASSERT_EQ(viewer.GetComic()->GetPageCount(), 1);
  Frames({FrameInput(), FrameInput().KeyDown(205), FrameInput().KeyUp(205)});
  EXPECT_EQ(Page(), 0u) << "no page to turn to";
  EXPECT_FALSE(viewer.NextButton().m_Visible);
  EXPECT_EQ(s.Last().FindText(L"It is over. For now.").size(), 1u);
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"missing: section [Page_1] of comic CutEnd.dat (PagesCount 3)",
                                                   "missing: section [Page_2] of comic CutEnd.dat (PagesCount 3)"}))
      << "and no texture or text without a name";
  viewer.CloseComic();

  // No whole page left: drawn as a comic of none, and the close button ends it.
  Put(s, "NoImage.dat", "[InitComic]\r\nPagesCount=1\r\n[Page_0]\r\nBalloonsCount=1\r\n"
                        "[Page_0_Balloon_0]\r\nIdText=TXT_COMIC_End_0_0\r\nTextPos=400,40\r\n");
  log.Clear();
  viewer.OpenComic("NoImage.dat");
  Frames();
  EXPECT_EQ(s.Last().sprites.size(), 2u) << "the close button and the pointer only";
  EXPECT_TRUE(s.Last().FindText(L"It is over. For now.").empty());
  Frames({FrameInput().MoveTo(783, 10), FrameInput().Press(0), FrameInput().Release(0)});
  EXPECT_EQ(viewer.finished, 1);
  viewer.finished = 0;
  viewer.CloseComic();
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"missing: key ImageFile of [Page_0] in comic NoImage.dat"}));
}

TEST(Credits, FinishWithLongAndShortFramesAndHeadingsTakeFourLines) {
  for (float frameTime : {0.05f, 1.0f / 60.0f}) {
    ScreenScenario s(Writable(false, frameTime));
    ASSERT_TRUE(s.Ready()) << s.Problem();
    Put(s, "Few.txt", formats::CreditsFileBytes({L"Ana", L"+", L"Bo"}));
    CCredits credits("Few.txt");
    ASSERT_EQ(credits.GetLines().size(), 3u);
    Nembra::CBitmapFont* font = Nembra::g_pBitmapFontFactory->Find(FONT_GUI_SMALL_NUMBERS);
    ASSERT_NE(font, nullptr);
    const int h = font->m_LineAdvance;
    ASSERT_GT(h, 0);
    s.Frame([&] { credits.Render(); });
    // Each line keeps its CR, which draws as an empty glyph.
    const auto ana = s.Last().FindTextContaining(L"Ana"), bo = s.Last().FindTextContaining(L"Bo");
    ASSERT_TRUE(ana.size() == 1 && bo.size() == 1);
    EXPECT_EQ(ana[0]->y, 300);
    EXPECT_EQ(bo[0]->y - ana[0]->y, 5 * h) << "'+' alone takes four line heights";
    const float end = 300.0f + 6.0f * float(h);  // the y after the last line, at position 300
    int frames = 1;
    for (; !credits.finished && frames < 10000; ++frames) s.Frame([&] { credits.Render(); });
    EXPECT_TRUE(credits.finished) << frameTime;
    EXPECT_NEAR(frames, int((end - 300.0f) / (30.0f * frameTime)), 2) << frameTime;
  }
}

TEST(Credits, EmptyListFinishesInTheFirstFrameAndTheFileFollowsTheLanguage) {
  ScreenScenario s(Writable());
  ASSERT_TRUE(s.Ready()) << s.Problem();
  testsupport::MissingLog log;
  CCredits credits("NoSuchCredits.txt");
  EXPECT_EQ(log.Lines(), std::vector<std::string>{"missing: credits text NoSuchCredits.txt"});
  s.Frame([&] { credits.Render(); });
  EXPECT_TRUE(credits.finished);
  EXPECT_EQ(CreditsFileFor(L"SPA"), "Credits_ES.txt");
  EXPECT_EQ(CreditsFileFor(L"RUS"), "Credits_RU.txt");
  EXPECT_EQ(CreditsFileFor(L"XYZ"), "Credits_EN.txt");
  EXPECT_FALSE(CCredits(CreditsFileFor(L"ENG")).GetLines().empty());
  EXPECT_EQ(log.Lines().size(), 1u) << "a file that is there says nothing";
}

TEST(Credits, EachScreenGivesBackItsBackgroundBandAndFont) {
  ScreenScenario s;
  ASSERT_TRUE(s.Ready()) << s.Problem();
  auto refs = [](auto* factory, const std::string& name) {
    const auto* resource = factory->Find(name);
    return resource ? resource->GetRefCount() : 0u;
  };
  auto held = [&] {
    return std::array<uint32_t, 3>{refs(Nembra::g_pTextureFactory, MenuBackgroundOf(Nembra::g_LanguageCode)),
                                   refs(Nembra::g_pTextureFactory, "TP.png"),
                                   refs(Nembra::g_pBitmapFontFactory, FONT_GUI_SMALL_NUMBERS)};
  };
  const std::array<uint32_t, 3> before = held();
  for (int screen = 0; screen < 3; ++screen) {
    CCredits credits("Credits_EN.txt");
    EXPECT_EQ(refs(Nembra::g_pTextureFactory, "TP.png"), before[1] + 1);
  }
  EXPECT_EQ(held(), before);
}

// The comics the level descriptions name are there, two or three pages
// each, and every balloon's text is in the table in the three languages.
TEST(DemoComics, EveryNamedComicHasPagesAndTextsInThreeLanguages) {
  ScreenScenario s;
  ASSERT_TRUE(s.Ready()) << s.Problem();
  int comics = 0;
  for (const datagen::DemoLevel& level : datagen::DEMO_LEVELS)
    for (const char* name : {level.startComic, level.endComic}) {
      if (std::string(name) == "null") continue;
      ++comics;
      const COMIC_DESC desc = LoadComicDescription(s.DataFolder() + name);
      EXPECT_TRUE(desc.pages.size() >= 2 && desc.pages.size() <= 3) << name;
      for (const COMIC_PAGE_DESC& page : desc.pages) {
        EXPECT_TRUE(platform::FileExists(s.DataFolder() + page.imageFile)) << page.imageFile;
        EXPECT_FALSE(page.balloons.empty()) << page.imageFile;
        for (const COMIC_BALLOON_DESC& balloon : page.balloons)
          for (const wchar_t* language : {L"ENG", L"SPA", L"RUS"})
            EXPECT_FALSE(Nembra::CKeyValueFile::GetValue(std::wstring(balloon.textId.begin(), balloon.textId.end()),
                                                         language, s.DataFolder() + "Texts.dat")
                             .empty())
                << balloon.textId;
      }
    }
  EXPECT_EQ(comics, 3);
}

}  // namespace
