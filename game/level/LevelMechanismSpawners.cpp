// The level's spawners of the mechanisms' effects, on the shared effect
// spawner (the effect list, which the level walks with appends allowed,
// and the scene).
#include "game/level/Level.h"
#include "game/mechanisms/MechanismEffects.h"

void CLevel::AddBarrelExplosionEffect(CBarrel& barrel) { SpawnEffect<Nembra::CBarrelExplosionEffect>(barrel); }

void CLevel::AddBombExplosionEffect(CBomb& bomb) { SpawnEffect<Nembra::CBombExplosionEffect>(bomb); }

void CLevel::AddWireGrateExplosionEffect(CWireGrate& grate) {
  SpawnEffect<Nembra::CWireGrateExplosionEffect>(grate);
}

void CLevel::AddSparkEffect(const D3DXVECTOR3& position) { SpawnEffect<CSparkEffect>(position); }

void CLevel::AddPushableCollisionEffect(const D3DXVECTOR3& position) {
  SpawnEffect<Nembra::CPushableCollisionEffect>(position);
}
