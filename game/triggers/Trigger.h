#pragma once
// Triggers: invisible circles and rectangles on the ground, each bound to a
// script file. A walk-in trigger (type 0) runs its script when the tested
// point enters it and is re-armed once the point has left; an action
// trigger (type 1) runs it on every test made with the point inside.
// Only x and y take part in the tests.
#include <cstdint>
#include <string>

#include "engine/scene/SceneNode.h"

namespace Nembra {

enum : uint32_t { TRIGGER_WALK_IN = 0, TRIGGER_ACTION = 1 };

class CTrigger : public CSceneNode {
 public:
  CTrigger(const std::string& script, float x, float y, float z, bool enabled, uint32_t type);
  void OnUpdate() override {}

  // True when the point is inside. Inside, an action trigger, or a
  // walk-in trigger that has not fired, runs its script first (its result
  // is not used).
  bool Test(const D3DXVECTOR3& point);
  virtual bool IsInside(const D3DXVECTOR3& point) const = 0;

  uint32_t GetType() const { return m_Type; }
  bool IsEnabled() const { return m_Enabled; }
  void SetEnabled(bool enabled) { m_Enabled = enabled; }
  bool HasFired() const { return m_Fired; }
  void SetFired(bool fired) { m_Fired = fired; }
  bool IsInitiallyEnabled() const { return m_InitialEnabled; }
  const std::string& GetScript() const { return m_Script; }

 protected:
  uint32_t m_Type;
  bool m_Enabled;
  std::string m_Script;
  bool m_Fired = false;
  bool m_InitialEnabled;
};

class CCircularTrigger : public CTrigger {
 public:
  CCircularTrigger(const std::string& script, float x, float y, float z, bool enabled, float radius,
                   uint32_t type);
  // The border counts as inside.
  bool IsInside(const D3DXVECTOR3& point) const override;
  float GetRadius() const { return m_Radius; }

 private:
  float m_Radius;
};

class CRectangularTrigger : public CTrigger {
 public:
  // Width along x, height along y, centred on (x, y).
  CRectangularTrigger(const std::string& script, float x, float y, float z, bool enabled, float width,
                      float height, uint32_t type);
  // Borders count as inside.
  bool IsInside(const D3DXVECTOR3& point) const override;
  float GetMinX() const { return m_MinX; }
  float GetMinY() const { return m_MinY; }
  float GetMaxX() const { return m_MaxX; }
  float GetMaxY() const { return m_MaxY; }

 private:
  float m_MinX, m_MinY, m_MaxX, m_MaxY;
};

}  // namespace Nembra
