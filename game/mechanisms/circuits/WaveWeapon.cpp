#include "game/mechanisms/circuits/WaveWeapon.h"

#include "game/actors/Bullet.h"
#include "game/effects/ParticleEffect.h"
#include "game/level/Level.h"

void CWaveWeapon::AddToScene(Nembra::CSceneNode* parent) {
  CStaticSpriteEntity::AddToScene(parent);
  TakeBarEffect();
}

// The old bar stays in the effect list until the restart deletes it.
void CWaveWeapon::Reset() {
  Empty();
  TakeBarEffect();
  m_Active = 1;
  m_Sprite.SetVisible(true);
}

void CWaveWeapon::OnBulletHit(const CBullet& shot) { OnBulletHit(shot.GetColour(), shot.GetPower()); }

// A station already blown out is left alone.
void CWaveWeapon::Explode() {
  if (!m_Active) return;
  if (CLevel* level = CLevel::Current()) {
    const D3DXVECTOR3 at = GetWorldPosition() + D3DXVECTOR3(0.0f, 0.0f, EXPLOSION_HEIGHT);
    const float point[3] = {at.x, at.y, at.z};
    level->AddExplosionEffect(point);
  }
  if (m_pBarEffect) m_pBarEffect->Stop();
  Empty();
  m_Sprite.SetVisible(false);
  m_Active = 0;
}

void CWaveWeapon::BuildCollisionBoxes() {
  CollisionShapes::BuildWaveWeaponShape(m_CollisionBoxes[0], GetPosition(), GetRadius(), false);
  CollisionShapes::BuildWaveWeaponShape(m_CollisionBoxes[1], GetPosition(), GetRadius(), true);
}
