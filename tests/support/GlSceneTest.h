#pragma once
// A test on the real OpenGL device in an 800x600 window: the engine started
// over a data folder the test chooses, frames drawn and read back, pictures
// kept under the test-image folder. Skips (not passes) without a display or
// GL 3.3.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/Window.h"
#include "support/TempDir.h"

namespace testsupport {

class GlSceneTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Before the engine starts: write the test's files into Data() or point
  // the resource folders elsewhere with UseDataFolder. Default: Data().
  virtual void PrepareData() {}
  // After the device exists, and before the engine stops.
  virtual void EngineReady() {}
  virtual void EngineClosing() {}

  // Every resource folder (meshes, textures, materials, state blocks and
  // sounds) points at the folder ('/'-terminated); restored at the end.
  void UseDataFolder(const std::string& folder);

  // One frame: the step, the scene's update and render; the back buffer is
  // read before it is shown (800 x 600 ARGB, row by row from the top).
  std::vector<uint32_t> Frame(const std::function<void()>& step = {});
  // Keeps a picture as <name>.png under the test-image folder.
  static void Keep(const std::string& name, const std::vector<uint32_t>& argb);

  const TempDir& Data() const { return m_Data; }
  bool Ready() const { return m_Ready; }

 private:
  platform::HWND m_Window = nullptr;
  bool m_Ready = false;
  bool m_FoldersSet = false;
  TempDir m_Data;
  std::string m_SavedData;
  std::vector<std::string> m_SavedFolders;
};

}  // namespace testsupport
