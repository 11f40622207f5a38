// The banners, the message box, the death title and the mission-complete
// notice frame by frame, their sounds on the sound layer's null output.
#include <gtest/gtest.h>

#include "frontend/FrontendTestSupport.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/resources/Texture.h"
#include "engine/sound/AudiereSound.h"
#include "engine/sound/WaveSound.h"
#include "engine/util/Utilities.h"
#include "frontend/FontNames.h"
#include "frontend/hud/GUIBanner.h"
#include "frontend/hud/GUIMissionComplete.h"
#include "frontend/hud/GUIPauseTitle.h"
#include "frontend/hud/widgets/GUIMessageBox.h"
#include "frontend/screens/BuyNow.h"
#include "frontend/screens/BuyNowButton.h"
#include "game/world/GameGlobals.h"
#include "tools/formats/GraphicsFiles.h"
#include "tools/formats/SoundFiles.h"
#include "tools/formats/TextFiles.h"

using namespace gui_layout;
using namespace fetest;

namespace {

platform::ITexture* WordAtlas(TEXT_LANGUAGE lang) { return scenario::TextureOf(TEXT_ATLASES[lang]); }

class Banners : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(s.Ready()) << s.Problem(); }
  void TearDown() override { banner.Release(); }
  void Frame() { s.Frame([&] { ScreenScenario::TwoPass([&] { banner.Update(); }, nullptr); }); }
  std::vector<const scenario::SpriteRecord*> Notice(TEXT_LANGUAGE lang, TEXT_IMAGE image) const {
    return Drawn(s, WORD_IMAGES[lang][image].rect, WordAtlas(lang));
  }
  size_t NoticeDrawn(TEXT_LANGUAGE lang, TEXT_IMAGE image) const { return Notice(lang, image).size(); }
  // Frames until the banner is hidden, counting from `frames` (at most 300).
  int FramesWhileVisible(int frames = 1) {
    for (; banner.IsVisible() && frames < 300; ++frames) Frame();
    return frames;
  }
  ScreenScenario s{Writable()};
  CGUIBanner banner;
};

TEST_F(Banners, ARepeatedShowRestartsFlashAndSoundAndTheNoticeGoesOneAndEightTenthsLater) {
  // The sound lasts far longer than the frames between the shows take on
  // any machine (the output plays it in real time), so the first one is
  // still on when the second starts.
  formats::Tone tone;
  tone.seconds = 10.0;
  ASSERT_TRUE(formats::WriteBytes(s.DataFolder() + "ObjectiveComplete2.wav", formats::WaveToneBytes(tone)));
  banner.LoadObjectiveCompleteTexts(L"ENG");
  ASSERT_NE(banner.GetSound(), nullptr);
  ASSERT_NE(banner.GetSound()->GetAudioPath(), nullptr);
  Frame();
  EXPECT_TRUE(s.Last().sprites.empty());  // hidden until shown
  banner.Show();
  EXPECT_EQ(banner.GetSound()->GetAudioPath()->VoiceCount(), 1);
  Frame();
  // The notice at full strength under the flash's first frame, centred on the screen.
  const auto notice = Notice(TEXT_EN, TEXT_OBJECTIVE_COMPLETE);
  ASSERT_EQ(notice.size(), 2u);
  EXPECT_EQ(std::make_tuple(notice[0]->left, notice[0]->top, notice[0]->Width(), notice[0]->color),
            std::make_tuple(400.0f - 244.0f, 300.0f - 15.0f, 489.0f, 0xFFFFFFFFu));
  EXPECT_EQ(notice[1]->Width(), 0.0f);  // the flash, from nothing
  for (int i = 0; i < 17; ++i) Frame();  // 0.3 s
  banner.Show();
  EXPECT_EQ(banner.GetSound()->GetAudioPath()->VoiceCount(), 2);  // played again over the first
  Frame();
  ASSERT_EQ(NoticeDrawn(TEXT_EN, TEXT_OBJECTIVE_COMPLETE), 2u);
  EXPECT_EQ(Notice(TEXT_EN, TEXT_OBJECTIVE_COMPLETE)[1]->Width(), 0.0f);
  // 1.8 s after the second show it is gone: 108 frames, the last one fading.
  EXPECT_NEAR(FramesWhileVisible(), 108, 1);
  Frame();
  EXPECT_TRUE(s.Last().sprites.empty());
}

TEST_F(Banners, HoldsAfterTheFlashThenFadesOverHalfASecond) {
  banner.LoadWeaponUpTexts(L"RUS");
  EXPECT_EQ(banner.GetAtlasName(), "GUI_Texts_RU.tga");
  banner.Show();
  for (int i = 0; i < 42; ++i) Frame();  // the 0.7 s flash
  EXPECT_FALSE(banner.Flash().IsRunning());
  EXPECT_FLOAT_EQ(banner.GetDisplayTimer(), CGUIBanner::HOLD_TIME);
  int hold = 0;
  while (banner.GetFadeTimer() == 0.0f && hold < 100) {
    Frame();
    ++hold;
  }
  EXPECT_NEAR(hold, 36, 1);  // the 0.6 s hold
  EXPECT_NEAR(banner.GetFadeTimer(), 0.5f - 1.0f / 60.0f, 1e-4f);
  ASSERT_EQ(NoticeDrawn(TEXT_RU, TEXT_WEAPON_UP), 1u);
  EXPECT_EQ(Notice(TEXT_RU, TEXT_WEAPON_UP)[0]->color >> 24, uint32_t(int(2.0f * banner.GetFadeTimer() * 255.0f)));
  // The hold is armed again while the fade runs; the fade ends first.
  EXPECT_FLOAT_EQ(banner.GetDisplayTimer(), CGUIBanner::HOLD_TIME);
  for (int i = 0; i < 30; ++i) Frame();
  EXPECT_FALSE(banner.IsVisible());
}

TEST_F(Banners, AnyLanguageButSpanishAndRussianTakesTheEnglishAtlas) {
  for (const wchar_t* code : {L"ENG", L"", L"XYZ", L"spa"}) {
    banner.LoadObjectiveCompleteTexts(code);
    EXPECT_EQ(banner.GetAtlasName(), "GUI_Texts_EN.tga") << std::string(code, code + wcslen(code));
    banner.Show();
    Frame();
    EXPECT_EQ(NoticeDrawn(TEXT_EN, TEXT_OBJECTIVE_COMPLETE), 2u);
    EXPECT_EQ(s.Last().sprites[0].Width(), 489.0f);
  }
  banner.LoadObjectiveCompleteTexts(L"SPA");
  banner.Show();
  Frame();
  EXPECT_EQ(NoticeDrawn(TEXT_ES, TEXT_OBJECTIVE_COMPLETE), 2u);
  EXPECT_EQ(s.Last().sprites[0].Width(), 466.0f);
}

class MessageBox : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s.Ready()) << s.Problem();
    box.Init();
  }
  void TearDown() override { box.Release(); }
  void Frame() { s.Frame([&] { ScreenScenario::TwoPass([&] { box.Update(); }, [&] { box.Draw(); }); }); }
  ScreenScenario s;
  CGUIMessageBox box;
};

TEST_F(MessageBox, OpensForItsTimeThenFadesOverASecond) {
  box.SetText(L"Hello");
  box.Show(true, CGUIMessageBox::DEFAULT_DISPLAY_TIME);
  Frame();
  // Portrait, then the frame over it, then the glow.
  const auto& sprites = s.Last().sprites;
  ASSERT_EQ(sprites.size(), 3u);
  EXPECT_EQ(std::make_tuple(sprites[0].srcLeft, sprites[0].left, sprites[1].srcLeft, sprites[1].top),
            std::make_tuple(MESSAGE_PORTRAIT.x, 17.0f, MESSAGE_FRAME.x, 415.0f));
  EXPECT_FLOAT_EQ(sprites[2].Width(), 709.0f);  // the glow at its start scale, 1.0
  ASSERT_EQ(s.Last().texts.size(), 1u);
  EXPECT_EQ(AtOf(s.Last().texts[0]), (At{115, 450}));
  EXPECT_EQ(s.Last().texts[0].font, "GUI_FONT_MESSAGE");
  int frames = 1;
  for (; box.GetClosingTimer() == 0.0f && frames < 1000; ++frames) Frame();
  EXPECT_NEAR(frames, 420, 1);  // 7 s
  for (; box.IsVisible() && frames < 1000; ++frames) {
    Frame();
    if (box.IsVisible()) {
      ASSERT_EQ(s.Last().texts.size(), 1u);
      EXPECT_EQ(s.Last().texts[0].color >> 24, uint32_t(box.GetClosingTimer() * 255.0f + 0.5f) & 0xFF);
    }
  }
  EXPECT_NEAR(frames, 480, 1);  // and 1 s of fading
  Frame();
  EXPECT_TRUE(s.Last().sprites.empty());
  EXPECT_TRUE(s.Last().texts.empty());
}

TEST_F(MessageBox, ZeroTimeClosesAtOnceAndHidingWorksOnlyOnAnOpenBox) {
  box.Show(false, 7.0f);  // hidden: nothing
  EXPECT_FALSE(box.IsVisible());
  Frame();
  EXPECT_TRUE(s.Last().sprites.empty());
  box.Show(true, 0.0f);
  Frame();
  EXPECT_FLOAT_EQ(box.GetClosingTimer(), 1.0f);  // closing from the first update
  for (int i = 0; i < 30; ++i) Frame();
  EXPECT_LT(box.GetClosingTimer(), 0.6f);
  box.Show(false, 7.0f);  // while closing: the close starts over at full opacity
  EXPECT_FLOAT_EQ(box.GetClosingTimer(), 1.0f);
  Frame();
  EXPECT_TRUE(box.IsVisible());
  EXPECT_NEAR(s.Last().sprites[0].Alpha(), 1.0f - 1.0f / 60.0f, 0.01f);
  // Opened again while closing: open, opaque, timing from the start.
  box.Show(true, 2.0f);
  Frame();
  EXPECT_EQ(box.GetClosingTimer(), 0.0f);
  EXPECT_EQ(s.Last().sprites[0].color, 0xFFFFFFFFu);
}

TEST_F(MessageBox, TextWrapsAt580PixelsIn15PixelLinesAndAMissingPortraitIsHarmless) {
  std::wstring text;
  for (int i = 0; i < 40; ++i) text += L"Generator " + std::to_wstring(i) + L" online. ";
  box.SetText(text);
  box.SetBackground("NoSuchPortrait.png", Nembra::MakeRect(0, 0, 89, 89));
  box.Show(true, 7.0f);
  Frame();
  const auto& lines = s.Last().texts;
  ASSERT_GT(lines.size(), 3u);
  Nembra::CBitmapFont* font = Nembra::g_pBitmapFontFactory->Get(FONT_GUI_MESSAGE);
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(AtOf(lines[i]), (At{115, 450 + 15 * int(i)}));
    std::wstring words = lines[i].text;
    while (!words.empty() && words.back() == L' ') words.pop_back();
    // Within the wrap width, give or take the blank before the word that passed it.
    EXPECT_LE(font->GetTextWidth(words), 580 + font->GetGlyph(L' ').width) << i;
    EXPECT_TRUE(i + 1 == lines.size() || font->GetTextWidth(words) > 400) << i;  // and not broken early
  }
  Nembra::g_pBitmapFontFactory->Release(FONT_GUI_MESSAGE);
  // The portrait falls back to the factory's default texture; frame and glow still draw.
  EXPECT_EQ(box.Portrait().GetTexture(), Nembra::g_pTextureFactory->GetDefault());
  EXPECT_GE(s.Last().sprites.size(), 2u);
  // A portrait of the demo data shows its rectangle.
  box.SetBackground("Portraits.png", Nembra::MakeRect(89, 0, 89, 89));
  Frame();
  EXPECT_EQ(Drawn(s, REGION{89, 0, 89, 89}, scenario::TextureOf("Portraits.png")).size(), 1u);
  // Each portrait gives back the one it replaces, and the last goes at release.
  auto refs = [](const char* name) {
    Nembra::CTexture* t = Nembra::g_pTextureFactory->Find(name);
    return t ? t->GetRefCount() : 0u;
  };
  const uint32_t held = refs("Portraits.png");
  box.SetBackground("Portraits.png", Nembra::MakeRect(0, 0, 89, 89));
  EXPECT_EQ(refs("Portraits.png"), held);
  box.SetBackground("Document2.png", Nembra::MakeRect(0, 0, 89, 89));
  EXPECT_EQ(refs("Portraits.png"), held - 1);
  EXPECT_EQ(refs("Document2.png"), 1u);
  box.Release();
  EXPECT_EQ(refs("Document2.png"), 0u);
  box.Init();
  box.SetBackground("Portraits.png", Nembra::MakeRect(89, 0, 89, 89));
  box.Show(true, 7.0f);
  // Ten thousand characters without a blank.
  box.SetText(std::wstring(10000, L'W'));
  Frame();
  EXPECT_EQ(s.Last().sprites.size(), 3u);
  EXPECT_TRUE(box.IsVisible());
}

TEST(DeathTitle, RestartShowsTheTitleOpaqueWithARunningFlashOverTheDimmedScreen) {
  ScreenScenario s;
  ASSERT_TRUE(s.Ready()) << s.Problem();
  CGUIPauseTitle title;
  title.LoadTexts(L"SPA");
  title.Restart();
  s.Frame([&] { ScreenScenario::TwoPass([&] { title.Draw(); }, nullptr); });
  const auto& sprites = s.Last().sprites;
  ASSERT_EQ(sprites.size(), 3u);
  // The half-dark patch over the whole screen, the title, its flash.
  EXPECT_EQ(std::make_tuple(sprites[0].srcLeft, sprites[0].srcTop, sprites[0].left, sprites[0].Width()),
            std::make_tuple(DIM_PATCH.x, DIM_PATCH.y, -100.0f, 1000.0f));
  EXPECT_EQ(std::make_tuple(sprites[1].srcTop, sprites[1].SourceWidth(), sprites[1].color),
            std::make_tuple(31, 355, 0xFFFFFFFFu));
  EXPECT_TRUE(title.Flash().IsRunning());
  EXPECT_FLOAT_EQ(title.Flash().m_Timer, 0.7f - 1.0f / 60.0f);
  title.Release();
}

class MissionComplete : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s.Ready()) << s.Problem();
    formats::Tone tone;
    tone.seconds = 3.0;
    ASSERT_TRUE(formats::WriteBytes(s.DataFolder() + "TitleMusic.ogg", formats::OggToneBytes(tone)));
    // The pointer image, where the front end's data puts it.
    formats::TestPicture pointer(32, 32, 0xFFFFFFFFu);
    ASSERT_TRUE(formats::WriteBytes(s.DataFolder() + CGUIMissionComplete::POINTER,
                                    formats::TgaBytes(pointer, true)));
  }
  void TearDown() override {
    notice.Release();
    g_pCurrentMusic = nullptr;
  }
  void Frame() { s.Frame([&] { ScreenScenario::TwoPass([&] { notice.Update(); }, nullptr); }); }
  ScreenScenario s{Writable()};
  CGUIMissionComplete notice;
};

TEST_F(MissionComplete, DoneAfterTheFadeAndOnlyItsOwnMusicPlays) {
  // The level-over state has just started the title music again.
  Nembra::CAudiereSound* title = Nembra::g_pStreamingSoundFactory->Get("TitleMusic.ogg");
  ASSERT_NE(title, nullptr);
  title->Play(true);
  g_pCurrentMusic = title;
  ASSERT_TRUE(title->IsPlaying());

  notice.LoadTexts(L"ENG");
  notice.Show();
  EXPECT_FALSE(notice.done);
  EXPECT_FALSE(title->IsPlaying());  // stopped first
  ASSERT_EQ(g_pCurrentMusic, Nembra::g_pStreamingSoundFactory->Find(CGUIMissionComplete::MUSIC));
  ASSERT_NE(g_pCurrentMusic, title);
  EXPECT_TRUE(g_pCurrentMusic->IsPlaying());
  EXPECT_FALSE(g_pCurrentMusic->GetStream()->GetRepeat());

  int frames = 0;
  while (!notice.done && frames < 100) {
    Frame();
    if (++frames == 12) {
      // Halfway: the black patch at half strength over the dimmed screen.
      ASSERT_GE(s.Last().sprites.size(), 3u);
      EXPECT_EQ(s.Last().sprites[1].srcLeft, BLACK_PATCH.x);
      EXPECT_NEAR(s.Last().sprites[1].Alpha(), 12.0f / 24.0f, 0.01f);
    }
  }
  EXPECT_EQ(frames, 24);  // 0.4 s
  for (int i = 0; i < 10; ++i) Frame();
  EXPECT_TRUE(notice.done);
  EXPECT_EQ(s.Last().sprites[1].color, 0xFFFFFFFFu);
  EXPECT_FALSE(title->IsPlaying());
  Nembra::g_pStreamingSoundFactory->Release("TitleMusic.ogg");
}

TEST_F(MissionComplete, TheTitleFollowsTheLanguageAndThePointerTheMouse) {
  notice.LoadTexts(L"RUS");
  notice.Show();
  s.Next().MoveTo(250, 333);
  Frame();
  const auto title = Drawn(s, WORD_IMAGES[TEXT_RU][TEXT_MISSION_COMPLETE].rect, WordAtlas(TEXT_RU));
  ASSERT_EQ(title.size(), 2u);  // the title and its flash
  EXPECT_EQ(std::make_pair(title[0]->SourceWidth(), title[0]->left), std::make_pair(460, 400.0f - 230.0f));
  const scenario::SpriteRecord& pointer = s.Last().sprites.back();
  EXPECT_EQ(std::make_pair(pointer.left, pointer.top), std::make_pair(248.0f, 331.0f));
  // Release gives back the atlas, the pointer and the music.
  notice.Release();
  for (const char* name : {TEXT_ATLASES[TEXT_RU], CGUIMissionComplete::POINTER})
    EXPECT_EQ(Nembra::g_pTextureFactory->Find(name), nullptr) << name;
  EXPECT_EQ(Nembra::g_pStreamingSoundFactory->Find(CGUIMissionComplete::MUSIC), nullptr);
}

// The purchase action, counted.
class CountingBuyNow : public CMyBuyNow {
 public:
  void Execute() override {
    ++runs;
    CMyBuyNow::Execute();
  }
  int runs = 0;
};

TEST_F(MissionComplete, TheButtonSitsBelowTheTitleAndOneClickBuysOnceAndQuits) {
  CountingBuyNow action;
  std::unique_ptr<CBuyNowButton> button = CreateBuyNowButton();
  ASSERT_NE(button, nullptr);
  CBuyNowButton counted(button->GetNormalImage()->GetTexture(), Nembra::MakeRect(0, 0, 196, 71),
                        Nembra::MakeRect(0, 71, 196, 71), Nembra::MakeRect(0, 0, 196, 71), &action);
  g_pBuyNowButton = &counted;
  notice.LoadTexts(L"ENG");
  notice.Show();
  Nembra::g_pApplication->WindowProc(Nembra::g_pApplication->GetWindow(), platform::WM_ACTIVATE, 1, 0);
  ASSERT_TRUE(Nembra::g_pApplication->IsActive());
  Frame();
  EXPECT_EQ(std::make_pair(counted.GetScreenRect().left, counted.GetScreenRect().top), std::make_pair(302, 480));
  const auto drawn = s.Last().FindSprites(counted.GetNormalImage()->GetTexture()->GetTexture());
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(std::make_pair(drawn[0]->left, drawn[0]->top), std::make_pair(302.0f, 480.0f));
  s.Script({FrameInput().MoveTo(400, 515), FrameInput().Press(0), FrameInput().Release(0), FrameInput()});
  for (int i = 0; i < 4; ++i) Frame();
  EXPECT_EQ(action.runs, 1);
  EXPECT_FALSE(Nembra::g_pApplication->IsActive());  // the game ends
  g_pBuyNowButton = nullptr;
  ReleaseBuyNowButton(button);
}

}  // namespace
