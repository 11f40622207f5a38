// The bosses on the GL device: the first mid-ability with its ring of twelve
// shots, both halls from their start cameras, the second red and turned blue.
#include "engine/app/Engine.h"
#include "engine/scene/SceneManager.h"
#include "game/enemies/bosses/Boss0.h"
#include "game/enemies/bosses/Boss1.h"
#include "image/WorldPicture.h"
#include "image/PictureProbe.h"

namespace {

using namespace imagetest;
using scenario::BestNear;

// How much a pixel leans to the ring's gold (red and green over blue).
int Gold(uint32_t c) { return std::min(R(c), G(c)) - B(c); }

TEST(BossImage, TheFirstBossMidAbilityWithItsRingOfTwelveShots) {
  scenario::WorldScenario w(imagetest::OnGl());
  if (!w.Ready()) GTEST_SKIP() << w.Problem();
  ASSERT_TRUE(imagetest::LightTheFirstArena(w));
  // The player beyond shooting range; the camera stays on the boss.
  w.PlacePlayer({0, -1500, 0});
  w.Stand();
  CBoss0* boss = new CBoss0(1);
  boss->SetPosition(D3DXVECTOR3(0, 0, 0));
  boss->SetDirection(D3DXVECTOR3(0, -1, 0));
  w.Level().GetEnemies().push_back(boss);
  boss->AddToScene(nullptr);
  boss->UpdateWorldMatrix();
  boss->SetSpeed(0.0f);

  ASSERT_TRUE(w.RunUntil([&] { return boss->GetAnimationName() == CBoss0::ABILITY; }, 1500));
  ASSERT_TRUE(w.RunUntil([&] { return w.Level().GetBoss0AbilityBullets().size() == 12u; }, 300));
  w.Run(14);
  ASSERT_TRUE(w.Capture("first_boss_ability_ring"));

  // Each shot's trail shows gold at its height; the floor far from the ring does not.
  int shown = 0;
  for (CBoss0AbilityBullet& shot : w.Level().GetBoss0AbilityBullets()) {
    const D3DXVECTOR3 at = Project(w.Camera(), shot.GetPosition() + D3DXVECTOR3(0, 0, 180) - 30.0f * shot.GetDirection());
    ASSERT_GT(at.x, 0.0f);
    ASSERT_LT(at.x, 800.0f);
    if (BestNear(w.Screen(), at, 10, Gold) > 60) ++shown;
  }
  EXPECT_GE(shown, 10) << "the boss may hide one or two";
  const D3DXVECTOR3 floor = Project(w.Camera(), D3DXVECTOR3(900, -600, 0));
  EXPECT_LT(BestNear(w.Screen(), floor, 3, Gold), 40);
}

// Both boss halls from their start cameras, lit by their own scripts: no wall or pillar face is black.
TEST(BossImage, BothHallsFromTheirStartCameras) {
  for (const char* hall : {"LevelIntermedio", "Level12"}) {
    scenario::WorldScenario w(imagetest::OnGl(false));  // the hall's script loads it
    if (!w.Ready()) GTEST_SKIP() << w.Problem();
    ASSERT_TRUE(w.Level().Prepare(std::string(hall) + ".lua"));
    ASSERT_TRUE(w.Level().Start());
    w.Run(5);
    ASSERT_TRUE(w.Capture(std::string(hall) + "_start"));
    EXPECT_TRUE(scenario::EveryTerrainFaceLit(w.Screen().Pixels(), w.Camera(),
                                              w.Screen().DataFolder() + hall + "_Terrain.X", 0, 600))
        << hall;
  }
}

TEST(SecondBossImage, RedAndTurnedBlueInItsHall) {
  scenario::WorldScenario w(imagetest::OnGl(false));  // the hall's script loads it
  if (!w.Ready()) GTEST_SKIP() << w.Problem();
  Nembra::g_pGraphicsDevice->SetClearColor(0.1f, 0.1f, 0.12f, 1.0f);
  CLevel& level = w.Level();
  ASSERT_TRUE(level.Prepare("Level12.lua"));
  ASSERT_TRUE(level.Start());
  ASSERT_EQ(level.GetEnemies().size(), 1u);
  CBoss1& red = dynamic_cast<CBoss1&>(*level.GetEnemies().front());
  // A second boss beside the first, turned blue by a colour-blind hit.
  CBoss1* blue = new CBoss1();
  blue->SetPosition(-851.0f, 6680.0f, 0.0f);
  level.GetEnemies().push_back(blue);
  blue->AddToScene(nullptr);
  blue->UpdateWorldMatrix();
  blue->Damage(400);
  red.Damage(0);  // a turn and a turn back: red again, full bar
  red.Damage(0);
  // Both face the door; the player stays where the level put it, inactive.
  red.SetRotationZ(-1.5707963f);
  blue->SetRotationZ(-1.5707963f);
  w.Stand();
  w.Player().Deactivate();
  w.Camera().SetPosition(-451.0f, 4700.0f, 900.0f);
  w.Camera().GetTarget().SetPosition(-451.0f, 6680.0f, 380.0f);
  w.Camera().SetNearFar(10.0f, 20000.0f);
  w.Run(3);

  std::vector<D3DXVECTOR3> bars;
  const bool captured = w.Screen().CaptureFrame("second_boss_red_and_blue", [&] {
    w.Level().Update();
    Nembra::g_pSceneManager->Update();
    Nembra::g_pSceneManager->Render();
    if (Nembra::g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
      for (CEnemy* e : {static_cast<CEnemy*>(&red), static_cast<CEnemy*>(blue)}) {
        e->DrawHealthBar();
        bars.push_back(e->GetHealthFrame().GetPosition());
      }
      Nembra::g_pGraphicsDevice->EndSprite();
    }
  });
  ASSERT_TRUE(captured);
  ASSERT_EQ(bars.size(), 2u);
  const D3DXVECTOR3 redBar = bars[0], blueBar = bars[1];
  ASSERT_GT(redBar.x, blueBar.x) << "the red one stands on the right";
  for (const D3DXVECTOR3& at : bars) {
    ASSERT_GT(at.x, 60.0f);
    ASSERT_LT(at.x, 740.0f);
    ASSERT_GT(at.y, 60.0f);
    ASSERT_LT(at.y, 540.0f);
  }
  // The bars' fill: red across the red boss's, blue on the left part of the
  // blue boss's (400 of 1550 gone).
  const std::vector<uint32_t>& pixels = w.Screen().Pixels();
  EXPECT_GT(Lead(w.Screen().PixelAt(int(redBar.x), int(redBar.y)), 16), 60);
  EXPECT_GT(Lead(w.Screen().PixelAt(int(blueBar.x) - 8, int(blueBar.y)), 0), 60);
  // The bodies around and below the bars: each boss in its own colour.
  const auto body = [&](const D3DXVECTOR3& at, bool wantRed) {
    return CountIn(pixels, int(at.x) - 90, int(at.y) + 10, int(at.x) + 90, int(at.y) + 150,
                   [&](uint32_t c) { return Lead(c, wantRed ? 16 : 0) > 40; });
  };
  EXPECT_GT(body(redBar, true), 800);
  EXPECT_LT(body(redBar, false), body(redBar, true) / 10);
  EXPECT_GT(body(blueBar, false), 800);
  EXPECT_LT(body(blueBar, true), body(blueBar, false) / 10);
  // The faces' pale eyes lie below the bars, none under a bar.
  const auto eyes = [&](int x0, int y0, int x1, int y1) {
    return CountIn(pixels, x0, y0, x1, y1, [](uint32_t c) { return R(c) > 200 && G(c) > 200 && B(c) < 170; });
  };
  for (const D3DXVECTOR3& at : bars) {
    EXPECT_EQ(eyes(int(at.x) - 40, int(at.y) - 16, int(at.x) + 40, int(at.y) + 16), 0);
    EXPECT_GT(eyes(int(at.x) - 60, int(at.y) + 16, int(at.x) + 60, int(at.y) + 140), 20);
  }
}

}  // namespace
