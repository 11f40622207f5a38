// The whole demo played through headless by input alone: the states
// visited, the files the game leaves, no death but the planned one, no
// missing asset reported, and the processor time it takes; and the same
// walk while the game's saves fail for a while.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "frontend/ProfileFile.h"
#include "game/app/App.h"
#include "platform/Files.h"
#include "scenario/AppScenario.h"
#include "scenario/PlayThrough.h"
#include "scenario/PlayThroughChecks.h"
#include "support/FileSizeLimit.h"

namespace {

TEST(PlayThrough, TheWholeDemoByInputAloneHeadless) {
  const double start = scenario::ProcessorSeconds();
  scenario::AppScenario a(scenario::PlayThroughOptions(false));
  ASSERT_TRUE(a.Ready()) << a.Problem();
  scenario::PlayThrough play(a);
  const bool finished = play.Run();
  EXPECT_TRUE(finished) << play.Failure();
  scenario::ExpectPlayThroughResults(a, play);
  const double seconds = scenario::ProcessorSeconds() - start;
  EXPECT_LT(seconds, 60.0) << "the headless play-through took " << seconds << " s of processor time";
}

// The same walk with every save failing from the start of the game until
// the desktop after the tutorial: the login tells the player that the new
// profile is not saved, the tutorial's level over keeps the player for a
// second press, and once writes hold again the next level over writes the
// profile, which reads back whole.
TEST(PlayThrough, SavesFailingUntilTheFirstDesktopAreToldAndTheProfileIsWrittenOnceTheyHold) {
  scenario::AppScenario a(scenario::PlayThroughOptions(false));
  ASSERT_TRUE(a.Ready()) << a.Problem();
  const std::string profile = a.DataFolder() + "Profile0.dat";
  std::unique_ptr<testsupport::FileSizeLimit> full;
  bool limited = false, writtenWhileFull = true;
  scenario::PlayThrough::Options o;
  o.atStep = [&](const std::string& step) {
    if (step == "start") {
      full = std::make_unique<testsupport::FileSizeLimit>(16);
      limited = full->Active();
    }
    if (step == "desktop" && full) {
      writtenWhileFull = platform::FileExists(profile);
      full.reset();
    }
  };
  scenario::PlayThrough play(a, o);
  const bool finished = play.Run();
  ASSERT_TRUE(limited);
  EXPECT_TRUE(finished) << play.Failure();
  EXPECT_EQ(play.NotSavedNotices(), 1) << "the login's, once";
  EXPECT_EQ(play.LevelOverRetries(), 1) << "the tutorial's level over only";
  const std::vector<std::string>& steps = play.Steps();
  const auto retry = std::find(steps.begin(), steps.end(), "level over: not saved, pressed again");
  ASSERT_NE(retry, steps.end());
  EXPECT_EQ(*std::prev(retry), "level over");
  EXPECT_EQ(std::count(steps.begin(), retry, "level over"), 1) << "after the tutorial";
  EXPECT_FALSE(writtenWhileFull);
  // Written once writes hold, and whole: the profile reader takes every byte.
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile(profile, bytes));
  PROFILE_FILE_CONTENT content;
  EXPECT_EQ(ParseProfileBytes(bytes.data(), bytes.size(), content), ProfileFileState::Ok);
  EXPECT_EQ(content.name, L"Ana");
  EXPECT_EQ(content.levelReached, 3u);
  scenario::ExpectPlayThroughResults(a, play);
}

}  // namespace
