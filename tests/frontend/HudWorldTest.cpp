// The gauges and the weapon panel on the real game world: the player's
// damage, healing and a weapon-level rise drive the blink and the flashes.
#include <gtest/gtest.h>

#include "HudTestSupport.h"
#include "frontend/hud/GUIPlayerView.h"
#include "frontend/hud/widgets/GUIGauges.h"
#include "frontend/hud/widgets/GUIWeaponPanel.h"
#include "scenario/WorldScenario.h"

using namespace gui_layout;

namespace {

class HudOnTheWorld : public ::testing::Test {
 protected:
  static scenario::WorldScenario::Options Sixtieths() {
    scenario::WorldScenario::Options o;
    o.frameTime = 1.0f / 60.0f;
    return o;
  }
  void SetUp() override {
    ASSERT_TRUE(w.Ready()) << w.Problem();
    health.Init();
    ability.Init();
    weapon.Init();
  }
  void TearDown() override {
    health.Release();
    ability.Release();
    weapon.Release();
  }
  void Frame() {
    w.Frame([&] {
      scenario::ScreenScenario::TwoPass(
          [&] {
            weapon.Update();
            health.Update();
            ability.Update();
          },
          [&] {
            health.Draw();
            ability.Draw();
            weapon.Draw();
          });
    });
  }
  void Settle() {
    for (int i = 0; i < 40; ++i) Frame();
  }
  size_t Drawn(const REGION& region) { return hudtest::Drawn(w.Screen(), region).size(); }
  const scenario::SpriteRecord* First(const REGION& region) {
    const auto d = hudtest::Drawn(w.Screen(), region);
    return d.empty() ? nullptr : d[0];
  }

  scenario::WorldScenario w{Sixtieths()};
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
  const auto zero = w.Screen().Last().FindText(L"0");
  ASSERT_FALSE(zero.empty());
  EXPECT_EQ(zero[0]->x, 738);
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

}  // namespace
