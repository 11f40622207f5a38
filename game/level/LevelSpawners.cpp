// The level's spawners of the player's shots and effects. Every shot is
// built at the end of its list and every effect is appended to the effect
// list, through the level's two shared functions (SpawnShot, SpawnEffect);
// the enemies' spawners are in LevelEnemySpawners.cpp, the mechanisms' in
// LevelMechanismSpawners.cpp.
#include "game/effects/LevelEffects.h"
#include "game/effects/ParticleEffect.h"
#include "game/level/Level.h"
#include "game/world/GameWorld.h"

void CLevel::AddBullet(int colour, const uint32_t& power) {
  if (!g_pGameWorld) return;
  CPlayer& player = g_pGameWorld->GetPlayer();
  D3DXVECTOR3 start = player.GetHand().WorldPosition();
  start.z = 0.0f;
  const D3DXVECTOR3 direction = player.GetShotDirection();
  SpawnShot(m_Bullets, colour, &start.x, &direction.x, power);
}

void CLevel::AddBulletWallHitEffect(const CBullet& shot) {
  SpawnEffect<Nembra::CBulletWallHitEffect>(shot);
  if (g_pGameWorld) g_pGameWorld->PlayWallHitSound();
}

void CLevel::AddOrdinaryWeaponEffect(bool muzzle, int colour) {
  SpawnEffect<Nembra::COrdinaryWeaponEffect>(muzzle, colour);
}

void CLevel::AddAbilityEffect(const D3DXVECTOR3& playerPosition) {
  SpawnEffect<Nembra::CGuyAbilityEffect>(playerPosition);
}
