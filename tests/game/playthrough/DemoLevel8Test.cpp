// Level8 on the generated demo data, in the application as a player meets
// it: what its files build, and its route followed to the end, alive, with
// eight enemies alive at once, a gas puddle, the blue station filled, the
// wave fired and both nests' bombs gone off.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/util/TextTable.h"
#include "game/level/LevelDescriptions.h"
#include "game/demo/DemoLevelStart.h"
#include "game/playthrough/Level8Run.h"
#include "game/script/ScriptVariables.h"
#include "game/world/GameGlobals.h"
#include "tools/datagen/DemoLevelContents.h"

using datagen::DEMO_ROUTE_STEP;
using level8test::Level;
using level8test::Level8Run;
using level8test::Player;
using level8test::Problems;

namespace {

// The level's counts after a start or a restart; the enemies come and go with the frames.
demolevel::Counts Count() {
  demolevel::Counts c = demolevel::CountLevel();
  c.erase("enemies");
  return c;
}

// The horn-and-spit (any of 4 to 6) and the beam enemy (8) are both among
// the generators' options, with a share of the roll each.
TEST(DemoLevel8, TheGeneratorsOfferTheHornAndSpitAndTheBeamEnemy) {
  bool horn = false, beam = false;
  for (const ENEMY_GENERATOR_RECORD& g : datagen::DemoLevelContent("Level8").generators.generators)
    for (size_t i = 0; i < 2; ++i) {
      horn |= g.options[i].type >= 4 && g.options[i].type <= 6 && g.options[i].percent > 0;
      beam |= g.options[i].type == 8 && g.options[i].percent > 0;
    }
  EXPECT_TRUE(horn);
  EXPECT_TRUE(beam);
}

TEST(DemoLevel8, ItLoadsEveryObjectWithNothingMissing) {
  Level8Run run;
  ASSERT_TRUE(run.Start()) << run.a.Problem();
  run.Frame();
  EXPECT_EQ(Level().GetInitScript(), "Level8_Init.lua");
  EXPECT_EQ(Level().GetTerrainMeshName(), "Level8_Terrain.X");
  // items, stations, enemy generators, circular and rectangular triggers, objectives, markers
  EXPECT_EQ((std::vector<size_t>{Level().GetItems().size(), Level().GetWaveWeapons().size(),
                                 Level().GetEnemyGenerators().size(), Level().GetTriggerManager().CircularCount(),
                                 Level().GetTriggerManager().RectangularCount(), Level().GetObjectiveOrder().size(),
                                 Level().GetMarkers().size()}),
            (std::vector<size_t>{3, 2, 8, 2, 2, 3, 1}));
  EXPECT_EQ(Level().GetWantedEnemyCount(), 8);
  EXPECT_FLOAT_EQ(g_EnemyGeneratorRearmTime, 2.0f);
  EXPECT_EQ(Player().GetPosition(), D3DXVECTOR3(0.0f, -2600.0f, Player().GetPosition().z));
  EXPECT_TRUE(GetLevelDescription(2).flagA);
  EXPECT_EQ(GetLevelDescription(2).startComic, L"null");
  EXPECT_EQ(GetLevelDescription(2).endComic, L"ComicEnd.dat");
  EXPECT_EQ(Problems(run.a.LogLines()), std::vector<std::string>());
  // Its scripts name seven texts (each in every language: the data set's test); the station's names its key.
  size_t ids = 0;
  for (const auto& script : datagen::DemoLevelContent("Level8").scripts)
    for (size_t at = script.second.find("\"TXT_"); at != std::string::npos; at = script.second.find("\"TXT_", at + 1)) ++ids;
  EXPECT_EQ(ids, 7u);
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
  const demolevel::Counts first = Count();
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
    EXPECT_EQ(Count(), first);
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
