#include "game/actors/EntitySceneFixture.h"

#include <algorithm>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/util/Random.h"
#include "platform/Window.h"

namespace entitytest {

namespace {
platform::LRESULT Proc(platform::HWND w, platform::UINT m, platform::WPARAM wp, platform::LPARAM lp) {
  return platform::DefWindowProc(w, m, wp, lp);
}
}  // namespace

void EntitySceneTest::SetUp() {
  m_SavedDataDirectory = Nembra::g_DataDirectory;
  m_SavedFrameTime = Nembra::g_FrameTime;
  Nembra::SetDataDirectory(m_Data.Path() + "/");
  Nembra::g_FrameTime = FRAME_TIME;
  Nembra::SeedRandom(1);

  platform::headless::ResetGraphics();
  platform::RegisterWindowClass("EntityTest", Proc);
  m_Window = platform::CreateAppWindow("EntityTest", "entities", platform::WS_CAPTION, 0, 0, 800, 600);
  ASSERT_NE(m_Window, nullptr);
  ASSERT_TRUE(Nembra::InitializeEngine());
  Nembra::APPLICATION_PARAMS params;
  params.windowed = true;
  params.bitsPerPixel = 32;
  ASSERT_TRUE(Nembra::g_pGraphicsDevice->Create(m_Window, params));
  device = platform::headless::CurrentDevice();
  ASSERT_NE(device, nullptr);
  camera.SetAspect(800.0f / 600.0f);
  camera.SetPosition(0.0f, -1500.0f, 600.0f);
  camera.GetTarget().SetPosition(0.0f, 0.0f, 0.0f);
  Nembra::g_pSceneManager->AddTargetNode(&camera);
  Nembra::g_pSceneManager->SetCamera(&camera);
  device->ClearLog();
}

void EntitySceneTest::TearDown() {
  Nembra::ShutdownEngine();
  if (m_Window) platform::DestroyWindow(m_Window);
  platform::UnregisterWindowClass("EntityTest");
  Nembra::SetDataDirectory(m_SavedDataDirectory);
  Nembra::g_FrameTime = m_SavedFrameTime;
}

bool IsListedUnder(const Nembra::CSceneNode& node, const Nembra::CSceneNode* parent) {
  if (!parent) return false;
  const auto& children = parent->GetChildren();
  return std::find(children.begin(), children.end(), &node) != children.end();
}

}  // namespace entitytest
