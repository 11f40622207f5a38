#include <cmath>
#include <limits>

#include "game/GameTestSupport.h"

namespace {

using gametest::ScriptedTest;
constexpr int32_t INT_MAX32 = std::numeric_limits<int32_t>::max();
constexpr int32_t INT_MIN32 = std::numeric_limits<int32_t>::min();

TEST(ScriptNumberToInt, TruncatesTowardsZeroClampsAndMapsNaNToZero) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<double, int32_t> cases[] = {
      {2.7, 2},           {-2.7, -2},         {-0.5, 0},          {std::nan(""), 0},
      {1e12, INT_MAX32},  {-1e12, INT_MIN32}, {inf, INT_MAX32},   {-inf, INT_MIN32},
      {2147483646.9, 2147483646}, {2147483647.5, INT_MAX32}, {-2147483648.9, INT_MIN32}};
  for (const auto& [number, expected] : cases) EXPECT_EQ(ScriptNumberToInt(number), expected) << number;
}

using GameScriptTest = ScriptedTest;

TEST_F(GameScriptTest, RegistersTheSevenStoreFunctions) {
  lua_State* state = g_GameScript.GetState();
  for (const char* name : {"GetVar", "SetVar", "IncVar", "DecVar", "GetFlag", "SetFlag", "FlipFlag"}) {
    lua_getglobal(state, name);
    EXPECT_TRUE(lua_iscfunction(state, -1)) << name;
    lua_pop(state, 1);
  }
  EXPECT_EQ(lua_gettop(state), 0);
}

TEST_F(GameScriptTest, ArgumentReadersFollowTheScriptConventions) {
  lua_State* state = g_GameScript.GetState();
  lua_pushnil(state);
  lua_pushboolean(state, 0);
  lua_pushnumber(state, 0);
  lua_pushstring(state, "7.9xyz");
  lua_pushnumber(state, -3.5);
  EXPECT_EQ(LuaToStdString(state, 1), "");
  EXPECT_FALSE(LuaToBool(state, 1));
  EXPECT_FALSE(LuaToBool(state, 2));
  EXPECT_TRUE(LuaToBool(state, 3));  // 0 is true in Lua
  EXPECT_EQ(LuaToNumber(state, 4), 0.0);  // not a number
  EXPECT_EQ(LuaToInt(state, 5), -3);
  EXPECT_EQ(LuaToStdString(state, 5), "-3.5");
  EXPECT_EQ(LuaToNumber(state, 6), 0.0);  // missing
  EXPECT_EQ(LuaToStdString(state, 6), "");
  lua_settop(state, 0);
}

TEST_F(GameScriptTest, VariablesIgnoreTheCaseOfTheirNames) {
  ASSERT_TRUE(Run("SetVar(\"Count\", 2)\nresult = GetVar(\"COUNT\")\nother = GetVar(\"count\")"));
  EXPECT_EQ(GlobalNumber("result"), 2.0);
  EXPECT_EQ(GlobalNumber("other"), 2.0);
  EXPECT_EQ(g_ScriptVars.count("COUNT"), 1u);
  EXPECT_EQ(g_ScriptVars.count("Count"), 0u);
}

TEST_F(GameScriptTest, IncAndDecOfUnknownNamesStartFromZero) {
  ASSERT_TRUE(Run("IncVar(\"up\")\nDecVar(\"down\")\nu = GetVar(\"UP\")\nd = GetVar(\"Down\")\n"
                  "fresh = GetVar(\"never\")"));
  EXPECT_EQ(GlobalNumber("u"), 1.0);
  EXPECT_EQ(GlobalNumber("d"), -1.0);
  EXPECT_EQ(GlobalNumber("fresh"), 0.0);
  EXPECT_EQ(g_ScriptVars.count("NEVER"), 1u);  // reading creates the name
}

TEST_F(GameScriptTest, SetVarStoresTheNumberAsAnInt32) {
  ASSERT_TRUE(Run("SetVar(\"a\", -2.7)\nSetVar(\"b\", 2.7)\nSetVar(\"c\", 0/0)\nSetVar(\"d\", 1e12)\n"
                  "IncVar(\"d\")\nSetVar(\"e\", -1e12)\nDecVar(\"e\")\nSetVar(\"f\", 1/0)\nSetVar(\"g\")"));
  // The increment and decrement saturate; a missing value reads 0.
  const std::pair<const char*, int32_t> vars[] = {{"a", -2},        {"b", 2},         {"c", 0},        {"d", INT_MAX32},
                                                  {"e", INT_MIN32}, {"f", INT_MAX32}, {"g", 0}};
  for (const auto& [name, value] : vars) EXPECT_EQ(VarTableGet(name), value) << name;
  EXPECT_TRUE(errors.empty());
}

TEST_F(GameScriptTest, FlagsFlipSetAndRead) {
  ASSERT_TRUE(Run("FlipFlag(\"door\")\nf1 = GetFlag(\"DOOR\")\nFlipFlag(\"Door\")\nf2 = GetFlag(\"door\")\n"
                  "SetFlag(\"lamp\", 1)\nf3 = GetFlag(\"LAMP\")\nSetFlag(\"lamp\", nil)\nf4 = GetFlag(\"lamp\")\n"
                  "f5 = GetFlag(\"unknown\")"));
  const std::pair<const char*, bool> flags[] = {
      {"f1", true}, {"f2", false}, {"f3", true}, {"f4", false}, {"f5", false}};
  for (const auto& [name, value] : flags) EXPECT_EQ(GlobalBool(name), value) << name;
  lua_State* state = g_GameScript.GetState();
  lua_getglobal(state, "f5");
  EXPECT_TRUE(lua_isboolean(state, -1));  // GetFlag answers with a bool, not a number
  lua_pop(state, 1);
  EXPECT_EQ(g_ScriptFlags.count("UNKNOWN"), 1u);
}

TEST_F(GameScriptTest, MissingOrNumericNamesAreSafe) {
  ASSERT_TRUE(Run("v = GetVar()\nIncVar()\nw = GetVar(nil)\nSetVar(12, 5)\nx = GetVar(\"12\")\n"
                  "FlipFlag()\ny = GetFlag(\"\")"));
  EXPECT_EQ(GlobalNumber("v"), 0.0);
  EXPECT_EQ(GlobalNumber("w"), 1.0);  // nil names the empty string
  EXPECT_EQ(GlobalNumber("x"), 5.0);
  EXPECT_TRUE(GlobalBool("y"));
}

TEST_F(GameScriptTest, StoresOutliveTheScriptState) {
  ASSERT_TRUE(Run("SetVar(\"kept\", 9)\nSetFlag(\"kept\", true)"));
  g_GameScript.Close();
  ASSERT_TRUE(g_GameScript.Open());
  ASSERT_TRUE(Run("k = GetVar(\"KEPT\")\nf = GetFlag(\"KEPT\")"));
  EXPECT_EQ(GlobalNumber("k"), 9.0);
  EXPECT_TRUE(GlobalBool("f"));
}

}  // namespace
