#pragma once
// Helpers of the application scenarios: reaching states the way a player
// does (or by the front end's own result values, which the front end's
// tests cover), and a stand-in for the level-script function that names
// the init script while the script bindings are not there.
#include <lua.hpp>

#include <cstring>
#include <fstream>
#include <string>

#include "engine/app/GraphicsDevice.h"
#include "engine/sprites/ScreenFader.h"
#include "frontend/ComicViewer.h"
#include "frontend/LogoSequence.h"
#include "frontend/MainMenu.h"
#include "frontend/ProfileStore.h"
#include "frontend/pda/PDA.h"
#include "game/App.h"
#include "game/GameScript.h"
#include "game/GameWorld.h"
#include "platform/Input.h"
#include "scenario/AppScenario.h"
#include "scenario/RouteDriver.h"
#include "support/TempDir.h"

namespace apptest {

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline int ShimSetInitScript(lua_State* state) {
  if (g_pGameWorld && lua_isstring(state, 1)) g_pGameWorld->GetLevel().SetInitScript(lua_tostring(state, 1));
  return 0;
}

// Level scripts of the tutorial that only name an empty init script (the
// level's files are another test's subject).
inline void WriteQuietTutorial(const std::string& data) {
  WriteFile(data + "Scripts/LevelTutorial.lua", "SetInitScript(\"Quiet_Init.lua\")\n");
  WriteFile(data + "Scripts/Quiet_Init.lua", "-- nothing\n");
}

inline int ShimLoadTerrain(lua_State* state) {
  if (g_pGameWorld && lua_isstring(state, 1)) g_pGameWorld->GetLevel().LoadTerrain(lua_tostring(state, 1));
  return 0;
}
inline int ShimLoadCollision(lua_State* state) {
  if (g_pGameWorld && lua_isstring(state, 1))
    g_pGameWorld->GetLevel().LoadCollision(lua_tostring(state, 1), static_cast<int>(lua_tonumber(state, 2)));
  return 0;
}
inline int ShimLoadItems(lua_State* state) {
  if (g_pGameWorld && lua_isstring(state, 1)) g_pGameWorld->GetLevel().LoadItems(std::string(lua_tostring(state, 1)));
  return 0;
}
inline int ShimLoadTriggers(lua_State* state) {
  if (g_pGameWorld && lua_isstring(state, 1)) g_pGameWorld->GetLevel().LoadTriggers(lua_tostring(state, 1));
  return 0;
}
inline int ShimLoadPlayer(lua_State* state) {
  if (g_pGameWorld && lua_isstring(state, 1))
    g_pGameWorld->LoadPlayer(lua_tostring(state, 1), float(lua_tonumber(state, 2)), float(lua_tonumber(state, 3)),
                             float(lua_tonumber(state, 4)), float(lua_tonumber(state, 5)));
  return 0;
}

inline void RegisterIfMissing(const char* name, lua_CFunction function) {
  lua_State* state = g_GameScript.GetState();
  if (!state) return;
  lua_getglobal(state, name);
  const bool missing = lua_isnil(state, -1);
  lua_pop(state, 1);
  if (missing) lua_register(state, name, function);
}

// Registers SetInitScript when the game's bindings lack it.
inline void EnsureSetInitScript() { RegisterIfMissing("SetInitScript", ShimSetInitScript); }

// The functions the tutorial's generated scripts call, for as long as the
// game's own bindings lack them.
inline void EnsureTutorialFunctions() {
  EnsureSetInitScript();
  RegisterIfMissing("LoadTerrain", ShimLoadTerrain);
  RegisterIfMissing("LoadCollision", ShimLoadCollision);
  RegisterIfMissing("LoadItems", ShimLoadItems);
  RegisterIfMissing("LoadTriggers", ShimLoadTriggers);
  RegisterIfMissing("LoadPlayer", ShimLoadPlayer);
}

inline bool ToMainMenu(scenario::AppScenario& a) {
  if (a.App().GetLogoSequence()) a.App().GetLogoSequence()->done = true;
  return a.RunUntilState(CApp::STATE_MAIN_MENU, 5);
}

// Main menu -> (loading) -> login.
inline bool ToLogin(scenario::AppScenario& a) {
  if (a.App().GetState() == CApp::STATE_LOGOS && !ToMainMenu(a)) return false;
  a.Run(6);  // the menu's own fade from black
  g_pMainMenu->m_Page = CMainMenu::PAGE_START;
  return a.RunUntilState(CApp::STATE_LOGIN, 20);
}

// The cursor steered onto the middle of the rectangle, then a click there.
inline void ClickRect(scenario::AppScenario& a, const platform::RECT& r) {
  for (int i = 0; i < 60; ++i) {
    if (scenario::SteerCursor(a.Next(), (r.left + r.right) / 2, (r.top + r.bottom) / 2)) break;
    a.Frame();
  }
  a.Next().Press(0);
  a.Frame();
  a.Next().Release(0);
  a.Frame();
}

// Login with the current profile at a level -> whatever follows.
inline void ChooseProfile(scenario::AppScenario& a, uint32_t levelReached) {
  g_ProfileStore.GetCurrentProfile().levelReached = levelReached;
  g_pPDA->m_ResultCode = PDA_RESULT_PROFILE_CHOSEN;
  a.Frame();
}

// Login at level 0: the start comic, then closing it starts the level.
inline bool ToPlaying(scenario::AppScenario& a) {
  if (!ToLogin(a)) return false;
  EnsureSetInitScript();
  ChooseProfile(a, 0);
  if (a.App().GetState() != CApp::STATE_COMIC) return false;
  g_pComicViewer->finished = 1;
  a.Frame();
  return a.App().GetState() == CApp::STATE_PLAYING;
}

inline scenario::AppScenario::Options QuietLevel() {
  scenario::AppScenario::Options o;
  o.prepareData = [](const std::string& data) { WriteQuietTutorial(data); };
  return o;
}

inline bool RampIs(float gamma) {
  platform::D3DGAMMARAMP want;
  Nembra::CGraphicsDevice::BuildGammaRamp(gamma, &want);
  const platform::D3DGAMMARAMP& have = platform::headless::CurrentDevice()->GammaRamp();
  return std::memcmp(&want, &have, sizeof want) == 0;
}

}  // namespace apptest
