// The level's spawners for the mechanisms: their effects, on the shared
// effect spawner (the effect list, which the level walks with appends
// allowed, and the scene), the waves of the stations, the items a box lets
// go and the breaking of a grate.
#include "game/effects/LevelEffects.h"
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

Nembra::CExplosionEffect* CLevel::AddExplosionEffect(const float position[3]) {
  return SpawnEffect<Nembra::CExplosionEffect>(position);
}

void CLevel::AddDoorExplosionEffect(CEntity& entity) {
  SpawnEffect<Nembra::CDoorExplosionEffect>(entity);
}

void CLevel::AddTargetExplosionEffect(CTarget& target) {
  SpawnEffect<Nembra::CDoorExplosionEffect>(static_cast<CEntity&>(target));
}

CGenBarEffect* CLevel::AddGenBarEffect(uint32_t colour) { return SpawnEffect<CGenBarEffect>(colour); }

void CLevel::AddWaveEffect(const float position[3], uint32_t colour) {
  SpawnEffect<Nembra::CEnergyWaveEffect>(position, colour);
}

void CLevel::ShootWave() {
  for (CWaveWeapon& station : m_WaveWeapons) {
    const D3DXVECTOR3 position = station.GetWorldPosition();
    const float at[3] = {position.x, position.y, position.z};
    AddWaveEffect(at, static_cast<uint32_t>(station.GetColour()));
  }
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
