// The timedemo: the game's own application started as the program starts
// it (windowed 800x600 on the SDL backend with the OpenGL device, swap
// interval 0), a profile at Level8's index, CApp::StartLevel, then the
// level's route played lap after lap (scenario::RouteLaps: the player at
// full health every frame and with full charges at each lap, through the
// script host, so every frame is a playing frame) frame by frame with a
// fixed step of 16 ms and the random numbers seeded with 1.
//
// It reports the frame times of the measured frames (wall time of the
// frame with the device's work finished): median, 95th percentile and
// maximum; the level's load time (StartLevel, first and again after
// CLevel::Unload); the renderer, the processor and llvmpipe's threads.
//
// With --headless the same run goes through the headless backend (scripted
// clock, recording device, silent sound mixed on the main thread as far as
// the scripted clock moved, so that a run decodes and mixes the same
// whatever the machine's load) and, under callgrind started with
// --instr-atstart=no, counts the instructions of the frames given by
// --instrument FIRST-LAST only. scripts/timedemo.sh runs both.
//
//   timedemo [--headless] [--warmup N] [--frames N] [--instrument FIRST-LAST]
//            [--data FOLDER] [--level INDEX]
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/app/Mouse.h"
#include "engine/util/Random.h"
#include "frontend/ProfileStore.h"
#include "game/app/App.h"
#include "game/level/LevelDescriptions.h"
#include "game/world/GameWorld.h"
#include "platform/Clock.h"
#include "platform/DeviceTiming.h"
#include "platform/HeadlessGraphics.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/Sound.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "scenario/RouteLaps.h"
#include "scenario/ScenarioInput.h"
#include "support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr float STEP = 0.016f;
constexpr uint32_t LEVEL8_INDEX = 2;

struct Options {
  bool headless = false;
  int warmup = 120;
  int frames = 1800;
  int instrumentFirst = 0, instrumentLast = -1;  // frame numbers counted from 1, warm-up included
  std::string data = KARVESSA_DEMO_DATA_DIR;
  uint32_t level = LEVEL8_INDEX;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--headless") {
      o.headless = true;
    } else if (a == "--warmup" && hasValue) {
      o.warmup = std::max(0, std::atoi(argv[++i]));
    } else if (a == "--frames" && hasValue) {
      o.frames = std::max(1, std::atoi(argv[++i]));
    } else if (a == "--instrument" && hasValue) {
      if (std::sscanf(argv[++i], "%d-%d", &o.instrumentFirst, &o.instrumentLast) != 2) return false;
    } else if (a == "--data" && hasValue) {
      o.data = argv[++i];
    } else if (a == "--level" && hasValue) {
      o.level = static_cast<uint32_t>(std::atoi(argv[++i]));
    } else {
      return false;
    }
  }
  return true;
}

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::string CpuModel() {
  std::ifstream in("/proc/cpuinfo");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("model name", 0) == 0) {
      const size_t colon = line.find(':');
      return colon == std::string::npos ? line : line.substr(colon + 2);
    }
  return "unknown";
}

// Threads of this process whose name starts "llvmpipe" (Mesa names its
// rasteriser threads "llvmpipe-0", "llvmpipe-1", ...).
int LlvmpipeThreads() {
  int count = 0;
  std::error_code ec;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", ec)) {
    std::ifstream comm(task.path() / "comm");
    std::string name;
    std::getline(comm, name);
    if (name.rfind("llvmpipe", 0) == 0) ++count;
  }
  return count;
}

class Timedemo {
 public:
  explicit Timedemo(const Options& o) : m_Options(o) {}
  ~Timedemo() { End(); }

  bool Start() {
    platform::SetBackend(m_Options.headless ? platform::Backend::Headless : platform::Backend::SdlGl);
    if (m_Options.headless) {
      platform::headless::ResetGraphics();
      platform::headless::ResetInput();
      platform::headless::ResetEvents();
      platform::headless::SetTime(0);
      // Sound mixed by the scripted clock: the count must not depend on the machine.
      if (!platform::SetAudioOutput(platform::AudioOutput::Clocked))
        return Fail("the sound cannot be mixed by the clock: its output was chosen already");
    }
    // A fresh copy of the data without profiles: the game writes there.
    std::error_code ec;
    std::filesystem::copy(m_Options.data, m_Data.Path(), std::filesystem::copy_options::recursive, ec);
    if (ec) return Fail("cannot copy the data folder " + m_Options.data + ": " + ec.message());
    for (int slot = 0; slot < 5; ++slot)
      std::filesystem::remove(m_Data.File("Profile" + std::to_string(slot) + ".dat"), ec);
    if (!Nembra::InitializeEngine()) return Fail("the engine did not start");
    m_EngineStarted = true;
    m_App = new CApp(m_Data.Path() + "/");
    Nembra::APPLICATION_PARAMS params;
    params.SetTitle("Project Karvessa timedemo");
    params.windowed = true;
    params.width = 800;
    params.height = 600;
    params.bitsPerPixel = 32;
    if (!m_App->Init(params)) {
      m_InitFailed = true;
      return Fail("the application did not start");
    }
    if (m_Options.headless && !platform::IsAudioOpen())
      return Fail("the sound cannot be mixed by the clock (the log says why)");
    Nembra::SeedRandom(1);
    // What the loading state does, then the profile at the level's index.
    if (!m_App->LoadGameResources()) return Fail("the game objects could not be made");
    g_ProfileStore.GetCurrentProfile().levelReached = m_Options.level;
    const std::string script = platform::WideToUtf8(GetLevelDescription(m_Options.level).scriptFile);
    m_LevelName = script.substr(0, script.rfind('.'));
    m_Walk = std::make_unique<scenario::RouteLaps>(m_LevelName);
    if (m_Walk->Empty()) return Fail("no route through " + m_LevelName);
    m_FirstLoadMs = TimedStartLevel();
    if (m_App->GetState() != CApp::STATE_PLAYING || !g_pGameWorld) return Fail("the level did not start");
    return true;
  }

  // Runs the warm-up and the measured frames; false when a frame was not
  // a playing frame.
  bool Run() {
    const int total = m_Options.warmup + m_Options.frames;
    m_Times.reserve(size_t(m_Options.frames));
    for (int frame = 1; frame <= total && !m_Ended; ++frame) {
      if (frame == m_Options.instrumentFirst) CALLGRIND_START_INSTRUMENTATION;
      const Clock::time_point start = Clock::now();
      Frame();
      const Clock::time_point end = Clock::now();
      if (frame == m_Options.instrumentLast) CALLGRIND_STOP_INSTRUMENTATION;
      if (frame > m_Options.warmup) {
        m_Times.push_back(Milliseconds(end - start));
        if (Nembra::g_pGraphicsDevice && Nembra::g_pGraphicsDevice->GetDevice()) {
          const platform::DeviceFrameCounters c = Nembra::g_pGraphicsDevice->GetDevice()->GetFrameCounters();
          m_Draws += c.draws;
          m_ProgramBinds += c.programBinds;
        }
      }
      if (m_App->GetState() != CApp::STATE_PLAYING) {
        std::fprintf(stderr, "timedemo: frame %d left play (state %d)\n", frame, m_App->GetState());
        return false;
      }
    }
    m_RouteAtEnd = "lap " + std::to_string(m_Walk->Laps()) + ", " + m_Walk->Where() + "; " +
                   std::to_string(g_pGameWorld->GetLevel().GetEnemies().size()) + " enemies alive";
    return !m_Ended;
  }

  // The level unloaded and started again; a few frames show it plays.
  bool Reload() {
    g_pGameWorld->GetLevel().Unload();
    m_SecondLoadMs = TimedStartLevel();
    for (int frame = 1; frame <= 30 && !m_Ended; ++frame) Frame();
    return !m_Ended && m_App->GetState() == CApp::STATE_PLAYING;
  }

  void Report() const {
    std::vector<double> t = m_Times;
    std::sort(t.begin(), t.end());
    const auto at = [&](double q) { return t.empty() ? 0.0 : t[std::min(t.size() - 1, size_t(std::ceil(q * t.size())) - 1)]; };
    const double median = t.empty() ? 0.0 : (t.size() % 2 ? t[t.size() / 2] : 0.5 * (t[t.size() / 2 - 1] + t[t.size() / 2]));
    double sum = 0.0;
    for (double v : t) sum += v;
    std::printf("timedemo: %s (level %u), %s, step 16 ms, seed 1, %d warm-up + %d measured frames\n",
                m_LevelName.c_str(), m_Options.level, m_Options.headless ? "headless backend" : "SDL window 800x600", m_Options.warmup,
                m_Options.frames);
    if (!m_Options.headless)
      std::printf("renderer: %s; swap interval %d\n", m_Renderer.c_str(), m_SwapInterval);
    const char* lp = std::getenv("LP_NUM_THREADS");
    std::printf("cpu: %s; %u logical cores; llvmpipe threads %d (LP_NUM_THREADS %s)\n", CpuModel().c_str(),
                std::thread::hardware_concurrency(), m_LlvmpipeThreads, lp ? lp : "unset");
    std::printf("level load: first %.1f ms, after CLevel::Unload %.1f ms\n", m_FirstLoadMs, m_SecondLoadMs);
    std::printf("frame time: median %.3f ms, p95 %.3f ms, max %.3f ms, mean %.3f ms over %zu frames\n", median,
                at(0.95), t.empty() ? 0.0 : t.back(), t.empty() ? 0.0 : sum / double(t.size()), t.size());
    if (!t.empty() && m_Draws)
      std::printf("device work per frame: %.1f draws, %.1f program changes\n", double(m_Draws) / double(t.size()),
                  double(m_ProgramBinds) / double(t.size()));
    std::printf("route at the last measured frame: %s\n", m_RouteAtEnd.c_str());
  }

  const std::string& Problem() const { return m_Problem; }

 private:
  bool Fail(const std::string& why) {
    m_Problem = why;
    return false;
  }

  double TimedStartLevel() {
    const Clock::time_point start = Clock::now();
    m_App->StartLevel();
    if (Nembra::g_pGraphicsDevice) platform::FinishDeviceWork(Nembra::g_pGraphicsDevice->GetDevice());
    const double ms = Milliseconds(Clock::now() - start);
    if (!m_Options.headless && Nembra::g_pGraphicsDevice) {
      m_Renderer = platform::GetRendererName(Nembra::g_pGraphicsDevice->GetDevice());
      m_SwapInterval = SDL_GL_GetSwapInterval();
      m_LlvmpipeThreads = LlvmpipeThreads();
    }
    return ms;
  }

  // One frame as the program's loop runs it, at a fixed step: the route's
  // input, the message pump, the clock, the sound layer, the application's
  // frame and the device's work finished.
  void Frame() {
    scenario::ApplyFrameInput(m_Walk->Next(), !m_Options.headless, m_App->GetWindow());
    for (; m_FailuresShown < m_Walk->Failures().size(); ++m_FailuresShown)
      std::fprintf(stderr, "timedemo: %s\n", m_Walk->Failures()[m_FailuresShown].c_str());
    if (!scenario::DispatchWaitingMessages()) {
      End();
      return;
    }
    ++m_Step;
    if (m_Options.headless) platform::headless::SetTime(uint64_t(m_Step) * 16u);
    Nembra::g_FrameTime = STEP;
    platform::UpdateAudio();
    m_App->OnFrame();
    if (Nembra::g_pGraphicsDevice) platform::FinishDeviceWork(Nembra::g_pGraphicsDevice->GetDevice());
  }

  void End() {
    if (m_App && !m_Ended && !m_InitFailed) m_App->OnShutdown();
    m_Ended = true;
    if (m_EngineStarted) Nembra::ShutdownEngine();
    m_EngineStarted = false;
    delete m_App;
    m_App = nullptr;
  }

  Options m_Options;
  testsupport::TempDir m_Data;
  CApp* m_App = nullptr;
  bool m_EngineStarted = false, m_InitFailed = false, m_Ended = false;
  std::string m_Problem;
  std::string m_LevelName;
  std::string m_RouteAtEnd;
  std::unique_ptr<scenario::RouteLaps> m_Walk;
  size_t m_FailuresShown = 0;
  uint64_t m_Step = 0;
  std::vector<double> m_Times;
  uint64_t m_Draws = 0, m_ProgramBinds = 0;
  double m_FirstLoadMs = 0.0, m_SecondLoadMs = 0.0;
  std::string m_Renderer;
  int m_SwapInterval = -1;
  int m_LlvmpipeThreads = 0;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: timedemo [--headless] [--warmup N] [--frames N] [--instrument FIRST-LAST] [--data FOLDER] "
                 "[--level INDEX]\n");
    return 2;
  }
  if (!options.headless && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    std::fprintf(stderr, "timedemo: the SDL run needs a display (run it under xvfb-run, or use --headless)\n");
    return 77;
  }
  Timedemo demo(options);
  if (!demo.Start()) {
    std::fprintf(stderr, "timedemo: %s\n", demo.Problem().c_str());
    return 1;
  }
  const bool played = demo.Run();
  const bool reloaded = played && demo.Reload();
  demo.Report();
  if (!played || !reloaded) {
    std::fprintf(stderr, "timedemo: %s\n", played ? "the level did not play again after CLevel::Unload"
                                                  : "the run left play before its last frame");
    return 1;
  }
  return 0;
}
