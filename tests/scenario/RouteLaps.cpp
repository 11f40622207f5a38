#include "scenario/RouteLaps.h"

#include <lua.hpp>

#include "game/script/GameScript.h"
#include "tools/datagen/DemoLevelContents.h"

namespace scenario {

namespace {

// A script function of the game called with one number, as a level script calls it.
void CallScript(const char* function, double argument) {
  lua_State* state = g_GameScript.GetState();
  if (!state) return;
  lua_getglobal(state, function);
  lua_pushnumber(state, argument);
  if (lua_pcall(state, 1, 0, 0) != 0) lua_pop(state, 1);
}

}  // namespace

RouteLaps::RouteLaps(const std::string& levelName) {
  for (const RouteDriver::Step& step : datagen::DemoLevelContent(levelName).route)
    if (step.kind != RouteDriver::Step::FINISH && step.kind != RouteDriver::Step::HAZARD) m_Route.push_back(step);
}

FrameInput RouteLaps::Next() {
  CallScript("ResetPlayerHealth", 0.0);
  if (m_Driver && !m_Driver->Done() && !m_Driver->Failed()) return m_Driver->Next();
  if (m_Driver && m_Driver->Failed()) m_Failures.push_back("lap " + std::to_string(m_Laps) + ": " + m_Driver->Failure());
  // The keys the last lap held go up first.
  FrameInput release = m_Driver ? m_Driver->ReleaseAll() : FrameInput();
  m_Driver = std::make_unique<RouteDriver>(m_Route);
  ++m_Laps;
  CallScript("SetWeaponCharge", 1.0);
  return release;
}

}  // namespace scenario
