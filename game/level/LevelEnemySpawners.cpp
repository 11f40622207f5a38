// The level's spawners of the enemies' shots and of the particle effects,
// on the two shared spawn functions.
#include <cmath>

#include "engine/util/Random.h"
#include "game/effects/GasSplash.h"
#include "game/effects/ParticleEffect.h"
#include "game/level/Level.h"
#include "game/world/GameWorld.h"

void CLevel::AddEnemy2Bullets(CEnemy2& enemy, uint32_t power) {
  const D3DXVECTOR3 centre = enemy.WorldPosition();
  for (int i = 0; i < 3; ++i) {
    const D3DXVECTOR3 start = enemy.GetNode(i).WorldPosition();
    D3DXVECTOR3 direction = start - centre;
    direction.z = 0.0f;
    SpawnShot(m_Enemy2Bullets, start, direction, power);
  }
}

void CLevel::AddEnemy3Bullet(CEnemy3& enemy, uint32_t power) {
  const float r = enemy.GetRotation().z;
  SpawnShot(m_Enemy3Bullets, enemy.GetMuzzle().WorldPosition(), D3DXVECTOR3(std::cos(r), std::sin(r), 0.0f),
            power);
}

// From the muzzle, aimed from there at the player's feet scattered up to
// 100 along +X and +Y.
void CLevel::AddEnemy8Bullet(CEnemy8& enemy, uint32_t power) {
  const D3DXVECTOR3 start = enemy.GetMuzzle().WorldPosition();
  const D3DXVECTOR3 player = PlayerWorldPosition();
  const float a = Nembra::RandomFloat(0.0f, 100.0f);
  const float b = Nembra::RandomFloat(0.0f, 100.0f);
  D3DXVECTOR3 direction = player + D3DXVECTOR3(a, b, 0.0f) - start;
  D3DXVec3Normalize(&direction, &direction);
  SpawnShot(m_Enemy8Bullets, start, direction, power);
}

void CLevel::AddEnemy2BulletWallHitEffect(const CEnemy2Bullet& bullet) {
  SpawnEffect<Nembra::CEnemy2BulletWallHitEffect>(bullet);
}

void CLevel::AddEnemy3BulletWallHitEffect(const CEnemy3Bullet& bullet) {
  SpawnEffect<Nembra::CEnemy3BulletWallHitEffect>(bullet);
}

void CLevel::AddOrdinaryWeaponEffect(bool muzzle, int colour) {
  SpawnEffect<Nembra::COrdinaryWeaponEffect>(muzzle, colour);
}

void CLevel::AddBoss0BulletWallHitEffect(const CBoss0Bullet& shot) {
  SpawnEffect<Nembra::CBoss0BulletWallHitEffect>(shot);
}

void CLevel::AddBoss0AbilityBulletWallHitEffect(const CBoss0AbilityBullet& shot) {
  SpawnEffect<Nembra::CBoss0AbilityBulletWallHitEffect>(shot);
}

void CLevel::AddBoss0KillEffect(CBoss0& boss) { SpawnEffect<Nembra::CBoss0KillEffect>(boss); }

void CLevel::AddBoss1BulletWallHitEffect(const CBoss1Bullet& shot) {
  SpawnEffect<Nembra::CBoss1BulletWallHitEffect>(shot);
}

void CLevel::AddBoss1LaserWallHitEffect(const CBoss1Laser& shot) {
  SpawnEffect<Nembra::CBoss1LaserWallHitEffect>(shot);
}

void CLevel::AddBoss1KillEffect(CBoss1& boss) { SpawnEffect<Nembra::CBoss1KillEffect>(boss); }

void CLevel::AddEnemy6Bullet(CEnemy6& enemy, uint32_t power) {
  D3DXVECTOR3 direction = enemy.LaunchDirection();
  SpawnShot(m_Enemy6Bullets, enemy.GetMouth().WorldPosition(), direction, power);
}

void CLevel::AddEnemy6BulletFloorHitEffect(const CEnemy6Bullet& bullet) {
  SpawnEffect<Nembra::CEnemy6BulletFloorHitEffect>(bullet);
}

void CLevel::AddEnemy6BulletWallHitEffect(const CEnemy6Bullet& bullet) {
  SpawnEffect<Nembra::CEnemy6BulletWallHitEffect>(bullet);
}
