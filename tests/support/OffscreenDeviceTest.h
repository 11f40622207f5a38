#pragma once
// A fixture for image tests: an 800x600 GL device on an off-screen context
// (Mesa's software renderer in CI), cleared to black, whose back buffer is
// read back, kept as a PNG for a person to look at, and probed by pixel.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Graphics.h"
#include "support/TempDir.h"

namespace testsupport {

// Keeps a picture as test-images/<name>.png.
inline void KeepPicture(const std::string& name, const std::vector<uint32_t>& argb, uint32_t w, uint32_t h) {
  EXPECT_TRUE(SavePicture(name, argb, w, h));
}

class OffscreenDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    m_System = platform::CreateOffscreenGraphicsSystem(&why);
    if (!m_System) GTEST_SKIP() << "No OpenGL 3.3 context available (" << why << "): image test skipped";
    platform::D3DPRESENT_PARAMETERS pp;
    pp.BackBufferWidth = 800;
    pp.BackBufferHeight = 600;
    pp.BackBufferFormat = platform::D3DFMT_X8R8G8B8;
    pp.Windowed = 1;
    pp.EnableAutoDepthStencil = 1;
    pp.AutoDepthStencilFormat = platform::D3DFMT_D16;
    ASSERT_EQ(m_System->CreateDevice(nullptr, platform::D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &m_Device),
              platform::D3D_OK);
    ASSERT_EQ(m_Device->Clear(0, nullptr, platform::D3DCLEAR_TARGET | platform::D3DCLEAR_ZBUFFER, 0xFF000000u,
                              1.0f, 0),
              platform::D3D_OK);
  }
  void TearDown() override {
    if (m_Device) m_Device->Release();
    if (m_System) m_System->Release();
  }

  // Reads the back buffer and keeps it as test-images/<name>.png.
  void Capture(const std::string& name) {
    uint32_t w = 0, h = 0;
    ASSERT_TRUE(m_Device->ReadBackBuffer(m_Pixels, &w, &h));
    ASSERT_EQ(w, 800u);
    ASSERT_EQ(h, 600u);
    KeepPicture(name, m_Pixels, w, h);
  }
  uint32_t At(int x, int y) const { return m_Pixels[size_t(y) * 800 + size_t(x)]; }

  // Per-channel comparison of red, green and blue.
  static ::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance = 6) {
    for (int shift : {16, 8, 0}) {
      const int a = int((actual >> shift) & 255), e = int((expected >> shift) & 255);
      if (std::abs(a - e) > tolerance) {
        char text[96];
        std::snprintf(text, sizeof text, "pixel %08X, expected %08X (+-%d)", actual, expected, tolerance);
        return ::testing::AssertionFailure() << text;
      }
    }
    return ::testing::AssertionSuccess();
  }

  platform::IGraphicsSystem* m_System = nullptr;
  platform::IDevice* m_Device = nullptr;
  std::vector<uint32_t> m_Pixels;
};

}  // namespace testsupport
