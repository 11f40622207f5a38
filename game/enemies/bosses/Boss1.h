#pragma once
// The second boss: a standing giant in two models, red and blue, showing
// the one of its colour. It fires a pair of lasers every ten seconds and
// throws balls in between; other-colour shots adding up past 100 points,
// and every colour-blind hit, turn it to the other colour.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/actors/Entity.h"
#include "game/enemies/Enemy.h"
#include "game/enemies/EnemyShots.h"
#include "platform/mesh/XAnimation.h"

namespace Nembra {
class CSound;
}  // namespace Nembra

class CBoss1;

// The second boss's animation-key receiver: key 1 throws a ball, any other
// key fires the two lasers.
class CBoss1CBH : public platform::ID3DXAnimationCallbackHandler {
 public:
  struct DATA {
    CBoss1* boss = nullptr;
    int32_t event = 0;
  };
  platform::HRESULT HandleCallback(uint32_t track, void* data) override;
};

class CBoss1 : public CEnemy {
 public:
  static constexpr float SPEED = 120.0f;
  static constexpr float RADIUS = 280.0f;
  static constexpr int32_t HEADING_WINDOW = 250;
  static constexpr float MODEL_SCALE = 2.0f;
  static constexpr float MODEL_BOUNDS = 10000.0f;
  static constexpr float LASER_TIME = 10.0f;
  static constexpr float ABILITY_HIT_TIME = 10.0f;
  static constexpr float WAVE_TIME = 20.0f;
  static constexpr float REST_RANGE_SQ = 90000.0f;  // 300 squared: a player this close is left alone
  static constexpr int32_t ROLL_MAX = 100000;
  static constexpr int32_t BALL_ROLL = 90000;       // a ball on rolls above this
  static constexpr uint32_t FLIP_SUM = 100;         // other-colour power above this flips
  static constexpr uint32_t ABILITY_DAMAGE = 200;
  static constexpr uint32_t BALL_POWER = 47;
  static constexpr uint32_t LASER_POWER = 13;
  static constexpr int32_t BALL_EVENT = 1;
  static constexpr int32_t LASER_EVENT = 2;
  static constexpr const char* REST = "Reposo";
  static constexpr const char* BALL = "Bola";
  static constexpr const char* LASER = "Laser";
  static constexpr const char* BALL_BONE = "Bip01_Ponytail2";
  static constexpr const char* FIRST_LASER_BONE = "Ayudante_01";
  static constexpr const char* SECOND_LASER_BONE = "Ayudante_02";
  static constexpr const char* RED_MESH = "FinalCompletoRojo.X";
  static constexpr const char* BLUE_MESH = "FinalCompletoAzul.X";
  static constexpr const char* KILL_SCRIPT = "Level12_MatarMonstruo.lua";

  CBoss1();
  ~CBoss1() override;
  CBoss1(const CBoss1&) = delete;
  CBoss1& operator=(const CBoss1&) = delete;

  // The entity and both models, then the three muzzles on the bones of the
  // model in use.
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  // Timers, then rest, lasers or a ball by the player's distance; the boss
  // never walks nor turns.
  void Step() override;
  // A sphere of the collision radius around the boss's world position.
  bool Collide(const D3DXVECTOR3& from, const D3DXVECTOR3& to, float radius, D3DXVECTOR3& hit,
               float& distanceSquared) const override;
  // Both models under the boss.
  void AddSpriteToScene() override;
  // Colour-blind damage; a boss it leaves alive turns.
  void Damage(uint32_t amount) override;
  // The polarity rule; other-colour power adds up towards a turn.
  void OnShotHit(const CBullet& shot) override;
  // 200 points at most once every 10 seconds.
  void KillNow() override;
  // Either colour: the wave's power at most once every 20 seconds.
  void OnWaveHit(uint32_t colour) override;
  bool IsBoss() const override { return true; }
  // The kill effect, then the level's kill script.
  void OnKilled() override;

  // An attack key: a ball (BALL_EVENT) or the two lasers (any other).
  // Nothing once dying.
  void Fire(int32_t event);

  Nembra::CAnimated3DSprite& GetBlueModel() { return m_BlueModel; }
  Nembra::CAnimated3DSprite& GetRedModel() { return m_RedModel; }
  bool IsAttacking() const { return m_Attacking != 0; }
  float GetLaserTimer() const { return m_LaserTimer; }
  float GetWaveCooldown() const { return m_WaveCooldown; }
  float GetAbilityHitCooldown() const { return m_AbilityHitCooldown; }
  uint32_t GetColourFlipSum() const { return m_ColourFlipSum; }
  CEntity& GetBallMuzzle() { return m_BallMuzzle; }
  CEntity& GetFirstLaserMuzzle() { return m_FirstLaserMuzzle; }
  CEntity& GetSecondLaserMuzzle() { return m_SecondLaserMuzzle; }
  CBoss1CBH::DATA& GetCallbackData(size_t index) { return m_CallbackData[index]; }
  CBoss1CBH& GetCallbackHandler() { return m_CallbackHandler; }
  void SetShotSound(Nembra::CSound* sound) { m_pShotSound = sound; }

 protected:
  // The other colour: the other model takes over the animation, the bar and
  // the muzzles.
  void FlipColour();
  void AttachMuzzles();

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
  Nembra::CSound* m_pShotSound = nullptr;
};

// The second boss's ball: lobbed, homing hard on the player.
class CBoss1Bullet : public CParticleShot {
 public:
  static constexpr float SPEED = 650.0f;
  static constexpr float RADIUS = 70.0f;
  static constexpr float HOMING_WEIGHT = 8.0f;
  static constexpr float MAX_DISTANCE = 2500.0f;
  CBoss1Bullet() : CParticleShot(SPEED, RADIUS) {}
  void Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power);

 protected:
  // Flies until the player, a wall or an object, or 2500 units.
  FLIGHT Flight() const override;
  void OnImpact() override;
};

// The second boss's laser shot: fast, homing gently.
class CBoss1Laser : public CParticleShot {
 public:
  static constexpr float SPEED = 1000.0f;
  static constexpr float RADIUS = 30.0f;
  static constexpr float HOMING_WEIGHT = 1.0f;
  static constexpr float MAX_DISTANCE = 2500.0f;
  CBoss1Laser() : CParticleShot(SPEED, RADIUS) {}
  void Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power);

 protected:
  FLIGHT Flight() const override;
  void OnImpact() override;
};
