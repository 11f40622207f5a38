#pragma once
// The first boss: a walking enemy of a fixed colour that shoots single
// homing shots from either hand and, now and then, throws a ring of twelve
// shots. Two of them (one red, one blue) guard the first boss arena; the
// level makes them and owns them through its enemy list.
#include <array>
#include <cstdint>
#include <string>

#include "engine/resources/FactoryRef.h"
#include "engine/sound/AudiereSound.h"
#include "game/actors/Entity.h"
#include "game/enemies/Enemy.h"
#include "game/enemies/EnemyShots.h"
#include "platform/mesh/XAnimation.h"

class CBoss0;

// The first boss's animation-key receiver: the keys of the two shooting
// sets and of the ability set ask the level for the shots.
class CBoss0CBH : public platform::ID3DXAnimationCallbackHandler {
 public:
  enum Event : int32_t { LEFT_SHOT = 0, RIGHT_SHOT = 1, ABILITY = 2 };
  struct DATA {
    CBoss0* boss = nullptr;
    int32_t event = 0;
  };
  // Nothing for a dying boss; otherwise the shot (or the ring) and, while
  // the player is alive, the shot sound.
  platform::HRESULT HandleCallback(uint32_t track, void* data) override;
};

class CBoss0 : public CEnemy {
 public:
  static constexpr float SPEED = 110.0f;
  static constexpr float RADIUS = 100.0f;
  static constexpr int32_t HEADING_WINDOW = 300;
  static constexpr uint32_t ENERGY_VALUE = 10;
  static constexpr uint32_t SHOT_POWER = 12;
  static constexpr uint32_t KILL_NOW_DAMAGE = 10;
  static constexpr float KILL_NOW_COOLDOWN = 10.0f;  // seconds
  static constexpr float ABILITY_TIME = 10.0f;        // seconds between ability chances
  static constexpr float ABILITY_RETRY = 6.0f;        // a lost coin: the next chance 4 s later
  static constexpr float REST_RANGE_SQ = 9.0e6f;      // 3000 squared
  static constexpr float SHOOT_RANGE_SQ = 1.0e6f;     // 1000 squared
  static constexpr float SIGHT_RADIUS = 20.0f;
  static constexpr float SHOT_KEY_TIME = 3000.0f;     // ticks into the shooting sets
  static constexpr float ABILITY_KEY_TIME = 17000.0f; // ticks into the ability set
  static constexpr const char* RESTING = "Ene3Reposo";
  static constexpr const char* BETWEEN = "Reposo";
  static constexpr const char* WALK = "CaminarAdelante";
  static constexpr const char* SHOOT_LEFT = "DisparoIzquierdo";
  static constexpr const char* SHOOT_RIGHT = "DisparoDerecho";
  static constexpr const char* ABILITY = "Habilidad";
  static constexpr const char* KILL_SCRIPT = "LevelIntermedio_MatarMonstruo.lua";

  // Colour 0 red, 1 blue.
  explicit CBoss0(uint32_t colour);
  ~CBoss0() override;
  CBoss0(const CBoss0&) = delete;
  CBoss0& operator=(const CBoss0&) = delete;

  // The boss, then its hands on "Bip01_L_Hand" and "Bip01_R_Hand".
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  // Rest, walk, shoot or start the ability; then the enemy's frame.
  void Step() override;
  uint32_t GetEnergyValue() override { return ENERGY_VALUE; }
  // The player's ability: 10 points, at most once in 10 seconds.
  void KillNow() override;
  bool IsBoss() const override { return true; }
  // The kill effect and the arena's kill script.
  void OnKilled() override;

  // The key of a set: one shot from the firing hand, or the ring.
  void Fire(int32_t event);
  // The world position of the firing hand (the right one when the hand is
  // 1, else the left one).
  D3DXVECTOR3& GetModelPosition(D3DXVECTOR3& out);

  bool IsAttacking() const { return m_Attacking != 0; }
  uint32_t GetHand() const { return m_Hand; }
  float GetAbilityTimer() const { return m_AbilityTimer; }
  float GetAbilityHitCooldown() const { return m_AbilityHitCooldown; }
  CEntity& GetLeftHand() { return m_LeftHand; }
  CEntity& GetRightHand() { return m_RightHand; }

 protected:
  CEntity m_LeftHand;
  CEntity m_RightHand;
  uint8_t m_Attacking = 0;
  uint32_t m_Hand = 0;
  float m_AbilityTimer = 0.0f;
  std::array<CBoss0CBH::DATA, 3> m_CallbackData;
  CBoss0CBH m_CallbackHandler;
  float m_AbilityHitCooldown = 0.0f;
  Nembra::CFactoryRef<Nembra::CAudiereSoundFactory> m_ShotSound{Nembra::g_pAudiereSoundFactory};

 private:
  // One decision once no attack is running.
  void Decide();
};

// The first boss's homing shot, in the boss's colour.
class CBoss0Bullet : public CParticleShot {
 public:
  static constexpr float SPEED = 1000.0f;
  static constexpr float RADIUS = 50.0f;
  static constexpr float MAX_DISTANCE = 1500.0f;
  static constexpr float HOMING_WEIGHT = 15.0f;
  CBoss0Bullet() : CParticleShot(SPEED, RADIUS) {}
  // "Boss0ShotBlue.pfx" for colour 1, "Boss0ShotRed.pfx" otherwise.
  void Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power, uint32_t colour);
  uint32_t GetColour() const { return m_Colour; }

 protected:
  FLIGHT Flight() const override;
  void OnImpact() override;
  uint32_t m_Colour = 0;
};

// The first boss's ability shot, flying straight.
class CBoss0AbilityBullet : public CParticleShot {
 public:
  static constexpr float SPEED = 1000.0f;
  static constexpr float RADIUS = 50.0f;
  static constexpr float MAX_DISTANCE = 1500.0f;
  CBoss0AbilityBullet() : CParticleShot(SPEED, RADIUS) {}
  void Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power);

 protected:
  FLIGHT Flight() const override;
  void OnImpact() override;
};
