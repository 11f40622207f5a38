// The tutorial level on the generated demo data, started as the application
// starts it: what it loads, and its route followed by moving the player,
// firing through the level's spawner and pressing Action, which runs every
// script along the way and ends the level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/util/TextTable.h"
#include "frontend/hud/widgets/GUIMessageBox.h"
#include "game/demo/DemoLevelStart.h"
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

void WalkTo(AppScenario& a, float x, float y) { demolevel::WalkTo(a, x, y, FRAME); }

// One shot from the player's hand straight at the point, then frames for it
// to fly.
void ShootAt(AppScenario& a, float x, float y, int colour) {
  const D3DXVECTOR3 hand = Player().GetHand().WorldPosition();
  D3DXVECTOR3 direction(x - hand.x, y - hand.y, 0.0f);
  D3DXVec3Normalize(&direction, &direction);
  Player().SetShotDirection(direction);
  Level().AddBullet(colour, Player().GetWeapon().GetPower());
  a.Run(10);
}

bool ObjectiveComplete(const char* name) { return Level().GetObjectiveComplete(name); }

TEST(DemoLevelTutorial, LoadsEveryObjectWithoutTroubleAndNoEnemies) {
  AppScenario a(Options());
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(demolevel::StartLevel(a, 0));
  a.Run(20);
  CLevel& level = Level();
  EXPECT_EQ(level.GetInitScript(), "LevelTutorial_Init.lua");
  EXPECT_EQ(level.GetTerrainMeshName(), "LevelTutorial_Terrain.X");
  const ITEMS_FILE& items = datagen::DemoLevelContent("LevelTutorial").items;
  EXPECT_EQ(level.GetItems().size(), items.items.size());
  EXPECT_EQ(level.GetBoxes().size(), items.boxes.size());
  EXPECT_EQ(level.GetBarrels().size(), items.barrels.size());
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
  EXPECT_TRUE(level.GetEnemyGenerators().empty());
  EXPECT_TRUE(level.GetEnemies().empty());
  EXPECT_EQ(level.GetWantedEnemyCount(), 0);
  // The welcome message is up.
  EXPECT_TRUE(a.App().GetMessageBox()->IsVisible());
  EXPECT_EQ(a.App().GetMessageBox()->GetText(), Nembra::GetText("TXT_MSG_TUTORIAL_WELCOME"));
  EXPECT_EQ(demolevel::TroubleLines(a.LogLines()), std::vector<std::string>());
  EXPECT_TRUE(Player().IsActive());
  // The first level: the intro flag, a start comic, the PDA.
  const CLevelDescription& description = GetLevelDescription(0);
  EXPECT_TRUE(description.flagB);
  EXPECT_NE(description.startComic, L"null");
  EXPECT_TRUE(description.showPDA);
}

TEST(DemoLevelTutorial, TheRouteRunsEveryScriptAndFinishesTheLevel) {
  AppScenario a(Options());
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(demolevel::StartLevel(a, 0));
  a.Run(2);
  CLevel& level = Level();
  const std::vector<DEMO_ROUTE_STEP> route = datagen::DemoLevelContent("LevelTutorial").route;
  ASSERT_FALSE(route.empty());
  EXPECT_EQ(route.back().kind, DEMO_ROUTE_STEP::FINISH);
  for (const DEMO_ROUTE_STEP& step : route) {
    SCOPED_TRACE(step.note);
    ASSERT_EQ(a.App().GetState(), CApp::STATE_PLAYING);
    ASSERT_FALSE(level.IsFinished()) << "finished before the last step";
    switch (step.kind) {
      case DEMO_ROUTE_STEP::WALK:
      case DEMO_ROUTE_STEP::FINISH:
        WalkTo(a, step.x, step.y);
        break;
      case DEMO_ROUTE_STEP::ACTION:
        WalkTo(a, step.x, step.y);
        a.Tap(platform::DIK_SPACE);
        break;
      case DEMO_ROUTE_STEP::SHOOT:
        for (int shot = 0; shot < step.shots; ++shot) ShootAt(a, step.x, step.y, step.colour);
        break;
      default:
        FAIL() << "the tutorial has no fights, waits or hazards";
    }
    const std::string note = step.note;
    if (note == "along the corridor") {
      // The corridor started the hint timer; its event shows the hint.
      a.Run(int(2.0f / FRAME));
      EXPECT_EQ(a.App().GetMessageBox()->GetText(), Nembra::GetText("TXT_MSG_TUTORIAL_SHOOT"));
      EXPECT_TRUE(a.App().GetMessageBox()->IsVisible());
    } else if (note == std::string("the box")) {
      EXPECT_FALSE(level.GetBoxes().front().IsActive());
      EXPECT_TRUE(ObjectiveComplete("BOX"));
    } else if (note == std::string("the barrel")) {
      EXPECT_FALSE(level.GetBarrels().front().IsActive());
    } else if (note == std::string("the weapon upgrade")) {
      EXPECT_TRUE(ObjectiveComplete("ITEM"));
      EXPECT_EQ(VarTableGet("TutorialPickUps"), 1);
      EXPECT_EQ(Player().GetWeapon().GetPower(), 2u);
    } else if (note == std::string("the terminal")) {
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

// True when a disc of that radius around (x, y) lies on the walkable floor:
// its centre and 32 points of its rim inside a room and outside every pillar.
bool DiscOnFloor(const datagen::LEVEL_LAYOUT& layout, float x, float y, float radius) {
  const auto inside = [](const datagen::LAYOUT_BOX& b, float px, float py) {
    return px >= b.minX && px <= b.maxX && py >= b.minY && py <= b.maxY;
  };
  for (int k = -1; k < 32; ++k) {
    const float angle = float(k) * 6.2831853f / 32.0f;
    const float px = k < 0 ? x : x + radius * std::cos(angle), py = k < 0 ? y : y + radius * std::sin(angle);
    bool onFloor = false;
    for (const datagen::LAYOUT_BOX& room : layout.rooms) onFloor = onFloor || inside(room, px, py);
    for (const datagen::LAYOUT_BOX& pillar : layout.pillars) onFloor = onFloor && !inside(pillar, px, py);
    if (!onFloor) return false;
  }
  return true;
}

TEST(DemoLevelTutorial, TheRouteRunsInStraightLinesEightyUnitsClearOfWallsAndPillars) {
  const datagen::LEVEL_LAYOUT& layout = *datagen::FindLevelLayout("LevelTutorial");
  const datagen::DEMO_LEVEL_CONTENT content = datagen::DemoLevelContent(layout);
  D3DXVECTOR3 at = layout.playerStart;
  int legs = 0;
  for (const DEMO_ROUTE_STEP& step : content.route) {
    if (step.kind == DEMO_ROUTE_STEP::SHOOT) continue;  // aimed from where the player stands
    const D3DXVECTOR3 to(step.x, step.y, 0.0f);
    const D3DXVECTOR3 leg = to - at;
    const int samples = std::max(1, int(D3DXVec3Length(&leg) / 10.0f));
    for (int i = 0; i <= samples; ++i) {
      const D3DXVECTOR3 p = at + leg * (float(i) / float(samples));
      ASSERT_TRUE(DiscOnFloor(layout, p.x, p.y, 80.0f)) << step.note << " at " << p.x << ", " << p.y;
    }
    // Nothing solid of the items file stands in the way either.
    for (const BOX_RECORD& box : content.items.boxes) {
      const D3DXVECTOR3 c = box.pair.position;
      for (int i = 0; i <= samples; ++i) {
        const D3DXVECTOR3 d = at + leg * (float(i) / float(samples)) - c;
        EXPECT_GT(D3DXVec3Length(&d), CBox::RADIUS + CPlayer::RADIUS) << step.note;
      }
    }
    at = to;
    ++legs;
  }
  EXPECT_GE(legs, 5);
  // The shots: box and barrel each in the line of fire from the spot the
  // player stands on, nothing between.
  int shootingSteps = 0;
  for (const DEMO_ROUTE_STEP& step : content.route)
    if (step.kind == DEMO_ROUTE_STEP::SHOOT) {
      ++shootingSteps;
      EXPECT_GE(step.shots, 1);
    }
  EXPECT_EQ(shootingSteps, 2);
}

TEST(DemoLevelTutorial, TheExitDoesNothingBeforeTheTerminal) {
  AppScenario a(Options());
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(demolevel::StartLevel(a, 0));
  Player().SetPosition(2200.0f, 2000.0f, 0.0f);
  a.Run(5);
  EXPECT_FALSE(ObjectiveComplete("EXIT"));
  EXPECT_EQ(a.App().GetState(), CApp::STATE_PLAYING);
}

}  // namespace

namespace {

}  // namespace
