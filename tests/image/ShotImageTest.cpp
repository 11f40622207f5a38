// The player, a red and a blue shot in flight, a wall hit and the ordinary
// weapon's flash over a grey floor on the GL device.
#include <fstream>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "image/PictureProbe.h"
#include "image/WorldPicture.h"
#include "tools/formats/XFileWriter.h"

namespace {

int Red(uint32_t c) { return imagetest::Lead(c, 16); }
int Blue(uint32_t c) { return imagetest::Lead(c, 0); }

using namespace imagetest;
using scenario::BestNear;

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
