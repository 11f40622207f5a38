#pragma once
// The two bosses and their shots. The level makes the bosses for the two
// boss levels and owns them through its enemy list.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/Entity.h"
#include "game/enemies/Boss0.h"
#include "game/enemies/Enemy.h"
#include "game/enemies/EnemyShots.h"

namespace Nembra {
class CAudiereSound;
class CWaveSound;
}  // namespace Nembra

class CBoss1;

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
