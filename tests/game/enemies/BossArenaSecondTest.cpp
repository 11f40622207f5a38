// The second boss's hall from the demo data: prepared and started as the
// game does, it holds one boss however often it restarts; the boss's death
// completes the hall's objective; other levels hold no boss.
#include <gtest/gtest.h>

#include "game/enemies/bosses/Boss1.h"
#include "game/world/GameGlobals.h"
#include "scenario/WorldScenario.h"

namespace {

using scenario::WorldScenario;

int BossCount(CLevel& level) {
  int n = 0;
  for (CEnemy* enemy : level.GetEnemies()) n += dynamic_cast<CBoss1*>(enemy) ? 1 : 0;
  return n;
}

WorldScenario::Options WithoutPlayer() {
  WorldScenario::Options options;
  options.loadPlayer = false;  // the level script loads it
  return options;
}

bool WallBetween(CLevel& level, const D3DXVECTOR3& from, const D3DXVECTOR3& to, int collisionClass,
                 D3DXVECTOR3* at = nullptr) {
  float point[3], normal[3], distance = 0.0f;
  if (!level.CheckCollision(&from.x, &to.x, 10.0f, point, distance, normal, collisionClass, false)) return false;
  if (at) *at = D3DXVECTOR3(point[0], point[1], point[2]);
  return true;
}

TEST(SecondBossArena, StartsWithOneBossAndKeepsOneOverRestarts) {
  WorldScenario w(WithoutPlayer());
  ASSERT_TRUE(w.Ready()) << w.Problem();
  CLevel& level = w.Level();
  ASSERT_TRUE(level.Prepare("Level12.lua"));
  EXPECT_EQ(level.GetInitScript(), "Level12_Init.lua");
  EXPECT_EQ(level.GetTerrainMeshName(), "Level12_Terrain.X");
  EXPECT_TRUE(level.GetEnemies().empty()) << "preparing makes no boss";
  ASSERT_TRUE(level.Start());
  ASSERT_EQ(level.GetEnemies().size(), 1u);
  ASSERT_EQ(BossCount(level), 1);
  EXPECT_EQ(level.GetEnemies().front()->GetPosition(), D3DXVECTOR3(-51.0f, 6680.0f, 0.0f));
  EXPECT_EQ(w.Player().GetPosition().x, -51.0f);
  EXPECT_EQ(w.Player().GetPosition().y, 3500.0f);
  EXPECT_FALSE(level.GetObjectiveComplete("Guardian"));

  // The hall's walls: the corridor leads straight from the door to the
  // boss; beyond it, a wall on every side, shots' and walkers' alike.
  const D3DXVECTOR3 boss(-51.0f, 6680.0f, 0.0f);
  EXPECT_FALSE(WallBetween(level, {-51, 3500, 0}, boss, 0));
  EXPECT_FALSE(WallBetween(level, {-51, 3500, 0}, boss, 1));
  D3DXVECTOR3 at;
  for (const D3DXVECTOR3& away : {D3DXVECTOR3(-51, 9000, 0), D3DXVECTOR3(-3000, 6680, 0), D3DXVECTOR3(3000, 6680, 0)}) {
    EXPECT_TRUE(WallBetween(level, boss, away, 0, &at)) << away.x << ", " << away.y;
    EXPECT_TRUE(WallBetween(level, boss, away, 1)) << away.x << ", " << away.y;
  }
  ASSERT_TRUE(WallBetween(level, boss, {-51, 9000, 0}, 0, &at));
  EXPECT_NEAR(at.y, 8300.0f, 1.0f);  // the hall's far wall

  for (int attempt = 0; attempt < 3; ++attempt) {
    w.Run(20);
    level.Restart();
    ASSERT_EQ(level.GetEnemies().size(), 1u) << "attempt " << attempt;
    EXPECT_EQ(BossCount(level), 1);
    EXPECT_EQ(level.GetEnemies().front()->GetHealth(), 1550u);
    EXPECT_EQ(w.Player().GetPosition().y, 3500.0f);
  }
}

TEST(SecondBossArena, TheBossesDeathCompletesTheObjectiveUntilTheNextAttempt) {
  WorldScenario w(WithoutPlayer());
  ASSERT_TRUE(w.Ready()) << w.Problem();
  CLevel& level = w.Level();
  ASSERT_TRUE(level.Prepare("Level12.lua"));
  ASSERT_TRUE(level.Start());
  ASSERT_EQ(BossCount(level), 1);
  CEnemy* boss = level.GetEnemies().front();
  boss->Damage(1549);
  EXPECT_FALSE(level.GetObjectiveComplete("Guardian"));
  EXPECT_EQ(boss->GetColour(), 1u) << "it turned";
  boss->Damage(1);
  EXPECT_TRUE(boss->IsDying());
  EXPECT_TRUE(level.GetObjectiveComplete("Guardian"));
  ASSERT_TRUE(w.RunUntil([&] { return level.GetEnemies().empty(); }, 300));
  ASSERT_EQ(level.GetSouls().size(), 1u);
  level.Restart();
  EXPECT_FALSE(level.GetObjectiveComplete("Guardian"));
  ASSERT_EQ(BossCount(level), 1);
  EXPECT_FALSE(level.GetEnemies().front()->IsDying());
}

TEST(SecondBossArena, OtherLevelsStartWithoutABoss) {
  WorldScenario w(WithoutPlayer());
  ASSERT_TRUE(w.Ready()) << w.Problem();
  ASSERT_TRUE(w.Level().Prepare("LevelTutorial.lua"));
  ASSERT_TRUE(w.Level().Start());
  EXPECT_TRUE(w.Level().GetEnemies().empty());
  w.Level().Restart();
  EXPECT_TRUE(w.Level().GetEnemies().empty());
}

TEST(SecondBossArena, AnInitScriptNamedOtherwiseOnlyByCaseMakesNoBoss) {
  WorldScenario::Options options = WithoutPlayer();
  options.writableData = true;
  WorldScenario w(options);
  ASSERT_TRUE(w.Ready()) << w.Problem();
  ASSERT_TRUE(w.WriteScript("level12_init.lua", "SetPlayerPos(-51, 3500)\n"));
  w.Level().SetInitScript("level12_init.lua");
  ASSERT_TRUE(w.Level().Start());
  EXPECT_TRUE(w.Level().GetEnemies().empty());
  w.Level().Restart();
  EXPECT_TRUE(w.Level().GetEnemies().empty());
}

}  // namespace
