// The timedemo: the game's own application started as the program starts
// it (windowed 800x600 on the SDL backend with the OpenGL device, swap
// interval 0), a profile at Level8's index, CApp::StartLevel, then a route
// through the level played frame by frame with a fixed step of 16 ms and
// the random numbers seeded with 1. Every frame runs ResetPlayerHealth
// through the script host, so every frame is a playing frame.
//
// It reports the frame times of the measured frames (wall time of the
// frame with the device's work finished): median, 95th percentile and
// maximum; the level's load time (StartLevel, first and again after
// CLevel::Unload); the renderer, the processor and llvmpipe's threads.
//
// With --headless the same run goes through the headless backend (scripted
// clock, recording device, silent sound) and, under callgrind started with
// --instr-atstart=no, counts the instructions of the frames given by
// --instrument FIRST-LAST only. scripts/timedemo.sh runs both.
//
//   timedemo [--headless] [--warmup N] [--frames N] [--instrument FIRST-LAST]
//            [--data FOLDER] [--level INDEX]
#include <lua.hpp>
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
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
#include "game/App.h"
#include "game/GameScript.h"
#include "game/GameWorld.h"
#include "platform/Clock.h"
#include "platform/DeviceTiming.h"
#include "platform/HeadlessGraphics.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/Sound.h"
#include "platform/Window.h"
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

// The interim walk through Level8 while no route driver is at hand: from
// the entry room up the corridor into the arena, then round the arena's
// pillars, firing both colours ahead. Each frame the key of the four
// screen directions closest to the next waypoint is held.
class ScriptedWalk {
 public:
  scenario::FrameInput Next(int frame) {
    static const D3DXVECTOR3 kWaypoints[] = {{0, -2600, 0},   {0, -1800, 0},  {0, -1000, 0},    {-1000, -1000, 0},
                                             {-1000, 0, 0},   {-1000, 1000, 0}, {0, 1000, 0},    {1000, 1000, 0},
                                             {1000, 0, 0},    {1000, -1000, 0}, {0, -1000, 0},   {0, 0, 0}};
    constexpr size_t kCount = sizeof kWaypoints / sizeof kWaypoints[0];
    scenario::FrameInput in;
    CGameWorld* world = g_pGameWorld;
    if (!world) return in;
    const D3DXVECTOR3 p = world->GetPlayer().GetPosition();
    D3DXVECTOR3 to = kWaypoints[m_Target] - p;
    to.z = 0.0f;
    if (D3DXVec3Length(&to) < 120.0f) {
      m_Target = m_Target + 1 < kCount ? m_Target + 1 : 2;  // round the arena again
      to = kWaypoints[m_Target] - p;
      to.z = 0.0f;
    }
    // Forward on the screen is the camera's forward on the ground; left is
    // it turned a quarter to the left.
    const D3DXVECTOR3 f = world->GetCameraForward();
    const D3DXVECTOR3 l(-f.y, f.x, 0.0f);
    const float ahead = to.x * f.x + to.y * f.y, aside = to.x * l.x + to.y * l.y;
    const int want = std::fabs(ahead) >= std::fabs(aside) ? (ahead >= 0 ? platform::DIK_W : platform::DIK_S)
                                                          : (aside >= 0 ? platform::DIK_A : platform::DIK_D);
    if (want != m_Held) {
      if (m_Held) in.KeyUp(m_Held);
      in.KeyDown(want);
      m_Held = want;
    }
    // The cursor circles ahead of the player; both colours fire in turn.
    const float angle = float(frame) * 0.02f;
    in.MoveTo(400 + int(150.0f * std::cos(angle)), 220 + int(80.0f * std::sin(angle)));
    if (frame % 24 == 0) in.Press(frame % 48 == 0 ? 0 : 1);
    if (frame % 24 == 2) in.Release(frame % 48 == 2 ? 0 : 1);
    return in;
  }

 private:
  size_t m_Target = 0;
  int m_Held = 0;
};

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
    Nembra::SeedRandom(1);
    // What the loading state does, then the profile at the level's index.
    if (!m_App->LoadGameResources()) return Fail("the game objects could not be made");
    g_ProfileStore.GetCurrentProfile().levelReached = m_Options.level;
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
      Frame(frame);
      const Clock::time_point end = Clock::now();
      if (frame == m_Options.instrumentLast) CALLGRIND_STOP_INSTRUMENTATION;
      if (frame > m_Options.warmup) m_Times.push_back(Milliseconds(end - start));
      if (m_App->GetState() != CApp::STATE_PLAYING) {
        std::fprintf(stderr, "timedemo: frame %d left play (state %d)\n", frame, m_App->GetState());
        return false;
      }
    }
    return !m_Ended;
  }

  // The level unloaded and started again; a few frames show it plays.
  bool Reload() {
    g_pGameWorld->GetLevel().Unload();
    m_SecondLoadMs = TimedStartLevel();
    for (int frame = 1; frame <= 30 && !m_Ended; ++frame) Frame(frame);
    return !m_Ended && m_App->GetState() == CApp::STATE_PLAYING;
  }

  void Report() const {
    std::vector<double> t = m_Times;
    std::sort(t.begin(), t.end());
    const auto at = [&](double q) { return t.empty() ? 0.0 : t[std::min(t.size() - 1, size_t(std::ceil(q * t.size())) - 1)]; };
    const double median = t.empty() ? 0.0 : (t.size() % 2 ? t[t.size() / 2] : 0.5 * (t[t.size() / 2 - 1] + t[t.size() / 2]));
    double sum = 0.0;
    for (double v : t) sum += v;
    std::printf("timedemo: level index %u, %s, step 16 ms, seed 1, %d warm-up + %d measured frames\n",
                m_Options.level, m_Options.headless ? "headless backend" : "SDL window 800x600", m_Options.warmup,
                m_Options.frames);
    if (!m_Options.headless)
      std::printf("renderer: %s; swap interval %d\n", m_Renderer.c_str(), m_SwapInterval);
    const char* lp = std::getenv("LP_NUM_THREADS");
    std::printf("cpu: %s; %u logical cores; llvmpipe threads %d (LP_NUM_THREADS %s)\n", CpuModel().c_str(),
                std::thread::hardware_concurrency(), m_LlvmpipeThreads, lp ? lp : "unset");
    std::printf("level load: first %.1f ms, after CLevel::Unload %.1f ms\n", m_FirstLoadMs, m_SecondLoadMs);
    std::printf("frame time: median %.3f ms, p95 %.3f ms, max %.3f ms, mean %.3f ms over %zu frames\n", median,
                at(0.95), t.empty() ? 0.0 : t.back(), t.empty() ? 0.0 : sum / double(t.size()), t.size());
    if (g_pGameWorld)
      std::printf("end of run: %zu enemies alive, player at (%.0f, %.0f)\n", g_pGameWorld->GetLevel().GetEnemies().size(),
                  g_pGameWorld->GetPlayer().GetPosition().x, g_pGameWorld->GetPlayer().GetPosition().y);
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
  // frame, the player's health reset through the script host, and the
  // device's work finished.
  void Frame(int frame) {
    scenario::ApplyFrameInput(m_Walk.Next(frame), !m_Options.headless, m_App->GetWindow());
    platform::MSG msg;
    while (platform::PeekMessage(&msg)) {
      if (msg.message == platform::WM_QUIT) {
        End();
        return;
      }
      platform::DispatchMessage(&msg);
    }
    ++m_Step;
    if (m_Options.headless) platform::headless::SetTime(uint64_t(m_Step) * 16u);
    Nembra::g_FrameTime = STEP;
    platform::UpdateAudio();
    m_App->OnFrame();
    if (lua_State* state = g_GameScript.GetState()) {
      lua_getglobal(state, "ResetPlayerHealth");
      if (lua_pcall(state, 0, 0, 0) != 0) lua_pop(state, 1);
    }
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
  ScriptedWalk m_Walk;
  uint64_t m_Step = 0;
  std::vector<double> m_Times;
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
