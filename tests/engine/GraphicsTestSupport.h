#pragma once
// A device wrapper on the headless recording device, for engine tests.
#include <gtest/gtest.h>

#include "engine/app/GraphicsDevice.h"
#include "platform/HeadlessGraphics.h"
#include "platform/backends/WindowBackend.h"
#include "platform/backends/headless/Headless.h"

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

}  // namespace testsupport
