// The grow-and-fade flash and the count-down display frame by frame.
#include <gtest/gtest.h>

#include <limits>

#include "frontend/FrontendTestSupport.h"
#include "frontend/WidgetGallery.h"
#include "engine/fonts/BitmapFont.h"
#include "frontend/hud/widgets/GUIDigitalTimer.h"
#include "frontend/hud/GUIFlash.h"
#include "game/level/Level.h"

using namespace fetest;

namespace {

class Flash : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s.Ready()) << s.Problem();
    ASSERT_TRUE(gallery::WriteAtlas(s.DataFolder()));
    // A 23 x 23 icon centred on (100, 100), as the HUD places its flashes.
    flash.m_Sprite.SetTexture(gallery::Atlas());
    flash.m_Sprite.SetSourceRect(Nembra::MakeRect(0, 0, 23, 23));
    flash.m_Sprite.m_Center = D3DXVECTOR3(11.0f, 11.0f, 0.0f);
    flash.m_Sprite.SetPosition(D3DXVECTOR3(100.0f, 100.0f, 0.0f));
  }
  void Frame() {
    s.Frame([&] { ScreenScenario::TwoPass([&] { flash.Update(); }, nullptr); });
  }
  // The flash's drawn width this frame (-1 when nothing was drawn).
  float DrawnWidth() const { return s.Last().sprites.size() == 1 ? s.Last().sprites[0].Width() : -1.0f; }
  uint32_t DrawnAlpha() const { return s.Last().sprites.empty() ? 0 : s.Last().sprites[0].color >> 24; }

  ScreenScenario s{Writable()};
  CGUIFlash flash;
};

TEST_F(Flash, GrowsFromNothingToTenTimesAndFadesInPointFourSeconds) {
  Frame();
  EXPECT_EQ(DrawnWidth(), -1.0f);  // idle: nothing
  flash.Start();
  Frame();
  ASSERT_EQ(s.Last().sprites.size(), 1u);
  EXPECT_EQ(BoxOf(s.Last().sprites[0]), (Box{100, 100, 0, 0}));  // around its centre
  EXPECT_EQ(s.Last().sprites[0].color, 0xFFFFFFFFu);
  for (int i = 0; i < 11; ++i) Frame();
  // The twelfth frame: 0.2 s left of 0.4, so five times the size at half opacity.
  const float f = (0.4f - 11.0f / 60.0f) / 0.4f;
  EXPECT_NEAR(DrawnWidth(), 23.0f * 10.0f * (1.0f - f), 0.05f);
  EXPECT_NEAR(s.Last().sprites[0].left, 100.0f - 11.0f * 10.0f * (1.0f - f), 0.05f);
  EXPECT_EQ(DrawnAlpha(), uint32_t(int(f * 255.0f)));
  int drawn = 12;
  for (; flash.IsRunning() && drawn < 100; ++drawn) Frame();
  EXPECT_EQ(drawn, 24);  // 0.4 s at 1/60 s a frame
  EXPECT_EQ(flash.m_Timer, 0.0f);
  Frame();
  EXPECT_TRUE(s.Last().sprites.empty());
}

TEST_F(Flash, AFrameLongerThanTheTimeLeftDrawsOnceMoreThenStopsAtZero) {
  flash.m_Timer = 0.01f;  // less than one frame left
  Frame();
  ASSERT_EQ(s.Last().sprites.size(), 1u);
  EXPECT_EQ(DrawnAlpha(), uint32_t(int(0.01f / 0.4f * 255.0f)));
  EXPECT_EQ(flash.m_Timer, 0.0f);  // exactly, not below
  Frame();
  EXPECT_TRUE(s.Last().sprites.empty());
}

TEST_F(Flash, ARestartWhileRunningStartsOverAndOtherScalesAreHonoured) {
  flash.Start();
  for (int i = 0; i < 10; ++i) Frame();
  EXPECT_GT(DrawnWidth(), 50.0f);
  flash.Start();
  Frame();
  EXPECT_EQ(std::make_pair(DrawnWidth(), DrawnAlpha()), std::make_pair(0.0f, 255u));
  // The main menu's buttons grow from their own size to one and a half times.
  flash.m_StartScale = 1.0f;
  flash.m_EndScale = 1.5f;
  flash.Start();
  Frame();
  EXPECT_EQ(std::make_pair(DrawnWidth(), DrawnAlpha()), std::make_pair(23.0f, 255u));
  for (int i = 0; i < 23; ++i) Frame();
  EXPECT_NEAR(DrawnWidth(), 23.0f * (1.0f + 0.5f * (1.0f - (1.0f / 60.0f) / 0.4f)), 0.05f);
}

class DigitalTimer : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(s.Ready()) << s.Problem(); }
  void Frame(CGUIDigitalTimer& t) {
    s.Frame([&] { ScreenScenario::TwoPass(nullptr, [&] { t.Draw(); }); });
  }
  // The one text line of the last frame ("?" unless exactly one).
  std::wstring Only() const { return s.Last().texts.size() == 1 ? s.Last().texts[0].text : L"?"; }
  ScreenScenario s;
};

TEST_F(DigitalTimer, ShowsMinutesSecondsAndSixtiethsCentredAtTheTop) {
  CGUIDigitalTimer display;
  CLevelTimer watch;
  Frame(display);
  EXPECT_TRUE(s.Last().texts.empty());  // hidden until shown
  display.Show(&watch, 100.0f);
  RunTimerTo(watch, 24.5f);  // 75.5 s left
  Frame(display);
  ASSERT_EQ(s.Last().texts.size(), 1u);
  const scenario::TextRecord& t = s.Last().texts[0];
  EXPECT_EQ(std::make_tuple(t.text, t.font, t.color),
            std::make_tuple(std::wstring(L"1 : 15 : 30"), std::string("GUI_FONT_DIGITAL"), 0xFFFFFFFFu));
  Nembra::CBitmapFont* font = Nembra::g_pBitmapFontFactory->Get(FONT_GUI_DIGITAL);
  EXPECT_EQ(AtOf(t), (At{400 - font->GetTextWidth(L"1 : 15 : 30") / 2, 10}));
  EXPECT_FLOAT_EQ(display.GetTimeLeft(), 75.5f);
  RunTimerTo(watch, 90.75f);  // 9.25 s left
  Frame(display);
  EXPECT_EQ(Only(), L"0 : 09 : 15");
  RunTimerTo(watch, 250.0f);  // past the limit
  Frame(display);
  EXPECT_EQ(Only(), L"0 : 00 : 00");
  EXPECT_TRUE(display.IsVisible());
  EXPECT_EQ(display.GetTimeLeft(), 0.0f);
}

TEST_F(DigitalTimer, FormatsEveryField) {
  EXPECT_EQ(CGUIDigitalTimer::FormatTime(0.0f), L"0 : 00 : 00");
  EXPECT_EQ(CGUIDigitalTimer::FormatTime(59.999f), L"0 : 59 : 59");
  EXPECT_EQ(CGUIDigitalTimer::FormatTime(600.0f + 1.0f / 60.0f + 1e-4f), L"10 : 00 : 01");
  EXPECT_EQ(CGUIDigitalTimer::FormatTime(-3.0f), L"0 : 00 : 00");
  EXPECT_EQ(CGUIDigitalTimer::FormatTime(std::numeric_limits<float>::quiet_NaN()), L"0 : 00 : 00");
  EXPECT_EQ(CGUIDigitalTimer::FormatTime(std::numeric_limits<float>::infinity()), L"16666666 : 40 : 00");
}

TEST_F(DigitalTimer, AfterHideAndTheLevelsUnloadTheTimerIsNeverReadAgain) {
  CGUIDigitalTimer display;
  CLevel level;
  // The script's timer by name, made on first use as the script functions make it.
  CLevelTimer& timer = level.GetTimer("Escape");
  display.Show(&timer, 10.0f);
  RunTimerTo(timer, 4.0f);
  Frame(display);
  EXPECT_EQ(Only(), L"0 : 06 : 00");
  // A restart keeps the timers: the display reads on.
  level.Restart();
  Frame(display);
  ASSERT_EQ(s.Last().texts.size(), 1u);
  display.Hide();
  level.Unload();  // the level's timers go with the level
  Frame(display);
  Frame(display);
  EXPECT_TRUE(s.Last().texts.empty());
  EXPECT_FALSE(display.IsVisible());
  // Shown again on a new timer it counts from the new limit.
  CLevelTimer& next = level.GetTimer("Next");
  RunTimerTo(next, 1.5f);
  display.Show(&next, 3.0f);
  EXPECT_FLOAT_EQ(display.GetTimeLeft(), 3.0f);
  Frame(display);
  EXPECT_EQ(Only(), L"0 : 01 : 30");
  display.Release();
  Frame(display);  // without its font it writes nothing, and still counts
  EXPECT_TRUE(s.Last().texts.empty());
  EXPECT_FLOAT_EQ(display.GetTimeLeft(), 1.5f);
}

}  // namespace
