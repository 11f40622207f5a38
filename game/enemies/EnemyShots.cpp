#include "game/enemies/EnemyShots.h"

void CParticleShot::Init(const D3DXVECTOR3& /*position*/, const D3DXVECTOR3& /*direction*/, uint32_t power) {
  m_Power = power;
}

void CEnemy6Bullet::Init(const D3DXVECTOR3& /*position*/, const D3DXVECTOR3& /*direction*/, uint32_t power) {
  m_Power = static_cast<int32_t>(power);
}

void CEnemy8Bullet::AddToScene(Nembra::CSceneNode* parent) {
  CMovingEntity::AddToScene(parent);
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&m_Beam, this);
}

void CEnemy8Bullet::RemoveFromScene() {
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->RemoveNode(&m_Beam);
  CMovingEntity::RemoveFromScene();
}

void CEnemy8Bullet::Init(const D3DXVECTOR3& /*position*/, const D3DXVECTOR3& /*direction*/, uint32_t power) {
  m_Power = power;
}
