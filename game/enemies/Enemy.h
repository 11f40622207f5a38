#pragma once
// The base of every enemy: polarity, the heading window that smooths its
// facing, the dying fade and the health bar drawn over it.
#include <cstdint>
#include <vector>

#include "engine/effects/RenderEffects.h"
#include "engine/sprites/Sprite2D.h"
#include "game/Character.h"

namespace Nembra {
class CSound;
}
class CBullet;

class CEnemy : public CCharacter {
 public:
  static constexpr float VANISH_SPEED = 512.0f;

  explicit CEnemy(uint32_t colour = 0);
  ~CEnemy() override = default;

  // The entity's Deactivate: the enemy dies.
  void Deactivate() override { Kill(); }
  virtual void Kill();

  // Damage whatever the colour.
  virtual void Damage(uint32_t amount);
  // Damage by a player shot, by the polarity rule.
  virtual void OnShotHit(const CBullet& shot);
  // The value of the soul the enemy leaves.
  virtual uint32_t GetEnergyValue();
  // Killed at once by the player's ability.
  virtual void KillNow();
  // Hit by an energy wave of a colour.
  virtual void OnWaveHit(uint32_t colour);
  virtual bool IsBoss() const { return false; }
  // Run when damage kills the enemy.
  virtual void OnKilled() {}

  // Draws the health bar inside the open sprite batch.
  void DrawHealthBar();

  uint32_t GetColour() const { return m_Colour; }
  bool IsDying() const { return m_Dying != 0; }
  bool WasHit() const { return m_Hit != 0; }
  int32_t GetHeadingWindow() const { return m_Window; }
  const std::vector<D3DXVECTOR3>& GetHeadingBuffer() const { return m_HeadingBuffer; }

 protected:
  // Sets the heading window to n zero headings.
  void SetHeadingWindow(int32_t n);

  std::vector<D3DXVECTOR3> m_HeadingBuffer;
  int32_t m_Window = 0;
  int32_t m_Cursor = 0;
  uint8_t m_Dying = 0;
  Nembra::CVanishEffect m_Vanish;
  Nembra::CStatic2DSprite m_HealthFrame;
  Nembra::CStatic2DSprite m_HealthFill;
  uint32_t m_Colour = 0;
  uint8_t m_Hit = 0;
  Nembra::CSound* m_pHurtSound = nullptr;
};
