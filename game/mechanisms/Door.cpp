#include "game/mechanisms/Door.h"

#include "platform/Text.h"

CDoor::CDoor() {
  SetRadius(RADIUS);
  m_Vanish.speed = VANISH_SPEED;
  m_RedTint.Start(D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f), D3DXCOLOR(1.0f, 0.0f, 0.0f, 1.0f), TINT_SECONDS);
  m_BlueTint.Start(D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f), D3DXCOLOR(0.0f, 0.0f, 1.0f, 1.0f), TINT_SECONDS);
}

CDoor::~CDoor() { SetMesh(nullptr); }

bool CDoor::LoadFromFile(const std::string& /*fileName*/) { return false; }

void CDoor::LoadSound() {}

void CDoor::OnShotHit(const CBullet& /*shot*/) {}

void CDoor::Reset() {}

void CDoor::BuildCollisionBoxes() {
  CollisionShapes::BuildDoorShape(m_CollisionBoxes[0], GetPosition(), GetRotation().z, m_Width, m_Depth, false);
  CollisionShapes::BuildDoorShape(m_CollisionBoxes[1], GetPosition(), GetRotation().z, m_Width, m_Depth, true);
}

COpenCloseDoor::COpenCloseDoor() { SetRadius(RADIUS); }

COpenCloseDoor::~COpenCloseDoor() = default;

bool COpenCloseDoor::Load(const std::string& /*fileName*/) { return false; }

void COpenCloseDoor::Open() {}

void COpenCloseDoor::Close() {}

void COpenCloseDoor::SetClosed() {}

void COpenCloseDoor::SetName(const std::string& name) { m_Name = platform::AsciiUpper(name); }

void COpenCloseDoor::BuildCollisionBoxes() {
  CollisionShapes::BuildDoorShape(m_CollisionBoxes[0], GetPosition(), GetRotation().z, m_Width, m_Depth, false);
  CollisionShapes::BuildDoorShape(m_CollisionBoxes[1], GetPosition(), GetRotation().z, m_Width, m_Depth, true);
}
