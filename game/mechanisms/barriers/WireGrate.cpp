#include "game/mechanisms/barriers/WireGrate.h"

#include "engine/app/Engine.h"
#include "game/level/Level.h"
#include "game/mechanisms/MechanismFiles.h"
#include "game/script/GameScript.h"
#include "platform/Files.h"

CWireGrate::CWireGrate() { SetRadius(RADIUS); }

CWireGrate::~CWireGrate() { SetMesh(nullptr); }

void CWireGrate::TakeMesh(const std::string& name) {
  SetMesh(nullptr);  // the sprite lets go before the old mesh is given back
  SetMesh(m_Mesh.Take(name));
}

void CWireGrate::Reset() {
  if (!IsActive()) {
    if (CLevel* level = CLevel::Current()) {
      level->AddCollisionShape(&m_ClosedBoxes[0], COL_TIGHT);
      level->AddCollisionShape(&m_ClosedBoxes[1], COL_CHARACTER);
      level->RemoveCollisionShape(&m_OpenedShapes[0], COL_TIGHT);
      level->RemoveCollisionShape(&m_OpenedShapes[2], COL_CHARACTER);
      level->RemoveCollisionShape(&m_OpenedShapes[1], COL_TIGHT);
      level->RemoveCollisionShape(&m_OpenedShapes[3], COL_CHARACTER);
    }
    m_Active = 1;
  }
  TakeMesh(m_ClosedMesh);
}

void CWireGrate::Break() {
  // An open grate stays as it is: its shapes are in, its explosion done.
  if (!IsActive()) return;
  CLevel* level = CLevel::Current();
  if (level) {
    level->RemoveCollisionShape(&m_ClosedBoxes[0], COL_TIGHT);
    level->RemoveCollisionShape(&m_ClosedBoxes[1], COL_CHARACTER);
    level->AddCollisionShape(&m_OpenedShapes[0], COL_TIGHT);
    level->AddCollisionShape(&m_OpenedShapes[2], COL_CHARACTER);
    level->AddCollisionShape(&m_OpenedShapes[1], COL_TIGHT);
    level->AddCollisionShape(&m_OpenedShapes[3], COL_CHARACTER);
    level->AddWireGrateExplosionEffect(*this);
  }
  TakeMesh(m_OpenedMesh);
  if (!m_ScriptFile.empty()) g_GameScript.RunFile(m_ScriptFile);
  m_Active = 0;
}

int CWireGrate::ReadDescription(const std::string& fileName) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(Nembra::g_DataDirectory + fileName, bytes)) return 0;
  MechanismFiles::WIRE_GRATE_DESCRIPTION description;
  description.closedMesh = m_ClosedMesh;
  description.openedMesh = m_OpenedMesh;
  description.explosionEffectFile = m_ExplosionEffectFile;
  description.closedBoxWidth = m_ClosedBoxWidth;
  description.closedBoxDepth = m_ClosedBoxOffset;
  description.breakable = m_Breakable;
  description.openedShapesFileA = m_OpenedShapesFileA;
  description.openedShapesFileB = m_OpenedShapesFileB;
  const int fields = MechanismFiles::ParseWireGrateDescription(bytes.data(), bytes.size(), description);
  m_ClosedMesh = description.closedMesh;
  m_OpenedMesh = description.openedMesh;
  m_ExplosionEffectFile = description.explosionEffectFile;
  m_ClosedBoxWidth = description.closedBoxWidth;
  m_ClosedBoxOffset = description.closedBoxDepth;
  m_Breakable = description.breakable;
  m_OpenedShapesFileA = description.openedShapesFileA;
  m_OpenedShapesFileB = description.openedShapesFileB;
  return fields;
}

bool CWireGrate::LoadFromFile(const std::string& fileName) {
  const int fields = ReadDescription(fileName);
  // Without its description the grate still stands as its closed mesh
  // draws it: a box size no description has given is that mesh's width (x)
  // or depth (y).
  TakeMesh(m_ClosedMesh);
  if (const Nembra::CSimpleMesh* mesh = m_Mesh.Get()) {
    const D3DXVECTOR3 size = mesh->GetBoundingBoxMax() - mesh->GetBoundingBoxMin();
    if (fields < 4 && m_ClosedBoxWidth == 0.0f) m_ClosedBoxWidth = size.x;
    if (fields < 5 && m_ClosedBoxOffset == 0.0f) m_ClosedBoxOffset = size.y;
  }
  return fields == 8;
}

void CWireGrate::BuildCollisionBoxes() {
  CollisionShapes::BuildWireGrateShape(m_ClosedBoxes[0], GetPosition(), GetRotation().z, m_ClosedBoxWidth,
                                       m_ClosedBoxOffset, false);
  CollisionShapes::BuildWireGrateShape(m_ClosedBoxes[1], GetPosition(), GetRotation().z, m_ClosedBoxWidth,
                                       m_ClosedBoxOffset, true);
}
