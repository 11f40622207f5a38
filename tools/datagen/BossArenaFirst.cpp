// The first boss arena, "LevelIntermedio": a square hall with four pillars
// around the places where the game puts its two guardians, (-200, -200)
// and (200, 200). The level script loads the hall once (terrain, the three
// collision classes, items, triggers, the objective, the light and the
// player) and names the init script, whose exact name makes the game
// bring the two guardians; the init script sets what each attempt starts
// from. Each guardian's death runs the kill script; the second one
// completes the objective.
#include <string>

#include "tools/datagen/BossArenaFirst.h"
#include "tools/datagen/LevelLights.h"
#include "tools/datagen/DataGen.h"
#include "tools/datagen/GameTexts.h"
#include "tools/datagen/LevelTerrain.h"
#include "tools/formats/LevelFiles.h"
#include "tools/formats/TriggerFile.h"

namespace datagen {

namespace {

const char* const kLevelScript =
    "-- The first boss arena: the hall, its light and the player, loaded once.\n"
    "LoadTerrain(\"LevelIntermedio_Terrain.X\")\n"
    "LoadCollision(\"LevelIntermedio_Col0.dat\", 0)\n"
    "LoadCollision(\"LevelIntermedio_Col1.dat\", 1)\n"
    "LoadCollision(\"LevelIntermedio_Col2.dat\", 2)\n"
    "LoadItems(\"LevelIntermedio_Items.dat\")\n"
    "LoadTriggers(\"LevelIntermedio_Triggers.dat\")\n"
    "AddObjective(\"Guardians\", \"TXT_OBJ_INTERMEDIO\")\n"
    "LightAddDirectional(\"Hall\")\n"
    "LightSetPos(\"Hall\", 0, 0, 1500)\n"
    "LightSetTarget(\"Hall\", 200, 400, 0)\n"
    "LightSetDiffuseColor(\"Hall\", 255, 240, 225)\n"
    "LightTurnOn(\"Hall\", true)\n"
    "LoadPlayer(\"Player.X\", 255, 255, 255)\n"
    "PlayMP3(\"Music_Intermedio.ogg\")\n"
    "-- This exact name brings the two guardians at every start and restart.\n"
    "SetInitScript(\"LevelIntermedio_Init.lua\")\n";

const char* const kInitScript =
    "-- Each attempt: the player at the south wall facing north, nobody down yet.\n"
    "SetVar(\"Intermedio_Down\", 0)\n"
    "SetFlag(\"Intermedio_Centre\", false)\n"
    "SetEnemyCount(0)\n"
    "SetPlayerPos(0, -1700)\n"
    "SetPlayerRot(1.5708)\n"
    "SetCameraRot(1.5708)\n";

const char* const kKillScript =
    "-- One guardian down; the second completes the objective.\n"
    "IncVar(\"Intermedio_Down\")\n"
    "if GetVar(\"Intermedio_Down\") >= 2 then\n"
    "  SetObjectiveComplete(\"Guardians\", true)\n"
    "end\n";

const char* const kCentreScript =
    "-- The player reached the middle of the hall.\n"
    "SetFlag(\"Intermedio_Centre\", true)\n";

COLLISION_FILE ClosedLoops(const std::vector<std::vector<D3DXVECTOR3>>& loops) {
  COLLISION_FILE file;
  for (const auto& loop : loops) file.shapes.push_back(formats::ClosedShape(loop));
  return file;
}

bool WriteFirstBossArena(const Output& out) {
  const LEVEL_LAYOUT& layout = FirstBossArenaLayout();
  const auto walls = LayoutOutlines(layout);
  if (walls.empty()) return false;
  bool ok = out.Write(TerrainMeshName(layout), formats::XFileText(TerrainMeshFile(layout)));
  ok &= out.Write(layout.name + "_Col0.dat", formats::CollisionFileBytes(ClosedLoops(walls)));
  ok &= out.Write(layout.name + "_Col1.dat",
                  formats::CollisionFileBytes(ClosedLoops(GrowIntoWalkable(walls, CHARACTER_WALL_MARGIN))));
  ok &= out.Write(layout.name + "_Col2.dat", formats::CollisionFileBytes(COLLISION_FILE()));
  ok &= out.Write(layout.name + "_Items.dat", formats::ItemsFileBytes(ITEMS_FILE()));
  ok &= out.Write(layout.name + "_Triggers.dat",
                  formats::TriggerFileBytes({formats::TriggerFileRecord::MakeCircle(
                      "LevelIntermedio_Centro.lua", "Centre", 0.0f, 0.0f, 0.0f, 300.0f)}));
  ok &= out.Write("Scripts/LevelIntermedio.lua", std::string(kLevelScript) + datagen::FillLightScript());
  ok &= out.Write(std::string("Scripts/") + FIRST_BOSS_ARENA_INIT, std::string(kInitScript));
  ok &= out.Write("Scripts/LevelIntermedio_MatarMonstruo.lua", std::string(kKillScript));
  ok &= out.Write("Scripts/LevelIntermedio_Centro.lua", std::string(kCentreScript));
  return ok;
}

std::vector<GameText> FirstBossArenaTexts() {
  return {{"TXT_OBJ_INTERMEDIO", L"Bring down both guardians", L"Derriba a los dos guardianes",
           L"\u0423\u043D\u0438\u0447\u0442\u043E\u0436\u044C\u0442\u0435 \u043E\u0431\u043E\u0438\u0445 "
           L"\u0441\u0442\u0440\u0430\u0436\u0435\u0439"}};
}

}  // namespace

DATAGEN_GROUP("boss-arena-first", WriteFirstBossArena);
DATAGEN_TEXTS("boss-arena-first", FirstBossArenaTexts);

}  // namespace datagen
