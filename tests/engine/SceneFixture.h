#pragma once
// A scene on the recording device: the device wrapper, the geometry-set
// registry and the scene manager as the engine makes them, with a camera
// made active. Tests read what reached the device through `device`.
#include <gtest/gtest.h>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/scene/Camera.h"
#include "engine/scene/GeometrySet.h"
#include "engine/scene/SceneManager.h"
#include "platform/HeadlessGraphics.h"
#include "platform/Window.h"

namespace scenetest {

class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::ResetGraphics();
    platform::RegisterWindowClass("SceneTest", &platform::DefWindowProc);
    m_Window = platform::CreateAppWindow("SceneTest", "scene", platform::WS_CAPTION, 0, 0, 800, 600);
    ASSERT_NE(m_Window, nullptr);
    ASSERT_TRUE(Nembra::InitializeEngine());
    ASSERT_NE(Nembra::g_pGraphicsDevice, nullptr);
    ASSERT_NE(Nembra::g_pSceneManager, nullptr);
    Nembra::APPLICATION_PARAMS params;
    params.bitsPerPixel = 32;
    ASSERT_TRUE(Nembra::g_pGraphicsDevice->Create(m_Window, params));
    device = platform::headless::CurrentDevice();
    ASSERT_NE(device, nullptr);
    Nembra::g_pSceneManager->AddTargetNode(&camera);
    Nembra::g_pSceneManager->SetCamera(&camera);
    device->ClearLog();
  }
  void TearDown() override {
    Nembra::ShutdownEngine();
    EXPECT_EQ(Nembra::g_pSceneManager, nullptr);
    EXPECT_EQ(Nembra::g_pGeometrySetRegistry, nullptr);
    if (m_Window) platform::DestroyWindow(m_Window);
    platform::UnregisterWindowClass("SceneTest");
  }
  // One frame as the game runs it: the scene update, then the render pass.
  void Frame() {
    Nembra::g_pSceneManager->Update();
    Nembra::g_pSceneManager->Render();
  }

  platform::headless::RecordingDevice* device = nullptr;
  Nembra::CCamera camera;

 private:
  platform::HWND m_Window = nullptr;
};

}  // namespace scenetest
