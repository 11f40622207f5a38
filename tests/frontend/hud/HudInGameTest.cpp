// The HUD in the game: the gauges and the weapon panel on the game world (damage, healing, a
// weapon-level rise), and the widgets through the level's host (a restart or unload leaves no widget
// reading what the level takes away).
#include <gtest/gtest.h>

#include "frontend/FrontendTestSupport.h"
#include "frontend/hud/GUIBanner.h"
#include "frontend/hud/widgets/GUICounters.h"
#include "frontend/hud/widgets/GUIDigitalTimer.h"
#include "frontend/hud/widgets/GUIGauges.h"
#include "frontend/hud/widgets/GUIKeyItems.h"
#include "frontend/hud/GUILevelHud.h"
#include "frontend/hud/widgets/GUIMessageBox.h"
#include "frontend/hud/GUIPlayerView.h"
#include "frontend/hud/widgets/GUIWeaponPanel.h"
#include "game/level/Level.h"
#include "scenario/WorldScenario.h"

using namespace gui_layout;
using fetest::ScreenScenario;

namespace {

class HudOnTheWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(w.Ready()) << w.Problem();
    health.Init(), ability.Init(), weapon.Init();
  }
  void TearDown() override { health.Release(), ability.Release(), weapon.Release(); }
  void Frame() {
    w.Frame([&] {
      scenario::ScreenScenario::TwoPass([&] { weapon.Update(), health.Update(), ability.Update(); },
                                        [&] { health.Draw(), ability.Draw(), weapon.Draw(); });
    });
  }
  void Settle() {
    for (int i = 0; i < 40; ++i) Frame();
  }
  size_t Drawn(const REGION& region) { return fetest::Drawn(w.Screen(), region).size(); }
  const scenario::SpriteRecord* First(const REGION& region) {
    const auto d = fetest::Drawn(w.Screen(), region);
    return d.empty() ? nullptr : d[0];
  }

  scenario::WorldScenario w{[] {
    scenario::WorldScenario::Options o;
    o.frameTime = 1.0f / 60.0f;
    return o;
  }()};
  CGUIHealthGauge health;
  CGUIAbilityGauge ability;
  CGUIWeaponPanel weapon;
};

TEST_F(HudOnTheWorld, DamageBlinksTheHealthBarAndHealingFlashesIt) {
  CPlayer& player = w.Player();
  Settle();
  ASSERT_GT(player.GetMaxHealth(), 0u);
  const uint32_t max = player.GetMaxHealth();
  EXPECT_EQ(Drawn(HEALTH_BLINK_BAR), 0u);
  ASSERT_NE(First(HEALTH_BAR), nullptr);
  EXPECT_NEAR(First(HEALTH_BAR)->Width(), 107.0f * float(player.GetHealth()) / float(max), 0.01f);
  EXPECT_EQ(w.Screen().Last().FindText(std::to_wstring(player.GetHealth())).size(), 1u);

  player.Damage(static_cast<float>(max / 4), false);
  const uint32_t hurt = player.GetHealth();
  ASSERT_LT(hurt, max);
  int blinking = 0;
  for (int i = 0; i < 30; ++i) {
    Frame();
    if (Drawn(HEALTH_BLINK_BAR)) ++blinking;
  }
  EXPECT_NEAR(blinking, 12, 1);
  EXPECT_NEAR(First(HEALTH_BAR)->Width(), 107.0f * float(hurt) / float(max), 0.01f);

  player.Heal(0.1f);
  EXPECT_GT(player.GetHealth(), hurt);
  Frame();
  EXPECT_EQ(Drawn(HEALTH_FLASH), 1u);
  EXPECT_FALSE(player.TakeHealed());  // the gauge took the flag
}

TEST_F(HudOnTheWorld, AWeaponLevelRiseFlashesItsIconAndTheChargesShowAsBars) {
  CWeapon& gun = w.Player().GetWeapon();
  gun.SetPower(1);
  Settle();
  gun.SetPower(2);
  Frame();
  EXPECT_EQ(Drawn(WEAPON_LEVEL2_FLASH), 1u);
  EXPECT_EQ(Drawn(WEAPON_LEVEL2_ICON), 1u);
  Settle();
  gun.SetPower(3);
  Frame();
  EXPECT_EQ(Drawn(WEAPON_LEVEL3_FLASH), 1u);
  gun.SetCharge(CWeapon::BLUE, 0);
  gun.SetCharge(CWeapon::RED, gun.GetMaxCharge() / 2);
  Frame();
  EXPECT_EQ(First(WEAPON_BLUE_BAR)->Height(), 0.0f);
  EXPECT_NEAR(First(WEAPON_RED_BAR)->Height(), 94.0f * float(gun.GetMaxCharge() / 2) / float(gun.GetMaxCharge()), 0.01f);
  EXPECT_EQ(fetest::TextAt(w.Screen(), L"0")[0], 738);
  gun.SetPower(1);
}

TEST_F(HudOnTheWorld, AFullAbilityFlashesAndBlinks) {
  CAbility& power = w.Player().GetAbility();
  Settle();
  power.AddCharge(100);
  Frame();
  EXPECT_EQ(power.GetCharge(), 100u);
  EXPECT_EQ(Drawn(ABILITY_FLASH), 1u);
  EXPECT_EQ(Drawn(ABILITY_BLINK_BAR), 1u);
  EXPECT_EQ(w.Screen().Last().FindText(L"100%").size(), 1u);
}

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
    keys.Init(), counters.Init(), box.Init();
    objective.LoadObjectiveCompleteTexts(L"ENG");
    level.SetHost(&host);
  }
  void TearDown() override {
    level.SetHost(nullptr);
    keys.Release(), counters.Release(), box.Release(), display.Release(), objective.Release();
  }
  void Frame() {
    s.Frame([&] {
      ScreenScenario::TwoPass([&] { keys.Update(), counters.Update(), objective.Update(), box.Update(); },
                              [&] { counters.Draw(), box.Draw(), display.Draw(); });
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
  fetest::RunTimerTo(escape, 10.0f);
  Frame();
  for (const wchar_t* text : {L"1 : 20 : 00", L"50 : 00", L"1 / 3"}) EXPECT_EQ(s.Last().FindText(text).size(), 1u);
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
  EXPECT_EQ(std::make_pair(box.Portrait().m_SourceRect.right, box.Portrait().m_SourceRect.bottom),
            std::make_pair(INT32_MAX, INT32_MIN));
  Frame();
  EXPECT_TRUE(box.IsVisible());
}

}  // namespace
