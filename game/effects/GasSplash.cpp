#include "game/effects/GasSplash.h"

#include <memory>

#include "engine/app/Application.h"
#include "engine/particles/ParticleEmitter.h"
#include "engine/scene/SceneManager.h"
#include "engine/particles/ParticleParams.h"
#include "engine/resources/Shader.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/resources/Texture.h"
#include "engine/util/Random.h"
#include "game/level/Level.h"

namespace Nembra {

namespace {

void Colour(float out[4], float r, float g, float b, float a) {
  out[0] = r / 255.0f;
  out[1] = g / 255.0f;
  out[2] = b / 255.0f;
  out[3] = a / 255.0f;
}

// The emitter of a record made in code: texture and state block taken as a
// particle file's are, the record's references held until the emitter has
// taken its own.
CParticleEmitter* Finish(EMITTER_PARAMS& record, const std::string& blockName, uint32_t destBlend) {
  CFactoryRef<CTextureFactory> heldTexture(g_pTextureFactory);
  CFactoryRef<CShaderFactory> heldBlock(g_pShaderFactory);
  record.textureSet.Resize(1);
  record.textureSet.SetTexture(0, heldTexture.Take(record.textureName));
  record.stateBlock = heldBlock.Take(blockName);
  if (CShader* block = record.stateBlock) {
    using namespace platform;
    block->SetRenderState(D3DRS_LIGHTING, 0);
    block->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    block->SetRenderState(D3DRS_SRCBLEND, 5);
    block->SetRenderState(D3DRS_DESTBLEND, destBlend);
    block->SetRenderState(D3DRS_BLENDOP, 1);
    block->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    block->SetTextureStageState(0, D3DTSS_ALPHAOP, 4);
    block->SetTextureStageState(0, D3DTSS_COLOROP, 5);
    block->SetTextureStageState(0, D3DTSS_ALPHAARG1, 2);
    block->SetTextureStageState(0, D3DTSS_ALPHAARG2, 0);
    block->SetTextureStageState(0, D3DTSS_COLORARG1, 2);
    block->SetTextureStageState(0, D3DTSS_COLORARG2, 0);
    block->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    block->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    block->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
  }
  std::unique_ptr<CParticleEmitter> emitter = MakeParticleEmitter(record.Kind());
  if (emitter) emitter->SetParams(record);
  heldTexture.Reset();
  heldBlock.Reset();
  if (emitter) emitter->SetPosition(0.0f, 0.0f, 0.0f);
  return emitter.release();
}

}  // namespace

CParticleEmitter* MakeGasBallEmitter(const D3DXVECTOR3& direction) {
  EMITTER_PARAMS p;
  p.name = "AUTO_ENEMY6_BULLET_PARTICLE_SYSTEM";
  p.duration = -1.0f;
  p.acceleration[0] = p.acceleration[1] = p.acceleration[2] = 0.0f;
  p.initialBurst = 50;
  p.maxParticles = 300;
  p.emissionRate = 300.0f;
  p.emissionInterval = 0.0f;
  p.textureName = "Bullet.tga";
  p.direction[0] = -direction.x;
  p.direction[1] = -direction.y;
  p.direction[2] = -direction.z;
  p.directed = 0;
  p.spread = 2.0f;
  p.life = 0.6f;
  p.lifeVariation = 0.3f;
  p.speed = 50.0f;
  p.speedVariation = 20.0f;
  Colour(p.startColor, 0, 128, 64, 200);
  p.startSize = 20.0f;
  Colour(p.endColor, 20, 228, 207, 100);
  p.endSize = 5.0f;
  p.endAccelerationFactor[2] = 980.0f;
  p.colorVariation[0] = 0.2f;
  p.colorVariation[2] = 0.2f;
  p.sizeVariation = 5.0f;
  return Finish(p, "AUTO_ENEMY6_BULLET_PARTICLE_SYSTEM_SHADER", 6);
}

CParticleEmitter* MakeGasSplashEmitter(const std::string& blockName) {
  SPHERE_EMITTER_PARAMS p;
  p.name = blockName;
  p.duration = 0.5f;
  p.acceleration[0] = p.acceleration[1] = p.acceleration[2] = 0.0f;
  p.initialBurst = 50;
  p.maxParticles = 50;
  p.emissionRate = 50.0f;
  p.emissionInterval = 0.0f;
  p.textureName = "GasParticle.tga";
  p.direction[0] = 0.0f;
  p.direction[1] = 0.0f;
  p.direction[2] = 1.0f;
  p.directed = 1;
  p.spread = 6.2831855f;
  p.life = 3.0f;
  p.lifeVariation = 0.5f;
  p.speed = 30.0f;
  p.speedVariation = 10.0f;
  Colour(p.startColor, 0, 128, 64, 180);
  p.startSize = 50.0f;
  Colour(p.endColor, 20, 228, 207, 0);
  p.endSize = 100.0f;
  p.sizeVariation = 0.0f;
  p.radius = 70.0f;
  p.onSurface = 1;
  return Finish(p, blockName, 2);
}

CEnemy6BulletWallHitEffect::CEnemy6BulletWallHitEffect(const CParticleSystemMovingEntity& bullet) {
  SetEmitter(MakeGasSplashEmitter("AUTO_ENEMY6_BULLET_WALL_HIT_PARTICLE_SYSTEM_SHADER"));
  SetPosition(bullet.WorldPosition());
  SetEmitterHeight(EmitterHeight(bullet));
  PlaySound("Ene6ColDisparo.wav");
}

CEnemy6BulletFloorHitEffect::CEnemy6BulletFloorHitEffect(const CParticleSystemMovingEntity& bullet) {
  SetEmitter(MakeGasSplashEmitter("AUTO_ENEMY6_BULLET_FLOOR_HIT_PARTICLE_SYSTEM_SHADER"));
  SetPosition(bullet.WorldPosition());
  m_Fade.speed = FADE_SPEED;
  if (CSkinnedMesh* mesh = m_SplatMesh.Take("Splat.X")) {
    m_Splat.SetMesh(mesh);
    m_Splat.SetAnimation("Spread", false);
  }
  m_Splat.SetPosition(0.0f, 0.0f, 1.0f);
  m_Splat.SetRotationZ(m_Splat.GetRotation().z + RandomFloat(0.0f, 6.2831855f));
  if (CLevel* level = CLevel::Current())
    m_pZone = level->AddSlowDowner(GetPosition(), ZONE_RADIUS, ZONE_SCALE, ZONE_GROWTH, 5.0f);
  PlaySound("Ene6Gas.wav");
}

CEnemy6BulletFloorHitEffect::~CEnemy6BulletFloorHitEffect() {
  if (m_Splat.GetRenderEffect() == &m_Fade) m_Splat.SetRenderEffect(nullptr);
  m_Splat.SetMesh(nullptr);  // before the holder gives the mesh back
}

void CEnemy6BulletFloorHitEffect::AddToScene(Nembra::CSceneNode* parent) {
  CParticleEffect::AddToScene(parent);
  if (g_pSceneManager) g_pSceneManager->AddNode(&m_Splat, this);
}

void CEnemy6BulletFloorHitEffect::RemoveFromScene() {
  if (g_pSceneManager) g_pSceneManager->RemoveNode(&m_Splat);
  CParticleEffect::RemoveFromScene();
}

bool CEnemy6BulletFloorHitEffect::SpreadEnded() const { return !m_Splat.GetMesh() || m_Splat.IsFinished(); }

void CEnemy6BulletFloorHitEffect::Step() {
  CEntity::Step();
  if (m_Fading) {
    if (m_Fade.IsFinished()) {
      m_Fading = 0;
      m_Splat.SetRenderEffect(nullptr);
      m_Splat.SetVisible(false);
      m_Active = 0;
    }
    return;
  }
  if (!SpreadEnded()) return;
  if (m_Linger > 0.0f) {
    m_Linger -= g_FrameTime;
    return;
  }
  m_Fading = 1;
  m_Fade.Restart();
  m_Splat.SetRenderEffect(&m_Fade);
  // Switched off, the zone is the level's to erase.
  if (m_pZone) m_pZone->SetAlive(false);
  m_pZone = nullptr;
}

}  // namespace Nembra
