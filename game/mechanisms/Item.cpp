#include "game/mechanisms/Item.h"

CItem::CItem() {
  SetRadius(RADIUS);
  m_Vanish.speed = VANISH_SPEED;
}

CItem::~CItem() { SetMesh(nullptr); }

bool CItem::LoadMesh(const std::string& name) {
  SetMesh(nullptr);
  Nembra::CSimpleMesh* mesh = m_OwnMesh.Take(name);
  return mesh != nullptr && SetMesh(mesh);
}

void CItem::ResetState() {
  m_Taken = false;
  m_CurrentScale = 1.0f;
  SetScale(1.0f);
  m_Sprite.SetVisible(true);
}

void CItem::SetMarkerPosition(const D3DXVECTOR3& position) {
  m_Marker.SetPosition(position + D3DXVECTOR3(0.0f, MARKER_OFFSET_Y, MARKER_OFFSET_Z));
}

void CItem::LoadSound() {}
