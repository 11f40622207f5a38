// The tutorial on the generated demo data, started as the application starts
// it: what it loads, and its route followed (the player moved, shots through
// the level's spawner, Action pressed), running every script to the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/util/TextTable.h"
#include "frontend/hud/GUIBanner.h"
#include "frontend/hud/widgets/GUIMessageBox.h"
#include "game/demo/DemoLevelStart.h"
#include "game/playthrough/RouteRun.h"
#include "game/level/LevelDescriptions.h"
#include "game/script/ScriptVariables.h"
#include "tools/datagen/DemoLevelContents.h"

using datagen::DEMO_ROUTE_STEP;
using demolevel::Level;
using scenario::AppScenario;

namespace {

constexpr float FRAME = 0.05f;

AppScenario::Options Options() {
  AppScenario::Options o;
  o.frameTime = FRAME;
  return o;
}

CPlayer& Player() { return g_pGameWorld->GetPlayer(); }

bool ObjectiveComplete(const char* name) { return Level().GetObjectiveComplete(name); }

TEST(DemoLevelTutorial, LoadsEveryObjectWithoutTroubleAndNoEnemies) {
  AppScenario a(Options());
  ASSERT_TRUE(a.Ready() && demolevel::StartLevel(a, 0)) << a.Problem();
  a.Run(20);
  CLevel& level = Level();
  EXPECT_EQ(level.GetInitScript(), "LevelTutorial_Init.lua");
  EXPECT_EQ(level.GetTerrainMeshName(), "LevelTutorial_Terrain.X");
  const ITEMS_FILE& items = datagen::DemoLevelContent("LevelTutorial").items;
  EXPECT_EQ((std::vector<size_t>{level.GetItems().size(), level.GetBoxes().size(), level.GetBarrels().size()}),
            (std::vector<size_t>{items.items.size(), items.boxes.size(), items.barrels.size()}));
  EXPECT_EQ(level.GetItems().size() + level.GetBoxes().size() + level.GetBarrels().size(), 3u);
  for (CItem& item : level.GetItems()) EXPECT_NE(item.GetSprite().GetMesh(), nullptr);
  for (CBox& box : level.GetBoxes()) EXPECT_NE(box.GetSprite().GetMesh(), nullptr);
  for (CBarrel& barrel : level.GetBarrels()) EXPECT_NE(barrel.GetSprite().GetMesh(), nullptr);
  EXPECT_EQ(level.GetTriggerManager().CircularCount(), 2u);
  EXPECT_EQ(level.GetTriggerManager().RectangularCount(), 1u);
  EXPECT_FALSE(level.GetTriggerManager().FindCircular("GOAL")->IsEnabled()) << "closed until the terminal";
  ASSERT_EQ(level.GetObjectiveOrder().size(), 4u);
  // An objective naming an unknown text would be reported "missing: text ..." (checked below).
  for (const auto& objective : level.GetObjectiveMap()) EXPECT_FALSE(objective.second.text.empty()) << objective.first;
  EXPECT_EQ(level.GetMarkers().count("TERMINAL"), 1u);
  EXPECT_EQ(level.GetLights().Count(), 4u) << "the sun and three fill lights";
  EXPECT_TRUE(level.GetEnemyGenerators().empty() && level.GetEnemies().empty());
  EXPECT_EQ(level.GetWantedEnemyCount(), 0);
  // The welcome message is up.
  EXPECT_TRUE(a.App().GetMessageBox()->IsVisible());
  EXPECT_EQ(a.App().GetMessageBox()->GetText(), Nembra::GetText("TXT_MSG_TUTORIAL_WELCOME"));
  EXPECT_EQ(demolevel::TroubleLines(a.LogLines()), std::vector<std::string>());
  // The player stands on the floor (not falling through), drawn.
  EXPECT_TRUE(Player().IsActive());
  EXPECT_NE(Player().GetSprite(), nullptr);
  const float z = Player().GetPosition().z;
  a.Run(10);
  EXPECT_NEAR(Player().GetPosition().z, z, 1.0f);
  EXPECT_EQ(a.App().GetState(), CApp::STATE_PLAYING);
  EXPECT_EQ(a.App().GetExitCode(), 0);
  EXPECT_GT(a.Device()->Stats().draws, 0u);
  // The first level: the intro flag, a start comic, the PDA.
  const CLevelDescription& description = GetLevelDescription(0);
  EXPECT_TRUE(description.flagB);
  EXPECT_NE(description.startComic, L"null");
  EXPECT_TRUE(description.showPDA);
}

TEST(DemoLevelTutorial, TheRouteRunsEveryScriptAndFinishesTheLevel) {
  AppScenario a(Options());
  ASSERT_TRUE(a.Ready() && demolevel::StartLevel(a, 0)) << a.Problem();
  a.Run(2);
  CLevel& level = Level();
  const std::vector<DEMO_ROUTE_STEP> route = datagen::DemoLevelContent("LevelTutorial").route;
  ASSERT_FALSE(route.empty());
  EXPECT_EQ(route.back().kind, DEMO_ROUTE_STEP::FINISH);
  // Each shot has half a second to fly.
  routetest::RouteRun run(a, {FRAME, 4, 900.0f, 10});
  for (const DEMO_ROUTE_STEP& step : route) {
    SCOPED_TRACE(step.note);
    ASSERT_EQ(a.App().GetState(), CApp::STATE_PLAYING);
    ASSERT_FALSE(level.IsFinished()) << "finished before the last step";
    ASSERT_TRUE(step.kind == DEMO_ROUTE_STEP::WALK || step.kind == DEMO_ROUTE_STEP::ACTION ||
                step.kind == DEMO_ROUTE_STEP::SHOOT || step.kind == DEMO_ROUTE_STEP::FINISH)
        << "the tutorial has no fights, waits or hazards";
    ASSERT_TRUE(run.Take(step));
    const std::string note = step.note;
    if (note == "along the corridor") {
      // The corridor started the hint timer; its event shows the hint.
      a.Run(int(2.0f / FRAME));
      EXPECT_EQ(a.App().GetMessageBox()->GetText(), Nembra::GetText("TXT_MSG_TUTORIAL_SHOOT"));
      EXPECT_TRUE(a.App().GetMessageBox()->IsVisible());
    } else if (note == "the box") {
      EXPECT_FALSE(level.GetBoxes().front().IsActive());
      EXPECT_TRUE(ObjectiveComplete("BOX"));
    } else if (note == "the barrel") {
      EXPECT_FALSE(level.GetBarrels().front().IsActive());
    } else if (note == "the weapon upgrade") {
      EXPECT_TRUE(ObjectiveComplete("ITEM"));
      EXPECT_EQ(VarTableGet("TutorialPickUps"), 1);
      EXPECT_EQ(Player().GetWeapon().GetPower(), 2u);
    } else if (note == "the terminal") {
      EXPECT_TRUE(ObjectiveComplete("TERMINAL"));
      EXPECT_TRUE(level.GetTriggerManager().FindCircular("GOAL")->IsEnabled());
      EXPECT_EQ(level.GetMarkers().count("EXIT"), 1u);
      EXPECT_EQ(a.App().GetMessageBox()->GetText(), Nembra::GetText("TXT_MSG_TUTORIAL_EXIT"));
    }
    EXPECT_TRUE(Player().IsActive());
  }
  EXPECT_TRUE(ObjectiveComplete("EXIT"));
  EXPECT_EQ(level.GetCompletedObjectives(), 4);
  EXPECT_EQ(a.App().GetState(), CApp::STATE_LEVEL_OVER);
  EXPECT_EQ(demolevel::TroubleLines(a.LogLines()), std::vector<std::string>());
}

// Both banners sit at the screen's middle. The weapon pick-up shows "WEAPON
// UPGRADED" at once (the item's own banner: 0.7 s flash, 0.6 s hold, 0.5 s
// fade) and "OBJECTIVE COMPLETE" only once that one has gone; along the
// whole route the two are never up together.
TEST(DemoLevelTutorial, ThePickUpShowsWeaponUpgradedThenObjectiveCompleteNeverBothAtOnce) {
  AppScenario a(Options());
  ASSERT_TRUE(a.Ready() && demolevel::StartLevel(a, 0)) << a.Problem();
  a.Run(2);
  const CGUIBanner& objective = *a.App().GetObjectiveBanner();
  const CGUIBanner& weapon = *a.App().GetWeaponUpBanner();
  routetest::RouteRun run(a, {FRAME, 4, 900.0f, 10});
  int frame = 0, together = 0, pickUp = -1, weaponFrom = -1, weaponTo = -1, objectiveFrom = -1, objectiveTo = -1;
  run.eachFrame = [&] {
    ++frame;
    if (pickUp < 0 && Player().GetWeapon().GetPower() == 2u) pickUp = frame;
    if (pickUp < 0) return;
    together += weapon.IsVisible() && objective.IsVisible() ? 1 : 0;
    if (weapon.IsVisible()) weaponTo = frame, weaponFrom = weaponFrom < 0 ? frame : weaponFrom;
    if (objective.IsVisible()) objectiveTo = frame, objectiveFrom = objectiveFrom < 0 ? frame : objectiveFrom;
  };
  for (const DEMO_ROUTE_STEP& step : datagen::DemoLevelContent("LevelTutorial").route) {
    ASSERT_TRUE(run.Take(step)) << step.note;
    if (std::string(step.note) == "the weapon upgrade") {
      ASSERT_GT(pickUp, 0);
      ASSERT_TRUE(run.Run(3.0f));  // the pick-up's banners play out before the terminal
    }
  }
  EXPECT_EQ(a.App().GetState(), CApp::STATE_LEVEL_OVER);
  EXPECT_EQ(together, 0) << "frames with both banners up";
  // The weapon banner from the pick-up's frame for 1.8 s, then the objective's.
  EXPECT_EQ(weaponFrom, pickUp);
  EXPECT_NEAR(float(weaponTo - weaponFrom + 1) * FRAME, 1.8f, 2.5f * FRAME);
  ASSERT_GT(objectiveFrom, weaponTo);
  EXPECT_LE(float(objectiveFrom - weaponTo) * FRAME, 0.5f) << "soon after";
  EXPECT_GT(objectiveTo, objectiveFrom);
}

TEST(DemoLevelTutorial, TheRouteShootsTheBoxAndTheBarrelFromWhereThePlayerStands) {
  int shootingSteps = 0;
  for (const DEMO_ROUTE_STEP& step : datagen::DemoLevelContent("LevelTutorial").route)
    if (step.kind == DEMO_ROUTE_STEP::SHOOT && ++shootingSteps) {
      EXPECT_GE(step.shots, 1) << step.note;
    }
  EXPECT_EQ(shootingSteps, 2);
}

TEST(DemoLevelTutorial, TheExitDoesNothingBeforeTheTerminal) {
  AppScenario a(Options());
  ASSERT_TRUE(a.Ready() && demolevel::StartLevel(a, 0)) << a.Problem();
  Player().SetPosition(2200.0f, 2000.0f, 0.0f);
  a.Run(5);
  EXPECT_FALSE(ObjectiveComplete("EXIT"));
  EXPECT_EQ(a.App().GetState(), CApp::STATE_PLAYING);
}

}  // namespace
