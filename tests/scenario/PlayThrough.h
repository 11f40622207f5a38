#pragma once
// The whole demo played by input alone on an application scenario: logos,
// menu configuration (music slider dragged to its end, saved), login with a
// typed profile, tutorial with the in-game PDA, desktop mail and network,
// Level4 with its planned death, Level8, end comic, final screen, credits,
// exit question and purchase screen. A save that fails on the way is met as
// the player meets it: the login's notice is closed, a level over that
// stays is pressed again. The game is read only to choose the next
// input. On the OpenGL device each state visit and PDA application is
// pictured under test-images/<folder>/.
#include <functional>
#include <string>
#include <vector>

#include "platform/Rect.h"
#include "scenario/AppScenario.h"
#include "tools/datagen/DemoLevelContent.h"

namespace scenario {

class PlayThrough {
 public:
  struct Options {
    std::string pictureFolder = "playthrough";
    // Frames any one step may take before the run fails naming it.
    int stepFrames = 1500;
    // Frames a whole level may take.
    int levelFrames = 20000;
    // The route through a level by its name; the generator's own when empty.
    std::function<std::vector<datagen::DEMO_ROUTE_STEP>(const std::string& level)> route;
    // Called as each step begins, with its name (a test changes the world
    // there, for instance makes the game's saves fail).
    std::function<void(const std::string& step)> atStep;
  };

  explicit PlayThrough(AppScenario& app);
  PlayThrough(AppScenario& app, const Options& options);

  // The whole route; false at the first step that did not happen.
  bool Run();
  // What did not happen, where, and the game's state at that point.
  const std::string& Failure() const { return m_Failure; }
  // The steps passed, in order (the last one names where a failure stopped).
  const std::vector<std::string>& Steps() const { return m_Steps; }
  const std::vector<std::string>& Pictures() const { return m_Pictures; }
  int PlannedDeaths() const { return m_PlannedDeaths; }
  // The login's notice that a new profile was not saved, read and closed.
  int NotSavedNotices() const { return m_NotSavedNotices; }
  // Level overs that stayed on their first press because the save failed.
  int LevelOverRetries() const { return m_LevelOverRetries; }
  // Deaths no route step asked for (each also fails the run).
  int UnplannedDeaths() const { return m_UnplannedDeaths; }

 private:
  bool Fail(const std::string& what);
  void Begin(const std::string& step) {
    m_Steps.push_back(step);
    if (m_Options.atStep) m_Options.atStep(step);
  }
  // One frame with the input.
  void Frame(const FrameInput& input = FrameInput());
  // Frames with no input until the predicate holds.
  bool WaitFor(const std::string& what, const std::function<bool()>& done, int maxFrames = -1);
  bool WaitState(int state, int maxFrames = -1);
  // Key down in one frame, up in the next.
  void Tap(int key);
  // Steers the cursor to (x, y), at most `step` pixels a frame.
  bool Steer(const std::string& what, int x, int y, int step = 48);
  // Steers the cursor onto the rectangle's middle, presses the left button
  // there and lets it go in the next frame.
  bool Click(const std::string& what, const platform::RECT& rect);
  // A new state's picture after its entry fade (OpenGL only).
  void Visit(int state);
  void Picture(const std::string& name);

  bool Logos();
  bool Configure();
  bool StartAndLogin();
  bool Comic();
  bool PlayLevel(const std::string& name, bool visitPda);
  // One music stream plays in the level, and it is not the title music.
  bool LevelMusic(const std::string& name);
  bool LevelOver();
  bool Desktop(bool openMailAndNetwork);
  bool FinalAndCredits();
  bool ExitGame();

  AppScenario& m_App;
  Options m_Options;
  std::string m_Failure;
  std::vector<std::string> m_Steps;
  std::vector<std::string> m_Pictures;
  int m_PlannedDeaths = 0;
  int m_UnplannedDeaths = 0;
  int m_NotSavedNotices = 0;
  int m_LevelOverRetries = 0;
};

}  // namespace scenario
