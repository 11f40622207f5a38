#pragma once
// game/script/: the game's script host, its variables and the
// functions scripts call. It may call world/ (and the level and player
// through it), engine/ and platform/.
//
// The game's script object: the engine's Lua host with the game's constants
// and functions registered as globals. Every script file of the game runs
// through the one global instance.
//
// Script functions read their arguments by position with the readers
// below; none of them raises a script error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/script/Script.h"

struct lua_State;
typedef int (*lua_CFunction)(lua_State*);

class CGameScript : public Nembra::CScript {
 public:
  CGameScript() = default;
  ~CGameScript() override = default;

  // Runs a script file through the host. A run that would nest deeper than
  // MAX_RUN_DEPTH runs (scripts that set each other off) is refused with a
  // log line and false.
  static constexpr int MAX_RUN_DEPTH = 32;
  bool RunFile(const std::string& name);
  int GetRunDepth() const { return m_RunDepth; }

  // The Lua state, for functions a host or a test registers beside the game's.
  lua_State* GetState() const { return m_pState; }

 protected:
  void RegisterFunctions() override;

 private:
  // Store one global in the globals table (name pushed, value, settable).
  void RegisterConstant(const char* name, double value);
  void RegisterFunction(const char* name, lua_CFunction function);

  int m_RunDepth = 0;
};

extern CGameScript g_GameScript;

// The registration table: the constants, then the functions, each in the
// order they become globals.
struct SCRIPT_CONSTANT {
  const char* name;
  double value;
};
struct SCRIPT_FUNCTION {
  const char* name;
  lua_CFunction function;
};
const SCRIPT_CONSTANT* GameScriptConstants(size_t& count);
const SCRIPT_FUNCTION* GameScriptFunctions(size_t& count);

// A script number as an integer: NaN gives 0, values beyond the int32
// range give its ends, everything else is truncated towards zero.
int32_t ScriptNumberToInt(double value);

// Argument readers (index 1 = first argument).
// A missing or non-numeric argument reads 0.
double LuaToNumber(lua_State* state, int index);
// LuaToNumber through ScriptNumberToInt.
int32_t LuaToInt(lua_State* state, int index);
// nil and false read false, anything else true.
bool LuaToBool(lua_State* state, int index);
// A string, or a number in its string form; nil (or anything else that
// has no string form) gives the empty string.
std::string LuaToStdString(lua_State* state, int index);
