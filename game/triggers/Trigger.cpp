#include "game/triggers/Trigger.h"

#include "game/script/GameScript.h"

namespace Nembra {

CTrigger::CTrigger(const std::string& script, float x, float y, float z, bool enabled, uint32_t type)
    : m_Type(type), m_Enabled(enabled), m_Script(script), m_InitialEnabled(enabled) {
  SetPosition(x, y, z);
}

bool CTrigger::Test(const D3DXVECTOR3& point) {
  if (!IsInside(point)) return false;
  if (m_Type == TRIGGER_ACTION || !m_Fired) g_GameScript.RunFile(m_Script);
  return true;
}

CCircularTrigger::CCircularTrigger(const std::string& script, float x, float y, float z, bool enabled,
                                   float radius, uint32_t type)
    : CTrigger(script, x, y, z, enabled, type), m_Radius(radius) {}

bool CCircularTrigger::IsInside(const D3DXVECTOR3& point) const {
  const float dx = m_Position.x - point.x;
  const float dy = m_Position.y - point.y;
  return dx * dx + dy * dy <= m_Radius * m_Radius;
}

CRectangularTrigger::CRectangularTrigger(const std::string& script, float x, float y, float z, bool enabled,
                                         float width, float height, uint32_t type)
    : CTrigger(script, x, y, z, enabled, type),
      m_MinX(x - width * 0.5f),
      m_MinY(y - height * 0.5f),
      m_MaxX(x + width * 0.5f),
      m_MaxY(y + height * 0.5f) {}

bool CRectangularTrigger::IsInside(const D3DXVECTOR3& point) const {
  return m_MinX <= point.x && point.x <= m_MaxX && m_MinY <= point.y && point.y <= m_MaxY;
}

}  // namespace Nembra
