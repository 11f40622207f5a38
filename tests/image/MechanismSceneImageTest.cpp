// The level mechanisms drawn through the real GL device: two doors tinted
// by their first shots, a generator at 60% with its bar and screen text,
// red and blue circuit links, a laser cut at a wall and a marker mid-pulse.
#include <gtest/gtest.h>

#include "engine/app/GraphicsDevice.h"
#include "engine/resources/Mesh.h"
#include "game/effects/LevelEffects.h"
#include "scenario/WorldScenario.h"
#include "tools/formats/LevelFiles.h"

namespace {

LEVEL_PAIR At(float x, float y, float angle = 0.0f) {
  LEVEL_PAIR pair;
  pair.orientation = D3DXVECTOR3(0.0f, 0.0f, angle);
  pair.position = D3DXVECTOR3(x, y, 0.0f);
  return pair;
}

int Channel(uint32_t argb, int shift) { return static_cast<int>((argb >> shift) & 0xFF); }

// Pixels in the box where one channel clearly leads the other two.
int Dominant(const scenario::ScreenScenario& s, int x0, int y0, int x1, int y1, int shift) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const uint32_t c = s.PixelAt(x, y);
      const int lead = Channel(c, shift);
      int others = 0;
      for (int sh : {16, 8, 0})
        if (sh != shift) others = std::max(others, Channel(c, sh));
      if (lead > 90 && lead > others + 50) ++n;
    }
  return n;
}

TEST(MechanismPictures, DoorsGeneratorLinksLaserAndMarker) {
  scenario::WorldScenario::Options options;
  options.gl = true;
  options.loadPlayer = false;
  scenario::WorldScenario w(options);
  if (!w.Ready()) GTEST_SKIP() << w.Problem();
  CLevel& level = w.Level();
  w.Camera().SetPosition(0.0f, -900.0f, 1300.0f);
  w.PlacePlayer(D3DXVECTOR3(0.0f, -3000.0f, 0.0f));

  ITEMS_FILE file;
  for (float x : {-500.0f, -150.0f}) {
    DOOR_RECORD door;
    door.descriptionFile = "Door_Desc.txt";
    door.chargeNeeded = 3;
    door.pair = At(x, 300.0f);
    file.doors.push_back(door);
  }
  CIRCUIT_OBJECT_RECORD generator;
  generator.generator.polarity = 0;
  generator.generator.capacity = 10;
  generator.generator.id = 5;
  generator.generator.pair = At(300.0f, 250.0f);
  file.circuitObjects.push_back(generator);
  auto link = [](const NODE_REFERENCE& a, const NODE_REFERENCE& b) {
    LINK_RECORD l;
    l.first = a;
    l.second = b;
    return l;
  };
  file.links.push_back(link(NODE_REFERENCE::NewConnector(1, D3DXVECTOR3(-600, -100, 0)),
                            NODE_REFERENCE::NewConnector(2, D3DXVECTOR3(-100, -100, 0))));
  file.links.push_back(link(NODE_REFERENCE::NewConnector(3, D3DXVECTOR3(-600, -250, 0)),
                            NODE_REFERENCE::NewConnector(4, D3DXVECTOR3(-100, -250, 0))));
  LASER_RECORD laser;
  laser.name = "L";
  laser.farEnd = D3DXVECTOR3(700.0f, -150.0f, 0.0f);
  laser.pair = At(100.0f, -150.0f);
  file.lasers.push_back(laser);
  const std::string items = Nembra::g_DataDirectory + "MechanismPicture.itm";
  const std::vector<uint8_t> bytes = formats::ItemsFileBytes(file);
  {
    FILE* f = std::fopen(items.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  ASSERT_TRUE(level.LoadItems("MechanismPicture.itm"));

  level.AddDirectionalLight("Sun");
  level.SetLightDiffuse("Sun", 1.0f, 1.0f, 1.0f, 1.0f);
  level.SetLightPosition("Sun", 0.0f, -500.0f, 1000.0f);
  level.SetLightTarget("Sun", 0.0f, 0.0f, 0.0f);
  level.TurnOnLight("Sun", true);
  // A wall across the laser at x = 450.
  w.AddWall(0, {{450.0f, -400.0f, 0.0f}, {450.0f, 100.0f, 0.0f}});
  auto door = level.GetDoors().begin();
  door->OnHit(0, 1);
  (++door)->OnHit(1, 1);
  CGenerator& gen = level.GetGenerators().front();
  Nembra::CSimpleMesh* genMesh = Nembra::g_pSimpleMeshFactory->Get("GeneratorRed.X");
  Nembra::CSimpleMesh* barMesh = Nembra::g_pSimpleMeshFactory->Get("GenBarRed.X");
  gen.SetMesh(genMesh);
  gen.SetBarMesh(barMesh);
  gen.OnHit(0, 6);
  level.GetLinks().front().SetFlow(0);
  level.GetLinks().back().SetFlow(1);
  level.AddMarker("M", 0.0f, 0.0f, 250.0f, 150.0f, "Marker.tga");
  level.ActivateMarker("M", true);

  auto bars = [&] {
    Nembra::g_pGraphicsDevice->BeginSprite(0x10);
    for (CGenerator& g : level.GetGenerators()) g.DrawBar();
    Nembra::g_pGraphicsDevice->EndSprite();
  };
  w.Stand();  // the fixed camera of the picture, not the follow camera
  for (int i = 0; i < 20; ++i) w.Frame(bars);
  EXPECT_NEAR(level.GetLasers().at("L").GetBeam().length, 350.0f, 2.0f);
  EXPECT_GT(level.GetMarkers().at("M").GetPulseScale(), 1.1f);
  ASSERT_TRUE(w.Screen().CaptureFrame("mechanisms_scene", [&] {
    level.Update();
    Nembra::g_pSceneManager->Update();
    Nembra::g_pSceneManager->Render();
    bars();
  }));
  const scenario::ScreenScenario& s = w.Screen();
  EXPECT_GT(Dominant(s, 0, 0, 800, 600, 16), 200);  // red: a door, a link, the generator
  EXPECT_GT(Dominant(s, 0, 0, 800, 600, 0), 200);   // blue: a door, a link
  gen.SetMesh(nullptr);
  gen.SetBarMesh(nullptr);
  Nembra::g_pSimpleMeshFactory->Release("GeneratorRed.X");
  Nembra::g_pSimpleMeshFactory->Release("GenBarRed.X");
}

}  // namespace
