#pragma once
// The tutorial level's contents and the way through it.
#include "tools/datagen/DemoLevelContent.h"
#include "tools/datagen/LevelEnemyGenerators.h"

namespace datagen {

inline DEMO_LEVEL_CONTENT TutorialContent(const LEVEL_LAYOUT& layout) {
  DEMO_LEVEL_CONTENT c;
  c.generators = DemoLevelEnemyGenerators(layout);
  c.triggers = {
      formats::TriggerFileRecord::MakeCircle("Tut_Goal.lua", "GOAL", 1000.0f, 0.0f, 0.0f, 150.0f),
  };
  c.scripts = {
      {"LevelTutorial.lua",
       "-- The tutorial level: its init script loads the level and places the player.\n"
       "SetInitScript(\"LevelTutorial_Init.lua\")\n"},
      {"LevelTutorial_Init.lua",
       "-- Loads the tutorial level's files and the player.\n"
       "LoadTerrain(\"LevelTutorial_Terrain.X\")\n"
       "LoadCollision(\"LevelTutorial_Col0.dat\", 0)\n"
       "LoadCollision(\"LevelTutorial_Col1.dat\", 1)\n"
       "LoadCollision(\"LevelTutorial_Col2.dat\", 2)\n"
       "LoadItems(\"LevelTutorial_Items.dat\")\n"
       "LoadTriggers(\"LevelTutorial_Triggers.dat\")\n"
       "-- Daylight from high above the start room; colours are 0 to 255.\n"
       "LightAddDirectional(\"Sun\")\n"
       "LightSetPos(\"Sun\", 0, 0, 1000)\n"
       "LightSetTarget(\"Sun\", 300, 500, 0)\n"
       "LightSetDiffuseColor(\"Sun\", 255, 250, 235)\n"
       "LightTurnOn(\"Sun\", true)\n"
       "LoadPlayer(\"Player.X\", 255, 255, 255)\n"},
  };
  DEMO_ROUTE_STEP goal;
  goal.kind = DEMO_ROUTE_STEP::FINISH;
  goal.x = 1000.0f;
  goal.note = "the exit circle";
  c.route = {goal};
  return c;
}

}  // namespace datagen
