// The level's side of the mechanisms: the spawners of their effects and of
// the waves, and the Action key over the circuit connectors.
#include "game/effects/LevelEffects.h"
#include "game/level/Level.h"

#include "game/world/GameWorld.h"

namespace {

constexpr float ACTION_REACH_SQ = 6400.0f;  // 80 units

}  // namespace

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

void CLevel::AddAbilityEffect(const D3DXVECTOR3& playerPosition) {
  SpawnEffect<Nembra::CGuyAbilityEffect>(playerPosition);
}

void CLevel::ShootWave() {
  for (CWaveWeapon& station : m_WaveWeapons) {
    const D3DXVECTOR3 position = station.GetWorldPosition();
    const float at[3] = {position.x, position.y, position.z};
    AddWaveEffect(at, static_cast<uint32_t>(station.GetColour()));
  }
}

bool CLevel::IsRemovable(CCircuitConnector& connector) {
  connector.SetVisited(true);
  size_t count = 0;
  for (const CIRCUIT_LINK_ENTRY& entry : connector.GetLinks()) {
    CCircuitObject* neighbour = entry.other;
    if (!neighbour) continue;
    if (!neighbour->IsPlaced()) {
      ++count;
      continue;
    }
    for (CCircuitGenerator& generator : m_CircuitGenerators) {
      if (neighbour->IsConnectedTo(&generator)) {
        ++count;
        break;
      }
    }
  }
  connector.SetVisited(false);
  return count == connector.GetLinks().size();
}

void CLevel::UpdateCircuits(const D3DXVECTOR3& playerPosition) {
  if (m_CircuitsEnabled) {
    for (CCircuitConnector& connector : m_Connectors) {
      const D3DXVECTOR3 d = connector.GetWorldPosition() - playerPosition;
      if (D3DXVec3LengthSq(&d) >= ACTION_REACH_SQ) continue;
      if (!connector.IsPlaced())
        connector.Insert();
      else if (IsRemovable(connector))
        connector.Remove();
      else
        connector.PlayIncorrectSound();
    }
  }
  m_TriggerManager.TestPoint(playerPosition, 1);
}

void CLevel::UpdateCircuits() {
  UpdateCircuits(PlayerWorldPosition());
}
