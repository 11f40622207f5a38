#pragma once
// Helpers of the application scenarios: reaching states the way a player
// does (or by the front end's own result values, which the front end's
// tests cover).
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "engine/app/GraphicsDevice.h"
#include "engine/sprites/ScreenFader.h"
#include "frontend/ProfileStore.h"
#include "frontend/comic/ComicViewer.h"
#include "frontend/menu/MainMenu.h"
#include "frontend/pda/PDA.h"
#include "frontend/screens/LogoSequence.h"
#include "game/app/App.h"
#include "game/world/GameWorld.h"
#include "platform/Input.h"
#include "scenario/AppScenario.h"
#include "scenario/RouteDriver.h"
#include "support/TempDir.h"

namespace apptest {

// The state changes "OLD -> NEW" a scenario's StateLog() should hold.
inline std::vector<std::string> Log(std::initializer_list<const char*> lines) { return {lines.begin(), lines.end()}; }

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Level scripts of the tutorial that only name an empty init script (the
// level's files are another test's subject).
inline void WriteQuietTutorial(const std::string& data) {
  WriteFile(data + "Scripts/LevelTutorial.lua", "SetInitScript(\"Quiet_Init.lua\")\n");
  WriteFile(data + "Scripts/Quiet_Init.lua", "-- nothing\n");
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
  return a.RunUntilState(CApp::STATE_LOGIN, 200);
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

// An application scenario on the quiet tutorial, ready, for the tests of the in-level states.
class QuietApp : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(a.Ready()) << a.Problem(); }
  scenario::AppScenario a{QuietLevel()};
};

inline bool RampIs(float gamma) {
  platform::D3DGAMMARAMP want;
  Nembra::CGraphicsDevice::BuildGammaRamp(gamma, &want);
  const platform::D3DGAMMARAMP& have = platform::headless::CurrentDevice()->GammaRamp();
  return std::memcmp(&want, &have, sizeof want) == 0;
}

}  // namespace apptest
