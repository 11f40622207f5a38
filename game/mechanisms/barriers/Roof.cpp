#include "game/mechanisms/barriers/Roof.h"

#include "engine/app/Application.h"

CRoof::CRoof() { m_Vanish.speed = VANISH_SPEED; }

CRoof::~CRoof() { SetMesh(nullptr); }

void CRoof::Show() {
  m_Sprite.SetVisible(true);
  m_Vanishing = false;
  m_Sprite.SetRenderEffect(nullptr);
}

void CRoof::Hide() {
  m_Vanishing = true;
  StartFadeOut(m_Sprite, m_Vanish);
}

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

void CSlowDowner::OnUpdate() {
  if (m_MaxScale < m_ZoneScale) return;
  m_Radius = m_BaseRadius * m_ZoneScale;
  m_ZoneScale += m_GrowthRate * Nembra::g_FrameTime;
}
