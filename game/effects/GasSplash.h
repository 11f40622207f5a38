#pragma once
// The splashes of the horn-and-spit enemy's gas ball and the emitters the
// ball and its splashes build in code. On the floor the ball leaves a
// puddle that slows the player: it spreads, lingers 4 s after spreading,
// fades and switches its zone off. On a wall, a box or the player it just
// splashes. Without the puddle's mesh the spreading counts as ended.
#include <string>

#include "engine/effects/RenderEffects.h"
#include "engine/resources/FactoryRef.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/scene/Animated3DSprite.h"
#include "game/effects/ParticleEffect.h"

class CSlowDowner;

namespace Nembra {
class CParticleEmitter;
struct EMITTER_PARAMS;

// A point emitter of the gas ball trailing against the flight direction.
CParticleEmitter* MakeGasBallEmitter(const D3DXVECTOR3& direction);
// The sphere emitter of a splash, with its state block.
CParticleEmitter* MakeGasSplashEmitter(const std::string& blockName);

class CEnemy6BulletWallHitEffect : public COneShotParticleEffect {
 public:
  explicit CEnemy6BulletWallHitEffect(const CParticleSystemMovingEntity& bullet);
};

class CEnemy6BulletFloorHitEffect : public CParticleEffect {
 public:
  static constexpr float LINGER_TIME = 4.0f;
  static constexpr float FADE_SPEED = 512.0f;
  static constexpr float ZONE_RADIUS = 40.0f;
  static constexpr float ZONE_SCALE = 4.0f;
  static constexpr float ZONE_GROWTH = 0.125f;

  explicit CEnemy6BulletFloorHitEffect(const CParticleSystemMovingEntity& bullet);
  ~CEnemy6BulletFloorHitEffect() override;
  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  void RemoveFromScene() override;
  void Step() override;

  CAnimated3DSprite& GetSplat() { return m_Splat; }
  CSlowDowner* GetZone() const { return m_pZone; }
  bool IsFading() const { return m_Fading != 0; }
  float GetLingerTime() const { return m_Linger; }

 private:
  bool SpreadEnded() const;

  CAnimated3DSprite m_Splat;
  Nembra::CFactoryRef<Nembra::CSkinnedMeshFactory> m_SplatMesh{Nembra::g_pSkinnedMeshFactory};
  CVanishEffect m_Fade;
  uint8_t m_Fading = 0;
  float m_Linger = LINGER_TIME;
  CSlowDowner* m_pZone = nullptr;
};

}  // namespace Nembra
