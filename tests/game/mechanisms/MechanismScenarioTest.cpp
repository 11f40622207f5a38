// The mechanisms in whole playing frames of the world harness, hit by the
// player's own weapon: a chain of barrels, a box too strong until a weapon
// pick-up, a grate's script, a block pushed away from the shooter.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "game/mechanisms/MechanismFixture.h"
#include "game/script/ScriptVariables.h"
#include "platform/Files.h"
#include "scenario/WorldScenario.h"
#include "tools/formats/LevelFiles.h"

namespace {

using scenario::WorldScenario;

// A world on writable data with the player at the origin; Fire aims along
// +x and presses a colour.
class MechanismScenario : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(w.Ready()) << w.Problem();
    w.PlacePlayer({0, 0, 0});
  }
  static WorldScenario::Options Writable() {
    WorldScenario::Options options;
    options.writableData = true;
    return options;
  }
  // The items file written into the scenario's data and loaded by its level.
  bool LoadItems(const ITEMS_FILE& file) {
    const std::vector<uint8_t> bytes = formats::ItemsFileBytes(file);
    std::ofstream(Nembra::g_DataDirectory + "Scenario.itm", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    platform::ClearPathCache();
    return w.Level().LoadItems("Scenario.itm");
  }
  void Fire(int colour) {
    w.Aim({1, 0, 0});
    w.Player().GetWeapon().Fire(colour);
  }
  WorldScenario w{Writable()};
};

TEST_F(MechanismScenario, OneRedShotSetsOffAChainOfBarrelsInOneFrame) {
  ITEMS_FILE file;
  for (int i = 0; i < 3; ++i) file.barrels.push_back(mechtest::Barrel(500.0f + 200.0f * float(i), 0.0f));
  ASSERT_TRUE(LoadItems(file));
  Fire(CWeapon::RED);
  ASSERT_TRUE(w.RunUntil([&] { return !w.Level().GetBarrels().front().IsActive(); }, 20));
  for (CBarrel& barrel : w.Level().GetBarrels()) EXPECT_FALSE(barrel.IsActive());
  EXPECT_EQ(w.Level().GetEffects().size(), 3u);  // three blasts, no wall burst
  w.Run(60);
  EXPECT_EQ(w.Player().GetHealth(), CPlayer::MAX_HEALTH);
  EXPECT_TRUE(w.Level().GetEffects().empty());
}

TEST_F(MechanismScenario, AWeaponPickUpLetsTheShotsBreakAStrongBox) {
  ASSERT_TRUE(w.WriteScript("Crate.lua", "IncVar(\"Crate\")\n"));
  ITEMS_FILE file;
  BOX_RECORD& box = file.boxes.emplace_back();
  box.requiredPower = 3;
  box.itemCount = 1;
  box.item = mechtest::Item(1, 1, "", mechtest::At(600.0f, 0.0f));
  box.scriptFile = "Crate.lua";
  box.pair = mechtest::At(600.0f, 0.0f);
  file.items.push_back(mechtest::Item(2, 3, "", mechtest::At(0.0f, -400.0f)));
  ASSERT_TRUE(LoadItems(file));
  CBox& crate = w.Level().GetBoxes().front();

  Fire(CWeapon::BLUE);
  w.Run(10);
  EXPECT_TRUE(crate.IsActive());
  EXPECT_TRUE(w.Level().GetBullets().empty());
  EXPECT_EQ(VarTableGet("Crate"), 0);

  w.PlacePlayer({0, -400, 0});
  w.Frame();
  EXPECT_EQ(w.Player().GetWeapon().GetPower(), 3u);
  w.PlacePlayer({0, 0, 0});
  w.Frame();  // the hand follows the figure
  Fire(CWeapon::RED);
  ASSERT_TRUE(w.RunUntil([&] { return !crate.IsActive(); }, 20));
  EXPECT_EQ(VarTableGet("Crate"), 1);
  ASSERT_EQ(w.Level().GetReleasedItems().size(), 1u);
}

TEST_F(MechanismScenario, AShotOpensAGrateAndRunsItsScriptOnce) {
  ASSERT_TRUE(w.WriteScript("Open.lua", "IncVar(\"Open\")\n"));
  ITEMS_FILE file;
  file.wireGrates.push_back(mechtest::Grate(mechtest::At(500.0f, 0.0f, 0.0f, 1.5707964f), "Open.lua"));
  ASSERT_TRUE(LoadItems(file));
  Fire(CWeapon::BLUE);
  ASSERT_TRUE(w.RunUntil([&] { return !w.Level().GetWireGrates().front().IsActive(); }, 20));
  const size_t tight = w.Level().GetCollision().GetObjectShapes(COL_TIGHT).size();
  Fire(CWeapon::BLUE);  // the next shot meets the opened grate's posts or passes
  w.Run(20);
  EXPECT_EQ(VarTableGet("Open"), 1);
  EXPECT_EQ(w.Level().GetCollision().GetObjectShapes(COL_TIGHT).size(), tight);
}

TEST_F(MechanismScenario, AShotFromBehindPushesABlockNineUnitsAway) {
  ITEMS_FILE file;
  PUSHABLE_RECORD& block = file.pushables.emplace_back();
  block.meshFile = "Pushable.X";
  block.length = 200.0f;
  block.width = 150.0f;
  block.startPoint = D3DXVECTOR3(400.0f, 0.0f, 0.0f);
  block.endPoint = D3DXVECTOR3(1400.0f, 0.0f, 0.0f);
  block.partsFile = "Pushable_Parts.txt";
  ASSERT_TRUE(LoadItems(file));
  CPushable& pushed = w.Level().GetPushables().front();
  Fire(CWeapon::RED);
  ASSERT_TRUE(w.RunUntil([&] { return pushed.GetSpeed() > 0.0f; }, 20));
  ASSERT_TRUE(w.RunUntil([&] { return pushed.GetSpeed() == 0.0f; }, 40));
  EXPECT_NEAR(pushed.GetPosition().x, 409.0f, 0.05f);
}

}  // namespace
