#include "support/GlSceneTest.h"

#include <cstdlib>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/resources/Factory.h"
#include "engine/scene/SceneManager.h"
#include "engine/sound/SoundDevice.h"
#include "platform/Files.h"
#include "platform/Window.h"

namespace testsupport {

namespace {
constexpr const char* WINDOW_CLASS = "GLSCENETEST";
}  // namespace

void GlSceneTest::UseDataFolder(const std::string& folder) {
  Nembra::SetDataDirectory(folder);
  if (!m_FoldersSet) {
    for (std::string* f : Nembra::ResourceDirectories()) m_SavedFolders.push_back(*f);
    m_FoldersSet = true;
  }
  for (std::string* f : Nembra::ResourceDirectories()) *f = folder;
  platform::ClearPathCache();
}

void GlSceneTest::SetUp() {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
    GTEST_SKIP() << "no display for a GL window (CI runs this under xvfb-run)";
  if (!platform::StartVideo()) GTEST_SKIP() << "the video system could not start";
  platform::RegisterWindowClass(WINDOW_CLASS, &platform::DefWindowProc);
  m_Window = platform::CreateAppWindow(WINDOW_CLASS, "picture", 0, 0, 0, 800, 600);
  if (!m_Window) GTEST_SKIP() << "no GL window could be opened";
  m_SavedData = Nembra::g_DataDirectory;
  Nembra::SetDataDirectory(m_Data.Path() + "/");
  PrepareData();
  if (HasFatalFailure()) return;
  platform::ClearPathCache();
  Nembra::InitializeEngine();
  Nembra::APPLICATION_PARAMS params;
  params.bitsPerPixel = 32;
  if (!Nembra::g_pGraphicsDevice || !Nembra::g_pGraphicsDevice->Create(m_Window, params))
    GTEST_SKIP() << "no GL 3.3 device on this display";
  m_Ready = true;
  EngineReady();
}

void GlSceneTest::TearDown() {
  if (m_Ready) {
    EngineClosing();
    Nembra::ShutdownEngine();
  }
  if (m_Window) platform::DestroyWindow(m_Window);
  platform::UnregisterWindowClass(WINDOW_CLASS);
  Nembra::SetDataDirectory(m_SavedData);
  if (m_FoldersSet)
    for (size_t i = 0; i < m_SavedFolders.size(); ++i) *Nembra::ResourceDirectories()[i] = m_SavedFolders[i];
  platform::ClearPathCache();
}

std::vector<uint32_t> GlSceneTest::Frame(const std::function<void()>& step) {
  if (step) step();
  Nembra::g_pGraphicsDevice->BeginScene();
  Nembra::g_pSceneManager->Update();
  Nembra::g_pSceneManager->Render();
  std::vector<uint32_t> argb;
  uint32_t w = 0, h = 0;
  EXPECT_TRUE(Nembra::g_pGraphicsDevice->GetDevice()->ReadBackBuffer(argb, &w, &h));
  EXPECT_EQ(w, 800u);
  EXPECT_EQ(h, 600u);
  Nembra::g_pGraphicsDevice->Present();
  argb.resize(800 * 600);
  return argb;
}

void GlSceneTest::Keep(const std::string& name, const std::vector<uint32_t>& argb) {
  EXPECT_TRUE(SavePicture(name, argb));
}

}  // namespace testsupport
