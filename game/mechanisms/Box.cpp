#include "game/mechanisms/Box.h"

CBox::CBox() {
  SetRadius(RADIUS);
  m_Vanish.speed = VANISH_SPEED;
}

void CBox::OnHit(uint32_t /*power*/) {}

void CBox::Reset() {}

void CBox::LoadSound() {}

void CBox::BuildCollisionBoxes() {
  CollisionShapes::BuildBoxShape(m_CollisionBoxes[0], GetPosition(), GetRotation().z, GetRadius(), false);
  CollisionShapes::BuildBoxShape(m_CollisionBoxes[1], GetPosition(), GetRotation().z, GetRadius(), true);
}
