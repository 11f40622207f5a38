#pragma once
// game/enemies/: the enemies, their shots and generators; the bosses in
// bosses/. It may call actors/, level/ (the current level), script/,
// world/, effects/, engine/ and platform/.
//
// The base of every enemy: polarity, the heading window that smooths its
// facing, the dying fade and the health bar drawn over it.
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "engine/effects/RenderEffects.h"
#include "engine/resources/FactoryRef.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/resources/Texture.h"
#include "engine/sprites/Sprite2D.h"
#include "game/actors/Character.h"

namespace Nembra {
class CSound;
class CTexture;
}  // namespace Nembra
class CBullet;
class CPlayer;

// Whether a one-shot animation has played to its end: finished, or there
// is nothing to play (no sprite or no mesh).
bool IsOneShotEnded(const Nembra::CAnimated3DSprite* sprite);

// The weights and variants of the chase steering the walking enemies share.
struct CHASE_STEERING {
  float pursuitWeight = 10.0f;
  float pursuitAhead = 0.3f;      // seconds ahead of a moving player
  float obstacleLookAhead = 0.1f;  // seconds
  float wallWeight = 10000.0f;
  bool inclusiveFlip = true;       // the wall normal flips at exactly 90 and 270 degrees too
  bool blendHeading = true;        // the new heading keeps 90 % of the old one
  bool wallLookIncludesObjects = true;
};

// The chase of the enemies that shoot from a distance (the shooter and the
// first boss): half the pursuit, a short look ahead at the player, a long
// one at obstacles, strong walls, no heading blend.
inline CHASE_STEERING ShooterChaseSteering() {
  CHASE_STEERING weights;
  weights.pursuitWeight = 5.0f;
  weights.pursuitAhead = 0.1f;
  weights.obstacleLookAhead = 10.0f;
  weights.wallWeight = 50000.0f;
  weights.blendHeading = false;
  return weights;
}

class CEnemy : public CCharacter {
 public:
  static constexpr float VANISH_SPEED = 512.0f;
  static constexpr float BAR_HEIGHT = 200.0f;
  static constexpr const char* HEALTH_TEXTURE = "EnemyHealth.tga";
  static constexpr float SEPARATION_WEIGHT = 1600.0f;
  static constexpr float OBSTACLE_WEIGHT = 90000.0f;

  explicit CEnemy(uint32_t colour = 0);
  ~CEnemy() override;

  // The entity's Deactivate: the enemy dies.
  void Deactivate() override { Kill(); }
  // All health taken and the fade started (one already running goes on);
  // no sound, no OnKilled.
  virtual void Kill();
  // The enemy's frame: stopped by the player it would touch, moved, and
  // inactive once its death fade is over.
  void Step() override;
  // The direction, and the model turned to face it.
  void SetDirection(const D3DXVECTOR3& v) override;

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

  // The newest heading into the window; the mean of the window.
  D3DXVECTOR3& AverageHeading(D3DXVECTOR3& out, const D3DXVECTOR3& newest);
  void ClearHeadings();

  uint32_t GetColour() const { return m_Colour; }
  bool IsDying() const { return m_Dying != 0; }
  bool WasHit() const { return m_Hit != 0; }
  int32_t GetHeadingWindow() const { return m_Window; }
  const std::vector<D3DXVECTOR3>& GetHeadingBuffer() const { return m_HeadingBuffer; }
  Nembra::CVanishEffect& GetVanish() { return m_Vanish; }
  Nembra::CStatic2DSprite& GetHealthFrame() { return m_HealthFrame; }
  Nembra::CStatic2DSprite& GetHealthFill() { return m_HealthFill; }
  Nembra::CSound* GetHurtSound() const { return m_pHurtSound; }
  void SetHurtSound(Nembra::CSound* sound) { m_pHurtSound = sound; }
  // Health and its maximum.
  void SetHealth(uint32_t health) { m_MaxHealth = m_Health = health; }
  // The copies of the level's enemy list that chase steerings have made
  // for their separation, over the whole run (a profiling figure).
  static uint64_t GetSeparationCopies() { return s_SeparationCopies; }

 protected:
  // Sets the heading window to n zero headings.
  void SetHeadingWindow(int32_t n);
  // The fill's rectangle row for a colour (0 red, 1 blue).
  void SetFillColour(uint32_t colour);
  // The fill's scale from the health.
  void UpdateFill();
  void StartDying();
  // A skinned mesh from the factory (null without it or the file), held
  // until the enemy goes.
  Nembra::CSkinnedMesh* TakeMesh(const std::string& name);
  static Nembra::CSound* LoadSound(const char* name);

  // The chase steering's six steps with a kind's weights. True when this
  // frame's step would enter a wall; d0 is the direction the frame began with.
  bool SteerChase(const CHASE_STEERING& weights, D3DXVECTOR3& d0);
  // Turn towards the player (weight 1) without walking.
  void TurnToPlayer();
  // While an attack plays: turn towards the player and face the mean of the
  // heading window fed with speed x direction x 5000.
  void TurnWhileAttacking();
  // A wall on the path of a sphere of the own radius (class 1).
  bool WallOnPath(const D3DXVECTOR3& from, const D3DXVECTOR3& to, bool includeObjects, float radius,
                  D3DXVECTOR3* normal = nullptr) const;

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

 private:
  static uint64_t s_SeparationCopies;
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_HealthTexture{Nembra::g_pTextureFactory};
  // Destroyed after every kind's own sprites, which may show these meshes.
  std::list<Nembra::CFactoryRef<Nembra::CSkinnedMeshFactory>> m_Meshes;
};

// The player and the level the enemies read, through the game world; null
// without a world.
CPlayer* EnemyTarget();
// True while there is a player and it is active (alive and playing).
bool EnemyTargetActive();
// Squared distance from the point to the player (huge without a player).
float DistanceSqToPlayer(const D3DXVECTOR3& point);
// The frame time of the engine.
float EnemyFrameTime();
