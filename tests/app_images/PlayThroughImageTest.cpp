// The whole demo played through by input alone on the OpenGL device, SDL events carrying the input: the
// headless run's checks, and a picture of every state visited and PDA application opened (playthrough/).
#include <gtest/gtest.h>

#include "scenario/AppScenario.h"
#include "scenario/PlayThrough.h"
#include "scenario/PlayThroughChecks.h"

TEST(PlayThroughImages, TheWholeDemoByInputAloneOnSdl) {
  const double start = scenario::ProcessorSeconds();
  scenario::AppScenario a(scenario::PlayThroughOptions(true));
  if (!a.Ready()) GTEST_SKIP() << a.Problem();
  scenario::PlayThrough play(a);
  const bool finished = play.Run();
  EXPECT_TRUE(finished) << play.Failure();
  scenario::ExpectPlayThroughResults(a, play);
  // One picture for each of the 23 state visits but the last (the purchase
  // screen is pictured too), plus the pages and applications between them.
  EXPECT_GE(play.Pictures().size(), 23u);
  const double seconds = scenario::ProcessorSeconds() - start;
  EXPECT_LT(seconds, 240.0) << "the play-through on SDL took " << seconds << " s of processor time";
}
