// The boss arenas as the generator writes them: prepared and started as the
// game does, their bosses come back whole at every restart, their deaths
// meet the objective, and 600 frames of fighting run with a restart halfway
// (the sanitizer build runs them too).
#include <string>
#include <vector>

#include "game/enemies/EnemyScenarioSupport.h"
#include "game/enemies/bosses/Boss0.h"
#include "game/enemies/bosses/Boss1.h"
#include "game/script/ScriptVariables.h"
#include "tools/datagen/BossArenaFirst.h"

namespace {

using scenario::WorldScenario;

template <class Boss>
std::vector<Boss*> Bosses(CLevel& level) {
  std::vector<Boss*> bosses;
  for (CEnemy* enemy : level.GetEnemies())
    if (Boss* boss = dynamic_cast<Boss*>(enemy)) bosses.push_back(boss);
  return bosses;
}

// The level script loads the player.
class Arena : public enemytest::Scene {
 protected:
  Arena() : Scene(enemytest::Writable(false)) {}
  bool Start(const char* script) { return w.Level().Prepare(script) && w.Level().Start(); }
  bool WallBetween(const D3DXVECTOR3& from, const D3DXVECTOR3& to, int collisionClass, D3DXVECTOR3* at = nullptr,
                   float radius = 10.0f) {
    float point[3], normal[3], distance = 0.0f;
    if (!w.Level().CheckCollision(&from.x, &to.x, radius, point, distance, normal, collisionClass, false)) return false;
    if (at) *at = D3DXVECTOR3(point[0], point[1], point[2]);
    return true;
  }
  // Two whole guardians, red then blue, at their places; nobody down; the
  // objective open; the player at the south wall.
  void ExpectFreshFirstAttempt() {
    const std::vector<CBoss0*> bosses = Bosses<CBoss0>(w.Level());
    ASSERT_EQ(bosses.size(), 2u);
    ASSERT_EQ(w.Level().GetEnemies().size(), 2u);
    EXPECT_EQ(bosses[0]->GetColour(), 0u);
    EXPECT_EQ(bosses[1]->GetColour(), 1u);
    EXPECT_EQ(bosses[0]->GetPosition(), D3DXVECTOR3(-200.0f, -200.0f, 0.0f));
    EXPECT_EQ(bosses[1]->GetPosition(), D3DXVECTOR3(200.0f, 200.0f, 0.0f));
    for (CBoss0* boss : bosses) {
      EXPECT_EQ(boss->GetHealth(), 100u);
      EXPECT_FALSE(boss->IsDying());
      EXPECT_NE(boss->GetSprite()->GetMesh(), nullptr);
    }
    EXPECT_EQ(VarTableGet("Intermedio_Down"), 0);
    EXPECT_FALSE(w.Level().GetObjectiveComplete("Guardians"));
    EXPECT_FLOAT_EQ(w.Player().GetPosition().x, 0.0f);
    EXPECT_FLOAT_EQ(w.Player().GetPosition().y, -1700.0f);
    EXPECT_TRUE(w.Player().IsActive());
  }
};
using FirstBossArena = Arena;
using SecondBossArena = Arena;

TEST_F(FirstBossArena, LoadsTheHallOnceAndBringsBothGuardiansAtEveryAttempt) {
  ASSERT_TRUE(w.Level().Prepare("LevelIntermedio.lua"));
  EXPECT_EQ(w.Level().GetInitScript(), datagen::FIRST_BOSS_ARENA_INIT);
  EXPECT_TRUE(w.Level().GetEnemies().empty());  // not before the start
  ASSERT_TRUE(w.Level().Start());
  ExpectFreshFirstAttempt();
  EXPECT_FALSE(w.Level().IsFinished());
  EXPECT_EQ(w.Level().GetTerrainMeshName(), "LevelIntermedio_Terrain.X");
  EXPECT_EQ(w.Level().GetTriggerManager().CircularCount(), 1u);
  // The hall's walls stand 2000 out (the characters' ones 60 nearer).
  D3DXVECTOR3 at;
  ASSERT_TRUE(WallBetween({0, 0, 0}, {3000, 0, 0}, 0, &at, 1.0f));
  EXPECT_NEAR(at.x, 2000.0f, 2.0f);
  ASSERT_TRUE(WallBetween({0, 0, 0}, {3000, 0, 0}, 1, &at, 1.0f));
  EXPECT_NEAR(at.x, 1940.0f, 2.0f);

  // The guardians come for the player and hurt it.
  w.Stand();
  w.Run(500);
  EXPECT_LT(w.Player().GetHealth(), CPlayer::MAX_HEALTH);
  EXPECT_FALSE(w.Level().GetBoss0Bullets().empty() && w.Level().GetEffects().empty());

  // Restarts after one guardian down, both down (the objective met), nothing done.
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::vector<CBoss0*> bosses = Bosses<CBoss0>(w.Level());
    ASSERT_EQ(bosses.size(), 2u);
    if (attempt < 2) bosses[0]->Damage(bosses[0]->GetHealth());
    if (attempt == 1) bosses[1]->Damage(bosses[1]->GetHealth());
    if (attempt < 2) {
      EXPECT_EQ(VarTableGet("Intermedio_Down"), attempt + 1);
      EXPECT_EQ(w.Level().GetObjectiveComplete("Guardians"), attempt == 1);
      EXPECT_EQ(w.Level().IsFinished(), attempt == 1);
    }
    w.Run(20);
    w.Level().Restart();
    ExpectFreshFirstAttempt();
    EXPECT_TRUE(w.Level().GetBoss0Bullets().empty());
    EXPECT_TRUE(w.Level().GetBoss0AbilityBullets().empty());
  }
}

TEST_F(SecondBossArena, StartsWithOneBossAndKeepsOneOverRestarts) {
  CLevel& level = w.Level();
  ASSERT_TRUE(level.Prepare("Level12.lua"));
  EXPECT_EQ(level.GetInitScript(), "Level12_Init.lua");
  EXPECT_EQ(level.GetTerrainMeshName(), "Level12_Terrain.X");
  EXPECT_TRUE(level.GetEnemies().empty()) << "preparing makes no boss";
  ASSERT_TRUE(level.Start());
  ASSERT_EQ(level.GetEnemies().size(), 1u);
  ASSERT_EQ(Bosses<CBoss1>(level).size(), 1u);
  const D3DXVECTOR3 boss(-51.0f, 6680.0f, 0.0f);
  EXPECT_EQ(level.GetEnemies().front()->GetPosition(), boss);
  EXPECT_EQ(w.Player().GetPosition().x, -51.0f);
  EXPECT_EQ(w.Player().GetPosition().y, 3500.0f);
  EXPECT_FALSE(level.GetObjectiveComplete("Guardian"));
  // The corridor leads straight from the door to the boss; beyond it, a
  // wall on every side, shots' and walkers' alike; the far wall at 8300.
  EXPECT_FALSE(WallBetween({-51, 3500, 0}, boss, 0));
  EXPECT_FALSE(WallBetween({-51, 3500, 0}, boss, 1));
  D3DXVECTOR3 at;
  for (const D3DXVECTOR3& away : {D3DXVECTOR3(-3000, 6680, 0), D3DXVECTOR3(3000, 6680, 0), D3DXVECTOR3(-51, 9000, 0)}) {
    EXPECT_TRUE(WallBetween(boss, away, 1)) << away.x << ", " << away.y;
    EXPECT_TRUE(WallBetween(boss, away, 0, &at)) << away.x << ", " << away.y;
  }
  EXPECT_NEAR(at.y, 8300.0f, 1.0f);

  for (int attempt = 0; attempt < 3; ++attempt) {
    w.Run(20);
    level.Restart();
    ASSERT_EQ(level.GetEnemies().size(), 1u) << "attempt " << attempt;
    EXPECT_EQ(Bosses<CBoss1>(level).size(), 1u);
    EXPECT_EQ(level.GetEnemies().front()->GetHealth(), 1550u);
    EXPECT_EQ(w.Player().GetPosition().y, 3500.0f);
  }
}

TEST_F(SecondBossArena, TheBossesDeathCompletesTheObjectiveUntilTheNextAttempt) {
  CLevel& level = w.Level();
  ASSERT_TRUE(Start("Level12.lua"));
  ASSERT_EQ(Bosses<CBoss1>(level).size(), 1u);
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
  ASSERT_EQ(Bosses<CBoss1>(level).size(), 1u);
  EXPECT_FALSE(level.GetEnemies().front()->IsDying());
}

// Another level, and an init script named otherwise only by case, make no boss.
TEST_F(SecondBossArena, OtherLevelsStartWithoutABoss) {
  ASSERT_TRUE(Start("LevelTutorial.lua"));
  EXPECT_TRUE(w.Level().GetEnemies().empty());
  w.Level().Restart();
  EXPECT_TRUE(w.Level().GetEnemies().empty());
  ASSERT_TRUE(w.WriteScript("level12_init.lua", "SetPlayerPos(-51, 3500)\n"));
  w.Level().SetInitScript("level12_init.lua");
  ASSERT_TRUE(w.Level().Start());
  EXPECT_TRUE(w.Level().GetEnemies().empty());
  w.Level().Restart();
  EXPECT_TRUE(w.Level().GetEnemies().empty());
}

struct ARENA {
  const char* script;
  size_t firstBosses, secondBosses;
  D3DXVECTOR3 player;  // within the bosses' reach
};

class BossArenaRun : public enemytest::Scene, public ::testing::WithParamInterface<ARENA> {
 protected:
  BossArenaRun() : Scene([] {
    WorldScenario::Options options;
    options.loadPlayer = false;
    return options;
  }()) {}
  void ExpectBosses() {
    EXPECT_EQ(Bosses<CBoss0>(w.Level()).size(), GetParam().firstBosses);
    EXPECT_EQ(Bosses<CBoss1>(w.Level()).size(), GetParam().secondBosses);
  }
};

TEST_P(BossArenaRun, SixHundredFramesOfFightingWithARestartHalfway) {
  CLevel& level = w.Level();
  ASSERT_TRUE(level.Prepare(GetParam().script) && level.Start());
  size_t shots = 0;
  for (int frame = 0; frame < 600; ++frame) {
    if (frame == 300) {
      level.Restart();
      ExpectBosses();
    }
    if (frame == 0 || frame == 300) Stand(GetParam().player);
    w.Player().Respawn();  // kept alive: every frame is a fighting frame
    w.Frame();
    shots = std::max(shots, level.GetBoss0Bullets().size() + level.GetBoss0AbilityBullets().size() +
                                level.GetBoss1Bullets().size() + level.GetBoss1Lasers().size());
  }
  ExpectBosses();
  EXPECT_GT(shots, 0u) << "the bosses never fired";
}

INSTANTIATE_TEST_SUITE_P(Arenas, BossArenaRun,
                         ::testing::Values(ARENA{"LevelIntermedio.lua", 2, 0, D3DXVECTOR3(0, -900, 0)},
                                           ARENA{"Level12.lua", 0, 1, D3DXVECTOR3(-51, 5800, 0)}),
                         [](const ::testing::TestParamInfo<ARENA>& info) {
                           return std::string(info.param.firstBosses ? "First" : "Second");
                         });

}  // namespace
