#include "scenario/ScreenScenario.h"

#include <gtest/gtest.h>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/app/InputMapper.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/sound/SoundDevice.h"
#include "engine/util/Random.h"
#include "game/app/App.h"
#include "platform/Platform.h"
#include "platform/Sound.h"
#include "scenario/ScenarioInput.h"

namespace scenario {

namespace {
constexpr int kWidth = 800, kHeight = 600;
// The window, its message handling (typed text) and the input devices; the
// scenario drives the frames, not Run.
class ScenarioApp : public Nembra::CApplication {};
}  // namespace

struct ScreenScenario::Engine {
  std::unique_ptr<testsupport::TempDir> dataCopy;
  std::unique_ptr<ScenarioApp> app;
  bool engineStarted = false;
  bool gl = false;
};

ScreenScenario::ScreenScenario() : ScreenScenario(Options()) {}

ScreenScenario::ScreenScenario(const Options& options) : m_Options(options), m_Engine(new Engine()) { Start(); }

void ScreenScenario::Start() {
  m_Engine->gl = m_Options.gl;
  if (!SelectBackend(m_Options.gl, m_Problem)) return;

  std::string data = KARVESSA_DEMO_DATA_DIR;
  if (m_Options.writableData) {
    m_Engine->dataCopy = std::make_unique<testsupport::TempDir>();
    if (!CopyDemoData(*m_Engine->dataCopy, m_Problem)) return;
    data = m_Engine->dataCopy->Path();
  }
  m_DataFolder = data + "/";
  // Every resource folder is the data folder itself, as the game sets them.
  Nembra::SetDataDirectory(m_DataFolder);
  for (std::string* folder : Nembra::ResourceDirectories()) *folder = m_DataFolder;

  if (!Nembra::InitializeEngine()) {
    m_Problem = "the engine did not start";
    return;
  }
  m_Engine->engineStarted = true;
  m_Engine->app = std::make_unique<ScenarioApp>();
  const Nembra::APPLICATION_PARAMS params = WindowParams("Karvessa screen scenario");
  if (!m_Engine->app->Init(params)) {
    m_Problem = "no window could be opened";
    return;
  }
  if (!Nembra::g_pGraphicsDevice->Create(m_Engine->app->GetWindow(), params) ||
      !Nembra::g_pGraphicsDevice->GetDevice()) {
    m_Problem = m_Options.gl ? "no OpenGL 3.3 device on this display" : "the recording device was not made";
    return;
  }
  if (m_Options.gl && !CanReadBack()) {
    m_Problem = "the OpenGL device cannot read its pixels back";
    return;
  }
  // Sound plays on the null output without a sound card; a failure leaves it silent.
  Nembra::g_pSoundDevice->Initialize(m_Engine->app->GetWindow(), 44100, L"");
  if (!m_Engine->app->InitInput()) {
    m_Problem = "the keyboard and the mouse did not start";
    return;
  }
  CApp::MapDefaultActions(*Nembra::g_pInputMapper);
  // One device unit per pixel, so a scripted move lands exactly where asked.
  Nembra::g_pMouse->SetSpeed(1.0f);
  Nembra::g_pBitmapFontFactory = new Nembra::CBitmapFontFactory();
  Nembra::SeedRandom(m_Options.seed);
  Nembra::g_FrameTime = m_Options.frameTime;
  m_Decoder = GameFontDecoder();
  // The window's own events (shown, focus, the pointer's arrival, those of
  // an earlier window) are taken first, so that none lands between the
  // script and its frame.
  if (m_Options.gl && !TakeFirstWindowEvents(m_Problem)) {
    ADD_FAILURE() << m_Problem;
    return;
  }
  m_Ready = true;
}

ScreenScenario::~ScreenScenario() {
  m_Decoder.reset();
  if (Nembra::g_pBitmapFontFactory) {
    delete Nembra::g_pBitmapFontFactory;
    Nembra::g_pBitmapFontFactory = nullptr;
  }
  if (m_Engine->engineStarted) Nembra::ShutdownEngine();
  m_Engine->app.reset();
  EndScenario(m_Engine->gl);
}

FrameInput& ScreenScenario::Next() {
  if (m_Script.empty()) m_Script.emplace_back();
  return m_Script.front();
}

void ScreenScenario::Script(const std::vector<FrameInput>& frames) {
  m_Script.insert(m_Script.end(), frames.begin(), frames.end());
}

platform::headless::RecordingDevice* ScreenScenario::Device() const {
  return m_Options.gl ? nullptr : platform::headless::CurrentDevice();
}

void ScreenScenario::PumpMessages() {
  platform::MSG msg;
  while (platform::PeekMessage(&msg)) {
    if (msg.message == platform::WM_QUIT) continue;
    platform::DispatchMessage(&msg);
  }
}

void ScreenScenario::RunFrame(const std::function<void()>& body, const std::string& captureName) {
  if (!m_Ready) return;
  ApplyFrameInput(TakeNext(m_Script), m_Options.gl, m_Engine->app->GetWindow());
  PumpMessages();
  Nembra::g_pKeyboard->ReadState();
  Nembra::g_pMouse->ReadState();
  platform::headless::RecordingDevice* device = Device();
  const uint32_t factor = BeginFrame(++m_FrameNumber, m_Options.frameTime, m_Options.gl, device);
  if (Nembra::g_pGraphicsDevice->BeginScene()) {
    Nembra::g_pGraphicsDevice->Clear();
    if (body) body();
    if (!captureName.empty()) ReadAndKeep(captureName, m_Pixels);
    Nembra::g_pGraphicsDevice->Present();
  }
  platform::UpdateAudio();
  m_Last = device ? m_Decoder->Decode(*device, factor) : DecodedFrame();
}

void ScreenScenario::Frame(const std::function<void()>& body) { RunFrame(body, std::string()); }

void ScreenScenario::Run(int frames, const std::function<void()>& body) {
  for (int i = 0; i < frames; ++i) Frame(body);
}

bool ScreenScenario::RunUntil(const std::function<bool()>& done, int maxFrames, const std::function<void()>& body) {
  return FramesUntil([&] { return Frame(body), true; }, done, maxFrames);
}

void ScreenScenario::TwoPass(const std::function<void()>& images, const std::function<void()>& texts) {
  if (Nembra::g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    if (images) images();
    Nembra::g_pGraphicsDevice->EndSprite();
  }
  if (Nembra::g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    if (texts) texts();
    Nembra::g_pGraphicsDevice->EndSprite();
  }
}

bool ScreenScenario::CaptureFrame(const std::string& name, const std::function<void()>& body) {
  if (!m_Options.gl || !m_Ready) return false;
  RunFrame(body, name);
  return !m_Pixels.empty();
}

uint32_t ScreenScenario::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= kWidth || y >= kHeight || m_Pixels.size() != size_t(kWidth) * kHeight) return 0;
  return m_Pixels[size_t(y) * kWidth + size_t(x)];
}

}  // namespace scenario
