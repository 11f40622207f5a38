// The player on the GL device: walking forward under the follow camera over a
// checkered floor with blue landmark boxes (W held for 50 frames); its red and
// blue shots in flight, a wall hit and the ordinary weapon's flash.
#include <cmath>
#include <fstream>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "image/PictureProbe.h"
#include "platform/Input.h"
#include "image/WorldPicture.h"
#include "tools/formats/XFileWriter.h"

namespace {

using namespace imagetest;
using scenario::BestNear;

int Red(uint32_t c) { return Lead(c, 16); }
int Blue(uint32_t c) { return Lead(c, 0); }

// The player's green suit: neither the grey floor nor the blue boxes.
bool PlayerHue(uint32_t c) { return G(c) > R(c) + 30 && G(c) > B(c) + 30; }

formats::XMaterialDesc Flat(float r, float g, float b) {
  formats::XMaterialDesc m;
  m.Face = {r, g, b, 1.0f};
  m.Emissive = {r, g, b};
  return m;
}

// One face with its own four corners (counter-clockwise from outside).
void AddQuad(formats::XMeshDesc& mesh, const D3DXVECTOR3 (&c)[4], const D3DXVECTOR3& normal, uint32_t material) {
  const uint32_t base = uint32_t(mesh.Positions.size());
  const uint32_t n = uint32_t(mesh.Normals.size());
  for (const D3DXVECTOR3& p : c) mesh.Positions.push_back(p);
  mesh.Normals.push_back(normal);
  mesh.Faces.push_back({base, base + 1, base + 2});
  mesh.Faces.push_back({base, base + 2, base + 3});
  mesh.NormalFaces.push_back({n, n, n});
  mesh.NormalFaces.push_back({n, n, n});
  mesh.FaceMaterials.push_back(material);
  mesh.FaceMaterials.push_back(material);
}

// 4000 x 4000 of 400-unit tiles in two greys, centred on the origin.
formats::XFileDesc Floor() {
  formats::XMeshDesc mesh;
  mesh.Name = "Floor";
  mesh.Materials = {Flat(0.42f, 0.42f, 0.42f), Flat(0.62f, 0.62f, 0.62f)};
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j) {
      const float x = -2000.0f + 400.0f * float(i), y = -2000.0f + 400.0f * float(j);
      const D3DXVECTOR3 c[4] = {{x, y, 0}, {x + 400, y, 0}, {x + 400, y + 400, 0}, {x, y + 400, 0}};
      AddQuad(mesh, c, {0, 0, 1}, uint32_t((i + j) % 2));
    }
  formats::XFileDesc file;
  file.Meshes.push_back(mesh);
  return file;
}

// A blue box of side 160 standing on the ground at its origin.
formats::XFileDesc Landmark() {
  formats::XMeshDesc mesh;
  mesh.Name = "Landmark";
  mesh.Materials = {Flat(0.1f, 0.2f, 0.85f)};
  const float h = 80.0f, top = 160.0f;
  const D3DXVECTOR3 p[8] = {{-h, -h, 0}, {h, -h, 0}, {h, h, 0}, {-h, h, 0},
                            {-h, -h, top}, {h, -h, top}, {h, h, top}, {-h, h, top}};
  const D3DXVECTOR3 faces[5][4] = {{p[4], p[5], p[6], p[7]}, {p[0], p[1], p[5], p[4]}, {p[1], p[2], p[6], p[5]},
                                   {p[2], p[3], p[7], p[6]}, {p[3], p[0], p[4], p[7]}};
  const D3DXVECTOR3 normals[5] = {{0, 0, 1}, {0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}};
  for (int f = 0; f < 5; ++f) AddQuad(mesh, faces[f], normals[f], 0);
  formats::XFileDesc file;
  file.Meshes.push_back(mesh);
  return file;
}

// How many pixels show the suit, and their centre.
struct Blob {
  int count = 0;
  float x = 0, y = 0;
};
Blob PlayerPixels(scenario::ScreenScenario& s) {
  Blob blob;
  double sx = 0, sy = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x)
      if (PlayerHue(s.PixelAt(x, y))) ++blob.count, sx += x, sy += y;
  if (blob.count) blob.x = float(sx / blob.count), blob.y = float(sy / blob.count);
  return blob;
}

TEST(WalkImage, ThePlayerRunsForwardAndTheGroundScrollsUnderTheFollowCamera) {
  scenario::WorldScenario w(imagetest::OnGl(true, true));
  if (!w.Ready()) GTEST_SKIP() << w.Problem();
  std::ofstream(Nembra::g_DataDirectory + "WalkFloor.X", std::ios::binary) << formats::XFileText(Floor());
  std::ofstream(Nembra::g_DataDirectory + "WalkLandmark.X", std::ios::binary) << formats::XFileText(Landmark());
  Nembra::g_pGraphicsDevice->SetClearColor(0.05f, 0.05f, 0.06f, 1.0f);
  w.Level().AddSprite("floor", "WalkFloor.X", 0.0f, 0.0f, -1.0f, 0.0f);
  const D3DXVECTOR3 landmarks[] = {{600, 600, 0}, {-900, 300, 0}, {-300, 1100, 0}, {500, -700, 0}, {-1300, 1300, 0}};
  int n = 0;
  for (const D3DXVECTOR3& at : landmarks)
    w.Level().AddSprite("box" + std::to_string(n++), "WalkLandmark.X", at.x, at.y, at.z, 0.0f);
  ASSERT_TRUE(w.World().GetCameraMode()) << "the wheel camera";

  const char* names[] = {"walk-00", "walk-25", "walk-50"};
  D3DXVECTOR3 groundUnder[3];
  std::vector<uint32_t> strips[3];
  for (int shot = 0; shot < 3; ++shot) {
    if (shot == 1) {
      w.Next().KeyDown(platform::DIK_W);
      w.Run(24);
    }
    if (shot == 2) w.Run(24);
    ASSERT_TRUE(w.Capture(names[shot]));
    const Blob blob = PlayerPixels(w.Screen());
    // The player's position at the figure's hips (its feet stand 90 below).
    const D3DXVECTOR3 at = Project(w.Camera(), w.Player().GetPosition() + D3DXVECTOR3(0, 0, 90));
    EXPECT_GE(blob.count, 300) << names[shot];
    EXPECT_LT(std::hypot(blob.x - at.x, blob.y - at.y), 40.0f)
        << names[shot] << ": suit at " << blob.x << "," << blob.y << ", player at " << at.x << "," << at.y;
    // What lies under the screen point (100, 500), and a strip of the floor there.
    const D3DXMATRIX world;
    platform::D3DVIEWPORT9 viewport{0, 0, 800, 600, 0.0f, 1.0f};
    const D3DXVECTOR3 a(100, 500, 0), b(100, 500, 1);
    D3DXVECTOR3 nearPoint, farPoint;
    D3DXVec3Unproject(&nearPoint, &a, &viewport, &w.Camera().GetProjection(), &w.Camera().GetView(), &world);
    D3DXVec3Unproject(&farPoint, &b, &viewport, &w.Camera().GetProjection(), &w.Camera().GetView(), &world);
    groundUnder[shot] = nearPoint + (-nearPoint.z / (farPoint.z - nearPoint.z)) * (farPoint - nearPoint);
    for (int x = 20; x < 300; x += 4) strips[shot].push_back(w.Screen().PixelAt(x, 500));
  }
  const D3DXVECTOR3 moved = groundUnder[2] - groundUnder[0];
  EXPECT_GT(std::hypot(moved.x, moved.y), 300.0f) << "the camera followed the player";
  int changed = 0;
  for (size_t i = 0; i < strips[0].size(); ++i) changed += strips[0][i] != strips[2][i];
  EXPECT_GT(changed, 5) << "the floor under the strip changed";
}

TEST(ShotImage, PlayerShotsInFlightAndAWallHitOverAGreyFloor) {
  scenario::WorldScenario w(imagetest::OnGl(true, true));
  if (!w.Ready()) GTEST_SKIP() << w.Problem();

  formats::XFileDesc floor;
  floor.Meshes.push_back(formats::QuadMesh(6000.0f));
  floor.Meshes[0].Materials.resize(1);
  floor.Meshes[0].Materials[0].Face = {0.45f, 0.45f, 0.45f, 1.0f};
  floor.Meshes[0].Materials[0].Emissive = {0.45f, 0.45f, 0.45f};
  floor.Meshes[0].FaceMaterials = {0, 0};
  std::ofstream(Nembra::g_DataDirectory + "ShotFloor.X", std::ios::binary) << formats::XFileText(floor);
  Nembra::g_pGraphicsDevice->SetClearColor(0.1f, 0.1f, 0.12f, 1.0f);
  w.Level().AddSprite("floor", "ShotFloor.X", -3000.0f, -3000.0f, -2.0f, 0.0f);
  imagetest::Sun(w.Level(), "Sun", {300.0f, 600.0f, 1500.0f});

  w.PlacePlayer({0, 0, 0}, 3.14159265f / 2.0f);
  w.AddWall(0, {{-2000, -300, 0}, {2000, -300, 0}});
  w.Frame();
  // A red shot towards the wall in front, then a red one to the right and a
  // blue one to the left, still in flight when the picture is taken.
  w.Aim({0, -1, 0});
  w.Player().GetWeapon().Fire(CWeapon::RED);
  w.Run(4);
  w.Aim({1, 0, 0});
  w.Player().GetWeapon().Fire(CWeapon::RED);
  w.Aim({-1, 0, 0});
  w.Player().GetWeapon().Fire(CWeapon::BLUE);
  w.Run(2);
  ASSERT_EQ(w.Level().GetBullets().size(), 2u);
  CBullet& red = w.Level().GetBullets().front();
  CBullet& blue = w.Level().GetBullets().back();
  ASSERT_TRUE(w.Capture("player_shots_and_wall_hit"));

  // Along each shot's beam (at hand height, behind the shot) its colour leads; elsewhere neither.
  const float h = w.Player().GetHand().WorldPosition().z;
  for (float back : {40.0f, 100.0f}) {
    const D3DXVECTOR3 r = Project(w.Camera(), red.GetPosition() + D3DXVECTOR3(-back, 0, h));
    const D3DXVECTOR3 b = Project(w.Camera(), blue.GetPosition() + D3DXVECTOR3(back, 0, h));
    EXPECT_GT(BestNear(w.Screen(), r, 12, Red), 60) << "red at " << r.x << "," << r.y;
    EXPECT_GT(BestNear(w.Screen(), b, 12, Blue), 60) << "blue at " << b.x << "," << b.y;
  }
  const D3DXVECTOR3 between = Project(w.Camera(), D3DXVECTOR3(600, -200, 0));
  EXPECT_LT(BestNear(w.Screen(), between, 3, Red), 30);
  EXPECT_LT(BestNear(w.Screen(), between, 3, Blue), 30);
  // The floor far from everything is grey.
  const uint32_t floorPixel = w.Screen().PixelAt(400, 560);
  EXPECT_NEAR(R(floorPixel), G(floorPixel), 12);
  EXPECT_NEAR(G(floorPixel), B(floorPixel), 12);
  EXPECT_GT(R(floorPixel), 40);

  // The ordinary weapon: a flash at the hand and no shot.
  w.Run(20);
  ASSERT_TRUE(w.Level().GetBullets().empty());
  const D3DXVECTOR3 hand = Project(w.Camera(), w.Player().GetHand().WorldPosition());
  const auto around = [&] {
    std::vector<uint32_t> pixels;
    for (int y = -25; y <= 25; ++y)
      for (int x = -25; x <= 25; ++x) pixels.push_back(w.Screen().PixelAt(int(hand.x) + x, int(hand.y) + y));
    return pixels;
  };
  ASSERT_TRUE(w.Capture("ordinary_weapon_before"));
  const std::vector<uint32_t> before = around();
  w.Player().GetWeapon().SetOrdinary(true);
  w.Player().GetWeapon().Fire(CWeapon::RED);
  w.Run(2);
  ASSERT_TRUE(w.Capture("ordinary_weapon_flash"));
  const std::vector<uint32_t> after = around();
  int changed = 0;
  for (size_t i = 0; i < after.size(); ++i)
    changed += std::abs(R(after[i]) - R(before[i])) + std::abs(G(after[i]) - G(before[i])) +
                           std::abs(B(after[i]) - B(before[i])) > 40;
  EXPECT_GT(changed, 30) << "the flash at " << hand.x << "," << hand.y;
}

}  // namespace
