// Breakable doors taking shots by the polarity rule and breaking, and the
// doors the scripts open and close, through the player's shots and the
// level's frames.
#include <lua.hpp>

#include "game/mechanisms/MechanismsTwoFixture.h"

namespace {

using mechtwo::At;
const std::pair<int, int> REGISTERED(1, 1), UNREGISTERED(0, 0);

// An items file with the door entry under a roof of "Door.X".
ITEMS_FILE UnderRoof(const ROOF_DOOR_ENTRY& entry) {
  ITEMS_FILE file;
  file.roofs.emplace_back().meshFile = "Door.X";
  file.roofs.back().doors.push_back(entry);
  return file;
}

class BreakableDoorTest : public mechtwo::MechanismsTwoTest {
 protected:
  CDoor& LoadDoor(uint32_t needed, bool withRoof = false) {
    WriteCounter("DoorBroken.lua");
    DOOR_RECORD record;
    record.chargeNeeded = static_cast<int32_t>(needed);
    record.scriptFile = "DoorBroken.lua";
    record.descriptionFile = "Door_Desc.txt";
    record.pair = At(500.0f, 0.0f, 0.0f, D3DX_PI / 2.0f);  // across the x axis
    ROOF_DOOR_ENTRY entry;
    entry.kind = 0;
    entry.door = record;
    ITEMS_FILE file = withRoof ? UnderRoof(entry) : ITEMS_FILE();
    if (!withRoof) file.doors.push_back(record);
    EXPECT_TRUE(Load(file));
    return level->GetDoors().front();
  }
};

TEST_F(BreakableDoorTest, ShotSequencesForNeededZeroOneAndThree) {
  struct Case {
    uint32_t needed;
    std::vector<int> shots;     // colours, power 1
    size_t breakingShot;        // index of the shot that breaks it
  };
  const Case cases[] = {
      {0, {0, 1}, 1},              // the first only fixes red, the next blue breaks
      {1, {0, 0, 1}, 2},           // red, red (nothing), blue
      {3, {1, 0, 1, 1, 0}, 4},     // blue, red (nothing), blue, blue, then red breaks
      {3, {1, 0, 0, 1, 0, 1, 0}, 6},  // reds before the charge is full add nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.needed);
    level->Unload();
    CDoor& door = LoadDoor(c.needed);
    EXPECT_EQ(door.GetWidth(), 300.0f);
    EXPECT_EQ(door.GetDepth(), 40.0f);
    for (size_t i = 0; i < c.shots.size(); ++i) {
      EXPECT_TRUE(door.IsActive()) << "before shot " << i;
      Hit(c.shots[i]);
      EXPECT_TRUE(door.IsColourFixed());
      EXPECT_EQ(door.GetColour(), static_cast<uint32_t>(c.shots[0]));
      EXPECT_EQ(door.IsActive(), i < c.breakingShot) << "after shot " << i;
      if (i >= c.breakingShot) break;
    }
  }
}

TEST_F(BreakableDoorTest, TheBreakHidesTheRoofFreesThePathAndRunsTheScriptOnceThenRestartStandsItAgain) {
  CDoor& door = LoadDoor(1, true);
  CRoof& roof = level->GetRoofs().front();
  ASSERT_EQ(door.GetRoof(), &roof);
  EXPECT_TRUE(Blocks(door.GetPosition(), 0));
  EXPECT_TRUE(Blocks(door.GetPosition(), 1));
  Hit(0);
  Hit(1);
  EXPECT_FALSE(door.IsActive());
  EXPECT_TRUE(door.IsBreaking());
  EXPECT_TRUE(roof.IsVanishing());
  EXPECT_EQ(BoxRegistrations(door), UNREGISTERED);
  EXPECT_EQ(CountEffects<Nembra::CDoorExplosionEffect>(), 1u);
  EXPECT_EQ(Cues("DoorExplosion.wav"), 1);
  EXPECT_EQ(Count("DoorBroken.lua"), 1);
  // The fade (2048 a second) ends within the eighth of a second; then hidden.
  Steps(8);
  EXPECT_FALSE(door.IsBreaking());
  EXPECT_FALSE(door.GetSprite().IsVisible());
  // Further shots at the broken door pass; the script stays at one.
  Hit(0);
  EXPECT_EQ(Count("DoorBroken.lua"), 1);

  level->Restart();
  EXPECT_TRUE(door.IsActive());
  EXPECT_FALSE(door.IsColourFixed());
  EXPECT_EQ(door.GetCharge(), 0u);
  EXPECT_TRUE(door.GetSprite().IsVisible());
  EXPECT_EQ(door.GetSprite().GetRenderEffect(), nullptr);
  EXPECT_EQ(BoxRegistrations(door), REGISTERED);
  EXPECT_FALSE(roof.IsVanishing());
  EXPECT_TRUE(roof.GetSprite().IsVisible());
}

TEST_F(BreakableDoorTest, AnUnbrokenDoorsResetRegistersNothingAndDropsItsColour) {
  CDoor& door = LoadDoor(3);
  Hit(1);
  EXPECT_EQ(door.GetCharge(), 1u);
  const size_t tight = ObjectShapes(0), character = ObjectShapes(1);
  level->Restart();
  EXPECT_EQ(ObjectShapes(0), tight);
  EXPECT_EQ(ObjectShapes(1), character);
  EXPECT_EQ(Registrations(&door.GetCollisionBox(0), 0), 1);
  EXPECT_FALSE(door.IsColourFixed());
  EXPECT_EQ(door.GetCharge(), 0u);
}

TEST_F(BreakableDoorTest, AMissingDescriptionLeavesTheBoxesEmptyAndTheDoorStanding) {
  DOOR_RECORD record;
  record.descriptionFile = "NoSuchDoor.txt";
  record.pair = At(500.0f, 0.0f);
  ITEMS_FILE file;
  file.doors.push_back(record);
  ASSERT_TRUE(Load(file));
  CDoor& door = level->GetDoors().front();
  EXPECT_EQ(door.GetWidth(), 0.0f);
  EXPECT_EQ(door.GetMeshName(), "");
  EXPECT_TRUE(door.IsActive());
}

class OpenCloseDoorTest : public mechtwo::MechanismsTwoTest {
 protected:
  COpenCloseDoor& LoadGate(int32_t enabled = 1) {
    WriteCounter("GateOpen.lua");
    WriteCounter("GateClose.lua");
    OPEN_CLOSE_DOOR_RECORD record;
    record.name = "gate";
    record.openScript = "GateOpen.lua";
    record.closeScript = "GateClose.lua";
    record.descriptionFile = "SlidingDoor_Desc.txt";
    record.enabled = enabled;
    record.pair = At(500.0f, 0.0f, 0.0f, D3DX_PI / 2.0f);
    ROOF_DOOR_ENTRY entry;
    entry.kind = 1;
    entry.openClose = record;
    EXPECT_TRUE(Load(UnderRoof(entry)));
    return level->GetOpenCloseDoors().front();
  }
  // Frames until the state changes; -1 when it never does in 200.
  int FramesUntil(COpenCloseDoor& door, uint32_t state) {
    for (int frame = 1; frame <= 200; ++frame) {
      Step();
      if (door.GetState() == state) return frame;
    }
    return -1;
  }
};

TEST_F(OpenCloseDoorTest, OpeningTwiceRunsTheOpenScriptOnceAndTheAnimationEndsOpen) {
  COpenCloseDoor& gate = LoadGate();
  EXPECT_EQ(gate.GetName(), "GATE");
  EXPECT_EQ(gate.GetWidth(), 400.0f);
  EXPECT_EQ(gate.GetSprite().GetBoundingSphere().radius, 1000.0f);
  EXPECT_TRUE(Blocks(gate.GetPosition(), 1));
  gate.Open();
  gate.Open();
  EXPECT_EQ(Count("GateOpen.lua"), 1);
  EXPECT_EQ(gate.GetState(), COpenCloseDoor::STATE_OPENING);
  EXPECT_FALSE(Blocks(gate.GetPosition(), 0));
  EXPECT_FALSE(Blocks(gate.GetPosition(), 1));
  const int frames = FramesUntil(gate, COpenCloseDoor::STATE_OPEN);
  EXPECT_GT(frames, 30);  // about a second
  EXPECT_LT(frames, 80);
  gate.Open();
  EXPECT_EQ(Count("GateOpen.lua"), 1);
  // The gate gives its mesh back when it goes.
  const Nembra::CSkinnedMesh* mesh = gate.GetSprite().GetMesh();
  ASSERT_NE(mesh, nullptr);
  const std::string name = mesh->GetName();
  const uint32_t refs = mesh->GetRefCount();
  level->Unload();
  mesh = Nembra::g_pSkinnedMeshFactory->Find(name);
  EXPECT_EQ(mesh ? mesh->GetRefCount() : 0u, refs - 1);
}

TEST_F(OpenCloseDoorTest, ClosingWhileOpeningBlocksAtOnceAndTheRoofStaysHiddenUntilRestart) {
  COpenCloseDoor& gate = LoadGate();
  CRoof& roof = level->GetRoofs().front();
  gate.Open();
  Steps(5);
  EXPECT_TRUE(roof.IsVanishing() || !roof.GetSprite().IsVisible());
  gate.Close();
  EXPECT_EQ(gate.GetState(), COpenCloseDoor::STATE_CLOSING);
  EXPECT_EQ(Count("GateClose.lua"), 1);
  EXPECT_EQ(BoxRegistrations(gate), REGISTERED);
  EXPECT_GT(FramesUntil(gate, COpenCloseDoor::STATE_CLOSED), 0);
  Steps(40);
  EXPECT_TRUE(roof.IsVanishing());  // closing does not bring it back
  gate.Open();
  level->Restart();
  EXPECT_EQ(gate.GetState(), COpenCloseDoor::STATE_CLOSED);
  EXPECT_EQ(Registrations(&gate.GetCollisionBox(0), 0), 1);
  EXPECT_FALSE(roof.IsVanishing());
  EXPECT_TRUE(roof.GetSprite().IsVisible());
}

TEST_F(OpenCloseDoorTest, AClosingDoorKillsEnemiesInsideItsOutlineOnly) {
  COpenCloseDoor& gate = LoadGate();
  PlacePlayer(D3DXVECTOR3(0.0f, -300.0f, 0.0f));  // near enough to keep enemies
  gate.Open();
  ASSERT_GT(FramesUntil(gate, COpenCloseDoor::STATE_OPEN), 0);
  mechtwo::ENEMY_RECORD& inside = AddEnemy(D3DXVECTOR3(500.0f, 100.0f, 0.0f), 0);
  mechtwo::ENEMY_RECORD& outside = AddEnemy(D3DXVECTOR3(800.0f, 0.0f, 0.0f), 0);
  Steps(3);  // open: nobody is touched
  EXPECT_FALSE(inside.dying);
  gate.Close();
  Step();
  EXPECT_TRUE(inside.dying);
  EXPECT_EQ(inside.damage, 5u);
  EXPECT_EQ(outside.hits, 0);
  gate.Step();  // a dying enemy is not damaged again (the door's step alone:
  gate.Step();  // the level deletes the enemy once it has faded)
  EXPECT_EQ(inside.hits, 1);
}

TEST_F(OpenCloseDoorTest, ADisabledDoorLetsShotsThrough) {
  int framesOfShot[2] = {0, 0};
  for (int32_t enabled : {1, 0}) {
    SCOPED_TRACE(enabled);
    level->Unload();
    COpenCloseDoor& gate = LoadGate(enabled);
    EXPECT_EQ(gate.IsEnabled(), enabled == 1);
    Shoot(0, 1, mechtwo::ALONG_X);
    int frames = 0;
    while (!level->GetBullets().empty() && frames < 60) {
      Step();
      ++frames;
    }
    framesOfShot[enabled] = frames;
  }
  // The door at 500 stops the shot within 7 frames; without it the shot
  // flies its whole range.
  EXPECT_LE(framesOfShot[1], 7);
  EXPECT_GT(framesOfShot[0], framesOfShot[1] + 3);
}

}  // namespace

// The scripts reach the door by name in any case; unknown names and missing
// arguments change nothing.
TEST_F(OpenCloseDoorTest, ScriptsOpenCloseAndAskTheDoorByName) {
  COpenCloseDoor& gate = LoadGate();
  auto isOpen = [] {
    lua_State* state = g_GameScript.GetState();
    lua_getglobal(state, "open");
    const bool value = lua_toboolean(state, -1) != 0;
    lua_pop(state, 1);
    return value;
  };
  WriteScript("Ask.lua", "open = IsDoorOpen('Gate')\n");
  WriteScript("Open.lua", "OpenDoor('gate')\n");
  WriteScript("Close.lua", "CloseDoor('GATE')\n");
  WriteScript("Unknown.lua", "OpenDoor('nothing')\nCloseDoor()\nOpenDoor(42)\nopen = IsDoorOpen('nothing')\n");
  ASSERT_TRUE(g_GameScript.RunFile("Ask.lua"));
  EXPECT_FALSE(isOpen());
  ASSERT_TRUE(g_GameScript.RunFile("Unknown.lua"));
  EXPECT_EQ(gate.GetState(), COpenCloseDoor::STATE_CLOSED);
  EXPECT_FALSE(isOpen());
  ASSERT_TRUE(g_GameScript.RunFile("Open.lua"));
  EXPECT_EQ(gate.GetState(), COpenCloseDoor::STATE_OPENING);
  EXPECT_EQ(Count("GateOpen.lua"), 1);
  ASSERT_TRUE(g_GameScript.RunFile("Ask.lua"));
  EXPECT_FALSE(isOpen());  // opening is not open yet
  EXPECT_GT(FramesUntil(gate, COpenCloseDoor::STATE_OPEN), 0);
  ASSERT_TRUE(g_GameScript.RunFile("Ask.lua"));
  EXPECT_TRUE(isOpen());
  ASSERT_TRUE(g_GameScript.RunFile("Close.lua"));
  EXPECT_EQ(gate.GetState(), COpenCloseDoor::STATE_CLOSING);
  EXPECT_EQ(Count("GateClose.lua"), 1);
}
