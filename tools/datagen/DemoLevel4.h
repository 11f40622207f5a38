#pragma once
// Level4's contents and the way through it. The player starts in the west
// room beside a kill laser, knocks down two pop-up targets, picks up a
// weapon upgrade and breaks the door of the west corridor; in the hub a
// terminal opens the north gate (its corridor under a roof); in the north
// room the player fills a generator and plugs two connectors in, and the
// lit receptor opens the east gate and wakes the east room's enemies; a
// wire grate, a pushable block and a destructible laser stand before the
// exit in the east room.
#include <array>
#include <string>

#include "tools/datagen/DemoLevelContent.h"
#include "tools/datagen/LevelLights.h"

namespace datagen {

namespace level4 {

constexpr float QUARTER_TURN = 1.5707964f;

// Places the route and the tests share.
constexpr float START_X = -2100.0f, START_Y = 0.0f;
constexpr float KILL_LASER_Y = -400.0f;           // the beam across the west room
constexpr float GOAL_X = 2750.0f, GOAL_Y = 0.0f;  // the exit circle in the east room
constexpr float GOAL_RADIUS = 150.0f;
constexpr int TARGET_COUNT = 2;
constexpr int WALL_CLEARANCE = 80;  // a route segment keeps this far from walls and pillars

// Objectives: names and their text ids.
constexpr const char* OBJECTIVE_TARGETS = "L4_TARGETS";
constexpr const char* OBJECTIVE_CIRCUIT = "L4_CIRCUIT";
constexpr const char* OBJECTIVE_EXIT = "L4_EXIT";

inline ITEMS_FILE Items() {
  ITEMS_FILE f;
  // A weapon upgrade on the way to the west door, a health pack in a corner
  // of the west room.
  ITEM_RECORD upgrade;
  upgrade.kind = 2;
  upgrade.subKind = 2;
  upgrade.scriptFile = "L4_WeaponUp.lua";
  upgrade.pair = At(-1800.0f, 0.0f);
  f.items.push_back(upgrade);
  ITEM_RECORD health;
  health.kind = 1;
  health.subKind = 2;
  health.pair = At(-2400.0f, 450.0f);
  f.items.push_back(health);

  // A crate by the hub's north-east pillar with a health pack inside.
  BOX_RECORD crate;
  crate.requiredPower = 1;
  crate.itemCount = 1;
  crate.item.kind = 1;
  crate.item.subKind = 1;
  crate.item.pair = At(800.0f, 800.0f);
  crate.scriptFile = "L4_Crate.lua";
  crate.pair = At(800.0f, 800.0f);
  f.boxes.push_back(crate);

  // The blue receptor of the north room stands alone; the links find it by id.
  CIRCUIT_OBJECT_RECORD receptor;
  receptor.flag = 1;
  receptor.receptor.colour = 1;
  receptor.receptor.id = 20;
  receptor.receptor.scriptFile = "L4_Receptor.lua";
  receptor.receptor.pair = At(500.0f, 2500.0f);
  f.circuitObjects.push_back(receptor);

  // The west corridor's door: charged by two shots of power 2 of one
  // colour, broken by one of the other.
  DOOR_RECORD door;
  door.chargeNeeded = 4;
  door.scriptFile = "DoorBroken.lua";
  door.descriptionFile = "Door_Desc.txt";
  door.pair = At(-1300.0f, 0.0f, QUARTER_TURN);
  f.doors.push_back(door);

  // The east gate, opened by the lit receptor.
  OPEN_CLOSE_DOOR_RECORD eastGate;
  eastGate.name = "EastGate";
  eastGate.openScript = "SlidingDoorOpen.lua";
  eastGate.closeScript = "SlidingDoorClose.lua";
  eastGate.descriptionFile = "SlidingDoor_Desc.txt";
  eastGate.enabled = 1;
  eastGate.pair = At(1200.0f, 0.0f, QUARTER_TURN);
  f.openCloseDoors.push_back(eastGate);

  // The roof over the north corridor and the gate into it, opened at the
  // hub's terminal.
  ROOF_RECORD roof;
  roof.meshFile = "Level4_Roof.X";
  ROOF_DOOR_ENTRY northGate;
  northGate.kind = 1;
  northGate.openClose.name = "NorthGate";
  northGate.openClose.openScript = "SlidingDoorOpen.lua";
  northGate.openClose.closeScript = "SlidingDoorClose.lua";
  northGate.openClose.descriptionFile = "SlidingDoor_Desc.txt";
  northGate.openClose.enabled = 1;
  northGate.openClose.pair = At(0.0f, 1100.0f);
  roof.doors.push_back(northGate);
  roof.pair = At(0.0f, 1300.0f);
  f.roofs.push_back(roof);

  // The circuit of the north room: a blue generator feeds a socket by the
  // west wall, that one a socket by the east wall, that one the receptor;
  // a third socket hangs off the first as a dead end.
  GENERATOR_RECORD generator;
  generator.polarity = 1;
  generator.capacity = 4;
  generator.id = 10;
  generator.scriptFile = "GeneratorFull.lua";
  generator.pair = At(-500.0f, 2500.0f);
  LINK_RECORD link;
  link.first = NODE_REFERENCE::NewGenerator(generator);
  link.second = NODE_REFERENCE::NewConnector(1, D3DXVECTOR3(-300.0f, 2100.0f, 0.0f));
  f.links.push_back(link);
  link.first = NODE_REFERENCE::Connector(1);
  link.second = NODE_REFERENCE::NewConnector(2, D3DXVECTOR3(300.0f, 2100.0f, 0.0f));
  f.links.push_back(link);
  link.first = NODE_REFERENCE::Connector(2);
  link.second = NODE_REFERENCE::Circuit(20);
  f.links.push_back(link);
  link.first = NODE_REFERENCE::Connector(1);
  link.second = NODE_REFERENCE::NewConnector(3, D3DXVECTOR3(-500.0f, 1900.0f, 0.0f));
  f.links.push_back(link);

  // The grate across the east corridor, behind the east gate.
  WIRE_GRATE_RECORD grate;
  grate.descriptionFile = "WireGrate_Desc.txt";
  grate.scriptFile = "L4_Grate.lua";
  grate.pair = At(1450.0f, 0.0f, QUARTER_TURN);
  f.wireGrates.push_back(grate);

  // The two pop-up targets of the west room, blue: red shots take them down.
  for (int i = 0; i < TARGET_COUNT; ++i) {
    TARGET_RECORD target;
    target.name = "T" + std::to_string(i + 1);
    target.colour = 1;
    target.hitLimit = 2;
    target.scriptFile = "L4_Target.lua";
    target.pair = At(-2450.0f, i == 0 ? 300.0f : -150.0f, QUARTER_TURN);
    f.targets.push_back(target);
  }

  // A block on rails in the south of the east room, pushed east by shots.
  PUSHABLE_RECORD block;
  block.meshFile = "Pushable.X";
  block.length = 200.0f;
  block.width = 150.0f;
  block.startOffset = 0.0f;
  block.firstName = "Block";
  block.secondName = "Rails";
  block.startPoint = D3DXVECTOR3(1900.0f, -400.0f, 0.0f);
  block.endPoint = D3DXVECTOR3(2900.0f, -400.0f, 0.0f);
  block.partsFile = "Pushable_Parts.txt";
  block.pair = At(1900.0f, -400.0f);
  f.pushables.push_back(block);

  // The kill laser across the south of the west room, always on; and a
  // hurting laser across the east room's north passage whose emitter a
  // shot destroys.
  LASER_RECORD kill;
  kill.name = "KillBeam";
  kill.initiallyOn = 1;
  kill.type = 1;
  kill.emitterVariant = 0;
  kill.initiallyStopped = 1;
  kill.farEnd = D3DXVECTOR3(-1640.0f, KILL_LASER_Y, 0.0f);
  kill.pair = At(-2560.0f, KILL_LASER_Y);
  f.lasers.push_back(kill);
  LASER_RECORD guard;
  guard.name = "NorthBeam";
  guard.initiallyOn = 1;
  guard.type = 0;
  guard.scriptFile = "L4_LaserOff.lua";
  guard.emitterVariant = 1;
  guard.initiallyStopped = 1;
  guard.initiallyIntermittent = 1;
  guard.durationsFile = "Laser_Durations.txt";
  guard.farEnd = D3DXVECTOR3(2300.0f, 200.0f, 0.0f);
  guard.pair = At(2300.0f, 760.0f);
  f.lasers.push_back(guard);
  return f;
}

// Generators: the south room, its two alcoves and the north room feed the
// hub; the east room's wakes when the circuit is lit.
inline ENEMY_GENERATOR_FILE Generators() {
  ENEMY_GENERATOR_FILE f;
  const auto add = [&f](float x, float y, std::array<ENEMY_GENERATOR_OPTION, 3> options, const char* group) {
    ENEMY_GENERATOR_RECORD g;
    g.options = options;
    g.position = D3DXVECTOR3(x, y, 0.0f);
    g.facing = QUARTER_TURN;
    g.group = group;
    f.generators.push_back(g);
  };
  add(0.0f, -2100.0f, {{{1, 50, 1}, {7, 40, 1}, {2, 0, 1}}}, "HUB");
  add(-800.0f, -2200.0f, {{{2, 60, 1}, {1, 40, 1}, {1, 0, 1}}}, "HUB");
  add(800.0f, -2200.0f, {{{7, 60, 1}, {2, 40, 1}, {2, 0, 1}}}, "HUB");
  add(0.0f, 2500.0f, {{{1, 60, 1}, {2, 40, 1}, {7, 0, 1}}}, "HUB");
  add(2700.0f, -650.0f, {{{3, 30, 1}, {1, 40, 1}, {7, 0, 1}}}, "EAST");
  add(2700.0f, 600.0f, {{{2, 50, 1}, {7, 50, 1}, {3, 0, 1}}}, "EAST");
  return f;
}

inline std::string LevelScript() {
  return "-- Level4, the east wing: everything the level holds is loaded here, once.\n"
         "SetInitScript(\"Level4_Init.lua\")\n"
         "LoadTerrain(\"Level4_Terrain.X\")\n"
         "LoadCollision(\"Level4_Col0.dat\", COL_TIGHT)\n"
         "LoadCollision(\"Level4_Col1.dat\", COL_CHARACTER)\n"
         "LoadCollision(\"Level4_Col2.dat\", COL_PLAYER)\n"
         "LoadItems(\"Level4_Items.dat\")\n"
         "LoadEnemyGenerators(\"Level4_Generators.dat\")\n"
         "LoadTriggers(\"Level4_Triggers.dat\")\n"
         "AddObjective(\"L4_TARGETS\", \"TXT_OBJ_L4_TARGETS\")\n"
         "AddObjective(\"L4_CIRCUIT\", \"TXT_OBJ_L4_CIRCUIT\")\n"
         "AddObjective(\"L4_EXIT\", \"TXT_OBJ_L4_EXIT\")\n"
         "-- Cold light from above, a warm lamp over the hub.\n"
         "LightAddDirectional(\"Sun\")\n"
         "LightSetPos(\"Sun\", 0, 0, 1000)\n"
         "LightSetTarget(\"Sun\", 400, 300, 0)\n"
         "LightSetDiffuseColor(\"Sun\", 200, 210, 235)\n"
         "LightTurnOn(\"Sun\", true)\n"
         "LightAddPoint(\"HubLamp\")\n"
         "LightSetPos(\"HubLamp\", 0, 0, 350)\n"
         "LightSetDiffuseColor(\"HubLamp\", 255, 190, 120)\n"
         "LightSetRange(\"HubLamp\", 1400)\n"
         "LightSetAttenuation(\"HubLamp\", 1, 0, 0)\n"
         "LightTurnOn(\"HubLamp\", true)\n"
         "PlayMP3(\"Music_Level4.ogg\")\n"
         "-- The circuit answers the Action key; at most three enemies at once.\n"
         "EnableCircuit(true)\n"
         "SetEnemyCount(3)\n"
         "LoadPlayer(\"Player.X\", 255, 255, 255)\n";
}

inline std::string InitScript() {
  return "-- Each attempt at Level4: the player at the start, the targets up, the\n"
         "-- east room asleep.\n"
         "SetPlayerPos(-2100, 0)\n"
         "SetPlayerRot(0)\n"
         "EnableWeapon(true)\n"
         "SetOrdinaryWeapon(false)\n"
         "SetWeaponCharge(1)\n"
         "SetVar(\"L4Targets\", 0)\n"
         "EnableEnemyGroup(\"HUB\", true)\n"
         "EnableEnemyGroup(\"EAST\", false)\n"
         "PopUpTarget(\"T1\")\n"
         "PopUpTarget(\"T2\")\n"
         "GUIAddMarker(\"Exit\", 2750, 0, 5, 150, \"Marker.tga\")\n"
         "GUIShowMessage(\"TXT_MSG_LEVEL4_START\", \"Portraits.png\", 0, 0, 89, 89)\n";
}

}  // namespace level4

inline DEMO_LEVEL_CONTENT Level4Content(const LEVEL_LAYOUT& /*layout*/) {
  using namespace level4;
  DEMO_LEVEL_CONTENT c;
  c.items = Items();
  c.generators = Generators();
  c.triggers = {
      formats::TriggerFileRecord::MakeCircle("L4_Goal.lua", "GOAL", GOAL_X, GOAL_Y, 0.0f, GOAL_RADIUS),
      formats::TriggerFileRecord::MakeRectangle("L4_Terminal.lua", "Terminal", 0.0f, 850.0f, 0.0f, 300.0f, 200.0f,
                                                formats::TriggerFileRecord::Action),
  };
  c.scripts = {
      {"Level4.lua", LevelScript() + FillLightScript()},
      {"Level4_Init.lua", InitScript()},
      {"L4_Target.lua",
       "-- A pop-up target fell; both down completes the objective.\n"
       "IncVar(\"L4Targets\")\n"
       "if GetVar(\"L4Targets\") >= 2 then\n"
       "  SetObjectiveComplete(\"L4_TARGETS\", true)\n"
       "  GUIShowObjectiveComplete()\n"
       "end\n"},
      {"L4_WeaponUp.lua", "-- The weapon upgrade of the west room was taken.\nIncVar(\"L4WeaponUp\")\n"},
      {"L4_Crate.lua", "-- The hub's crate broke.\nIncVar(\"L4Crate\")\n"},
      {"L4_Terminal.lua", "-- The hub's terminal opens the north gate.\nOpenDoor(\"NorthGate\")\n"},
      {"L4_Receptor.lua",
       "-- The circuit is lit: the east gate opens and the east room wakes.\n"
       "SetObjectiveComplete(\"L4_CIRCUIT\", true)\n"
       "GUIShowObjectiveComplete()\n"
       "OpenDoor(\"EastGate\")\n"
       "EnableEnemyGroup(\"EAST\", true)\n"},
      {"L4_Grate.lua", "-- The east corridor's grate was blown open.\nIncVar(\"L4Grate\")\n"},
      {"L4_LaserOff.lua", "-- The north passage's laser emitter was shot.\nIncVar(\"L4LaserOff\")\n"},
      {"L4_Goal.lua", "-- The exit of the east room.\nSetObjectiveComplete(\"L4_EXIT\", true)\n"},
  };

  const auto step = [&c](DEMO_ROUTE_STEP::Kind kind, float x, float y, const char* note) -> DEMO_ROUTE_STEP& {
    c.route.push_back(RouteStep(kind, x, y, note));
    return c.route.back();
  };
  const auto shoot = [&step](float x, float y, int shots, int colour, const char* note) {
    DEMO_ROUTE_STEP& s = step(DEMO_ROUTE_STEP::SHOOT, x, y, note);
    s.shots = shots;
    s.colour = colour;
  };
  const auto fight = [&step](float x, float y, float radius, float seconds, const char* note) {
    DEMO_ROUTE_STEP& s = step(DEMO_ROUTE_STEP::FIGHT, x, y, note);
    s.radius = radius;
    s.seconds = seconds;
  };
  const auto wait = [&step](float x, float y, float seconds, const char* note) {
    step(DEMO_ROUTE_STEP::WAIT, x, y, note).seconds = seconds;
  };
  step(DEMO_ROUTE_STEP::HAZARD, START_X, KILL_LASER_Y, "into the kill laser beside the start");
  shoot(-2450.0f, 300.0f, 2, 1, "the northern target, red shots");
  shoot(-2450.0f, -150.0f, 2, 1, "the southern target, red shots");
  step(DEMO_ROUTE_STEP::WALK, -1800.0f, 0.0f, "over the weapon upgrade");
  shoot(-1300.0f, 0.0f, 2, 0, "charge the west door blue");
  shoot(-1300.0f, 0.0f, 1, 1, "break it red");
  step(DEMO_ROUTE_STEP::WALK, -800.0f, 0.0f, "through the broken door into the hub");
  fight(-800.0f, 0.0f, 1500.0f, 12.0f, "the hub's enemies");
  step(DEMO_ROUTE_STEP::WALK, 0.0f, 0.0f, "the hub's middle");
  step(DEMO_ROUTE_STEP::ACTION, 0.0f, 850.0f, "the terminal opens the north gate");
  wait(0.0f, 850.0f, 2.0f, "the gate slides open");
  step(DEMO_ROUTE_STEP::WALK, 0.0f, 1800.0f, "under the roof into the north room");
  shoot(-500.0f, 2500.0f, 2, 0, "fill the blue generator");
  step(DEMO_ROUTE_STEP::ACTION, -300.0f, 2100.0f, "the first connector");
  step(DEMO_ROUTE_STEP::ACTION, 300.0f, 2100.0f, "the second connector lights the receptor");
  step(DEMO_ROUTE_STEP::WALK, 0.0f, 1800.0f, "back toward the north corridor");
  step(DEMO_ROUTE_STEP::WALK, 0.0f, 0.0f, "back into the hub");
  step(DEMO_ROUTE_STEP::WALK, 800.0f, 0.0f, "before the open east gate");
  shoot(800.0f, 800.0f, 1, 0, "break the crate by the pillar");
  shoot(1450.0f, 0.0f, 1, 0, "blow the grate open");
  step(DEMO_ROUTE_STEP::WALK, 1750.0f, 0.0f, "into the east room");
  fight(1750.0f, 0.0f, 1500.0f, 12.0f, "the east room's enemies");
  step(DEMO_ROUTE_STEP::WALK, 1750.0f, -400.0f, "behind the block");
  shoot(1900.0f, -400.0f, 1, 1, "push the block east");
  step(DEMO_ROUTE_STEP::WALK, 1750.0f, 400.0f, "before the north passage");
  shoot(2300.0f, 760.0f, 1, 0, "destroy the passage laser's emitter");
  step(DEMO_ROUTE_STEP::WALK, 2300.0f, 500.0f, "through the passage");
  step(DEMO_ROUTE_STEP::FINISH, GOAL_X, GOAL_Y, "the exit circle");
  return c;
}

}  // namespace datagen
