// The level's side of the circuits: the Action key over the connectors,
// which plugs a connector in or takes it out when nothing would be cut off.
#include "game/level/Level.h"
#include "game/world/GameWorld.h"

namespace {

constexpr float ACTION_REACH_SQ = 6400.0f;  // 80 units

}  // namespace

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
