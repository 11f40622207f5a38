// The gauges and the weapon panel frame by frame, the player's values given
// through a view of their own.
#include <gtest/gtest.h>

#include "frontend/FrontendTestSupport.h"
#include "engine/fonts/BitmapFont.h"
#include "frontend/FontNames.h"
#include "frontend/hud/GUIPlayerView.h"
#include "frontend/hud/widgets/GUIGauges.h"
#include "frontend/hud/widgets/GUIWeaponPanel.h"

using namespace gui_layout;
using namespace fetest;

namespace {

class SetView : public CHudPlayerView {
 public:
  HUD_PLAYER_VALUES Read() const override { return values; }
  bool TakeHealedFlag() override {
    ++takes;
    const bool was = healed;
    healed = false;
    return was;
  }
  HUD_PLAYER_VALUES values;
  bool healed = false;
  int takes = 0;
};

class Gauges : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s.Ready()) << s.Problem();
    SetHudPlayerView(&view);
    view.values.health = view.values.maxHealth = 100;
    view.values.maxCharge = 100;
    health.Init();
    ability.Init();
    weapon.Init();
  }
  void TearDown() override {
    health.Release();
    ability.Release();
    weapon.Release();
    SetHudPlayerView(nullptr);
  }
  void Frame() {
    s.Frame([&] {
      ScreenScenario::TwoPass([&] { weapon.Update(), health.Update(), ability.Update(); },
                              [&] { health.Draw(), ability.Draw(), weapon.Draw(); });
    });
  }
  // Frames until nothing blinks or flashes any more.
  void Settle() {
    for (int i = 0; i < 60; ++i) Frame();
  }
  At Text(const std::wstring& text) const { return TextAt(s, text); }

  ScreenScenario s;
  SetView view;
  CGUIHealthGauge health;
  CGUIAbilityGauge ability;
  CGUIWeaponPanel weapon;
};

TEST_F(Gauges, AHealthChangeBlinksOnceForAFifthOfASecondAndAChangeDuringItDoesNotRestartIt) {
  view.values.health = 50;
  Settle();
  EXPECT_TRUE(Drawn(s, HEALTH_BLINK_BAR).empty());
  const auto bar = Drawn(s, HEALTH_BAR);
  ASSERT_EQ(bar.size(), 1u);
  EXPECT_FLOAT_EQ(bar[0]->left, 39.0f);
  EXPECT_FLOAT_EQ(bar[0]->Width(), 107.0f * 0.5f);  // shrinks towards its left edge
  EXPECT_EQ(Text(L"50"), (At{87, 569}));

  view.values.health = 40;
  int blinking = 0;
  std::vector<uint32_t> alphas;
  for (int i = 0; i < 30; ++i) {
    if (i == 3) view.values.health = 30;  // during the blink
    Frame();
    const auto blink = Drawn(s, HEALTH_BLINK_BAR);
    if (!blink.empty()) {
      ++blinking;
      alphas.push_back(blink[0]->color >> 24);
      EXPECT_FLOAT_EQ(blink[0]->Width(), 107.0f * (i < 3 ? 0.4f : 0.3f));
    }
  }
  EXPECT_NEAR(blinking, 12, 1);  // 0.2 s (the last frame's float remainder may add one), once
  // Rising from nothing to full and back.
  EXPECT_EQ(alphas.front(), uint32_t(int(BlinkAlpha(0.2f, 0.1f) * 255.0f)));
  EXPECT_GT(*std::max_element(alphas.begin(), alphas.end()), 240u);
  EXPECT_LT(alphas.back(), 30u);
  EXPECT_FLOAT_EQ(BlinkAlpha(0.15f, 0.1f), 0.5f);
  EXPECT_FLOAT_EQ(BlinkAlpha(0.05f, 0.1f), 0.5f);
}

TEST_F(Gauges, HealingFlashesWhenNoFlashRunsAndClearsTheFlagThen) {
  Settle();
  view.healed = true;
  Frame();
  EXPECT_FALSE(view.healed);
  auto flash = Drawn(s, HEALTH_FLASH);
  ASSERT_EQ(flash.size(), 1u);
  EXPECT_EQ(BoxOf(*flash[0]), (Box{21, 577, 0, 0}));
  // Healed again while the flash runs: the flag waits for the flash to end.
  view.healed = true;
  const int takes = view.takes;
  for (int i = 0; i < 23; ++i) Frame();
  EXPECT_TRUE(view.healed);
  EXPECT_EQ(view.takes, takes);
  Frame();
  EXPECT_FALSE(view.healed);
  flash = Drawn(s, HEALTH_FLASH);
  ASSERT_EQ(flash.size(), 1u);
  EXPECT_EQ(flash[0]->Width(), 0.0f);  // started again
}

TEST_F(Gauges, AFullChargeFlashesOnceAndBlinksEveryHalfSecondUntilItDrops) {
  view.values.abilityCharge = 7;
  Settle();
  EXPECT_EQ(Text(L"7%")[0], 467);
  EXPECT_TRUE(Drawn(s, ABILITY_BLINK_BAR).empty());
  EXPECT_FLOAT_EQ(Drawn(s, ABILITY_BAR)[0]->Width(), 571.0f * 0.07f);

  view.values.abilityCharge = 100;
  view.values.abilityFraction = 0.0f;
  Frame();
  EXPECT_EQ(Text(L"100%")[0], 457);
  EXPECT_FLOAT_EQ(Drawn(s, ABILITY_BAR)[0]->Width(), 571.0f);  // full at fraction 0
  ASSERT_EQ(Drawn(s, ABILITY_FLASH).size(), 1u);
  EXPECT_FLOAT_EQ(Drawn(s, ABILITY_FLASH)[0]->left, 779.0f);
  // The blink bar every frame, its opacity rising and falling every 0.5 s.
  int darkest = 0;
  for (int i = 1; i < 90; ++i) {
    Frame();
    ASSERT_EQ(Drawn(s, ABILITY_BLINK_BAR).size(), 1u) << i;
    if ((Drawn(s, ABILITY_BLINK_BAR)[0]->color >> 24) < 10) ++darkest;
  }
  EXPECT_GE(darkest, 2);
  EXPECT_LE(darkest, 6);
  // The flash ran once.
  EXPECT_TRUE(Drawn(s, ABILITY_FLASH).empty());
  view.values.abilityCharge = 0;
  Frame();
  EXPECT_TRUE(Drawn(s, ABILITY_BLINK_BAR).empty());
  EXPECT_NE(Text(L"0%")[0], -1);
  // The fraction fills the bar between whole points.
  view.values.abilityCharge = 42;
  view.values.abilityFraction = 0.5f;
  Frame();
  EXPECT_NEAR(Drawn(s, ABILITY_BAR)[0]->Width(), 571.0f * 0.425f, 0.01f);
  EXPECT_EQ(Text(L"42%")[0], 462);
}

TEST_F(Gauges, TheWeaponLevelFlashesOnEveryRiseAndNeverOnAFall) {
  view.values.weaponLevel = 1;
  Settle();
  EXPECT_TRUE(Drawn(s, WEAPON_LEVEL2_ICON).empty());
  EXPECT_TRUE(Drawn(s, WEAPON_LEVEL3_ICON).empty());
  // The level-2 and level-3 flashes drawn this frame.
  using Two = std::pair<size_t, size_t>;
  auto flashes = [&] { return Two{Drawn(s, WEAPON_LEVEL2_FLASH).size(), Drawn(s, WEAPON_LEVEL3_FLASH).size()}; };

  view.values.weaponLevel = 2;
  Frame();
  EXPECT_EQ(flashes(), Two(1, 0));
  EXPECT_EQ(Drawn(s, WEAPON_LEVEL2_ICON).size(), 1u);
  Settle();
  view.values.weaponLevel = 3;
  Frame();
  EXPECT_EQ(flashes(), Two(0, 1));
  EXPECT_EQ(Drawn(s, WEAPON_LEVEL2_ICON).size() + Drawn(s, WEAPON_LEVEL3_ICON).size(), 2u);
  Settle();
  view.values.weaponLevel = 1;  // a reset
  Frame();
  EXPECT_EQ(flashes(), Two(0, 0));
  view.values.weaponLevel = 2;
  Frame();
  ASSERT_EQ(flashes(), Two(1, 0));
  EXPECT_EQ(BoxOf(*Drawn(s, WEAPON_LEVEL2_FLASH)[0]), (Box{759, 400, 0, 0}));  // grows about (7, 8) of itself
  // Only a fall to 1 is quiet: 3 to 2 is a change to level 2 and flashes its icon.
  Settle();
  view.values.weaponLevel = 3;
  Frame();
  Settle();
  view.values.weaponLevel = 2;
  Frame();
  EXPECT_EQ(flashes(), Two(1, 0));
}

TEST_F(Gauges, ChargesShrinkTheirBarsDownwardsAndAreWrittenRightAligned) {
  view.values.blueCharge = 0;
  view.values.redCharge = 25;
  Frame();
  // The three frames by their own numbers: atlas x, y, width, height; screen x, y.
  const int frames[3][6] = {{71, 139, 180, 35, 4, 560}, {71, 257, 631, 35, 166, 559}, {0, 35, 71, 177, 725, 377}};
  for (const auto& f : frames) {
    const auto d = s.Last().FindSprites(fetest::GuiAtlas(), f[0], f[1]);
    ASSERT_EQ(d.size(), 1u) << f[0] << ", " << f[1];
    EXPECT_EQ((std::array<float, 4>{float(d[0]->SourceWidth()), float(d[0]->SourceHeight()), d[0]->left, d[0]->top}),
              (std::array<float, 4>{float(f[2]), float(f[3]), float(f[4]), float(f[5])}));
  }
  const auto blue = Drawn(s, WEAPON_BLUE_BAR);
  ASSERT_EQ(blue.size(), 1u);
  EXPECT_EQ(blue[0]->Height(), 0.0f);
  EXPECT_FLOAT_EQ(blue[0]->bottom, 519.0f);
  const auto red = Drawn(s, WEAPON_RED_BAR);
  ASSERT_EQ(red.size(), 1u);
  EXPECT_FLOAT_EQ(red[0]->Height(), 94.0f * 0.25f);
  EXPECT_FLOAT_EQ(red[0]->bottom, 519.0f);
  EXPECT_FLOAT_EQ(red[0]->left, 770.0f);
  EXPECT_EQ(Text(L"0"), (At{738, 468}));
  EXPECT_EQ(Text(L"25")[0], 771);
  view.values.health = 50;
  view.values.blueCharge = 100;
  view.values.redCharge = 100;
  Frame();
  EXPECT_EQ(s.Last().FindText(L"100").size(), 2u);
  EXPECT_EQ(s.Last().FindText(L"100")[0]->x, 730);
  EXPECT_EQ(s.Last().FindText(L"100")[1]->x, 766);
}

TEST_F(Gauges, EmptyAndHugeValuesDrawWithoutHarm) {
  view.values = HUD_PLAYER_VALUES();  // no maximum health, no maximum charge
  Frame();
  EXPECT_EQ(Drawn(s, HEALTH_BAR)[0]->Width(), 0.0f);
  EXPECT_EQ(Drawn(s, WEAPON_RED_BAR)[0]->Height(), 0.0f);
  view.values.health = view.values.maxHealth = 4294967295u;
  view.values.redCharge = 4294967295u;
  view.values.maxCharge = 1;
  view.values.abilityCharge = 4294967295u;
  view.values.weaponLevel = 4294967295u;
  Frame();
  ASSERT_EQ(s.Last().FindText(L"4294967295").size(), 2u);
  EXPECT_NE(Text(L"4294967295%")[0], -1);
  Settle();
  // Each widget gives its font back at release.
  auto refs = [] {
    Nembra::CBitmapFont* f = Nembra::g_pBitmapFontFactory->Find(FONT_GUI_SMALL_NUMBERS);
    return f ? f->GetRefCount() : 0u;
  };
  const uint32_t held = refs();
  health.Release();
  ability.Release();
  EXPECT_EQ(refs(), held - 2);
  weapon.Release();
  EXPECT_EQ(refs(), held - 3);
  health.Init();
  ability.Init();
  weapon.Init();
}

}  // namespace
