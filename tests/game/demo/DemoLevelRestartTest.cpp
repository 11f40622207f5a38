// Each demo level started as the application starts it, then restarted three
// times with F1: each restart leaves the counts of the first start (a load
// left in the init script, or a light made again, shows as a count that grows).
#include <gtest/gtest.h>

#include <lua.hpp>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "game/demo/DemoLevelStart.h"
#include "game/script/GameScript.h"
#include "game/script/ScriptVariables.h"
#include "platform/Log.h"
#include "tools/datagen/DemoLevelContents.h"
#include "tools/datagen/LevelLayouts.h"

using demolevel::Counts;
using demolevel::CountLevel;
using demolevel::Describe;
using scenario::AppScenario;

namespace {

class DemoLevelRestart : public ::testing::TestWithParam<const char*> {};

TEST_P(DemoLevelRestart, ThreeRestartsWithF1KeepEveryCount) {
  const std::string name = GetParam();
  const uint32_t number = name == "LevelTutorial" ? 0 : (name == "Level4" ? 1 : 2);
  AppScenario::Options o;
  o.frameTime = 0.05f;
  AppScenario a(o);
  ASSERT_TRUE(a.Ready() && demolevel::StartLevel(a, number)) << a.Problem();
  EXPECT_EQ(demolevel::Level().GetInitScript(), name + "_Init.lua");
  const D3DXVECTOR3 start = datagen::FindLevelLayout(name)->playerStart;
  // Two frames of play after the start, as after each restart: the frame
  // the restart key goes down in and the one it comes up in.
  a.Run(2);
  const Counts first = CountLevel();
  EXPECT_GT(first.at("scene nodes but the passing ones"), 1u);
  EXPECT_GE(first.at("objectives"), 1u) << "a level ends when its objectives are complete";
  for (int restart = 1; restart <= 3; ++restart) {
    SCOPED_TRACE("restart " + std::to_string(restart));
    a.Run(30);
    // Hurt a little, moved, and a target down (Level4) before the key: the restart puts all back.
    CPlayer& player = g_pGameWorld->GetPlayer();
    player.Damage(10.0f, false);
    ASSERT_LT(player.GetHealth(), player.GetMaxHealth());
    player.SetPosition(start.x + 300.0f, start.y, start.z);
    if (!demolevel::Level().GetTargets().empty()) demolevel::Level().GetTargets().front().OnHit(CWeapon::RED, 2);
    a.Tap(platform::DIK_F1);
    ASSERT_EQ(a.App().GetState(), CApp::STATE_PLAYING);
    EXPECT_EQ(player.GetHealth(), player.GetMaxHealth()) << "F1 restarted the level";
    EXPECT_NEAR(player.GetPosition().x, start.x, 1.0f);
    EXPECT_NEAR(player.GetPosition().y, start.y, 1.0f);
    if (name == "Level4") {
      EXPECT_EQ(VarTableGet("L4Targets"), 0);
      EXPECT_FALSE(demolevel::Level().GetObjectiveComplete(datagen::level4::OBJECTIVE_TARGETS));
    }
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

// Level4 unloaded and started again 220 times. From start 60 on (the caches
// grown), the heap grows only by the device's record of each light ever made
// and by under 100 bytes a start (a sprite keeping its bone records kept 160).
TEST(DemoLevelStarts, TwoHundredStartsOfLevel4KeepTheHeapFlat) {
  AppScenario::Options o;
  o.frameTime = 0.05f;
  AppScenario a(o);
  ASSERT_TRUE(a.Ready() && demolevel::StartLevel(a, 1)) << a.Problem();
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
  const double warm = (heap.back() - heap[1] - perLight * (lights.back() - lights[1])) / (40.0 * (heap.size() - 2));
  std::printf("unload and start: %.2f ms; from start 60 on, %.0f bytes a start\n", 1000.0 * seconds / 220, warm);
  EXPECT_LT(warm, 100.0) << "the heap grows with every level start";
}

}  // namespace
