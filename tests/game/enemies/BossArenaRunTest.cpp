// Each boss arena from the demo data played for 600 frames as the game
// plays it: the bosses fight a player kept alive, the level restarts
// halfway, and the same bosses come back; the sanitizer build runs it too.
#include <gtest/gtest.h>

#include <string>

#include "game/enemies/bosses/Boss0.h"
#include "game/enemies/bosses/Boss1.h"
#include "scenario/WorldScenario.h"

namespace {

using scenario::WorldScenario;

struct ARENA {
  const char* script;
  int firstBosses;
  int secondBosses;
  D3DXVECTOR3 player;  // within the bosses' reach
};

class BossArenaRun : public ::testing::TestWithParam<ARENA> {};

void CountBosses(CLevel& level, int& first, int& second) {
  first = second = 0;
  for (CEnemy* enemy : level.GetEnemies()) {
    first += dynamic_cast<CBoss0*>(enemy) ? 1 : 0;
    second += dynamic_cast<CBoss1*>(enemy) ? 1 : 0;
  }
}

TEST_P(BossArenaRun, SixHundredFramesOfFightingWithARestartHalfway) {
  const ARENA arena = GetParam();
  WorldScenario::Options options;
  options.loadPlayer = false;  // the level script loads it
  WorldScenario w(options);
  ASSERT_TRUE(w.Ready()) << w.Problem();
  CLevel& level = w.Level();
  ASSERT_TRUE(level.Prepare(arena.script));
  ASSERT_TRUE(level.Start());
  size_t shots = 0;
  for (int frame = 0; frame < 600; ++frame) {
    if (frame == 300) {
      level.Restart();
      int first = 0, second = 0;
      CountBosses(level, first, second);
      EXPECT_EQ(first, arena.firstBosses);
      EXPECT_EQ(second, arena.secondBosses);
    }
    if (frame == 0 || frame == 300) {
      w.PlacePlayer(arena.player);
      w.Stand();
    }
    w.Player().Respawn();  // kept alive: every frame is a fighting frame
    w.Frame();
    shots = std::max(shots, level.GetBoss0Bullets().size() + level.GetBoss0AbilityBullets().size() +
                                level.GetBoss1Bullets().size() + level.GetBoss1Lasers().size());
  }
  int first = 0, second = 0;
  CountBosses(level, first, second);
  EXPECT_EQ(first, arena.firstBosses);
  EXPECT_EQ(second, arena.secondBosses);
  EXPECT_GT(shots, 0u) << "the bosses never fired";
}

INSTANTIATE_TEST_SUITE_P(Arenas, BossArenaRun,
                         ::testing::Values(ARENA{"LevelIntermedio.lua", 2, 0, D3DXVECTOR3(0, -900, 0)},
                                           ARENA{"Level12.lua", 0, 1, D3DXVECTOR3(-51, 5800, 0)}),
                         [](const ::testing::TestParamInfo<ARENA>& info) {
                           return std::string(info.param.firstBosses ? "First" : "Second");
                         });

}  // namespace
