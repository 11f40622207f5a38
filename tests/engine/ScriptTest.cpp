#include <gtest/gtest.h>

#include <lua.hpp>

#include "engine/app/Engine.h"
#include "engine/script/Script.h"
#include "platform/Log.h"
#include "support/TempDir.h"

using testsupport::TempDir;

namespace {

// A host that registers one function recording what scripts pass it.
class TestScript : public Nembra::CScript {
 public:
  static std::vector<double> calls;
  int Top() const { return lua_gettop(m_pState); }
  // Values a host function would have on the stack when it runs a file.
  void PushNumbers(int count) {
    for (int i = 0; i < count; ++i) lua_pushnumber(m_pState, 100 + i);
  }
  bool NumbersIntact(int count) const {
    for (int i = 0; i < count; ++i)
      if (lua_tonumber(m_pState, i + 1) != 100 + i) return false;
    return true;
  }
  std::string GlobalText(const char* name) {
    lua_getglobal(m_pState, name);
    const char* text = lua_tostring(m_pState, -1);
    std::string value = text ? text : "";
    lua_pop(m_pState, 1);
    return value;
  }
  double Global(const char* name) {
    lua_getglobal(m_pState, name);
    const double value = lua_tonumber(m_pState, -1);
    lua_pop(m_pState, 1);
    return value;
  }

 protected:
  void RegisterFunctions() override {
    lua_register(m_pState, "Record", [](lua_State* state) -> int {
      calls.push_back(lua_tonumber(state, 1));
      lua_pushnumber(state, lua_tonumber(state, 1) * 2);
      return 1;
    });
    lua_pushnumber(m_pState, 3);
    lua_setglobal(m_pState, "COL_PLAYER");
  }
};
std::vector<double> TestScript::calls;

class ScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_OldScripts = Nembra::g_ScriptDirectory;
    Nembra::g_ScriptDirectory = m_Dir.Path() + "\\Scripts\\";
    TestScript::calls.clear();
    platform::SetLogHook([this](platform::LogLevel level, const std::string& text) {
      if (level == platform::LogLevel::Error) errors.push_back(text);
    });
  }
  void TearDown() override {
    platform::SetLogHook(nullptr);
    Nembra::g_ScriptDirectory = m_OldScripts;
  }
  void WriteScript(const std::string& name, const std::string& text) { m_Dir.Write("Scripts/" + name, text); }
  // COUNT errors logged so far, the last of them naming TEXT.
  ::testing::AssertionResult Errors(size_t count, const std::string& text) const {
    if (errors.size() != count) return ::testing::AssertionFailure() << errors.size() << " errors, not " << count;
    if (errors.back().find(text) == std::string::npos) return ::testing::AssertionFailure() << errors.back();
    return ::testing::AssertionSuccess();
  }
  TempDir m_Dir;
  std::string m_OldScripts;
  std::vector<std::string> errors;
};

}  // namespace

TEST_F(ScriptTest, ScriptsCallRegisteredFunctionsAndShareGlobals) {
  WriteScript("Level1.lua", "x = Record(COL_PLAYER + 4)\nreturn 1, 2, 3\n");
  WriteScript("Later.lua", "Record(x + 1)\n");
  TestScript script;
  ASSERT_TRUE(script.Open());
  const int top = script.Top();
  // The name's case need not match the file's.
  EXPECT_TRUE(script.RunFile("LEVEL1.LUA"));
  EXPECT_EQ(script.Top(), top) << "results are not left on the stack";
  EXPECT_TRUE(script.RunFile("Later.lua"));
  EXPECT_EQ(TestScript::calls, (std::vector<double>{7, 15}));
  EXPECT_EQ(script.Global("x"), 14);
  EXPECT_TRUE(errors.empty());
  // Closing forgets everything; a fresh Open starts clean.
  script.Close();
  EXPECT_FALSE(script.IsOpen());
  ASSERT_TRUE(script.Open());
  EXPECT_EQ(script.Global("x"), 0);
  // Opening an open host replaces its state.
  EXPECT_TRUE(script.RunFile("Level1.lua"));
  ASSERT_TRUE(script.Open());
  EXPECT_EQ(script.Global("x"), 0);
  script.Close();
  script.Close();
}

TEST_F(ScriptTest, OnlyTheBaseLibraryIsOpen) {
  WriteScript("Libs.lua",
              "assert(type(print) == 'function' and type(coroutine) == 'table')\n"
              "ok = (string == nil) and (table == nil) and (math == nil) and (io == nil) and (os == nil)\n"
              "if ok then Record(1) end\n");
  WriteScript("Strings.lua", "Record(string.len('abc'))\n");
  TestScript script;
  ASSERT_TRUE(script.Open());
  EXPECT_TRUE(script.RunFile("Libs.lua"));
  EXPECT_EQ(TestScript::calls, (std::vector<double>{1}));
  EXPECT_FALSE(script.RunFile("Strings.lua"));
  EXPECT_TRUE(Errors(1, "string"));
}

TEST_F(ScriptTest, BrokenScriptsFailCleanly) {
  WriteScript("Syntax.lua", "Record(1\n");
  WriteScript("HalfWay.lua", "done = 1\nRecord(2)\nerror('boom')\ndone = 2\n");
  TestScript script;
  EXPECT_FALSE(script.RunFile("HalfWay.lua")) << "no state yet";
  ASSERT_TRUE(script.Open());
  errors.clear();
  const int top = script.Top();
  EXPECT_FALSE(script.RunFile("Missing.lua"));
  EXPECT_TRUE(Errors(1, "Missing.lua"));
  EXPECT_FALSE(script.RunFile("Syntax.lua"));
  EXPECT_TRUE(Errors(2, "Syntax.lua:"));
  EXPECT_TRUE(TestScript::calls.empty()) << "nothing of a script that does not compile runs";
  EXPECT_FALSE(script.RunFile("HalfWay.lua"));
  EXPECT_TRUE(Errors(3, "boom"));
  EXPECT_EQ(script.Global("done"), 1) << "statements before the error keep their effects";
  EXPECT_EQ(TestScript::calls, (std::vector<double>{2}));
  EXPECT_EQ(script.Top(), top);
  // The stack stays level however often scripts fail.
  for (int i = 0; i < 1000; ++i) {
    ASSERT_FALSE(script.RunFile(i % 3 == 0 ? "Syntax.lua" : i % 3 == 1 ? "HalfWay.lua" : "Missing.lua"));
    ASSERT_EQ(script.Top(), top);
  }
  // Failing with a non-string error value is reported too.
  WriteScript("Table.lua", "error({})\n");
  EXPECT_FALSE(script.RunFile("Table.lua"));
  EXPECT_EQ(script.Top(), top);
}

TEST_F(ScriptTest, FailuresReachTheScriptsAlertFunction) {
  WriteScript("Alert.lua", "alerts = 0\nfunction _ALERT(m) alerts = alerts + 1; last = m; return 1, 2, 3 end\n");
  WriteScript("Fails.lua", "error('gate jammed')\n");
  WriteScript("BadAlert.lua", "function _ALERT(m) alerts = alerts + 1; error('alert broke') end\n");
  WriteScript("NoAlert.lua", "_ALERT = 7\n");
  TestScript script;
  ASSERT_TRUE(script.Open());
  // Without an _ALERT the failure is logged only.
  EXPECT_FALSE(script.RunFile("Fails.lua"));
  ASSERT_EQ(errors.size(), 1u);
  ASSERT_TRUE(script.RunFile("Alert.lua"));
  EXPECT_FALSE(script.RunFile("Fails.lua"));
  EXPECT_EQ(script.Global("alerts"), 1);
  EXPECT_NE(script.GlobalText("last").find("gate jammed"), std::string::npos) << script.GlobalText("last");
  EXPECT_TRUE(Errors(2, "gate jammed")) << "the log has it as well";
  EXPECT_FALSE(script.RunFile("Missing.lua"));
  EXPECT_EQ(script.Global("alerts"), 2) << "a missing file is alerted too";
  EXPECT_NE(script.GlobalText("last").find("Missing.lua"), std::string::npos);
  // An _ALERT that fails itself is logged once, never alerted again.
  ASSERT_TRUE(script.RunFile("BadAlert.lua"));
  errors.clear();
  EXPECT_FALSE(script.RunFile("Fails.lua"));
  EXPECT_EQ(script.Global("alerts"), 3);
  EXPECT_TRUE(Errors(2, "alert broke"));
  // An _ALERT that is no function is left alone.
  ASSERT_TRUE(script.RunFile("NoAlert.lua"));
  errors.clear();
  EXPECT_FALSE(script.RunFile("Fails.lua"));
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(script.Top(), 0);
}

TEST_F(ScriptTest, StackStaysLevelUnderAHostsValues) {
  // A host function that runs a file has values of its own on the stack;
  // a thousand runs, failing or returning values, leave them as they were.
  WriteScript("Alert.lua", "function _ALERT(m) return m, m, m end\n");
  WriteScript("Results.lua", "return 1, 2, 3, 4\n");
  WriteScript("Fails.lua", "local a, b = 1, 2\nerror({a, b})\n");
  WriteScript("Syntax.lua", "return (\n");
  TestScript script;
  ASSERT_TRUE(script.Open());
  ASSERT_TRUE(script.RunFile("Alert.lua"));
  script.PushNumbers(5);
  for (int i = 0; i < 1000; ++i) {
    const char* name = i % 4 == 0 ? "Results.lua" : i % 4 == 1 ? "Fails.lua" : i % 4 == 2 ? "Syntax.lua" : "Missing.lua";
    EXPECT_EQ(script.RunFile(name), i % 4 == 0);
    ASSERT_EQ(script.Top(), 5) << "run " << i << " of " << name;
  }
  EXPECT_TRUE(script.NumbersIntact(5));
}

TEST_F(ScriptTest, PrecompiledChunksAreRefused) {
  // A compiled chunk of "Record(5)", as luac would write it.
  TestScript script;
  ASSERT_TRUE(script.Open());
  std::string compiled;
  {
    lua_State* state = luaL_newstate();
    ASSERT_EQ(luaL_loadstring(state, "Record(5)"), 0);
    lua_dump(state,
             [](lua_State*, const void* data, size_t size, void* out) -> int {
               static_cast<std::string*>(out)->append(static_cast<const char*>(data), size);
               return 0;
             },
             &compiled);
    lua_close(state);
  }
  WriteScript("Compiled.lua", compiled);
  errors.clear();
  const int top = script.Top();
  EXPECT_FALSE(script.RunFile("Compiled.lua"));
  EXPECT_TRUE(TestScript::calls.empty());
  EXPECT_TRUE(Errors(1, "Compiled.lua"));
  EXPECT_EQ(script.Top(), top);
}
