// The mechanisms from a tool-written items file over the demo data on the GL
// device: an item, the three boxes, a barrel, a closed and an opened grate;
// then the tutorial roof whole and half faded out over a box.
#include <filesystem>
#include <map>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/resources/Mesh.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneManager.h"
#include "game/level/Level.h"
#include "game/script/GameScript.h"
#include "image/WorldPicture.h"
#include "platform/Files.h"
#include "support/GlSceneTest.h"
#include "tools/datagen/LevelLayouts.h"
#include "tools/formats/LevelFiles.h"

using namespace Nembra;

namespace {

constexpr uint32_t CLEAR = 0xFF203040u;

// The world's shared meshes of items, boxes and barrels.
class MeshHost : public CLevelHost {
 public:
  ~MeshHost() override {
    for (auto& held : m_Meshes) held.second.Reset();
  }
  CSimpleMesh* GetItemMesh(int32_t kind, int32_t subKind) override {
    return kind == 1 && subKind >= 1 && subKind <= 3 ? Mesh("Health" + std::to_string(subKind) + ".X") : nullptr;
  }
  CSimpleMesh* GetBoxMesh(int32_t power) override {
    return power >= 1 && power <= 3 ? Mesh("Box" + std::to_string(power) + ".X") : nullptr;
  }
  CSimpleMesh* GetBarrelMesh() override { return Mesh("Barrel.X"); }

 private:
  CSimpleMesh* Mesh(const std::string& name) {
    CHeldMesh& held = m_Meshes[name];
    return held.Get() ? held.Get() : held.Take(name);
  }
  std::map<std::string, CHeldMesh> m_Meshes;
};

using formats::At;

class MechanismImage : public testsupport::GlSceneTest {
 protected:
  void PrepareData() override {
    std::filesystem::copy(KARVESSA_DEMO_DATA_DIR, Data().Path(), std::filesystem::copy_options::recursive);
    UseDataFolder(Data().Path() + "/");
  }
  void EngineReady() override { ASSERT_TRUE(g_GameScript.Open()); }
  void EngineClosing() override { g_GameScript.Close(); }

  std::vector<uint32_t> Frame(CLevel& level) {
    return GlSceneTest::Frame([&] { level.Update(); });
  }
  // Pixels of the rectangle that are not the clear colour.
  static int Drawn(const std::vector<uint32_t>& argb, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) count += (argb[static_cast<size_t>(y) * 800 + x] | 0xFF000000u) != CLEAR;
    return count;
  }
  void Light(CLevel& level) {
    imagetest::Sun(level, "Sun", {400.0f, -600.0f, 1500.0f});
    level.SetLightDiffuse("Sun", 1.0f, 1.0f, 1.0f, 1.0f);
    level.TurnOnLight("Sun", true);
  }
  void Look(float x, float y, float z, float targetY, float targetZ) {
    camera.SetAspect(800.0f / 600.0f);
    camera.SetPosition(x, y, z);
    camera.GetTarget().SetPosition(x, targetY, targetZ);
    g_pSceneManager->AddTargetNode(&camera);
    g_pSceneManager->SetCamera(&camera);
    g_pGraphicsDevice->SetClearColor(0x20 / 255.0f, 0x30 / 255.0f, 0x40 / 255.0f, 1.0f);
    savedFrameTime = g_FrameTime;
    g_FrameTime = 0.02f;
  }
  void TearDown() override {
    if (Ready()) g_pSceneManager->SetCamera(nullptr);
    g_FrameTime = savedFrameTime;
    GlSceneTest::TearDown();
  }
  CCamera camera;
  float savedFrameTime = g_FrameTime;
};

}  // namespace

TEST_F(MechanismImage, AnItemTheBoxesABarrelAndAClosedAndAnOpenedGrate) {
  Look(0.0f, -1500.0f, 900.0f, 150.0f, 60.0f);
  {
    MeshHost host;
    CLevel level;
    level.SetHost(&host);
    Light(level);
    ITEMS_FILE file;
    ITEM_RECORD item;
    item.kind = 1;
    item.subKind = 2;
    item.pair = At(-600.0f, -150.0f);
    file.items.push_back(item);
    for (int power = 1; power <= 3; ++power) {
      BOX_RECORD box;
      box.requiredPower = power;
      box.pair = At(-350.0f + 230.0f * float(power - 1), -100.0f, 0.3f);
      file.boxes.push_back(box);
    }
    BARREL_RECORD barrel;
    barrel.pair = At(550.0f, -150.0f);
    file.barrels.push_back(barrel);
    for (float x : {-300.0f, 300.0f}) {
      WIRE_GRATE_RECORD grate;
      grate.descriptionFile = "WireGrate_Desc.txt";
      grate.pair = At(x, 450.0f);
      file.wireGrates.push_back(grate);
    }
    Data().Write("Mechanisms.itm", formats::ItemsFileBytes(file));
    platform::ClearPathCache();
    ASSERT_TRUE(level.LoadItems("Mechanisms.itm"));
    level.GetWireGrates().back().Break();
    std::vector<uint32_t> argb;
    for (int i = 0; i < 40; ++i) argb = Frame(level);  // the grate's burst has died down
    Keep("mechanisms", argb);
    // Something is drawn over every object's place.
    EXPECT_GT(Drawn(argb, 0, 300, 800, 600), 5000);
    EXPECT_GT(Drawn(argb, 0, 0, 800, 300), 2000);
    level.Unload();
  }
}

TEST_F(MechanismImage, TheTutorialRoofHalfFadedOut) {
  const datagen::LAYOUT_BOX room = datagen::FindLevelLayout("LevelTutorial")->rooms[3];
  const float cx = (room.minX + room.maxX) / 2, cy = (room.minY + room.maxY) / 2;
  Look(cx, cy - 1800.0f, 2200.0f, cy, 300.0f);
  {
    MeshHost host;
    CLevel level;
    level.SetHost(&host);
    Light(level);
    ITEMS_FILE file;
    ROOF_RECORD roof;
    roof.meshFile = "LevelTutorial_Roof.X";
    file.roofs.push_back(roof);
    BOX_RECORD box;  // under the roof, seen through it as it fades
    box.requiredPower = 3;
    box.pair = At(cx, cy);
    file.boxes.push_back(box);
    Data().Write("Roof.itm", formats::ItemsFileBytes(file));
    platform::ClearPathCache();
    ASSERT_TRUE(level.LoadItems("Roof.itm"));
    const std::vector<uint32_t> whole = Frame(level);
    Keep("roof-whole", whole);
    level.GetRoofs().front().Hide();
    std::vector<uint32_t> argb;
    for (int i = 0; i < 13; ++i) argb = Frame(level);  // 512 a second: about half of 255
    Keep("roof-half-faded", argb);
    EXPECT_NE(whole, argb);
    EXPECT_GT(Drawn(argb, 0, 0, 800, 600), 10000);
    level.Unload();
  }
}
