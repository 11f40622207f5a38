#include "scenario/AppScenario.h"

#include <SDL.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/app/Mouse.h"
#include "engine/util/Random.h"
#include "frontend/FontNames.h"
#include "game/world/GameGlobals.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "scenario/ScenarioInput.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/Sound.h"
#include "platform/Window.h"
#include "support/OffscreenDeviceTest.h"
#include "support/TempDir.h"

namespace scenario {

namespace {

constexpr int kWidth = 800, kHeight = 600;


}  // namespace

struct AppScenario::Parts {
  std::unique_ptr<testsupport::TempDir> data;
  bool engineStarted = false;
};

AppScenario::AppScenario() : AppScenario(Options()) {}

AppScenario::AppScenario(const Options& options) : m_Options(options), m_Parts(new Parts()) { Start(); }

void AppScenario::Start() {
  platform::SetLogHook([this](platform::LogLevel, const std::string& line) {
    m_LogLines.push_back(line);
    if (line.compare(0, 6, "state ") == 0) m_StateLog.push_back(line.substr(6));
  });
  if (!SelectBackend(m_Options.gl, m_Problem)) return;
  m_Parts->data = std::make_unique<testsupport::TempDir>();
  std::error_code ec;
  std::filesystem::copy(KARVESSA_DEMO_DATA_DIR, m_Parts->data->Path(), std::filesystem::copy_options::recursive, ec);
  if (ec) {
    m_Problem = "cannot copy the demo data: " + ec.message();
    return;
  }
  m_DataFolder = m_Parts->data->Path() + "/";
  if (m_Options.prepareData) m_Options.prepareData(m_DataFolder);

  if (!Nembra::InitializeEngine()) {
    m_Problem = "the engine did not start";
    return;
  }
  m_Parts->engineStarted = true;
  m_App = new CApp(m_DataFolder);
  Nembra::APPLICATION_PARAMS params;
  params.SetTitle("Project Karvessa");
  params.windowed = true;
  params.width = kWidth;
  params.height = kHeight;
  params.bitsPerPixel = 32;
  if (!m_App->Init(params)) {
    m_InitFailed = true;
    m_Problem = "the application did not start";
    return;
  }
  if (m_Options.gl) {
    std::vector<uint32_t> probe;
    uint32_t w = 0, h = 0;
    if (!Nembra::g_pGraphicsDevice->GetDevice() ||
        !Nembra::g_pGraphicsDevice->GetDevice()->ReadBackBuffer(probe, &w, &h)) {
      m_Problem = "no OpenGL device whose pixels can be read back";
      return;
    }
  }
  Nembra::SeedRandom(m_Options.seed);
  m_Decoder = std::make_unique<DrawDecoder>(std::vector<std::string>(GAME_FONT_NAMES.begin(), GAME_FONT_NAMES.end()));
  m_Ready = true;
}

void AppScenario::End() {
  if (m_Ended || !m_App) return;
  m_Ended = true;
  if (!m_InitFailed) m_App->OnShutdown();
}

AppScenario::~AppScenario() {
  End();
  m_Decoder.reset();
  if (m_Parts->engineStarted) Nembra::ShutdownEngine();
  // The music belonged to the streaming factory the engine's shutdown deleted.
  g_pCurrentMusic = nullptr;
  delete m_App;
  m_App = nullptr;
  Nembra::g_FrameTime = 0.0f;
  platform::SetLogHook(nullptr);
  if (m_Options.gl) {
    platform::SetBackend(platform::Backend::Headless);
  } else {
    platform::headless::ResetInput();
    platform::headless::ResetEvents();
  }
}

FrameInput& AppScenario::Next() {
  if (m_Script.empty()) m_Script.emplace_back();
  return m_Script.front();
}

platform::headless::RecordingDevice* AppScenario::Device() const {
  return m_Options.gl ? nullptr : platform::headless::CurrentDevice();
}

void AppScenario::ApplyInput(const FrameInput& in) { ApplyFrameInput(in, m_Options.gl, m_App->GetWindow()); }

void AppScenario::Frame() {
  if (!m_Ready || m_Ended) return;
  FrameInput input;
  if (!m_Script.empty()) {
    input = std::move(m_Script.front());
    m_Script.erase(m_Script.begin());
  }
  ApplyInput(input);
  if (!DispatchWaitingMessages()) {
    End();
    return;
  }
  ++m_FrameNumber;
  if (!m_Options.gl) {
    const double ms = std::floor(double(m_FrameNumber) * double(m_Options.frameTime) * 1000.0 + 0.5);
    platform::headless::SetTime(static_cast<uint64_t>(ms));
  }
  Nembra::g_FrameTime = m_Options.frameTime;
  platform::headless::RecordingDevice* device = Device();
  uint32_t factor = 0;
  if (device) {
    device->ClearLog();
    factor = device->RenderState(platform::D3DRS_TEXTUREFACTOR);
  }
  platform::UpdateAudio();
  const int before = m_App->GetState();
  m_App->OnFrame();
  // The logos, the final screen and the credits give their pictures back
  // in the frame that leaves them: that frame's draws name freed textures
  // and are not decoded.
  const bool released = before != m_App->GetState() &&
                        (before == CApp::STATE_LOGOS || before == CApp::STATE_FINAL || before == CApp::STATE_CREDITS);
  m_Last = device && !released ? m_Decoder->Decode(*device, factor) : DecodedFrame();
  // A quit posted by this frame ends the run at the next pump, as the
  // program's loop does.
  platform::MSG msg;
  if (platform::PeekMessage(&msg)) {
    if (msg.message == platform::WM_QUIT)
      End();
    else
      platform::DispatchMessage(&msg);
  }
}

void AppScenario::Run(int frames) {
  for (int i = 0; i < frames && !m_Ended; ++i) Frame();
}

bool AppScenario::RunUntil(const std::function<bool()>& done, int maxFrames) {
  for (int i = 0; i < maxFrames && !m_Ended; ++i) {
    Frame();
    if (done()) return true;
  }
  return false;
}

bool AppScenario::RunUntilState(int state, int maxFrames) {
  return RunUntil([&] { return m_App->GetState() == state; }, maxFrames);
}

void AppScenario::Tap(int key) {
  Next().KeyDown(key);
  Frame();
  Next().KeyUp(key);
  Frame();
}

bool AppScenario::Capture(const std::string& name) {
  if (!m_Options.gl || !m_Ready || m_Ended) return false;
  Frame();
  m_Pixels.clear();
  uint32_t w = 0, h = 0;
  if (!Nembra::g_pGraphicsDevice->GetDevice()->ReadBackBuffer(m_Pixels, &w, &h) || w != kWidth || h != kHeight) {
    m_Pixels.clear();
    return false;
  }
  testsupport::KeepPicture(name, m_Pixels, w, h);
  return true;
}

}  // namespace scenario
