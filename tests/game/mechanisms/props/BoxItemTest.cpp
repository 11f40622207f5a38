// Boxes broken by strong enough shots, releasing their items; items taken
// by the player: each kind's effect, the reach, the spin and growth of a
// taken item, and restart.
#include <cmath>

#include "game/mechanisms/MechanismFixture.h"
#include "scenario/WorldScenario.h"

namespace {

using mechtest::At;
using mechtest::Item;

const D3DXVECTOR3 ALONG_X(1.0f, 0.0f, 0.0f);

BOX_RECORD Box(int32_t power, float x, bool withItem, const std::string& script = "") {
  BOX_RECORD box;
  box.requiredPower = power;
  box.itemCount = withItem ? 1 : 0;
  if (withItem) box.item = Item(1, 2, "", At(x, 0.0f, 20.0f));  // lies a little above the box's foot
  box.scriptFile = script;
  box.pair = At(x, 0.0f);
  return box;
}

class BoxTest : public mechtest::MechanismTest {};

TEST_F(BoxTest, ABox2IgnoresPowerOneAndBreaksOnPowerTwoOrThreeOfEitherColour) {
  WriteCounter("BoxBroken.lua");
  int expectedRuns = 0;
  for (int colour = 0; colour < 2; ++colour) {
    for (uint32_t power = 1; power <= 3; ++power) {
      SCOPED_TRACE("colour " + std::to_string(colour) + " power " + std::to_string(power));
      ITEMS_FILE file;
      file.boxes.push_back(Box(2, 400.0f, true, "BoxBroken.lua"));
      ASSERT_TRUE(Load(file));
      CBox& box = level->GetBoxes().front();
      ASSERT_FALSE(box.GetItem().GetSprite().GetParent());  // inside, out of the scene
      ASSERT_NE(box.GetBreakSound(), nullptr);  // "BoxExplosion.wav"
      scenario::CountingSound breaking;
      box.SetBreakSound(&breaking);
      Shoot(colour, power, ALONG_X);
      StepUntilShotsGone();
      if (power < 2) {
        EXPECT_TRUE(box.IsActive());
        EXPECT_FALSE(box.IsFading());
        EXPECT_EQ(Registrations(&box.GetCollisionBox(0), COL_TIGHT), 1);
        EXPECT_TRUE(level->GetReleasedItems().empty());
        EXPECT_TRUE(level->GetEffects().empty());  // no impact either
        EXPECT_EQ(breaking.plays, 0);
      } else {
        ++expectedRuns;
        EXPECT_FALSE(box.IsActive());
        EXPECT_TRUE(box.IsFading() || !box.GetSprite().IsVisible());
        EXPECT_EQ(BoxRegistrations(box), std::make_pair(0, 0));
        EXPECT_FALSE(Blocks(D3DXVECTOR3(400.0f, 0.0f, 0.0f), COL_CHARACTER));
        ASSERT_EQ(level->GetReleasedItems().size(), 1u);
        CItem* item = level->GetReleasedItems().front();
        EXPECT_EQ(item, &box.GetItem());
        EXPECT_TRUE(item->GetParent() != nullptr);
        const D3DXVECTOR3 at = item->WorldPosition();
        EXPECT_FLOAT_EQ(at.x, 400.0f);
        EXPECT_FLOAT_EQ(at.z, 20.0f);
        EXPECT_EQ(breaking.plays, 1);
      }
      EXPECT_EQ(Count("BoxBroken.lua"), expectedRuns);
      level->Unload();
    }
  }
}

TEST_F(BoxTest, ABrokenBoxFadesAt512AndTheRestartBringsItBackWithItsItem) {
  ITEMS_FILE file;
  file.boxes.push_back(Box(1, 400.0f, true));
  file.boxes.push_back(Box(1, -400.0f, false));
  ASSERT_TRUE(Load(file));
  CBox& full = level->GetBoxes().front();
  CBox& empty = level->GetBoxes().back();
  empty.OnHit(1);
  EXPECT_FALSE(empty.IsActive());
  EXPECT_TRUE(level->GetReleasedItems().empty());  // nothing inside
  full.OnHit(3);
  ASSERT_EQ(level->GetReleasedItems().size(), 1u);
  // 512 a second, advanced by each drawn frame: 255 is gone after the 25th
  // drawing (10.24 a frame), and the 26th frame's step hides the box.
  int frames = 0;
  while (full.GetSprite().IsVisible() && frames < 60) {
    Step();
    ++frames;
  }
  EXPECT_EQ(frames, 26);

  level->Restart();
  for (CBox* box : {&full, &empty}) {
    EXPECT_TRUE(box->IsActive());
    EXPECT_TRUE(box->GetSprite().IsVisible());
    EXPECT_FALSE(box->IsFading());
    EXPECT_EQ(box->GetSprite().GetDrawEffect(), nullptr);
    EXPECT_EQ(BoxRegistrations(*box), std::make_pair(1, 1));
  }
  EXPECT_TRUE(level->GetReleasedItems().empty());
  EXPECT_FALSE(full.GetItem().GetParent());
  EXPECT_TRUE(full.GetItem().IsActive());
  EXPECT_FALSE(full.GetItem().IsTaken());
}

TEST_F(BoxTest, TwentyBreakAndRestartCyclesLeaveTheSceneAndShapesAsTheyWere) {
  ITEMS_FILE file;
  for (int i = 0; i < 3; ++i) file.boxes.push_back(Box(1 + i, 400.0f * float(i + 1), i != 1));
  ASSERT_TRUE(Load(file));
  Step();
  const size_t children = RootChildren(), tight = ObjectShapes(COL_TIGHT), character = ObjectShapes(COL_CHARACTER);
  for (int cycle = 0; cycle < 20; ++cycle) {
    for (CBox& box : level->GetBoxes()) box.OnHit(3);
    Steps(3);
    EXPECT_EQ(ObjectShapes(COL_TIGHT), tight - 3);
    level->Restart();
    Step();
    EXPECT_EQ(RootChildren(), children) << cycle;
    EXPECT_EQ(ObjectShapes(COL_TIGHT), tight) << cycle;
    EXPECT_EQ(ObjectShapes(COL_CHARACTER), character) << cycle;
  }
}

class ItemTest : public mechtest::MechanismTest {
 protected:
  CItem& LoadOne(const ITEM_RECORD& record) {
    ITEMS_FILE file;
    file.items.push_back(record);
    EXPECT_TRUE(Load(file));
    return level->GetItems().back();
  }
  // The player on the item, one frame.
  void Touch(CItem& item) {
    PlacePlayer(item.WorldPosition());
    Step();
  }
};

TEST_F(ItemTest, HealthPacksHealByTheirSubKindAndStayForAFullPlayer) {
  CItem& full = LoadOne(Item(1, 2, "", At(0.0f, 0.0f)));
  Touch(full);
  EXPECT_FALSE(full.IsTaken());
  EXPECT_TRUE(full.IsActive());
  level->Unload();

  const uint32_t expected[3] = {160, 250, 300};
  for (int32_t subKind = 1; subKind <= 3; ++subKind) {
    CItem& item = LoadOne(Item(1, subKind, "", At(0.0f, 0.0f)));
    Player().Respawn();
    Player().TakeDamage(200);
    Touch(item);
    EXPECT_TRUE(item.IsTaken());
    EXPECT_EQ(Player().GetHealth(), expected[subKind - 1]) << subKind;
    level->Unload();
  }
}

TEST_F(ItemTest, WeaponUpgradesActOnlyForTheTwoWeaponLevels) {
  WriteCounter("Weapon.lua");
  CItem& three = LoadOne(Item(2, 3, "Weapon.lua", At(0.0f, 0.0f)));
  Player().GetWeapon().SetCharge(CWeapon::RED, 0);
  Player().GetWeapon().SetCharge(CWeapon::BLUE, 7);
  Touch(three);
  EXPECT_EQ(Player().GetWeapon().GetPower(), 3u);
  EXPECT_EQ(Player().GetWeapon().GetCharge(CWeapon::RED), CWeapon::MAX_CHARGE);
  EXPECT_EQ(Player().GetWeapon().GetCharge(CWeapon::BLUE), CWeapon::MAX_CHARGE);
  EXPECT_EQ(world->hud.weaponBanners, 1);
  EXPECT_EQ(Count("Weapon.lua"), 1);
  level->Unload();

  for (int32_t subKind : {0, 4}) {
    Player().Respawn();  // power 1
    Player().GetWeapon().SetCharge(CWeapon::RED, 5);
    CItem& item = LoadOne(Item(2, subKind, "Weapon.lua", At(0.0f, 0.0f)));
    Touch(item);
    EXPECT_TRUE(item.IsTaken()) << subKind;
    EXPECT_EQ(Player().GetWeapon().GetPower(), 1u) << subKind;
    EXPECT_EQ(Player().GetWeapon().GetCharge(CWeapon::RED), 5u) << subKind;
    level->Unload();
  }
  EXPECT_EQ(world->hud.weaponBanners, 1);
  EXPECT_EQ(Count("Weapon.lua"), 3);
}

TEST_F(ItemTest, AbilityItemsChargeAndStayForAFullMeter) {
  CItem& item = LoadOne(Item(3, 40, "", At(0.0f, 0.0f)));
  Player().GetAbility().AddCharge(CAbility::FULL);
  Touch(item);
  EXPECT_FALSE(item.IsTaken());
  Player().GetAbility().Reset();
  Player().GetAbility().AddCharge(10);
  Touch(item);
  EXPECT_TRUE(item.IsTaken());
  EXPECT_EQ(Player().GetAbility().GetCharge(), 50u);
}

TEST_F(ItemTest, ACheckpointStoresItsPositionAndLightsTheIcon) {
  CItem& item = LoadOne(Item(4, 0, "", At(300.0f, -200.0f, 0.0f)));
  EXPECT_FALSE(level->IsCheckpointSet());
  Touch(item);
  EXPECT_TRUE(level->IsCheckpointSet());
  EXPECT_FLOAT_EQ(level->GetCheckpointPosition().x, 300.0f);
  EXPECT_FLOAT_EQ(level->GetCheckpointPosition().y, -200.0f);
  EXPECT_EQ(world->hud.checkpointCalls, 1);
  EXPECT_TRUE(world->hud.checkpointShown);
}

TEST_F(ItemTest, AnItemIsTakenAtExactlyItsRadiusPlusThePlayers) {
  CItem& item = LoadOne(Item(5, 0, "", At(0.0f, 0.0f)));
  PlacePlayer(D3DXVECTOR3(120.01f, 0.0f, 0.0f));
  Step();
  EXPECT_FALSE(item.IsTaken());
  PlacePlayer(D3DXVECTOR3(120.0f, 0.0f, 0.0f));
  Step();
  EXPECT_TRUE(item.IsTaken());
}

TEST_F(ItemTest, ATakenItemSpinsGrowsFadesAndIsTakenOnce) {
  WriteCounter("Taken.lua");
  CItem& item = LoadOne(Item(1, 1, "Taken.lua", At(0.0f, 0.0f)));
  ASSERT_NE(item.GetPickupSound(), nullptr);  // "ItemPickUp.wav"
  scenario::CountingSound pickUp;
  item.SetPickupSound(&pickUp);
  EXPECT_TRUE(item.GetMarker().GetParent() == &item);
  EXPECT_TRUE(item.GetMarker().HasBuffer() || !item.GetMarker().visible);
  Player().TakeDamage(250);
  Step();
  const float spin = item.GetRotation().z;
  EXPECT_NEAR(spin, 2.0f * 3.14159265f * 0.02f, 1e-5f);
  Touch(item);
  ASSERT_TRUE(item.IsTaken());
  EXPECT_EQ(Count("Taken.lua"), 1);
  EXPECT_EQ(Player().GetHealth(), 110u);
  // Ten frames more: the scale grows 0.04 a frame, the marker is hidden.
  Steps(10);
  EXPECT_NEAR(item.GetScale(), 1.0f + 2.0f * 0.02f * 10.0f, 1e-4f);
  EXPECT_FALSE(item.GetMarker().visible);
  EXPECT_NEAR(item.GetRotation().z, spin * 12.0f, 1e-4f);
  Player().TakeDamage(10);
  int frames = 0;
  while (item.IsActive() && frames < 100) {
    Step();
    ++frames;
  }
  EXPECT_FALSE(item.IsActive());
  EXPECT_FALSE(item.GetSprite().IsVisible());
  EXPECT_FALSE(item.IsTaken());
  Steps(5);
  EXPECT_EQ(Count("Taken.lua"), 1);  // never twice
  EXPECT_EQ(pickUp.plays, 1);
  EXPECT_EQ(Player().GetHealth(), 100u);
}

TEST_F(ItemTest, RestartRestoresEveryItemBoxHeldOnesToo) {
  ITEMS_FILE file;
  file.items.push_back(Item(1, 3, "", At(0.0f, 0.0f)));
  file.items.push_back(Item(0, 0, "", At(200.0f, 0.0f)));
  file.items.back().meshFile = "Ability.X";
  file.boxes.push_back(Box(1, 600.0f, true));
  ASSERT_TRUE(Load(file));
  Player().TakeDamage(100);
  for (CItem& item : level->GetItems()) item.PickUp();
  CBox& box = level->GetBoxes().front();
  box.OnHit(1);
  Player().TakeDamage(100);
  box.GetItem().PickUp();
  Steps(40);
  std::vector<CItem*> all;
  for (CItem& item : level->GetItems()) all.push_back(&item);
  all.push_back(&box.GetItem());
  for (CItem* item : all) {
    EXPECT_FALSE(item->IsActive());
  }
  level->Restart();
  for (CItem* item : all) {
    EXPECT_TRUE(item->IsActive());
    EXPECT_FALSE(item->IsTaken());
    EXPECT_FLOAT_EQ(item->GetScale(), 1.0f);
    EXPECT_TRUE(item->GetSprite().IsVisible());
    EXPECT_EQ(item->GetSprite().GetDrawEffect(), nullptr);
    EXPECT_TRUE(item->GetMarker().visible);
  }
}

TEST_F(ItemTest, WithoutAHostTheCheckpointIconIsNotCalled) {
  CItem& item = LoadOne(Item(4, 0, "", At(0.0f, 0.0f)));
  level->SetHost(nullptr);
  Touch(item);
  EXPECT_TRUE(item.IsTaken());
  EXPECT_EQ(world->hud.checkpointCalls, 0);
  level->SetHost(world.get());
}

}  // namespace
