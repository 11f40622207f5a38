// Level8 on the generated demo data, in the application as a player meets
// it: the files it loads and what they build, and its route followed step
// by step (the player moved directly at walking speed, shots fired through
// the weapon at the nearest enemy of the other colour, Action pressed
// through the input) to the level's end, alive, with eight enemies alive
// at once on the way, a gas puddle made, the blue station filled, the wave
// fired and both nests' bombs gone off.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "engine/scene/SceneManager.h"
#include "engine/util/TextTable.h"
#include "game/files/LevelFiles.h"
#include "game/level/LevelDescriptions.h"
#include "game/mechanisms/circuits/WaveWeapon.h"
#include "game/mechanisms/props/Item.h"
#include "game/playthrough/Level8Run.h"
#include "game/script/ScriptVariables.h"
#include "game/world/GameGlobals.h"
#include "platform/Files.h"
#include "tools/datagen/DemoLevelContents.h"
#include "tools/formats/LevelFiles.h"
#include "tools/formats/TriggerFile.h"

using datagen::DEMO_ROUTE_STEP;
using level8test::Level;
using level8test::Level8Run;
using level8test::Player;
using level8test::Problems;

namespace {

std::vector<uint8_t> DataFile(const std::string& name) {
  std::vector<uint8_t> bytes;
  platform::ReadWholeFile(std::string(KARVESSA_DEMO_DATA_DIR) + "/" + name, bytes);
  return bytes;
}


// What a start or a restart leaves in the level, shots, souls, effects and
// enemies (which come and go with the frames) aside.
struct LevelCounts {
  size_t objectives, circles, rectangles, lights, sceneLights, timers, markers, items, stations, generators,
      sprites, rootNodes;
  bool operator==(const LevelCounts& o) const {
    return std::tie(objectives, circles, rectangles, lights, sceneLights, timers, markers, items, stations, generators,
                    sprites, rootNodes) == std::tie(o.objectives, o.circles, o.rectangles, o.lights, o.sceneLights,
                                                    o.timers, o.markers, o.items, o.stations, o.generators,
                                                    o.sprites, o.rootNodes);
  }
};

LevelCounts Count() {
  CLevel& l = Level();
  const size_t passing = l.GetEnemies().size() + l.GetEffects().size() + l.GetSouls().size() +
                         l.GetSlowDowners().size() + l.GetBullets().size() + l.GetEnemy6Bullets().size() +
                         l.GetEnemy8Bullets().size() + (l.GetBomb() ? 1 : 0);
  return {l.GetObjectiveOrder().size(),
          l.GetTriggerManager().CircularCount(),
          l.GetTriggerManager().RectangularCount(),
          l.GetLights().Count(),
          Nembra::g_pSceneManager->GetLights().size(),
          l.GetTimers().size(),
          l.GetMarkers().size(),
          l.GetItems().size(),
          l.GetWaveWeapons().size(),
          l.GetEnemyGenerators().size(),
          l.GetSprites().size(),
          Nembra::g_pSceneManager->GetRoot()->GetChildren().size() - passing};
}

TEST(DemoLevel8, TheGeneratedFilesHoldTheLevelsContents) {
  const datagen::DEMO_LEVEL_CONTENT c = datagen::DemoLevelContent("Level8");
  EXPECT_EQ(DataFile("Level8_Items.dat"), formats::ItemsFileBytes(c.items));
  EXPECT_EQ(DataFile("Level8_Generators.dat"), formats::EnemyGeneratorFileBytes(c.generators));
  EXPECT_EQ(DataFile("Level8_Triggers.dat"), formats::TriggerFileBytes(c.triggers));
  for (const auto& script : c.scripts) {
    const std::vector<uint8_t> bytes = DataFile("Scripts/" + script.first);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), script.second) << script.first;
  }
  // The horn-and-spit (any of 4 to 6) and the beam enemy (8) are both
  // among the options, with a share of the roll each.
  bool horn = false, beam = false;
  for (const ENEMY_GENERATOR_RECORD& g : c.generators.generators)
    for (size_t i = 0; i < 2; ++i) {
      horn |= g.options[i].type >= 4 && g.options[i].type <= 6 && g.options[i].percent > 0;
      beam |= g.options[i].type == 8 && g.options[i].percent > 0;
    }
  EXPECT_TRUE(horn);
  EXPECT_TRUE(beam);
  // Every trigger stands on the floor of a room.
  const datagen::LEVEL_LAYOUT* layout = datagen::FindLevelLayout("Level8");
  ASSERT_NE(layout, nullptr);
  for (const formats::TriggerFileRecord& t : c.triggers) {
    bool inRoom = false;
    for (const datagen::LAYOUT_BOX& room : layout->rooms)
      inRoom |= t.x > room.minX && t.x < room.maxX && t.y > room.minY && t.y < room.maxY;
    EXPECT_TRUE(inRoom) << t.name;
  }
}

// Each leg of the route is a straight line that keeps 80 units from every
// wall and pillar: sampled along the leg, the player's circle of 80 lies
// on walkable cells of the layout.
TEST(DemoLevel8, TheRouteRunsInStraightLinesClearOfTheWalls) {
  const datagen::LEVEL_LAYOUT* layout = datagen::FindLevelLayout("Level8");
  ASSERT_NE(layout, nullptr);
  const datagen::LAYOUT_GRID grid = datagen::MakeLayoutGrid(*layout);
  const auto walkable = [&](float x, float y) {
    return grid.At(int(std::floor((x - grid.originX) / datagen::LAYOUT_CELL)),
                   int(std::floor((y - grid.originY) / datagen::LAYOUT_CELL)));
  };
  const datagen::DEMO_LEVEL_CONTENT c = datagen::DemoLevelContent("Level8");
  ASSERT_FALSE(c.route.empty());
  EXPECT_EQ(c.route.back().kind, DEMO_ROUTE_STEP::FINISH);
  D3DXVECTOR3 from = layout->playerStart;
  for (const DEMO_ROUTE_STEP& s : c.route) {
    if (s.kind == DEMO_ROUTE_STEP::SHOOT || s.kind == DEMO_ROUTE_STEP::FIGHT || s.kind == DEMO_ROUTE_STEP::WAIT)
      continue;
    const D3DXVECTOR3 to(s.x, s.y, 0.0f);
    for (int k = 0; k <= 100; ++k) {
      const D3DXVECTOR3 p = from + (to - from) * (float(k) / 100.0f);
      for (int a = 0; a < 16; ++a) {
        const float angle = float(a) * 2.0f * float(M_PI) / 16.0f;
        EXPECT_TRUE(walkable(p.x + 80.0f * std::cos(angle), p.y + 80.0f * std::sin(angle)))
            << s.note << " at " << p.x << "," << p.y;
      }
    }
    from = to;
  }
}

TEST(DemoLevel8, ItLoadsEveryObjectWithNothingMissing) {
  Level8Run run;
  ASSERT_TRUE(run.Start()) << run.a.Problem();
  run.Frame();
  EXPECT_EQ(Level().GetInitScript(), "Level8_Init.lua");
  EXPECT_EQ(Level().GetTerrainMeshName(), "Level8_Terrain.X");
  EXPECT_EQ(Level().GetItems().size(), 3u);
  EXPECT_EQ(Level().GetWaveWeapons().size(), 2u);
  EXPECT_EQ(Level().GetEnemyGenerators().size(), 8u);
  EXPECT_EQ(Level().GetTriggerManager().CircularCount(), 2u);
  EXPECT_EQ(Level().GetTriggerManager().RectangularCount(), 2u);
  EXPECT_EQ(Level().GetObjectiveOrder().size(), 3u);
  EXPECT_EQ(Level().GetWantedEnemyCount(), 8);
  EXPECT_EQ(Level().GetMarkers().size(), 1u);
  EXPECT_FLOAT_EQ(g_EnemyGeneratorRearmTime, 2.0f);
  const D3DXVECTOR3 p = Player().GetPosition();
  EXPECT_FLOAT_EQ(p.x, 0.0f);
  EXPECT_FLOAT_EQ(p.y, -2600.0f);
  EXPECT_TRUE(GetLevelDescription(2).flagA);
  EXPECT_EQ(GetLevelDescription(2).startComic, L"null");
  EXPECT_EQ(GetLevelDescription(2).endComic, L"ComicEnd.dat");
  EXPECT_EQ(Problems(run.a.LogLines()), std::vector<std::string>());
  // Every text the level's scripts name, in each of the three languages.
  std::vector<std::string> ids;
  for (const auto& script : datagen::DemoLevelContent("Level8").scripts)
    for (size_t at = script.second.find("\"TXT_"); at != std::string::npos; at = script.second.find("\"TXT_", at + 1))
      ids.push_back(script.second.substr(at + 1, script.second.find('"', at + 1) - at - 1));
  EXPECT_EQ(ids.size(), 7u);
  for (const wchar_t* language : {L"SPA", L"RUS", L"ENG"}) {
    Nembra::g_TextTable.clear();
    Nembra::CTextTable::Load(language);
    for (const std::string& id : ids) EXPECT_NE(Nembra::GetText(id), L">> ERROR : Unknown Text ID <<") << id;
  }
  EXPECT_EQ(Nembra::GetText("TXT_MSG_LEVEL8_STATION").find(L"@"), std::wstring::npos);
}

// The route under the play-through's seed and another: the enemies' kinds,
// colours and spawn points differ, the outcome does not.
class DemoLevel8Route : public ::testing::TestWithParam<uint32_t> {};

TEST_P(DemoLevel8Route, FinishesTheLevelThroughEightEnemiesAPuddleTheWaveAndTheBombs) {
  Level8Run run(GetParam());
  ASSERT_TRUE(run.Start()) << run.a.Problem();
  run.Follow(datagen::DemoLevelContent("Level8").route);
  EXPECT_FALSE(run.died) << "after " << run.steps.size() << " steps, the last: "
                         << (run.steps.empty() ? "" : run.steps.back());
  EXPECT_EQ(run.a.App().GetState(), CApp::STATE_LEVEL_OVER);
  EXPECT_EQ(run.mostAlive, 8);
  EXPECT_TRUE(run.horns);
  EXPECT_TRUE(run.beams);
  EXPECT_GT(run.gasBalls, 0);
  EXPECT_TRUE(run.puddles);
  EXPECT_TRUE(run.stationFull);
  EXPECT_TRUE(run.irradiated);
  EXPECT_EQ(run.bombs, 2);
  EXPECT_EQ(VarTableGet("L8_WaveFired"), 1);
  EXPECT_EQ(VarTableGet("L8_WeaponUp"), 1);  // the pick-up on the way ran its script
  EXPECT_EQ(Player().GetWeapon().GetPower(), 2u);
  for (const char* objective : {"L8_STATION", "L8_WAVE", "L8_CORE"})
    EXPECT_TRUE(Level().GetObjectiveComplete(objective)) << objective;
  EXPECT_EQ(Problems(run.a.LogLines()), std::vector<std::string>());
  std::printf("Level8, seed %u: %d frames, lowest health %u, %d shots, at most %d enemies alive\n", GetParam(),
              run.a.FrameNumber(), run.lowestHealth, run.shotsFired, run.mostAlive);
}

INSTANTIATE_TEST_SUITE_P(Seeds, DemoLevel8Route, ::testing::Values(1u, 2u));

// Three restarts with F1 after the wave: the same objects, lights,
// triggers, objectives, timers and scene nodes as after the first start,
// and every part of an attempt put back (console and goal closed, nests
// spawning, no radiation, the stations empty, the objectives open).
TEST(DemoLevel8, RestartsAfterTheWaveBringBackTheFirstStart) {
  Level8Run run;
  ASSERT_TRUE(run.Start()) << run.a.Problem();
  run.Frame();
  const LevelCounts first = Count();
  const std::vector<DEMO_ROUTE_STEP> route = datagen::DemoLevelContent("Level8").route;
  const auto wave = std::find_if(route.begin(), route.end(),
                                 [](const DEMO_ROUTE_STEP& s) { return s.kind == DEMO_ROUTE_STEP::ACTION; });
  ASSERT_NE(wave, route.end());
  run.Follow(route, size_t(wave - route.begin()) + 1);
  for (int i = 0; i < 250; ++i) run.Frame();  // the first bomb has gone off, the second is on its way
  ASSERT_TRUE(Level().GetObjectiveComplete("L8_WAVE"));
  ASSERT_NE(Level().GetBomb(), nullptr);
  for (int restart = 0; restart < 3; ++restart) {
    SCOPED_TRACE(restart);
    run.Press(platform::DIK_F1);
    EXPECT_TRUE(Count() == first);
    EXPECT_FALSE(Level().GetTriggerManager().FindCircular("GOAL")->IsEnabled());
    EXPECT_FALSE(Level().GetTriggerManager().FindCircular("L8_Console")->IsEnabled());
    for (CEnemyGenerator& g : Level().GetEnemyGenerators()) EXPECT_TRUE(g.IsEnabled());
    EXPECT_EQ(Player().GetRadiation(), 0.0f);
    EXPECT_EQ(VarTableGet("L8_WaveFired"), 0);
    for (CWaveWeapon& station : Level().GetWaveWeapons()) {
      EXPECT_TRUE(station.IsActive());
      EXPECT_EQ(station.GetCharge(), 0u);
    }
    for (const char* objective : {"L8_STATION", "L8_WAVE", "L8_CORE"})
      EXPECT_FALSE(Level().GetObjectiveComplete(objective)) << objective;
    EXPECT_EQ(Player().GetHealth(), 300u);
    EXPECT_EQ(Player().GetWeapon().GetPower(), 1u);
    for (CItem& item : Level().GetItems()) EXPECT_TRUE(item.IsActive());
    // The bomb's timer does not come back: no charge goes off after a restart.
    for (int i = 0; i < 500; ++i) run.Frame();
    EXPECT_EQ(Level().GetBomb(), nullptr);
  }
  // A restart puts the re-arm time back to its default; the south corridor
  // sets the level's own again.
  EXPECT_FLOAT_EQ(g_EnemyGeneratorRearmTime, 30.0f);
  run.WalkTo(0.0f, -1900.0f);
  EXPECT_FLOAT_EQ(g_EnemyGeneratorRearmTime, 2.0f);
  EXPECT_EQ(Problems(run.a.LogLines()), std::vector<std::string>());
}

}  // namespace
