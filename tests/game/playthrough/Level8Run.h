#pragma once
// Level8 followed along its route (RouteRun.h) in an application scenario
// of its own at 0.016 s frames, a shot at the nearest enemy within 950
// every third frame, started on a profile that has reached the level.
#include <cstdio>
#include <string>
#include <vector>

#include "game/demo/DemoLevelStart.h"
#include "game/playthrough/RouteRun.h"

namespace level8test {

using datagen::DEMO_ROUTE_STEP;
using routetest::Level;
using routetest::Player;
using scenario::AppScenario;

constexpr float FRAME = 0.016f;

// Lines of the log that report something the level asked for and did not get.
inline std::vector<std::string> Problems(const std::vector<std::string>& lines) { return demolevel::TroubleLines(lines); }

struct OwnScenario {
  explicit OwnScenario(const AppScenario::Options& o) : a(o) {}
  AppScenario a;
};

class Level8Run : public OwnScenario, public routetest::RouteRun {
 public:
  explicit Level8Run(uint32_t seed = 1, bool gl = false)
      : OwnScenario(Options(seed, gl)), RouteRun(a, {FRAME, 3, 950.0f, 3}) {}

  static AppScenario::Options Options(uint32_t seed, bool gl) {
    AppScenario::Options o;
    o.frameTime = FRAME;
    o.seed = seed;
    o.gl = gl;
    return o;
  }

  // The menu's fade at this frame time, start, a profile that has reached
  // Level8 (the desktop, no start comic), the desktop's start button.
  bool Start() {
    if (!a.Ready() || !apptest::ToMainMenu(a)) return false;
    a.Run(40);
    g_pMainMenu->m_Page = CMainMenu::PAGE_START;
    if (!a.RunUntilState(CApp::STATE_LOGIN, 200)) return false;
    apptest::ChooseProfile(a, 2);
    if (!a.RunUntilState(CApp::STATE_DESKTOP, 30)) return false;
    a.Run(5);
    g_pPDA->m_ResultCode = PDA_RESULT_START_GAME;
    if (a.RunUntilState(CApp::STATE_PLAYING, 200)) return true;
    for (const std::string& line : a.LogLines()) std::printf("%s\n", line.c_str());
    return false;
  }
};

}  // namespace level8test
