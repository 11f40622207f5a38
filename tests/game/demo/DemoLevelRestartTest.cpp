// Each demo level started as the application starts it, then restarted
// three times with F1: after every restart the level holds what it held
// after its first start, object for object, light for light, and the scene
// holds as many nodes. A load left in the init script, or a light made
// again by each start, shows here as a count that grows.
#include <gtest/gtest.h>

#include <lua.hpp>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>

#include "engine/scene/SceneManager.h"
#include "game/demo/DemoLevelStart.h"
#include "game/enemies/Enemy.h"
#include "game/script/GameScript.h"
#include "platform/Log.h"

using scenario::AppScenario;

namespace {

using Counts = std::map<std::string, size_t>;

size_t SceneNodes(Nembra::CSceneNode* node) {
  size_t n = 1;
  // Only what hangs in the scene: an element taken out of it counts nothing.
  if (node != Nembra::g_pSceneManager->GetRoot() && !node->GetParent()) return 0;
  for (Nembra::CSceneNode* child : node->GetChildren()) n += SceneNodes(child);
  return n;
}

template <class List>
size_t NodesOf(List& list) {
  size_t n = 0;
  for (auto& element : list) n += SceneNodes(&element);
  return n;
}

// The nodes of what comes and goes while a level plays: enemies (of the
// type a generator's roll chose), shots, effects, souls and slow-down
// zones. The rest of the scene is the level's own and must not change.
size_t PassingNodes(CLevel& level) {
  size_t n = 0;
  for (CEnemy* enemy : level.GetEnemies()) n += SceneNodes(enemy);
  for (CEntity* effect : level.GetEffects()) n += SceneNodes(effect);
  n += NodesOf(level.GetBullets()) + NodesOf(level.GetEnemy2Bullets()) + NodesOf(level.GetEnemy3Bullets()) +
       NodesOf(level.GetEnemy6Bullets()) + NodesOf(level.GetEnemy8Bullets()) + NodesOf(level.GetBoss0Bullets()) +
       NodesOf(level.GetBoss0AbilityBullets()) + NodesOf(level.GetBoss1Bullets()) + NodesOf(level.GetBoss1Lasers()) +
       NodesOf(level.GetSouls()) + NodesOf(level.GetSlowDowners());
  return n;
}

Counts CountLevel() {
  CLevel& level = demolevel::Level();
  Counts c;
  c["items"] = level.GetItems().size();
  c["boxes"] = level.GetBoxes().size();
  c["generators"] = level.GetGenerators().size();
  c["receptors"] = level.GetReceptors().size();
  c["doors"] = level.GetDoors().size();
  c["open/close doors"] = level.GetOpenCloseDoors().size();
  c["roofs"] = level.GetRoofs().size();
  c["links"] = level.GetLinks().size();
  c["connectors"] = level.GetConnectors().size();
  c["circuit generators"] = level.GetCircuitGenerators().size();
  c["wire grates"] = level.GetWireGrates().size();
  c["barrels"] = level.GetBarrels().size();
  c["targets"] = level.GetTargets().size();
  c["pushables"] = level.GetPushables().size();
  c["lasers"] = level.GetLasers().size();
  c["wave weapons"] = level.GetWaveWeapons().size();
  c["enemy generators"] = level.GetEnemyGenerators().size();
  c["enemies"] = level.GetEnemies().size();
  c["level lights"] = level.GetLights().Count();
  c["scene lights"] = Nembra::g_pSceneManager->GetLights().size();
  c["circular triggers"] = level.GetTriggerManager().CircularCount();
  c["rectangular triggers"] = level.GetTriggerManager().RectangularCount();
  c["objectives"] = level.GetObjectiveMap().size();
  c["objective order"] = level.GetObjectiveOrder().size();
  c["timers"] = level.GetTimers().size();
  c["markers"] = level.GetMarkers().size();
  c["named sprites"] = level.GetSprites().size();
  c["animated sprites"] = level.GetAnimatedSprites().size();
  for (int k = 0; k < 3; ++k) {
    c["static shapes, class " + std::to_string(k)] = level.GetCollision().GetStaticShapes(k).size();
    c["object shapes, class " + std::to_string(k)] = level.GetCollision().GetObjectShapes(k).size();
  }
  c["scene nodes but the passing ones"] = SceneNodes(Nembra::g_pSceneManager->GetRoot()) - PassingNodes(level);
  return c;
}

std::string Describe(const Counts& counts) {
  std::ostringstream out;
  for (const auto& entry : counts) out << entry.first << " " << entry.second << "; ";
  return out.str();
}

class DemoLevelRestart : public ::testing::TestWithParam<const char*> {};

TEST_P(DemoLevelRestart, ThreeRestartsWithF1KeepEveryCount) {
  const std::string name = GetParam();
  const uint32_t number = name == "LevelTutorial" ? 0 : (name == "Level4" ? 1 : 2);
  AppScenario::Options o;
  o.frameTime = 0.05f;
  AppScenario a(o);
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(demolevel::StartLevel(a, number));
  EXPECT_EQ(demolevel::Level().GetInitScript(), name + "_Init.lua");
  // Two frames of play after the start, as after each restart: the frame
  // the restart key goes down in and the one it comes up in.
  a.Run(2);
  const Counts first = CountLevel();
  EXPECT_GT(first.at("scene nodes but the passing ones"), 1u);
  EXPECT_GE(first.at("objectives"), 1u) << "a level ends when its objectives are complete";
  for (int restart = 1; restart <= 3; ++restart) {
    SCOPED_TRACE("restart " + std::to_string(restart));
    a.Run(30);
    // Hurt a little before the key: the restart heals the player.
    CPlayer& player = g_pGameWorld->GetPlayer();
    player.Damage(10.0f, false);
    ASSERT_LT(player.GetHealth(), player.GetMaxHealth());
    a.Tap(platform::DIK_F1);
    ASSERT_EQ(a.App().GetState(), CApp::STATE_PLAYING);
    EXPECT_EQ(player.GetHealth(), player.GetMaxHealth()) << "F1 restarted the level";
    const Counts now = CountLevel();
    EXPECT_EQ(now, first) << "after the start: " << Describe(first) << "\nafter the restart: " << Describe(now);
  }
  EXPECT_EQ(demolevel::TroubleLines(a.LogLines()), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(Levels, DemoLevelRestart, ::testing::Values("LevelTutorial", "Level4", "Level8"));

// Bytes in use on the heap, with the script's garbage collected and the
// allocator's caches given back first.
double Heap() {
  if (lua_State* state = g_GameScript.GetState()) lua_gc(state, LUA_GCCOLLECT, 0);
  malloc_trim(0);
  return double(mallinfo2().uordblks);
}

// Level4 unloaded and started again 220 times, as leaving a level and
// starting the next does. Once the caches have grown to their size (start
// 60), the heap grows by the device's record of each light made (light
// indices are never given out again, so the device keeps one per light ever
// made) and by less than a record kept per start: a sprite that kept its
// bone records kept about 160 bytes a start, the heap's own noise is about a
// third of that.
TEST(DemoLevelStarts, TwoHundredStartsOfLevel4KeepTheHeapFlat) {
  AppScenario::Options o;
  o.frameTime = 0.05f;
  AppScenario a(o);
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(demolevel::StartLevel(a, 1));
  // The scenario's own record of every log line would grow with the starts.
  platform::SetLogHook([](platform::LogLevel, const std::string&) {});
  std::vector<double> heap;
  std::vector<uint32_t> lights;
  double seconds = 0;
  for (int start = 1; start <= 220; ++start) {
    const auto begin = std::chrono::steady_clock::now();
    demolevel::Level().Unload();
    a.App().StartLevel();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    a.Frame();
    ASSERT_EQ(a.App().GetState(), CApp::STATE_PLAYING) << "start " << start;
    if (start % 40 == 20) {
      heap.push_back(Heap());
      lights.push_back(Nembra::g_pSceneManager->GetNextLightIndex());
    }
  }
  // What the device keeps for one light index, measured on 100 fresh ones.
  platform::headless::RecordingDevice* device = a.Device();
  const platform::D3DLIGHT9 light{};
  device->ClearLog();
  const double before = Heap();
  for (uint32_t i = 0; i < 100; ++i) {
    device->SetLight(1000000 + i, &light);
    device->LightEnable(1000000 + i, 1);
    device->LightEnable(1000000 + i, 0);
  }
  device->ClearLog();  // the call log is the device's, not the lights'
  const double perLight = (Heap() - before) / 100.0;
  for (size_t i = 1; i < heap.size(); ++i) {
    const double perStart = (heap[i] - heap[i - 1] - perLight * (lights[i] - lights[i - 1])) / 40.0;
    std::printf("starts %zu to %zu: %.0f bytes a start besides %u lights of %.0f bytes\n", 40 * i - 20, 40 * i + 20,
                perStart, lights[i] - lights[i - 1], perLight);
  }
  const double warm = (heap.back() - heap[1] - perLight * (lights.back() - lights[1])) / (40.0 * (heap.size() - 2));
  std::printf("unload and start: %.2f ms; from start 60 on, %.0f bytes a start\n", 1000.0 * seconds / 220, warm);
  EXPECT_LT(warm, 100.0) << "the heap grows with every level start";
}

}  // namespace
