#include "game/mechanisms/WireGrate.h"

CWireGrate::CWireGrate() { SetRadius(RADIUS); }

CWireGrate::~CWireGrate() { SetMesh(nullptr); }

void CWireGrate::Reset() {}

bool CWireGrate::LoadFromFile(const std::string& /*fileName*/) { return false; }

void CWireGrate::BuildCollisionBoxes() {
  CollisionShapes::BuildWireGrateShape(m_ClosedBoxes[0], GetPosition(), GetRotation().z, m_ClosedBoxWidth,
                                       m_ClosedBoxOffset, false);
  CollisionShapes::BuildWireGrateShape(m_ClosedBoxes[1], GetPosition(), GetRotation().z, m_ClosedBoxWidth,
                                       m_ClosedBoxOffset, true);
}
