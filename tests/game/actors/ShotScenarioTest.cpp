// The weapon and the player's shot in playing scenarios: flight, walls,
// objects on the path and the nearest one winning.
#include "game/enemies/EnemyScenarioSupport.h"

namespace {

using ShotScenario = enemytest::Scene;

// A shot of the level's own, from a clean start along +x.
CBullet& Shoot(scenario::WorldScenario& w, int colour, uint32_t power, const D3DXVECTOR3& start = {0, 0, 0}) {
  const D3DXVECTOR3 direction(1, 0, 0);
  return w.Level().SpawnShot(w.Level().GetBullets(), colour, &start.x, &direction.x, power);
}

TEST_F(ShotScenario, ARedShotHitsAWallInItsFifthFrameAndIsGoneTwoFramesLater) {
  w.PlacePlayer({0, 0, 0});
  w.Aim({1, 0, 0});
  w.Player().GetWeapon().Fire(CWeapon::RED);
  ASSERT_EQ(w.Level().GetBullets().size(), 1u);
  CBullet& shot = w.Level().GetBullets().front();
  const D3DXVECTOR3 start = shot.GetPosition();
  const float handZ = w.Player().GetHand().WorldPosition().z;
  EXPECT_EQ(start.z, 0.0f) << "shots fly at height 0";
  EXPECT_GT(handZ, 50.0f) << "the hand is up at the figure's arm";
  EXPECT_EQ(w.redShot.plays, 1);
  EXPECT_EQ(w.Player().GetWeapon().GetCharge(CWeapon::RED), 99u);
  EXPECT_EQ(w.Player().GetWeapon().GetCharge(CWeapon::BLUE), 100u);

  const float wallX = start.x + 499.5f;
  w.AddWall(0, {{wallX, -2000, 0}, {wallX, 2000, 0}});
  w.Run(4);
  EXPECT_FALSE(shot.IsFinished());
  EXPECT_TRUE(w.Level().GetEffects().empty());
  w.Frame();  // frame 5
  EXPECT_TRUE(shot.IsFinished());
  EXPECT_EQ(shot.GetHit(), CBullet::Hit::Wall);
  EXPECT_NEAR(shot.GetPosition().x, wallX, 1e-3f);
  ASSERT_EQ(w.Level().GetEffects().size(), 1u);
  // The burst stands at the beam's height.
  enemytest::ExpectNear(w.Level().GetEffects().front()->GetPosition(), {wallX, start.y, handZ}, 1e-3f);
  EXPECT_EQ(w.wallHit.plays, 1);
  w.Frame();  // 6
  ASSERT_EQ(w.Level().GetBullets().size(), 1u);
  EXPECT_FALSE(shot.IsActive());
  w.Frame();  // 7
  EXPECT_TRUE(w.Level().GetBullets().empty());
}

TEST_F(ShotScenario, AnEffectSpawnedByAShotIsSteppedInTheSameLevelUpdate) {
  w.AddWall(0, {{250, -2000, 0}, {250, 2000, 0}});
  Shoot(w, 0, 1);
  w.Run(2);
  EXPECT_TRUE(w.Level().GetEffects().empty());
  // The level's update alone: no scene pass refreshes the effect's matrix.
  w.Level().Update();
  ASSERT_EQ(w.Level().GetEffects().size(), 1u);
  CEntity* effect = w.Level().GetEffects().front();
  EXPECT_NEAR(effect->WorldPosition().x, 250.0f, 1e-3f);
  EXPECT_EQ(effect->WorldPosition(), effect->GetPosition());
}

TEST_F(ShotScenario, AMissEndsAtItsRangeAndAnEmptyColourFiresNothing) {
  CBullet& shot = Shoot(w, 1, 1);
  w.Run(9);
  EXPECT_FALSE(shot.IsFinished());
  w.Frame();  // 10
  EXPECT_TRUE(shot.IsFinished());
  EXPECT_FLOAT_EQ(shot.GetDistance(), 1000.0f);
  EXPECT_EQ(shot.GetHit(), CBullet::Hit::None);
  w.Frame();
  EXPECT_EQ(w.Level().GetBullets().size(), 1u);
  w.Frame();  // 12
  EXPECT_TRUE(w.Level().GetBullets().empty());
  EXPECT_TRUE(w.Level().GetEffects().empty());

  CWeapon& weapon = w.Player().GetWeapon();
  weapon.SetCharge(CWeapon::BLUE, 0);
  weapon.Fire(CWeapon::BLUE);
  EXPECT_EQ(w.noCharge.plays, 1);
  EXPECT_EQ(w.blueShot.plays, 0);
  EXPECT_TRUE(w.Level().GetBullets().empty());
  EXPECT_EQ(weapon.GetCharge(CWeapon::RED), 100u);

  weapon.SetOrdinary(true);
  weapon.Fire(CWeapon::RED);
  EXPECT_EQ(w.ordinary.plays, 1);
  EXPECT_EQ(weapon.GetCharge(CWeapon::RED), 100u);
  EXPECT_TRUE(w.Level().GetBullets().empty());

  weapon.Reset();
  weapon.SetCharge(CWeapon::BLUE, 20);
  weapon.AddCharge(CWeapon::BLUE, 250);
  EXPECT_EQ(weapon.GetCharge(CWeapon::BLUE), 100u);
  weapon.SetCharge(CWeapon::RED, 10);
  weapon.AddCharge(CWeapon::RED, 0xFFFFFFF0u);  // a negative count converted by a caller
  EXPECT_EQ(weapon.GetCharge(CWeapon::RED), 100u);
}

TEST_F(ShotScenario, TheNearestThingOnThePathTakesTheShot) {
  w.AddWall(0, {{450, -2000, 0}, {450, 2000, 0}});
  // A box nearer than the wall, needing power 2.
  CBox& box = w.Level().GetBoxes().emplace_back();
  box.GetCollisionBox(0).BuildBox(D3DXVECTOR3(300, 0, 0), 100, 100, 0);
  box.SetRequiredPower(2);
  CBullet& weak = Shoot(w, 0, 1);
  w.Run(3);
  EXPECT_TRUE(weak.IsFinished());
  EXPECT_EQ(weak.GetHit(), CBullet::Hit::Box);
  EXPECT_NEAR(weak.GetPosition().x, 250.0f, 1e-3f);
  EXPECT_TRUE(w.Level().GetEffects().empty()) << "below its power the box stops the shot silently";
  EXPECT_EQ(w.wallHit.plays, 0);
  w.Run(2);

  box.SetRequiredPower(1);
  CBullet& strong = Shoot(w, 0, 1);
  w.Run(3);
  EXPECT_EQ(strong.GetHit(), CBullet::Hit::Box);
  EXPECT_EQ(w.Level().GetEffects().size(), 1u);
  EXPECT_EQ(w.wallHit.plays, 1);
}

TEST_F(ShotScenario, AnEnemyAsNearAsTheWallTakesTheShot) {
  w.AddWall(0, {{300, -2000, 0}, {300, 2000, 0}});
  // Of the shot's colour, so it takes no damage and stays to be asked.
  scenario::TestEnemy& enemy = w.AddEnemy({380, 0, 0}, 1, 50.0f);  // sphere met at x = 300
  CBullet& shot = Shoot(w, 1, 1);
  w.Run(3);
  EXPECT_EQ(shot.GetHit(), CBullet::Hit::Enemy);
  EXPECT_EQ(enemy.ShotHits(), 1);
  EXPECT_TRUE(enemy.IsActive());
  EXPECT_TRUE(w.Level().GetEffects().empty());
  // One of the other colour dies of it and leaves its soul in the same frame.
  w.Level().GetEnemies().clear();
  delete &enemy;
  w.AddEnemy({380, 0, 0}, 0, 50.0f, 9);
  Shoot(w, 1, 1);
  w.Run(3);
  EXPECT_TRUE(w.Level().GetEnemies().empty());
  ASSERT_EQ(w.Level().GetSouls().size(), 1u);
  EXPECT_EQ(w.Level().GetSouls().front().GetColor(), 0u);
}

TEST_F(ShotScenario, APushFaceFromBehindStopsTheShotAtItsStartAndOnlyPowers1To3HaveABeam) {
  CPushable& block = w.Level().GetPushables().emplace_back();
  CCollisionShape& face = block.GetFrontShape();
  face.AddVertex(D3DXVECTOR3(250, 100, 0));
  face.AddVertex(D3DXVECTOR3(250, -100, 0));  // its edge points -y: met from behind along +x
  face.ComputeBounds();
  CBullet& shot = Shoot(w, 1, 1, D3DXVECTOR3(200, 0, 0));
  w.Frame();
  EXPECT_TRUE(shot.IsFinished());
  EXPECT_EQ(shot.GetHit(), CBullet::Hit::Wall);
  EXPECT_EQ(shot.GetPosition(), D3DXVECTOR3(200, 0, 0));

  for (uint32_t power : {0u, 1u, 2u, 3u, 4u}) {
    CBullet& s = Shoot(w, 0, power, D3DXVECTOR3(0, 3000, 0));
    EXPECT_EQ(s.HasBeam(), power >= 1 && power <= 3) << power;
  }
}

TEST_F(ShotScenario, AnOpenedGrateIsAWallToTheNextShot) {
  CWireGrate& grate = w.Level().GetWireGrates().emplace_back();
  grate.GetCollisionBox(0).BuildBox(D3DXVECTOR3(300, 0, 0), 20, 200, 0);
  grate.GetOpenedShape(0).BuildBox(D3DXVECTOR3(300, 0, 0), 20, 200, 0);
  grate.Deactivate();  // opened
  CBullet& shot = Shoot(w, 0, 1);
  w.Run(3);
  EXPECT_EQ(shot.GetHit(), CBullet::Hit::Wall);
  EXPECT_EQ(w.Level().GetEffects().size(), 1u);
}

}  // namespace
