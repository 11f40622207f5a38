#pragma once
// The horn-and-spit enemy: it gores the player at close range and spits an
// arcing gas ball from further away.
#include <cstdint>

#include "game/enemies/Enemy.h"
#include "platform/mesh/XAnimation.h"

class CEnemy6;

// The data of an animation key: the enemy and the key's number (1 horn, 2 spit).
struct ENEMY6_KEY {
  CEnemy6* enemy = nullptr;
  int32_t key = 0;
};

class CEnemy6CBH : public platform::ID3DXAnimationCallbackHandler {
 public:
  // The spit key launches the gas ball; the horn key does nothing.
  platform::HRESULT HandleCallback(uint32_t track, void* data) override;
};

class CEnemy6 : public CEnemy {
 public:
  static constexpr float RADIUS = 70.0f;
  static constexpr float HORN_RADIUS = 10.0f;
  static constexpr int32_t WINDOW = 50;
  static constexpr float HORN_DAMAGE = 9.0f;  // per second of contact
  static constexpr float SPIT_RANGE_SQ = 250000.0f;  // 500 squared
  static constexpr float HORN_RANGE_SQ = 22500.0f;   // 150 squared
  static constexpr int32_t SPIT_ROLL = 75;
  static constexpr float HORN_KEY_TIME = 1400.0f;
  static constexpr float SPIT_KEY_TIME = 2200.0f;
  static constexpr float LOB_FACTOR = 0.0008f;
  static constexpr const char* IDLE = "Ene6Reposo";
  static constexpr const char* WALK = "Ene6CaminarAdelante";
  static constexpr const char* HORN = "Ene6GolpeCuerno";
  static constexpr const char* SPIT = "Ene6GolpeEscupir";

  explicit CEnemy6(uint32_t colour = 0);
  // The enemy, then the horn node on "Cuerno" and the mouth node on "Boca".
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  void Step() override;
  // The spit key: one gas ball from the mouth, power 0.
  void Spit();
  // The launch direction of a ball (before normalisation): along the facing,
  // thrown higher the further away the player is.
  D3DXVECTOR3 LaunchDirection() const;

  bool IsHorning() const { return m_Horning != 0; }
  bool IsSpitting() const { return m_Spitting != 0; }
  CEntity& GetMouth() { return m_Mouth; }
  CEntity& GetHorn() { return m_Horn; }
  const ENEMY6_KEY& GetKey(int index) const { return m_Keys[index]; }
  void SetShotSound(Nembra::CSound* sound) { m_pShotSound = sound; }

 private:
  // Returns true when the enemy has decided this frame (attack still running).
  bool RunAttack();
  void Decide();

  uint8_t m_Horning = 0;
  uint8_t m_Spitting = 0;
  CEntity m_Mouth;
  CEntity m_Horn;
  ENEMY6_KEY m_Keys[2];
  CEnemy6CBH m_Handler;
  Nembra::CSound* m_pShotSound = nullptr;
};
