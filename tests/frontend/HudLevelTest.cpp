// The HUD reached through the level's host: a level's restart and unload
// leave no widget reading what the level takes away.
#include <gtest/gtest.h>

#include "HudTestSupport.h"
#include "LevelTimerSupport.h"
#include "frontend/hud/GUIBanner.h"
#include "frontend/hud/GUILevelHud.h"
#include "frontend/hud/widgets/GUICounters.h"
#include "frontend/hud/widgets/GUIDigitalTimer.h"
#include "frontend/hud/widgets/GUIKeyItems.h"
#include "frontend/hud/widgets/GUIMessageBox.h"
#include "game/level/Level.h"

using scenario::ScreenScenario;

namespace {

class HudHost : public CLevelHost {
 public:
  explicit HudHost(CLevelHud* hud) : m_pHud(hud) {}
  CLevelHud* GetHud() override { return m_pHud; }

 private:
  CLevelHud* m_pHud;
};

class HudThroughTheLevel : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s.Ready()) << s.Problem();
    keys.Init();
    counters.Init();
    box.Init();
    objective.LoadObjectiveCompleteTexts(L"ENG");
    level.SetHost(&host);
  }
  void TearDown() override {
    level.SetHost(nullptr);
    keys.Release();
    counters.Release();
    box.Release();
    display.Release();
    objective.Release();
  }
  void Frame() {
    s.Frame([&] {
      ScreenScenario::TwoPass(
          [&] {
            keys.Update();
            counters.Update();
            objective.Update();
            box.Update();
          },
          [&] {
            counters.Draw();
            box.Draw();
            display.Draw();
          });
    });
  }

  ScreenScenario s;
  CGUIKeyItems keys;
  CGUICounters counters;
  CGUIMessageBox box;
  CGUIDigitalTimer display;
  CGUIBanner objective;
  CGUILevelHud hud{GUI_LEVEL_WIDGETS{&keys, &counters, &box, &display, &objective, nullptr}};
  HudHost host{&hud};
  CLevel level;
};

TEST_F(HudThroughTheLevel, UnloadHidesTheCountDownAndDropsTheTimerRow) {
  CLevelTimer& escape = level.GetTimer("Escape");
  hud.ShowDigitalTimer(&escape, 90.0f);
  hud.ShowCounterTimer(&escape, 60.0f);
  hud.ShowItems(3);
  hud.AddItem();
  hudtest::RunTimerTo(escape, 10.0f);
  Frame();
  EXPECT_EQ(s.Last().FindText(L"1 : 20 : 00").size(), 1u);
  EXPECT_EQ(s.Last().FindText(L"50 : 00").size(), 1u);
  EXPECT_EQ(s.Last().FindText(L"1 / 3").size(), 1u);
  level.Unload();
  EXPECT_FALSE(display.IsVisible());
  EXPECT_EQ(counters.Row(CGUICounters::TIMER).timer, nullptr);
  EXPECT_EQ(counters.GetShownRows(), 0u);
  Frame();
  EXPECT_TRUE(s.Last().texts.empty());
}

TEST_F(HudThroughTheLevel, ARestartClearsTheMessageAtOnceAndKeepsTheTimers) {
  hud.SetMessageText(L"Hold the line.");
  hud.SetMessageBackground("Portraits.png", 0, 0, 89, 89);
  hud.ShowMessageBox(true, 7.0f);
  hud.SetMemoryCard(true);
  hud.ShowObjectiveBanner();
  CLevelTimer& escape = level.GetTimer("Escape");
  hud.ShowDigitalTimer(&escape, 30.0f);
  Frame();
  ASSERT_TRUE(box.IsVisible());
  EXPECT_TRUE(objective.IsVisible());
  level.Restart();
  EXPECT_FALSE(box.IsVisible());  // no fade
  EXPECT_TRUE(display.IsVisible());
  EXPECT_EQ(&level.GetTimer("Escape"), &escape);
  Frame();
  EXPECT_EQ(s.Last().FindText(L"Hold the line.").size(), 0u);
  EXPECT_EQ(s.Last().FindText(L"0 : 30 : 00").size(), 1u);
  // A missing banner or widget is skipped.
  hud.ShowWeaponUpBanner();
  hud.HideDigitalTimer();
  EXPECT_FALSE(display.IsVisible());
}

TEST_F(HudThroughTheLevel, AMessagePortraitPastTheIntRangeStopsAtItsEnd) {
  hud.SetMessageBackground("Portraits.png", INT32_MAX - 10, INT32_MIN + 5, 100, -89);
  hud.ShowMessageBox(true, 7.0f);
  EXPECT_EQ(box.Portrait().m_SourceRect.right, INT32_MAX);
  EXPECT_EQ(box.Portrait().m_SourceRect.bottom, INT32_MIN);
  Frame();
  EXPECT_TRUE(box.IsVisible());
}

}  // namespace
