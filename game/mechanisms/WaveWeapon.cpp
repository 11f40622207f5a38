#include "game/mechanisms/WaveWeapon.h"

CWaveWeapon::CWaveWeapon() { SetRadius(RADIUS); }

void CWaveWeapon::LoadResources() {}

void CWaveWeapon::Reset() {}

void CWaveWeapon::OnBulletHit(const CBullet& /*shot*/) {}

void CWaveWeapon::Explode() {}

void CWaveWeapon::DrawBar() {}

void CWaveWeapon::BuildCollisionBoxes() {
  CollisionShapes::BuildWaveWeaponShape(m_CollisionBoxes[0], GetPosition(), GetRadius(), false);
  CollisionShapes::BuildWaveWeaponShape(m_CollisionBoxes[1], GetPosition(), GetRadius(), true);
}
