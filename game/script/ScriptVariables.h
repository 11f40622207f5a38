#pragma once
// The scripts' own state: integer variables and boolean flags by name,
// kept for as long as the game runs (never cleared, never saved). Names are
// stored upper-cased, so scripts may spell them in any case.
#include <cstdint>
#include <string>
#include <unordered_map>

struct lua_State;

extern std::unordered_map<std::string, int32_t> g_ScriptVars;
extern std::unordered_map<std::string, bool> g_ScriptFlags;

// An absent name is created with 0 (false) and that is returned.
int32_t VarTableGet(const std::string& name);
void VarTableSet(const std::string& name, int32_t value);
bool FlagTableGet(const std::string& name);
void FlagTableSet(const std::string& name, bool value);

// The script functions over the two stores.
int Lua_GetVar(lua_State* state);    // GetVar(name) -> number
int Lua_SetVar(lua_State* state);    // SetVar(name, value): the value as an integer
int Lua_IncVar(lua_State* state);    // IncVar(name): one more, held at the int32 maximum
int Lua_DecVar(lua_State* state);    // DecVar(name): one less, held at the int32 minimum
int Lua_GetFlag(lua_State* state);   // GetFlag(name) -> bool
int Lua_SetFlag(lua_State* state);   // SetFlag(name, value)
int Lua_FlipFlag(lua_State* state);  // FlipFlag(name)
