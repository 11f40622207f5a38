// The shooter and the cocoon turret: when they fire, what their bullets
// hit, homing, and the cocoon's shell.
#include "game/effects/ParticleEffect.h"
#include "game/enemies/EnemyKinds.h"
#include "game/enemies/EnemyScenarioSupport.h"
#include "engine/util/Random.h"

namespace {

using Shooter = enemytest::Scene;
using Cocoon = enemytest::Scene;
using Nembra::CEnemy2BulletWallHitEffect;
using Nembra::CEnemy3BulletWallHitEffect;

TEST_F(Shooter, WalksBehindAWallAndFiresOneBulletPerShot) {
  w.PlacePlayer({500, 0, 0});
  CEnemy3& blocked = Add<CEnemy3>({-500, -400, 0});
  w.AddWall(1, {{0, -600, 0}, {0, -200, 0}});
  CEnemy3& clear = Add<CEnemy3>({-300, 300, 0});
  scenario::CountingSound shot;
  clear.SetShotSound(&shot);
  blocked.SetShotSound(&shot);
  w.Frame();
  EXPECT_TRUE(blocked.IsMoving());
  EXPECT_EQ(blocked.GetAnimationName(), "Ene3CaminarAdelante");
  EXPECT_FALSE(blocked.IsShooting());
  EXPECT_TRUE(clear.IsShooting());
  EXPECT_FALSE(clear.IsMoving());

  // Shots begun (the set starting again) against bullets fired, over four
  // seconds; the walker behind the wall never fires.
  int begun = 1;
  size_t fired = w.Level().GetEnemy3Bullets().size();
  for (int i = 0; i < 200; ++i) {
    const size_t before = w.Level().GetEnemy3Bullets().size();
    const double position = clear.GetSprite()->GetTrackPosition();
    w.Frame();
    if (clear.GetSprite()->GetTrackPosition() < position) ++begun;
    if (w.Level().GetEnemy3Bullets().size() > before) fired += w.Level().GetEnemy3Bullets().size() - before;
  }
  EXPECT_GE(begun, 2);
  EXPECT_EQ(static_cast<int>(fired), begun);
  EXPECT_EQ(shot.plays, begun);
  EXPECT_FALSE(blocked.IsShooting());
}

TEST_F(Shooter, AHomingBulletFindsAPlayerWhoSideStepsAndHitsFor12) {
  SideStepAHomingShot(w.Level().GetEnemy3Bullets(), 120.0f);
  ASSERT_EQ(Count<CEnemy3BulletWallHitEffect>(), 1);
  auto* effect = dynamic_cast<CEnemy3BulletWallHitEffect*>(w.Level().GetEffects().back());
  EXPECT_NE(effect->GetSound(), nullptr);
  ASSERT_NE(effect->GetEmitter(), nullptr);
  EXPECT_FLOAT_EQ(effect->GetEmitter()->GetPosition().z, 120.0f);
  EXPECT_LT(enemytest::Distance(effect->GetPosition(), w.Player().GetPosition()), 110.0f);
}

TEST_F(Shooter, AMissEndsAfter1500UnitsWithoutEffectAndGoesWhenItsTrailHasDied) {
  w.PlacePlayer({0, 2500, 0});  // homed on far beyond its range: it never arrives
  CEnemy3Bullet& bullet =
      w.Level().SpawnShot(w.Level().GetEnemy3Bullets(), D3DXVECTOR3(0, -100, 100), D3DXVECTOR3(0, -1, 0), 12u);
  ExpectEndAt1500(bullet);
  EXPECT_TRUE(bullet.GetEmitter()->IsStopped());
  EXPECT_TRUE(w.RunUntil([&] { return w.Level().GetEnemy3Bullets().empty(); }, 400));
  EXPECT_EQ(w.Level().GetEffects().size(), 0u);
  EXPECT_EQ(w.Player().GetHealth(), CPlayer::MAX_HEALTH);
}

TEST_F(Shooter, AShotWithoutTrailStillFliesHitsAndEnds) {
  w.PlacePlayer({0, 0, 0});
  w.AddWall(0, {{400, -1000, 0}, {400, 1000, 0}});
  Launch(false, w.Level().GetEnemy3Bullets(), D3DXVECTOR3(-200, 500, 90), D3DXVECTOR3(1, 0, 0), 12u);
  w.PlacePlayer({3000, 500, 0});
  EXPECT_TRUE(w.RunUntil([&] { return w.Level().GetEnemy3Bullets().empty(); }, 60));
  ASSERT_EQ(Count<CEnemy3BulletWallHitEffect>(), 1);
  CEntity* effect = w.Level().GetEffects().back();
  EXPECT_NEAR(effect->GetPosition().x, 400.0f, 60.0f);
  auto* impact = dynamic_cast<CEnemy3BulletWallHitEffect*>(effect);
  ASSERT_NE(impact->GetEmitter(), nullptr);
  EXPECT_FLOAT_EQ(impact->GetEmitter()->GetPosition().z, 0.0f);
}

TEST_F(Shooter, ItsKeyFiresNothingUntilItsMuzzleIsPlaced) {
  w.PlacePlayer({0, 0, 0});
  CEnemy3CBH handler;
  CEnemy3 loose(0);  // never in the scene: its muzzle is at the origin
  scenario::CountingSound shot;
  loose.SetShotSound(&shot);
  EXPECT_EQ(handler.HandleCallback(0, &loose), 0);
  EXPECT_TRUE(w.Level().GetEnemy3Bullets().empty());
  EXPECT_EQ(shot.plays, 0);
  // A frame in the scene places it; with the player down it stands.
  CEnemy3& placed = Add<CEnemy3>({-300, 300, 0});
  w.Player().Deactivate();
  w.Frame();
  ASSERT_FALSE(placed.IsShooting());
  ASSERT_NE(placed.GetMuzzle().WorldPosition(), D3DXVECTOR3(0, 0, 0));
  EXPECT_EQ(handler.HandleCallback(0, &placed), 0);
  ASSERT_EQ(w.Level().GetEnemy3Bullets().size(), 1u);
  EXPECT_EQ(w.Level().GetEnemy3Bullets().front().GetPower(), 12u);
}

TEST_F(Cocoon, ClosedItIgnoresShotsAndOpensAfter25FramesOnAverage) {
  w.PlacePlayer({0, 0, 0});
  CEnemy2& cocoon = Add<CEnemy2>({300, 0, 0});
  cocoon.OnShotHit(blue);
  EXPECT_FALSE(cocoon.WasHit());
  EXPECT_EQ(cocoon.GetHealth(), 7u);
  // Damage reaches it closed.
  cocoon.Damage(1);
  EXPECT_EQ(cocoon.GetHealth(), 6u);

  Nembra::SeedRandom(1234);
  long total = 0;
  for (int run = 0; run < 400; ++run) {
    CEnemy2 fresh(0);
    fresh.SetPosition(D3DXVECTOR3(300, 0, 0));
    for (int steps = 0; fresh.GetState() == CEnemy2::CLOSED && steps < 1000; ++steps, ++total) fresh.Step();
  }
  EXPECT_NEAR(static_cast<double>(total) / 400.0, 25.0, 4.0);
}

TEST_F(Cocoon, EachVolleyIsThreeFlatBulletsAwayFromTheCentre) {
  w.PlacePlayer({0, -400, 0});
  CEnemy2& cocoon = Add<CEnemy2>({0, 100, 0});
  scenario::CountingSound shot;
  cocoon.SetShotSound(&shot);
  ASSERT_TRUE(w.RunUntil([&] { return !w.Level().GetEnemy2Bullets().empty(); }, 300));
  EXPECT_EQ(cocoon.GetState(), CEnemy2::ATTACKING);
  ASSERT_EQ(w.Level().GetEnemy2Bullets().size(), 3u);
  EXPECT_EQ(shot.plays, 1);
  const D3DXVECTOR3 centre = cocoon.WorldPosition();
  std::vector<D3DXVECTOR3> directions;
  for (CEnemy2Bullet& bullet : w.Level().GetEnemy2Bullets()) {
    EXPECT_EQ(bullet.GetPower(), 15u);
    EXPECT_FLOAT_EQ(bullet.GetPosition().z, 0.0f);
    EXPECT_FLOAT_EQ(bullet.GetDirection().z, 0.0f);
    D3DXVECTOR3 away = bullet.GetPosition() - centre;
    away.z = 0.0f;
    D3DXVec3Normalize(&away, &away);
    EXPECT_GT(D3DXVec3Dot(&away, &bullet.GetDirection()), 0.99f);
    directions.push_back(bullet.GetDirection());
  }
  // Three distinct directions: none aims at the player.
  EXPECT_LT(D3DXVec3Dot(&directions[0], &directions[1]), 0.999f);
  EXPECT_LT(D3DXVec3Dot(&directions[1], &directions[2]), 0.999f);
  // One volley a pass of the looped attack (1 second).
  w.Run(50);
  EXPECT_EQ(shot.plays, 2);
}

TEST_F(Cocoon, ABulletStopsAtAStandingBoxAndLeavesItWhole) {
  w.PlacePlayer({0, -3000, 0});
  CBox& box = AddBox({400, 0, 0});
  CEnemy2Bullet& bullet =
      w.Level().SpawnShot(w.Level().GetEnemy2Bullets(), D3DXVECTOR3(0, 0, 80), D3DXVECTOR3(1, 0, 0), 15u);
  EXPECT_TRUE(w.RunUntil([&] { return bullet.IsEnded(); }, 40));
  EXPECT_LT(bullet.GetPosition().x, 400.0f);
  EXPECT_GT(bullet.GetPosition().x, 250.0f);
  EXPECT_TRUE(box.IsActive());
  EXPECT_EQ(Count<CEnemy2BulletWallHitEffect>(), 1);

  // One that meets nothing ends after 1500 units: 75 updates of 20.
  ExpectEndAt1500(
      w.Level().SpawnShot(w.Level().GetEnemy2Bullets(), D3DXVECTOR3(0, 500, 80), D3DXVECTOR3(-1, 0, 0), 15u));
}

TEST_F(Cocoon, LeavingTheRangeClosesItAtOnceAndADeadPlayerSnapsItShut) {
  w.PlacePlayer({0, -400, 0});
  CEnemy2& cocoon = Add<CEnemy2>({0, 100, 0});
  ASSERT_TRUE(w.RunUntil([&] { return cocoon.GetState() == CEnemy2::ATTACKING; }, 300));
  w.PlacePlayer({0, -600, 0});
  w.Frame();
  EXPECT_EQ(cocoon.GetState(), CEnemy2::CLOSING);
  EXPECT_EQ(cocoon.GetAnimationName(), "Ene2MutarCapullo");
  w.PlacePlayer({0, -400, 0});
  ASSERT_TRUE(w.RunUntil([&] { return cocoon.GetState() != CEnemy2::CLOSING; }, 300));
  EXPECT_EQ(cocoon.GetState(), CEnemy2::OPENING);
  w.Player().Deactivate();
  w.Frame();
  EXPECT_EQ(cocoon.GetState(), CEnemy2::CLOSED);
  EXPECT_EQ(cocoon.GetAnimationName(), "Ene2Quieto");
}

}  // namespace
