#include "engine/app/Application.h"
#include "game/GameTestSupport.h"
#include "game/level/LevelTimer.h"

namespace {

class LevelTimerTest : public gametest::ScriptedTest {
 protected:
  void SetUp() override {
    ScriptedTest::SetUp();
    m_OldFrame = Nembra::g_FrameTime;
    for (const char* name : {"One", "Two", "Three", "Late", "Again"}) WriteCounter(name);
  }
  void TearDown() override {
    Nembra::g_FrameTime = m_OldFrame;
    ScriptedTest::TearDown();
  }
  // Runs frames of the given length; returns, per frame, which counters rose.
  std::vector<std::string> Frames(CLevelTimer& timer, int frames, float frameTime) {
    std::vector<std::string> log;
    Nembra::g_FrameTime = frameTime;
    for (int i = 0; i < frames; ++i) {
      const int before = Count("One") + 10 * Count("Two") + 100 * Count("Three");
      timer.Update();
      const int after = Count("One") + 10 * Count("Two") + 100 * Count("Three");
      log.push_back(after == before ? "-" : after - before == 1 ? "1" : after - before == 10 ? "2" : "3");
    }
    return log;
  }

 private:
  float m_OldFrame = 0.0f;
};

TEST_F(LevelTimerTest, EventsRunWhenTheirTimeIsReachedOnePerFrame) {
  // Half-second frames; one long frame, then frames of no time.
  const struct {
    std::vector<float> frames;
    std::vector<std::string> log;
    float time;
  } rows[] = {{std::vector<float>(7, 0.5f), {"-", "1", "-", "2", "-", "3", "-"}, 3.5f},
              {{5, 0, 0, 0}, {"1", "2", "3", "-"}, 5.0f}};
  for (const auto& row : rows) {
    CLevelTimer timer;
    timer.RegisterEvent(1.0f, "One.lua");
    timer.RegisterEvent(2.0f, "Two.lua");
    timer.RegisterEvent(3.0f, "Three.lua");
    timer.Start();
    std::vector<std::string> log;
    for (float frame : row.frames) log.push_back(Frames(timer, 1, frame)[0]);
    EXPECT_EQ(log, row.log);
    EXPECT_FLOAT_EQ(timer.GetTime(), row.time);
    EXPECT_TRUE(timer.GetEvents().empty());
  }
}

TEST_F(LevelTimerTest, OutOfOrderAndRepeatedTimesAreIgnored) {
  CLevelTimer a;
  a.RegisterEvent(5.0f, "One.lua");
  a.RegisterEvent(3.0f, "Two.lua");
  ASSERT_EQ(a.GetEvents().size(), 1u);
  EXPECT_EQ(a.GetEvents().front().script, "One.lua");
  CLevelTimer b;
  b.RegisterEvent(5.0f, "One.lua");
  b.RegisterEvent(5.0f, "Two.lua");
  ASSERT_EQ(b.GetEvents().size(), 1u);
  EXPECT_FLOAT_EQ(b.GetEvents().front().time, 5.0f);
  b.ClearEvents();
  b.RegisterEvent(3.0f, "Two.lua");  // an empty queue takes any time
  EXPECT_EQ(b.GetEvents().size(), 1u);
}

TEST_F(LevelTimerTest, StopAndResumeKeepTheTimeAndStartResetsIt) {
  CLevelTimer timer;
  EXPECT_FLOAT_EQ(timer.GetTime(), 0.0f);
  Frames(timer, 4, 0.5f);  // never started: no time passes
  EXPECT_FLOAT_EQ(timer.GetTime(), 0.0f);
  timer.RegisterEvent(2.0f, "One.lua");
  timer.Start();
  Frames(timer, 3, 0.5f);
  timer.Stop();
  EXPECT_FALSE(timer.IsRunning());
  EXPECT_EQ(Frames(timer, 4, 0.5f), std::vector<std::string>(4, "-"));
  EXPECT_FLOAT_EQ(timer.GetTime(), 1.5f);
  timer.Resume();
  EXPECT_EQ(Frames(timer, 1, 0.5f), std::vector<std::string>{"1"});
  EXPECT_FLOAT_EQ(timer.GetTime(), 2.0f);
  timer.Start();
  EXPECT_FLOAT_EQ(timer.GetTime(), 0.0f);
}

TEST_F(LevelTimerTest, RestartKeepsUnfiredEvents) {
  CLevelTimer timer;
  timer.RegisterEvent(1.0f, "One.lua");
  timer.RegisterEvent(4.0f, "Late.lua");
  timer.Start();
  Nembra::g_FrameTime = 1.5f;
  timer.Update();
  EXPECT_EQ(Count("One"), 1);
  // What a level restart does to every timer.
  timer.Start();
  timer.Stop();
  EXPECT_FLOAT_EQ(timer.GetTime(), 0.0f);
  ASSERT_EQ(timer.GetEvents().size(), 1u);
  timer.RegisterEvent(2.0f, "One.lua");  // earlier than the kept event: ignored
  EXPECT_EQ(timer.GetEvents().size(), 1u);
  timer.Start();
  Frames(timer, 3, 1.5f);
  EXPECT_EQ(Count("Late"), 1);
  EXPECT_EQ(Count("One"), 1);
}

TEST_F(LevelTimerTest, EmptyAndFailingScriptsAreConsumed) {
  CLevelTimer timer;
  timer.RegisterEvent(0.5f, "");
  timer.RegisterEvent(1.0f, "Missing.lua");
  timer.RegisterEvent(1.5f, "One.lua");
  timer.Start();
  Frames(timer, 1, 0.5f);
  EXPECT_EQ(timer.GetEvents().size(), 2u);
  EXPECT_TRUE(errors.empty());  // nothing was run for the empty name
  Frames(timer, 2, 0.5f);
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(Count("One"), 1);
  EXPECT_TRUE(timer.GetEvents().empty());
}

// The timer an event script works on, reached by a function the test adds
// to the game script's state.
CLevelTimer* g_TimerUnderTest = nullptr;

int ClearAndRegister(lua_State* state) {
  g_TimerUnderTest->ClearEvents();
  g_TimerUnderTest->RegisterEvent(static_cast<float>(lua_tonumber(state, 1)), lua_tostring(state, 2));
  return 0;
}

TEST_F(LevelTimerTest, AnEventScriptMayClearItsTimerAndRegisterAgain) {
  CLevelTimer timer;
  g_TimerUnderTest = &timer;
  lua_register(g_GameScript.GetState(), "ClearAndRegister", ClearAndRegister);
  WriteScript("Rearm.lua", "IncVar(\"Rearm\")\nClearAndRegister(2.0, \"Again.lua\")\n");
  timer.RegisterEvent(1.0f, "Rearm.lua");
  timer.RegisterEvent(1.5f, "One.lua");
  timer.Start();
  Frames(timer, 2, 0.5f);
  EXPECT_EQ(Count("Rearm"), 1);
  ASSERT_EQ(timer.GetEvents().size(), 1u);
  EXPECT_EQ(timer.GetEvents().front().script, "Again.lua");
  Frames(timer, 2, 0.5f);
  EXPECT_EQ(Count("Again"), 1);
  EXPECT_EQ(Count("One"), 0);  // cleared by the script
  EXPECT_TRUE(errors.empty());
  g_TimerUnderTest = nullptr;
}

}  // namespace
