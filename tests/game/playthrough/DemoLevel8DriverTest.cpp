// Level8 played by the route driver: input only, as the whole-game run
// plays it, from the desktop into the level and to its end, alive.
#include <gtest/gtest.h>

#include "game/playthrough/Level8Run.h"
#include "scenario/RouteDriver.h"

using level8test::Level;
using level8test::Level8Run;

namespace {

class DemoLevel8Driver : public ::testing::TestWithParam<uint32_t> {};

TEST_P(DemoLevel8Driver, TheRouteDriverFinishesTheLevelAlive) {
  Level8Run run(GetParam());
  ASSERT_TRUE(run.Start()) << run.a.Problem();
  scenario::RouteDriver driver(datagen::DemoLevelContent("Level8").route);
  int frames = 0;
  while (run.Playing() && !driver.Failed() && frames < 20000) {
    run.a.Next() = driver.Next();
    run.Frame();
    ++frames;
  }
  EXPECT_FALSE(driver.Failed()) << driver.Failure();
  EXPECT_FALSE(run.died) << driver.Where();
  EXPECT_EQ(run.a.App().GetState(), CApp::STATE_LEVEL_OVER) << driver.Where();
  EXPECT_EQ(run.mostAlive, 8);
  EXPECT_TRUE(run.stationFull);
  EXPECT_EQ(run.bombs, 2);
  for (const char* objective : {"L8_STATION", "L8_WAVE", "L8_CORE"})
    EXPECT_TRUE(Level().GetObjectiveComplete(objective)) << objective;
  std::printf("Level8 by the route driver, seed %u: %d frames, lowest health %u, %d shots, at most %d alive\n",
              GetParam(), frames, run.lowestHealth, driver.ShotsFired(), run.mostAlive);
}

INSTANTIATE_TEST_SUITE_P(Seeds, DemoLevel8Driver, ::testing::Values(1u, 2u, 3u));

}  // namespace
