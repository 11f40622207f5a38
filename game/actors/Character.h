#pragma once
// What the player and every enemy share: health, the named animation that
// is switched only when it changes, and the dead flag of the enemies' own
// damage path.
#include <cstdint>
#include <string>

#include "game/actors/Movement.h"

class CCharacter : public CAnimatedSpriteMovingEntity {
 public:
  ~CCharacter() override = default;

  // Health goes down by the amount; at or below it, to 0 and dead.
  void TakeDamage(uint32_t amount) {
    if (m_Health <= amount) {
      m_Health = 0;
      m_Dead = 1;
    } else {
      m_Health -= amount;
    }
  }
  // Plays the animation unless it is the one playing already.
  void SetAnimation(const std::string& name, bool loop);

  uint32_t GetHealth() const { return m_Health; }
  uint32_t GetMaxHealth() const { return m_MaxHealth; }
  bool IsDead() const { return m_Dead != 0; }
  const std::string& GetAnimationName() const { return m_AnimationName; }

 protected:
  std::string m_AnimationName;
  uint8_t m_Dead = 0;
  uint32_t m_MaxHealth = 0;
  uint32_t m_Health = 0;
};
