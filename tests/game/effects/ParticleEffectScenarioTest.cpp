// The particle effects in playing scenarios: the frame they finish and
// leave, effects without particle file, sounds only for a living player,
// endless effects; and the screen projection the health bar uses.
#include "engine/scene/SceneManager.h"
#include "game/effects/ParticleEffect.h"
#include "game/enemies/EnemyKinds.h"
#include "game/enemies/EnemyScenarioSupport.h"
#include "platform/Graphics.h"

namespace {

using ParticleEffects = enemytest::Scene;
using HealthBar = enemytest::Scene;

// A one-shot effect of any particle file at a point, with a sound.
class PlainEffect : public COneShotParticleEffect {
 public:
  PlainEffect(const std::string& file, const D3DXVECTOR3& at) {
    Build(file, at);
    SetEmitterHeight(33.0f);
    PlaySound("Ene3ColDisparo.wav");
  }
};

TEST_F(ParticleEffects, AFinishedEffectStaysListedInactiveForTheRestOfItsFrame) {
  PlainEffect* effect = w.Level().SpawnEffect<PlainEffect>("Enemy3ImpactoBala.pfx", D3DXVECTOR3(100, 0, 0));
  ASSERT_NE(effect, nullptr);
  ASSERT_NE(effect->GetEmitter(), nullptr);
  EXPECT_FLOAT_EQ(effect->GetEmitter()->GetPosition().z, 33.0f);
  EXPECT_EQ(effect->GetPosition(), D3DXVECTOR3(100, 0, 0));
  // The emitter runs in the scene pass, after the level's update: the
  // effect sees it finished in the next frame's update.
  int frame = 0, finished = 0;
  while (effect->IsActive() && frame < 500) {
    w.Frame();
    if (!finished && effect->GetEmitter()->IsFinished()) finished = frame + 1;
    ++frame;
  }
  ASSERT_FALSE(effect->IsActive());
  EXPECT_GT(finished, 1);
  EXPECT_EQ(frame, finished + 1);
  // Frame N: finished and inactive, still in the list; frame N + 1: gone.
  EXPECT_TRUE(effect->GetEmitter()->IsFinished());
  EXPECT_TRUE(Listed(effect));
  w.Frame();
  EXPECT_TRUE(w.Level().GetEffects().empty());
}

TEST_F(ParticleEffects, WithoutItsParticleFileAnEffectEndsAtItsFirstUpdate) {
  PlainEffect* effect = w.Level().SpawnEffect<PlainEffect>("NoSuchEffect.pfx", D3DXVECTOR3(0, 0, 0));
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->GetEmitter(), nullptr);
  w.Frame();
  EXPECT_FALSE(effect->IsActive());
  w.Frame();
  EXPECT_TRUE(w.Level().GetEffects().empty());
}

TEST_F(ParticleEffects, SoundsPlayOnlyWhileThePlayerIsAlive) {
  CEnemy3Bullet bullet;
  bullet.Init(D3DXVECTOR3(0, 0, 70), D3DXVECTOR3(1, 0, 0), 12u);
  Nembra::CEnemy3BulletWallHitEffect alive(bullet);
  EXPECT_NE(alive.GetSound(), nullptr);
  ASSERT_NE(alive.GetEmitter(), nullptr);
  EXPECT_FLOAT_EQ(alive.GetEmitter()->GetPosition().z, 70.0f);
  w.Player().Deactivate();
  Nembra::CEnemy3BulletWallHitEffect dead(bullet);
  Nembra::CBoss1KillEffect kill(w.Player());
  EXPECT_EQ(dead.GetSound(), nullptr);
  EXPECT_EQ(kill.GetSound(), nullptr);
  ASSERT_NE(kill.GetEmitter(), nullptr);
  EXPECT_FLOAT_EQ(kill.GetEmitter()->GetPosition().z, 120.0f);
}

TEST_F(ParticleEffects, AnEndlessEffectStaysUntilTheLevelEmptiesAndAStoppedOneEnds) {
  PlainEffect* bar = w.Level().SpawnEffect<PlainEffect>("GenBarRed.pfx", D3DXVECTOR3(0, 0, 0));
  ASSERT_NE(bar->GetEmitter(), nullptr);
  w.Run(300);
  EXPECT_TRUE(bar->IsActive());
  EXPECT_TRUE(Listed(bar));
  EXPECT_GT(bar->GetEmitter()->GetLiveCount(), 0u);
  // Stopped from outside, it ends once its last particle is gone.
  bar->GetEmitter()->Stop();
  EXPECT_TRUE(bar->GetEmitter()->IsStopped());
  EXPECT_TRUE(w.RunUntil([&] { return w.Level().GetEffects().empty(); }, 1000));
}

TEST_F(ParticleEffects, TheShotFlashSitsAtTheHandOr40AheadInTheShotsColour) {
  w.PlacePlayer({200, 100, 0});
  w.Player().SetShotDirection(D3DXVECTOR3(0, 1, 0));
  const D3DXVECTOR3 hand = w.Player().GetHand().GetWorldPosition();
  Nembra::COrdinaryWeaponEffect muzzle(true, 0);
  Nembra::COrdinaryWeaponEffect emission(false, 1);
  EXPECT_EQ(muzzle.GetPosition(), hand);
  EXPECT_NEAR(emission.GetPosition().y, hand.y + 40.0f, 1e-3f);
  EXPECT_NE(muzzle.GetEmitter(), nullptr);
  EXPECT_NE(emission.GetEmitter(), nullptr);
  w.Level().AddOrdinaryWeaponEffect(true, 0);
  EXPECT_EQ(w.Level().GetEffects().size(), 1u);
}

TEST(ScreenProjection, PointsGoToTheViewportAndBack) {
  const platform::D3DVIEWPORT9 viewport{10, 20, 200, 100, 0.25f, 0.75f};
  D3DXVECTOR3 out;
  const D3DXVECTOR3 centre(0.0f, 0.0f, 0.5f), corner(1.0f, 1.0f, 0.0f);
  D3DXVec3Project(&out, &centre, &viewport, nullptr, nullptr, nullptr);
  EXPECT_EQ(out, D3DXVECTOR3(110.0f, 70.0f, 0.5f));
  D3DXVec3Project(&out, &corner, &viewport, nullptr, nullptr, nullptr);
  EXPECT_EQ(out, D3DXVECTOR3(210.0f, 20.0f, 0.25f));

  // A camera at (0, 765, 1020) looking at the origin, 800 x 600.
  D3DXMATRIX view, projection, world;
  const D3DXVECTOR3 eye(0.0f, 765.0f, 1020.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 0.0f, 1.0f);
  D3DXMatrixLookAtRH(&view, &eye, &at, &up);
  D3DXMatrixPerspectiveFovRH(&projection, 0.785398f, 800.0f / 600.0f, 10.0f, 10000.0f);
  D3DXMatrixTranslation(&world, 0.0f, 0.0f, 0.0f);
  const platform::D3DVIEWPORT9 screen{0, 0, 800, 600};
  D3DXVec3Project(&out, &at, &screen, &projection, &view, &world);
  EXPECT_NEAR(out.x, 400.0f, 1e-3f);
  EXPECT_NEAR(out.y, 300.0f, 1e-3f);
  EXPECT_GT(out.z, 0.0f);
  EXPECT_LT(out.z, 1.0f);
  // Above the target is higher on the screen; behind the camera leaves 0..1.
  const D3DXVECTOR3 above(0.0f, 0.0f, 200.0f), behind(0.0f, 2000.0f, 2500.0f);
  D3DXVec3Project(&out, &above, &screen, &projection, &view, nullptr);
  EXPECT_LT(out.y, 300.0f);
  D3DXVec3Project(&out, &behind, &screen, &projection, &view, nullptr);
  EXPECT_FALSE(out.z >= 0.0f && out.z <= 1.0f);
  // And back.
  const D3DXVECTOR3 point(123.0f, -45.0f, 67.0f);
  D3DXVECTOR3 projected, back;
  D3DXVec3Project(&projected, &point, &screen, &projection, &view, nullptr);
  ASSERT_NE(D3DXVec3Unproject(&back, &projected, &screen, &projection, &view, nullptr), nullptr);
  enemytest::ExpectNear(back, point, 0.05f);
  // A singular transform or an empty viewport has no inverse.
  D3DXMATRIX zero;
  D3DXMatrixScaling(&zero, 0.0f, 0.0f, 0.0f);
  EXPECT_EQ(D3DXVec3Unproject(&back, &projected, &screen, &zero, &view, nullptr), nullptr);
  platform::D3DVIEWPORT9 empty;
  EXPECT_EQ(D3DXVec3Unproject(&back, &projected, &empty, &projection, &view, nullptr), nullptr);
}

TEST_F(HealthBar, TheFillScaleIsZeroForAnEnemyWithoutMaximumAndTheBarSkipsBehindTheCamera) {
  w.Stand();  // no input: the camera stays where the world's reset put it
  CEnemy1& walker = Add<CEnemy1>({0, 0, 0});
  walker.SetHealth(0);
  walker.Damage(1);
  EXPECT_FLOAT_EQ(walker.GetHealthFill().m_ScaleX, 0.0f);
  w.Frame();
  // In view the bar lands over the enemy; behind the camera it is not placed.
  walker.GetHealthFrame().SetPosition(D3DXVECTOR3(-1, -1, 0));
  w.Frame([&] { walker.DrawHealthBar(); });
  const D3DXVECTOR3 placed = walker.GetHealthFrame().GetPosition();  // over the enemy
  EXPECT_GT(placed.x, 300.0f);
  EXPECT_LT(placed.x, 500.0f);
  EXPECT_GT(placed.y, 0.0f);
  EXPECT_LT(placed.y, 300.0f);
  walker.SetPosition(D3DXVECTOR3(0, 3000, 1500));
  walker.GetHealthFrame().SetPosition(D3DXVECTOR3(-1, -1, 0));
  w.Frame([&] { walker.DrawHealthBar(); });
  EXPECT_EQ(walker.GetHealthFrame().GetPosition(), D3DXVECTOR3(-1, -1, 0));
}

}  // namespace
