// Level8 played by the route driver: input only, as the whole-game run
// plays it, from the desktop into the level and to its end, alive; and lap
// after lap on one attempt, as the timedemo walks it.
#include <gtest/gtest.h>

#include "game/playthrough/Level8Run.h"
#include "scenario/RouteDriver.h"
#include "scenario/RouteLaps.h"

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

// The route without its goal and hazard, lap after lap from wherever the
// last one ended: every lap is walked to its end, the eighth as the first.
// (The route is written for a fresh attempt; lap after lap it used to empty
// the weapon, and from the sixth lap on the player stood still before
// enemies it could no longer hurt.)
TEST(DemoLevel8Laps, EveryLapIsWalkedToItsEnd) {
  Level8Run run(1);
  ASSERT_TRUE(run.Start()) << run.a.Problem();
  scenario::RouteLaps laps("Level8");
  ASSERT_FALSE(laps.Empty());
  int frames = 0;
  while (run.Playing() && laps.Laps() <= 8 && laps.Failures().empty() && frames < 16000) {
    run.a.Next() = laps.Next();
    run.Frame();
    ++frames;
  }
  EXPECT_TRUE(laps.Failures().empty()) << laps.Failures().front();
  EXPECT_EQ(laps.Laps(), 9) << "eight laps done within " << frames << " frames; " << laps.Where();
  EXPECT_EQ(run.a.App().GetState(), CApp::STATE_PLAYING);
  EXPECT_FALSE(run.died);
}

}  // namespace
