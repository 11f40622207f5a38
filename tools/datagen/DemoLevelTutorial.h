#pragma once
// The tutorial level's contents and the way through it: no enemies; the
// player walks through the corridor (which starts a hint timer), shoots a
// box and a barrel in the hall, picks up a weapon upgrade, works the
// terminal (which opens the exit) and walks into the exit circle in the
// last room. Four objectives: the box, the pick-up, the terminal and the
// exit; the level ends when the last of them is complete.
#include <string>

#include "tools/datagen/DemoLevelContent.h"
#include "tools/datagen/LevelLights.h"

namespace datagen {

namespace tutorial {

// Where things stand, on the layout's rooms: the start room, the corridor
// east of it, the hall with its two pillars, the corridor north and the
// last room.
constexpr float HALL_TRIGGER_X = 900.0f;   // corridor, y 0
constexpr float SHOOTING_SPOT_X = 1500.0f;  // hall, y 0: the box north, the barrel south
constexpr float BOX_Y = 420.0f;
constexpr float BARREL_Y = -420.0f;
constexpr float ITEM_X = 2100.0f;           // hall, y 0, between the pillars
constexpr float TERMINAL_X = 2600.0f, TERMINAL_Y = 400.0f;
constexpr float TERMINAL_SIZE = 200.0f;
constexpr float EXIT_X = 2200.0f, EXIT_Y = 2000.0f, EXIT_RADIUS = 150.0f;
// Seconds from the pick-up to its objective banner: a banner is up for
// 1.8 s (flash 0.7, hold 0.6, fade 0.5), and both banners share the
// screen's middle.
constexpr float ITEM_BANNER_DELAY = 2.0f;

inline DEMO_ROUTE_STEP Shoot(float x, float y, int shots, int colour, const char* note) {
  DEMO_ROUTE_STEP step = RouteStep(DEMO_ROUTE_STEP::SHOOT, x, y, note);
  step.shots = shots;
  step.colour = colour;
  return step;
}

// A message in the HUD with the commander's portrait.
inline std::string Message(const char* textId) {
  return std::string("GUIShowMessage(\"") + textId + "\", \"Portraits.png\", 0, 0, 89, 89)\n";
}

inline std::string Number(float v) { return std::to_string(static_cast<int>(v)); }

inline std::string LevelScript() {
  return "-- The tutorial level, loaded once: its files, objectives, light and\n"
         "-- tuning. Everything that changes while playing is the init script's.\n"
         "SetInitScript(\"LevelTutorial_Init.lua\")\n"
         "LoadTerrain(\"LevelTutorial_Terrain.X\")\n"
         "LoadCollision(\"LevelTutorial_Col0.dat\", COL_TIGHT)\n"
         "LoadCollision(\"LevelTutorial_Col1.dat\", COL_CHARACTER)\n"
         "LoadCollision(\"LevelTutorial_Col2.dat\", COL_PLAYER)\n"
         "LoadItems(\"LevelTutorial_Items.dat\")\n"
         "LoadTriggers(\"LevelTutorial_Triggers.dat\")\n"
         "AddObjective(\"BOX\", \"TXT_OBJ_TUTORIAL_BOX\")\n"
         "AddObjective(\"ITEM\", \"TXT_OBJ_TUTORIAL_ITEM\")\n"
         "AddObjective(\"TERMINAL\", \"TXT_OBJ_TUTORIAL_TERMINAL\")\n"
         "AddObjective(\"EXIT\", \"TXT_OBJ_TUTORIAL_EXIT\")\n"
         "-- Daylight from high above the start room; colours are 0 to 255.\n"
         "LightAddDirectional(\"Sun\")\n"
         "LightSetPos(\"Sun\", 0, 0, 1000)\n"
         "LightSetTarget(\"Sun\", 300, 500, 0)\n"
         "LightSetDiffuseColor(\"Sun\", 255, 250, 235)\n"
         "LightTurnOn(\"Sun\", true)\n"
         "PlayMP3(\"Music_Tutorial.ogg\")\n"
         "-- No enemies in the training hall.\n"
         "SetEnemyCount(0)\n"
         "LoadPlayer(\"Player.X\", 255, 255, 255)\n";
}

inline std::string InitScript() {
  return "-- Each attempt at the tutorial: the player at the start, the hint\n"
         "-- timer armed (the corridor starts it), the terminal's marker, the\n"
         "-- pick-up counter and the welcome message.\n"
         "SetPlayerPos(0, 0)\n"
         "SetPlayerRot(0)\n"
         "EnableWeapon(true)\n"
         "ClearTimerEvents(\"HINT\")\n"
         "RegisterTimerEvent(\"HINT\", 1.5, \"Tut_Hint.lua\")\n"
         "-- A marker stands on the floor: its middle half its size above it.\n"
         "GUIAddMarker(\"TERMINAL\", " +
         Number(TERMINAL_X) + ", " + Number(TERMINAL_Y) +
         ", 60, 120, \"Marker.tga\")\n"
         "GUIActivateMarker(\"TERMINAL\", true)\n"
         "GUIItemsShow(1)\n"
         "SetVar(\"TutorialPickUps\", 0)\n" +
         Message("TXT_MSG_TUTORIAL_WELCOME");
}

}  // namespace tutorial

inline DEMO_LEVEL_CONTENT TutorialContent(const LEVEL_LAYOUT& /*layout*/) {
  using namespace tutorial;
  DEMO_LEVEL_CONTENT c;
  // A weapon upgrade between the pillars of the hall.
  ITEM_RECORD item;
  item.kind = 2;
  item.subKind = 2;
  item.scriptFile = "Tut_Item.lua";
  item.pair = At(ITEM_X, 0.0f);
  c.items.items.push_back(item);
  // A box any shot breaks, north of the shooting spot.
  BOX_RECORD box;
  box.requiredPower = 1;
  box.itemCount = 0;
  box.scriptFile = "Tut_Box.lua";
  box.pair = At(SHOOTING_SPOT_X, BOX_Y);
  c.items.boxes.push_back(box);
  // A barrel south of it.
  BARREL_RECORD barrel;
  barrel.pair = At(SHOOTING_SPOT_X, BARREL_Y);
  c.items.barrels.push_back(barrel);

  using formats::TriggerFileRecord;
  c.triggers = {
      TriggerFileRecord::MakeCircle("Tut_Hall.lua", "HALL", HALL_TRIGGER_X, 0.0f, 0.0f, 150.0f),
      TriggerFileRecord::MakeRectangle("Tut_Terminal.lua", "TERMINAL", TERMINAL_X, TERMINAL_Y, 0.0f, TERMINAL_SIZE,
                                       TERMINAL_SIZE, TriggerFileRecord::Action),
      // Closed until the terminal is worked.
      TriggerFileRecord::MakeCircle("Tut_Goal.lua", "GOAL", EXIT_X, EXIT_Y, 0.0f, EXIT_RADIUS,
                                    TriggerFileRecord::WalkIn, false),
  };
  c.scripts = {
      {"LevelTutorial.lua", LevelScript() + FillLightScript()},
      {"LevelTutorial_Init.lua", InitScript()},
      {"Tut_Hall.lua",
       "-- The corridor: the hint about shooting comes a moment later.\n"
       "EnableTrigger(\"HALL\", false)\n"
       "StartTimer(\"HINT\")\n"},
      {"Tut_Hint.lua", "-- The hint timer's event.\n" + Message("TXT_MSG_TUTORIAL_SHOOT")},
      {"Tut_Box.lua",
       "-- The box broke.\n"
       "SetObjectiveComplete(\"BOX\", true)\n"
       "GUIShowObjectiveComplete()\n"},
      {"Tut_Item.lua",
       "-- The upgrade was picked up. The item shows its own banner where the\n"
       "-- objective's would be; the objective's follows once that one has gone.\n"
       "IncVar(\"TutorialPickUps\")\n"
       "GUIItemsAddOne()\n"
       "SetObjectiveComplete(\"ITEM\", true)\n"
       "ClearTimerEvents(\"ITEM_BANNER\")\n"
       "RegisterTimerEvent(\"ITEM_BANNER\", " +
           Number(ITEM_BANNER_DELAY) +
           ", \"Tut_ItemBanner.lua\")\n"
           "StartTimer(\"ITEM_BANNER\")\n"},
      {"Tut_ItemBanner.lua",
       "-- The pick-up's objective banner, after the weapon's.\n"
       "GUIShowObjectiveComplete()\n"},
      {"Tut_Terminal.lua",
       "-- The terminal opens the exit: its marker goes, the exit's comes.\n"
       "EnableTrigger(\"TERMINAL\", false)\n"
       "SetObjectiveComplete(\"TERMINAL\", true)\n"
       "GUIShowObjectiveComplete()\n"
       "EnableTrigger(\"GOAL\", true)\n"
       "GUIRemoveMarker(\"TERMINAL\")\n"
       "GUIAddMarker(\"EXIT\", " +
           Number(EXIT_X) + ", " + Number(EXIT_Y) + ", 100, 200, \"Marker.tga\")\n"
       "GUIActivateMarker(\"EXIT\", true)\n" +
           Message("TXT_MSG_TUTORIAL_EXIT")},
      {"Tut_Goal.lua",
       "-- The exit circle: the last objective.\n"
       "SetObjectiveComplete(\"EXIT\", true)\n"},
  };
  c.route = {
      RouteStep(DEMO_ROUTE_STEP::WALK, HALL_TRIGGER_X, 0.0f, "along the corridor"),
      RouteStep(DEMO_ROUTE_STEP::WALK, SHOOTING_SPOT_X, 0.0f, "into the hall"),
      Shoot(SHOOTING_SPOT_X, BOX_Y, 3, 0, "the box"),
      Shoot(SHOOTING_SPOT_X, BARREL_Y, 3, 1, "the barrel"),
      RouteStep(DEMO_ROUTE_STEP::WALK, ITEM_X, 0.0f, "the weapon upgrade"),
      RouteStep(DEMO_ROUTE_STEP::WALK, TERMINAL_X, 0.0f, "past the pillars"),
      RouteStep(DEMO_ROUTE_STEP::ACTION, TERMINAL_X, TERMINAL_Y, "the terminal"),
      RouteStep(DEMO_ROUTE_STEP::WALK, EXIT_X, TERMINAL_Y, "back to the corridor's mouth"),
      RouteStep(DEMO_ROUTE_STEP::WALK, EXIT_X, 1500.0f, "up the corridor"),
      RouteStep(DEMO_ROUTE_STEP::FINISH, EXIT_X, EXIT_Y, "the exit circle"),
  };
  return c;
}

}  // namespace datagen
