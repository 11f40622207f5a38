// Particles and a beam on the GL device, drawn through the frame's render
// pass: an additive point burst, a line-strip emitter and a camera-facing beam.
#include <cmath>
#include <cstdlib>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/effects/Beam.h"
#include "engine/particles/ParticleEmitter.h"
#include "engine/particles/RandomTable.h"
#include "engine/resources/Shader.h"
#include "engine/resources/Texture.h"
#include "engine/scene/GeometrySet.h"
#include "engine/scene/SceneManager.h"
#include "engine/util/Random.h"
#include "image/PictureProbe.h"
#include "platform/Image.h"
#include "platform/Window.h"
#include "support/TempDir.h"

using namespace Nembra;
using namespace platform;
using namespace imagetest;

namespace {

Image SoftDot(uint32_t size) {
  Image image;
  image.width = image.height = size;
  image.format = D3DFMT_A8R8G8B8;
  image.argb.resize(size * size);
  const float c = (size - 1) * 0.5f;
  for (uint32_t y = 0; y < size; ++y)
    for (uint32_t x = 0; x < size; ++x) {
      const float d = std::hypot(x - c, y - c) / c;
      const float a = d >= 1.0f ? 0.0f : 1.0f - d;
      image.argb[y * size + x] = D3DCOLOR_ARGB(static_cast<uint32_t>(a * 255.0f), 255, 255, 255);
    }
  return image;
}

Image Solid(uint32_t argb) {
  Image image;
  image.width = image.height = 4;
  image.format = D3DFMT_A8R8G8B8;
  image.argb.assign(16, argb);
  return image;
}

class FxImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
      GTEST_SKIP() << "no display for a GL window (CI runs this under xvfb-run)";
    if (!StartVideo()) GTEST_SKIP() << "the video system could not start";
    RegisterWindowClass("FXIMAGE", &DefWindowProc);
    m_Window = CreateAppWindow("FXIMAGE", "fx image", 0, 0, 0, 800, 600);
    if (!m_Window) GTEST_SKIP() << "no GL window could be opened";
    InitializeEngine();
    APPLICATION_PARAMS params;
    params.bitsPerPixel = 32;
    if (!g_pGraphicsDevice || !g_pGraphicsDevice->Create(m_Window, params))
      GTEST_SKIP() << "no GL 3.3 device on this display";
    m_Ready = true;
  }
  void TearDown() override {
    if (m_Ready) ShutdownEngine();
    if (m_Window) DestroyWindow(m_Window);
    UnregisterWindowClass("FXIMAGE");
  }
  HWND m_Window = nullptr;
  bool m_Ready = false;
};

}  // namespace

TEST_F(FxImageTest, AdditiveBurstLineStripAndBeam) {
  testsupport::TempDir dir;
  ASSERT_TRUE(SavePng(dir.File("Soft.png"), SoftDot(32)));
  ASSERT_TRUE(SavePng(dir.File("Red.png"), Solid(0xFFFF2020u)));
  const std::string oldTextures = g_TextureDirectory;
  g_TextureDirectory = dir.Path() + "/";
  SeedRandom(1);
  g_ParticleRandom.Init(PARTICLE_RANDOM_COUNT, -1.0f, 1.0f);

  CSceneManager* scene = g_pSceneManager;
  ASSERT_NE(scene, nullptr);
  CCamera camera;
  camera.SetAspect(800.0f / 600.0f);
  camera.SetPosition(0, -400, 60);
  camera.GetTarget().SetPosition(0, 0, 60);
  scene->SetCamera(&camera);
  camera.UpdateWorldMatrix();
  camera.GetTarget().UpdateWorldMatrix();
  camera.OnUpdate();
  camera.Apply();

  // An additive burst of orange dots.
  CTexture* soft = g_pTextureFactory->Get("Soft.png");
  CShader* additive = g_pShaderFactory->Get("AUTO_EFECTOIMAGEBURST");
  additive->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  additive->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  additive->SetRenderState(D3DRS_LIGHTING, 0);
  additive->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  additive->SetRenderState(D3DRS_ZWRITEENABLE, 0);
  additive->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  additive->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  EMITTER_PARAMS burst;
  burst.stateBlock = additive;
  burst.textureSet.Resize(1);
  burst.textureSet.SetTexture(0, soft);
  burst.directed = 0;
  burst.initialBurst = 400;
  burst.emissionRate = 0.0f;
  burst.maxParticles = 400;
  burst.life = 5.0f;
  burst.speed = 60.0f;
  burst.speedVariation = 30.0f;
  burst.acceleration[0] = burst.acceleration[1] = burst.acceleration[2] = 0.0f;
  const float orange[4] = {1.0f, 0.5f, 0.1f, 0.6f};
  for (int i = 0; i < 4; ++i) burst.startColor[i] = burst.endColor[i] = orange[i];
  burst.startSize = burst.endSize = 14.0f;
  CPointParticleEmitter burstEmitter;
  burstEmitter.SetParams(burst);
  burstEmitter.SetPosition(-120, 0, 60);

  // Cyan dots along a bent strip.
  CShader* blended = g_pShaderFactory->Get("AUTO_EFECTOIMAGESTRIP");
  *blended = *g_pShaderFactory->GetDefaultTransparent();
  blended->SetRenderState(D3DRS_LIGHTING, 0);
  blended->SetRenderState(D3DRS_ZWRITEENABLE, 0);
  LINE_STRIP_EMITTER_PARAMS strip;
  static_cast<EMITTER_PARAMS&>(strip) = burst;
  strip.stateBlock = blended;
  strip.directed = 1;
  strip.speed = 0.0f;
  strip.speedVariation = 0.0f;
  const float cyan[4] = {0.1f, 1.0f, 1.0f, 1.0f};
  for (int i = 0; i < 4; ++i) strip.startColor[i] = strip.endColor[i] = cyan[i];
  strip.startSize = strip.endSize = 8.0f;
  strip.points = {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(60, 0, 100), D3DXVECTOR3(120, 0, 0)};
  CLineStripParticleEmitter stripEmitter;
  stripEmitter.SetParams(strip);
  stripEmitter.SetPosition(40, 0, 0);

  // A red beam facing the camera, across the top.
  CBeam beam;
  beam.SetPosition(150, 0, 150);
  beam.Create("Red.png", 300.0f, 12.0f, D3DXVECTOR3(1, 0, 0), true);

  g_FrameTime = 0.5f;
  for (CSceneNode* node : {static_cast<CSceneNode*>(&burstEmitter), static_cast<CSceneNode*>(&stripEmitter),
                           static_cast<CSceneNode*>(&beam)}) {
    node->UpdateWorldMatrix();
    node->OnUpdate();
  }
  g_pGraphicsDevice->SetClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  ASSERT_TRUE(g_pGraphicsDevice->BeginScene());
  g_pGeometrySetRegistry->RenderBatches();
  std::vector<uint32_t> pixels;
  uint32_t width = 0, height = 0;
  ASSERT_TRUE(g_pGraphicsDevice->GetDevice()->ReadBackBuffer(pixels, &width, &height));
  g_pGraphicsDevice->Present();
  ASSERT_EQ(width, 800u);
  ASSERT_EQ(height, 600u);
  Image shot;
  shot.width = width;
  shot.height = height;
  shot.argb = pixels;
  shot.format = D3DFMT_X8R8G8B8;
  EXPECT_TRUE(SavePng(testsupport::TestImageDir() + "/fx_burst_strip_beam.png", shot, true));

  const auto pixel = [&](const D3DXVECTOR3& p) { return uint32_t(PixelOf(pixels, camera, p)); };
  // The burst's centre: many orange dots added up, red saturating over blue.
  const uint32_t centre = pixel(D3DXVECTOR3(-120, 0, 60));
  EXPECT_GT(R(centre), 200);
  EXPECT_GT(R(centre), B(centre) + 40);
  // Added up, the dots' green passes their own half green (127.5), which blending never does.
  EXPECT_GT(G(centre), 132) << std::hex << centre;
  // The strip's apex is cyan.
  const uint32_t apex = pixel(D3DXVECTOR3(100, 0, 100));
  EXPECT_GT(G(apex), 120);
  EXPECT_GT(B(apex), 120);
  EXPECT_LT(R(apex), 80);
  // The beam's middle is red; a corner of the frame stays black.
  const uint32_t beamMiddle = pixel(D3DXVECTOR3(0, 0, 150));
  EXPECT_GT(R(beamMiddle), 150);
  EXPECT_LT(G(beamMiddle), 80);
  EXPECT_EQ(shot.Pixel(5, 595) & 0xFFFFFFu, 0u);

  scene->SetCamera(nullptr);
  g_pTextureFactory->Release("Soft.png");
  g_pShaderFactory->Release("AUTO_EFECTOIMAGEBURST");
  g_pShaderFactory->Release("AUTO_EFECTOIMAGESTRIP");
  g_TextureDirectory = oldTextures;
}

int main(int argc, char** argv) { return imagetest::RunOnGl(argc, argv); }
