// The horn-and-spit enemy: the distance rules, the spit's chance, the
// horn's damage and the gas ball's arc and hits.
#include <cmath>

#include "engine/app/Application.h"
#include "engine/resources/Shader.h"
#include "engine/resources/Texture.h"
#include "engine/util/Random.h"
#include "game/effects/GasSplash.h"
#include "game/enemies/EnemyHornSpit.h"
#include "game/enemies/EnemyScenarioSupport.h"
#include "game/mechanisms/barriers/Roof.h"

namespace {

class HornAndSpit : public enemytest::Scene {
 protected:
  CEnemy6Bullet& Ball(const D3DXVECTOR3& at, const D3DXVECTOR3& direction, uint32_t power) {
    return Launch(true, w.Level().GetEnemy6Bullets(), at, direction, power);
  }
};

TEST_F(HornAndSpit, TheDistanceRulesPickIdleSpitChaseOrHorn) {
  Nembra::SeedRandom(3);
  w.PlacePlayer({0, 0, 0});
  CEnemy6& far = Add<CEnemy6>({1201, 0, 0});
  CEnemy6& mid = Add<CEnemy6>({0, 300, 0});
  CEnemy6& close = Add<CEnemy6>({0, -150, 0});
  w.Frame();
  EXPECT_EQ(far.GetAnimationName(), "Ene6Reposo");
  EXPECT_FALSE(far.IsMoving());
  EXPECT_EQ(mid.GetAnimationName(), "Ene6CaminarAdelante");
  EXPECT_TRUE(mid.IsMoving());
  EXPECT_FALSE(mid.IsSpitting());
  EXPECT_TRUE(close.IsHorning());
  EXPECT_EQ(close.GetAnimationName(), "Ene6GolpeCuerno");
  EXPECT_EQ(close.GetHealth(), 5u);
  EXPECT_EQ(close.GetRadius(), 70.0f);
  // A dead player: the walker stands.
  w.Player().Deactivate();
  w.Frame();
  EXPECT_EQ(mid.GetAnimationName(), "Ene6Reposo");
  EXPECT_FALSE(mid.IsMoving());
}

TEST_F(HornAndSpit, BetweenFiveHundredAndTwelveHundredItSpitsOneFrameInFour) {
  Nembra::SeedRandom(21);
  w.PlacePlayer({0, 0, 0});
  int total = 0;
  const int runs = 400;
  for (int run = 0; run < runs; ++run) {
    CEnemy6& e = Add<CEnemy6>({0, 800, 0});
    const int frames = FramesUntil([&] { return e.IsSpitting(); }, 200);
    EXPECT_EQ(e.GetAnimationName(), "Ene6GolpeEscupir");
    total += frames;
    Remove(&e);
  }
  EXPECT_NEAR(total / static_cast<double>(runs), 4.0, 0.5);
}

TEST_F(HornAndSpit, TheSpitKeyLaunchesOneBallLiftedByTheDistance) {
  w.PlacePlayer({0, 0, 0});
  CEnemy6& e = Add<CEnemy6>({1000, 0, 0});
  e.SetRotationZ(0.5f);
  enemytest::ExpectNear(e.LaunchDirection(), {std::cos(0.5f), std::sin(0.5f), 0.8f}, 1e-4f);
  CEnemy6CBH handler;
  ENEMY6_KEY horn = e.GetKey(0);
  ENEMY6_KEY spit = e.GetKey(1);
  EXPECT_EQ(horn.key, 1);
  EXPECT_EQ(spit.key, 2);
  EXPECT_EQ(handler.HandleCallback(0, &horn), 0);
  EXPECT_TRUE(w.Level().GetEnemy6Bullets().empty());
  scenario::CountingSound shot;
  e.SetShotSound(&shot);
  EXPECT_EQ(handler.HandleCallback(0, &spit), 0);
  ASSERT_EQ(w.Level().GetEnemy6Bullets().size(), 1u);
  EXPECT_EQ(w.Level().GetEnemy6Bullets().front().GetPower(), 0);
  EXPECT_EQ(shot.plays, 1);
}

TEST_F(HornAndSpit, TheHornCostsAboutNineASecondOfContact) {
  w.PlacePlayer({0, 0, 0});
  CEnemy6& e = Add<CEnemy6>({140, 0, 0}, 0, {-1, 0, 0});
  e.SetRotationZ(3.14159265f);
  w.Frame();
  ASSERT_TRUE(e.IsHorning());
  const uint32_t before = w.Player().GetHealth();
  int contact = 0;
  for (int i = 0; i < 500; ++i) {
    const uint32_t h = w.Player().GetHealth();
    const float acc = w.Player().GetDamageAccumulator();
    w.Frame();
    contact += (w.Player().GetHealth() != h || w.Player().GetDamageAccumulator() != acc) ? 1 : 0;
  }
  ASSERT_GT(contact, 0) << "the horn never touched the player";
  const float lost = static_cast<float>(before - w.Player().GetHealth()) + w.Player().GetDamageAccumulator();
  EXPECT_NEAR(lost / (contact * 0.02f), 9.0f, 1.0f);
}

TEST_F(HornAndSpit, ABallArcsToTheFloorOrStopsAtTheFirstThingItMeets) {
  w.PlacePlayer({0, 5000, 0});
  CEnemy6Bullet& ball = Ball({0, 0, 150}, {1, 0, 0.8f}, 0);
  int landed = 0;
  for (; !ball.HasLanded() && landed < 200; ++landed) ball.Step();
  EXPECT_EQ(landed, 69);
  EXPECT_NEAR(ball.GetPosition().x, 955.8f, 0.5f);
  EXPECT_EQ(ball.GetPosition().z, 0.0f);
  EXPECT_EQ(ball.GetHitKind(), CEnemy6Bullet::FLOOR);
  EXPECT_NE(ball.GetEmitter(), nullptr);
  // The puddle: spreading, a zone of (40, 4, 0.125) at the landing place.
  ASSERT_EQ(Count<Nembra::CEnemy6BulletFloorHitEffect>(), 1);
  auto* puddle = dynamic_cast<Nembra::CEnemy6BulletFloorHitEffect*>(w.Level().GetEffects().back());
  ASSERT_NE(puddle->GetZone(), nullptr);
  EXPECT_NEAR(puddle->GetPosition().x, 955.8f, 0.5f);
  EXPECT_TRUE(puddle->GetZone()->IsAlive());
  EXPECT_NE(puddle->GetSplat().GetMesh(), nullptr);
  EXPECT_EQ(puddle->GetSplat().GetPosition().z, 1.0f);
  // The records' references go back once the emitters hold their own.
  EXPECT_EQ(Nembra::g_pTextureFactory->Find("GasParticle.tga")->GetRefCount(), 1u);
  EXPECT_EQ(Nembra::g_pShaderFactory->Find("AUTO_ENEMY6_BULLET_FLOOR_HIT_PARTICLE_SYSTEM_SHADER")->GetRefCount(), 1u);
  // "Spread" lasts 1 s; then 4 s of lingering; then the fade switches the zone off.
  const size_t zones = w.Level().GetSlowDowners().size();
  const int frames = FramesUntil([&] { return puddle->IsFading(); }, 1000);
  EXPECT_NEAR(frames, 250, 3);
  EXPECT_EQ(puddle->GetZone(), nullptr);
  w.Frame();
  EXPECT_EQ(w.Level().GetSlowDowners().size(), zones - 1);
  // The fade ends and the level lets the puddle go.
  EXPECT_TRUE(w.RunUntil([&] { return !Listed(puddle); }, 200));

  // A player hit costs the power and 20 more.
  w.PlacePlayer({300, 0, 0});
  CEnemy6Bullet& hit = Ball({0, 0, 100}, {1, 0, 0}, 5);
  const uint32_t before = w.Player().GetHealth();
  for (int i = 0; i < 30 && !hit.HasLanded(); ++i) hit.Step();
  EXPECT_EQ(hit.GetHitKind(), CEnemy6Bullet::PLAYER);
  EXPECT_EQ(before - w.Player().GetHealth(), 25u);
  EXPECT_NE(dynamic_cast<Nembra::CEnemy6BulletWallHitEffect*>(w.Level().GetEffects().back()), nullptr);

  // Player and wall in one long step: the wall takes it, no 20.
  w.AddWall(0, {{340, -1000, 0}, {340, 1000, 0}});
  w.Player().Respawn();
  CEnemy6Bullet& both = Ball({100, 0, 100}, {1, 0, 0.25f}, 0);
  const float saved = Nembra::g_FrameTime;
  Nembra::g_FrameTime = 0.3f;
  for (int i = 0; i < 3 && !both.HasLanded(); ++i) both.Step();
  Nembra::g_FrameTime = saved;
  EXPECT_EQ(both.GetHitKind(), CEnemy6Bullet::WALL);
  EXPECT_LE(both.GetPosition().x, 340.0f);
  EXPECT_EQ(w.Player().GetHealth(), w.Player().GetMaxHealth());
}

TEST_F(HornAndSpit, APuddleSlowsThePlayerWhereItLiesAndNowhereElse) {
  Stand({0, 0, 0});
  CEnemy6Bullet& ball = Ball({700, -400, 10}, {0, 0, -1}, 0);
  for (int i = 0; i < 5 && !ball.HasLanded(); ++i) ball.Step();
  ASSERT_EQ(ball.GetHitKind(), CEnemy6Bullet::FLOOR);
  ASSERT_EQ(w.Level().GetSlowDowners().size(), 1u);
  CSlowDowner& zone = w.Level().GetSlowDowners().front();
  enemytest::ExpectNear(zone.GetWorldPosition(), {700.0f, -400.0f, 0.0f}, 0.01f);
  // The player at the origin walks on; in the puddle it is slowed.
  w.Frame();
  EXPECT_EQ(w.Player().GetSpeedFactor(), 1.0f);
  Stand({700, -400, 0});
  w.Frame();
  EXPECT_EQ(w.Player().GetSpeedFactor(), CPlayer::SLOW_FACTOR);
}

}  // namespace
