// Enemy generators and the enemy factory: the roll over the options, the
// kinds and colours made, the re-arm timer and the level's top-up.
#include <climits>
#include <memory>
#include <vector>

#include "engine/app/Application.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/util/Random.h"
#include "game/enemies/EnemyGenerator.h"
#include "game/enemies/EnemyHornSpit.h"
#include "game/enemies/EnemyKinds.h"
#include "game/enemies/EnemyScenarioSupport.h"
#include "game/enemies/bosses/Bosses.h"

namespace {

using EnemyGenerator = enemytest::Scene;

int KindOf(const CEnemy* e) {
  if (dynamic_cast<const CEnemy7*>(e)) return 7;
  if (dynamic_cast<const CEnemy1*>(e)) return 1;
  if (dynamic_cast<const CEnemy2*>(e)) return 2;
  if (dynamic_cast<const CEnemy3*>(e)) return 3;
  if (dynamic_cast<const CEnemy6*>(e)) return 6;
  if (dynamic_cast<const CEnemy8*>(e)) return 8;
  return -1;
}

// Whether the enemy gives the mesh it shows back when it goes.
bool MeshGoesBack(std::unique_ptr<CEnemy> e) {
  const Nembra::CSkinnedMesh* mesh = e->GetSprite() ? e->GetSprite()->GetMesh() : nullptr;
  if (!mesh) return false;
  const std::string name = mesh->GetName();
  const uint32_t refs = mesh->GetRefCount();
  e.reset();
  mesh = Nembra::g_pSkinnedMeshFactory->Find(name);
  return (mesh ? mesh->GetRefCount() : 0u) == refs - 1;
}

// How many of `n` rolls of the generator made each kind.
std::vector<int> Rolls(CEnemyGenerator& g, int n) {
  std::vector<int> counts(10);
  for (int i = 0; i < n; ++i) {
    std::unique_ptr<CEnemy> e(g.SpawnEnemy());
    ++counts[KindOf(e.get()) + 1];
  }
  counts.erase(counts.begin());  // null or unknown kinds count at -1
  return counts;
}

TEST_F(EnemyGenerator, TheRollSharesTheOptionsByPercent) {
  Nembra::SeedRandom(7);
  CEnemyGenerator g;
  g.SetOption1(1, 50, false);
  g.SetOption2(3, 30, false);
  g.SetOption3(7, 0, false);
  const int n = 1010;
  std::vector<int> counts = Rolls(g, n);
  EXPECT_NEAR(counts[1] / double(n), 51.0 / 101.0, 0.05);
  EXPECT_NEAR(counts[3] / double(n), 30.0 / 101.0, 0.05);
  EXPECT_NEAR(counts[7] / double(n), 20.0 / 101.0, 0.05);
  EXPECT_EQ(counts[1] + counts[3] + counts[7], n);

  // Percent 100: always option 1. Percents 0 and 0: option 1 only on roll 0.
  g.SetOption1(2, 100, false);
  EXPECT_EQ(Rolls(g, 200)[2], 200);
  g.SetOption1(2, 0, false);
  g.SetOption2(8, 0, false);
  g.SetOption3(1, 0, false);
  counts = Rolls(g, 2020);
  EXPECT_EQ(counts[8], 0);
  EXPECT_GT(counts[2], 0);
  EXPECT_NEAR(counts[2] / 2020.0, 1.0 / 101.0, 0.008);

  // Percents from a file at the ends of their range add up without wrapping:
  // 50 + the largest int leaves nothing to option 3.
  g.SetOption1(1, 50, false);
  g.SetOption2(3, INT32_MAX, false);
  g.SetOption3(7, 0, false);
  EXPECT_EQ(Rolls(g, 500)[7], 0);
  // -1 + the smallest int gives option 2 nothing.
  g.SetOption1(1, -1, false);
  g.SetOption2(3, INT32_MIN, false);
  EXPECT_EQ(Rolls(g, 200)[7], 200);
}

TEST_F(EnemyGenerator, TheFactoryMakesEveryKindInAlternatingColours) {
  Nembra::SeedRandom(11);
  CEnemyGenerator g;
  g.SetRotationZ(1.25f);
  const int expected[9] = {0, 1, 2, 3, 6, 6, 6, 7, 8};
  for (uint32_t type = 1; type <= 8; ++type) {
    const bool red = CEnemyGenerator::NextColourIsRed();
    std::unique_ptr<CEnemy> e(g.CreateEnemy(type, false));
    ASSERT_TRUE(e) << type;
    EXPECT_EQ(KindOf(e.get()), expected[type]) << type;
    EXPECT_EQ(e->GetColour(), red ? 0u : 1u) << type;
    EXPECT_NE(CEnemyGenerator::NextColourIsRed(), red) << "one toggle per enemy";
    EXPECT_EQ(e->GetRotation().z, 1.25f);
    EXPECT_EQ(g.GetRearmTimer(), g_EnemyGeneratorRearmTime);
    EXPECT_TRUE(MeshGoesBack(std::move(e))) << type;
  }
  EXPECT_TRUE(MeshGoesBack(std::make_unique<CBoss0>(1)));
  EXPECT_TRUE(MeshGoesBack(std::make_unique<CBoss1>()));
  // Type 0: one of 1 to 7, one toggle; type 8 never comes of it.
  bool seen[9] = {};
  for (int i = 0; i < 300; ++i) {
    const bool red = CEnemyGenerator::NextColourIsRed();
    std::unique_ptr<CEnemy> e(g.CreateEnemy(0, true));
    ASSERT_TRUE(e);
    seen[KindOf(e.get())] = true;
    EXPECT_NE(KindOf(e.get()), 8);
    EXPECT_EQ(e->GetColour(), red ? 0u : 1u);
    EXPECT_NE(CEnemyGenerator::NextColourIsRed(), red);
    const float z = e->GetRotation().z;
    EXPECT_GE(z, 0.0f);
    EXPECT_LE(z, 6.2831855f);
  }
  for (int k : {1, 2, 3, 6, 7}) EXPECT_TRUE(seen[k]) << k;
  // Unknown types: null, the colour and the timer untouched.
  for (int type : {9, -1, 1000}) {
    CEnemyGenerator fresh;
    const bool red = CEnemyGenerator::NextColourIsRed();
    EXPECT_EQ(fresh.CreateEnemy(static_cast<uint32_t>(type), false), nullptr);
    fresh.SetOption1(type, 100, false);
    EXPECT_EQ(fresh.SpawnEnemy(), nullptr);
    EXPECT_EQ(CEnemyGenerator::NextColourIsRed(), red);
    EXPECT_EQ(fresh.GetRearmTimer(), 0.0f);
  }
}

TEST_F(EnemyGenerator, TheReArmTimerCountsDownToExactlyZero) {
  CEnemyGenerator g;
  g.SetOption1(1, 100, false);
  std::unique_ptr<CEnemy> e(g.SpawnEnemy());
  ASSERT_EQ(g.GetRearmTimer(), 30.0f);
  const float saved = Nembra::g_FrameTime;
  int frames = 0;
  for (; g.GetRearmTimer() > 0.0f && frames < 5000; ++frames) g.UpdateTimer();
  EXPECT_NEAR(frames, 1500, 1);
  // A new re-arm time does not shorten a running timer.
  e.reset(g.SpawnEnemy());
  g_EnemyGeneratorRearmTime = 1.0f;
  g.UpdateTimer();
  EXPECT_NEAR(g.GetRearmTimer(), 29.98f, 1e-4f);
  g.ResetTimer();
  EXPECT_EQ(g.GetRearmTimer(), 0.0f);
  e.reset(g.SpawnEnemy());
  EXPECT_EQ(g.GetRearmTimer(), 1.0f);
  // 0.01 with a 0.05 s frame ends at exactly 0, and 0 stays 0.
  g_EnemyGeneratorRearmTime = 0.01f;
  g.ResetTimer();
  e.reset(g.SpawnEnemy());
  Nembra::g_FrameTime = 0.05f;
  g.UpdateTimer();
  EXPECT_EQ(g.GetRearmTimer(), 0.0f);
  g.UpdateTimer();
  EXPECT_EQ(g.GetRearmTimer(), 0.0f);
  Nembra::g_FrameTime = saved;
}

CEnemyGenerator& AddGenerator(scenario::WorldScenario& w, const D3DXVECTOR3& at, int type) {
  CEnemyGenerator& g = w.Level().GetEnemyGenerators().emplace_back();
  g.SetPosition(at);
  g.SetOption1(type, 100, false);
  return g;
}

TEST_F(EnemyGenerator, TheTopUpUsesTheRealFactory) {
  w.Level().EnableGenerationRadius(true);
  // Behind the camera and in the spawn ring.
  for (const D3DXVECTOR3& at : {D3DXVECTOR3(-1500, 2000, 0), D3DXVECTOR3(0, 2000, 0), D3DXVECTOR3(1500, 2000, 0),
                                 D3DXVECTOR3(0, 2500, 0)})
    AddGenerator(w, at, 3);
  w.Level().SetWantedEnemyCount(3);
  w.Frame();
  ASSERT_EQ(w.Level().GetEnemies().size(), 3u);
  int armed = 0;
  for (CEnemyGenerator& g : w.Level().GetEnemyGenerators()) armed += g.GetRearmTimer() > 0.0f;
  EXPECT_EQ(armed, 3);
  for (CEnemy* e : w.Level().GetEnemies()) {
    EXPECT_EQ(KindOf(e), 3);
    bool onGenerator = false;
    for (CEnemyGenerator& g : w.Level().GetEnemyGenerators())
      onGenerator |= g.GetPosition().x == e->GetPosition().x && g.GetPosition().y == e->GetPosition().y;
    EXPECT_TRUE(onGenerator);
  }
  // Enemies taken away as soon as they come: the fourth generator gives one
  // the next frame, then nothing until the first re-arm has run out.
  auto takeAway = [&] {
    const int n = static_cast<int>(w.Level().GetEnemies().size());
    while (!w.Level().GetEnemies().empty()) Remove(w.Level().GetEnemies().front());
    return n;
  };
  takeAway();
  std::vector<int> spawnFrames;
  for (int i = 1; i <= 1600; ++i) {
    w.Frame();
    const int n = takeAway();
    for (int k = 0; k < n; ++k) spawnFrames.push_back(i);
  }
  ASSERT_GE(spawnFrames.size(), 2u);
  EXPECT_EQ(spawnFrames[0], 1);
  EXPECT_NEAR(spawnFrames[1], 1500, 1) << "30 s of 0.02 s frames after the first three";
}

TEST_F(EnemyGenerator, ATypeNineGeneratorSpawnsNothingAndCrashesNothing) {
  w.Level().EnableGenerationRadius(true);
  CEnemyGenerator& bad = AddGenerator(w, {0, 2000, 0}, 9);
  w.Level().SetWantedEnemyCount(8);
  w.Run(100);
  EXPECT_TRUE(w.Level().GetEnemies().empty());
  EXPECT_EQ(bad.GetRearmTimer(), 0.0f);
  // A good generator beside it still spawns in the same frame.
  AddGenerator(w, {1500, 2000, 0}, 1);
  w.Frame();
  EXPECT_EQ(w.Level().GetEnemies().size(), 1u);
  // A disabled group never spawns, even when ready.
  CEnemyGenerator& off = AddGenerator(w, {-1500, 2000, 0}, 1);
  off.SetGroup("off");
  w.Level().EnableEnemyGroup("off", false);
  w.Run(50);
  EXPECT_EQ(w.Level().GetEnemies().size(), 1u);
  EXPECT_EQ(off.GetRearmTimer(), 0.0f);
}

}  // namespace
