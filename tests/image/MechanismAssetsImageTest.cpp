// A contact sheet of the level mechanisms' demo meshes, drawn by the real
// GL device (Mesa's software renderer under Xvfb in CI) from the generated
// data folder: every mesh in a cell of its own, scaled to the cell, lit by
// two white lights. The picture is kept under the test-image folder; pixel
// probes check that every cell shows its mesh and that the red and blue
// variants come out red and blue. Skips without a display or GL 3.3.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
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

constexpr uint32_t BACKGROUND = 0xFF202830u;
constexpr int COLUMNS = 8;
constexpr float CELL = 300.0f;

// The sheet in reading order; skinned meshes are drawn in the given pose.
struct Entry {
  const char* mesh;
  const char* animation;  // null: a simple mesh
};
const Entry SHEET[] = {
    {"Barrel.X", nullptr},          {"BombPack.X", nullptr},         {"Box1.X", nullptr},
    {"Box2.X", nullptr},            {"Box3.X", nullptr},             {"Health1.X", nullptr},
    {"Health2.X", nullptr},         {"Health3.X", nullptr},          {"WeaponUp2.X", nullptr},
    {"WeaponUp3.X", nullptr},       {"Ability.X", nullptr},          {"WireGrate.X", nullptr},
    {"WireGrateOpened.X", nullptr}, {"LevelTutorial_Roof.X", nullptr}, {"Pushable.X", nullptr},
    {"PushableWheel1.X", nullptr},  {"PushableWheel2.X", nullptr},   {"Door.X", nullptr},
    {"SlidingDoor.X", "Opening"},   {"GeneratorRed.X", nullptr},     {"GeneratorBlue.X", nullptr},
    {"GenBarRed.X", nullptr},       {"GenBarBlue.X", nullptr},       {"WaveWeaponRed.X", nullptr},
    {"WaveWeaponBlue.X", nullptr},  {"ConnectorOff.X", nullptr},     {"ConnectorOn.X", nullptr},
    {"ConnectorRed.X", nullptr},    {"ConnectorBlue.X", nullptr},    {"ReceptorOffRed.X", nullptr},
    {"ReceptorOffBlue.X", nullptr}, {"ReceptorOnRed.X", nullptr},    {"ReceptorOnBlue.X", nullptr},
    {"LaserEmitterD.X", nullptr},   {"LaserEmitterND.X", nullptr},   {"LaserReceiver.X", nullptr},
    {"TargetRed.X", "Up"},          {"TargetBlue.X", "Up"},
};
constexpr int COUNT = int(sizeof SHEET / sizeof SHEET[0]);

D3DXVECTOR3 CellCentre(int index) {
  const int rows = (COUNT + COLUMNS - 1) / COLUMNS;
  return {(float(index % COLUMNS) - (COLUMNS - 1) * 0.5f) * CELL, ((rows - 1) * 0.5f - float(index / COLUMNS)) * CELL,
          0.0f};
}

class MechanismAssetsImage : public testsupport::GlSceneTest {
 protected:
  void PrepareData() override { UseDataFolder(std::string(KARVESSA_DEMO_DATA_DIR) + "/"); }
};

uint32_t Channel(uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

}  // namespace

TEST_F(MechanismAssetsImage, ContactSheetOfEveryMechanismMesh) {
  ASSERT_TRUE(std::filesystem::is_directory(KARVESSA_DEMO_DATA_DIR));
  const float savedFrameTime = g_FrameTime;
  CSceneManager& scene = *g_pSceneManager;
  CCamera camera;
  camera.SetAspect(800.0f / 600.0f);
  camera.SetPosition(0.0f, -1900.0f, 1750.0f);
  camera.GetTarget().SetPosition(0.0f, -60.0f, 0.0f);
  scene.AddTargetNode(&camera);
  scene.SetCamera(&camera);
  g_pGraphicsDevice->SetClearColor(Channel(BACKGROUND, 16) / 255.0f, Channel(BACKGROUND, 8) / 255.0f,
                                   Channel(BACKGROUND, 0) / 255.0f, 1.0f);
  g_pShaderFactory->GetDefault()->SetRenderState(platform::D3DRS_AMBIENT, 0xFF505050u);
  g_pShaderFactory->GetDefaultTransparent()->SetRenderState(platform::D3DRS_AMBIENT, 0xFF505050u);

  // Each mesh scaled so its bounding sphere fills 70% of a cell, its
  // sphere's centre over the cell's centre.
  std::vector<std::unique_ptr<C3DSprite>> sprites;
  std::vector<D3DXVECTOR3> centres;
  for (int i = 0; i < COUNT; ++i) {
    const Entry& e = SHEET[i];
    D3DXVECTOR3 sphereCentre;
    float radius = 0.0f;
    if (e.animation) {
      auto sprite = std::make_unique<CAnimated3DSprite>();
      CSkinnedMesh* mesh = g_pSkinnedMeshFactory->Get(e.mesh);
      ASSERT_NE(g_pSkinnedMeshFactory->Find(e.mesh), nullptr) << e.mesh;
      sprite->SetMesh(mesh);
      sprite->SetAnimation(e.animation, false);
      sphereCentre = mesh->GetBoundingSphereCenter();
      radius = mesh->GetBoundingSphereRadius();
      sprites.push_back(std::move(sprite));
    } else {
      auto sprite = std::make_unique<CStatic3DSprite>();
      CSimpleMesh* mesh = g_pSimpleMeshFactory->Get(e.mesh);
      ASSERT_NE(g_pSimpleMeshFactory->Find(e.mesh), nullptr) << e.mesh;
      sprite->SetMesh(mesh);
      sphereCentre = mesh->GetBoundingSphereCenter();
      radius = mesh->GetBoundingSphereRadius();
      sprites.push_back(std::move(sprite));
    }
    const float scale = CELL * 0.35f / radius;
    const D3DXVECTOR3 cell = CellCentre(i);
    C3DSprite& sprite = *sprites.back();
    sprite.SetScale(scale);
    sprite.SetRotation(0.0f, 0.0f, -0.5f);
    // The sphere's centre turned with the sprite, then moved over the cell.
    D3DXMATRIX turn;
    D3DXMatrixRotationZ(&turn, -0.5f);
    D3DXVECTOR3 offset;
    D3DXVec3TransformCoord(&offset, &sphereCentre, &turn);
    sprite.SetPosition(cell.x - offset.x * scale, cell.y - offset.y * scale, cell.z - offset.z * scale);
    sprite.GetBoundingSphere().radius = 10000.0f;
    scene.AddNode(&sprite);
    centres.push_back(cell);
  }

  for (const D3DXVECTOR3& at : {D3DXVECTOR3(-900, -1400, 1600), D3DXVECTOR3(1200, 200, 900)}) {
    CPointLight* light = scene.CreatePointLight();
    light->SetPosition(at);
    light->SetRange(10000.0f);
    light->SetAttenuation(1.0f, 0.0f, 0.0f);
    light->SetDiffuseColor(D3DXCOLOR(0.8f, 0.8f, 0.8f, 1.0f));
    light->Commit();
  }

  // The posed sets run to their end ("Opening" stops half way).
  std::vector<uint32_t> argb;
  for (int frame = 0; frame < 6; ++frame) {
    g_FrameTime = frame == 0 ? 0.0f : 0.1f;
    g_pGraphicsDevice->BeginScene();
    scene.Update();
    scene.Render();
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
  EXPECT_TRUE(platform::SavePng(testsupport::TestImageDir() + "/mechanism_meshes.png", image, true));

  // Around each cell's centre something is drawn, and the coloured
  // variants show their colour.
  D3DXMATRIX viewProjection;
  D3DXMatrixMultiply(&viewProjection, &camera.GetView(), &camera.GetProjection());
  for (int i = 0; i < COUNT; ++i) {
    D3DXVECTOR3 c;
    D3DXVec3TransformCoord(&c, &centres[i], &viewProjection);
    const int cx = int((c.x + 1.0f) * 400.0f), cy = int((1.0f - c.y) * 300.0f);
    int drawn = 0;
    long red = 0, blue = 0;
    for (int y = std::max(0, cy - 25); y < std::min(600, cy + 25); ++y)
      for (int x = std::max(0, cx - 25); x < std::min(800, cx + 25); ++x) {
        const uint32_t p = argb[size_t(y) * 800 + size_t(x)];
        if ((p & 0xFFFFFFu) == (BACKGROUND & 0xFFFFFFu)) continue;
        ++drawn;
        red += long(Channel(p, 16));
        blue += long(Channel(p, 0));
      }
    const std::string name = SHEET[i].mesh;
    EXPECT_GT(drawn, 150) << name << " at " << cx << ", " << cy;
    const bool isRed = name.find("Red") != std::string::npos && name.find("Off") == std::string::npos;
    const bool isBlue = name.find("Blue") != std::string::npos && name.find("Off") == std::string::npos;
    if (isRed) {
      EXPECT_GT(red, blue * 3 / 2) << name;
    }
    if (isBlue) {
      EXPECT_GT(blue, red * 3 / 2) << name;
    }
  }

  for (auto& sprite : sprites) scene.RemoveNode(sprite.get());
  scene.DeleteAllLights();
  scene.SetCamera(nullptr);
  g_FrameTime = savedFrameTime;
}

int main(int argc, char** argv) {
  platform::SetBackend(platform::Backend::SdlGl);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
