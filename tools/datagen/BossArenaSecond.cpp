// The second boss's hall, "Level12", kept beside the played levels: an
// entry room, a corridor and a great hall around the place where the level
// puts the boss, (-51, 6680). Its files:
//   Scripts/Level12.lua                 loads the level once (terrain,
//                                       collision, items, triggers, the
//                                       objective, the light, the player) and
//                                       names the init script;
//   Scripts/Level12_Init.lua            every attempt: the player at the door;
//   Scripts/Level12_MatarMonstruo.lua   the boss is dead: the objective done;
//   Scripts/Level12_Hall.lua            the player entered the hall;
//   Level12_Terrain.X, Level12_Col0..2.dat, Level12_Items.dat,
//   Level12_Triggers.dat.
#include <cstdio>
#include <string>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/LevelLights.h"
#include "tools/datagen/GameTexts.h"
#include "tools/datagen/LevelLayouts.h"
#include "tools/datagen/LevelTerrain.h"
#include "tools/formats/LevelFiles.h"
#include "tools/formats/TriggerFile.h"

namespace {

const datagen::LEVEL_LAYOUT& SecondBossLayout() {
  static const datagen::LEVEL_LAYOUT layout = {
      "Level12",
      {{-800, 3200, 700, 4000},      // entry room
       {-300, 4000, 200, 5100},      // corridor
       {-1600, 5100, 1500, 8300}},   // the hall
      {{-1100, 5800, -900, 6000},    // cover in the hall
       {800, 5800, 1000, 6000},
       {-1100, 7400, -900, 7600},
       {800, 7400, 1000, 7600}},
      {},
      {-51, 3500, 0},
      500.0f};
  return layout;
}

const char* const kLevelScript =
    "-- The guardian's hall: the level's files, its objective, light and player.\n"
    "LoadTerrain(\"Level12_Terrain.X\")\n"
    "LoadCollision(\"Level12_Col0.dat\", 0)\n"
    "LoadCollision(\"Level12_Col1.dat\", 1)\n"
    "LoadCollision(\"Level12_Col2.dat\", 2)\n"
    "LoadItems(\"Level12_Items.dat\")\n"
    "LoadTriggers(\"Level12_Triggers.dat\")\n"
    "AddObjective(\"Guardian\", \"TXT_LEVEL12_GUARDIAN\")\n"
    "-- A cold light from above the hall; colours are 0 to 255.\n"
    "LightAddDirectional(\"HallLight\")\n"
    "LightSetPos(\"HallLight\", -51, 4000, 1500)\n"
    "LightSetTarget(\"HallLight\", -51, 6680, 0)\n"
    "LightSetDiffuseColor(\"HallLight\", 230, 235, 255)\n"
    "LightTurnOn(\"HallLight\", true)\n"
    "LoadPlayer(\"Player.X\", 255, 255, 255)\n"
    "PlayMP3(\"Music_Level12.ogg\")\n"
    "SetInitScript(\"Level12_Init.lua\")\n";

const char* const kInitScript =
    "-- Every attempt: the player at the entry, facing the hall, unhurt.\n"
    "SetPlayerPos(-51, 3500)\n"
    "SetPlayerRot(1.5708)\n"
    "ResetPlayerHealth()\n"
    "ResetPlayerAbility()\n"
    "SetFlag(\"Level12_InHall\", false)\n";

const char* const kKillScript =
    "-- The guardian is dead.\n"
    "SetObjectiveComplete(\"Guardian\", true)\n";

const char* const kHallScript =
    "-- The player has entered the guardian's hall.\n"
    "SetFlag(\"Level12_InHall\", true)\n";

std::vector<datagen::GameText> SecondBossTexts() {
  return {{"TXT_LEVEL12_GUARDIAN", L"Destroy the guardian of the hall", L"Destruye al guardi\u00E1n de la sala",
           L"\u0423\u043D\u0438\u0447\u0442\u043E\u0436\u044C\u0442\u0435 \u0441\u0442\u0440\u0430\u0436\u0430"}};
}

COLLISION_FILE ClosedLoops(const std::vector<std::vector<D3DXVECTOR3>>& loops) {
  COLLISION_FILE file;
  for (const auto& loop : loops) file.shapes.push_back(formats::ClosedShape(loop));
  return file;
}

bool WriteSecondBossArena(const datagen::Output& out) {
  const datagen::LEVEL_LAYOUT& layout = SecondBossLayout();
  const auto walls = datagen::LayoutOutlines(layout);
  if (walls.empty()) {
    std::fprintf(stderr, "datagen: the walls of %s cannot be traced\n", layout.name.c_str());
    return false;
  }
  bool ok = out.Write(datagen::TerrainMeshName(layout),
                      formats::XFileText(datagen::TerrainMeshFile(layout)));
  ok &= out.Write(layout.name + "_Col0.dat", formats::CollisionFileBytes(ClosedLoops(walls)));
  ok &= out.Write(layout.name + "_Col1.dat", formats::CollisionFileBytes(ClosedLoops(
                                                 datagen::GrowIntoWalkable(walls, datagen::CHARACTER_WALL_MARGIN))));
  ok &= out.Write(layout.name + "_Col2.dat", formats::CollisionFileBytes(COLLISION_FILE()));
  ok &= out.Write(layout.name + "_Items.dat", formats::ItemsFileBytes(ITEMS_FILE()));
  using formats::TriggerFileRecord;
  ok &= out.Write(layout.name + "_Triggers.dat",
                  formats::TriggerFileBytes({TriggerFileRecord::MakeRectangle("Level12_Hall.lua", "HALL", -51.0f,
                                                                              5300.0f, 0.0f, 500.0f, 200.0f)}));
  ok &= out.Write("Scripts/Level12.lua", std::string(kLevelScript) + datagen::FillLightScript());
  ok &= out.Write("Scripts/Level12_Init.lua", std::string(kInitScript));
  ok &= out.Write("Scripts/Level12_MatarMonstruo.lua", std::string(kKillScript));
  ok &= out.Write("Scripts/Level12_Hall.lua", std::string(kHallScript));
  return ok;
}

}  // namespace

DATAGEN_TEXTS("boss-arena-second", SecondBossTexts);
DATAGEN_GROUP("boss-arena-second", WriteSecondBossArena);
