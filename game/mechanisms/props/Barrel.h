#pragma once
// Barrels, which any shot sets off, and the scripts' timed bombs.
#include <cstdint>

#include "engine/effects/RenderEffects.h"
#include "game/actors/Entity.h"
#include "game/mechanisms/LevelObject.h"

namespace Nembra {
class CAudiereSound;
}

class CBarrel : public CStaticSpriteEntity {
 public:
  static constexpr float RADIUS = 30.0f;
  static constexpr float VANISH_SPEED = 2048.0f;

  CBarrel();
  ~CBarrel() override = default;

  // Standing and solid again, shown whole.
  void Reset();
  void LoadSound();
  // Any shot or a nearby blast: out of the level's shapes, a blast, the
  // sound and a fade-out.
  void Explode();
  // The entity step, then the end of the fade-out.
  void Step() override;
  bool IsFading() const { return m_Fading != 0; }
  Nembra::CAudiereSound* GetExplosionSound() const { return m_pExplosionSound; }
  // Octagons of radius r and r + 60 about the barrel's world position.
  void BuildCollisionBoxes();

  CCollisionShape& GetCollisionBox(int index) { return m_CollisionBoxes[static_cast<size_t>(index)]; }

 protected:
  Nembra::CVanishEffect m_Vanish;
  uint8_t m_Fading = 0;
  Nembra::CAudiereSound* m_pExplosionSound = nullptr;
  COLLISION_BOXES m_CollisionBoxes;
};

class CBomb : public CStaticSpriteEntity {
 public:
  static constexpr const char* MESH = "BombPack.X";

  // Enters the scene at once; the sprite shows only when visible is set.
  CBomb(const D3DXVECTOR3& position, int visible, float fuse);
  ~CBomb() override;

  // Burns the fuse; once it is out, one blast, the sprite hidden and the
  // bomb finished.
  void Step() override;

  float GetFuse() const { return m_Fuse; }

 protected:
  float m_Fuse = 0.0f;

 private:
  CHeldMesh m_Mesh;
};
