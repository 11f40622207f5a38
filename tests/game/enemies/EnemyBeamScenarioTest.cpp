// The beam walker: when it fires, its colour switch and its short beam shot.
#include "engine/app/Application.h"
#include "engine/util/Random.h"
#include "game/enemies/EnemyKinds.h"
#include "game/enemies/EnemyScenarioSupport.h"

namespace {

using BeamEnemy = enemytest::Scene;

TEST_F(BeamEnemy, ShootsAtExactly1000WithAClearLineAndWalksOtherwise) {
  w.PlacePlayer({500, 0, 0});
  CEnemy8& exact = Add<CEnemy8>({-500, 0, 0});
  CEnemy8& beyond = Add<CEnemy8>({500, 1000.1f, 0});
  CEnemy8& walled = Add<CEnemy8>({500, -900, 0});
  w.AddWall(1, {{300, -400, 0}, {700, -400, 0}});
  w.Frame();
  EXPECT_TRUE(exact.IsShooting());
  EXPECT_FALSE(exact.IsMoving());
  EXPECT_FALSE(beyond.IsShooting());
  EXPECT_EQ(beyond.GetAnimationName(), "Ene8CaminarAdelante");
  EXPECT_FALSE(walled.IsShooting());
  EXPECT_TRUE(walled.IsMoving());
}

TEST_F(BeamEnemy, OtherColourHitsThatDoNotKillSwitchItHalfTheTime) {
  Nembra::SeedRandom(77);
  int switched = 0;
  for (int i = 0; i < 400; ++i) {
    CEnemy8 enemy(0);
    enemy.OnShotHit(blue);
    switched += enemy.GetColour() == 1 ? 1 : 0;
  }
  EXPECT_NEAR(switched, 200, 30);

  // Same-colour and killing hits never switch it.
  w.Player().GetWeapon().SetPower(4);
  for (int i = 0; i < 50; ++i) {
    CEnemy8 same(0), killed(0);
    same.OnShotHit(red);
    killed.OnShotHit(blue);
    EXPECT_EQ(same.GetColour(), 0u);
    EXPECT_EQ(killed.GetColour(), 0u);
    EXPECT_TRUE(killed.IsDying());
  }
}

TEST_F(BeamEnemy, ASwitchShowsTheOtherModelAndBarRowAndTheNextShotLeavesFromIt) {
  w.PlacePlayer({500, 0, 0});
  // Out of shooting range while it is switched.
  CEnemy8& enemy = Add<CEnemy8>({-1500, 0, 0});
  w.Frame();
  Nembra::SeedRandom(5);
  for (int i = 0; i < 20 && enemy.GetColour() == 0; ++i) {
    enemy.SetHealth(4);
    enemy.OnShotHit(blue);
  }
  ASSERT_EQ(enemy.GetColour(), 1u);
  EXPECT_EQ(enemy.GetSprite(), &enemy.GetModel(1));
  EXPECT_TRUE(enemy.GetModel(1).IsVisible());
  EXPECT_FALSE(enemy.GetModel(0).IsVisible());
  EXPECT_EQ(enemy.GetHealthFill().m_SourceRect.top, 16);
  EXPECT_EQ(enemy.GetHealthFill().m_SourceRect.bottom, 20);
  EXPECT_EQ(enemy.GetMuzzle().GetParent(), &enemy.GetModel(1));
  // Into range: the shot leaves from the blue model's muzzle.
  enemy.SetPosition(D3DXVECTOR3(-300, 0, 0));
  ASSERT_TRUE(w.RunUntil([&] { return !w.Level().GetEnemy8Bullets().empty(); }, 100));
  CEnemy8Bullet& shot = w.Level().GetEnemy8Bullets().front();
  // The shot starts at the muzzle, beam and all, and is aimed from there
  // at a point within 100 beyond the player's feet along +X and +Y.
  const D3DXVECTOR3 muzzle = enemy.GetMuzzle().WorldPosition();
  EXPECT_GT(muzzle.z, 80.0f);
  EXPECT_LT(enemytest::Distance(shot.GetPosition(), muzzle), 200.0f);  // the muzzle swings on
  EXPECT_GT(shot.GetPosition().z, 50.0f);
  EXPECT_LT(enemytest::Distance(shot.GetBeam().GetWorldPosition(), shot.GetPosition()), 0.01f);
  const D3DXVECTOR3& d = shot.GetDirection();
  ASSERT_LT(d.z, 0.0f);
  const D3DXVECTOR3 ground = shot.GetPosition() + d * (shot.GetPosition().z / -d.z);
  EXPECT_GE(ground.x, 499.9f);
  EXPECT_LE(ground.x, 600.1f);
  EXPECT_GE(ground.y, -0.1f);
  EXPECT_LE(ground.y, 100.1f);
  EXPECT_EQ(shot.GetPower(), 6u);
}

TEST_F(BeamEnemy, ItsShotsHurtThePlayerBySix) {
  w.PlacePlayer({400, 0, 0});
  Nembra::SeedRandom(11);
  CEnemy8& enemy = Add<CEnemy8>({-400, 0, 0});
  const uint32_t health = w.Player().GetHealth();
  ASSERT_TRUE(w.RunUntil([&] { return w.Player().GetHealth() < health; }, 400));
  EXPECT_EQ(health - w.Player().GetHealth(), 6u);
  EXPECT_FALSE(enemy.IsMoving());
  // It keeps firing: every later hit costs six again.
  w.Run(200);
  const uint32_t lost = health - w.Player().GetHealth();
  EXPECT_GT(lost, 6u);
  EXPECT_EQ(lost % 6u, 0u);
}

TEST_F(BeamEnemy, TenSwitchesThenDestruction) {
  CBullet* shots[2] = {&red, &blue};
  CEnemy8& enemy = Add<CEnemy8>({-2000, 0, 0});
  int switches = 0;
  for (int i = 0; i < 200 && switches < 10; ++i) {
    enemy.SetHealth(4);
    const uint32_t before = enemy.GetColour();
    enemy.OnShotHit(*shots[1 - before]);
    if (enemy.GetColour() != before) {
      ++switches;
      w.Frame();
    }
  }
  EXPECT_EQ(switches, 10);
  enemy.Kill();
  w.Run(30);
  EXPECT_TRUE(w.Level().GetEnemies().empty());
}

TEST_F(BeamEnemy, TheShotGrowsTo200DealsSixAndIsDoneAfter1200) {
  auto spawn = [&](float height) -> CEnemy8Bullet& {
    return w.Level().SpawnShot(w.Level().GetEnemy8Bullets(), D3DXVECTOR3(0, 0, height), D3DXVECTOR3(1, 0, 0), 6u);
  };
  w.PlacePlayer({0, -3000, 0});
  CEnemy8Bullet& shot = spawn(100);
  const float lengths[4] = {0.0f, 80.0f, 160.0f, 200.0f};
  for (int update = 1; update <= 15; ++update) {
    w.Frame();
    if (update <= 4) {
      EXPECT_FLOAT_EQ(shot.GetBeam().length, lengths[update - 1]) << update;
    }
    EXPECT_FLOAT_EQ(shot.GetBeam().halfWidth, 25.0f);
    EXPECT_EQ(shot.IsDone(), update == 15) << update;
    EXPECT_TRUE(shot.IsActive());
  }
  EXPECT_FLOAT_EQ(shot.GetBeam().length, 200.0f);
  w.Frame();
  EXPECT_FALSE(shot.IsActive());
  // Steps of 200: at exactly 200 travelled the beam keeps the length it had.
  CEnemy8Bullet& even = spawn(100);
  Nembra::g_FrameTime = 0.05f;
  for (float length : {0.0f, 0.0f, 200.0f}) {
    even.Step();
    EXPECT_EQ(even.GetBeam().length, length) << even.GetDistance();
  }
  Nembra::g_FrameTime = 0.02f;
  w.Level().GetEnemy8Bullets().pop_back();
  w.Frame();
  EXPECT_TRUE(w.Level().GetEnemy8Bullets().empty());

  w.PlacePlayer({600, 0, 0});
  const uint32_t health = w.Player().GetHealth();
  // The player's sphere (radius 50 about its feet) meets a shot's of 30 only below 80.
  CEnemy8Bullet& hit = spawn(40);
  EXPECT_TRUE(w.RunUntil([&] { return hit.IsDone(); }, 20));
  EXPECT_EQ(health - w.Player().GetHealth(), 6u);
}

}  // namespace
