// Every script function under hostile arguments, and scripts that re-enter
// the game through the functions while the game is calling them.
#include <cmath>
#include <limits>
#include <random>
#include <set>

#include "game/demo/DemoLevelStart.h"
#include "game/script/ScriptBindingsSupport.h"
#include "game/script/ScriptVariables.h"
#include "platform/Files.h"
#include "tools/formats/TriggerFile.h"

namespace {

using scripttest::ScriptWorld;

bool ReturnsAValue(const std::string& name) {
  static const std::set<std::string> withResult = {"GetLanguage", "GetObjectiveComplete", "IsDoorOpen",
                                                   "GetTimerTime", "GetVar",      "GetFlag"};
  return withResult.count(name) != 0;
}

// Names of things a level holds (the furnished level's, the demo levels'),
// so that removals and changes reach real objects, and then reach them again
// once they are gone.
const char* const HELD_NAMES[] = {"S", "A", "M", "L", "T", "Laser", "DOOR1", "O", "G1", "Trig"};

// One of the twenty-two hostile arguments: nil, the booleans, twelve
// numbers, three strings, a table, a held name and a function.
void PushHostile(lua_State* state, unsigned kind) {
  static const std::string huge(1 << 20, 'x');
  const double inf = std::numeric_limits<double>::infinity();
  const double numbers[] = {0,   -1,   0.5,          1e12,          -1e12,        std::nan(""),
                            inf, -inf, 2147483647.0, -2147483648.0, 4294967296.0, -1e300};
  const unsigned k = kind % 22;
  if (k >= 3 && k <= 10) return lua_pushnumber(state, numbers[k - 3]);
  if (k >= 16 && k <= 19) return lua_pushnumber(state, numbers[k - 8]);
  switch (k) {
    case 0: lua_pushnil(state); break;
    case 1: case 2: lua_pushboolean(state, k == 1); break;
    case 11: lua_pushstring(state, ""); break;
    case 12: lua_pushstring(state, "x"); break;
    case 13: lua_pushlstring(state, huge.data(), huge.size()); break;
    case 14: lua_newtable(state); break;
    case 20: lua_pushstring(state, HELD_NAMES[(kind / 22) % (sizeof HELD_NAMES / sizeof *HELD_NAMES)]); break;
    default: lua_getglobal(state, "tostring"); break;
  }
}

// Calls every function 200 times with 0 to 10 hostile arguments. Each call
// must return normally with its one value or none and leave the stack level.
// Quiet, the log's lines are held back (a sanitizer's report with them).
void Sweep(uint32_t seed, bool quiet = true) {
  lua_State* state = g_GameScript.GetState();
  ASSERT_NE(state, nullptr);
  ASSERT_EQ(lua_gettop(state), 0);
  std::mt19937 random(seed);
  if (quiet) testing::internal::CaptureStderr();
  int failures = 0;
  for (const std::string& name : scripttest::ScriptFunctionNames()) {
    for (int call = 0; call < 200; ++call) {
      lua_getglobal(state, name.c_str());
      const int count = int(random() % 11);
      for (int i = 0; i < count; ++i) PushHostile(state, random());
      const int status = lua_pcall(state, count, LUA_MULTRET, 0);
      const int results = lua_gettop(state);
      if (status != 0 || results != (ReturnsAValue(name) ? 1 : 0)) {
        ++failures;
        ADD_FAILURE() << name << " call " << call << " status " << status << " results " << results;
      }
      lua_settop(state, 0);
      if (failures > 5) break;
    }
  }
  if (quiet) testing::internal::GetCapturedStderr();
  EXPECT_EQ(lua_gettop(state), 0);
}

// A level with one object of each kind the functions reach.
void Furnish(ScriptWorld& s) {
  CLevel& level = s.w.Level();
  level.GetOpenCloseDoors().emplace_back().SetName("DOOR1");
  level.GetTargets().emplace_back().SetName("T1");
  level.GetGenerators().emplace_back();
  level.GetWaveWeapons().emplace_back();
  level.GetEnemyGenerators().emplace_back().SetGroup("G1");
  const auto triggers = formats::TriggerFileBytes(
      {formats::TriggerFileRecord::MakeCircle("x.lua", "Trig", 0, 0, 0, 100.0f)});
  ASSERT_TRUE(platform::WriteFileAtomic(Nembra::g_DataDirectory + "Trig.dat", triggers));
  platform::ClearPathCache();
  ASSERT_TRUE(s.Run("CreateTimer(\"T\")\nLaserTurnOn(\"Laser\", true)\nLightAddSpot(\"L\")\n"
                    "AddSprite(\"S\", \"Player.X\", 0, 0, 0, 0)\n"
                    "AddAnimatedSprite(\"A\", \"Player.X\", 0, 0, 0, 0, \"Idle\", true, \"\")\n"
                    "GUIAddMarker(\"M\", 0, 0, 0, 10, \"Marker.png\")\nAddObjective(\"O\", \"k\")\n"
                    "LoadTriggers(\"Trig.dat\")"));
}

TEST(ScriptBindingsSweep, HostileArgumentsWithALevelAfterUnloadAndWithoutAWorld) {
  {
    ScriptWorld s;
    ASSERT_TRUE(s.w.Ready()) << s.w.Problem();
    Furnish(s);
    Sweep(1);
    s.w.Run(5);  // the world survives what the sweep left behind
    s.w.Level().Unload();
    Sweep(2);
    s.w.Run(5);
  }
  ASSERT_EQ(g_pGameWorld, nullptr);
  ASSERT_TRUE(g_GameScript.Open());
  Sweep(3);
  g_GameScript.Close();
  g_ScriptVars.clear();
  g_ScriptFlags.clear();
}

// The same sweep in the application itself, with its real HUD, PDA and front
// end: at the main menu (no world yet), in Level4 and after its unload, each
// followed by frames played and drawn. The log stays on, so that the
// sanitizer build's report of a call that went wrong is seen.
TEST(ScriptBindingsSweep, HostileArgumentsInTheApplicationAtTheMenuInALevelAndAfterItsUnload) {
  scenario::AppScenario a;
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(apptest::ToMainMenu(a));
  Sweep(4, false);
  a.Run(5);
  ASSERT_FALSE(a.Ended());
  ASSERT_TRUE(demolevel::StartLevel(a, 1));
  Sweep(5, false);
  a.Run(5);
  ASSERT_NE(g_pGameWorld, nullptr);
  g_pGameWorld->GetLevel().Unload();
  Sweep(6, false);
  a.Run(5);
  EXPECT_FALSE(a.Ended());
  g_ScriptVars.clear();
  g_ScriptFlags.clear();
}

// A world whose variables start and end empty.
class ScriptReentry : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s.w.Ready()) << s.w.Problem();
    g_ScriptVars.clear();
  }
  void TearDown() override { g_ScriptVars.clear(); }
  ScriptWorld s;
};

TEST_F(ScriptReentry, AScriptOfHostileCallsRunsToItsEnd) {
  std::string code;
  for (const std::string& name : scripttest::ScriptFunctionNames())
    code += name + "(nil, {}, 0/0, 1/0, -1/0, print, \"\", 1e12, -1e12, true)\n" + name + "()\n" + name +
            "(\"x\", 1e300, -1e300, 1e300, 1e300, 1e300, \"x\", 1e300, \"x\", 1e300)\n";
  testing::internal::CaptureStderr();
  const bool ran = s.Run(code + "reached = true\n");
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(ran);
  EXPECT_TRUE(s.Bool("reached"));
  EXPECT_EQ(lua_gettop(g_GameScript.GetState()), 0);
}

TEST(ScriptBindingsSweep, ATimerEventClearsItsOwnTimerAndMakesAnother) {
  ScriptWorld s(0.25f);
  ASSERT_TRUE(s.w.Ready()) << s.w.Problem();
  g_ScriptVars.clear();
  ASSERT_TRUE(s.w.WriteScript("first.lua",
                              "IncVar(\"FIRST\")\nClearTimerEvents(\"A\")\nStopTimer(\"A\")\n"
                              "CreateTimer(\"B\")\nRegisterTimerEvent(\"B\", 0.5, \"second.lua\")\n"
                              "StartTimer(\"B\")\n"));
  ASSERT_TRUE(s.w.WriteScript("second.lua", "IncVar(\"SECOND\")\n"));
  ASSERT_TRUE(s.Run("RegisterTimerEvent(\"A\", 0.5, \"first.lua\")\nStartTimer(\"A\")"));
  s.w.Run(12);
  EXPECT_EQ(VarTableGet("FIRST"), 1);
  EXPECT_EQ(VarTableGet("SECOND"), 1);
  g_ScriptVars.clear();
}

TEST_F(ScriptReentry, ACounterTimerOutlivesTheLevelsUnload) {
  scripttest::RecordingHud hud;
  s.w.World().SetHud(&hud);
  ASSERT_TRUE(s.Run("CreateTimer(\"T\")\nStartTimer(\"T\")\nGUITimerShow(\"T\", 60)\nGUIFinalTimerShow(\"T\", 60)"));
  EXPECT_NE(hud.counterTimer, nullptr);
  s.w.Level().Unload();
  s.w.Run(20);
  ASSERT_TRUE(s.Run("t = GetTimerTime(\"T\")"));
  EXPECT_EQ(s.Number("t"), 0.0) << "the unloaded level's timers are gone; the name makes a new one";
  s.w.World().SetHud(nullptr);
}

TEST_F(ScriptReentry, AnUnknownLaserMadeIntermittentRunsWithoutAHang) {
  ASSERT_TRUE(s.Run("LaserMakeIntermitent(\"nowhere\", true)\nLaserSetSpeed(\"nowhere\", 1e12)\n"
                    "LaserMakeMovable(\"nowhere\", true)"));
  ASSERT_EQ(s.w.Level().GetLasers().count("nowhere"), 1u);
  const CLaser& laser = s.w.Level().GetLasers().at("nowhere");
  EXPECT_TRUE(laser.IsIntermittent());
  EXPECT_FALSE(laser.IsStopped());
  s.w.Run(600);
  ASSERT_TRUE(s.Run("LaserTurnOn(\"nowhere\", false)"));
  EXPECT_FALSE(laser.IsOn());
  EXPECT_FALSE(laser.IsIntermittent());
}

int Lua_Again(lua_State* /*state*/) {
  g_GameScript.RunFile("again.lua");
  return 0;
}

TEST_F(ScriptReentry, ScriptsSettingEachOtherOffStopAtTheNestingLimit) {
  lua_register(g_GameScript.GetState(), "Again", Lua_Again);
  ASSERT_TRUE(s.w.WriteScript("again.lua", "IncVar(\"R\")\nAgain()\n"));
  testing::internal::CaptureStderr();
  EXPECT_TRUE(g_GameScript.RunFile("again.lua"));
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(VarTableGet("R"), CGameScript::MAX_RUN_DEPTH);
  EXPECT_EQ(g_GameScript.GetRunDepth(), 0);
  EXPECT_NE(err.find("nested too deeply"), std::string::npos);
  EXPECT_EQ(lua_gettop(g_GameScript.GetState()), 0);
}

TEST_F(ScriptReentry, ATriggerScriptReloadsAndDisablesTriggers) {
  const auto bytes = formats::TriggerFileBytes(
      {formats::TriggerFileRecord::MakeCircle("walk.lua", "Walk", 0, 0, 0, 300.0f)});
  ASSERT_TRUE(platform::WriteFileAtomic(Nembra::g_DataDirectory + "Trig.dat", bytes));
  platform::ClearPathCache();
  ASSERT_TRUE(s.w.WriteScript("walk.lua", "IncVar(\"W\")\nLoadTriggers(\"Trig.dat\")\n"
                                          "EnableTrigger(\"walk\", false)\nEnableTrigger(\"WALK\", false)\n"));
  ASSERT_TRUE(s.Run("LoadTriggers(\"Trig.dat\")"));
  s.w.PlacePlayer(D3DXVECTOR3(0, 0, 0));
  s.w.Run(10);
  EXPECT_GE(VarTableGet("W"), 1);
}

TEST_F(ScriptReentry, AnAnimatedSpritesEndScriptAddsAnother) {
  const auto add = [](const char* name) {
    return std::string("AddAnimatedSprite(\"") + name +
           "\", \"Player.X\", 0, 0, 0, 0, \"ParadoDisparando\", false, \"end.lua\")\n";
  };
  ASSERT_TRUE(s.w.WriteScript("end.lua", "IncVar(\"END\")\n" + add("B") + "RemoveAnimatedSprite(\"A\")\n"));
  ASSERT_TRUE(s.Run(add("A")));
  EXPECT_TRUE(s.w.RunUntil([] { return VarTableGet("END") >= 1; }, 2000));
  s.w.Run(50);
  EXPECT_EQ(s.w.Level().GetAnimatedSprites().count("B"), 1u);
}

}  // namespace
