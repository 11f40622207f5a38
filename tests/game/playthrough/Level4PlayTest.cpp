// Level4 on the generated demo data: the route keeps clear of the walls, the
// level builds every object of its files, and the route followed dies once in
// the kill laser, restarts and finishes with every mechanism worked.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/demo/DemoLevelStart.h"
#include "game/playthrough/Level4Route.h"
#include "game/script/ScriptVariables.h"
#include "support/TempDir.h"
#include "tools/datagen/DemoLevelContents.h"
#include "tools/datagen/LevelLayouts.h"

using datagen::DEMO_ROUTE_STEP;
using scenario::AppScenario;

namespace {

using namespace level4test;

// One planned death, first, on the kill laser's line; the last step is the
// goal; the start stays the init script's place.
TEST(Level4Route, OneDeathInTheKillLaserFirstAndTheGoalLast) {
  const datagen::LEVEL_LAYOUT& layout = *datagen::FindLevelLayout("Level4");
  const std::vector<DEMO_ROUTE_STEP> route = datagen::DemoLevelContent(layout).route;
  ASSERT_FALSE(route.empty());
  EXPECT_EQ(std::count_if(route.begin(), route.end(),
                          [](const DEMO_ROUTE_STEP& s) { return s.kind == DEMO_ROUTE_STEP::HAZARD; }), 1);
  EXPECT_EQ(route.front().kind, DEMO_ROUTE_STEP::HAZARD);
  EXPECT_FLOAT_EQ(route.front().y, datagen::level4::KILL_LASER_Y);
  EXPECT_FLOAT_EQ(route.back().x, datagen::level4::GOAL_X);
  EXPECT_FLOAT_EQ(route.back().y, datagen::level4::GOAL_Y);
  EXPECT_FLOAT_EQ(layout.playerStart.x, datagen::level4::START_X);
  EXPECT_FLOAT_EQ(layout.playerStart.y, datagen::level4::START_Y);
}

TEST(Level4Route, EveryScriptTheLevelNamesExists) {
  const datagen::DEMO_LEVEL_CONTENT content = datagen::DemoLevelContent("Level4");
  const std::string data = std::string(KARVESSA_DEMO_DATA_DIR) + "/Scripts/";
  std::vector<std::string> named;
  const ITEMS_FILE& f = content.items;
  for (const ITEM_RECORD& r : f.items) named.push_back(r.scriptFile);
  for (const BOX_RECORD& r : f.boxes) named.push_back(r.scriptFile);
  for (const CIRCUIT_OBJECT_RECORD& r : f.circuitObjects)
    named.push_back(r.IsReceptor() ? r.receptor.scriptFile : r.generator.scriptFile);
  for (const DOOR_RECORD& r : f.doors) named.push_back(r.scriptFile);
  for (const OPEN_CLOSE_DOOR_RECORD& r : f.openCloseDoors) named.insert(named.end(), {r.openScript, r.closeScript});
  for (const WIRE_GRATE_RECORD& r : f.wireGrates) named.push_back(r.scriptFile);
  for (const TARGET_RECORD& r : f.targets) named.push_back(r.scriptFile);
  for (const LASER_RECORD& r : f.lasers) named.push_back(r.scriptFile);
  for (const LINK_RECORD& r : f.links)
    for (const NODE_REFERENCE* n : {&r.first, &r.second}) {
      if (const auto* g = std::get_if<NEW_GENERATOR_REFERENCE>(&n->target)) named.push_back(g->generator.scriptFile);
      if (const auto* g = std::get_if<NEW_RECEPTOR_REFERENCE>(&n->target)) named.push_back(g->receptor.scriptFile);
    }
  for (const formats::TriggerFileRecord& t : content.triggers) named.push_back(t.script);
  int scripted = 0;
  for (const std::string& name : named) {
    if (name.empty()) continue;
    ++scripted;
    EXPECT_FALSE(testsupport::ReadFileBytes(data + name).empty()) << name;
  }
  EXPECT_GE(scripted, 12);
  // The sections the level uses.
  const size_t sections[] = {f.items.size(), f.boxes.size(), f.circuitObjects.size(), f.doors.size(),
                             f.openCloseDoors.size(), f.roofs.size(), f.links.size(), f.wireGrates.size(),
                             f.targets.size(), f.pushables.size(), f.lasers.size()};
  for (size_t i = 0; i < std::size(sections); ++i) EXPECT_GT(sections[i], 0u) << "section " << i;
  // Enemy types 1, 2, 3 and 7 among the generators' options, in two groups.
  std::vector<int> types;
  std::vector<std::string> groups;
  for (const ENEMY_GENERATOR_RECORD& g : content.generators.generators) {
    for (const ENEMY_GENERATOR_OPTION& o : g.options)
      if (o.percent > 0) types.push_back(o.type);
    groups.push_back(g.group);
  }
  for (int type : {1, 2, 3, 7}) EXPECT_NE(std::find(types.begin(), types.end(), type), types.end()) << type;
  EXPECT_NE(std::find(groups.begin(), groups.end(), "HUB"), groups.end());
  EXPECT_NE(std::find(groups.begin(), groups.end(), "EAST"), groups.end());
}

// Starts Level4 the way a player reaches it, and three frames of play.
bool StartLevel4(AppScenario& a) {
  if (!a.Ready() || !ToLevel4(a)) return false;
  a.Run(3);
  return true;
}

TEST(Level4Play, TheLevelBuildsEveryObjectOfItsFilesWithNothingMissing) {
  AppScenario a(Level4Options());
  ASSERT_TRUE(StartLevel4(a)) << a.Problem();
  CLevel& l = Level();
  EXPECT_EQ(l.GetInitScript(), "Level4_Init.lua");
  EXPECT_EQ(l.GetTerrainMeshName(), "Level4_Terrain.X");
  // items, boxes, receptors, generators, circuit generators, connectors, links, doors, open/close doors, roofs,
  // wire grates, targets, pushables, lasers, enemy generators, circular and rectangular triggers, objectives
  EXPECT_EQ((std::vector<size_t>{l.GetItems().size(), l.GetBoxes().size(), l.GetReceptors().size(),
                                 l.GetGenerators().size(), l.GetCircuitGenerators().size(), l.GetConnectors().size(),
                                 l.GetLinks().size(), l.GetDoors().size(), l.GetOpenCloseDoors().size(),
                                 l.GetRoofs().size(), l.GetWireGrates().size(), l.GetTargets().size(),
                                 l.GetPushables().size(), l.GetLasers().size(), l.GetEnemyGenerators().size(),
                                 l.GetTriggerManager().CircularCount(), l.GetTriggerManager().RectangularCount(),
                                 l.GetObjectiveOrder().size()}),
            (std::vector<size_t>{2, 1, 1, 1, 1, 3, 4, 1, 2, 1, 1, 2, 1, 2, 6, 1, 1, 3}));
  EXPECT_EQ(l.GetWantedEnemyCount(), 3);
  EXPECT_TRUE(l.AreCircuitsEnabled());
  for (auto& entry : l.GetObjectiveMap()) {
    EXPECT_FALSE(entry.second.text.empty()) << entry.first;
    EXPECT_EQ(entry.second.text.find(L"TXT_"), std::wstring::npos) << entry.first;
  }
  for (CTarget& target : l.GetTargets()) EXPECT_NE(target.GetState(), CTarget::STATE_DOWN) << target.GetName();
  EXPECT_NEAR(Player().GetPosition().x, datagen::level4::START_X, 1.0f);
  EXPECT_NEAR(Player().GetPosition().y, datagen::level4::START_Y, 1.0f);
  EXPECT_EQ(l.GetMarkers().count("Exit"), 1u);
  EXPECT_EQ(demolevel::TroubleLines(a.LogLines()), std::vector<std::string>());
}

// The west beam burns 350 health a second while the player's sphere (50)
// touches the beam's 10-unit sphere: within 60 of its line, a band 120 wide.
// At the walk (550 a second, 0.016 s frames) a crossing straight across
// spends 120 / 550 s in it, about 76 of 300, a quarter; one on the
// diagonal that the plain movement keys walk under the starting camera
// spends 170 units, about 108, over a third.
TEST(Level4Play, CrossingTheWestBeamCostsAQuarterStraightAndOverAThirdOnTheDiagonal) {
  constexpr float kFrame = 0.016f;
  AppScenario::Options options = Level4Options();
  options.frameTime = kFrame;
  AppScenario a(options);
  ASSERT_TRUE(a.Ready() && demolevel::StartLevel(a, 1)) << a.Problem();
  routetest::RouteRun run(a, {kFrame, 1 << 30, 0.0f, 1});
  const float north = datagen::level4::KILL_LASER_Y + 150.0f, south = datagen::level4::KILL_LASER_Y - 120.0f;
  const float x = datagen::level4::START_X;
  ASSERT_TRUE(run.WalkTo(x, north));
  ASSERT_EQ(Player().GetHealth(), 300u) << "not yet in the beam";
  const auto cost = [&](float toX, float toY) {
    const uint32_t before = Player().GetHealth();
    EXPECT_TRUE(run.WalkTo(toX, toY));
    return int(before) - int(Player().GetHealth());
  };
  const int straight = cost(x, south);
  const int diagonal = cost(x + (north - south), north);
  EXPECT_GE(straight, 69) << "a quarter of 300";
  EXPECT_LE(straight, 81);
  EXPECT_GT(diagonal, 100) << "over a third of 300";
  EXPECT_LE(diagonal, 115);
  EXPECT_TRUE(Player().IsActive());
  // Standing in it kills within a second.
  ASSERT_TRUE(run.WalkTo(x, datagen::level4::KILL_LASER_Y));
  a.Run(int(1.0f / kFrame));
  EXPECT_FALSE(Player().IsActive());
}

TEST(Level4Play, TheRouteDiesOnceInTheKillLaserThenFinishesWithEveryMechanismWorked) {
  AppScenario a(Level4Options());
  ASSERT_TRUE(StartLevel4(a)) << a.Problem();
  CLevel& level = Level();
  const datagen::DEMO_LEVEL_CONTENT content = datagen::DemoLevelContent("Level4");
  RouteRunner run(a);
  const size_t lightsBefore = level.GetLights().Count();
  for (const DEMO_ROUTE_STEP& step : content.route) {
    const bool took = run.Take(step);
    ASSERT_TRUE(took) << step.note << "; state " << a.App().GetState();
    if (step.kind == DEMO_ROUTE_STEP::HAZARD) {
      // Back at the start with everything as it was, the targets up again.
      EXPECT_NEAR(Player().GetPosition().x, datagen::level4::START_X, 1.0f);
      EXPECT_EQ(level.GetObjectiveOrder().size(), 3u);
      EXPECT_EQ(level.GetLights().Count(), lightsBefore);
      EXPECT_EQ(level.GetMarkers().size(), 1u);
      a.Run(10);
      for (CTarget& target : level.GetTargets()) EXPECT_TRUE(target.IsActive()) << target.GetName();
    }
    if (step.kind == DEMO_ROUTE_STEP::FINISH) break;
  }
  EXPECT_EQ(run.deaths, 1);
  EXPECT_EQ(run.misfires, 0) << "the weapon ran dry or was off";
  EXPECT_GT(run.enemiesShotAt, 0);
  // Enemies came from the hub's generators, and from the east room's once the circuit woke them.
  int fromHub = 0, fromEast = 0;
  for (const D3DXVECTOR3& at : run.spawnPlaces) ++(at.x > 2000.0f ? fromEast : fromHub);
  EXPECT_LE(run.mostListed, 3u);
  EXPECT_GT(fromHub, 0);
  EXPECT_GT(fromEast, 0);
  EXPECT_FALSE(level.GetBoxes().front().IsActive());
  EXPECT_EQ(a.App().GetState(), CApp::STATE_LEVEL_OVER);
  EXPECT_TRUE(level.IsFinished());
  for (CTarget& target : level.GetTargets()) EXPECT_EQ(target.GetState(), CTarget::STATE_DOWN) << target.GetName();
  // Every mechanism's script ran: the crate, both targets, the pick-up, the door, the gates twice, the
  // generator, the grate and the laser.
  for (const auto& [name, value] : std::vector<std::pair<const char*, int>>{
           {"L4Crate", 1}, {"L4Targets", 2}, {"L4WeaponUp", 1}, {"DoorBroken", 1}, {"SlidingDoorOpen", 2},
           {"GeneratorFull", 1}, {"L4Grate", 1}, {"L4LaserOff", 1}})
    EXPECT_EQ(VarTableGet(name), value) << name;
  EXPECT_EQ(Player().GetWeapon().GetPower(), 2u);
  EXPECT_FALSE(level.GetDoors().front().IsActive());
  for (const char* name : {"NORTHGATE", "EASTGATE"}) {
    COpenCloseDoor* gate = Find<COpenCloseDoor>(level.GetOpenCloseDoors(), [name](COpenCloseDoor& d) { return d.GetName() == name; });
    ASSERT_NE(gate, nullptr) << name;
    EXPECT_EQ(gate->GetState(), 2u) << name;
  }
  EXPECT_TRUE(level.GetRoofs().front().IsVanishing());  // stays faded while its gate is open
  EXPECT_TRUE(level.GetGenerators().front().IsFull());
  EXPECT_EQ(std::count_if(level.GetConnectors().begin(), level.GetConnectors().end(),
                          [](CCircuitConnector& c) { return c.IsPlaced(); }), 2);
  EXPECT_TRUE(level.GetReceptors().front().IsReceptorActive());
  EXPECT_EQ(level.GetActiveReceptors(), 1);
  EXPECT_FALSE(level.GetWireGrates().front().IsActive());
  EXPECT_GT(level.GetPushables().front().GetPosition().x, 1900.0f);
  EXPECT_FALSE(level.GetLasers().at("NorthBeam").IsActive());
  for (const char* name : {datagen::level4::OBJECTIVE_TARGETS, datagen::level4::OBJECTIVE_CIRCUIT,
                                  datagen::level4::OBJECTIVE_EXIT})
    EXPECT_TRUE(level.GetObjectiveComplete(name)) << name;
  EXPECT_GT(Player().GetHealth(), 0u);
  for (const std::string& line : demolevel::TroubleLines(a.LogLines())) ADD_FAILURE() << line;
}

}  // namespace
