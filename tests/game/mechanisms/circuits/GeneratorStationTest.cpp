// Energy generators and wave-weapon stations charged by the player's shots,
// their lights, bars and scripts, the restart, and the energy waves the
// stations fire.
#include "game/mechanisms/MechanismsTwoFixture.h"
#include <set>

#include "engine/scene/Light.h"
#include "game/mechanisms/circuits/ChargeBar.h"

namespace {

using mechtwo::At;
using Nembra::CEnergyWaveEffect;
using Nembra::CExplosionEffect;

size_t Lights() { return Nembra::g_pSceneManager->GetLights().size(); }

class GeneratorTest : public mechtwo::MechanismsTwoTest {
 protected:
  CGenerator& LoadGenerator(uint32_t capacity, int32_t colour = 0, float x = 500.0f) {
    WriteCounter("GeneratorFull.lua");
    CIRCUIT_OBJECT_RECORD record;
    record.flag = 0;
    record.generator.polarity = colour;
    record.generator.capacity = static_cast<int32_t>(capacity);
    record.generator.id = 7;
    record.generator.scriptFile = "GeneratorFull.lua";
    record.generator.pair = At(x, 0.0f);
    ITEMS_FILE file;
    file.circuitObjects.push_back(record);
    EXPECT_TRUE(Load(file));
    return level->GetGenerators().back();
  }
};

TEST_F(GeneratorTest, CapacityTenPowerThreeIsFullOnTheFourthShot) {
  CGenerator& generator = LoadGenerator(10);
  ASSERT_NE(generator.GetBarEffect(), nullptr);
  const size_t lights = Lights();
  const uint32_t expected[] = {3, 6, 9, 10};
  for (int shot = 0; shot < 4; ++shot) {
    EXPECT_EQ(generator.GetLight(), nullptr) << shot;
    Hit(0, 3);
    EXPECT_EQ(generator.GetCharge(), expected[shot]);
    EXPECT_FLOAT_EQ(generator.GetBarEffect()->GetPosition().z, 250.0f * static_cast<float>(expected[shot]) / 10.0f);
  }
  ASSERT_NE(generator.GetLight(), nullptr);
  EXPECT_EQ(Lights(), lights + 1);
  EXPECT_FLOAT_EQ(generator.GetLight()->GetPosition().z, 200.0f);
  EXPECT_FLOAT_EQ(generator.GetLight()->GetPosition().x, 500.0f);
  EXPECT_EQ(Count("GeneratorFull.lua"), 1);
  EXPECT_EQ(Cues("GeneratorCorrect.wav"), 4);
  EXPECT_EQ(Cues("GeneratorIncorrect.wav"), 0);
  // The bar's screen text.
  EXPECT_EQ(ChargeBar::PercentText(generator.GetCharge(), generator.GetCapacity()), L"100%");
  EXPECT_EQ(ChargeBar::PercentText(6, 10), L"60%");
  EXPECT_EQ(ChargeBar::PercentText(0, 0), L"100%");
}

TEST_F(GeneratorTest, OtherColourShotsOnlySoundIncorrect) {
  CGenerator& generator = LoadGenerator(10, 1);
  Hit(0, 3);
  Hit(0, 3);
  EXPECT_EQ(generator.GetCharge(), 0u);
  EXPECT_EQ(Cues("GeneratorIncorrect.wav"), 2);
  EXPECT_EQ(Cues("GeneratorCorrect.wav"), 0);
}

TEST_F(GeneratorTest, FillTwiceLeavesOneLightAndRunsNoScript) {
  CGenerator& generator = LoadGenerator(10);
  const size_t lights = Lights();
  level->FillAllGenerators();
  level->FillAllGenerators();
  EXPECT_EQ(Lights(), lights + 1);
  EXPECT_EQ(generator.GetCharge(), 10u);
  EXPECT_EQ(Count("GeneratorFull.lua"), 0);
  EXPECT_FLOAT_EQ(generator.GetBarEffect()->GetPosition().z, 250.0f);
}

TEST_F(GeneratorTest, RestartEmptiesDarkensAndGivesEachOneBarAtTheFloor) {
  CGenerator& first = LoadGenerator(10, 0, 500.0f);
  CGenerator& second = LoadGenerator(4, 1, 900.0f);
  const size_t lights = Lights();
  level->FillAllGenerators();
  level->Restart();
  EXPECT_EQ(Lights(), lights);
  const auto bars = EffectsOf<CGenBarEffect>();
  ASSERT_EQ(bars.size(), 2u);
  for (CGenerator* generator : {&first, &second}) {
    EXPECT_EQ(generator->GetCharge(), 0u);
    EXPECT_EQ(generator->GetLight(), nullptr);
    ASSERT_NE(generator->GetBarEffect(), nullptr);
    EXPECT_EQ(generator->GetBarEffect()->GetPosition().z, 0.0f);
    EXPECT_EQ(generator->GetBarEffect()->GetPosition().x, generator->GetPosition().x);
  }
  EXPECT_NE(first.GetBarEffect(), second.GetBarEffect());
}

// A generator bound to no circuit is reset by the restart like any other;
// its next hit writes into its new bar (ASan watches the old one).
TEST_F(GeneratorTest, AStandaloneGeneratorHitAfterThreeRestartsStaysSound) {
  CGenerator& generator = LoadGenerator(10);
  for (int i = 0; i < 3; ++i) level->Restart();
  Hit(0, 3);
  EXPECT_EQ(generator.GetCharge(), 3u);
  EXPECT_FLOAT_EQ(generator.GetBarEffect()->GetPosition().z, 75.0f);
  EXPECT_EQ(EffectsOf<CGenBarEffect>().size(), 1u);
}

class StationTest : public mechtwo::MechanismsTwoTest {
 protected:
  CWaveWeapon& LoadStation(uint32_t capacity, int32_t colour = 0, float x = 500.0f) {
    WriteCounter("StationFull.lua");
    WAVE_WEAPON_RECORD record;
    record.colour = colour;
    record.capacity = static_cast<int32_t>(capacity);
    record.name = "Station";
    record.scriptFile = "StationFull.lua";
    record.pair = At(x, 0.0f);
    ITEMS_FILE file;
    file.waveWeapons.push_back(record);
    EXPECT_TRUE(Load(file));
    return level->GetWaveWeapons().back();
  }
};

TEST_F(StationTest, CapacityTenPowerThreeIsFullOnTheFourthShotAndStaysThere) {
  CWaveWeapon& station = LoadStation(10);
  for (int shot = 0; shot < 4; ++shot) Hit(0, 3);
  EXPECT_EQ(station.GetCharge(), 10u);
  ASSERT_NE(station.GetLight(), nullptr);
  EXPECT_FLOAT_EQ(station.GetLight()->GetPosition().z, 200.0f);
  EXPECT_EQ(Count("StationFull.lua"), 1);
  EXPECT_FLOAT_EQ(station.GetBarEffect()->GetPosition().z, 250.0f);
  EXPECT_FLOAT_EQ(station.GetScreenFill().m_ScaleX, 1.0f);  // 10 of 10 after the clamp, not 12 of 10
  // Shots pass a full station by; the station itself refuses more.
  Hit(0, 3);
  Hit(1, 3);
  EXPECT_EQ(Cues("GeneratorIncorrect.wav"), 0);
  station.OnBulletHit(0, 3);
  station.OnBulletHit(1, 3);
  EXPECT_EQ(station.GetCharge(), 10u);
  EXPECT_EQ(Cues("GeneratorCorrect.wav"), 4);
  EXPECT_EQ(Cues("GeneratorIncorrect.wav"), 2);
  EXPECT_EQ(Count("StationFull.lua"), 1);
}

TEST_F(StationTest, CapacityZeroShowsAFullBarAndRefusesEveryShot) {
  CWaveWeapon& station = LoadStation(0);
  EXPECT_FLOAT_EQ(station.GetBarEffect()->GetPosition().z, 250.0f);
  station.OnBulletHit(0, 1);
  EXPECT_EQ(Cues("GeneratorIncorrect.wav"), 1);
  EXPECT_EQ(station.GetLight(), nullptr);
}

TEST_F(StationTest, AnOtherColourWaveExplodesAStationOnceOverItsWholeLife) {
  CWaveWeapon& blue = LoadStation(10, 1, 600.0f);
  CWaveWeapon& red = LoadStation(10, 0, -600.0f);
  for (int shot = 0; shot < 4; ++shot) blue.OnBulletHit(1, 3);
  ASSERT_NE(blue.GetLight(), nullptr);
  const float at[3] = {0.0f, 0.0f, 0.0f};
  level->AddWaveEffect(at, 0);
  std::set<CExplosionEffect*> explosions;
  int frames = 0;
  while (!EffectsOf<CEnergyWaveEffect>().empty() && frames < 400) {
    Step();
    ++frames;
    for (CExplosionEffect* e : EffectsOf<CExplosionEffect>()) explosions.insert(e);
  }
  EXPECT_LT(frames, 400);
  ASSERT_EQ(explosions.size(), 1u);
  EXPECT_FALSE(blue.IsActive());
  EXPECT_FALSE(blue.GetSprite().IsVisible());
  EXPECT_EQ(blue.GetLight(), nullptr);
  EXPECT_EQ(blue.GetCharge(), 0u);
  // The bar stopped: it keeps its emitter, which makes no new particle.
  ASSERT_NE(blue.GetBarEffect()->GetEmitter(), nullptr);
  EXPECT_TRUE(blue.GetBarEffect()->GetEmitter()->IsStopped());
  EXPECT_TRUE(blue.GetBarEffect()->IsActive());
  ASSERT_NE(red.GetBarEffect(), nullptr);
  ASSERT_NE(red.GetBarEffect()->GetEmitter(), nullptr);
  EXPECT_FALSE(red.GetBarEffect()->GetEmitter()->IsStopped());
  EXPECT_TRUE(red.IsActive());  // its own colour is never touched

  level->Restart();
  EXPECT_TRUE(blue.IsActive());
  EXPECT_TRUE(blue.GetSprite().IsVisible());
  EXPECT_EQ(blue.GetCharge(), 0u);
  ASSERT_NE(blue.GetBarEffect(), nullptr);
  EXPECT_EQ(blue.GetBarEffect()->GetPosition().z, 0.0f);
  EXPECT_EQ(EffectsOf<CGenBarEffect>().size(), 2u);
}

TEST_F(StationTest, TheExplosionStandsAHundredAboveTheStation) {
  CWaveWeapon& station = LoadStation(10, 1, 600.0f);
  station.UpdateWorldMatrix();
  station.Explode();
  station.Explode();  // blown out already: nothing more
  const auto explosions = EffectsOf<CExplosionEffect>();
  ASSERT_EQ(explosions.size(), 1u);
  EXPECT_EQ(explosions.front()->GetPosition(), D3DXVECTOR3(600.0f, 0.0f, 100.0f));
}

TEST_F(StationTest, ShootWaveFiresFromEveryStationChargedOrNot) {
  LoadStation(10, 1, 600.0f);
  LoadStation(10, 0, -600.0f).OnBulletHit(0, 3);
  level->ShootWave();
  const auto waves = EffectsOf<CEnergyWaveEffect>();
  ASSERT_EQ(waves.size(), 2u);
  EXPECT_EQ(waves[0]->GetColour(), 1u);
  EXPECT_EQ(waves[1]->GetColour(), 0u);
  EXPECT_EQ(waves[0]->GetPosition().x, 600.0f);
}

}  // namespace
