// Image test of energy souls on the real GL device (Mesa's software
// renderer under Xvfb in CI): a red and a blue soul over a grey clear
// colour, seen as they begin to fade in and once the fade-in is over. The
// pictures are kept under the test-image folder; pixel probes check that
// each soul adds its colour to what lies behind it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneManager.h"
#include "game/actors/Energy.h"
#include "platform/Image.h"
#include "platform/Platform.h"
#include "platform/Window.h"
#include "support/GlSceneTest.h"
#include "tools/formats/GraphicsFiles.h"

using namespace Nembra;

namespace {

constexpr uint32_t GREY = 0x50;

// A soft round glow: full colour, alpha falling from the centre outwards.
std::string GlowTga(uint32_t red, uint32_t green, uint32_t blue) {
  formats::TestPicture picture(32, 32);
  const float c = 15.5f;
  for (uint32_t y = 0; y < 32; ++y)
    for (uint32_t x = 0; x < 32; ++x) {
      const float d = std::hypot(x - c, y - c) / c;
      const uint32_t a = d >= 1.0f ? 0u : static_cast<uint32_t>((1.0f - d) * 255.0f);
      picture.At(x, y) = (a << 24) | (red << 16) | (green << 8) | blue;
    }
  return formats::TgaBytes(picture, true);
}

uint32_t Channel(uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

class SoulImage : public testsupport::GlSceneTest {
 protected:
  void PrepareData() override {
    Data().Write("Materials/RedSoul.tga", GlowTga(255, 40, 40));
    Data().Write("Materials/BlueSoul.tga", GlowTga(40, 60, 255));
  }
  // One frame of the souls' steps.
  std::vector<uint32_t> Frame(std::initializer_list<CEnergy*> souls) {
    return GlSceneTest::Frame([&] {
      for (CEnergy* soul : souls) soul->Step();
    });
  }
};

}  // namespace

TEST_F(SoulImage, RedAndBlueSoulsGlowOverTheFloorOnceFadedIn) {
  const float savedFrameTime = g_FrameTime;
  g_FrameTime = 0.02f;
  CCamera camera;
  camera.SetAspect(800.0f / 600.0f);
  camera.SetPosition(0.0f, -800.0f, 300.0f);
  camera.GetTarget().SetPosition(0.0f, 0.0f, 60.0f);
  g_pSceneManager->AddTargetNode(&camera);
  g_pSceneManager->SetCamera(&camera);
  g_pGraphicsDevice->SetClearColor(GREY / 255.0f, GREY / 255.0f, GREY / 255.0f, 1.0f);

  CEnergy red, blue;
  red.Init(0, -180.0f, 0.0f, 0.0f, 10);
  blue.Init(1, 180.0f, 0.0f, 0.0f, 10);
  red.Show();
  blue.Show();

  const std::vector<uint32_t> first = Frame({&red, &blue});
  Keep("soul_fading_in", first);
  std::vector<uint32_t> last;
  for (int i = 0; i < 30; ++i) last = Frame({&red, &blue});
  EXPECT_FALSE(red.IsFadingIn());
  EXPECT_FALSE(blue.IsFadingIn());
  Keep("souls_red_blue", last);

  // Where each billboard's centre lands on the screen.
  D3DXMATRIX viewProjection;
  D3DXMatrixMultiply(&viewProjection, &camera.GetView(), &camera.GetProjection());
  const auto pixel = [&](const std::vector<uint32_t>& argb, CEnergy& soul) {
    const D3DXMATRIX& m = soul.GetBillboard().GetStoredWorldMatrix();
    const D3DXVECTOR3 centre(m._41, m._42, m._43);
    D3DXVECTOR4 clip;
    D3DXVec3Transform(&clip, &centre, &viewProjection);
    const int x = std::clamp(int((clip.x / clip.w + 1.0f) * 400.0f), 0, 799);
    const int y = std::clamp(int((1.0f - clip.y / clip.w) * 300.0f), 0, 599);
    return argb[size_t(y) * 800 + size_t(x)];
  };

  // Faded in, each soul adds its colour to the grey behind it.
  const uint32_t redCentre = pixel(last, red), blueCentre = pixel(last, blue);
  EXPECT_GT(Channel(redCentre, 16), GREY + 120) << std::hex << redCentre;
  EXPECT_GT(Channel(redCentre, 16), Channel(redCentre, 0) + 80) << std::hex << redCentre;
  EXPECT_GE(Channel(redCentre, 0), GREY - 2) << std::hex << redCentre;  // added, not blended over
  EXPECT_GT(Channel(blueCentre, 0), GREY + 120) << std::hex << blueCentre;
  EXPECT_GT(Channel(blueCentre, 0), Channel(blueCentre, 16) + 80) << std::hex << blueCentre;
  EXPECT_GE(Channel(blueCentre, 16), GREY - 2) << std::hex << blueCentre;
  // At the first frame the fade has barely begun.
  EXPECT_LT(Channel(pixel(first, red), 16), GREY + 40) << std::hex << pixel(first, red);
  EXPECT_LT(Channel(pixel(first, blue), 0), GREY + 40) << std::hex << pixel(first, blue);
  // Between and around the souls the floor stays grey.
  for (const uint32_t corner : {last[5 * 800 + 5], last[595 * 800 + 795], last[300 * 800 + 400]}) {
    EXPECT_NEAR(int(Channel(corner, 16)), int(GREY), 2) << std::hex << corner;
    EXPECT_NEAR(int(Channel(corner, 0)), int(GREY), 2) << std::hex << corner;
  }

  red.RemoveFromScene();
  blue.RemoveFromScene();
  g_pSceneManager->SetCamera(nullptr);
  g_FrameTime = savedFrameTime;
}

int main(int argc, char** argv) {
  platform::SetBackend(platform::Backend::SdlGl);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
