#pragma once
// The ordinary enemy kinds: the melee walker and the stalker (hand blows),
// the shooter, the cocoon turret and the beam walker. Each fires from keys
// on its one-shot (or looped) attack set through a small callback handler
// that asks the level for the shot.
#include <cstdint>
#include <vector>

#include "engine/effects/RenderEffects.h"
#include "game/enemies/Enemy.h"
#include "platform/mesh/XAnimation.h"

class CEnemy1;
class CEnemy2;
class CEnemy3;
class CEnemy7;
class CEnemy8;

// The data of a melee strike key: the enemy and the key's number.
struct MELEE_KEY {
  CEnemy* enemy = nullptr;
  uint32_t key = 0;
};

// The melee handlers: the strike keys carry data nothing reads.
class CEnemy1CBH : public platform::ID3DXAnimationCallbackHandler {
 public:
  platform::HRESULT HandleCallback(uint32_t /*track*/, void* /*data*/) override { return 0; }
};
class CEnemy7CBH : public platform::ID3DXAnimationCallbackHandler {
 public:
  platform::HRESULT HandleCallback(uint32_t /*track*/, void* /*data*/) override { return 0; }
};

// What both melee kinds share: two hands on the hand bones, the strike keys
// and the blows the hands deal to the player.
class CMeleeEnemy : public CEnemy {
 public:
  static constexpr float RADIUS = 50.0f;
  static constexpr float HAND_RADIUS = 10.0f;
  static constexpr int32_t WINDOW = 10;
  static constexpr float STRIKE_RANGE_SQ = 32400.0f;  // 180 squared
  static constexpr const char* IDLE = "Ene1Reposo";
  static constexpr const char* WALK = "Ene1CaminarAdelante";
  static constexpr const char* STRIKE1 = "Ene1Golpe1";
  static constexpr const char* STRIKE2 = "Ene1Golpe2";

  // The enemy, then the hands on "Bip01_R_Hand" and "Bip01_L_Hand".
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  CEntity& GetRightHand() { return m_RightHand; }
  CEntity& GetLeftHand() { return m_LeftHand; }

 protected:
  CMeleeEnemy(uint32_t colour, uint32_t health, const char* redMesh, const char* blueMesh, float speed,
              platform::ID3DXAnimationCallbackHandler* handler, const char* hurtSound);
  // Each hand in the player's doubled sphere costs the player damagePerSecond x frame time.
  void HandBlows(float damagePerSecond);
  // "Ene1Golpe1" or "Ene1Golpe2" by a random boolean, played once.
  const char* PickStrike() const;
  // One frame of the chase: walking, steered toward the player with the
  // given weight; when the steering gives up, idle and facing away from
  // the way it was pushed, with the heading window cleared.
  void ChaseStep(float weight);

  CEntity m_RightHand;
  CEntity m_LeftHand;
  MELEE_KEY m_Keys[2];
};

class CEnemy1 : public CMeleeEnemy {
 public:
  static constexpr float CHASE_WEIGHT = 10.0f;
  static constexpr float BLOW_DAMAGE = 20.0f;  // per second per hand
  explicit CEnemy1(uint32_t colour = 0);
  void Step() override;
  bool IsAttacking() const { return m_Attacking != 0; }

 private:
  uint8_t m_Attacking = 0;
  CEnemy1CBH m_Handler;
};

class CEnemy7 : public CMeleeEnemy {
 public:
  enum State : uint32_t { HIDDEN = 0, CHASING = 1, ATTACKING = 2 };
  static constexpr float SPEED = 650.0f;
  static constexpr float CHASE_WEIGHT = 8.0f;
  static constexpr float BLOW_DAMAGE = 30.0f;
  static constexpr float FADE_SPEED = 128.0f;
  static constexpr float WAKE_TIME = 2.0f;
  static constexpr float WAKE_RANGE_SQ = 490000.0f;  // 700 squared
  static constexpr float CHASE_TIME = 5.0f;
  static constexpr float LOSE_RANGE_SQ = 9.0e6f;     // 3000 squared

  explicit CEnemy7(uint32_t colour = 0);
  void Step() override;
  void Hide();
  void StartChase();
  void StartAttack();

  uint32_t GetState() const { return m_State; }
  float GetTimer() const { return m_Timer; }
  bool IsFading() const { return m_Fading != 0; }
  Nembra::CVanishEffect& GetFade() { return m_Fade; }

 private:
  void UpdateHidden(float d2);
  void UpdateChasing(float d2);
  void UpdateAttacking(float d2);
  // A finished fade leaves the sprite.
  void DropFinishedFade();
  void StopHidden();

  uint32_t m_State = HIDDEN;
  CEnemy7CBH m_Handler;
  Nembra::CVanishEffect m_Fade;
  uint8_t m_Fading = 0;
  float m_Timer = 0.0f;
};

// The handlers of the shooting kinds: the key asks the enemy to fire.
class CEnemy3CBH : public platform::ID3DXAnimationCallbackHandler {
 public:
  platform::HRESULT HandleCallback(uint32_t track, void* data) override;
};
class CEnemy2CBH : public platform::ID3DXAnimationCallbackHandler {
 public:
  platform::HRESULT HandleCallback(uint32_t track, void* data) override;
};
class CEnemy8CBH : public platform::ID3DXAnimationCallbackHandler {
 public:
  platform::HRESULT HandleCallback(uint32_t track, void* data) override;
};

class CEnemy3 : public CEnemy {
 public:
  static constexpr float RADIUS = 100.0f;
  static constexpr int32_t WINDOW = 50;
  static constexpr uint32_t POWER = 12;
  static constexpr float SHOOT_RANGE_SQ = 2.25e6f;  // 1500 squared
  static constexpr float SIGHT_RADIUS = 20.0f;
  static constexpr float KEY_TIME = 0.0f;

  explicit CEnemy3(uint32_t colour = 0);
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  void Step() override;
  // The key of the shooting set: one bullet from the muzzle.
  void Fire();

  CEntity& GetMuzzle() { return m_Muzzle; }
  bool IsShooting() const { return m_Shooting != 0; }
  void SetShotSound(Nembra::CSound* sound) { m_pShotSound = sound; }

 private:
  CEntity m_Muzzle;
  uint8_t m_Shooting = 0;
  std::vector<CEnemy3*> m_KeyData;
  CEnemy3CBH m_Handler;
  Nembra::CSound* m_pShotSound = nullptr;
};

class CEnemy2 : public CEnemy {
 public:
  enum State : uint32_t { CLOSED = 0, CLOSING = 1, OPENING = 2, ATTACKING = 3 };
  static constexpr float RADIUS = 80.0f;
  static constexpr int32_t WINDOW = 30;
  static constexpr uint32_t POWER = 15;
  static constexpr float KEY_TIME = 1000.0f;

  explicit CEnemy2(uint32_t colour = 0);
  // The enemy, then the right hand, left hand and navel on their bones.
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  void Step() override;
  // Closed, shots pass without effect.
  void OnShotHit(const CBullet& shot) override;
  // The key of the attack set: a volley of three.
  void Fire();

  uint32_t GetState() const { return m_State; }
  CEntity& GetNode(int index) { return index == 0 ? m_RightHand : (index == 1 ? m_LeftHand : m_Navel); }
  void SetShotSound(Nembra::CSound* sound) { m_pShotSound = sound; }

 private:
  CEntity m_RightHand;
  CEntity m_LeftHand;
  CEntity m_Navel;
  uint32_t m_State = CLOSED;
  std::vector<CEnemy2*> m_KeyData;
  CEnemy2CBH m_Handler;
  Nembra::CSound* m_pShotSound = nullptr;
};

class CEnemy8 : public CEnemy {
 public:
  static constexpr float SPEED = 120.0f;
  static constexpr float RADIUS = 100.0f;
  static constexpr int32_t WINDOW = 50;
  static constexpr uint32_t POWER = 6;
  static constexpr float SCALE = 1.3f;
  static constexpr float KEY_TIME = 300.0f;
  static constexpr float SHOOT_RANGE_SQ = 1.0e6f;  // 1000 squared
  static constexpr float NOTICE_RANGE_SQ = 9.0e6f;  // 3000 squared

  explicit CEnemy8(uint32_t colour = 0);
  ~CEnemy8() override;
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  void AddSpriteToScene() override;
  void Step() override;
  // The polarity rule, then, for an other-colour hit that did not kill, a
  // switch to the shot's colour on a coin toss.
  void OnShotHit(const CBullet& shot) override;
  void Fire();

  CEntity& GetMuzzle() { return m_Muzzle; }
  Nembra::CAnimated3DSprite& GetModel(uint32_t colour) { return colour == 1 ? m_BlueModel : m_RedModel; }
  bool IsShooting() const { return m_Shooting != 0; }
  void SetShotSound(Nembra::CSound* sound) { m_pShotSound = sound; }

 private:
  void Chase();

  CEntity m_Muzzle;
  uint8_t m_Shooting = 0;
  Nembra::CAnimated3DSprite m_BlueModel;
  Nembra::CAnimated3DSprite m_RedModel;
  std::vector<CEnemy8*> m_BlueKeyData;
  std::vector<CEnemy8*> m_RedKeyData;
  CEnemy8CBH m_Handler;
  Nembra::CSound* m_pShotSound = nullptr;
};
