// The mechanisms through the GL device: two doors tinted by their first
// shots, a generator at 60% with its bar, red and blue links, a laser cut at
// a wall and a marker mid-pulse, its growing copy at half strength.
#include <cmath>
#include <fstream>

#include "engine/app/GraphicsDevice.h"
#include "engine/resources/Mesh.h"
#include "engine/scene/SceneManager.h"
#include "game/effects/LevelEffects.h"
#include "image/PictureProbe.h"
#include "image/WorldPicture.h"
#include "tools/formats/LevelFiles.h"

namespace {

using formats::At;
using namespace imagetest;

// Pixels of the picture where the channel at `shift` is bright and clearly leads.
int Dominant(const std::vector<uint32_t>& pixels, int shift) {
  return CountIn(pixels, 0, 0, 800, 600, [&](uint32_t c) { return Channel(c, shift) > 90 && Lead(c, shift) > 50; });
}

// The brightness (sum of the three channels) over a box of the picture.
double Brightness(const std::vector<uint32_t>& pixels, int x0, int y0, int x1, int y1) {
  double sum = 0.0;
  CountIn(pixels, x0, y0, x1, y1, [&](uint32_t c) { return sum += R(c) + G(c) + B(c); });
  return sum;
}

TEST(MechanismPictures, DoorsGeneratorLinksLaserAndMarker) {
  scenario::WorldScenario w(imagetest::OnGl(false, true));  // the items file is written into its data
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
  const std::vector<uint8_t> bytes = formats::ItemsFileBytes(file);
  std::ofstream(Nembra::g_DataDirectory + "MechanismPicture.itm", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
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
  // 24 frames here and the captured one: half way through the pulse.
  for (int i = 0; i < 24; ++i) w.Frame(bars);
  CMarker& marker = level.GetMarkers().at("M");
  ASSERT_TRUE(w.Screen().CaptureFrame("mechanisms_scene", [&] {
    level.Update();
    Nembra::g_pSceneManager->Update();
    Nembra::g_pSceneManager->Render();
    bars();
  }));
  EXPECT_GT(Dominant(w.Screen().Pixels(), 16), 200);  // red: a door, a link, the generator
  EXPECT_GT(Dominant(w.Screen().Pixels(), 0), 200);   // blue: a door, a link
  ASSERT_NEAR(marker.GetPulseAlpha(), 127, 1);

  // The marker's copy at half alpha adds about half the light it adds when
  // opaque: the same frame (the level held still) with the copy at its pulse
  // colour, opaque and hidden, compared in a box around it.
  const D3DXVECTOR3 centre = Project(w.Camera(), D3DXVECTOR3(0.0f, 0.0f, 250.0f));
  const D3DXVECTOR3 edge = Project(w.Camera(), D3DXVECTOR3(150.0f, 0.0f, 250.0f));
  const int reach = static_cast<int>(std::ceil(std::abs(edge.x - centre.x))) + 4;
  const int cx = static_cast<int>(centre.x), cy = static_cast<int>(centre.y);
  auto still = [&] {
    Nembra::g_pSceneManager->Update();
    Nembra::g_pSceneManager->Render();
    bars();
  };
  Nembra::CStaticBillboard& copy = marker.GetEffectSprite();
  const D3DCOLOR pulse = copy.GetColor();
  auto light = [&](const char* name) {
    EXPECT_TRUE(w.Screen().CaptureFrame(name, still));
    return Brightness(w.Screen().Pixels(), cx - reach, cy - reach, cx + reach, cy + reach);
  };
  const double half = light("mechanisms_marker_half");
  copy.SetColor(0xFFFFFFFFu);
  const double opaque = light("mechanisms_marker_opaque");
  copy.SetVisible(false);
  const double none = light("mechanisms_marker_no_copy");
  copy.SetVisible(true);
  copy.SetColor(pulse);
  ASSERT_GT(opaque - none, 1000.0);
  const double share = (half - none) / (opaque - none);
  EXPECT_GT(share, 0.35) << "half " << half << " opaque " << opaque << " none " << none;
  EXPECT_LT(share, 0.7) << "half " << half << " opaque " << opaque << " none " << none;
  gen.SetMesh(nullptr);
  gen.SetBarMesh(nullptr);
  Nembra::g_pSimpleMeshFactory->Release("GeneratorRed.X");
  Nembra::g_pSimpleMeshFactory->Release("GenBarRed.X");
}

}  // namespace
