#pragma once
// The two bosses and their shots. The level makes the bosses for the two
// boss levels and owns them through its enemy list.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/Entity.h"
#include "game/enemies/Enemy.h"
#include "game/enemies/Boss1.h"
#include "game/enemies/EnemyShots.h"

namespace Nembra {
class CAudiereSound;
class CWaveSound;
}  // namespace Nembra

class CBoss0;

// The first boss's animation-key receiver.
class CBoss0CBH {
 public:
  struct DATA {
    CBoss0* boss = nullptr;
    int32_t event = 0;
  };
  void HandleCallback(uint32_t track, void* data);
};

// The first boss: two of them fight together (argument 0 or 1).
class CBoss0 : public CEnemy {
 public:
  static constexpr float SPEED = 110.0f;
  static constexpr float RADIUS = 100.0f;
  static constexpr int32_t HEADING_WINDOW = 300;
  static constexpr uint32_t ENERGY_VALUE = 10;

  explicit CBoss0(uint32_t colour);
  ~CBoss0() override;

  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  uint32_t GetEnergyValue() override { return ENERGY_VALUE; }
  void KillNow() override;
  bool IsBoss() const override { return true; }
  void OnKilled() override;

  // The world position of the model in use.
  D3DXVECTOR3& GetModelPosition(D3DXVECTOR3& out);

  const std::string& GetModelName() const { return m_ModelName; }

 protected:
  CEntity m_LeftHand;
  CEntity m_RightHand;
  uint8_t m_Attacking = 0;
  uint32_t m_Hand = 0;
  float m_AbilityTimer = 0.0f;
  std::array<CBoss0CBH::DATA, 3> m_CallbackData;
  CBoss0CBH m_CallbackHandler;
  float m_AbilityHitCooldown = 0.0f;
  Nembra::CAudiereSound* m_pShotSound = nullptr;

 private:
  std::string m_ModelName;  // the skinned mesh held, released on destruction
};

// The first boss's homing shot.
class CBoss0Bullet : public CParticleShot {
 public:
  static constexpr float SPEED = 1000.0f;
  static constexpr float RADIUS = 50.0f;
  CBoss0Bullet() : CParticleShot(SPEED, RADIUS) {}
  using CParticleShot::Init;
  void Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power, uint32_t colour);
  uint32_t GetColour() const { return m_Colour; }

 protected:
  uint32_t m_Colour = 0;
};

// The first boss's ability shot, flying straight.
class CBoss0AbilityBullet : public CParticleShot {
 public:
  static constexpr float SPEED = 1000.0f;
  static constexpr float RADIUS = 50.0f;
  CBoss0AbilityBullet() : CParticleShot(SPEED, RADIUS) {}
};
