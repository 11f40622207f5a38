#pragma once
// Level8's contents and the way through it: the last level of the demo and
// its busiest. The player comes up the south corridor into the round arena,
// where horn-and-spit and beam enemies pour out of the two nests (the
// alcoves the player cannot enter) and six arena spawn points, eight at a
// time. A blue wave-weapon station stands north-west of the arena's centre
// and a red one north-east; charging the blue one with blue shots arms the
// console between them, and firing the wave from it sends a ring of each
// colour out of both stations, which kills every enemy of the other
// colour it reaches. Charges then seal the nests one after the other (two
// bombs, far from the console) and the way north to the core opens; the
// north corridor and the core room are irradiated.
#include <array>
#include <string>

#include "tools/datagen/DemoLevelContent.h"
#include "tools/datagen/LevelLights.h"

namespace datagen {

namespace level8 {

// Where things stand (world units; the arena's centre is the origin).
constexpr float START_X = 0.0f, START_Y = -2600.0f;
constexpr float CONSOLE_X = 0.0f, CONSOLE_Y = 300.0f;  // the Action trigger, where the player fires from
constexpr float BLUE_STATION_X = -400.0f, BLUE_STATION_Y = 1100.0f;
constexpr float RED_STATION_X = 400.0f, RED_STATION_Y = 1100.0f;
constexpr float GOAL_X = 0.0f, GOAL_Y = 2650.0f;
constexpr float NEST_X = 1800.0f;  // the two nests stand at (-NEST_X, 0) and (NEST_X, 0)
constexpr int STATION_CAPACITY = 8;

inline ENEMY_GENERATOR_RECORD Generator(float x, float y, float facing, const char* group,
                                        std::array<ENEMY_GENERATOR_OPTION, 3> options) {
  ENEMY_GENERATOR_RECORD record;
  record.options = options;
  record.position = D3DXVECTOR3(x, y, 0.0f);
  record.facing = facing;
  record.group = group;
  return record;
}

// The level script, run once when the level is prepared: every load, the
// objectives, the lights and the enemy tuning.
inline std::string LevelScript() {
  return "-- Level8: the arena, the wave weapon and the core. Loads everything once;\n"
         "-- each attempt starts in Level8_Init.lua.\n"
         "SetInitScript(\"Level8_Init.lua\")\n"
         "LoadTerrain(\"Level8_Terrain.X\")\n"
         "LoadCollision(\"Level8_Col0.dat\", 0)\n"
         "LoadCollision(\"Level8_Col1.dat\", 1)\n"
         "LoadCollision(\"Level8_Col2.dat\", 2)\n"
         "LoadItems(\"Level8_Items.dat\")\n"
         "LoadEnemyGenerators(\"Level8_Generators.dat\")\n"
         "LoadTriggers(\"Level8_Triggers.dat\")\n"
         "AddObjective(\"L8_STATION\", \"TXT_L8_OBJ_STATION\")\n"
         "AddObjective(\"L8_WAVE\", \"TXT_L8_OBJ_WAVE\")\n"
         "AddObjective(\"L8_CORE\", \"TXT_L8_OBJ_CORE\")\n"
         "-- A pale light over the arena and a green glow in the core; colours are 0 to 255.\n"
         "LightAddDirectional(\"L8_Sky\")\n"
         "LightSetPos(\"L8_Sky\", 0, -1500, 1500)\n"
         "LightSetTarget(\"L8_Sky\", 0, 0, 0)\n"
         "LightSetDiffuseColor(\"L8_Sky\", 215, 225, 255)\n"
         "LightTurnOn(\"L8_Sky\", true)\n"
         "LightAddPoint(\"L8_Core\")\n"
         "LightSetPos(\"L8_Core\", 0, 2600, 300)\n"
         "LightSetDiffuseColor(\"L8_Core\", 90, 255, 120)\n"
         "LightSetRange(\"L8_Core\", 900)\n"
         "LightSetAttenuation(\"L8_Core\", 0.5, 0.0005, 0.0000005)\n"
         "LightTurnOn(\"L8_Core\", true)\n"
         "PlayMP3(\"Music_Level8.ogg\")\n"
         "-- Eight enemies alive at once; the horn-and-spit enemies come from across the arena.\n"
         "SetEnemyCount(8)\n"
         "SetEnemyGeneratorTimer(2)\n"
         "SetEnemyMaxDist(6, 1500)\n"
         "LoadPlayer(\"Player.X\", 255, 255, 255)\n";
}

// The init script, run at the start and on every restart: the player's
// place and view, and everything an attempt changes put back.
inline std::string InitScript() {
  return "-- Level8, each attempt: the player at the south end facing north, the nests\n"
         "-- and the arena spawning again, no radiation, no bomb on its way.\n"
         "SetPlayerPos(" + std::to_string(int(START_X)) + ", " + std::to_string(int(START_Y)) + ")\n"
         "SetPlayerRot(1.5708)\n"
         "SetCameraRot(3.1416)\n"
         "SetRadiation(0)\n"
         "EnableEnemyGroup(\"Nest\", true)\n"
         "EnableEnemyGroup(\"Arena\", true)\n"

         "ClearTimerEvents(\"L8_Bombs\")\n"
         "SetVar(\"L8_WaveFired\", 0)\n"
         "GUIAddMarker(\"L8_Station\", " + std::to_string(int(BLUE_STATION_X)) + ", " +
         std::to_string(int(BLUE_STATION_Y)) + ", 0, 150, \"Marker.tga\")\n"
         "GUIShowMessage(\"TXT_MSG_LEVEL8_ARENA\", \"Portraits.png\", 0, 0, 89, 89)\n";
}

}  // namespace level8

inline DEMO_LEVEL_CONTENT Level8Content(const LEVEL_LAYOUT& /*layout*/) {
  using namespace level8;
  DEMO_LEVEL_CONTENT c;

  // Two health packs on the way, taken only by a wounded player: a half one
  // at the console, a full one at the north corridor's mouth.
  ITEM_RECORD half;
  half.kind = 1;
  half.subKind = 2;
  half.scriptFile = "L8_Health.lua";
  half.pair = At(CONSOLE_X, CONSOLE_Y - 50.0f);
  ITEM_RECORD full = half;
  full.subKind = 3;
  full.pair = At(0.0f, 1350.0f);
  // The second weapon level (and full charges) at the arena's mouth, on the
  // way: shots of power 2 from there on.
  ITEM_RECORD weapon;
  weapon.kind = 2;
  weapon.subKind = 2;
  weapon.scriptFile = "L8_WeaponUp.lua";
  weapon.pair = At(0.0f, -1400.0f);
  c.items.items = {weapon, half, full};

  // The wave-weapon stations: the blue one is the one to charge.
  WAVE_WEAPON_RECORD blue;
  blue.colour = 1;
  blue.capacity = STATION_CAPACITY;
  blue.name = "L8_BlueStation";
  blue.scriptFile = "L8_StationFull.lua";
  blue.pair = At(BLUE_STATION_X, BLUE_STATION_Y, -0.785f);
  WAVE_WEAPON_RECORD red = blue;
  red.colour = 0;
  red.name = "L8_RedStation";
  red.scriptFile = "StationFull.lua";
  red.pair = At(RED_STATION_X, RED_STATION_Y, -2.356f);
  c.items.waveWeapons = {blue, red};

  // Nests: both kinds, the beam enemy first. The arena's spawn points mostly
  // send horn-and-spit enemies; the two north of the console fill while the
  // player is still in the south, so their spitters stand in view when the
  // player reaches it. (An enemy attacks from afar only while it is drawn:
  // its shot leaves at a key of an animation that runs on screen.)
  const std::array<ENEMY_GENERATOR_OPTION, 3> nest = {{{8, 50, 1}, {6, 50, 1}, {6, 0, 1}}};
  const std::array<ENEMY_GENERATOR_OPTION, 3> arena = {{{6, 60, 1}, {8, 40, 1}, {8, 0, 1}}};
  c.generators.generators = {
      Generator(-NEST_X, 0.0f, 0.0f, "Nest", nest),
      Generator(NEST_X, 0.0f, 3.1416f, "Nest", nest),
      Generator(-900.0f, -900.0f, 0.785f, "Arena", arena),
      Generator(900.0f, -900.0f, 2.356f, "Arena", arena),
      Generator(-1300.0f, -400.0f, 0.0f, "Arena", arena),
      Generator(1300.0f, -400.0f, 3.1416f, "Arena", arena),
      Generator(-700.0f, 1100.0f, -1.5708f, "Arena", arena),
      Generator(700.0f, 1100.0f, -1.5708f, "Arena", arena),
  };

  using Trigger = formats::TriggerFileRecord;
  c.triggers = {
      // The south corridor: the arena wakes up (again after a restart, which
      // puts the spawn points' re-arm time back to its default).
      Trigger::MakeRectangle("L8_Arena.lua", "L8_Arena", 0.0f, -1900.0f, 0.0f, 400.0f, 600.0f),
      // The console: armed when the blue station is full.
      Trigger::MakeCircle("L8_Wave.lua", "L8_Console", CONSOLE_X, CONSOLE_Y, 0.0f, 150.0f, Trigger::Action, false),
      // The north corridor and the core: the radiation rises.
      Trigger::MakeRectangle("L8_Radiation.lua", "L8_Radiation", 0.0f, 1900.0f, 0.0f, 400.0f, 600.0f),
      // The core: the level's goal, open once both nests are sealed.
      Trigger::MakeCircle("L8_Goal.lua", "GOAL", GOAL_X, GOAL_Y, 0.0f, 200.0f, Trigger::WalkIn, false),
  };

  c.scripts = {
      {"Level8.lua", LevelScript() + FillLightScript()},
      {"Level8_Init.lua", InitScript()},
      {"L8_Arena.lua",
       "-- Into the south corridor: the spawn points re-arm quickly.\n"
       "SetEnemyGeneratorTimer(2)\n"},
      {"L8_WeaponUp.lua", "-- The second weapon level was taken.\nIncVar(\"L8_WeaponUp\")\n"},
      {"L8_Health.lua", "-- A health pack was taken.\nIncVar(\"L8_Health\")\n"},
      {"L8_StationFull.lua",
       "-- The blue station is full: the console is armed.\n"
       "SetObjectiveComplete(\"L8_STATION\", true)\n"
       "GUIShowObjectiveComplete()\n"
       "GUIRemoveMarker(\"L8_Station\")\n"
       "GUIAddMarker(\"L8_Console\", " + std::to_string(int(CONSOLE_X)) + ", " + std::to_string(int(CONSOLE_Y)) +
           ", 0, 150, \"Marker.tga\")\n"
           "EnableTrigger(\"L8_Console\", true)\n"
           "GUIShowMessage(\"TXT_MSG_LEVEL8_STATION\", \"Portraits.png\", 89, 0, 89, 89)\n"},
      {"L8_Wave.lua",
       "-- The console: the wave goes out of both stations once; the nests stop\n"
       "-- spawning, a charge goes off in the west nest, the east one follows and\n"
       "-- then the core opens.\n"
       "if GetVar(\"L8_WaveFired\") == 0 then\n"
       "  SetVar(\"L8_WaveFired\", 1)\n"
       "  OpenWaveWeapon(\"L8_BlueStation\")\n"
       "  ShootWave()\n"
       "  EnableTrigger(\"L8_Console\", false)\n"
       "  GUIRemoveMarker(\"L8_Console\")\n"
       "  SetObjectiveComplete(\"L8_WAVE\", true)\n"
       "  GUIShowObjectiveComplete()\n"
       "  EnableEnemyGroup(\"Nest\", false)\n"
       "  DetonateBomb(" + std::to_string(int(-NEST_X)) + ", 0, 0)\n"
       "  ClearTimerEvents(\"L8_Bombs\")\n"
       "  RegisterTimerEvent(\"L8_Bombs\", 3.5, \"L8_SecondBomb.lua\")\n"
       "  RegisterTimerEvent(\"L8_Bombs\", 7, \"L8_NestsSealed.lua\")\n"
       "  StartTimer(\"L8_Bombs\")\n"
       "  GUIShowMessage(\"TXT_MSG_LEVEL8_NESTS\", \"Portraits.png\", 0, 0, 89, 89)\n"
       "end\n"},
      {"L8_SecondBomb.lua",
       "-- The east nest's charge, once the west one has gone off (a level holds\n"
       "-- one bomb at a time).\n"
       "DetonateBomb(" + std::to_string(int(NEST_X)) + ", 0, 0)\n"},
      {"L8_NestsSealed.lua",
       "-- Both nests are sealed: the way to the core opens.\n"
       "StopTimer(\"L8_Bombs\")\n"
       "EnableTrigger(\"GOAL\", true)\n"
       "GUIAddMarker(\"L8_Goal\", " + std::to_string(int(GOAL_X)) + ", " + std::to_string(int(GOAL_Y)) +
           ", 0, 200, \"Marker.tga\")\n"},
      {"L8_Radiation.lua",
       "-- The north corridor and the core are irradiated: a steady loss of health.\n"
       "SetRadiation(4)\n"
       "GUIShowMessageTimer(\"TXT_MSG_LEVEL8_RADIATION\", \"Portraits.png\", 89, 0, 89, 89, 4)\n"},
      {"L8_Goal.lua",
       "-- The core: out of the radiation, the level's last objective.\n"
       "SetRadiation(0)\n"
       "SetObjectiveComplete(\"L8_CORE\", true)\n"},
  };

  // The way through: up the south corridor, a fight at the arena's mouth,
  // the blue station charged from the console as soon as the player stands
  // there (eight enemies about), the wave fired at once, a wait at the
  // console while the nests' charges go off (the core opens 7 s after the
  // wave), what is left fought off, then north through the radiation to the
  // core. Fights reach as far as a shot flies.
  const auto step = RouteStep;
  DEMO_ROUTE_STEP fightMouth = step(DEMO_ROUTE_STEP::FIGHT, 0.0f, -1000.0f, "the arena's mouth");
  fightMouth.radius = 950.0f;
  fightMouth.seconds = 8.0f;
  DEMO_ROUTE_STEP charge = step(DEMO_ROUTE_STEP::SHOOT, BLUE_STATION_X, BLUE_STATION_Y, "the blue station");
  charge.shots = STATION_CAPACITY + 12;  // enemies may stand in the line of fire
  charge.colour = 0;  // the route's blue
  DEMO_ROUTE_STEP afterWave = step(DEMO_ROUTE_STEP::FIGHT, CONSOLE_X, CONSOLE_Y, "what the wave left");
  afterWave.radius = 950.0f;
  afterWave.seconds = 8.0f;
  DEMO_ROUTE_STEP seal = step(DEMO_ROUTE_STEP::WAIT, CONSOLE_X, CONSOLE_Y, "the nests' charges go off");
  seal.seconds = 7.5f;
  c.route = {
      step(DEMO_ROUTE_STEP::WALK, 0.0f, -1900.0f, "the south corridor"),
      step(DEMO_ROUTE_STEP::WALK, 0.0f, -1000.0f, "the arena's mouth"),
      fightMouth,
      step(DEMO_ROUTE_STEP::WALK, CONSOLE_X, CONSOLE_Y, "the console"),
      charge,
      step(DEMO_ROUTE_STEP::ACTION, CONSOLE_X, CONSOLE_Y, "fire the wave"),
      seal,
      afterWave,
      step(DEMO_ROUTE_STEP::WALK, 0.0f, 1350.0f, "the north corridor's mouth"),
      step(DEMO_ROUTE_STEP::WALK, 0.0f, 2000.0f, "the north corridor"),
      step(DEMO_ROUTE_STEP::FINISH, GOAL_X, GOAL_Y, "the core"),
  };
  return c;
}

}  // namespace datagen
