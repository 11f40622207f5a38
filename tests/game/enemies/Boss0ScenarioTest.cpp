// The first boss: when it rests, walks, shoots and throws its ring, what
// its shots do, how it takes the ability, waves and shots, and its death.
#include <cmath>
#include <memory>
#include <vector>

#include "engine/sound/AudiereSound.h"
#include "game/effects/ParticleEffect.h"
#include "game/enemies/EnemyScenarioSupport.h"
#include "game/enemies/bosses/Boss0.h"
#include "game/script/ScriptVariables.h"

namespace {

using FirstBoss = enemytest::Scene;
using namespace Nembra;

constexpr float kPi = 3.14159265358979f;

bool Shooting(const CBoss0& boss) {
  return boss.GetAnimationName() == CBoss0::SHOOT_LEFT || boss.GetAnimationName() == CBoss0::SHOOT_RIGHT;
}

TEST_F(FirstBoss, RestsBeyond3000WalksNearerOrBehindAWallAndShootsWithinAClearThousand) {
  w.PlacePlayer({3001, 0, 0});
  CBoss0& boss = Add<CBoss0>({0, 0, 0});
  ASSERT_NE(boss.GetSprite()->GetMesh(), nullptr);
  // Each boss holds its shot sound while it lives.
  auto shots = [] { return g_pAudiereSoundFactory->Find("Ene3Disparo.wav")->GetRefCount(); };
  const uint32_t held = shots();
  std::make_unique<CBoss0>(1).reset();
  EXPECT_EQ(shots(), held);
  EXPECT_GE(held, 1u);
  EXPECT_EQ(boss.GetEnergyValue(), 10u);  // whatever the weapon's power
  EXPECT_EQ(boss.GetHealth(), 100u);
  w.Run(3);
  EXPECT_EQ(boss.GetAnimationName(), "Ene3Reposo");
  EXPECT_FALSE(boss.IsMoving());
  EXPECT_FLOAT_EQ(boss.GetPosition().x, 0.0f);

  w.PlacePlayer({2500, 0, 0});
  w.Run(50);
  EXPECT_EQ(boss.GetAnimationName(), "CaminarAdelante");
  EXPECT_TRUE(boss.IsMoving());
  EXPECT_NEAR(boss.GetPosition().x, 110.0f, 15.0f);  // 110 a second
  EXPECT_TRUE(w.Level().GetBoss0Bullets().empty());

  // Within 1000 but behind a wall it keeps walking.
  w.AddWall(1, {{600, -400, 0}, {600, 400, 0}});
  w.PlacePlayer({1000, 0, 0});
  w.Run(5);
  EXPECT_EQ(boss.GetAnimationName(), "CaminarAdelante");
  EXPECT_FALSE(boss.IsAttacking());

  // A clear line: one of the two shooting sets, the hand it names.
  w.PlacePlayer({boss.GetPosition().x, 900, 0});
  w.Frame();
  EXPECT_TRUE(boss.IsAttacking());
  EXPECT_FALSE(boss.IsMoving());
  ASSERT_TRUE(Shooting(boss));
  EXPECT_EQ(boss.GetHand(), boss.GetAnimationName() == CBoss0::SHOOT_RIGHT ? 1u : 0u);

  // A dead player: the started attack plays out, then rest.
  w.Player().Deactivate();
  ASSERT_TRUE(w.RunUntil([&] { return !boss.IsAttacking(); }, 60));
  EXPECT_EQ(boss.GetAnimationName(), "Ene3Reposo");
  w.Run(60);
  EXPECT_FALSE(boss.IsAttacking());
}

TEST_F(FirstBoss, EitherHandFiresOneHomingShotAtFiveEighthsOfASecond) {
  w.PlacePlayer({700, 0, 0});
  int hands[2] = {0, 0};
  for (uint32_t colour = 0; colour < 2; ++colour)
    for (int round = 0; round < 4; ++round) {
      CBoss0& boss = Add<CBoss0>({0, 0, 0}, colour);
      w.Frame();
      ASSERT_TRUE(Shooting(boss));
      const uint32_t hand = boss.GetHand();
      ++hands[hand];
      // The key at 3000 of 4800 ticks a second: passed on the 32nd frame.
      EXPECT_EQ(1 + FramesUntil([&] { return !w.Level().GetBoss0Bullets().empty(); }, 59), 32);
      ASSERT_EQ(w.Level().GetBoss0Bullets().size(), 1u);
      CBoss0Bullet& shot = w.Level().GetBoss0Bullets().front();
      EXPECT_EQ(shot.GetPower(), 12u);
      EXPECT_EQ(shot.GetColour(), colour);
      // From the firing hand (its height in the trail), along the facing, at the player.
      CEntity& firing = hand == 1 ? boss.GetRightHand() : boss.GetLeftHand();
      CEntity& other = hand == 1 ? boss.GetLeftHand() : boss.GetRightHand();
      ASSERT_NE(shot.GetEmitter(), nullptr);
      EXPECT_NEAR(shot.GetEmitter()->GetPosition().z, firing.WorldPosition().z, 15.0f);
      EXPECT_GT(std::fabs(firing.WorldPosition().y - other.WorldPosition().y), 20.0f);
      D3DXVECTOR3 start;
      boss.GetModelPosition(start);
      EXPECT_FLOAT_EQ(start.y, firing.WorldPosition().y);
      EXPECT_LT(std::fabs(shot.GetPosition().y - firing.WorldPosition().y),
                std::fabs(shot.GetPosition().y - other.WorldPosition().y));
      const float h = boss.GetWorldRotationZ();
      EXPECT_NEAR(shot.GetDirection().x, std::cos(h), 0.05f);
      EXPECT_GT(shot.GetDirection().x, 0.9f);
      // Gone: the boss, then its shot (the player stays unhurt for the next round).
      shot.RemoveFromScene();
      w.Level().GetBoss0Bullets().clear();
      boss.Kill();
      ASSERT_TRUE(w.RunUntil([&] { return w.Level().GetEnemies().empty(); }, 200));
      w.Level().GetBoss0Bullets().clear();
    }
  EXPECT_GT(hands[0], 0);
  EXPECT_GT(hands[1], 0);
}

TEST_F(FirstBoss, AShotHomesOntoTheSideSteppingPlayerHitsFor12AndBurstsThere) {
  SideStepAHomingShot(w.Level().GetBoss0Bullets(), 150.0f, 1u);
  // The wall burst comes at the player's own place.
  ASSERT_EQ(Count<CBoss0BulletWallHitEffect>(), 1);
  EXPECT_LT(enemytest::Distance(w.Level().GetEffects().back()->GetPosition(), w.Player().WorldPosition()), 1.0f);
  EXPECT_TRUE(w.RunUntil([&] { return w.Level().GetBoss0Bullets().empty(); }, 400));
}

TEST_F(FirstBoss, ShotsPassObjectShapesStopAtStaticWallsAndBoxesAndFlyWithoutTrail) {
  w.PlacePlayer({3000, 0, 0});
  // A shape that only stands as an object: the shooter's shot stops at it,
  // the boss's shot does not.
  CBox standing;
  standing.SetPosition(D3DXVECTOR3(300, 0, 0));
  standing.BuildCollisionBoxes();
  standing.UpdateWorldMatrix();
  w.Level().GetCollision().AddCollisionShape(&standing.GetCollisionBox(0), 0);
  w.AddWall(0, {{800, -1000, 0}, {800, 1000, 0}});
  w.Level().SpawnShot(w.Level().GetEnemy2Bullets(), D3DXVECTOR3(0, 0, 100), D3DXVECTOR3(1, 0, 0), 15u);
  CBoss0AbilityBullet& ring =
      w.Level().SpawnShot(w.Level().GetBoss0AbilityBullets(), D3DXVECTOR3(0, -10, 180), D3DXVECTOR3(1, 0, 0), 70u);
  // Without its particle file the shot still flies and hits.
  CBoss0Bullet& bare =
      Launch(false, w.Level().GetBoss0Bullets(), D3DXVECTOR3(0, 10, 100), D3DXVECTOR3(1, 0, 0), 12u, 0u);
  // Where the cocoon's shot burst (its effect may be over before the end).
  float enemyHitX = 1e9f;
  EXPECT_TRUE(w.RunUntil(
      [&] {
        for (CEntity* effect : w.Level().GetEffects())
          if (dynamic_cast<CEnemy2BulletWallHitEffect*>(effect)) enemyHitX = effect->GetPosition().x;
        return ring.IsEnded() && bare.IsEnded();
      },
      60));
  EXPECT_LT(enemyHitX, 300.0f);
  EXPECT_NEAR(ring.GetPosition().x, 775.0f, 30.0f);
  EXPECT_NEAR(bare.GetPosition().x, 775.0f, 30.0f);
  EXPECT_EQ(Count<CBoss0AbilityBulletWallHitEffect>(), 1);
  EXPECT_EQ(Count<CBoss0BulletWallHitEffect>(), 1);
  EXPECT_TRUE(w.RunUntil([&] { return w.Level().GetBoss0Bullets().empty(); }, 5));
  w.Level().GetCollision().RemoveCollisionShape(&standing.GetCollisionBox(0), 0);

  // A standing box of the level stops it and stays whole.
  CBox& box = AddBox({400, 500, 0});
  CBoss0AbilityBullet& boxed =
      w.Level().SpawnShot(w.Level().GetBoss0AbilityBullets(), D3DXVECTOR3(0, 500, 180), D3DXVECTOR3(1, 0, 0), 70u);
  EXPECT_TRUE(w.RunUntil([&] { return boxed.IsEnded(); }, 40));
  EXPECT_LT(boxed.GetPosition().x, 400.0f);
  EXPECT_TRUE(box.IsActive());
  EXPECT_EQ(w.Player().GetHealth(), CPlayer::MAX_HEALTH);
}

TEST_F(FirstBoss, EveryTenSecondsACoinStartsTheRingOfTwelveAtThreeAndAHalfSeconds) {
  Stand({0, -2500, 0});  // the camera stays on the boss: a boss out of sight fires nothing
  CBoss0& boss = Add<CBoss0>({0, 0, 0}, 1);
  boss.SetSpeed(0.0f);  // it stays out of shooting range
  std::vector<int> starts;
  for (int frame = 1; frame <= 3000; ++frame) {
    const bool before = boss.GetAnimationName() == CBoss0::ABILITY;
    w.Frame();
    if (before || boss.GetAnimationName() != CBoss0::ABILITY) continue;
    starts.push_back(frame);
    EXPECT_FALSE(boss.IsMoving());
    EXPECT_TRUE(boss.IsAttacking());
    EXPECT_FLOAT_EQ(boss.GetAbilityTimer(), 0.0f);
    if (starts.size() > 1) continue;
    // 17000 of 4800 ticks a second: 3.54 s, passed on the 178th frame.
    const size_t shots = w.Level().GetBoss0AbilityBullets().size();
    const int n = FramesUntil([&] { return w.Level().GetBoss0AbilityBullets().size() != shots; }, 299);
    frame += n;
    EXPECT_EQ(n + 1, 178);
    ASSERT_EQ(w.Level().GetBoss0AbilityBullets().size(), 12u);
    int i = 0;
    for (CBoss0AbilityBullet& shot : w.Level().GetBoss0AbilityBullets()) {
      const float a = 2.0f * kPi * float(i++) / 12.0f;
      enemytest::ExpectNear(shot.GetDirection(), {std::cos(a), std::sin(a), 0.0f});
      EXPECT_EQ(shot.GetPower(), 70u);
      // From the boss (or one step out), at height 0, the trail at 180.
      const D3DXVECTOR3 out = shot.GetPosition() - boss.GetPosition();
      const float along = out.x * std::cos(a) + out.y * std::sin(a);
      EXPECT_GE(along, -0.01f);
      EXPECT_LE(along, 20.01f);
      EXPECT_NEAR(-out.x * std::sin(a) + out.y * std::cos(a), 0.0f, 0.01f);
      EXPECT_EQ(shot.GetPosition().z, 0.0f);
      EXPECT_FLOAT_EQ(shot.GetEmitter()->GetPosition().z, 180.0f);
    }
  }
  ASSERT_GE(starts.size(), 3u);
  // Every start is 10 s after the last one began (the first after the
  // boss's first frame), or a lost coin's 4 s later each time.
  bool retried = false;
  int last = 0;
  for (int start : starts) {
    const int waited = start - last;
    EXPECT_GE(waited, 500);
    const int late = (waited - 500) % 200;
    EXPECT_TRUE(late <= 1 || late >= 199) << "start " << start << " waited " << waited;
    if (waited > 600) retried = true;
    last = start;
  }
  EXPECT_TRUE(retried);
  EXPECT_EQ(boss.GetHealth(), 100u);
}

TEST_F(FirstBoss, TheAbilityTakes10AtMostOnceInTenSecondsAndWavesKillByColour) {
  w.PlacePlayer({0, -5000, 0});
  CBoss0& boss = Add<CBoss0>({0, 0, 0});
  boss.KillNow();
  boss.KillNow();
  EXPECT_EQ(boss.GetHealth(), 90u);
  EXPECT_FALSE(boss.IsDying());
  const int frames = FramesUntil([&] { return boss.GetAbilityHitCooldown() <= 0.0f; }, 600);
  EXPECT_GE(frames, 500);
  EXPECT_LE(frames, 501);
  boss.KillNow();
  EXPECT_EQ(boss.GetHealth(), 80u);

  // A red boss: a red wave passes, a blue one kills it outright.
  boss.OnWaveHit(0);
  EXPECT_FALSE(boss.IsDying());
  EXPECT_EQ(boss.GetHealth(), 80u);
  boss.OnWaveHit(1);
  EXPECT_TRUE(boss.IsDying());
  EXPECT_EQ(boss.GetHealth(), 0u);
  CBoss0& blue = Add<CBoss0>({500, 0, 0}, 1);
  blue.OnWaveHit(1);
  EXPECT_FALSE(blue.IsDying());
  blue.OnWaveHit(0);
  EXPECT_TRUE(blue.IsDying());
}

TEST_F(FirstBoss, AKillingShotBringsTheKillEffectAndTheKillScriptOnceAndASoulOf10) {
  w.PlacePlayer({0, -5000, 0});
  w.Player().GetWeapon().SetPower(1);
  CBoss0& boss = Add<CBoss0>({0, 0, 0});
  boss.SetHealth(2);
  boss.OnShotHit(red);
  EXPECT_EQ(boss.GetHealth(), 2u);
  boss.OnShotHit(blue);
  EXPECT_EQ(boss.GetHealth(), 1u);
  EXPECT_EQ(VarTableGet("Intermedio_Down"), 0);
  boss.OnShotHit(blue);
  EXPECT_TRUE(boss.IsDying());
  EXPECT_EQ(VarTableGet("Intermedio_Down"), 1);
  ASSERT_EQ(Count<CBoss0KillEffect>(), 1);
  auto* effect = dynamic_cast<CBoss0KillEffect*>(w.Level().GetEffects().back());
  ASSERT_NE(effect->GetEmitter(), nullptr);
  EXPECT_FLOAT_EQ(effect->GetEmitter()->GetPosition().z, 120.0f);
  // More blows on the dead boss change nothing.
  boss.Damage(5);
  boss.OnShotHit(blue);
  EXPECT_EQ(VarTableGet("Intermedio_Down"), 1);
  EXPECT_EQ(Count<CBoss0KillEffect>(), 1);
  ASSERT_TRUE(w.RunUntil([&] { return w.Level().GetEnemies().empty(); }, 300));
  ASSERT_EQ(w.Level().GetSouls().size(), 1u);
  // Worth 10 when left (a little less after the fade's frames).
  EXPECT_GE(w.Level().GetSouls().front().GetValue(), 9u);
  EXPECT_LE(w.Level().GetSouls().front().GetValue(), 10u);
}

TEST_F(FirstBoss, DyingMidAttackFiresNothingMore) {
  w.PlacePlayer({600, 0, 0});
  CBoss0& shooter = Add<CBoss0>({0, 0, 0});
  w.Run(10);
  ASSERT_TRUE(Shooting(shooter));
  shooter.Damage(shooter.GetHealth());
  EXPECT_TRUE(shooter.IsDying());
  w.Run(60);
  EXPECT_TRUE(w.Level().GetBoss0Bullets().empty());

  // Mid-ability: the ring never comes.
  Stand({0, -2500, 0});
  CBoss0& thrower = Add<CBoss0>({0, 0, 0}, 1);
  thrower.SetSpeed(0.0f);
  ASSERT_TRUE(w.RunUntil([&] { return thrower.GetAnimationName() == CBoss0::ABILITY; }, 1500));
  w.Run(100);
  thrower.Damage(thrower.GetHealth());
  w.Run(150);
  EXPECT_TRUE(w.Level().GetBoss0AbilityBullets().empty());
}

}  // namespace
