#include "game/GameScript.h"

#include <lua.hpp>

#include <cmath>
#include <limits>

#include "game/ScriptVariables.h"

CGameScript g_GameScript;

namespace {

struct SCRIPT_FUNCTION {
  const char* name;
  lua_CFunction function;
};

// The game's functions, in registration order (after the constants).
const SCRIPT_FUNCTION SCRIPT_FUNCTIONS[] = {
    {"GetVar", Lua_GetVar},   {"SetVar", Lua_SetVar},   {"IncVar", Lua_IncVar},     {"DecVar", Lua_DecVar},
    {"GetFlag", Lua_GetFlag}, {"SetFlag", Lua_SetFlag}, {"FlipFlag", Lua_FlipFlag},
};

}  // namespace

void CGameScript::RegisterConstant(const char* name, double value) {
  lua_pushnumber(m_pState, value);
  lua_pushstring(m_pState, name);
  lua_insert(m_pState, -2);
  lua_settable(m_pState, LUA_GLOBALSINDEX);
}

void CGameScript::RegisterFunction(const char* name, lua_CFunction function) {
  lua_pushstring(m_pState, name);
  lua_pushcclosure(m_pState, function, 0);
  lua_settable(m_pState, LUA_GLOBALSINDEX);
}

void CGameScript::RegisterFunctions() {
  // Each global is stored with lua_settable on the globals table, name
  // pushed first, as every native function of the game is.
  for (const SCRIPT_FUNCTION& entry : SCRIPT_FUNCTIONS) RegisterFunction(entry.name, entry.function);
}

int32_t ScriptNumberToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
    return std::numeric_limits<int32_t>::max();
  if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);  // in range: truncates towards zero
}

double LuaToNumber(lua_State* state, int index) { return lua_tonumber(state, index); }

int32_t LuaToInt(lua_State* state, int index) { return ScriptNumberToInt(LuaToNumber(state, index)); }

bool LuaToBool(lua_State* state, int index) { return lua_toboolean(state, index) != 0; }

std::string LuaToStdString(lua_State* state, int index) {
  size_t length = 0;
  const char* text = lua_tolstring(state, index, &length);
  return text ? std::string(text, length) : std::string();
}
