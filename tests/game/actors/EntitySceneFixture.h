#pragma once
// A headless engine for entity tests: the recording device, the factories
// and the scene manager as the engine makes them, a camera looking at the
// origin from the side, a fixed frame time of 0.02 s and seed 1, and a
// data folder of its own that tests may write files into.
#include <gtest/gtest.h>

#include <string>

#include "engine/scene/Camera.h"
#include "engine/scene/SceneManager.h"
#include "platform/HeadlessGraphics.h"
#include "support/TempDir.h"

namespace entitytest {

class EntitySceneTest : public ::testing::Test {
 protected:
  static constexpr float FRAME_TIME = 0.02f;

  void SetUp() override;
  void TearDown() override;

  // One frame of the scene: the update pass, then the render pass.
  void Frame() {
    Nembra::g_pSceneManager->Update();
    Nembra::g_pSceneManager->Render();
    device->ClearLog();
  }
  Nembra::CSceneNode* Root() const { return Nembra::g_pSceneManager->GetRoot(); }
  // Writes a file under the fixture's data folder ("Materials/X.tga").
  void WriteData(const std::string& name, const std::string& bytes) { m_Data.Write(name, bytes); }
  platform::HWND Window() const { return m_Window; }

  platform::headless::RecordingDevice* device = nullptr;
  Nembra::CCamera camera;

 private:
  testsupport::TempDir m_Data;
  std::string m_SavedDataDirectory;
  float m_SavedFrameTime = 0.0f;
  platform::HWND m_Window = nullptr;
};

// Whether the node is in its parent's child list.
bool IsListedUnder(const Nembra::CSceneNode& node, const Nembra::CSceneNode* parent);

}  // namespace entitytest
