#pragma once
// The two growing waves the shock weapons spawn: the stations' energy wave
// and the player's ability. The one-shot effects of the mechanisms are in
// ParticleEffect.h.
// The level owns every one of them in its effect list.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/effects/RenderEffects.h"
#include "engine/scene/StaticSprite.h"
#include "game/actors/Entity.h"
#include "game/effects/ParticleEffect.h"
#include "game/mechanisms/LevelObject.h"

class CEnemy;

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
