#pragma once
// game/player/: the player, its input, its weapon and its ability.
// It may call actors/, the level and world, the profile store, engine/.
//
// The one player: walks with wall sliding against the level's collision
// classes, is stopped by enemies, collects souls into its weapon, takes
// damage with a throttled hurt sound, and carries its weapon, its ability
// meter and a hand node on the bone "Ayudante" from which shots start.
#include <cstdint>

#include "game/actors/Character.h"
#include "game/player/Ability.h"
#include "game/player/Weapon.h"

namespace Nembra {
class CSound;
}

class CPlayer : public CCharacter {
 public:
  static constexpr uint32_t MAX_HEALTH = 300;
  static constexpr float RADIUS = 50.0f;
  static constexpr float SPEED = 550.0f;
  static constexpr float SLOW_FACTOR = 0.3f;
  static constexpr float SLOW_DAMAGE = 5.0f;  // health per second in a slow-down zone
  static constexpr int HURT_SOUND_FRAMES = 21;
  static constexpr const char* HAND_BONE = "Ayudante";

  CPlayer();
  ~CPlayer() override = default;

  // The start-up reset: full health, the sounds of the player and weapon.
  void LoadResources();
  void SetSex(bool male);
  // The player, its weapon under it and the hand on its bone.
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  // The sprite's mesh and the hand on its bone again; false when the sprite
  // could not take the mesh.
  bool SetMesh(Nembra::CSkinnedMesh* mesh);
  float GetSpeed() const override { return m_SpeedFactor * m_Speed; }
  // The player's frame: hurt-sound throttle, slow zones, radiation, the
  // move with sliding, enemies, souls, the animation and the ability.
  void Step() override;

  // Health up by the part of the maximum, truncated, capped at the maximum.
  void Heal(float fraction);
  // Health back to the maximum without the healed flag (no gauge flash).
  void RestoreHealth() { m_Health = m_MaxHealth; }
  // Alive with full health, full charges and an empty meter.
  void Respawn();
  // Fractional damage is gathered and taken in whole units; playSound
  // plays the hurt sound at most once every 21 frames. NaN and negative
  // amounts do nothing; 0 hurts nothing but still asks for the sound.
  void Damage(float amount, bool playSound);
  // The step actually possible from `from` along `move`: the move, its
  // slide along the wall met, or nothing.
  D3DXVECTOR3& SlideMove(D3DXVECTOR3& out, const D3DXVECTOR3& from, const D3DXVECTOR3& move);
  // The run animation for walking along the direction while facing yaw.
  static const char* RunAnimation(const D3DXVECTOR3& direction, float yaw);

  CWeapon& GetWeapon() { return m_Weapon; }
  CAbility& GetAbility() { return m_Ability; }
  CEntity& GetHand() { return m_Hand; }
  const D3DXVECTOR3& GetShotDirection() const { return m_ShotDirection; }
  void SetShotDirection(const D3DXVECTOR3& direction) { m_ShotDirection = direction; }
  float GetDamageAccumulator() const { return m_DamageAccumulator; }
  float GetSpeedFactor() const { return m_SpeedFactor; }
  bool IsMale() const { return m_Male != 0; }
  bool CanWalk() const { return m_CanWalk != 0; }
  void SetCanWalk(bool canWalk) { m_CanWalk = canWalk ? 1 : 0; }
  float GetRadiation() const { return m_Radiation; }
  void SetRadiation(float radiation) { m_Radiation = radiation; }
  // The health display reads the flag and clears it.
  bool TakeHealed() {
    const bool healed = m_Healed != 0;
    m_Healed = 0;
    return healed;
  }
  int GetHurtSoundCounter() const { return m_HurtCounter; }
  // The sounds in use (factory resources, not owned); tests put their own.
  void SetSounds(Nembra::CSound* collect, Nembra::CSound* hurt) {
    m_pCollectSound = collect;
    m_pHurtSound = hurt;
  }

 private:
  uint32_t m_SlideDepth = 0;
  float m_DamageAccumulator = 0.0f;
  float m_SpeedFactor = 1.0f;
  CEntity m_Hand;
  D3DXVECTOR3 m_ShotDirection{1.0f, 0.0f, 0.0f};
  uint8_t m_Male = 1;
  uint8_t m_CanWalk = 1;
  Nembra::CSound* m_pCollectSound = nullptr;
  Nembra::CSound* m_pHurtSound = nullptr;
  int32_t m_HurtCounter = 0;
  CWeapon m_Weapon;
  CAbility m_Ability;
  float m_Radiation = 0.0f;
  uint8_t m_Healed = 0;
};
