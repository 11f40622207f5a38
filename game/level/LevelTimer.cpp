#include "game/level/LevelTimer.h"

#include "engine/app/Application.h"
#include "game/script/GameScript.h"

void CLevelTimer::RegisterEvent(float time, const std::string& script) {
  if (!m_Events.empty() && !(time > m_Events.back().time)) return;
  m_Events.push_back(EVENT{time, script});
}

void CLevelTimer::Update() {
  if (!m_Running) return;
  m_Elapsed += Nembra::g_FrameTime;
  if (m_Events.empty() || !(m_Elapsed >= m_Events.front().time)) return;
  const EVENT due = m_Events.front();
  m_Events.pop_front();
  if (!due.script.empty()) g_GameScript.RunFile(due.script);
}
