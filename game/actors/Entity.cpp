#include "game/actors/Entity.h"

#include "engine/resources/SkinnedMesh.h"
#include "engine/scene/SceneManager.h"
#include "engine/util/Utilities.h"

void CEntity::AddToScene(Nembra::CSceneNode* parent) {
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(this, parent);
}

void CEntity::RemoveFromScene() {
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->RemoveNode(this);
}

bool CEntity::Collide(const D3DXVECTOR3& from, const D3DXVECTOR3& to, float radius, D3DXVECTOR3& hit,
                      float& distanceSquared) const {
  float distance = 0.0f;
  D3DXVECTOR3 movement(0.0f, 0.0f, 0.0f);
  if (!Nembra::SweepSphereAgainstSphere(from, to, radius, WorldPosition(), m_BoundingSphere.radius, &distance,
                                        &movement))
    return false;
  // The sweep answers the movement from the start to first contact.
  hit = from + movement;
  distanceSquared = distance * distance;
  return true;
}

void CAnimatedSpriteEntity::AddToScene(Nembra::CSceneNode* parent) {
  CEntity::AddToScene(parent);
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&m_Sprite, this);
}

bool CAnimatedSpriteEntity::SetMesh(Nembra::CSkinnedMesh* mesh) {
  m_Sprite.SetMesh(mesh);
  return mesh != nullptr && m_Sprite.GetMesh() == mesh;
}

void CParticleSystemEntity::StepEffect() {
  CEntity::Step();
  if (IsEmitterFinished()) m_Active = 0;
}
