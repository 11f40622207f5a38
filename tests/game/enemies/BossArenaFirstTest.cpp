// The first boss arena as the generator writes it: its level script loads
// the hall once, its init script brings the two guardians at every start
// and restart, and the guardians' deaths complete its objective.
#include <gtest/gtest.h>

#include <vector>

#include "game/enemies/Boss0.h"
#include "game/enemies/EnemyScenarioSupport.h"
#include "game/script/ScriptVariables.h"
#include "tools/datagen/BossArenaFirst.h"

namespace {

using FirstBossArena = enemytest::Scene;
using scenario::WorldScenario;

std::vector<CBoss0*> Guardians(CLevel& level) {
  std::vector<CBoss0*> bosses;
  for (CEnemy* enemy : level.GetEnemies())
    if (CBoss0* boss = dynamic_cast<CBoss0*>(enemy)) bosses.push_back(boss);
  return bosses;
}

// Two guardians, red then blue, whole, at their places; nobody down; the
// objective open; the player at the south wall.
void ExpectFreshAttempt(WorldScenario& w) {
  const std::vector<CBoss0*> bosses = Guardians(w.Level());
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

TEST_F(FirstBossArena, LoadsTheHallOnceAndBringsBothGuardiansAtEveryAttempt) {
  ASSERT_TRUE(w.Level().Prepare("LevelIntermedio.lua"));
  EXPECT_EQ(w.Level().GetInitScript(), datagen::FIRST_BOSS_ARENA_INIT);
  EXPECT_TRUE(w.Level().GetEnemies().empty());  // not before the start
  ASSERT_TRUE(w.Level().Start());
  ExpectFreshAttempt(w);
  EXPECT_FALSE(w.Level().IsFinished());
  EXPECT_EQ(w.Level().GetTerrainMeshName(), "LevelIntermedio_Terrain.X");
  EXPECT_EQ(w.Level().GetTriggerManager().CircularCount(), 1u);
  // The hall's walls stand 2000 out (the characters' ones 60 nearer).
  for (int collisionClass : {0, 1}) {
    const float from[3] = {0.0f, 0.0f, 0.0f}, to[3] = {3000.0f, 0.0f, 0.0f};
    float hit[3], normal[3], distance = 0.0f;
    ASSERT_TRUE(w.Level().CheckCollision(from, to, 1.0f, hit, distance, normal, collisionClass, false));
    EXPECT_NEAR(hit[0], collisionClass == 0 ? 2000.0f : 1940.0f, 2.0f);
  }

  // The guardians come for the player and hurt it.
  w.Stand();
  w.Run(500);
  EXPECT_LT(w.Player().GetHealth(), CPlayer::MAX_HEALTH);
  EXPECT_FALSE(w.Level().GetBoss0Bullets().empty() && w.Level().GetEffects().empty());

  // Three restarts in three states: one guardian down, both down (the
  // objective met), nothing done.
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::vector<CBoss0*> bosses = Guardians(w.Level());
    ASSERT_EQ(bosses.size(), 2u);
    if (attempt < 2) bosses[0]->Damage(bosses[0]->GetHealth());
    if (attempt == 1) {
      bosses[1]->Damage(bosses[1]->GetHealth());
      EXPECT_EQ(VarTableGet("Intermedio_Down"), 2);
      EXPECT_TRUE(w.Level().GetObjectiveComplete("Guardians"));
      EXPECT_TRUE(w.Level().IsFinished());
    } else if (attempt == 0) {
      EXPECT_EQ(VarTableGet("Intermedio_Down"), 1);
      EXPECT_FALSE(w.Level().GetObjectiveComplete("Guardians"));
    }
    w.Run(20);
    w.Level().Restart();
    ExpectFreshAttempt(w);
    EXPECT_TRUE(w.Level().GetBoss0Bullets().empty());
    EXPECT_TRUE(w.Level().GetBoss0AbilityBullets().empty());
  }
}

}  // namespace
