// The first boss in its arena in the middle of its ability, the ring of
// twelve shots flying out around it, and both boss halls from their start
// cameras, drawn on the real GL device (needs a display; skips without one).
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "game/enemies/bosses/Boss0.h"
#include "FirstArenaScene.h"
#include "scenario/ScreenProbe.h"
#include "scenario/WorldScenario.h"

namespace {

using scenario::B;
using scenario::BestNear;
using scenario::G;
using scenario::Project;
using scenario::R;

// How much a pixel leans to the ring's gold (red and green over blue).
int Gold(uint32_t c) { return std::min(R(c), G(c)) - B(c); }


TEST(BossImage, TheFirstBossMidAbilityWithItsRingOfTwelveShots) {
  scenario::WorldScenario::Options options;
  options.gl = true;
  scenario::WorldScenario w(options);
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
  ASSERT_EQ(w.Level().GetBoss0AbilityBullets().size(), 12u);
  EXPECT_EQ(boss->GetAnimationName(), CBoss0::ABILITY);
  ASSERT_TRUE(w.Capture("first_boss_ability_ring"));

  // Each shot's trail shows gold at its height; far from the ring the floor
  // does not.
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

// Both boss halls from the start camera, lit by their own scripts: no face
// of a wall or pillar is black.
TEST(BossImage, BothHallsFromTheirStartCameras) {
  for (const char* hall : {"LevelIntermedio", "Level12"}) {
    scenario::WorldScenario::Options options;
    options.gl = true;
    options.loadPlayer = false;  // the hall's script loads it
    scenario::WorldScenario w(options);
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

}  // namespace
