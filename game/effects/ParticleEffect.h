#pragma once
// Short visual events shown by one particle emitter read from a particle
// file: impacts, explosions, deaths and the player's shot flash. An effect
// places itself once when it is made, may play one sound then (only while
// the player is alive), and the one-shot kinds go inactive when their
// emitter has finished; the level then deletes them. Without the particle
// file an effect has no emitter and counts as finished at once.
#include <cstdint>
#include <string>

#include "game/actors/Entity.h"
#include "game/actors/Movement.h"

namespace Nembra {
class CSound;
}
class CEnemy;

class CParticleEffect : public CParticleSystemEntity {
 public:
  // The sound played when the effect was made; null when none played.
  Nembra::CSound* GetSound() const { return m_pSound; }

 protected:
  // The construction steps, in order: emitter from the file, the effect's
  // place, the emitter's own height offset, the sound.
  void Build(const std::string& particleFile, const D3DXVECTOR3& position);
  // The emitter's z offset (nothing without an emitter).
  void SetEmitterHeight(float z);
  // Takes the sound by name and plays it once, when the player is active.
  void PlaySound(const std::string& soundFile);

  Nembra::CSound* m_pSound = nullptr;
};

// The effects that end by themselves: the entity step, then inactive once
// the emitter has finished (or when there never was one).
class COneShotParticleEffect : public CParticleEffect {
 public:
  void Step() override { StepEffect(); }
};

// The height offset of a projectile's emitter: where its trail was drawn
// (0 for a projectile without emitter).
float EmitterHeight(const CParticleSystemMovingEntity& projectile);

namespace Nembra {

// The flash of the player's shot: at the hand ("Disparo Arma 0.pfx") when
// the muzzle flag is set, else 40 ahead of it along the aim, in the
// shot's colour.
class COrdinaryWeaponEffect : public COneShotParticleEffect {
 public:
  COrdinaryWeaponEffect(bool muzzle, int colour);
};

// A projectile that met a wall or the player: at the projectile's place,
// the emitter at the projectile's emitter height, with the impact sound.
class CProjectileHitEffect : public COneShotParticleEffect {
 public:
  CProjectileHitEffect(const std::string& particleFile, const std::string& soundFile,
                       const CParticleSystemMovingEntity& projectile);
};

class CEnemy2BulletWallHitEffect : public CProjectileHitEffect {
 public:
  explicit CEnemy2BulletWallHitEffect(const CParticleSystemMovingEntity& bullet)
      : CProjectileHitEffect("Enemy2ImpactoBala.pfx", "Ene2ColDisparo.wav", bullet) {}
};

class CEnemy3BulletWallHitEffect : public CProjectileHitEffect {
 public:
  explicit CEnemy3BulletWallHitEffect(const CParticleSystemMovingEntity& bullet)
      : CProjectileHitEffect("Enemy3ImpactoBala.pfx", "Ene3ColDisparo.wav", bullet) {}
};

class CBoss0BulletWallHitEffect : public CProjectileHitEffect {
 public:
  explicit CBoss0BulletWallHitEffect(const CParticleSystemMovingEntity& shot)
      : CProjectileHitEffect("Boss0HitRed.pfx", "Ene3ColDisparo.wav", shot) {}
};

class CBoss0AbilityBulletWallHitEffect : public CProjectileHitEffect {
 public:
  explicit CBoss0AbilityBulletWallHitEffect(const CParticleSystemMovingEntity& shot)
      : CProjectileHitEffect("Boss0AbilityBulletHit.pfx", "Ene3ColDisparo.wav", shot) {}
};

class CBoss1BulletWallHitEffect : public CProjectileHitEffect {
 public:
  explicit CBoss1BulletWallHitEffect(const CParticleSystemMovingEntity& shot)
      : CProjectileHitEffect("Boss1ImpactoBala.pfx", "Ene3ColDisparo.wav", shot) {}
};

class CBoss1LaserWallHitEffect : public CProjectileHitEffect {
 public:
  explicit CBoss1LaserWallHitEffect(const CParticleSystemMovingEntity& shot)
      : CProjectileHitEffect("Boss1LaserImpact.pfx", "Ene3ColDisparo.wav", shot) {}
};

// A boss's death: at the boss, the emitter 120 up, with the explosion.
class CBossKillEffect : public COneShotParticleEffect {
 public:
  static constexpr float HEIGHT = 120.0f;
  CBossKillEffect(const std::string& particleFile, CEntity& boss);
};

class CBoss0KillEffect : public CBossKillEffect {
 public:
  explicit CBoss0KillEffect(CEnemy& boss);
};

// The stations' blast: "WWExplosion.pfx" at a given point, no sound.
class CExplosionEffect : public COneShotParticleEffect {
 public:
  explicit CExplosionEffect(const float position[3]);
};

// A broken door or a target shot down: "DoorBreak.pfx" at a given point or
// at an entity's world position, no sound.
class CDoorExplosionEffect : public COneShotParticleEffect {
 public:
  explicit CDoorExplosionEffect(const D3DXVECTOR3& position);
  explicit CDoorExplosionEffect(CEntity& entity);
};

class CBoss1KillEffect : public CBossKillEffect {
 public:
  explicit CBoss1KillEffect(CEntity& boss) : CBossKillEffect("Boss1Kill.pfx", boss) {}
};

}  // namespace Nembra

// The rising particle bar of a generator or a station ("GenBarRed.pfx" for
// colour 0, "GenBarBlue.pfx" otherwise). It takes only the entity step and
// never finishes; the level deletes it at restart and unload.
class CGenBarEffect : public CParticleEffect {
 public:
  explicit CGenBarEffect(uint32_t colour);
  // Moves the bar to the height (its x and y stay).
  void SetHeight(float z);
  // The emitter stops emitting; the particles already out live on.
  void Stop();
};
