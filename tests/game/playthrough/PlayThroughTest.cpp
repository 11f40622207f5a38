// The whole demo played through headless by input alone: the states
// visited, the files the game leaves, no death but the planned one, no
// missing asset reported, and the time it takes.
#include <gtest/gtest.h>

#include <chrono>

#include "game/app/App.h"
#include "scenario/AppScenario.h"
#include "scenario/PlayThrough.h"
#include "scenario/PlayThroughChecks.h"

namespace {

TEST(PlayThrough, TheWholeDemoByInputAloneHeadless) {
  const auto start = std::chrono::steady_clock::now();
  scenario::AppScenario a(scenario::PlayThroughOptions(false));
  ASSERT_TRUE(a.Ready()) << a.Problem();
  scenario::PlayThrough play(a);
  const bool finished = play.Run();
  EXPECT_TRUE(finished) << play.Failure();
  scenario::ExpectPlayThroughResults(a, play);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 60.0) << "the headless play-through took " << seconds << " s";
}

}  // namespace
