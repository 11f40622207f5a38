// A contact sheet of the mechanisms' demo meshes on the GL device: each mesh
// scaled into a cell of its own, lit by two white lights; every cell shows its
// mesh and the red and blue variants come out red and blue.
#include <memory>
#include <string>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/resources/Mesh.h"
#include "engine/resources/Shader.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/scene/Animated3DSprite.h"
#include "engine/scene/Light.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/StaticSprite.h"
#include "image/PictureProbe.h"
#include "support/GlSceneTest.h"

using namespace Nembra;
using namespace imagetest;

namespace {

constexpr uint32_t BACKGROUND = 0xFF202830u;
constexpr int COLUMNS = 8;
constexpr float CELL = 300.0f;

// In reading order; a skinned mesh is drawn at the end of the given set.
struct Entry {
  const char* mesh;
  const char* animation;
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

}  // namespace

TEST_F(MechanismAssetsImage, ContactSheetOfEveryMechanismMesh) {
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

  // Each mesh's bounding sphere fills 70% of its cell, centred over the cell.
  std::vector<std::unique_ptr<C3DSprite>> sprites;
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
    D3DXMATRIX turn;
    D3DXMatrixRotationZ(&turn, -0.5f);
    D3DXVECTOR3 offset;
    D3DXVec3TransformCoord(&offset, &sphereCentre, &turn);
    sprite.SetPosition(cell - offset * scale);
    sprite.GetBoundingSphere().radius = 10000.0f;
    scene.AddNode(&sprite);
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
  for (int frame = 0; frame < 6; ++frame) argb = Frame([&] { g_FrameTime = frame == 0 ? 0.0f : 0.1f; });
  Keep("mechanism_meshes", argb);

  for (int i = 0; i < COUNT; ++i) {
    const D3DXVECTOR3 c = Project(camera, CellCentre(i));
    const int cx = int(c.x), cy = int(c.y);
    long red = 0, blue = 0;
    const int drawn = CountIn(argb, cx - 25, cy - 25, cx + 25, cy + 25, [&](uint32_t p) {
      if ((p & 0xFFFFFFu) == (BACKGROUND & 0xFFFFFFu)) return false;
      red += R(p);
      blue += B(p);
      return true;
    });
    const std::string name = SHEET[i].mesh;
    EXPECT_GT(drawn, 150) << name << " at " << cx << ", " << cy;
    if (name.find("Off") != std::string::npos) continue;
    if (name.find("Red") != std::string::npos) {
      EXPECT_GT(red, blue * 3 / 2) << name;
    }
    if (name.find("Blue") != std::string::npos) {
      EXPECT_GT(blue, red * 3 / 2) << name;
    }
  }
  for (auto& sprite : sprites) scene.RemoveNode(sprite.get());
  scene.DeleteAllLights();
  scene.SetCamera(nullptr);
  g_FrameTime = savedFrameTime;
}

int main(int argc, char** argv) { return imagetest::RunOnGl(argc, argv); }
