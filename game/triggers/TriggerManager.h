#pragma once
// game/triggers/: trigger shapes, their file reader and the manager the
// level keeps them in. It may call script/ (to run a trigger's
// function), engine/ and platform/.
//
// The level's triggers: circles and rectangles by upper-cased name (a
// circle and a rectangle may share a name; within one shape the first
// trigger of a name is kept). Each stored trigger hangs under the scene
// root while it exists.
//
// The maps are ordered by name: walks are deterministic, and a trigger
// script that adds triggers (loads a trigger file) while a walk is under
// way leaves the walk's position valid.
#include <cstdint>
#include <map>
#include <string>

#include "game/triggers/Trigger.h"

struct TRIGGER_RECORD;

class CTriggerManager {
 public:
  CTriggerManager() = default;
  CTriggerManager(const CTriggerManager&) = delete;
  CTriggerManager& operator=(const CTriggerManager&) = delete;

  void AddCircularTrigger(const std::string& script, const std::string& name, const D3DXVECTOR3& position,
                          bool enabled, float radius, uint32_t type);
  void AddRectangularTrigger(const std::string& script, const std::string& name, const D3DXVECTOR3& position,
                             bool enabled, float width, float height, uint32_t type);
  void AddTrigger(const TRIGGER_RECORD& record);

  // Reads the data folder's trigger file and adds its triggers. False, with
  // a log line, when it can't be read or stops at a damaged record (the
  // triggers before that record are added).
  bool LoadTriggers(const std::string& fileName);

  // Every trigger of that name (upper-cased) in either shape gets the
  // enabled value and is re-armed.
  void EnableTrigger(const std::string& name, bool enable);

  // Tests the enabled triggers of the given type against the point:
  // circles, then rectangles, each by name.
  void TestPoint(const D3DXVECTOR3& point, uint32_t type);

  // Every trigger gets back its enabled value from construction; the fired
  // flags stay.
  void ResetTriggers();
  void Clear();

  Nembra::CCircularTrigger* FindCircular(const std::string& name);
  Nembra::CRectangularTrigger* FindRectangular(const std::string& name);
  size_t CircularCount() const { return m_Circular.size(); }
  size_t RectangularCount() const { return m_Rectangular.size(); }

 private:
  std::map<std::string, Nembra::CCircularTrigger> m_Circular;
  std::map<std::string, Nembra::CRectangularTrigger> m_Rectangular;
};
