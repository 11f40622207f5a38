// The game world as the level's host: reset, respawn with and without the
// weapon's power, the checkpoint move, radiation, and the world's globals.
#include <gtest/gtest.h>

#include <vector>

#include "engine/app/Mouse.h"
#include "scenario/WorldScenario.h"

namespace {

class GameWorld : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(w.Ready()) << w.Problem(); }
  scenario::WorldScenario w;
};

TEST_F(GameWorld, HostsTheLevelAndResetsThePlayerCursorAndCamera) {
  EXPECT_EQ(g_pGameWorld, &w.World());
  EXPECT_EQ(CLevel::Current(), &w.Level());
  EXPECT_EQ(w.Level().GetHost(), &w.World());
  EXPECT_FALSE(w.World().Init(nullptr));
  EXPECT_TRUE(w.World().Init(&w.Camera()));

  CPlayer& p = w.Player();
  p.Damage(120.0f, false);
  p.GetWeapon().SetPower(3);
  p.GetWeapon().SetCharge(CWeapon::RED, 4);
  p.GetAbility().AddCharge(40);
  p.SetCanWalk(false);
  w.Camera().SetPosition(5, 5, 5);
  Nembra::g_pMouse->SetPosition(10, 10, 240);
  w.World().Reset();
  // health, power, red charge, ability charge, can walk, then the mouse at (400, 150, 0)
  EXPECT_EQ((std::vector<int64_t>{p.GetHealth(), p.GetWeapon().GetPower(), p.GetWeapon().GetCharge(CWeapon::RED),
                                  p.GetAbility().GetCharge(), p.CanWalk(), Nembra::g_pMouse->GetX(),
                                  Nembra::g_pMouse->GetY(), Nembra::g_pMouse->GetZ()}),
            (std::vector<int64_t>{300, 1, 100, 0, 1, 400, 150, 0}));
  EXPECT_EQ(w.Camera().GetPosition(), D3DXVECTOR3(0, 765, 1020));

  // A checkpoint restart keeps the weapon's power; a full one does not.
  p.GetWeapon().SetPower(2);
  w.Level().SetCheckpoint(100, 200, 0);
  w.Level().Restart();
  EXPECT_EQ(p.GetWeapon().GetPower(), 2u);
  EXPECT_EQ(p.GetPosition(), D3DXVECTOR3(100, 200, 0));
  w.World().RespawnPlayer(false);
  EXPECT_EQ(p.GetWeapon().GetPower(), 1u);
}

TEST_F(GameWorld, RadiationHurtsSilentlyUntilTheLevelClearsIt) {
  w.Player().SetRadiation(10.0f);
  w.Run(50);  // one second
  EXPECT_GE(w.Player().GetHealth(), 290u);
  EXPECT_LE(w.Player().GetHealth(), 291u);
  EXPECT_EQ(w.hurt.plays, 0);
  w.World().ClearRadiation();
  const uint32_t health = w.Player().GetHealth();
  w.Run(50);
  EXPECT_EQ(w.Player().GetHealth(), health);
}

TEST_F(GameWorld, TheSexChoosesTheHurtSoundAndTheHandHangsOnItsBone) {
  CPlayer& p = w.Player();
  EXPECT_TRUE(p.GetHand().IsBoneDriven());
  EXPECT_EQ(p.GetHand().GetBoneOwner(), p.GetSprite());
  EXPECT_EQ(p.GetWeapon().GetParent(), &p);
  EXPECT_EQ(p.GetWeapon().GetPosition(), D3DXVECTOR3(30, 0, 0));
  for (bool male : {false, true}) {
    p.SetSex(male);
    EXPECT_EQ(p.IsMale(), male);
  }
  // The hand follows the figure: turned half round, it is on the other side.
  w.Stand();
  w.PlacePlayer({0, 0, 0}, 0.0f);
  w.Frame();
  const D3DXVECTOR3 a = p.GetHand().WorldPosition();
  w.PlacePlayer({0, 0, 0}, 3.14159265f);
  w.Frame();
  const D3DXVECTOR3 b = p.GetHand().WorldPosition();
  EXPECT_NEAR(a.x, -b.x, 1.0f);
  EXPECT_NEAR(a.y, -b.y, 1.0f);
  EXPECT_GT(a.z, 50.0f);
}

}  // namespace
