#include "game/effects/LevelEffects.h"

#include <cmath>

#include "engine/app/Application.h"
#include "engine/resources/Mesh.h"
#include "engine/resources/Shader.h"
#include "engine/util/Random.h"
#include "game/level/Level.h"

namespace Nembra {

namespace {

constexpr float RING_BOUNDS = 1000000.0f;

// Additive, unlit, no depth writes, its alpha taken from the texture factor
// the fade sets.
void MakeAdditive(CSimpleMesh* mesh) {
  if (!mesh || mesh->GetSubsets().empty()) return;
  CShader* block = mesh->GetSubsets().front().GetShader();
  if (!block) return;
  block->SetRenderState(platform::D3DRS_ZWRITEENABLE, 0);
  block->SetRenderState(platform::D3DRS_LIGHTING, 0);
  block->SetRenderState(platform::D3DRS_SRCBLEND, platform::D3DBLEND_SRCALPHA);
  block->SetRenderState(platform::D3DRS_DESTBLEND, platform::D3DBLEND_ONE);
  block->SetRenderState(platform::D3DRS_BLENDOP, platform::D3DBLENDOP_ADD);
  block->SetTextureStageState(0, platform::D3DTSS_ALPHAOP, platform::D3DTOP_MODULATE4X);
  block->SetTextureStageState(0, platform::D3DTSS_ALPHAARG2, platform::D3DTA_TFACTOR);
}

}  // namespace

CWaveEffect::CWaveEffect(const D3DXVECTOR3& position, const std::string& firstRingMesh) {
  CreateEmitter("Ability.pfx");
  SetPosition(position);
  if (m_pEmitter) {
    m_pEmitter->SetPosition(0.0f, 0.0f, 120.0f);
    const EMITTER_PARAMS* params = m_pEmitter->GetParams();
    // Without sphere parameters the wave starts from nothing.
    if (params && params->Kind() == EMITTER_SPHERE)
      m_Radius = static_cast<const SPHERE_EMITTER_PARAMS*>(params)->radius;
  }
  m_Vanish.blendSetup = false;
  m_Vanish.speed = FADE_SPEED;
  m_Vanish.Start(false);
  SetUpRing(m_FirstRing, m_FirstMesh, firstRingMesh, 152.0f);
  SetUpRing(m_SecondRing, m_SecondMesh, "AbilityWave.X", 150.0f);
}

CWaveEffect::~CWaveEffect() {
  if (g_pSceneManager) {
    g_pSceneManager->RemoveNode(&m_FirstRing);
    g_pSceneManager->RemoveNode(&m_SecondRing);
  }
  m_FirstRing.SetMesh(nullptr);
  m_SecondRing.SetMesh(nullptr);
}

void CWaveEffect::SetUpRing(CStatic3DSprite& ring, CHeldMesh& mesh, const std::string& meshName, float z) {
  CSimpleMesh* held = mesh.Take(meshName);
  MakeAdditive(held);
  ring.SetMesh(held);
  if (g_pSceneManager) g_pSceneManager->AddNode(&ring, this);
  ring.SetPosition(0.0f, 0.0f, z);
  ring.SetRotationZ(ring.GetRotation().z + RandomFloat(0.0f, 2.0f * D3DX_PI));
  ring.GetBoundingSphere().radius = RING_BOUNDS;
  ring.SetRenderEffect(&m_Vanish);
}

void CWaveEffect::Grow() {
  CEntity::Step();
  const float dt = g_FrameTime;
  m_Radius += GROWTH * dt;
  m_FirstRing.SetScale(m_Radius, m_Radius, 0.0f);
  m_FirstRing.SetRotationZ(m_FirstRing.GetRotation().z + dt);
  m_SecondRing.SetScale(m_Radius, m_Radius, 0.0f);
  m_SecondRing.SetRotationZ(m_SecondRing.GetRotation().z - 0.5f * dt);
  // Both rings draw through the one fade, each moving it on: the render pass
  // moves it once a frame, the second ring's share is taken here.
  m_Vanish.Update();
}

std::vector<CEnemy*> CWaveEffect::ReachedEnemies() {
  std::vector<CEnemy*> reached;
  CLevel* level = CLevel::Current();
  if (!level) return reached;
  const D3DXVECTOR3 centre = GetPosition();
  for (CEnemy* enemy : level->GetEnemies()) {
    if (!enemy || !enemy->IsActive() || enemy->IsDying()) continue;
    const D3DXVECTOR3 d = enemy->GetPosition() - centre;
    const float reach = enemy->GetRadius() + m_Radius;
    if (D3DXVec3LengthSq(&d) < reach * reach) reached.push_back(enemy);
  }
  return reached;
}

void CWaveEffect::EndWhenDone() {
  if (!IsEmitterFinished() || m_Radius < END_RADIUS || !m_Vanish.IsFinished()) return;
  m_Active = 0;
  if (g_pSceneManager) g_pSceneManager->RemoveNode(&m_FirstRing);
}

CEnergyWaveEffect::CEnergyWaveEffect(const float position[3], uint32_t colour)
    : CWaveEffect(D3DXVECTOR3(position[0], position[1], position[2]), colour != 0 ? "WaveBlue.X" : "WaveRed.X"),
      m_Colour(colour) {}

void CEnergyWaveEffect::Step() {
  Grow();
  if (CLevel* level = CLevel::Current()) {
    const D3DXVECTOR3 centre = GetPosition();
    for (CWaveWeapon& station : level->GetWaveWeapons()) {
      // Only a standing station can be blown out: Explode leaves it inactive.
      if (static_cast<uint32_t>(station.GetColour()) == m_Colour || !station.IsActive()) continue;
      const D3DXVECTOR3 d = station.GetPosition() - centre;
      const float reach = station.GetRadius() + m_Radius;
      if (D3DXVec3LengthSq(&d) + 300.0f < reach * reach) station.Explode();
    }
  }
  for (CEnemy* enemy : ReachedEnemies()) enemy->OnWaveHit(m_Colour);
  EndWhenDone();
}

CGuyAbilityEffect::CGuyAbilityEffect(const D3DXVECTOR3& playerPosition)
    : CWaveEffect(playerPosition, "AbilityWave.X") {}

void CGuyAbilityEffect::Step() {
  Grow();
  for (CEnemy* enemy : ReachedEnemies()) enemy->KillNow();
  EndWhenDone();
}

}  // namespace Nembra
