#include "game/script/ScriptVariables.h"

#include <lua.hpp>

#include <limits>

#include "engine/util/Utilities.h"
#include "game/script/GameScript.h"

std::unordered_map<std::string, int32_t> g_ScriptVars;
std::unordered_map<std::string, bool> g_ScriptFlags;

int32_t VarTableGet(const std::string& name) { return g_ScriptVars[Nembra::ToUpper(name)]; }

void VarTableSet(const std::string& name, int32_t value) { g_ScriptVars[Nembra::ToUpper(name)] = value; }

bool FlagTableGet(const std::string& name) { return g_ScriptFlags[Nembra::ToUpper(name)]; }

void FlagTableSet(const std::string& name, bool value) { g_ScriptFlags[Nembra::ToUpper(name)] = value; }

int Lua_GetVar(lua_State* state) {
  lua_pushnumber(state, VarTableGet(LuaToStdString(state, 1)));
  return 1;
}

int Lua_SetVar(lua_State* state) {
  VarTableSet(LuaToStdString(state, 1), LuaToInt(state, 2));
  return 0;
}

int Lua_IncVar(lua_State* state) {
  const std::string name = LuaToStdString(state, 1);
  const int32_t value = VarTableGet(name);
  VarTableSet(name, value == std::numeric_limits<int32_t>::max() ? value : value + 1);
  return 0;
}

int Lua_DecVar(lua_State* state) {
  const std::string name = LuaToStdString(state, 1);
  const int32_t value = VarTableGet(name);
  VarTableSet(name, value == std::numeric_limits<int32_t>::min() ? value : value - 1);
  return 0;
}

int Lua_GetFlag(lua_State* state) {
  lua_pushboolean(state, FlagTableGet(LuaToStdString(state, 1)));
  return 1;
}

int Lua_SetFlag(lua_State* state) {
  FlagTableSet(LuaToStdString(state, 1), LuaToBool(state, 2));
  return 0;
}

int Lua_FlipFlag(lua_State* state) {
  const std::string name = LuaToStdString(state, 1);
  FlagTableSet(name, !FlagTableGet(name));
  return 0;
}
