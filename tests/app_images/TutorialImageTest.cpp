// The tutorial through the real OpenGL code, on the program's own data.
#include <gtest/gtest.h>

#include "game/demo/DemoLevelStart.h"
#include "platform/Input.h"
#include "scenario/AppScenario.h"

namespace {

using scenario::AppScenario;

constexpr float FRAME = 0.05f;

void WalkTo(AppScenario& a, float x, float y) { demolevel::WalkTo(a, x, y, FRAME); }

// The start, then the hall: the box, the barrel, the upgrade and the terminal's marker ahead of the
// player, the welcome message below; then the last room with the exit's marker once the terminal is
// worked. In every picture each face in view shows its texture.
TEST(DemoLevelTutorialImages, TheHallAndTheExit) {
  AppScenario::Options o;
  o.frameTime = FRAME;
  o.gl = true;
  AppScenario a(o);
  if (!a.Ready()) GTEST_SKIP() << a.Problem();
  ASSERT_TRUE(demolevel::StartLevel(a, 0));
  a.Run(20);
  ASSERT_TRUE(a.Capture("tutorial_start"));
  EXPECT_TRUE(demolevel::EveryFaceLit(a, "LevelTutorial"));
  WalkTo(a, 900.0f, 0.0f);
  WalkTo(a, 1300.0f, 0.0f);
  a.Run(4);
  ASSERT_TRUE(a.Capture("tutorial_hall"));
  EXPECT_TRUE(demolevel::EveryFaceLit(a, "LevelTutorial"));
  WalkTo(a, 2600.0f, 0.0f);
  WalkTo(a, 2600.0f, 400.0f);
  a.Tap(platform::DIK_SPACE);
  WalkTo(a, 2200.0f, 400.0f);
  WalkTo(a, 2200.0f, 1500.0f);
  a.Run(4);
  ASSERT_TRUE(a.Capture("tutorial_exit"));
  EXPECT_TRUE(demolevel::EveryFaceLit(a, "LevelTutorial"));
}

}  // namespace
