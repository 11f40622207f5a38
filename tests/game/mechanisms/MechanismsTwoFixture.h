#pragma once
// The mechanisms' fixture with what the doors, generators, circuits,
// lasers, markers, targets and stations need on top: shots that hit along
// +x, the sound requests by name (as the sound layer records them), test
// enemies and the effects of a kind.
#include <list>
#include <string>

#include "engine/sound/SoundDevice.h"
#include "engine/sound/WaveSound.h"
#include "game/effects/LevelEffects.h"
#include "game/mechanisms/MechanismFixture.h"
#include "scenario/WorldScenario.h"

namespace mechtwo {

using mechtest::At;

const D3DXVECTOR3 ALONG_X(1.0f, 0.0f, 0.0f);

// What became of a test enemy; it outlives the enemy, which the level
// deletes once it has died.
struct ENEMY_RECORD {
  bool dying = false;
  uint32_t damage = 0;
  int hits = 0;
};

// A test enemy that counts the damage it takes and dies of its whole health
// (the enemy base leaves damage to the enemy kinds).
class CountingEnemy : public scenario::TestEnemy {
 public:
  CountingEnemy(uint32_t colour, uint32_t health, ENEMY_RECORD& record)
      : scenario::TestEnemy(colour, 50.0f, 5, health), m_Record(record) {}
  void Damage(uint32_t amount) override {
    m_Record.damage += amount;
    ++m_Record.hits;
    if (amount >= GetHealth()) Kill();
  }
  void Kill() override {
    m_Record.dying = true;
    scenario::TestEnemy::Kill();
  }

 private:
  ENEMY_RECORD& m_Record;
};

class MechanismsTwoTest : public mechtest::MechanismTest {
 protected:
  // The engine's sound layer on the silent output: the sounds load and
  // every play asked of them is recorded.
  void SetUp() override {
    mechtest::MechanismTest::SetUp();
    ASSERT_TRUE(Nembra::g_pSoundDevice->Initialize(Window(), 44100, L""));
  }
  // A player shot from the origin along +x, stepped until it is gone.
  void Hit(int colour, uint32_t power = 1) {
    Shoot(colour, power, ALONG_X);
    StepUntilShotsGone();
  }
  // The plays asked of the named effect's sound (0 when it never loaded).
  int Cues(const std::string& name) const {
    Nembra::CWaveSound* sound = Nembra::g_pWaveSoundFactory->Find(name);
    return sound && sound->GetAudioPath() ? static_cast<int>(sound->GetAudioPath()->PlayRequests()) : 0;
  }
  // A standing test enemy the level owns.
  ENEMY_RECORD& AddEnemy(const D3DXVECTOR3& at, uint32_t colour, uint32_t health = 5) {
    ENEMY_RECORD& record = m_Records.emplace_back();
    auto* enemy = new CountingEnemy(colour, health, record);
    enemy->SetPosition(at);
    enemy->UpdateWorldMatrix();
    level->GetEnemies().push_back(enemy);
    enemy->AddToScene();
    return record;
  }
  template <class Effect>
  size_t CountEffects() const {
    return EffectsOf<Effect>().size();
  }

 private:
  std::list<ENEMY_RECORD> m_Records;
};

}  // namespace mechtwo
