// The enemy base in playing scenarios: polarity damage, dying through the
// fade into a soul, the hit bar, being stopped by the player, heading
// smoothing and obstacle avoidance.
#include <gtest/gtest.h>

#include <cmath>

#include "game/enemies/EnemyKinds.h"
#include "game/enemies/EnemyScenarioSupport.h"

namespace {

using EnemyBase = enemytest::Scene;
using enemytest::AddEnemy;
using enemytest::Shot;
using scenario::WorldScenario;

// A walker that counts its kill hook.
class CountingWalker : public CEnemy1 {
 public:
  explicit CountingWalker(uint32_t colour) : CEnemy1(colour) {}
  void OnKilled() override { ++killed; }
  int killed = 0;
};

TEST_F(EnemyBase, SameColourShotsShowTheBarOnlyAndOtherColourShotsKillByPower) {
  w.PlacePlayer({0, 0, 0});

  CEnemy1& walker = Add<CEnemy1>({1000, 0, 0}, 0);
  EXPECT_FALSE(walker.WasHit());
  walker.OnShotHit(red);
  EXPECT_TRUE(walker.WasHit());
  EXPECT_EQ(walker.GetHealth(), 3u);
  EXPECT_FLOAT_EQ(walker.GetHealthFill().m_ScaleX, 1.0f);

  w.Player().GetWeapon().SetPower(1);
  walker.OnShotHit(blue);
  walker.OnShotHit(blue);
  EXPECT_EQ(walker.GetHealth(), 1u);
  EXPECT_FALSE(walker.IsDying());
  EXPECT_NEAR(walker.GetHealthFill().m_ScaleX, 1.0f / 3.0f, 1e-6f);
  walker.OnShotHit(blue);
  EXPECT_TRUE(walker.IsDying());
  EXPECT_TRUE(walker.IsDead());
  EXPECT_FLOAT_EQ(walker.GetHealthFill().m_ScaleX, 0.0f);

  w.Player().GetWeapon().SetPower(3);
  CEnemy1& second = Add<CEnemy1>({1000, 300, 0}, 0);
  second.OnShotHit(blue);
  EXPECT_TRUE(second.IsDying());
  EXPECT_EQ(second.GetHealth(), 0u);
}

TEST_F(EnemyBase, AKillingShotPlaysTheHurtSoundAndRunsTheHookOnceAKillNeither) {
  w.PlacePlayer({0, 0, 0});
  w.Player().GetWeapon().SetPower(3);
  scenario::CountingSound hurt;

  CountingWalker& shot = Add<CountingWalker>({900, 0, 0}, 0);
  shot.SetHurtSound(&hurt);
  shot.OnShotHit(blue);
  EXPECT_EQ(hurt.plays, 1);
  EXPECT_EQ(shot.killed, 1);

  CountingWalker& killed = Add<CountingWalker>({900, 400, 0}, 0);
  killed.SetHurtSound(&hurt);
  w.Player().GetWeapon().SetPower(1);
  killed.OnShotHit(blue);
  killed.Kill();
  EXPECT_TRUE(killed.IsDying());
  EXPECT_EQ(killed.GetHealth(), 0u);
  EXPECT_EQ(hurt.plays, 1);
  EXPECT_EQ(killed.killed, 0);
  // The bar keeps the length it had before the kill.
  EXPECT_NEAR(killed.GetHealthFill().m_ScaleX, 2.0f / 3.0f, 1e-6f);
}

TEST(EnemyBase, ADeadEnemyFadesOutThenLeavesASoulOfItsValue) {
  for (uint32_t power : {1u, 2u}) {
    WorldScenario w;
    ASSERT_TRUE(w.Ready()) << w.Problem();
    w.PlacePlayer({0, 0, 0});
    w.Player().GetWeapon().SetPower(power);
    // In view, out of the walker's range so it stands.
    g_Enemy1RangeSq = 0.0f;
    enemytest::TuningGuard guard;
    CEnemy1& walker = AddEnemy<CEnemy1>(w, {200, 200, 0}, 1);
    w.Frame();
    walker.Kill();
    int frames = 0;
    while (walker.IsActive() && frames < 100) {
      w.Frame();
      ++frames;
      if (frames == 10) walker.Kill();  // a second kill leaves the fade running
    }
    // 512 alpha a second, 10.24 a frame, however many passes draw the
    // faded sprite: 255 / 10.24 rounds up to 25 frames.
    EXPECT_NEAR(frames, 25, 1);
    EXPECT_FALSE(walker.IsActive());
    EXPECT_FALSE(walker.GetSprite()->IsVisible());
    EXPECT_EQ(walker.GetSprite()->GetRenderEffect(), nullptr);
    // 3 health: 1 + 2 x 3 at power 1, 1 + 2 x 2 at power 2.
    const uint32_t value = walker.GetEnergyValue();
    EXPECT_EQ(value, power == 1 ? 7u : 5u);
    w.Frame();
    EXPECT_TRUE(w.Level().GetEnemies().empty());
    ASSERT_EQ(w.Level().GetSouls().size(), 1u);
    // The soul starts shrinking in the frame it is made.
    const CEnergy& soul = w.Level().GetSouls().front();
    EXPECT_GT(soul.GetFraction(), 0.9f);
    EXPECT_EQ(soul.GetValue(), static_cast<uint32_t>(static_cast<float>(value) * soul.GetFraction()));
    EXPECT_EQ(w.Level().GetSouls().front().GetColor(), 1u);
  }
  // A 5-health shooter at power 2: 1 + 2 x ceil(2.5) = 7.
  WorldScenario w;
  ASSERT_TRUE(w.Ready()) << w.Problem();
  w.Player().GetWeapon().SetPower(2);
  EXPECT_EQ(AddEnemy<CEnemy3>(w, {5000, 0, 0}).GetEnergyValue(), 7u);
}

TEST(EnemyBase, ANextStepTouchingThePlayerStopsTheEnemy) {
  enemytest::TuningGuard guard;
  g_Enemy1Speed = 5000.0f;  // a step of 100 a frame
  WorldScenario w;
  ASSERT_TRUE(w.Ready()) << w.Problem();
  w.PlacePlayer({0, 0, 0});
  CEnemy1& walker = AddEnemy<CEnemy1>(w, {-190, 0, 0}, 0);
  const D3DXVECTOR3 before = walker.GetPosition();
  w.Frame();
  EXPECT_EQ(walker.GetAnimationName(), "Ene1CaminarAdelante");
  EXPECT_FALSE(walker.IsMoving());
  EXPECT_EQ(walker.GetPosition(), before);
  // Far enough, the same step goes ahead.
  CEnemy1& far = AddEnemy<CEnemy1>(w, {-1000, 0, 0}, 0);
  w.Frame();
  EXPECT_TRUE(far.IsMoving());
  EXPECT_GT(far.GetPosition().x, -1000.0f + 90.0f);
}

TEST_F(EnemyBase, HeadingsAverageOverTheWindowAndClearToZero) {
  CEnemy1& walker = Add<CEnemy1>({5000, 0, 0});
  ASSERT_EQ(walker.GetHeadingWindow(), 10);
  D3DXVECTOR3 out;
  for (int i = 0; i < 10; ++i) walker.AverageHeading(out, D3DXVECTOR3(5, 5, 5));
  EXPECT_NEAR(out.x, 5.0f, 1e-5f);
  walker.ClearHeadings();
  walker.AverageHeading(out, D3DXVECTOR3(3.0f, -7.0f, 1.0f));
  EXPECT_NEAR(out.x, 0.3f, 1e-6f);
  EXPECT_NEAR(out.y, -0.7f, 1e-6f);
  EXPECT_NEAR(out.z, 0.1f, 1e-6f);
  walker.AverageHeading(out, D3DXVECTOR3(1.0f, 1.0f, 0.0f));
  EXPECT_NEAR(out.x, 0.4f, 1e-6f);
  EXPECT_EQ(walker.GetHeadingBuffer().size(), 10u);
}

// A walker chasing a standing player along x keeps to its line: the level
// lists no obstacle spheres. One ahead of it on the line would push it aside.
TEST_F(EnemyBase, AWalkerGoesStraightPastNoObstacleAndWouldSteerRoundOne) {
  w.PlacePlayer({0, 0, 0});
  CEnemy1& walker = Add<CEnemy1>({-1200, 0, 0}, 0);
  EXPECT_TRUE(w.Level().GetObstacles().empty());
  float most = 0.0f;
  for (int i = 0; i < 80 && walker.GetPosition().x < -300.0f; ++i) {
    w.Frame();
    most = std::max(most, std::fabs(walker.GetPosition().y));
  }
  EXPECT_LT(most, 1.0f);
  const float ahead[4] = {walker.GetPosition().x + 150.0f, 0.0f, 0.0f, 100.0f};
  D3DXVECTOR3 push;
  walker.AvoidObstacles(push, 10.0f, {ahead});
  EXPECT_NEAR(std::fabs(push.y), 1.0f, 1e-5f);
  EXPECT_NEAR(push.x, 0.0f, 1e-5f);
}

TEST_F(EnemyBase, AnEnemyWithoutMeshIsInvisibleAndStillDies) {
  CEnemy1& walker = Add<CEnemy1>({300, 0, 0});
  walker.SetMesh(nullptr);
  walker.Kill();
  w.Frame();
  EXPECT_FALSE(walker.IsActive());
}

}  // namespace
