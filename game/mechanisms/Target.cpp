#include "game/mechanisms/Target.h"

#include "platform/Text.h"

CTarget::CTarget() { m_Vanish.speed = VANISH_SPEED; }

void CTarget::LoadResources() {}

void CTarget::PopUp() {}

void CTarget::OnShotHit(const CBullet& /*shot*/) {}

void CTarget::Reset() {}

void CTarget::SetName(const std::string& name) { m_Name = platform::AsciiUpper(name); }

void CTarget::BuildCollisionBoxes() {
  CollisionShapes::BuildTargetShape(m_CollisionBoxes[0], GetPosition(), GetRotation().z, false);
  CollisionShapes::BuildTargetShape(m_CollisionBoxes[1], GetPosition(), GetRotation().z, true);
}
