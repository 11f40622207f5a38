// The level's spawners of the enemies' and the bosses' shots and of their
// effects, on the two shared spawn functions.
#include <cmath>

#include "engine/util/Random.h"
#include "game/effects/GasSplash.h"
#include "game/effects/ParticleEffect.h"
#include "game/level/Level.h"
#include "game/world/GameWorld.h"

namespace {

constexpr float kPi = 3.14159265358979f;
// Lifts the lobbed shots more the farther the player is.
constexpr float kLobFactor = 0.0008f;
constexpr float kSpread = 100.0f;
constexpr uint32_t kBoss0AbilityPower = 70;
constexpr int kBoss0AbilityShots = 12;
constexpr float kBoss0AbilityHeight = 180.0f;

}  // namespace

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

void CLevel::AddBoss0AbilityBullet(CBoss0& boss) {
  D3DXVECTOR3 start = boss.WorldPosition();
  start.z += kBoss0AbilityHeight;
  for (int i = 0; i < kBoss0AbilityShots; ++i) {
    const float angle = 2.0f * kPi * float(i) / float(kBoss0AbilityShots);
    const D3DXVECTOR3 direction(std::cos(angle), std::sin(angle), 0.0f);
    SpawnShot(m_Boss0AbilityBullets, start, direction, kBoss0AbilityPower);
  }
}

void CLevel::AddBoss0Bullet(CBoss0& boss, uint32_t power) {
  D3DXVECTOR3 start;
  boss.GetModelPosition(start);
  const float h = boss.GetWorldRotationZ();
  SpawnShot(m_Boss0Bullets, start, D3DXVECTOR3(std::cos(h), std::sin(h), 0.0f), power, boss.GetColour());
}

void CLevel::AddBoss1Bullet(const D3DXVECTOR3& start, const D3DXVECTOR3& bossPosition, float heading,
                            uint32_t power) {
  const D3DXVECTOR3 toPlayer = PlayerWorldPosition() - bossPosition;
  const D3DXVECTOR3 direction(std::cos(heading), std::sin(heading), kLobFactor * D3DXVec3Length(&toPlayer));
  SpawnShot(m_Boss1Bullets, start, direction, power);
}

void CLevel::AddBoss1Laser(const D3DXVECTOR3& start, const D3DXVECTOR3& aimOrigin, float /*ignored*/,
                           uint32_t power) {
  const float a = Nembra::RandomFloat(0.0f, kSpread);
  const float b = Nembra::RandomFloat(0.0f, kSpread);
  D3DXVECTOR3 direction = PlayerWorldPosition() + D3DXVECTOR3(a, b, 0.0f) - aimOrigin;
  D3DXVec3Normalize(&direction, &direction);
  SpawnShot(m_Boss1Lasers, start, direction, power);
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
