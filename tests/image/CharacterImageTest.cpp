// Image test of the generated characters on the real GL device (Mesa's
// software renderer under Xvfb in CI): every figure of the demo data, each
// caught in the middle of one of its sets, in a grid facing the camera on a
// grey background. The picture is kept under the test-image folder; pixel
// probes check that each figure is drawn, in its colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/effects/Beam.h"
#include "engine/resources/Mesh.h"
#include "engine/resources/Shader.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/scene/Animated3DSprite.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Light.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/StaticSprite.h"
#include "platform/Files.h"
#include "platform/Image.h"
#include "platform/Platform.h"
#include "platform/Window.h"
#include "support/GlSceneTest.h"
#include "support/TempDir.h"

using namespace Nembra;

namespace {

constexpr uint32_t GREY = 0x50;

enum Tint { RED, BLUE, GREEN };

struct Figure {
  const char* file;
  const char* set;
  bool loop;
  float seconds;
  Tint tint;
};

const Figure FIGURES[] = {
    {"Player.X", "CorrerAdelante", true, 0.18f, GREEN},
    {"Ene1CompletoRojo.X", "Ene1Golpe1", false, 0.15f, RED},
    {"Ene1CompletoAzul.X", "Ene1CaminarAdelante", true, 0.2f, BLUE},
    {"Ene7CompletoRojo.X", "Ene1Golpe2", false, 0.25f, RED},
    {"Ene7CompletoAzul.X", "Ene1Reposo", true, 0.5f, BLUE},
    {"Ene2CompletoRojo.X", "Ene2Golpe1", true, 0.2f, RED},
    {"Ene2CompletoAzul.X", "Ene2DesMutarCapullo", false, 0.5f, BLUE},
    {"Ene3CompletoRojo.X", "Ene3Golpe1", false, 0.15f, RED},
    {"Ene3CompletoAzul.X", "Ene3CaminarAdelante", true, 0.3f, BLUE},
    {"Ene8CompletoRojo.X", "Ene8Golpe1", false, 0.2f, RED},
    {"Ene8CompletoAzul.X", "Ene8CaminarAdelante", true, 0.15f, BLUE},
    {"Ene6CompletoRojo.X", "Ene6GolpeEscupir", false, 0.25f, RED},
    {"Ene6CompletoAzul.X", "Ene6CaminarAdelante", true, 0.2f, BLUE},
    {"IntermedioCompletoRojo.X", "Habilidad", false, 2.0f, RED},
    {"IntermedioCompletoAzul.X", "DisparoDerecho", false, 0.625f, BLUE},
    {"FinalCompletoRojo.X", "Bola", false, 0.3f, RED},
    {"FinalCompletoAzul.X", "Laser", false, 0.1f, BLUE},
    {"Splat.X", "Spread", false, 0.6f, GREEN},
    {"Player.X", "Muerte", false, 1.5f, GREEN},
};
constexpr int COLUMNS = 5;

class CharacterImage : public testsupport::GlSceneTest {
 protected:
  void PrepareData() override { UseDataFolder(std::string(KARVESSA_DEMO_DATA_DIR) + "/"); }
};

D3DXVECTOR3 Place(int i) {
  const int row = i / COLUMNS, column = i % COLUMNS;
  return D3DXVECTOR3((column - (COLUMNS - 1) * 0.5f) * (330.0f + row * 45.0f), row * 420.0f - 350.0f, 0.0f);
}

}  // namespace

TEST_F(CharacterImage, EveryFigureDrawnMidAnimationInItsColour) {
  const float savedFrameTime = g_FrameTime;
  CCamera camera;
  camera.SetAspect(800.0f / 600.0f);
  camera.SetPosition(0.0f, -1350.0f, 1900.0f);
  camera.GetTarget().SetPosition(0.0f, 280.0f, 0.0f);
  g_pSceneManager->AddTargetNode(&camera);
  g_pSceneManager->SetCamera(&camera);
  g_pGraphicsDevice->SetClearColor(GREY / 255.0f, GREY / 255.0f, GREY / 255.0f, 1.0f);
  g_pShaderFactory->GetDefault()->SetRenderState(platform::D3DRS_AMBIENT, 0xFF303030u);
  CPointLight* light = g_pSceneManager->CreatePointLight();
  light->SetPosition(-800, -2500, 2500);
  light->SetRange(100000);
  light->SetAttenuation(1.0f, 0.0f, 0.0f);
  light->SetDiffuseColor(D3DXCOLOR(1, 1, 1, 1));
  light->Commit();

  const size_t count = sizeof FIGURES / sizeof FIGURES[0];
  std::vector<std::unique_ptr<CAnimated3DSprite>> sprites;
  for (size_t i = 0; i < count; ++i) {
    CSkinnedMesh* mesh = g_pSkinnedMeshFactory->Get(FIGURES[i].file);
    ASSERT_NE(mesh, g_pSkinnedMeshFactory->GetDefault()) << FIGURES[i].file;
    auto sprite = std::make_unique<CAnimated3DSprite>();
    sprite->SetMesh(mesh);
    sprite->SetAnimation(FIGURES[i].set, FIGURES[i].loop);
    sprite->SetPosition(Place(static_cast<int>(i)));
    sprite->SetRotationZ(-D3DX_PI / 2 + 0.5f);  // turned towards the camera, a little to the side
    if (std::string(FIGURES[i].file).rfind("Final", 0) == 0) sprite->SetScale(0.8f);
    g_pSceneManager->AddNode(sprite.get());
    sprites.push_back(std::move(sprite));
  }

  // Before the first frame every figure moves on by its own time into its
  // set; the frames themselves advance nothing.
  std::vector<uint32_t> argb;
  for (int frame = 0; frame < 2; ++frame) {
    for (size_t i = 0; i < count; ++i) {
      g_FrameTime = frame == 0 ? FIGURES[i].seconds : 0.0f;
      sprites[i]->UpdateTime();
      sprites[i]->Advance();
    }
    g_FrameTime = 0.0f;
    g_pGraphicsDevice->BeginScene();
    g_pSceneManager->Update();
    g_pSceneManager->Render();
    uint32_t w = 0, h = 0;
    ASSERT_TRUE(g_pGraphicsDevice->GetDevice()->ReadBackBuffer(argb, &w, &h));
    ASSERT_EQ(w, 800u);
    ASSERT_EQ(h, 600u);
    g_pGraphicsDevice->Present();
  }
  platform::Image image;
  image.width = 800;
  image.height = 600;
  image.argb = argb;
  EXPECT_TRUE(platform::SavePng(testsupport::TestImageDir() + "/characters_contact_sheet.png", image, true));

  D3DXMATRIX viewProjection;
  D3DXMatrixMultiply(&viewProjection, &camera.GetView(), &camera.GetProjection());
  for (size_t i = 0; i < count; ++i) {
    SCOPED_TRACE(std::string(FIGURES[i].file) + " " + FIGURES[i].set);
    const D3DXVECTOR3 centre = Place(static_cast<int>(i)) + D3DXVECTOR3(0, 0, 60);
    D3DXVECTOR4 clip;
    D3DXVec3Transform(&clip, &centre, &viewProjection);
    const int cx = int((clip.x / clip.w + 1.0f) * 400.0f), cy = int((1.0f - clip.y / clip.w) * 300.0f);
    // In a window about the figure: pixels off the background, and of them
    // some whose dominant channel is the figure's colour.
    int drawn = 0, tinted = 0;
    for (int y = std::max(0, cy - 50); y < std::min(600, cy + 35); ++y)
      for (int x = std::max(0, cx - 45); x < std::min(800, cx + 45); ++x) {
        const uint32_t p = argb[size_t(y) * 800 + size_t(x)];
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (std::abs(r - int(GREY)) + std::abs(g - int(GREY)) + std::abs(b - int(GREY)) < 12) continue;
        ++drawn;
        const int mine = FIGURES[i].tint == RED ? r : FIGURES[i].tint == BLUE ? b : g;
        const int others = FIGURES[i].tint == RED ? std::max(g, b) : FIGURES[i].tint == BLUE ? std::max(r, g)
                                                                                             : std::max(r, b);
        if (mine > others + 30) ++tinted;
      }
    EXPECT_GT(drawn, 200) << "at " << cx << "," << cy;
    EXPECT_GT(tinted, 30) << "at " << cx << "," << cy;
  }

  for (auto& sprite : sprites) g_pSceneManager->RemoveNode(sprite.get());
  g_pSceneManager->DeleteAllLights();
  g_pSceneManager->SetCamera(nullptr);
  g_FrameTime = savedFrameTime;
}

// The shock-wave rings (drawn additively, as the waves set up their first
// subset) and the shot strips of both colours and all three powers, with
// the beam walker's, seen from above.
TEST_F(CharacterImage, WaveRingsAndShotStripsShowTheirColours) {
  CCamera camera;
  camera.SetAspect(800.0f / 600.0f);
  camera.SetPosition(0.0f, -600.0f, 1600.0f);
  camera.GetTarget().SetPosition(0.0f, 0.0f, 0.0f);
  g_pSceneManager->AddTargetNode(&camera);
  g_pSceneManager->SetCamera(&camera);
  g_pGraphicsDevice->SetClearColor(GREY / 255.0f, GREY / 255.0f, GREY / 255.0f, 1.0f);

  const char* ringFiles[3] = {"WaveRed.X", "WaveBlue.X", "AbilityWave.X"};
  CStatic3DSprite rings[3];
  for (int i = 0; i < 3; ++i) {
    CSimpleMesh* mesh = g_pSimpleMeshFactory->Get(ringFiles[i]);
    ASSERT_NE(mesh, g_pSimpleMeshFactory->GetDefault()) << ringFiles[i];
    CShader* block = mesh->GetSubsets()[0].GetShader();
    ASSERT_NE(block, nullptr);
    block->SetRenderState(platform::D3DRS_ZWRITEENABLE, 0);
    block->SetRenderState(platform::D3DRS_LIGHTING, 0);
    block->SetRenderState(platform::D3DRS_ALPHABLENDENABLE, 1);
    block->SetRenderState(platform::D3DRS_SRCBLEND, 5);
    block->SetRenderState(platform::D3DRS_DESTBLEND, 2);
    block->SetRenderState(platform::D3DRS_BLENDOP, 1);
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

  std::vector<uint32_t> argb;
  for (int frame = 0; frame < 2; ++frame) {
    g_pGraphicsDevice->BeginScene();
    g_pSceneManager->Update();
    g_pSceneManager->Render();
    uint32_t w = 0, h = 0;
    ASSERT_TRUE(g_pGraphicsDevice->GetDevice()->ReadBackBuffer(argb, &w, &h));
    g_pGraphicsDevice->Present();
  }
  platform::Image image;
  image.width = 800;
  image.height = 600;
  image.argb = argb;
  EXPECT_TRUE(platform::SavePng(testsupport::TestImageDir() + "/wave_rings_and_shots.png", image, true));

  D3DXMATRIX viewProjection;
  D3DXMatrixMultiply(&viewProjection, &camera.GetView(), &camera.GetProjection());
  const auto pixel = [&](const D3DXVECTOR3& p) {
    D3DXVECTOR4 clip;
    D3DXVec3Transform(&clip, &p, &viewProjection);
    const int x = std::clamp(int((clip.x / clip.w + 1.0f) * 400.0f), 0, 799);
    const int y = std::clamp(int((1.0f - clip.y / clip.w) * 300.0f), 0, 599);
    const uint32_t v = argb[size_t(y) * 800 + size_t(x)];
    return std::array<int, 3>{int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF)};
  };
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(ringFiles[i]);
    const D3DXVECTOR3 centre((i - 1) * 420.0f, 250.0f, 0.0f);
    // The band adds light to the floor; inside it the floor stays grey.
    const auto band = pixel(centre + D3DXVECTOR3(0, -0.9f * 170.0f, 0));  // the white-hot middle
    const auto edge = pixel(centre + D3DXVECTOR3(0, -0.96f * 170.0f, 0));  // the coloured rim
    const auto inside = pixel(centre);
    EXPECT_GT(band[0] + band[1] + band[2], 3 * int(GREY) + 90);
    EXPECT_NEAR(inside[0], int(GREY), 3);
    if (i == 0) {
      EXPECT_GT(edge[0], edge[2] + 40);
    }
    if (i == 1) {
      EXPECT_GT(edge[2], edge[0] + 40);
    }
  }
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(shots[i]);
    const auto head = pixel(beams[i].GetPosition() - D3DXVECTOR3(30, 0, 0));
    if (i < 3) {
      EXPECT_GT(head[0], GREY + 60);
    }
    else EXPECT_GT(head[2], GREY + 60);
  }

  for (auto& ring : rings) g_pSceneManager->RemoveNode(&ring);
  for (auto& beam : beams) g_pSceneManager->RemoveNode(&beam);
  g_pSceneManager->SetCamera(nullptr);
}

int main(int argc, char** argv) {
  platform::SetBackend(platform::Backend::SdlGl);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
