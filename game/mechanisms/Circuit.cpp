#include "game/mechanisms/Circuit.h"

void CCircuitObject::ClearFlow() {
  m_Visited = 1;
  Reset();
  for (CIRCUIT_LINK_ENTRY& entry : m_Links) {
    if (entry.link) entry.link->SetFlowing(false);
    if (entry.other && !entry.other->IsVisited()) entry.other->ClearFlow();
  }
}

void CCircuitObject::ClearVisited() {
  m_Visited = 0;
  for (CIRCUIT_LINK_ENTRY& entry : m_Links)
    if (entry.other && entry.other->IsVisited()) entry.other->ClearVisited();
}

void CCircuitObject::LoadResources() {}

bool CCircuitObject::IsConnectedTo(CCircuitObject* /*target*/) { return false; }

void CCircuitObject::PlayIncorrectSound() {}

void CCircuitConnector::AddToScene(Nembra::CSceneNode* parent) {
  m_SocketMarker.AddToScene(this);
  CCircuitObject::AddToScene(parent);
}

void CCircuitConnector::Reset() {}

void CCircuitConnector::SetFlowing(bool /*flowing*/) {}

void CCircuitConnector::Insert() {}

void CCircuitConnector::Remove() {}

// The bound generator is one of the level's generators and is reset with
// them, once; the circuit generator does not reset it again.
void CCircuitGenerator::Reset() {}

void CCircuitGenerator::SetFlowing(bool /*flowing*/) {}

void CCircuitGenerator::CreateFlowTexture() {}

void CCircuitReceptor::AddToScene(Nembra::CSceneNode* parent) { CCircuitObject::AddToScene(parent); }

void CCircuitReceptor::Reset() {}

void CCircuitReceptor::SetFlowing(bool /*flowing*/) {}
