// The energy wave, the player's ability wave and the plain explosion: their
// growth and reach, the colours they spare, how they end, and what they do
// without their particle files.
#include "game/mechanisms/MechanismsTwoFixture.h"
#include "tools/formats/PfxFile.h"

namespace {

using Nembra::CEnergyWaveEffect;
using Nembra::CExplosionEffect;
using Nembra::CGuyAbilityEffect;

class WaveEffectTest : public mechtwo::MechanismsTwoTest {
 protected:
  void SetUp() override {
    mechtwo::MechanismsTwoTest::SetUp();
    PlacePlayer(D3DXVECTOR3(0.0f, -2000.0f, 0.0f));  // keeps the enemies near
  }
  // "Ability.pfx" as a sphere emitter of the radius and duration.
  void WriteAbilityEmitter(float radius, float duration, int32_t kind = 1) {
    formats::PfxFile pfx;
    pfx.kind = kind;
    pfx.duration = duration;
    pfx.radius = radius;
    pfx.life = 0.1f;
    WriteData("Ability.pfx", ToString(formats::PfxFileBytes(pfx)));
    platform::ClearPathCache();
  }
  void FireRedWave() {
    const float at[3] = {0.0f, 0.0f, 0.0f};
    level->AddWaveEffect(at, 0);
  }
  // Frames until the effect list holds no wave of the kind; -1 past 400.
  template <class Wave>
  int FramesUntilGone() {
    for (int frame = 1; frame <= 400; ++frame) {
      Step();
      if (EffectsOf<Wave>().empty()) return frame;
    }
    return -1;
  }
};

TEST_F(WaveEffectTest, AWaveGrowsSeventyAFrameAndReachesAnEnemyAtAThousandInFrameThirteen) {
  WriteAbilityEmitter(50.0f, 1.0f);
  mechtwo::ENEMY_RECORD& enemy = AddEnemy(D3DXVECTOR3(1000.0f, 0.0f, 0.0f), 1);
  FireRedWave();
  CEnergyWaveEffect* wave = EffectsOf<CEnergyWaveEffect>().front();
  EXPECT_EQ(wave->GetRadius(), 50.0f);
  EXPECT_EQ(wave->GetEmitter()->GetPosition(), D3DXVECTOR3(0.0f, 0.0f, 120.0f));
  EXPECT_EQ(wave->GetRing(0).GetPosition().z, 152.0f);
  EXPECT_EQ(wave->GetRing(1).GetPosition().z, 150.0f);
  for (int frame = 1; frame <= 13; ++frame) {
    Step();
    EXPECT_NEAR(wave->GetRadius(), 50.0f + 70.0f * static_cast<float>(frame), 1e-3f);
    EXPECT_EQ(enemy.dying, frame >= 13) << frame;
  }
  EXPECT_EQ(wave->GetRing(0).GetScale(), D3DXVECTOR3(wave->GetRadius(), wave->GetRadius(), 0.0f));
  // The reach is strict: an enemy exactly the ring plus its radius away is
  // not hit while the ring stands still.
  mechtwo::ENEMY_RECORD& edge = AddEnemy(D3DXVECTOR3(-(wave->GetRadius() + 50.0f), 0.0f, 0.0f), 1);
  const float frameTime = Nembra::g_FrameTime;
  Nembra::g_FrameTime = 0.0f;
  Step();
  Nembra::g_FrameTime = frameTime;
  EXPECT_FALSE(edge.dying);
  Step();
  EXPECT_TRUE(edge.dying);
}

TEST_F(WaveEffectTest, ARedWaveSparesRedEnemiesAndTheAbilityWaveSparesNone) {
  WriteAbilityEmitter(50.0f, 1.0f);
  mechtwo::ENEMY_RECORD& red = AddEnemy(D3DXVECTOR3(300.0f, 0.0f, 0.0f), 0);
  mechtwo::ENEMY_RECORD& blue = AddEnemy(D3DXVECTOR3(-300.0f, 0.0f, 0.0f), 1);
  FireRedWave();
  Steps(20);
  EXPECT_FALSE(red.dying);
  EXPECT_TRUE(blue.dying);

  level->AddAbilityEffect(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
  Steps(20);
  EXPECT_TRUE(red.dying);
}

TEST_F(WaveEffectTest, AOneSecondEmitterEndsTheWaveWithTheSharedFadeAfterAboutTwoSeconds) {
  WriteAbilityEmitter(50.0f, 1.0f);
  level->AddAbilityEffect(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
  CGuyAbilityEffect* wave = EffectsOf<CGuyAbilityEffect>().front();
  int endFrame = -1;
  for (int frame = 1; frame <= 300 && endFrame < 0; ++frame) {
    Step();
    if (!wave->IsActive()) endFrame = frame;
  }
  // The fade (64 alpha a second, 1.28 a frame) outlasts the emitter; both
  // rings move it on, so it ends in about two seconds instead of four.
  EXPECT_NEAR(endFrame, 100, 2);
  EXPECT_EQ(wave->GetRing(0).GetParent(), nullptr);  // the first ring left the scene
  Step();
  EXPECT_TRUE(EffectsOf<CGuyAbilityEffect>().empty());
}

TEST_F(WaveEffectTest, WithoutTheirParticleFilesWavesGrowFromNothingAndEndAndTheExplosionEndsAtOnce) {
  for (bool wrongKind : {false, true}) {
    SCOPED_TRACE(wrongKind);
    if (wrongKind)
      WriteAbilityEmitter(50.0f, 1.0f, 0);  // a point emitter: no sphere radius
    else
      RemoveData("Ability.pfx");
    RemoveData("WWExplosion.pfx");
    FireRedWave();
    CEnergyWaveEffect* wave = EffectsOf<CEnergyWaveEffect>().front();
    EXPECT_EQ(wave->GetRadius(), 0.0f);
    EXPECT_EQ(wave->GetEmitter() == nullptr, !wrongKind);
    const float at[3] = {0.0f, 0.0f, 100.0f};
    level->AddExplosionEffect(at);
    Step();
    EXPECT_TRUE(EffectsOf<CExplosionEffect>().empty() || !EffectsOf<CExplosionEffect>().front()->IsActive());
    EXPECT_GT(FramesUntilGone<CEnergyWaveEffect>(), 0);
    EXPECT_TRUE(EffectsOf<CExplosionEffect>().empty());
  }
}

TEST_F(WaveEffectTest, TheAbilityFiresTwoWavesFromThePlayer) {
  WriteAbilityEmitter(50.0f, 1.0f);
  PlacePlayer(D3DXVECTOR3(250.0f, 40.0f, 0.0f));
  Player().GetAbility().Use();
  const auto waves = EffectsOf<CGuyAbilityEffect>();
  ASSERT_EQ(waves.size(), 2u);
  EXPECT_EQ(waves[0]->GetPosition(), D3DXVECTOR3(250.0f, 40.0f, 0.0f));
}

}  // namespace
