#include "game/enemies/Bosses.h"

#include "engine/resources/SkinnedMesh.h"
#include "game/GameGlobals.h"

namespace {

// Takes a skinned mesh for a model; the name is kept only when a reference
// was taken, so the release matches it exactly once.
Nembra::CSkinnedMesh* TakeSkinnedMesh(const std::string& name, std::string& held) {
  held.clear();
  if (!Nembra::g_pSkinnedMeshFactory) return nullptr;
  Nembra::CSkinnedMesh* mesh = Nembra::g_pSkinnedMeshFactory->Get(name);
  if (mesh) held = name;
  return mesh;
}

void ReleaseSkinnedMesh(std::string& held) {
  if (!held.empty() && Nembra::g_pSkinnedMeshFactory) Nembra::g_pSkinnedMeshFactory->Release(held);
  held.clear();
}

uint32_t BossHealth(int value) { return value > 0 ? static_cast<uint32_t>(value) : 0u; }

}  // namespace

void CBoss0CBH::HandleCallback(uint32_t /*track*/, void* /*data*/) {}

CBoss0::CBoss0(uint32_t colour) : CEnemy(colour) {
  m_Speed = SPEED;
  m_MaxSpeed = SPEED;
  m_MaxHealth = m_Health = BossHealth(g_Boss0Health);
  SetRadius(RADIUS);
  SetHeadingWindow(HEADING_WINDOW);
  for (size_t i = 0; i < m_CallbackData.size(); ++i) m_CallbackData[i] = {this, static_cast<int32_t>(i)};
  Nembra::CSkinnedMesh* mesh =
      TakeSkinnedMesh(colour == 1 ? "IntermedioCompletoAzul.X" : "IntermedioCompletoRojo.X", m_ModelName);
  if (mesh) SetMesh(mesh);
}

CBoss0::~CBoss0() {
  DestroySprite();  // the sprite lets go of the mesh before it is released
  ReleaseSkinnedMesh(m_ModelName);
}

void CBoss0::AddToScene(Nembra::CSceneNode* parent) { CEnemy::AddToScene(parent); }

void CBoss0::KillNow() { CEnemy::KillNow(); }

void CBoss0::OnKilled() {}

D3DXVECTOR3& CBoss0::GetModelPosition(D3DXVECTOR3& out) {
  out = m_pSprite ? m_pSprite->GetWorldPosition() : WorldPosition();
  return out;
}
