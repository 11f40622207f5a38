#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <sys/resource.h>
#include <functional>
#include <thread>
#include <vector>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/app/InputMapper.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "engine/fonts/Font.h"
#include "engine/resources/Material.h"
#include "engine/resources/Mesh.h"
#include "engine/resources/Shader.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/resources/Texture.h"
#include "engine/scene/GeometrySet.h"
#include "engine/scene/SceneManager.h"
#include "engine/sound/AudiereSound.h"
#include "engine/sound/SoundDevice.h"
#include "engine/sound/WaveSound.h"
#include "engine/util/TextTable.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/Sound.h"
#include "platform/SoundTestSupport.h"
#include "platform/backends/headless/Headless.h"
#include "support/TempDir.h"
#include "tools/formats/SoundFiles.h"

using namespace platform;

namespace {

// An application whose frames are scripted by the test.
class ScriptedApp : public Nembra::CApplication {
 public:
  std::vector<float> frameTimes;
  std::vector<bool> activations;
  std::function<void(ScriptedApp&)> onFrame;
  int shutdowns = 0;
  bool initResult = true;
  bool OnInit() override { return initResult; }
  void OnFrame() override {
    frameTimes.push_back(Nembra::g_FrameTime);
    if (onFrame) onFrame(*this);
  }
  void OnShutdown() override { ++shutdowns; }
  void OnActivate(bool active) override { activations.push_back(active); }
};

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::ResetEvents();
    headless::SetTime(1000);
  }
  void TearDown() override { headless::ResetEvents(); }
  // Each turn of the loop advances the clock by the next step; then the app quits.
  static void StepThenQuit(ScriptedApp& app, std::vector<uint64_t> steps) {
    headless::SetPumpHook([&app, steps, turn = size_t(0)]() mutable {
      if (turn < steps.size())
        headless::AdvanceTime(steps[turn++]);
      else
        app.Quit();
    });
  }
  // Three seconds of streamed music, ready to play.
  static constexpr double MUSIC_SECONDS = 3.0;
  // A second: more than a stream keeps queued ahead.
  static constexpr uint64_t MORE_THAN_QUEUED = 44100;
  std::shared_ptr<OutputStream> OpenMusic() {
    formats::Tone tone;
    tone.seconds = MUSIC_SECONDS;
    m_Audio = OpenAudioDevice();
    if (!m_Audio) return nullptr;
    return OpenSound(m_Audio, OpenSampleSource(m_Dir.Write("music.ogg", formats::OggToneBytes(tone))), true);
  }
  bool Open(ScriptedApp& app, bool windowed) {
    Nembra::APPLICATION_PARAMS params;
    params.SetTitle("Project Karvessa");
    params.windowed = windowed;
    return app.Init(params);
  }
  testsupport::TempDir m_Dir;
  std::shared_ptr<AudioDevice> m_Audio;
};

TEST_F(ApplicationTest, SameMillisecondTurnsWithAndWithoutFrameCap) {
  for (bool cap : {true, false}) {
    headless::ResetEvents();
    ScriptedApp app;
    app.SetFrameCap(cap);
    ASSERT_TRUE(Open(app, false));
    StepThenQuit(app, {16, 0, 0, 17, 5, 0, 33});  // 0 is a turn within the same millisecond
    app.Run();
    const std::vector<int> expectedMs = cap ? std::vector<int>{16, 17, 5, 33} : std::vector<int>{16, 0, 0, 17, 5, 0, 33};
    ASSERT_EQ(app.frameTimes.size(), expectedMs.size());
    for (size_t i = 0; i < expectedMs.size(); ++i) EXPECT_FLOAT_EQ(app.frameTimes[i], expectedMs[i] * 0.001f);
    EXPECT_EQ(app.shutdowns, 1);
  }
}

TEST_F(ApplicationTest, FrameTimeFollowsTheTimeScaleAndLongRuns) {
  ScriptedApp app;
  ASSERT_TRUE(Open(app, false));
  app.SetTimeScale(0.5f);
  // Ten days into the run the clock still measures single milliseconds.
  headless::SetTime(10ull * 24 * 3600 * 1000);
  StepThenQuit(app, {1, 1, 1});
  app.Run();
  // The first turn measures from Run's start; then three 1 ms turns at half speed.
  ASSERT_EQ(app.frameTimes.size(), 3u);
  for (float t : app.frameTimes) EXPECT_FLOAT_EQ(t, 0.0005f);
}

TEST_F(ApplicationTest, InactiveMinuteNeverReachesAFrame) {
  ScriptedApp app;
  ASSERT_TRUE(Open(app, false));
  int frames = 0;
  headless::SetPumpHook([] { headless::AdvanceTime(20); });
  app.onFrame = [&](ScriptedApp& a) {
    ++frames;
    if (frames == 1) {
      headless::PostEvent(WM_ACTIVATE, WA_INACTIVE);
      // While inactive the loop blocks for messages: a minute passes, then
      // the window is activated again.
      headless::SetIdleHook([] {
        headless::AdvanceTime(60000);
        headless::PostEvent(WM_ACTIVATE, WA_ACTIVE);
        headless::SetIdleHook(nullptr);
      });
    } else if (frames == 3) {
      a.Quit();
    }
  };
  app.Run();
  ASSERT_GE(app.frameTimes.size(), 2u);
  // The frame after activation measures from the activation, not a minute.
  EXPECT_LT(app.frameTimes[1], 0.1f);
  EXPECT_EQ(app.activations, (std::vector<bool>{false, true}));
}

TEST_F(ApplicationTest, MinimisedOrHiddenWindowDrawsNothingAndTimeSkipsTheGap) {
  ScriptedApp app;
  ASSERT_TRUE(Open(app, true));
  int frames = 0;
  headless::SetPumpHook([] { headless::AdvanceTime(20); });
  // While inactive the loop blocks for messages: time passes, then the
  // window comes back with the given size message.
  auto comeBackWith = [](WPARAM size, uint64_t away) {
    headless::SetIdleHook([size, away] {
      headless::AdvanceTime(away);
      headless::PostEvent(WM_SIZE, size);
      headless::SetIdleHook(nullptr);
    });
  };
  app.onFrame = [&](ScriptedApp& a) {
    ++frames;
    if (frames == 1) {
      headless::PostEvent(WM_SIZE, SIZE_MAXIMIZED);  // still shown: no change
      headless::PostEvent(WM_SIZE, SIZE_MINIMIZED);
      comeBackWith(SIZE_RESTORED, 60000);
    } else if (frames == 3) {
      headless::PostEvent(WM_SIZE, SIZE_MAXHIDE);  // hidden behind another window made full size
      comeBackWith(SIZE_MAXSHOW, 30000);
    } else if (frames == 5) {
      a.Quit();
    }
  };
  app.Run();
  ASSERT_EQ(app.frameTimes.size(), 5u);
  EXPECT_EQ(app.activations, (std::vector<bool>{false, true, false, true}));
  // The frames after each return measure from the return, not the time away.
  for (float t : app.frameTimes) EXPECT_LT(t, 0.1f);
}

TEST_F(ApplicationTest, SameMillisecondTurnsWaitForTheNextMillisecond) {
  for (bool cap : {true, false}) {
    headless::ResetEvents();
    headless::ClearTickWaits();
    ScriptedApp app;
    app.SetFrameCap(cap);
    ASSERT_TRUE(Open(app, false));
    StepThenQuit(app, {16, 0, 0, 17, 0, 5});
    app.Run();
    // Run starts at 1000: the turns at 1016 and 1033 draw nothing and wait
    // for the following millisecond; without the cap they draw instead.
    const std::vector<uint64_t> expected = cap ? std::vector<uint64_t>{1017, 1017, 1034} : std::vector<uint64_t>();
    EXPECT_EQ(headless::TickWaits(), expected);
    EXPECT_EQ(app.frameTimes.size(), cap ? 3u : 6u);
  }
}

TEST_F(ApplicationTest, WaitingForATickSleepsInsteadOfSpinning) {
  // On the real clock: a loop that only waits for each next millisecond
  // must give the processor away (the thread blocks, and spends little of
  // its own time), never return early, and not block at all for a tick
  // already passed. Counted per wait and by the thread's own switches, so a
  // busy machine (which only delays the wake-ups) gives the same answer.
  SetBackend(Backend::SdlGl);
  // This thread's processor time and its voluntary switches (blocking).
  auto threadCpu = [] {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
  };
  auto blocked = [] {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_nvcsw;
  };
  constexpr int WAITS = 100;
  const double cpuStart = threadCpu();
  const long blockedStart = blocked();
  int early = 0;
  for (int i = 0; i < WAITS; ++i) {
    const uint64_t now = GetTickCount();
    WaitForTick(now + 1);
    if (GetTickCount() < now + 1) ++early;
  }
  const double cpuPerWait = (threadCpu() - cpuStart) / WAITS;
  const long blocks = blocked() - blockedStart;
  const uint64_t before = GetTickCount();
  const long blockedBeforePast = blocked();
  for (int i = 0; i < 1000; ++i) WaitForTick(before > 5 ? before - 5 : 0);
  const long blockedForPast = blocked() - blockedBeforePast;
  SetBackend(Backend::Headless);
  EXPECT_EQ(early, 0);
  // A wait lasts half a millisecond on average; spinning through it costs
  // about that much processor time, sleeping a small part of it.
  EXPECT_LT(cpuPerWait, 0.25e-3) << "processor time per wait";
  EXPECT_GE(blocks, WAITS / 2) << "the waits must block the thread";
  EXPECT_EQ(blockedForPast, 0) << "a tick already passed returns at once";
}

TEST_F(ApplicationTest, MusicIsFedByTheFrameLoopAlone) {
  auto music = OpenMusic();
  ASSERT_TRUE(music);
  ScriptedApp app;
  ASSERT_TRUE(Open(app, true));
  const soundtest::Since sincePlay;  // on the output's own clock
  music->Play();
  // Frames run until the music has played more than the stream's queue
  // holds (so it was topped up while they ran), or, unfed, until the output
  // has mixed the whole music.
  headless::SetPumpHook([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    headless::AdvanceTime(10);
    if ((music->FramesPlayed() > MORE_THAN_QUEUED && app.frameTimes.size() > 20) || sincePlay() > MUSIC_SECONDS)
      app.Quit();
  });
  app.Run();
  EXPECT_GT(app.frameTimes.size(), 20u);
  EXPECT_GT(music->FramesPlayed(), MORE_THAN_QUEUED);
}

TEST_F(ApplicationTest, MusicPlaysOnWhileTheWindowIsInactive) {
  auto music = OpenMusic();
  ASSERT_TRUE(music);
  ScriptedApp app;
  ASSERT_TRUE(Open(app, false));
  music->Play();
  // The first frame sends the window to the background, where the loop
  // waits for messages for a second and a half.
  app.onFrame = [](ScriptedApp&) { headless::PostEvent(WM_ACTIVATE, WA_INACTIVE); };
  // It waits until the music has played more than the stream's queue holds
  // (so it was topped up while waiting), or, unfed, until the output has
  // mixed the whole music.
  const soundtest::Since sincePlay;
  headless::SetPumpHook([] { headless::AdvanceTime(10); });
  headless::SetIdleHook([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (music->FramesPlayed() > MORE_THAN_QUEUED || sincePlay() > MUSIC_SECONDS)
      app.Quit();
    else
      headless::PostEvent(WM_NULL);
  });
  app.Run();
  EXPECT_EQ(app.frameTimes.size(), 1u) << "nothing is drawn in the background";
  EXPECT_GT(music->FramesPlayed(), MORE_THAN_QUEUED);
}

TEST_F(ApplicationTest, SystemCommandsSwallowedOnlyInFullScreen) {
  for (bool windowed : {false, true}) {
    headless::ResetEvents();
    ScriptedApp app;
    ASSERT_TRUE(Open(app, windowed));
    const std::vector<WPARAM> all{SC_SIZE, SC_MOVE, SC_MAXIMIZE, SC_KEYMENU, SC_MONITORPOWER, SC_MINIMIZE};
    for (WPARAM cmd : all) SendMessage(app.GetWindow(), WM_SYSCOMMAND, cmd, 0);
    EXPECT_EQ(headless::DefaultSystemCommands(), windowed ? all : std::vector<WPARAM>{SC_MINIMIZE});
  }
}

TEST_F(ApplicationTest, AltF4ClosesTheWindowAndEndsTheRunInFullScreen) {
  ScriptedApp app;
  ASSERT_TRUE(Open(app, false));
  int frames = 0;
  headless::SetPumpHook([] { headless::AdvanceTime(16); });
  app.onFrame = [&](ScriptedApp&) {
    if (++frames == 2) headless::PostEvent(WM_SYSCOMMAND, SC_CLOSE);
  };
  app.Run();
  EXPECT_EQ(frames, 2);
  EXPECT_EQ(app.shutdowns, 1);
}

TEST_F(ApplicationTest, TypedTextTakesCharactersAndBackspace) {
  ScriptedApp app;
  ASSERT_TRUE(Open(app, true));
  HWND w = app.GetWindow();
  SendMessage(w, WM_KEYDOWN, VK_BACK, 0);  // on empty text: stays empty
  EXPECT_EQ(app.GetTypedText(), L"");
  SendMessage(w, WM_CHAR, 'a', 0);
  SendMessage(w, WM_CHAR, 'b', 0);
  SendMessage(w, WM_KEYDOWN, VK_BACK, 0);
  SendMessage(w, WM_CHAR, 'c', 0);
  EXPECT_EQ(app.GetTypedText(), L"ac");
  SendMessage(w, WM_CHAR, 0x0D, 0);
  SendMessage(w, WM_CHAR, 0x00F1, 0);
  EXPECT_EQ(app.GetTypedText(), std::wstring(L"ac\r\u00f1"));
  app.ClearTypedText();
  EXPECT_EQ(app.GetTypedText(), L"");
}

TEST_F(ApplicationTest, FramesPerSecondNearSixty) {
  // Sixty calls evenly over a little more than a second.
  headless::SetTime(50000);
  Nembra::CApplication::GetFPS();  // closes whatever period came before
  float fps = 0;
  for (int i = 1; i <= 61; ++i) {
    headless::AdvanceTime(17);
    fps = Nembra::CApplication::GetFPS();
  }
  EXPECT_NEAR(fps, 60.0f, 1.5f);
  // It keeps that value until the next second is over.
  headless::AdvanceTime(17);
  EXPECT_EQ(Nembra::CApplication::GetFPS(), fps);
}

TEST_F(ApplicationTest, FailedStartShowsTheErrorBoxOnceAndExitsWithOne) {
  const std::string text =
      "There was an initialization error.\nKV will now close.\n\nMake sure no other DirectX-based application is "
      "running and that\nyou didn't try to run two instances of the game simultaneously.";
  // The window cannot be made, or the application's own start-up fails.
  for (bool failWindow : {true, false}) {
    headless::ResetEvents();
    ASSERT_TRUE(Nembra::InitializeEngine());
    headless::FailWindowCreation(failWindow);
    ScriptedApp app;
    app.initResult = false;
    Nembra::APPLICATION_PARAMS params;
    EXPECT_EQ(Nembra::RunApplication(app, params), 1);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].first, text);
    EXPECT_EQ(headless::MessageBoxes()[0].second, "Error");
    EXPECT_EQ(Nembra::g_pGraphicsDevice, nullptr) << "the engine is shut down";
    EXPECT_TRUE(app.frameTimes.empty());
    EXPECT_EQ(app.shutdowns, 0);
  }
  // A normal run ends with 0 and shows nothing.
  headless::ResetEvents();
  ASSERT_TRUE(Nembra::InitializeEngine());
  ScriptedApp app;
  headless::SetPumpHook([] { headless::AdvanceTime(16); });
  app.onFrame = [](ScriptedApp& a) {
    if (a.frameTimes.size() == 3) a.Quit();
  };
  EXPECT_EQ(Nembra::RunApplication(app, Nembra::APPLICATION_PARAMS()), 0);
  EXPECT_EQ(app.frameTimes.size(), 3u);
  EXPECT_EQ(app.shutdowns, 1);
  EXPECT_TRUE(headless::MessageBoxes().empty());
  EXPECT_EQ(Nembra::g_pKeyboard, nullptr);
}

TEST(EngineStartUp, DefaultsThenEverySingletonMadeAndShutdownLeavesNoneBehind) {
  EXPECT_EQ(Nembra::g_TextureDirectory, ".\\Data\\Materials\\");
  EXPECT_EQ(Nembra::g_ScriptDirectory, ".\\Data\\Scripts\\");
  EXPECT_EQ(Nembra::g_LanguageCode, L"ENG");
  using namespace Nembra;
  auto singletons = [] {
    return std::vector<const void*>{g_pGraphicsDevice, g_pTextureFactory,     g_pMaterialFactory,
                                    g_pShaderFactory,  g_pSimpleMeshFactory,  g_pSkinnedMeshFactory,
                                    g_pGeometrySetRegistry, g_pSceneManager,  g_pKeyboard,
                                    g_pMouse,          g_pInputMapper,        g_pSoundDevice,
                                    g_pWaveSoundFactory, g_p3DWaveSoundFactory, g_AudiereDevice,
                                    g_pAudiereSoundFactory, g_pStreamingSoundFactory};
  };
  ASSERT_TRUE(InitializeEngine());
  std::vector<const void*> made = singletons();
  for (size_t i = 0; i < made.size(); ++i) EXPECT_NE(made[i], nullptr) << "singleton " << i + 1;
  EXPECT_TRUE(g_AudiereDevice->Get()) << "the null output opens";
  EXPECT_EQ(g_pTextureFactory->GetDirectory(), g_TextureDirectory);
  {
    // The application's Init adds the system-font factory; shutdown deletes it too.
    headless::ResetEvents();
    CApplication app;
    ASSERT_TRUE(app.Init(APPLICATION_PARAMS()));
    EXPECT_NE(g_pFontFactory, nullptr);
    ShutdownEngine();
  }
  for (int run = 0; run < 2; ++run) {  // a second call finds nothing to do
    std::vector<const void*> left = singletons();
    for (size_t i = 0; i < left.size(); ++i) EXPECT_EQ(left[i], nullptr) << "singleton " << i + 1;
    EXPECT_EQ(g_pFontFactory, nullptr);
    EXPECT_FALSE(platform::IsAudioOpen()) << "shutdown closes the output";
    ShutdownEngine();
  }
  headless::ResetEvents();
}

}  // namespace
