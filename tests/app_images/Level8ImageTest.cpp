// Level8 on the OpenGL device along its route: the start, the console with the blue station charged and
// enemies about, the wave leaving both stations, the way north into the core; every face in view lit.
#include <gtest/gtest.h>

#include <vector>

#include "frontend_images/PictureProbes.h"
#include "game/demo/DemoLevelStart.h"
#include "game/playthrough/Level8Run.h"

using datagen::DEMO_ROUTE_STEP;
using level8test::Level8Run;

namespace {

// Pixels of the probe grid that are not black.
int LitProbes(const std::vector<uint32_t>& pixels) { return probe::LitProbes(pixels, 30, 0x0F); }

// The steps of the route up to and including the first of a kind (or all).
std::vector<DEMO_ROUTE_STEP> Until(const std::vector<DEMO_ROUTE_STEP>& route, size_t from,
                                   DEMO_ROUTE_STEP::Kind kind, size_t& next) {
  size_t end = from;
  while (end < route.size() && route[end].kind != kind) ++end;
  next = std::min(end + 1, route.size());
  return std::vector<DEMO_ROUTE_STEP>(route.begin() + long(from), route.begin() + long(next));
}

TEST(Level8Images, TheConsoleTheWaveAndTheCore) {
  Level8Run run(1, true);
  if (!run.a.Ready()) GTEST_SKIP() << run.a.Problem();
  ASSERT_TRUE(run.Start());
  for (int i = 0; i < 20; ++i) run.Frame();
  ASSERT_TRUE(run.a.Capture("level8_00_start"));
  EXPECT_TRUE(demolevel::EveryFaceLit(run.a, "Level8"));
  const std::vector<DEMO_ROUTE_STEP> route = datagen::DemoLevelContent("Level8").route;
  size_t next = 0;
  run.Follow(Until(route, 0, DEMO_ROUTE_STEP::SHOOT, next));
  ASSERT_TRUE(run.Playing());
  ASSERT_TRUE(run.a.Capture("level8_01_console"));
  EXPECT_GT(LitProbes(run.a.Pixels()), 300);
  EXPECT_TRUE(demolevel::EveryFaceLit(run.a, "Level8"));

  run.Follow(Until(route, next, DEMO_ROUTE_STEP::ACTION, next));
  for (int i = 0; i < 12; ++i) run.Frame();
  ASSERT_TRUE(run.a.Capture("level8_02_wave"));
  EXPECT_TRUE(demolevel::EveryFaceLit(run.a, "Level8"));

  // Up to the north corridor, then halfway into the core.
  std::vector<DEMO_ROUTE_STEP> rest(route.begin() + long(next), route.end() - 1);
  run.Follow(rest);
  run.WalkTo(0.0f, 2300.0f);
  ASSERT_TRUE(run.Playing());
  ASSERT_TRUE(run.a.Capture("level8_03_core"));
  EXPECT_GT(LitProbes(run.a.Pixels()), 300);
  EXPECT_TRUE(demolevel::EveryFaceLit(run.a, "Level8"));
}

}  // namespace
