#include "game/mechanisms/circuits/Generator.h"

#include "game/actors/Bullet.h"

// The light belongs to the scene manager, which deletes every light when a
// level is unloaded, before its objects go.
CGenerator::~CGenerator() = default;

// The bar sprite goes under the generator, so it is drawn with it.
void CGenerator::AddToScene(Nembra::CSceneNode* parent) {
  CStaticSpriteEntity::AddToScene(parent);
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&m_BarSprite, this);
  TakeBarEffect();
}

void CGenerator::RemoveFromScene() {
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->RemoveNode(&m_BarSprite);
  CStaticSpriteEntity::RemoveFromScene();
}

void CGenerator::ShowCharge() {
  CChargedObject::ShowCharge();
  D3DXVECTOR3 at = m_BarSprite.GetPosition();
  at.z = GetBarHeight();
  m_BarSprite.SetPosition(at);
}

void CGenerator::Fill() {
  m_Charge = m_Capacity;
  LightUp();
  ShowCharge();
}

void CGenerator::OnHit(const CBullet& shot) { OnHit(shot.GetColour(), shot.GetPower()); }

// The restart deleted every effect, the old bar included: a new one is
// taken.
void CGenerator::Reset() {
  Empty();
  TakeBarEffect();
}

void CGenerator::BuildCollisionBoxes() {
  CollisionShapes::BuildGeneratorShape(m_CollisionBoxes[0], GetPosition(), GetRadius(), false);
  CollisionShapes::BuildGeneratorShape(m_CollisionBoxes[1], GetPosition(), GetRadius(), true);
}
