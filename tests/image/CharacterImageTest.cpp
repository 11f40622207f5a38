// The generated characters and effects on the GL device: every figure caught
// mid-set in a grid on grey, the wave rings and shot strips seen from above,
// and an additive point burst, a line-strip emitter and a camera-facing beam.
#include <cmath>
#include <memory>
#include <string>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/effects/Beam.h"
#include "engine/particles/ParticleEmitter.h"
#include "engine/particles/RandomTable.h"
#include "engine/resources/Mesh.h"
#include "engine/resources/Shader.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/resources/Texture.h"
#include "engine/scene/Animated3DSprite.h"
#include "engine/scene/GeometrySet.h"
#include "engine/scene/Light.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/StaticSprite.h"
#include "engine/util/Random.h"
#include "image/PictureProbe.h"
#include "platform/Image.h"
#include "support/GlSceneTest.h"

using namespace Nembra;
using namespace imagetest;

namespace {

constexpr int GREY = 0x50;

struct Figure {
  const char* file;
  const char* set;
  bool loop;
  float seconds;
  int tint;  // the channel that leads: 16 red, 8 green, 0 blue
};
const Figure FIGURES[] = {
    {"Player.X", "CorrerAdelante", true, 0.18f, 8},          {"Ene1CompletoRojo.X", "Ene1Golpe1", false, 0.15f, 16},
    {"Ene1CompletoAzul.X", "Ene1CaminarAdelante", true, 0.2f, 0}, {"Ene7CompletoRojo.X", "Ene1Golpe2", false, 0.25f, 16},
    {"Ene7CompletoAzul.X", "Ene1Reposo", true, 0.5f, 0},     {"Ene2CompletoRojo.X", "Ene2Golpe1", true, 0.2f, 16},
    {"Ene2CompletoAzul.X", "Ene2DesMutarCapullo", false, 0.5f, 0}, {"Ene3CompletoRojo.X", "Ene3Golpe1", false, 0.15f, 16},
    {"Ene3CompletoAzul.X", "Ene3CaminarAdelante", true, 0.3f, 0}, {"Ene8CompletoRojo.X", "Ene8Golpe1", false, 0.2f, 16},
    {"Ene8CompletoAzul.X", "Ene8CaminarAdelante", true, 0.15f, 0}, {"Ene6CompletoRojo.X", "Ene6GolpeEscupir", false, 0.25f, 16},
    {"Ene6CompletoAzul.X", "Ene6CaminarAdelante", true, 0.2f, 0}, {"IntermedioCompletoRojo.X", "Habilidad", false, 2.0f, 16},
    {"IntermedioCompletoAzul.X", "DisparoDerecho", false, 0.625f, 0}, {"FinalCompletoRojo.X", "Bola", false, 0.3f, 16},
    {"FinalCompletoAzul.X", "Laser", false, 0.1f, 0},        {"Splat.X", "Spread", false, 0.6f, 8},
    {"Player.X", "Muerte", false, 1.5f, 8},
};
constexpr int COLUMNS = 5;

D3DXVECTOR3 Place(int i) {
  const int row = i / COLUMNS, column = i % COLUMNS;
  return D3DXVECTOR3((column - (COLUMNS - 1) * 0.5f) * (330.0f + row * 45.0f), row * 420.0f - 350.0f, 0.0f);
}

class CharacterImage : public testsupport::GlSceneTest {
 protected:
  void PrepareData() override { UseDataFolder(std::string(KARVESSA_DEMO_DATA_DIR) + "/"); }
  void Look(float y, float z, float targetY) {
    camera.SetAspect(800.0f / 600.0f);
    camera.SetPosition(0.0f, y, z);
    camera.GetTarget().SetPosition(0.0f, targetY, 0.0f);
    g_pSceneManager->AddTargetNode(&camera);
    g_pSceneManager->SetCamera(&camera);
    g_pGraphicsDevice->SetClearColor(GREY / 255.0f, GREY / 255.0f, GREY / 255.0f, 1.0f);
  }
  void TearDown() override {
    if (Ready()) g_pSceneManager->SetCamera(nullptr);
    GlSceneTest::TearDown();
  }
  CCamera camera;
};

platform::Image SoftDot(uint32_t size) {
  platform::Image image;
  image.width = image.height = size;
  image.format = platform::D3DFMT_A8R8G8B8;
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

platform::Image Solid(uint32_t argb) {
  platform::Image image;
  image.width = image.height = 4;
  image.format = platform::D3DFMT_A8R8G8B8;
  image.argb.assign(16, argb);
  return image;
}

// Particles and a beam drawn through the frame's render pass, over their own textures.
class FxImageTest : public testsupport::GlSceneTest {
 protected:
  void PrepareData() override {
    std::vector<uint8_t> png;
    ASSERT_TRUE(platform::EncodePng(SoftDot(32), png));
    Data().Write("Materials/Soft.png", png);
    ASSERT_TRUE(platform::EncodePng(Solid(0xFFFF2020u), png));
    Data().Write("Materials/Red.png", png);
  }
};

}  // namespace

TEST_F(CharacterImage, EveryFigureDrawnMidAnimationInItsColour) {
  const float savedFrameTime = g_FrameTime;
  Look(-1350.0f, 1900.0f, 280.0f);
  g_pShaderFactory->GetDefault()->SetRenderState(platform::D3DRS_AMBIENT, 0xFF303030u);
  CPointLight* light = g_pSceneManager->CreatePointLight();
  light->SetPosition(-800, -2500, 2500);
  light->SetRange(100000);
  light->SetAttenuation(1.0f, 0.0f, 0.0f);
  light->SetDiffuseColor(D3DXCOLOR(1, 1, 1, 1));
  light->Commit();

  const int count = int(sizeof FIGURES / sizeof FIGURES[0]);
  std::vector<std::unique_ptr<CAnimated3DSprite>> sprites;
  for (int i = 0; i < count; ++i) {
    CSkinnedMesh* mesh = g_pSkinnedMeshFactory->Get(FIGURES[i].file);
    ASSERT_NE(mesh, g_pSkinnedMeshFactory->GetDefault()) << FIGURES[i].file;
    sprites.push_back(std::make_unique<CAnimated3DSprite>());
    sprites[i]->SetMesh(mesh);
    sprites[i]->SetAnimation(FIGURES[i].set, FIGURES[i].loop);
    sprites[i]->SetPosition(Place(i));
    sprites[i]->SetRotationZ(-D3DX_PI / 2 + 0.5f);
    if (std::string(FIGURES[i].file).rfind("Final", 0) == 0) sprites[i]->SetScale(0.8f);
    g_pSceneManager->AddNode(sprites[i].get());
  }
  // Each figure moves on by its own time before the first frame; the frames advance nothing.
  std::vector<uint32_t> argb;
  for (int frame = 0; frame < 2; ++frame)
    argb = Frame([&] {
      for (int i = 0; i < count; ++i) {
        g_FrameTime = frame == 0 ? FIGURES[i].seconds : 0.0f;
        sprites[i]->UpdateTime();
        sprites[i]->Advance();
      }
      g_FrameTime = 0.0f;
    });
  Keep("characters_contact_sheet", argb);

  // About each figure: pixels off the background, some led by the figure's colour.
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE(std::string(FIGURES[i].file) + " " + FIGURES[i].set);
    const D3DXVECTOR3 c = Project(camera, Place(i) + D3DXVECTOR3(0, 0, 60));
    const auto offGrey = [](uint32_t p) { return std::abs(R(p) - GREY) + std::abs(G(p) - GREY) + std::abs(B(p) - GREY) >= 12; };
    const int cx = int(c.x), cy = int(c.y), tint = FIGURES[i].tint;
    EXPECT_GT(CountIn(argb, cx - 45, cy - 50, cx + 45, cy + 35, offGrey), 200) << "at " << cx << "," << cy;
    EXPECT_GT(CountIn(argb, cx - 45, cy - 50, cx + 45, cy + 35,
                      [&](uint32_t p) { return offGrey(p) && Lead(p, tint) > 30; }),
              30)
        << "at " << cx << "," << cy;
  }
  for (auto& sprite : sprites) g_pSceneManager->RemoveNode(sprite.get());
  g_pSceneManager->DeleteAllLights();
  g_FrameTime = savedFrameTime;
}

// The wave rings drawn additively, as the waves set up their first subset,
// and the shot strips of both colours and all three powers, with the beam walker's.
TEST_F(CharacterImage, WaveRingsAndShotStripsShowTheirColours) {
  Look(-600.0f, 1600.0f, 0.0f);
  const char* ringFiles[3] = {"WaveRed.X", "WaveBlue.X", "AbilityWave.X"};
  CStatic3DSprite rings[3];
  for (int i = 0; i < 3; ++i) {
    CSimpleMesh* mesh = g_pSimpleMeshFactory->Get(ringFiles[i]);
    ASSERT_NE(mesh, g_pSimpleMeshFactory->GetDefault()) << ringFiles[i];
    CShader* block = mesh->GetSubsets()[0].GetShader();
    ASSERT_NE(block, nullptr);
    for (auto [state, value] : {std::pair<uint32_t, uint32_t>{platform::D3DRS_ZWRITEENABLE, 0},
                                {platform::D3DRS_LIGHTING, 0}, {platform::D3DRS_ALPHABLENDENABLE, 1},
                                {platform::D3DRS_SRCBLEND, 5}, {platform::D3DRS_DESTBLEND, 2},
                                {platform::D3DRS_BLENDOP, 1}})
      block->SetRenderState(state, value);
    ASSERT_TRUE(rings[i].SetMesh(mesh));
    rings[i].SetPosition((i - 1) * 420.0f, 250.0f, 0.0f);
    rings[i].SetScale(170.0f, 170.0f, 0.0f);
    rings[i].GetBoundingSphere().radius = 1000000.0f;
    g_pSceneManager->AddNode(&rings[i]);
  }
  const char* shots[7] = {"PlayerRedShot1.tga",  "PlayerRedShot2.tga",  "PlayerRedShot3.tga", "PlayerBlueShot1.tga",
                          "PlayerBlueShot2.tga", "PlayerBlueShot3.tga", "Ene8Bullet.tga"};
  CBeam beams[7];
  for (int i = 0; i < 7; ++i) {
    g_pSceneManager->AddNode(&beams[i]);
    beams[i].Create(shots[i], 200.0f, 80.0f, D3DXVECTOR3(1, 0, 0), true);
    beams[i].SetPosition(-500.0f + 120.0f * i + 200.0f, -250.0f + (i % 2) * 60.0f, 0.0f);
  }
  Frame();
  const std::vector<uint32_t> argb = Frame();
  Keep("wave_rings_and_shots", argb);

  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(ringFiles[i]);
    // The band adds light to the floor (white-hot middle, coloured rim); inside it the floor stays grey.
    const D3DXVECTOR3 centre((i - 1) * 420.0f, 250.0f, 0.0f);
    const uint32_t band = PixelOf(argb, camera, centre + D3DXVECTOR3(0, -0.9f * 170.0f, 0));
    const uint32_t edge = PixelOf(argb, camera, centre + D3DXVECTOR3(0, -0.96f * 170.0f, 0));
    EXPECT_GT(R(band) + G(band) + B(band), 3 * GREY + 90);
    EXPECT_NEAR(R(PixelOf(argb, camera, centre)), GREY, 3);
    if (i < 2) {
      EXPECT_GT(i == 0 ? R(edge) - B(edge) : B(edge) - R(edge), 40);
    }
  }
  for (int i = 0; i < 6; ++i) {
    const uint32_t head = PixelOf(argb, camera, beams[i].GetPosition() - D3DXVECTOR3(30, 0, 0));
    EXPECT_GT(i < 3 ? R(head) : B(head), GREY + 60) << shots[i];
  }
  for (auto& ring : rings) g_pSceneManager->RemoveNode(&ring);
  for (auto& beam : beams) g_pSceneManager->RemoveNode(&beam);
}

TEST_F(FxImageTest, AdditiveBurstLineStripAndBeam) {
  const float savedFrameTime = g_FrameTime;
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
  additive->SetRenderState(platform::D3DRS_SRCBLEND, platform::D3DBLEND_SRCALPHA);
  additive->SetRenderState(platform::D3DRS_DESTBLEND, platform::D3DBLEND_ONE);
  additive->SetRenderState(platform::D3DRS_LIGHTING, 0);
  additive->SetRenderState(platform::D3DRS_ALPHABLENDENABLE, 1);
  additive->SetRenderState(platform::D3DRS_ZWRITEENABLE, 0);
  additive->SetTextureStageState(0, platform::D3DTSS_COLOROP, platform::D3DTOP_MODULATE);
  additive->SetTextureStageState(0, platform::D3DTSS_ALPHAOP, platform::D3DTOP_MODULATE);
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
  blended->SetRenderState(platform::D3DRS_LIGHTING, 0);
  blended->SetRenderState(platform::D3DRS_ZWRITEENABLE, 0);
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
  Keep("fx_burst_strip_beam", pixels);

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
  EXPECT_EQ(pixels[595 * 800 + 5] & 0xFFFFFFu, 0u);

  scene->SetCamera(nullptr);
  g_pTextureFactory->Release("Soft.png");
  g_pShaderFactory->Release("AUTO_EFECTOIMAGEBURST");
  g_pShaderFactory->Release("AUTO_EFECTOIMAGESTRIP");
  g_FrameTime = savedFrameTime;
}

int main(int argc, char** argv) { return imagetest::RunOnGl(argc, argv); }
