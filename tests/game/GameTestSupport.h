#pragma once
// A fixture for game logic run by scripts: the data and script folders in a
// fresh temporary folder, the game script opened, the variable and flag
// stores emptied, and error log lines collected.
#include <gtest/gtest.h>

#include <lua.hpp>

#include <string>
#include <vector>

#include "engine/app/Engine.h"
#include "game/script/GameScript.h"
#include "game/script/ScriptVariables.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "support/TempDir.h"

namespace gametest {

class ScriptedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_OldData = Nembra::g_DataDirectory;
    m_OldScripts = Nembra::g_ScriptDirectory;
    Nembra::g_DataDirectory = dir.Path() + "\\";
    Nembra::g_ScriptDirectory = dir.Path() + "\\Scripts\\";
    g_ScriptVars.clear();
    g_ScriptFlags.clear();
    ASSERT_TRUE(g_GameScript.Open());
    platform::SetLogHook([this](platform::LogLevel level, const std::string& text) {
      if (level == platform::LogLevel::Error) errors.push_back(text);
    });
  }
  void TearDown() override {
    platform::SetLogHook(nullptr);
    g_GameScript.Close();
    Nembra::g_DataDirectory = m_OldData;
    Nembra::g_ScriptDirectory = m_OldScripts;
    platform::ClearPathCache();
  }

  void WriteScript(const std::string& name, const std::string& code) {
    dir.Write("Scripts/" + name, code);
    platform::ClearPathCache();
  }
  void WriteData(const std::string& name, const std::string& bytes) {
    dir.Write(name, bytes);
    platform::ClearPathCache();
  }
  // Runs the code as a script file through the game script.
  bool Run(const std::string& code) {
    WriteScript("__run.lua", code);
    return g_GameScript.RunFile("__run.lua");
  }
  // A global of the game script's state (nil reads 0 / false).
  double GlobalNumber(const char* name) {
    lua_State* state = g_GameScript.GetState();
    lua_getglobal(state, name);
    const double value = lua_tonumber(state, -1);
    lua_pop(state, 1);
    return value;
  }
  bool GlobalBool(const char* name) {
    lua_State* state = g_GameScript.GetState();
    lua_getglobal(state, name);
    const bool value = lua_toboolean(state, -1) != 0;
    lua_pop(state, 1);
    return value;
  }
  // A script "<name>.lua" that counts its runs in the variable of that name.
  void WriteCounter(const std::string& name) { WriteScript(name + ".lua", "IncVar(\"" + name + "\")\n"); }
  int Count(const std::string& name) { return VarTableGet(name); }

  testsupport::TempDir dir;
  std::vector<std::string> errors;

 private:
  std::string m_OldData;
  std::string m_OldScripts;
};

}  // namespace gametest
