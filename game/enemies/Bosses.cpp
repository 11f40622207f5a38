#include "game/enemies/Bosses.h"

#include "engine/resources/SkinnedMesh.h"
#include "game/GameGlobals.h"

namespace {

uint32_t BossHealth(int value) { return value > 0 ? static_cast<uint32_t>(value) : 0u; }

}  // namespace

void CBoss1CBH::HandleCallback(uint32_t /*track*/, void* /*data*/) {}

CBoss1::CBoss1() : CEnemy(0) {
  m_Speed = SPEED;
  m_MaxSpeed = SPEED;
  m_MaxHealth = m_Health = BossHealth(g_Boss1Health);
  SetRadius(RADIUS);
  SetHeadingWindow(HEADING_WINDOW);
  m_CallbackData[0] = {this, 1};
  m_CallbackData[1] = {this, 2};
  for (Nembra::CAnimated3DSprite* model : {&m_BlueModel, &m_RedModel}) {
    model->SetScale(MODEL_SCALE);
    model->GetBoundingSphere().radius = MODEL_BOUNDS;
  }
  // The current model is a member: the base's own sprite goes.
  DestroySprite();
  m_pSprite = &m_RedModel;
  if (Nembra::CSkinnedMesh* blue = m_Meshes.Take("FinalCompletoAzul.X")) m_BlueModel.SetMesh(blue);
  if (Nembra::CSkinnedMesh* red = m_Meshes.Take("FinalCompletoRojo.X")) m_RedModel.SetMesh(red);
  m_BlueModel.SetVisible(false);
}

CBoss1::~CBoss1() {
  m_pSprite = nullptr;  // a member model, not the base's to delete
}

CHeldSkinnedMeshes::~CHeldSkinnedMeshes() {
  if (Nembra::g_pSkinnedMeshFactory)
    for (const std::string& name : m_Names) Nembra::g_pSkinnedMeshFactory->Release(name);
}

Nembra::CSkinnedMesh* CHeldSkinnedMeshes::Take(const std::string& name) {
  if (!Nembra::g_pSkinnedMeshFactory) return nullptr;
  Nembra::CSkinnedMesh* mesh = Nembra::g_pSkinnedMeshFactory->Get(name);
  if (mesh) m_Names.push_back(name);
  return mesh;
}

void CBoss1::AddToScene(Nembra::CSceneNode* parent) { CEnemy::AddToScene(parent); }

void CBoss1::RemoveFromScene() { CEnemy::RemoveFromScene(); }

bool CBoss1::Collide(const D3DXVECTOR3& from, const D3DXVECTOR3& to, float radius, D3DXVECTOR3& hit,
                     float& distanceSquared) const {
  return CEnemy::Collide(from, to, radius, hit, distanceSquared);
}

void CBoss1::AddSpriteToScene() {
  if (!Nembra::g_pSceneManager) return;
  Nembra::g_pSceneManager->AddNode(&m_BlueModel, this);
  Nembra::g_pSceneManager->AddNode(&m_RedModel, this);
}

void CBoss1::Damage(uint32_t amount) { CEnemy::Damage(amount); }

void CBoss1::OnShotHit(const CBullet& shot) { CEnemy::OnShotHit(shot); }

void CBoss1::KillNow() { CEnemy::KillNow(); }

void CBoss1::OnWaveHit(uint32_t colour) { CEnemy::OnWaveHit(colour); }

void CBoss1::OnKilled() {}
