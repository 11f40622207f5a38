#include "game/triggers/TriggerManager.h"

#include <vector>

#include "engine/app/Engine.h"
#include "engine/scene/SceneManager.h"
#include "engine/util/Utilities.h"
#include "game/triggers/TriggerFile.h"
#include "platform/Files.h"
#include "platform/Log.h"

using Nembra::CCircularTrigger;
using Nembra::CRectangularTrigger;
using Nembra::CTrigger;

namespace {

void AddToScene(CTrigger& trigger) {
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&trigger);
}

template <class Map>
void TestMap(Map& triggers, const D3DXVECTOR3& point, uint32_t type) {
  for (auto& entry : triggers) {
    CTrigger& trigger = entry.second;
    if (!trigger.IsEnabled() || trigger.GetType() != type) continue;
    if (type != Nembra::TRIGGER_WALK_IN) {
      trigger.Test(point);
    } else if (!trigger.Test(point)) {
      trigger.SetFired(false);
    } else if (!trigger.HasFired()) {
      trigger.SetFired(true);
    }
  }
}

}  // namespace

void CTriggerManager::AddCircularTrigger(const std::string& script, const std::string& name,
                                         const D3DXVECTOR3& position, bool enabled, float radius, uint32_t type) {
  auto [it, added] = m_Circular.try_emplace(Nembra::ToUpper(name), script, position.x, position.y, position.z,
                                            enabled, radius, type);
  if (added) AddToScene(it->second);
}

void CTriggerManager::AddRectangularTrigger(const std::string& script, const std::string& name,
                                            const D3DXVECTOR3& position, bool enabled, float width, float height,
                                            uint32_t type) {
  auto [it, added] = m_Rectangular.try_emplace(Nembra::ToUpper(name), script, position.x, position.y, position.z,
                                               enabled, width, height, type);
  if (added) AddToScene(it->second);
}

void CTriggerManager::AddTrigger(const TRIGGER_RECORD& record) {
  const D3DXVECTOR3 position(record.x, record.y, record.z);
  if (record.circle)
    AddCircularTrigger(record.script, record.name, position, record.enabled, record.radius, record.type);
  else
    AddRectangularTrigger(record.script, record.name, position, record.enabled, record.width, record.height,
                          record.type);
}

bool CTriggerManager::LoadTriggers(const std::string& fileName) {
  const std::string path = Nembra::g_DataDirectory + fileName;
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(path, bytes)) {
    platform::LogError("cannot read trigger file '" + path +
                       "': the level gets none of its area triggers, so the scripts they run (its goals among "
                       "them) never run");
    return false;
  }
  std::vector<TRIGGER_RECORD> records;
  std::string error;
  const bool complete = ParseTriggerFile(bytes.data(), bytes.size(), records, &error);
  if (!complete)
    platform::LogError("trigger file '" + path + "' damaged: " + error + ": the level gets only the " +
                       std::to_string(records.size()) + " triggers before the damage; the scripts of the others "
                       "(its goals among them) never run");
  for (const TRIGGER_RECORD& record : records) AddTrigger(record);
  return complete;
}

void CTriggerManager::EnableTrigger(const std::string& name, bool enable) {
  const std::string key = Nembra::ToUpper(name);
  auto rearm = [enable](CTrigger& trigger) {
    trigger.SetEnabled(enable);
    trigger.SetFired(false);
  };
  if (auto it = m_Circular.find(key); it != m_Circular.end()) rearm(it->second);
  if (auto it = m_Rectangular.find(key); it != m_Rectangular.end()) rearm(it->second);
}

void CTriggerManager::TestPoint(const D3DXVECTOR3& point, uint32_t type) {
  TestMap(m_Circular, point, type);
  TestMap(m_Rectangular, point, type);
}

void CTriggerManager::ResetTriggers() {
  for (auto& entry : m_Circular) entry.second.SetEnabled(entry.second.IsInitiallyEnabled());
  for (auto& entry : m_Rectangular) entry.second.SetEnabled(entry.second.IsInitiallyEnabled());
}

void CTriggerManager::Clear() {
  m_Circular.clear();
  m_Rectangular.clear();
}

CCircularTrigger* CTriggerManager::FindCircular(const std::string& name) {
  auto it = m_Circular.find(Nembra::ToUpper(name));
  return it == m_Circular.end() ? nullptr : &it->second;
}

CRectangularTrigger* CTriggerManager::FindRectangular(const std::string& name) {
  auto it = m_Rectangular.find(Nembra::ToUpper(name));
  return it == m_Rectangular.end() ? nullptr : &it->second;
}
