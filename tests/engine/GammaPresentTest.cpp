// The engine's own gamma ramps as the OpenGL device shows them: the display
// takes the high byte of each entry. Off-screen GL (Mesa's software renderer
// in CI); skipped without it.
#include <gtest/gtest.h>

#include <vector>

#include "engine/app/GraphicsDevice.h"
#include "platform/Graphics.h"
#include "support/OffscreenDeviceTest.h"

using namespace platform;
using Nembra::CGraphicsDevice;

namespace {

class GammaPresentTest : public testsupport::OffscreenDeviceTest {
 protected:
  // Presents a back buffer of three grey levels through the engine's ramp
  // for gamma and returns what the screen shows of each.
  std::vector<uint32_t> Shown(float gamma) {
    const D3DCOLOR levels[3] = {0xFFFFFFFFu, 0xFF404040u, 0xFF000000u};
    for (int i = 0; i < 3; ++i) {
      const RECT band{i * 200, 0, i * 200 + 200, 600};
      m_Device->Clear(1, &band, D3DCLEAR_TARGET, levels[i], 1.0f, 0);
    }
    D3DGAMMARAMP ramp;
    CGraphicsDevice::BuildGammaRamp(gamma, &ramp);
    m_Device->SetGammaRamp(0, D3DSGR_NO_CALIBRATION, &ramp);
    EXPECT_EQ(m_Device->Present(), D3D_OK);
    std::vector<uint32_t> screen;
    uint32_t w = 0, h = 0;
    EXPECT_TRUE(ReadPresentedImage(m_Device, screen, &w, &h));
    if (w != 800 || h != 600) return {};
    return {screen[300 * 800 + 100], screen[300 * 800 + 300], screen[300 * 800 + 500]};
  }
};

TEST_F(GammaPresentTest, TheEnginesRampsShowWhatTheirHighBytesSay) {
  // At 1.0 every level stays as it is: white stays 255.
  std::vector<uint32_t> shown = Shown(1.0f);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_TRUE(Near(shown[0], 0xFFFFFFFFu, 0));
  EXPECT_TRUE(Near(shown[1], 0xFF404040u, 0));
  EXPECT_TRUE(Near(shown[2], 0xFF000000u, 0));
  // At 1.5 each entry is raised by 32768: 0x40 becomes 0x40 + 0x80.
  shown = Shown(1.5f);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_TRUE(Near(shown[0], 0xFFFFFFFFu, 0));
  EXPECT_TRUE(Near(shown[1], 0xFFC0C0C0u, 0));
  EXPECT_TRUE(Near(shown[2], 0xFF808080u, 0));
  // At 0.75 the low levels go to black.
  shown = Shown(0.75f);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_TRUE(Near(shown[0], 0xFFBFBFBFu, 0));
  EXPECT_TRUE(Near(shown[1], 0xFF000000u, 0));
}

}  // namespace
