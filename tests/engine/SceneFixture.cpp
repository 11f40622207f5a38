#include "SceneFixture.h"

#include "engine/app/Engine.h"
#include "platform/Window.h"

namespace scenetest {

namespace {
platform::LRESULT Proc(platform::HWND w, platform::UINT m, platform::WPARAM wp, platform::LPARAM lp) {
  return platform::DefWindowProc(w, m, wp, lp);
}
}  // namespace

void SceneTest::SetUp() {
  platform::headless::ResetGraphics();
  platform::RegisterWindowClass("SceneTest", Proc);
  m_Window = platform::CreateAppWindow("SceneTest", "scene", platform::WS_CAPTION, 0, 0, 800, 600);
  ASSERT_NE(m_Window, nullptr);
  ASSERT_TRUE(Nembra::InitializeEngine());
  ASSERT_NE(Nembra::g_pGraphicsDevice, nullptr);
  ASSERT_NE(Nembra::g_pSceneManager, nullptr);
  Nembra::APPLICATION_PARAMS params;
  params.windowed = true;
  params.bitsPerPixel = 32;
  ASSERT_TRUE(Nembra::g_pGraphicsDevice->Create(m_Window, params));
  device = platform::headless::CurrentDevice();
  ASSERT_NE(device, nullptr);
  Nembra::g_pSceneManager->AddTargetNode(&camera);
  Nembra::g_pSceneManager->SetCamera(&camera);
  device->ClearLog();
}

void SceneTest::TearDown() {
  Nembra::ShutdownEngine();
  EXPECT_EQ(Nembra::g_pSceneManager, nullptr);
  EXPECT_EQ(Nembra::g_pGeometrySetRegistry, nullptr);
  if (m_Window) platform::DestroyWindow(m_Window);
  platform::UnregisterWindowClass("SceneTest");
}

}  // namespace scenetest
