#include "scenario/AppScenario.h"

#include <gtest/gtest.h>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/util/Random.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/Sound.h"
#include "scenario/ScenarioInput.h"

namespace scenario {

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
  if (!CopyDemoData(*m_Parts->data, m_Problem)) return;
  m_DataFolder = m_Parts->data->Path() + "/";
  if (m_Options.prepareData) m_Options.prepareData(m_DataFolder);

  if (!Nembra::InitializeEngine()) {
    m_Problem = "the engine did not start";
    return;
  }
  m_Parts->engineStarted = true;
  m_App = new CApp(m_DataFolder);
  if (!m_App->Init(WindowParams("Project Karvessa"))) {
    m_InitFailed = true;
    m_Problem = "the application did not start";
    return;
  }
  if (m_Options.gl && !CanReadBack()) {
    m_Problem = "no OpenGL device whose pixels can be read back";
    return;
  }
  // The window's first events come before the first scripted frame.
  if (m_Options.gl && !TakeFirstWindowEvents(m_Problem)) {
    ADD_FAILURE() << m_Problem;
    return;
  }
  Nembra::SeedRandom(m_Options.seed);
  m_Decoder = GameFontDecoder();
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
  delete m_App;
  m_App = nullptr;
  platform::SetLogHook(nullptr);
  EndScenario(m_Options.gl);
}

FrameInput& AppScenario::Next() {
  if (m_Script.empty()) m_Script.emplace_back();
  return m_Script.front();
}

platform::headless::RecordingDevice* AppScenario::Device() const {
  return m_Options.gl ? nullptr : platform::headless::CurrentDevice();
}

void AppScenario::Frame() {
  if (!m_Ready || m_Ended) return;
  ApplyFrameInput(TakeNext(m_Script), m_Options.gl, m_App->GetWindow());
  if (!DispatchWaitingMessages()) {
    End();
    return;
  }
  platform::headless::RecordingDevice* device = Device();
  const uint32_t factor = BeginFrame(++m_FrameNumber, m_Options.frameTime, m_Options.gl, device);
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
  return FramesUntil([&] { return !m_Ended && (Frame(), true); }, done, maxFrames);
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
  return ReadAndKeep(name, m_Pixels);
}

}  // namespace scenario
