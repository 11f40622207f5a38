// A red and a blue energy soul over grey on the GL device, as they begin to
// fade in and once faded in: each adds its colour to what lies behind it.
#include <cmath>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/scene/SceneManager.h"
#include "game/actors/Energy.h"
#include "image/PictureProbe.h"
#include "support/GlSceneTest.h"
#include "tools/formats/GraphicsFiles.h"

using namespace Nembra;
using namespace imagetest;

namespace {

constexpr int GREY = 0x50;

// A soft round glow: full colour, alpha falling from the centre outwards.
std::string GlowTga(uint32_t red, uint32_t green, uint32_t blue) {
  formats::TestPicture picture(32, 32);
  for (uint32_t y = 0; y < 32; ++y)
    for (uint32_t x = 0; x < 32; ++x) {
      const float d = std::hypot(x - 15.5f, y - 15.5f) / 15.5f;
      const uint32_t a = d >= 1.0f ? 0u : static_cast<uint32_t>((1.0f - d) * 255.0f);
      picture.At(x, y) = (a << 24) | (red << 16) | (green << 8) | blue;
    }
  return formats::TgaBytes(picture, true);
}

class SoulImage : public testsupport::GlSceneTest {
 protected:
  void PrepareData() override {
    Data().Write("Materials/RedSoul.tga", GlowTga(255, 40, 40));
    Data().Write("Materials/BlueSoul.tga", GlowTga(40, 60, 255));
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
  const auto step = [&] {
    red.Step();
    blue.Step();
  };
  const std::vector<uint32_t> first = Frame(step);
  Keep("soul_fading_in", first);
  std::vector<uint32_t> last;
  for (int i = 0; i < 30; ++i) last = Frame(step);
  Keep("souls_red_blue", last);

  // The pixel under each billboard's centre.
  const auto pixel = [&](const std::vector<uint32_t>& argb, CEnergy& soul) {
    const D3DXMATRIX& m = soul.GetBillboard().GetStoredWorldMatrix();
    return PixelOf(argb, camera, D3DXVECTOR3(m._41, m._42, m._43));
  };
  // Faded in, each soul adds its colour to the grey behind it (added, not blended over).
  const uint32_t r = pixel(last, red), b = pixel(last, blue);
  EXPECT_GT(R(r), GREY + 120) << std::hex << r;
  EXPECT_GT(R(r), B(r) + 80) << std::hex << r;
  EXPECT_GE(B(r), GREY - 2) << std::hex << r;
  EXPECT_GT(B(b), GREY + 120) << std::hex << b;
  EXPECT_GT(B(b), R(b) + 80) << std::hex << b;
  EXPECT_GE(R(b), GREY - 2) << std::hex << b;
  // At the first frame the fade has barely begun.
  EXPECT_LT(R(pixel(first, red)), GREY + 40);
  EXPECT_LT(B(pixel(first, blue)), GREY + 40);
  // Between and around the souls the floor stays grey.
  for (const uint32_t c : {last[5 * 800 + 5], last[595 * 800 + 795], last[300 * 800 + 400]}) {
    EXPECT_NEAR(R(c), GREY, 2) << std::hex << c;
    EXPECT_NEAR(B(c), GREY, 2) << std::hex << c;
  }
  red.RemoveFromScene();
  blue.RemoveFromScene();
  g_pSceneManager->SetCamera(nullptr);
  g_FrameTime = savedFrameTime;
}

int main(int argc, char** argv) { return imagetest::RunOnGl(argc, argv); }
