// The enemy base: polarity damage, the fade into a soul, the hit bar, the
// player in the way, heading smoothing and obstacle avoidance.
#include <cmath>

#include "game/enemies/EnemyKinds.h"
#include "game/enemies/EnemyScenarioSupport.h"

namespace {

using EnemyBase = enemytest::Scene;

// A walker that counts its kill hook.
class CountingWalker : public CEnemy1 {
 public:
  explicit CountingWalker(uint32_t colour) : CEnemy1(colour) {}
  void OnKilled() override { ++killed; }
  int killed = 0;
};

TEST_F(EnemyBase, SameColourShotsShowTheBarOnlyAndOtherColourShotsKillByPower) {
  w.PlacePlayer({0, 0, 0});
  CEnemy1& walker = Add<CEnemy1>({1000, 0, 0});
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
  EXPECT_TRUE(walker.IsDying() && walker.IsDead());
  EXPECT_FLOAT_EQ(walker.GetHealthFill().m_ScaleX, 0.0f);

  w.Player().GetWeapon().SetPower(3);
  CEnemy1& second = Add<CEnemy1>({1000, 300, 0});
  second.OnShotHit(blue);
  EXPECT_TRUE(second.IsDying());
  EXPECT_EQ(second.GetHealth(), 0u);
}

TEST_F(EnemyBase, AKillingShotPlaysTheHurtSoundAndRunsTheHookOnceAKillNeither) {
  w.PlacePlayer({0, 0, 0});
  w.Player().GetWeapon().SetPower(3);
  scenario::CountingSound hurt;
  CountingWalker& shot = Add<CountingWalker>({900, 0, 0});
  shot.SetHurtSound(&hurt);
  shot.OnShotHit(blue);
  EXPECT_EQ(hurt.plays, 1);
  EXPECT_EQ(shot.killed, 1);

  CountingWalker& killed = Add<CountingWalker>({900, 400, 0});
  killed.SetHurtSound(&hurt);
  w.Player().GetWeapon().SetPower(1);
  killed.OnShotHit(blue);
  killed.Kill();
  EXPECT_TRUE(killed.IsDying());
  EXPECT_EQ(killed.GetHealth(), 0u);
  EXPECT_EQ(hurt.plays, 1);
  EXPECT_EQ(killed.killed, 0);
  EXPECT_NEAR(killed.GetHealthFill().m_ScaleX, 2.0f / 3.0f, 1e-6f);  // the bar before the kill
}

TEST_F(EnemyBase, ADeadEnemyFadesOutThenLeavesASoulOfItsValue) {
  // 3 health: 1 + 2 x 3 at power 1, 1 + 2 x 2 at power 2.
  for (const auto& [power, value] : {std::pair{1u, 7u}, std::pair{2u, 5u}}) {
    SCOPED_TRACE(power);
    w.Level().GetSouls().clear();
    w.PlacePlayer({0, 0, 0});
    w.Player().GetWeapon().SetPower(power);
    g_Enemy1RangeSq = 0.0f;  // in view, out of range: it stands
    CEnemy1& walker = Add<CEnemy1>({200, 200, 0}, 1);
    w.Frame();
    walker.Kill();
    int frames = 0;
    for (; walker.IsActive() && frames < 100; ++frames) {
      w.Frame();
      if (frames == 9) walker.Kill();  // a second kill leaves the fade running
    }
    // 512 alpha a second, 10.24 a frame, however many passes draw it: 25 frames.
    EXPECT_NEAR(frames, 25, 1);
    EXPECT_FALSE(walker.GetSprite()->IsVisible());
    EXPECT_EQ(walker.GetSprite()->GetRenderEffect(), nullptr);
    EXPECT_EQ(walker.GetEnergyValue(), value);
    w.Frame();
    EXPECT_TRUE(w.Level().GetEnemies().empty());
    ASSERT_EQ(w.Level().GetSouls().size(), 1u);
    const CEnergy& soul = w.Level().GetSouls().front();  // shrinking from its first frame
    EXPECT_GT(soul.GetFraction(), 0.9f);
    EXPECT_EQ(soul.GetValue(), static_cast<uint32_t>(static_cast<float>(value) * soul.GetFraction()));
    EXPECT_EQ(soul.GetColor(), 1u);
  }
  // A 5-health shooter at power 2: 1 + 2 x ceil(2.5) = 7.
  EXPECT_EQ(Add<CEnemy3>({5000, 0, 0}).GetEnergyValue(), 7u);
}

TEST_F(EnemyBase, ANextStepTouchingThePlayerStopsTheEnemy) {
  g_Enemy1Speed = 5000.0f;  // a step of 100 a frame
  w.PlacePlayer({0, 0, 0});
  CEnemy1& walker = Add<CEnemy1>({-190, 0, 0});
  w.Frame();
  EXPECT_EQ(walker.GetAnimationName(), "Ene1CaminarAdelante");
  EXPECT_FALSE(walker.IsMoving());
  EXPECT_EQ(walker.GetPosition(), D3DXVECTOR3(-190, 0, 0));
  CEnemy1& far = Add<CEnemy1>({-1000, 0, 0});  // far enough, the same step goes ahead
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

// With no obstacle listed a chasing walker keeps to its line; one ahead would push it aside.
TEST_F(EnemyBase, AWalkerGoesStraightPastNoObstacleAndWouldSteerRoundOne) {
  w.PlacePlayer({0, 0, 0});
  CEnemy1& walker = Add<CEnemy1>({-1200, 0, 0});
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
