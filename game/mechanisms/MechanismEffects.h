#pragma once
// The mechanisms' particle effects: the blasts of barrels and bombs, which
// set off barrels, open wire grates and hurt the player, and the plain
// bursts of a breaking grate, a pushed block running into a grate and the
// sparks of a destroyed laser.
#include <string>

#include "game/actors/Entity.h"

class CBarrel;
class CBomb;
class CWireGrate;

namespace Nembra {

// A particle effect at a point, its emitter raised by an offset above it,
// finished when its particles are.
class CMechanismEffect : public CParticleSystemEntity {
 public:
  CMechanismEffect(const std::string& particleFile, const D3DXVECTOR3& position, float emitterHeight);
  void Step() override { StepEffect(); }
};

class CBarrelExplosionEffect : public CMechanismEffect {
 public:
  static constexpr const char* PARTICLE_FILE = "BarrelBreak.pfx";
  static constexpr float EMITTER_HEIGHT = 120.0f;
  // Added to the blast's reach and a barrel's radius.
  static constexpr float BARREL_MARGIN = 30.0f;

  explicit CBarrelExplosionEffect(CBarrel& barrel);
  // Sets off the other standing barrels and opens the closed grates within
  // reach, every step until the particles are done.
  void Step() override;

  // The blast's radius: the emitter's cylinder or sphere radius; 0 for
  // other kinds and without an emitter.
  float GetBlastRadius() const;
  CBarrel* GetSource() const { return m_pSource; }

 private:
  CBarrel* m_pSource;
};

class CBombExplosionEffect : public CMechanismEffect {
 public:
  static constexpr const char* PARTICLE_FILE = "Bomb.pfx";
  static constexpr float EMITTER_HEIGHT = 120.0f;
  static constexpr float START_RADIUS = 50.0f;
  static constexpr float MAX_RADIUS = 700.0f;
  static constexpr float GROWTH = 700.0f;  // units per second
  static constexpr float DAMAGE = 100.0f;  // each frame of contact

  explicit CBombExplosionEffect(CBomb& bomb);
  // Grows towards 700, opening closed grates while it grows, and hurts the
  // player it touches every frame until the particles are done.
  void Step() override;

  float GetBlastRadius() const { return m_BlastRadius; }
  CBomb* GetSource() const { return m_pSource; }

 private:
  CBomb* m_pSource;
  float m_BlastRadius = START_RADIUS;
};

class CWireGrateExplosionEffect : public CMechanismEffect {
 public:
  explicit CWireGrateExplosionEffect(CWireGrate& grate);
};

class CPushableCollisionEffect : public CMechanismEffect {
 public:
  static constexpr const char* PARTICLE_FILE = "PushableCollision.pfx";
  explicit CPushableCollisionEffect(const D3DXVECTOR3& position);
};

}  // namespace Nembra

class CSparkEffect : public Nembra::CMechanismEffect {
 public:
  static constexpr const char* PARTICLE_FILE = "Spark.pfx";
  explicit CSparkEffect(const D3DXVECTOR3& position);
};
