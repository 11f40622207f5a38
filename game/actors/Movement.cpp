#include "game/actors/Movement.h"

#include <cmath>

#include "engine/app/Application.h"
#include "engine/scene/SceneManager.h"

void CMovingEntity::Step() {
  CEntity::Step();
  if (!m_Moving) return;
  // The speed field itself, not GetSpeed: kinds scale what they report.
  const D3DXVECTOR3 velocity = m_Speed * m_Direction;
  m_Position.x += Nembra::g_FrameTime * velocity.x;
  m_Position.y += Nembra::g_FrameTime * velocity.y;
  m_Position.z += Nembra::g_FrameTime * velocity.z;
  m_TranslationChanged = true;
}

void CMovingEntity::SetDirection(const D3DXVECTOR3& v) {
  D3DXVECTOR3 direction;
  D3DXVec3Normalize(&direction, &v);
  if (direction.x == 0.0f && direction.y == 0.0f && direction.z == 0.0f) return;
  m_Direction = direction;
  m_Heading = std::atan2(m_Direction.y, m_Direction.x);
  const D3DXVECTOR3 side(m_Direction.y, -m_Direction.x, 0.0f);
  D3DXVec3Normalize(&m_Side, &side);
}

CAnimatedSpriteMovingEntity::CAnimatedSpriteMovingEntity() { CreateSprite(); }

CAnimatedSpriteMovingEntity::~CAnimatedSpriteMovingEntity() { ReleaseSprite(); }

void CAnimatedSpriteMovingEntity::ReleaseSprite() {
  if (m_OwnsSprite) delete m_pSprite;
  m_pSprite = nullptr;
  m_OwnsSprite = false;
}

void CAnimatedSpriteMovingEntity::UseSprite(Nembra::CAnimated3DSprite* sprite) {
  if (sprite == m_pSprite) return;
  ReleaseSprite();
  m_pSprite = sprite;
}

void CAnimatedSpriteMovingEntity::AddToScene(Nembra::CSceneNode* parent) {
  CEntity::AddToScene(parent);
  AddSpriteToScene();
}

void CAnimatedSpriteMovingEntity::CreateSprite() {
  ReleaseSprite();
  m_pSprite = new Nembra::CAnimated3DSprite();
  m_OwnsSprite = true;
}

void CAnimatedSpriteMovingEntity::DestroySprite() { ReleaseSprite(); }

void CAnimatedSpriteMovingEntity::AddSpriteToScene() {
  if (m_pSprite && Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(m_pSprite, this);
}

bool CAnimatedSpriteMovingEntity::SetMesh(Nembra::CSkinnedMesh* mesh) {
  if (!m_pSprite) return false;
  m_pSprite->SetMesh(mesh);
  return mesh != nullptr && m_pSprite->GetMesh() == mesh;
}
