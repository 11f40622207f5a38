#include "game/mechanisms/Roof.h"

CRoof::CRoof() { m_Vanish.speed = VANISH_SPEED; }

CRoof::~CRoof() { SetMesh(nullptr); }

void CRoof::Show() {}

bool CRoof::LoadMesh(const std::string& name) {
  SetMesh(nullptr);
  Nembra::CSimpleMesh* mesh = m_Mesh.Take(name);
  return mesh != nullptr && SetMesh(mesh);
}

CSlowDowner::CSlowDowner(const D3DXVECTOR3& position, float baseRadius, float maxScale, float growthRate,
                         float /*unused*/)
    : m_Radius(baseRadius), m_BaseRadius(baseRadius), m_MaxScale(maxScale), m_GrowthRate(growthRate) {
  SetPosition(position);
}
