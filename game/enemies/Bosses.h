#pragma once
// The two bosses and their shots. The level makes the bosses for the two
// boss levels and owns them through its enemy list.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/Entity.h"
#include "game/enemies/Enemy.h"
#include "game/enemies/EnemyShots.h"

namespace Nembra {
class CAudiereSound;
class CWaveSound;
}  // namespace Nembra

class CBoss0;
class CBoss1;

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

// The second boss's animation-key receiver.
class CBoss1CBH {
 public:
  struct DATA {
    CBoss1* boss = nullptr;
    int32_t event = 0;
  };
  void HandleCallback(uint32_t track, void* data);
};

// The second boss: a standing giant that switches colour as it is shot.
// Skinned meshes taken by name and given back when the holder goes; a
// holder declared before the sprites that use them outlives those sprites.
class CHeldSkinnedMeshes {
 public:
  CHeldSkinnedMeshes() = default;
  ~CHeldSkinnedMeshes();
  CHeldSkinnedMeshes(const CHeldSkinnedMeshes&) = delete;
  CHeldSkinnedMeshes& operator=(const CHeldSkinnedMeshes&) = delete;
  // The mesh (a reference is kept while held); null when none.
  Nembra::CSkinnedMesh* Take(const std::string& name);

 private:
  std::vector<std::string> m_Names;
};

class CBoss1 : public CEnemy {
 public:
  static constexpr float SPEED = 120.0f;
  static constexpr float RADIUS = 280.0f;
  static constexpr int32_t HEADING_WINDOW = 250;
  static constexpr float MODEL_SCALE = 2.0f;
  static constexpr float MODEL_BOUNDS = 10000.0f;
  static constexpr float LASER_TIME = 10.0f;

  CBoss1();
  ~CBoss1() override;

  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  void RemoveFromScene() override;
  bool Collide(const D3DXVECTOR3& from, const D3DXVECTOR3& to, float radius, D3DXVECTOR3& hit,
               float& distanceSquared) const override;
  void AddSpriteToScene() override;
  void Damage(uint32_t amount) override;
  void OnShotHit(const CBullet& shot) override;
  void KillNow() override;
  void OnWaveHit(uint32_t colour) override;
  bool IsBoss() const override { return true; }
  void OnKilled() override;

  Nembra::CAnimated3DSprite& GetBlueModel() { return m_BlueModel; }
  Nembra::CAnimated3DSprite& GetRedModel() { return m_RedModel; }

 protected:
  CHeldSkinnedMeshes m_Meshes;  // outlives the two models
  uint8_t m_Attacking = 0;
  Nembra::CAnimated3DSprite m_BlueModel;
  Nembra::CAnimated3DSprite m_RedModel;
  std::array<CBoss1CBH::DATA, 2> m_CallbackData;
  CBoss1CBH m_CallbackHandler;
  float m_AbilityHitCooldown = 0.0f;
  float m_LaserTimer = LASER_TIME;
  float m_WaveCooldown = 0.0f;
  uint32_t m_ColourFlipSum = 0;
  CEntity m_BallMuzzle;
  CEntity m_FirstLaserMuzzle;
  CEntity m_SecondLaserMuzzle;
  Nembra::CWaveSound* m_pShotSound = nullptr;
};

// The second boss's homing ball.
class CBoss1Bullet : public CParticleShot {
 public:
  static constexpr float SPEED = 650.0f;
  static constexpr float RADIUS = 70.0f;
  CBoss1Bullet() : CParticleShot(SPEED, RADIUS) {}
};

// The second boss's laser shot.
class CBoss1Laser : public CParticleShot {
 public:
  static constexpr float SPEED = 1000.0f;
  static constexpr float RADIUS = 30.0f;
  CBoss1Laser() : CParticleShot(SPEED, RADIUS) {}
};
