#pragma once
// A scene on the recording device: the device wrapper, the geometry-set
// registry and the scene manager as the engine makes them, with a camera
// made active. Tests read what reached the device through `device`.
#include <gtest/gtest.h>

#include "engine/app/GraphicsDevice.h"
#include "engine/scene/Camera.h"
#include "engine/scene/GeometrySet.h"
#include "engine/scene/SceneManager.h"
#include "platform/HeadlessGraphics.h"

namespace scenetest {

class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
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
