// Pictures of the HUD drawn by the OpenGL device in a real window (Mesa
// under Xvfb in CI), kept under the build's test-images/ folder and probed
// by pixel. Each skips without a display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "engine/app/Application.h"
#include "engine/resources/Texture.h"
#include "engine/util/Utilities.h"
#include "frontend/screens/BuyNowButton.h"
#include "frontend/hud/GUIBanner.h"
#include "frontend/hud/widgets/GUICounters.h"
#include "frontend/hud/widgets/GUIDigitalTimer.h"
#include "frontend/hud/widgets/GUIGauges.h"
#include "frontend/hud/widgets/GUIKeyItems.h"
#include "engine/util/TextTable.h"
#include "frontend/hud/widgets/GUIMessageBox.h"
#include "frontend/hud/GUIMissionComplete.h"
#include "frontend/hud/GUIPauseTitle.h"
#include "frontend/hud/widgets/GUIWeaponPanel.h"
#include "frontend/LevelTimerSupport.h"
#include "frontend/menu/MainMenuLayout.h"
#include "game/world/GameGlobals.h"
#include "scenario/ScreenScenario.h"
#include "scenario/WorldScenario.h"
#include "tools/datagen/HudPictures.h"

using scenario::ScreenScenario;

namespace {

int Channel(uint32_t c, int shift) { return int((c >> shift) & 0xFF); }
int Red(uint32_t c) { return Channel(c, 16); }
int Green(uint32_t c) { return Channel(c, 8); }
int Blue(uint32_t c) { return Channel(c, 0); }
// Pixels in a box that pass a test.
template <class Test>
int Count(const ScreenScenario& s, int x0, int y0, int x1, int y1, Test test) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (test(s.PixelAt(x, y))) ++n;
  return n;
}
bool IsWhite(uint32_t c) { return Red(c) > 200 && Green(c) > 200 && Blue(c) > 200; }
bool IsGold(uint32_t c) { return Red(c) > 200 && Green(c) > 150 && Green(c) < 235 && Blue(c) < 60; }

// The menu's background picture over the whole screen.
class Backdrop {
 public:
  Backdrop() {
    m_Sprite.SetTexture(Nembra::g_pTextureFactory->GetSingleLevel(m_Name));
    m_Sprite.SetSourceRect(Nembra::MakeRect(0, 0, 800, 600));
  }
  ~Backdrop() { Nembra::g_pTextureFactory->Release(m_Name); }
  void Draw() { m_Sprite.Draw(); }

 private:
  std::string m_Name = MENU_BACKGROUND;
  Nembra::CStatic2DSprite m_Sprite;
};

ScreenScenario::Options Gl() {
  ScreenScenario::Options o;
  o.gl = true;
  return o;
}

TEST(HudPictures, EveryPlayingWidgetWithSetValuesOnTheWorld) {
  scenario::WorldScenario::Options options;
  options.gl = true;
  options.frameTime = 1.0f / 60.0f;
  scenario::WorldScenario w(options);
  if (!w.Ready()) GTEST_SKIP() << w.Problem();
  ScreenScenario& s = w.Screen();
  CPlayer& player = w.Player();
  ASSERT_EQ(player.GetMaxHealth(), 300u);
  player.Damage(170.0f, false);  // 130 of 300
  ASSERT_EQ(player.GetHealth(), 130u);
  player.GetAbility().AddCharge(99);
  CWeapon& gun = player.GetWeapon();
  gun.SetCharge(CWeapon::BLUE, gun.GetMaxCharge() * 70 / 100);
  gun.SetCharge(CWeapon::RED, gun.GetMaxCharge() * 25 / 100);
  gun.SetPower(3);
  Backdrop backdrop;
  CGUIHealthGauge health;
  CGUIAbilityGauge ability;
  CGUIWeaponPanel weapon;
  CGUIKeyItems keys;
  CGUICounters counters;
  CGUIDigitalTimer display;
  health.Init();
  ability.Init();
  weapon.Init();
  keys.Init();
  counters.Init();
  CLevelTimer rowTimer, finalTimer;
  hudtest::RunTimerTo(rowTimer, 38.5f);   // 61.5 s left
  hudtest::RunTimerTo(finalTimer, 24.5f);  // 75.5 s left
  auto frame = [&] {
    ScreenScenario::TwoPass(
        [&] {
          backdrop.Draw();
          weapon.Update();
          health.Update();
          ability.Update();
          keys.Update();
          counters.Update();
        },
        [&] {
          health.Draw();
          ability.Draw();
          weapon.Draw();
          counters.Draw();
          display.Draw();
        });
  };
  for (int i = 0; i < 40; ++i) s.Frame(frame);  // every blink and flash of the start over
  // The memory card goes off between the others: the connectors take its free slot.
  keys.SetMemoryCard(true);
  keys.SetAccessCard(true);
  keys.SetCheckpoint(true);
  keys.SetMemoryCard(false);
  keys.SetConnectors(true);
  counters.ShowGenerators(3);
  counters.ShowItems(3);
  counters.ShowTimer(&rowTimer, 100.0f);
  for (int i = 0; i < 3; ++i) counters.AddGenerator();
  counters.AddItem();
  counters.AddItem();
  display.Show(&finalTimer, 100.0f);
  for (int i = 0; i < 30; ++i) s.Frame(frame);  // the key and counter flashes over
  player.Damage(10.0f, false);  // 120 of 300: a blink starts
  player.GetAbility().AddCharge(1);  // full: a flash starts
  for (int i = 0; i < 5; ++i) s.Frame(frame);
  ASSERT_TRUE(s.CaptureFrame("hud_playing", frame));

  // Health: 120 of 300 fills 40 % of the bar, under the blink; the rest is the dark trough.
  EXPECT_GT(Green(s.PixelAt(50, 577)), 150);
  EXPECT_LT(Green(s.PixelAt(120, 577)), 80);
  EXPECT_GT(Count(s, 80, 565, 110, 585, IsWhite), 15);  // "120"
  // Ability: full, with the flash growing over its icon at the right end.
  // The bar amber and dark enough that the white "100%" on it reads.
  EXPECT_GT(Red(s.PixelAt(700, 577)), 120);
  EXPECT_LT(Green(s.PixelAt(700, 577)), 150);
  EXPECT_LT(Blue(s.PixelAt(700, 577)), 60);
  EXPECT_GT(Count(s, 455, 565, 500, 585, IsWhite), 15);  // "100%"
  EXPECT_GT(Count(s, 760, 556, 800, 596, [](uint32_t c) { return Red(c) > 200 && Green(c) > 180; }), 100);
  // Weapon: blue 70 %, red 25 % from the bottom at y 519; both level icons.
  EXPECT_GT(Blue(s.PixelAt(742, 470)), 180);
  EXPECT_LT(Blue(s.PixelAt(742, 440)), 120);
  EXPECT_GT(Red(s.PixelAt(778, 510)), 180);
  EXPECT_LT(Red(s.PixelAt(778, 480)), 120);
  auto orange = [](uint32_t c) { return Red(c) > 200 && Green(c) > 120 && Green(c) < 200 && Blue(c) < 100; };
  auto reddish = [](uint32_t c) { return Red(c) > 200 && Green(c) < 110 && Blue(c) < 80; };
  EXPECT_GT(Count(s, 752, 392, 766, 409, orange), 40);   // level-2 icon
  EXPECT_GT(Count(s, 774, 381, 793, 409, reddish), 80);  // level-3 icon
  // Key items: the connectors at 766, the access card at 738, the checkpoint at 710, no memory card.
  auto purple = [](uint32_t c) { return Blue(c) > 220 && Red(c) > 130 && Red(c) < 200 && Green(c) < 140; };
  auto blue = [](uint32_t c) { return Blue(c) > 220 && Red(c) < 110; };
  auto green = [](uint32_t c) { return Green(c) > 200 && Red(c) < 110 && Blue(c) < 170; };
  EXPECT_GT(Count(s, 766, 10, 791, 36, purple), 150);
  EXPECT_GT(Count(s, 738, 10, 763, 36, blue), 150);
  EXPECT_GT(Count(s, 710, 10, 735, 36, green), 150);
  EXPECT_EQ(Count(s, 676, 10, 800, 36, [](uint32_t c) { return Red(c) > 220 && Blue(c) < 110; }), 0);
  // Counters: generators 3 / 3 in gold on the first row, items and timer in white below.
  EXPECT_GT(Count(s, 41, 7, 140, 35, IsGold), 20);
  EXPECT_GT(Count(s, 41, 47, 140, 75, IsWhite), 20);
  EXPECT_GT(Count(s, 41, 87, 140, 115, IsWhite), 20);
  // The count-down at the top centre.
  EXPECT_GT(Count(s, 320, 10, 480, 40, IsWhite), 60);

  health.Release();
  ability.Release();
  weapon.Release();
  keys.Release();
  counters.Release();
  display.Release();
}

TEST(HudPictures, BannersMidFlash) {
  ScreenScenario s(Gl());
  if (!s.Ready()) GTEST_SKIP() << s.Problem();
  Backdrop backdrop;
  CGUIBanner objective, weapon;
  objective.LoadObjectiveCompleteTexts(L"SPA");
  weapon.LoadWeaponUpTexts(L"RUS");
  objective.Show();
  auto frameObjective = [&] { ScreenScenario::TwoPass([&] { backdrop.Draw(); objective.Update(); }, nullptr); };
  s.Run(8, frameObjective);
  ASSERT_TRUE(s.CaptureFrame("hud_banner_objective_spa", frameObjective));
  // The green words across the middle; the flash spreading far beyond them.
  EXPECT_GT(Count(s, 170, 288, 630, 312, [](uint32_t c) { return Green(c) > 200 && Red(c) < 180; }), 300);

  weapon.Show();
  auto frameWeapon = [&] { ScreenScenario::TwoPass([&] { backdrop.Draw(); weapon.Update(); }, nullptr); };
  s.Run(50, frameWeapon);  // past the flash: the notice alone
  ASSERT_TRUE(s.CaptureFrame("hud_banner_weapon_up_rus", frameWeapon));
  EXPECT_GT(Count(s, 300, 288, 500, 312, [](uint32_t c) { return Blue(c) > 200 && Red(c) < 170; }), 200);
  EXPECT_EQ(Count(s, 0, 288, 290, 312, [](uint32_t c) { return Blue(c) > 200 && Red(c) < 120; }), 0);
  objective.Release();
  weapon.Release();
}

// The message box with a portrait of the demo data and a text long enough to
// wrap (given, or the demo's text of that id in that language).
void MessagePicture(const char* name, std::wstring text, const wchar_t* language = nullptr,
                    const char* id = nullptr, int lines = 3) {
  ScreenScenario s(Gl());
  if (!s.Ready()) GTEST_SKIP() << s.Problem();
  if (id) {
    Nembra::CTextTable::Load(language);
    text = Nembra::GetText(id);
  }
  Backdrop backdrop;
  CGUIMessageBox box;
  box.Init();
  const gui_layout::REGION& face = datagen::PORTRAIT_ENGINEER;
  box.SetBackground(datagen::PORTRAITS_IMAGE, Nembra::MakeRect(face.x, face.y, face.width, face.height));
  box.SetText(text);
  box.Show(true, 7.0f);
  auto frame = [&] { ScreenScenario::TwoPass([&] { backdrop.Draw(); box.Update(); }, [&] { box.Draw(); }); };
  s.Run(30, frame);  // past the glow
  ASSERT_TRUE(s.CaptureFrame(name, frame));
  // The portrait's face in the window at (17, 454), the text on several lines right of it.
  EXPECT_GT(Red(s.PixelAt(61, 488)), 180);
  EXPECT_GT(Count(s, 115, 450, 700, 465, IsWhite), 60);
  EXPECT_GT(Count(s, 115, 465, 700, 480, IsWhite), 60);
  if (lines > 2) EXPECT_GT(Count(s, 115, 480, 700, 495, IsWhite), 30);
  EXPECT_EQ(Count(s, 700, 450, 800, 540, IsWhite), 0);  // wrapped before the frame's edge
  box.Release();
  if (id) Nembra::CTextTable::Load(L"ENG");
}

TEST(HudPictures, MessageBoxEnglish) {
  MessagePicture("hud_message_eng",
                 L"Engineer here. The generators in the east wing are offline. Charge all three of them with "
                 L"your weapon and the door to the reactor will open. Watch out for the red drones: only blue "
                 L"shots hurt them, and they come in packs.");
}

TEST(HudPictures, MessageBoxTheCommanderOnTheWestBeamInSpanish) {
  MessagePicture("hud_message_level4_spa", L"", L"SPA", "TXT_MSG_LEVEL4_START", 2);
}

TEST(HudPictures, MessageBoxRussian) {
  MessagePicture("hud_message_rus",
                 L"\u0413\u043e\u0432\u043e\u0440\u0438\u0442 \u0438\u043d\u0436\u0435\u043d\u0435\u0440. "
                 L"\u0413\u0435\u043d\u0435\u0440\u0430\u0442\u043e\u0440\u044b \u0432 \u0432\u043e\u0441\u0442\u043e\u0447\u043d\u043e\u043c "
                 L"\u043a\u0440\u044b\u043b\u0435 \u043e\u0442\u043a\u043b\u044e\u0447\u0435\u043d\u044b. "
                 L"\u0417\u0430\u0440\u044f\u0434\u0438\u0442\u0435 \u0432\u0441\u0435 \u0442\u0440\u0438 "
                 L"\u0441\u0432\u043e\u0438\u043c \u043e\u0440\u0443\u0436\u0438\u0435\u043c, \u0438 "
                 L"\u0434\u0432\u0435\u0440\u044c \u043a \u0440\u0435\u0430\u043a\u0442\u043e\u0440\u0443 "
                 L"\u043e\u0442\u043a\u0440\u043e\u0435\u0442\u0441\u044f. \u041e\u0441\u0442\u0435\u0440\u0435\u0433\u0430\u0439\u0442\u0435\u0441\u044c "
                 L"\u043a\u0440\u0430\u0441\u043d\u044b\u0445 \u0434\u0440\u043e\u043d\u043e\u0432: "
                 L"\u0438\u0445 \u0431\u0435\u0440\u0443\u0442 \u0442\u043e\u043b\u044c\u043a\u043e "
                 L"\u0441\u0438\u043d\u0438\u0435 \u0432\u044b\u0441\u0442\u0440\u0435\u043b\u044b.");
}

TEST(HudPictures, DeathTitle) {
  ScreenScenario s(Gl());
  if (!s.Ready()) GTEST_SKIP() << s.Problem();
  Backdrop backdrop;
  CGUIPauseTitle title;
  title.LoadTexts(L"ENG");
  title.Restart();
  auto frame = [&] { ScreenScenario::TwoPass([&] { backdrop.Draw(); title.Draw(); }, nullptr); };
  s.Run(6, frame);
  ASSERT_TRUE(s.CaptureFrame("hud_death_title", frame));
  // Red words in the middle over the half-darkened background.
  EXPECT_GT(Count(s, 230, 288, 570, 312, [](uint32_t c) { return Red(c) > 200 && Green(c) < 150; }), 300);
  s.Run(40, frame);
  s.CaptureFrame("hud_death_title_after_flash", frame);
  EXPECT_EQ(Count(s, 0, 0, 800, 250, [](uint32_t c) { return Red(c) > 200 && Green(c) < 120 && Blue(c) < 120; }), 0);
  title.Release();
}

void MissionPicture(const char* name, const wchar_t* language) {
  ScreenScenario s(Gl());
  if (!s.Ready()) GTEST_SKIP() << s.Problem();
  Backdrop backdrop;
  std::unique_ptr<CBuyNowButton> button = CreateBuyNowButton();
  g_pBuyNowButton = button.get();
  CGUIMissionComplete notice;
  notice.LoadTexts(language);
  notice.Show();
  s.Next().MoveTo(560, 420);
  auto frame = [&] { ScreenScenario::TwoPass([&] { backdrop.Draw(); notice.Update(); }, nullptr); };
  s.Run(30, frame);
  ASSERT_TRUE(notice.done);
  ASSERT_TRUE(s.CaptureFrame(name, frame));
  // Black all round, the yellow title in the middle, the button below it, the pointer at the mouse.
  EXPECT_EQ(Red(s.PixelAt(20, 20)) + Green(s.PixelAt(20, 20)) + Blue(s.PixelAt(20, 20)), 0);
  EXPECT_GT(Count(s, 170, 288, 630, 312, [](uint32_t c) { return Red(c) > 200 && Green(c) > 170 && Blue(c) < 120; }),
            300);
  EXPECT_GT(Count(s, 302, 480, 498, 551, [](uint32_t c) { return Red(c) + Green(c) + Blue(c) > 120; }), 2000);
  EXPECT_GT(Count(s, 556, 416, 590, 450, IsWhite), 20);
  g_pBuyNowButton = nullptr;
  notice.Release();
  ReleaseBuyNowButton(button);
  g_pCurrentMusic = nullptr;
}

TEST(HudPictures, MissionCompleteEnglish) { MissionPicture("hud_mission_complete_eng", L"ENG"); }
TEST(HudPictures, MissionCompleteSpanish) { MissionPicture("hud_mission_complete_spa", L"SPA"); }
TEST(HudPictures, MissionCompleteRussian) { MissionPicture("hud_mission_complete_rus", L"RUS"); }

}  // namespace
