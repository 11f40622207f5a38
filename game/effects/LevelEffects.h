#pragma once
// The particle effects the level mechanisms and the shock waves spawn: the
// plain explosion, the door explosion, the generators' charge bar, and the
// two growing waves (the stations' energy wave and the player's ability).
// The level owns every one of them in its effect list.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/effects/RenderEffects.h"
#include "engine/scene/StaticSprite.h"
#include "game/Entity.h"
#include "game/mechanisms/LevelObject.h"

class CEnemy;

namespace Nembra {

// One particle file played once at a point; inactive once it has finished
// (at its first step without an emitter).
class COneShotEffect : public CParticleSystemEntity {
 public:
  COneShotEffect(const std::string& particleFile, const D3DXVECTOR3& position);
  void Step() override { StepEffect(); }
};

class CExplosionEffect : public COneShotEffect {
 public:
  explicit CExplosionEffect(const float position[3]);
};

// A broken door or a target shot down.
class CDoorExplosionEffect : public COneShotEffect {
 public:
  explicit CDoorExplosionEffect(const D3DXVECTOR3& position);
  explicit CDoorExplosionEffect(CEntity& entity);
};

}  // namespace Nembra

// The rising particle bar of a generator or a station. It never finishes;
// the level deletes it at restart and unload.
class CGenBarEffect : public CParticleSystemEntity {
 public:
  explicit CGenBarEffect(uint32_t colour);
  // Moves the bar to the height (its x and y stay).
  void SetHeight(float z);
  // The emitter stops: no new particle is made.
  void Stop();
};

namespace Nembra {

// What the two waves share: a ring of energy that grows 3500 units a
// second under two flat additive rings that fade out together.
class CWaveEffect : public CParticleSystemEntity {
 public:
  static constexpr float GROWTH = 3500.0f;
  static constexpr float END_RADIUS = 500.0f;
  static constexpr float FADE_SPEED = 64.0f;

  ~CWaveEffect() override;

  float GetRadius() const { return m_Radius; }
  CStatic3DSprite& GetRing(int index) { return index == 0 ? m_FirstRing : m_SecondRing; }
  CVanishEffect& GetVanish() { return m_Vanish; }

 protected:
  CWaveEffect(const D3DXVECTOR3& position, const std::string& firstRingMesh);
  // Steps 1 and 2 of the wave: the base step, growth, the rings turn.
  void Grow();
  // The active enemies not dying that the ring has reached, in list order.
  std::vector<CEnemy*> ReachedEnemies();
  // Ends the wave once the emitter, the radius and the fade are all done.
  void EndWhenDone();

  float m_Radius = 0.0f;
  CStatic3DSprite m_FirstRing;
  CStatic3DSprite m_SecondRing;
  CVanishEffect m_Vanish;

 private:
  void SetUpRing(CStatic3DSprite& ring, CHeldMesh& mesh, const std::string& meshName, float z);
  CHeldMesh m_FirstMesh;
  CHeldMesh m_SecondMesh;
};

class CEnergyWaveEffect : public CWaveEffect {
 public:
  CEnergyWaveEffect(const float position[3], uint32_t colour);
  void Step() override;
  uint32_t GetColour() const { return m_Colour; }

 private:
  uint32_t m_Colour = 0;
};

class CGuyAbilityEffect : public CWaveEffect {
 public:
  explicit CGuyAbilityEffect(const D3DXVECTOR3& playerPosition);
  void Step() override;
};

}  // namespace Nembra
