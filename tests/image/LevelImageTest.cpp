// The tutorial's terrain under a fixed camera from above on the GL device:
// with two named sprites and an animated one; after a restart the terrain
// alone; after unloading only the clear colour.
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/scene/SceneManager.h"
#include "game/level/Level.h"
#include "game/script/GameScript.h"
#include "image/PictureProbe.h"
#include "support/GlSceneTest.h"
#include "tools/datagen/LevelTerrain.h"
#include "tools/formats/DemoMeshes.h"
#include "tools/formats/GraphicsFiles.h"

using namespace Nembra;
using namespace imagetest;

namespace {

constexpr uint32_t CLEAR = 0xFF203040u;

// A flat square of the size, textured with one picture.
std::string TexturedSquare(float size, const std::string& texture) {
  formats::XMeshDesc quad = formats::QuadMesh(size);
  formats::XMaterialDesc material;
  material.Texture = texture;
  quad.Materials = {material};
  quad.FaceMaterials = std::vector<uint32_t>(quad.Faces.size(), 0);
  formats::XFileDesc file;
  file.Meshes.push_back(quad);
  return formats::XFileText(file);
}

class LevelImage : public testsupport::GlSceneTest {
 protected:
  void PrepareData() override {
    const datagen::LEVEL_LAYOUT& layout = *datagen::FindLevelLayout("LevelTutorial");
    Data().Write("Meshes/" + datagen::TerrainMeshName(layout),
                 formats::XFileText(datagen::TerrainMeshFile(layout)));
    Data().Write(std::string("Materials/") + datagen::TERRAIN_FLOOR_TEXTURE,
                 formats::PngBytes(datagen::TerrainFloorPicture(), false));
    Data().Write(std::string("Materials/") + datagen::TERRAIN_WALL_TEXTURE,
                 formats::PngBytes(datagen::TerrainWallPicture(), false));
    Data().Write("Materials/Red.png", formats::PngBytes(formats::TestPicture(8, 8, 0xFFFF2020u), false));
    Data().Write("Materials/Yellow.png", formats::PngBytes(formats::TestPicture(8, 8, 0xFFFFE020u), false));
    Data().Write("Meshes/RedPad.X", TexturedSquare(300.0f, "Red.png"));
    Data().Write("Meshes/YellowPad.X", TexturedSquare(300.0f, "Yellow.png"));
    Data().Write("Meshes/Bar.X", formats::XFileText(formats::BentBarFile()));
    Data().Write("Scripts/Init.lua", "-- the level is built by the test\n");
  }
  void EngineReady() override { ASSERT_TRUE(g_GameScript.Open()); }
  void EngineClosing() override { g_GameScript.Close(); }
};

}  // namespace

TEST_F(LevelImage, TerrainAndNamedSpritesThenTheTerrainAloneThenNothing) {
  const float savedFrameTime = g_FrameTime;
  g_FrameTime = 0.02f;
  CCamera camera;
  camera.SetAspect(800.0f / 600.0f);
  camera.SetPosition(200.0f, -1800.0f, 2600.0f);
  camera.GetTarget().SetPosition(200.0f, 0.0f, 0.0f);
  g_pSceneManager->AddTargetNode(&camera);
  g_pSceneManager->SetCamera(&camera);
  g_pGraphicsDevice->SetClearColor(0x20 / 255.0f, 0x30 / 255.0f, 0x40 / 255.0f, 1.0f);

  CLevel level;
  level.SetInitScript("Init.lua");
  ASSERT_TRUE(level.Start());
  ASSERT_TRUE(level.LoadTerrain("LevelTutorial_Terrain.X"));
  level.AddDirectionalLight("Sun");
  level.SetLightPosition("Sun", 0.0f, 0.0f, 1000.0f);
  level.SetLightTarget("Sun", 300.0f, 500.0f, 0.0f);
  level.SetLightDiffuse("Sun", 1.0f, 1.0f, 1.0f, 1.0f);
  level.TurnOnLight("Sun", true);
  level.AddSprite("RedPad", "RedPad.X", -400.0f, -300.0f, 2.0f, 0.0f);
  level.AddSprite("YellowPad", "YellowPad.X", 700.0f, -150.0f, 2.0f, 0.0f);
  level.AddAnimatedSprite("Bar", "Bar.X", 0.0f, 200.0f, 0.0f, 0.0f, "Bend", true, "");
  level.GetAnimatedSprites().at("Bar").sprite.SetScale(3.0f);

  const auto pixel = [&](const std::vector<uint32_t>& argb, float x, float y, float z) {
    return PixelOf(argb, camera, D3DXVECTOR3(x, y, z));
  };

  std::vector<uint32_t> full;
  for (int i = 0; i < 10; ++i) full = Frame();
  Keep("level_terrain_sprites", full);
  const uint32_t red = pixel(full, -250.0f, -150.0f, 2.0f);
  const uint32_t yellow = pixel(full, 850.0f, 0.0f, 2.0f);
  const uint32_t floor = pixel(full, 200.0f, 300.0f, 0.0f);
  EXPECT_GT(Channel(red, 16), Channel(red, 8) + 60) << std::hex << red;
  EXPECT_GT(Channel(yellow, 8), Channel(yellow, 0) + 60) << std::hex << yellow;
  EXPECT_NE(floor, CLEAR) << std::hex << floor;
  EXPECT_EQ(full[2 * 800 + 2], CLEAR) << std::hex << full[2 * 800 + 2];  // beyond the level

  level.Restart();
  std::vector<uint32_t> terrainOnly;
  for (int i = 0; i < 2; ++i) terrainOnly = Frame();
  Keep("level_after_restart", terrainOnly);
  const uint32_t wasRed = pixel(terrainOnly, -250.0f, -150.0f, 2.0f);
  EXPECT_LT(Channel(wasRed, 16), Channel(wasRed, 8) + 30) << std::hex << wasRed;
  EXPECT_NE(wasRed, CLEAR) << std::hex << wasRed;  // the floor is still there

  level.Unload();
  g_pSceneManager->AddTargetNode(&camera);  // the unload emptied the scene tree
  const std::vector<uint32_t> empty = Frame();
  Keep("level_after_unload", empty);
  EXPECT_EQ(CountIn(empty, 0, 0, 800, 600, [](uint32_t p) { return p == CLEAR; }), 800 * 600);

  g_pSceneManager->SetCamera(nullptr);
  g_FrameTime = savedFrameTime;
}

int main(int argc, char** argv) { return imagetest::RunOnGl(argc, argv); }
