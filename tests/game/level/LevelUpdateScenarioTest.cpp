// The level's frame in playing scenarios: souls from dead enemies, far
// enemies dropped, the top-up through the generators, scripts run from
// timers and finished sprites, and two runs giving the same frames.
#include <gtest/gtest.h>
#include <lua.hpp>

#include <cmath>
#include <list>
#include <map>

#include "engine/app/Engine.h"
#include "engine/scene/SceneManager.h"
#include "engine/util/Random.h"
#include "game/enemies/EnemyKinds.h"
#include "game/script/GameScript.h"
#include "platform/Files.h"
#include "scenario/WorldScenario.h"
#include "tools/formats/LevelFiles.h"

namespace {

using scenario::WorldScenario;

TEST(LevelUpdateScenario, ADeadEnemyLeavesOneSoulThatFrameAndAFarOneNone) {
  WorldScenario w;
  ASSERT_TRUE(w.Ready()) << w.Problem();
  scenario::TestEnemy& dead = w.AddEnemy({500, 0, 0}, 1, 50.0f, 7);
  w.AddEnemy({3000, 0, 0}, 0, 50.0f);  // 9e6 away squared: dropped
  CBoss0* boss = new CBoss0(0);  // as far, but a boss stays
  w.Level().GetEnemies().push_back(boss);
  boss->AddToScene(nullptr);
  boss->SetPosition(0, 3000, 0);
  boss->UpdateWorldMatrix();
  dead.Kill();
  w.Frame();
  ASSERT_EQ(w.Level().GetSouls().size(), 1u);
  EXPECT_EQ(w.Level().GetSouls().front().GetColor(), 1u);
  EXPECT_EQ(w.Level().GetSouls().front().GetPosition().x, 500.0f);
  ASSERT_EQ(w.Level().GetEnemies().size(), 1u);
  EXPECT_EQ(w.Level().GetEnemies().front(), boss);
  w.Frame();
  EXPECT_EQ(w.Level().GetSouls().size(), 1u);
}

TEST(LevelUpdateScenario, OnlyGeneratorsOutOfViewInTheRingAndReArmedAreCandidates) {
  WorldScenario w;
  ASSERT_TRUE(w.Ready()) << w.Problem();
  w.Stand();  // no input: the camera stays where the world's reset put it
  w.Level().EnableGenerationRadius(true);
  // Behind the camera (which looks towards -y) and 1500 to 2600 units away.
  for (float x : {-1500.0f, 0.0f, 1500.0f}) {
    CEnemyGenerator& g = w.Level().GetEnemyGenerators().emplace_back();
    g.SetPosition(x, 2000.0f, 0.0f);
  }
  CEnemyGenerator& nearOne = w.Level().GetEnemyGenerators().emplace_back();
  nearOne.SetPosition(0, 1000, 0);
  CEnemyGenerator& inView = w.Level().GetEnemyGenerators().emplace_back();
  inView.SetPosition(0, 0, 0);  // where the camera looks
  w.Frame();  // the camera's frustum
  w.Level().CollectSpawnCandidates();
  EXPECT_EQ(w.Level().GetSpawnCandidates().size(), 3u);
  w.Level().EnableGenerationRadius(false);
  w.Level().CollectSpawnCandidates();
  EXPECT_EQ(w.Level().GetSpawnCandidates().size(), 4u) << "all but the one in view";
  // The first candidate is drawn twice as often as each other one.
  Nembra::SeedRandom(5);
  std::map<CEnemyGenerator*, int> drawn;
  CEnemyGenerator* first = w.Level().GetSpawnCandidates().front();
  for (int i = 0; i < 5000; ++i) {
    w.Level().CollectSpawnCandidates();
    ++drawn[w.Level().ChooseGenerator()];
  }
  ASSERT_EQ(drawn.size(), 4u);
  for (const auto& [g, count] : drawn) EXPECT_NEAR(count, g == first ? 2000 : 1000, 120);
  w.Level().EnableEnemyGroup("", false);
  w.Level().CollectSpawnCandidates();
  EXPECT_TRUE(w.Level().GetSpawnCandidates().empty());
  // A frame ends with the list empty, whatever was wanted.
  w.Level().EnableEnemyGroup("", true);
  w.Level().SetWantedEnemyCount(3);
  w.Frame();
  EXPECT_TRUE(w.Level().GetSpawnCandidates().empty());
}

TEST(LevelUpdateScenario, TheTopUpSpawnsWhatIsWantedAtTheGenerators) {
  WorldScenario::Options options;
  options.writableData = true;
  WorldScenario w(options);
  ASSERT_TRUE(w.Ready()) << w.Problem();
  w.Level().EnableGenerationRadius(true);
  // Four walker generators in the ring, and two of a type without an enemy.
  ENEMY_GENERATOR_FILE file;
  for (const D3DXVECTOR3& at : {D3DXVECTOR3(-1500, 2000, 0), D3DXVECTOR3(0, 2000, 0), D3DXVECTOR3(1500, 2000, 0),
                                 D3DXVECTOR3(0, 2500, 0), D3DXVECTOR3(-1000, 2200, 0), D3DXVECTOR3(1000, 2200, 0)}) {
    ENEMY_GENERATOR_RECORD& g = file.generators.emplace_back();
    const bool none = file.generators.size() > 4;
    g.options = {{{none ? 9 : 1, 100, 0}, {1, 0, 0}, {1, 0, 0}}};
    g.position = at;
    g.group = none ? "None" : "Walkers";
  }
  ASSERT_TRUE(platform::WriteFileAtomic(Nembra::g_DataDirectory + "Ring.dat", formats::EnemyGeneratorFileBytes(file)));
  ASSERT_TRUE(w.Level().LoadEnemyGenerators("Ring.dat"));
  w.Level().EnableEnemyGroup("None", false);
  auto rearmed = [&] {
    int n = 0;
    for (const CEnemyGenerator& g : w.Level().GetEnemyGenerators()) n += g.GetRearmTimer() > 0.0f;
    return n;
  };
  w.Level().SetWantedEnemyCount(3);
  w.Frame();
  EXPECT_EQ(rearmed(), 3);
  ASSERT_EQ(w.Level().GetEnemies().size(), 3u);
  const std::list<CEnemy*> made = w.Level().GetEnemies();
  for (CEnemy* e : made) {
    EXPECT_NE(dynamic_cast<CEnemy1*>(e), nullptr);
    EXPECT_GE(e->GetPosition().y, 2000.0f);
    EXPECT_EQ(e->GetParent(), Nembra::g_pSceneManager->GetRoot());
  }
  // Wanted at or below the live count: nothing more.
  w.Level().SetWantedEnemyCount(1);
  w.Run(3);
  EXPECT_EQ(rearmed(), 3);
  EXPECT_EQ(w.Level().GetEnemies(), made);
  // A generator type without an enemy places nothing and is not re-armed.
  w.Level().EnableEnemyGroup("Walkers", false);
  w.Level().EnableEnemyGroup("None", true);
  w.Level().SetWantedEnemyCount(10);
  w.Frame();
  EXPECT_EQ(w.Level().GetEnemies(), made);
  EXPECT_EQ(rearmed(), 3);
}

TEST(LevelUpdateScenario, SpawnRingBoundsAreStrict) {
  WorldScenario w;
  ASSERT_TRUE(w.Ready()) << w.Problem();
  // A point whose float squared distance from the player is exactly a bound.
  auto onBound = [](float bound) {
    for (float x = 0.0f; x < 200.0f; x += 1.0f)
      for (float y = std::sqrt(bound) - 1.0f; y < std::sqrt(bound) + 1.0f; y = std::nextafter(y, 1e9f)) {
        D3DXVECTOR3 d(x, y, 0.0f);
        if (D3DXVec3LengthSq(&d) == bound) return d;
      }
    return D3DXVECTOR3(0, 0, 0);
  };
  const D3DXVECTOR3 inner = onBound(1.5e6f), outer = onBound(7e6f);
  ASSERT_NE(inner.y, 0.0f);
  ASSERT_NE(outer.y, 0.0f);
  w.Level().EnableGenerationRadius(true);
  for (const D3DXVECTOR3& at : {inner, outer}) {
    CEnemyGenerator& g = w.Level().GetEnemyGenerators().emplace_back();
    g.SetPosition(at);
  }
  w.Level().CollectSpawnCandidates();
  EXPECT_TRUE(w.Level().GetSpawnCandidates().empty());
  w.Level().EnableGenerationRadius(false);
  w.Level().CollectSpawnCandidates();
  EXPECT_EQ(w.Level().GetSpawnCandidates().size(), 2u);
  w.Level().GetSpawnCandidates().clear();
}

TEST(LevelUpdateScenario, AnEnemyOnAGeneratorEndsTheTopUp) {
  WorldScenario w;
  ASSERT_TRUE(w.Ready()) << w.Problem();
  w.Level().EnableGenerationRadius(false);
  CEnemyGenerator& g = w.Level().GetEnemyGenerators().emplace_back();
  g.SetOption1(1, 100, false);
  g.SetPosition(0, 2000, 0);
  w.AddEnemy({0, 2000, 0}, 0, 50.0f);
  w.Level().SetWantedEnemyCount(5);
  w.Frame();
  EXPECT_EQ(w.Level().GetEnemies().size(), 1u);
  EXPECT_FLOAT_EQ(g.GetRearmTimer(), 0.0f);
}

TEST(LevelUpdateScenario, ScriptsRunFromATimerAndEveryFrameAnAnimationStaysFinished) {
  WorldScenario::Options options;
  options.writableData = true;
  WorldScenario w(options);
  ASSERT_TRUE(w.Ready()) << w.Problem();
  ASSERT_TRUE(w.WriteScript("MakeMore.lua", "n = (n or 0) + 1\n"));
  CLevelTimer& timer = w.Level().GetTimer("first");
  timer.RegisterEvent(0.05f, "MakeMore.lua");
  timer.Start();
  w.Level().AddAnimatedSprite("door", "Player.X", 0, 0, 0, 0, "Muerte", false, "MakeMore.lua");
  w.Run(200);
  EXPECT_GT(w.Level().GetAnimatedSprites().size(), 0u);
  const auto count = [L = g_GameScript.GetState()] {
    lua_getglobal(L, "n");
    const double value = lua_tonumber(L, -1);
    lua_pop(L, 1);
    return value;
  };
  // Once from the timer, then every frame the finished animation stays finished.
  const double before = count();
  EXPECT_GT(before, 2.0);
  // Taken out of the scene, the sprite's entry stays and its script runs no more.
  w.Run(1);
  EXPECT_EQ(count(), before + 1.0);
  Nembra::g_pSceneManager->RemoveNode(&w.Level().GetAnimatedSprites().at("door").sprite);
  w.Run(5);
  EXPECT_EQ(count(), before + 1.0);
  EXPECT_EQ(w.Level().GetAnimatedSprites().count("door"), 1u);
}

struct Trace {
  std::vector<float> positions;
  std::vector<size_t> sizes;
  std::vector<size_t> draws;
  bool operator==(const Trace& o) const {
    return positions == o.positions && sizes == o.sizes && draws == o.draws;
  }
};

Trace RunOnce() {
  Trace t;
  WorldScenario w;
  if (!w.Ready()) return t;
  w.Level().EnableGenerationRadius(false);
  CEnemyGenerator& g = w.Level().GetEnemyGenerators().emplace_back();
  g.SetOption1(0, 100, true);
  g.SetPosition(0, 3000, 0);
  w.Level().SetWantedEnemyCount(2);
  w.AddWall(1, {{600, -5000, 0}, {600, 5000, 0}});
  w.PlacePlayer({0, 0, 0});
  w.Walk({1, 0.3f, 0});
  w.Aim({1, 0, 0});
  for (int i = 0; i < 60; ++i) {
    if (i % 7 == 0) w.Player().GetWeapon().Fire(i % 2);
    w.Frame();
    const D3DXVECTOR3 p = w.Player().GetPosition();
    t.positions.insert(t.positions.end(), {p.x, p.y, p.z});
    for (CBullet& b : w.Level().GetBullets()) t.positions.push_back(b.GetPosition().x);
    t.sizes.push_back(w.Level().GetBullets().size());
    t.sizes.push_back(w.Level().GetEffects().size());
    t.sizes.push_back(w.Level().GetEnemies().size());
    t.draws.push_back(w.Screen().Device() ? w.Screen().Device()->Log().size() : 0);
  }
  return t;
}

TEST(LevelUpdateScenario, TwoRunsGiveTheSameFrames) {
  const Trace a = RunOnce(), b = RunOnce();
  ASSERT_FALSE(a.positions.empty());
  EXPECT_TRUE(a == b);
}

}  // namespace
