#pragma once
// A device wrapper on the headless recording device, for engine tests.
#include <gtest/gtest.h>

#include <string>

#include "engine/app/GraphicsDevice.h"
#include "platform/HeadlessGraphics.h"
#include "platform/backends/WindowBackend.h"
#include "platform/Files.h"
#include "platform/backends/headless/Headless.h"
#include "support/TempDir.h"

namespace testsupport {

class HeadlessGraphicsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::ResetGraphics();
    platform::headless::ResetEvents();
    m_Wrapper = new Nembra::CGraphicsDevice();
    Nembra::g_pGraphicsDevice = m_Wrapper;
  }
  void TearDown() override {
    delete m_Wrapper;  // clears the global
    Nembra::g_pGraphicsDevice = nullptr;
    platform::headless::ResetGraphics();
  }
  // Creates the device on a stand-in window; windowed 800x600 unless changed.
  bool Create(bool windowed = true, uint8_t bits = 32, bool depth = true) {
    Nembra::APPLICATION_PARAMS params;
    params.windowed = windowed;
    params.bitsPerPixel = bits;
    params.depthBuffer = depth;
    return m_Wrapper->Create(&m_Window, params);
  }
  platform::headless::RecordingDevice* Device() { return platform::headless::CurrentDevice(); }
  platform::WindowObject m_Window;
  Nembra::CGraphicsDevice* m_Wrapper = nullptr;
};

// A created device and a factory of the test's own, reading `*folder`, which
// points at the "Materials" folder of a temporary data folder meanwhile.
template <class Factory>
class FactoryFolderTest : public HeadlessGraphicsTest {
 protected:
  explicit FactoryFolderTest(std::string* folder) : m_Folder(folder) {}
  void SetUp() override {
    HeadlessGraphicsTest::SetUp();
    ASSERT_TRUE(Create());
    m_Saved = *m_Folder;
    *m_Folder = m_Dir.Path() + "/Materials/";
    m_Factory = new Factory();
  }
  void TearDown() override {
    delete m_Factory;
    *m_Folder = m_Saved;
    platform::ClearPathCache();
    HeadlessGraphicsTest::TearDown();
  }
  // Writes NAME into the folder; returns its path.
  std::string WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = m_Dir.Write("Materials/" + name, bytes);
    platform::ClearPathCache();
    return path;
  }

  TempDir m_Dir;
  std::string* m_Folder;
  std::string m_Saved;
  Factory* m_Factory = nullptr;
};

}  // namespace testsupport
