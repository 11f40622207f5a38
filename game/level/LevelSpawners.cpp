// The level's spawners: every shot is built at the end of its list and
// every effect is appended to the effect list, both through the two shared
// functions of the level (SpawnShot, SpawnEffect).
#include <cmath>

#include "engine/util/Random.h"
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

void CLevel::AddBullet(int colour, const uint32_t& power) {
  if (!g_pGameWorld) return;
  CPlayer& player = g_pGameWorld->GetPlayer();
  D3DXVECTOR3 start = player.GetHand().WorldPosition();
  start.z = 0.0f;
  const D3DXVECTOR3 direction = player.GetShotDirection();
  SpawnShot(m_Bullets, colour, &start.x, &direction.x, power);
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

void CLevel::AddBulletWallHitEffect(const CBullet& shot) {
  SpawnEffect<Nembra::CBulletWallHitEffect>(shot);
  if (g_pGameWorld) g_pGameWorld->PlayWallHitSound();
}

void CLevel::AddBoxItem(CItem* item) {
  if (!item) return;
  m_ReleasedItems.push_back(item);
  item->AddToScene(nullptr);
}

void CLevel::BreakWireGrate(CWireGrate& grate) {
  // The grate's own breaking: shapes, explosion, mesh and script; an open
  // grate stays as it is.
  grate.Break();
}
