#include "game/mechanisms/Generator.h"

#include "engine/scene/Light.h"

CGenerator::CGenerator() { SetRadius(RADIUS); }

// The light belongs to the scene manager, which deletes every light when a
// level is unloaded, before its objects go.
CGenerator::~CGenerator() = default;

void CGenerator::AddToScene(Nembra::CSceneNode* parent) {
  CStaticSpriteEntity::AddToScene(parent);
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&m_BarSprite, this);
}

void CGenerator::RemoveFromScene() {
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->RemoveNode(&m_BarSprite);
  CStaticSpriteEntity::RemoveFromScene();
}

void CGenerator::Fill() {}

void CGenerator::LoadResources() {}

void CGenerator::OnHit(const CBullet& /*shot*/) {}

void CGenerator::DrawBar() {}

void CGenerator::Reset() {
  m_Charge = 0;
  m_pBarEffect = nullptr;
  if (m_pLight && Nembra::g_pSceneManager) Nembra::g_pSceneManager->DeleteLight(m_pLight);
  m_pLight = nullptr;
}

void CGenerator::BuildCollisionBoxes() {
  CollisionShapes::BuildGeneratorShape(m_CollisionBoxes[0], GetPosition(), GetRadius(), false);
  CollisionShapes::BuildGeneratorShape(m_CollisionBoxes[1], GetPosition(), GetRadius(), true);
}
