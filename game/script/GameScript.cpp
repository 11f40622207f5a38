#include "game/script/GameScript.h"

#include <lua.hpp>

#include <cmath>
#include <limits>

#include "game/script/ScriptBindings.h"
#include "game/script/ScriptVariables.h"
#include "platform/Log.h"
#include "platform/Saturate.h"

CGameScript g_GameScript;

namespace {

// The game's constants, registered first: pi rounded to single precision,
// the three collision classes and the two sexes.
const SCRIPT_CONSTANT SCRIPT_CONSTANTS[] = {
    {"PI", double(3.14159265358979323846f)},
    {"COL_TIGHT", 0.0},
    {"COL_CHARACTER", 1.0},
    {"COL_PLAYER", 2.0},
    {"SEX_MALE", 0.0},
    {"SEX_FEMALE", 1.0},
};

// The game's functions, in registration order (after the constants).
const SCRIPT_FUNCTION SCRIPT_FUNCTIONS[] = {
    {"GetVar", Lua_GetVar},   {"SetVar", Lua_SetVar},   {"IncVar", Lua_IncVar},     {"DecVar", Lua_DecVar},
    {"GetFlag", Lua_GetFlag}, {"SetFlag", Lua_SetFlag}, {"FlipFlag", Lua_FlipFlag},
    {"SetInitScript", Lua_SetInitScript},
    {"SetFinishScript", Lua_SetFinishScript},
    {"LoadTerrain", Lua_LoadTerrain},
    {"LoadCollision", Lua_LoadCollision},
    {"LoadItems", Lua_LoadItems},
    {"LoadEnemyGenerators", Lua_LoadEnemyGenerators},
    {"AddSprite", Lua_AddSprite},
    {"ChangeSpriteMesh", Lua_ChangeSpriteMesh},
    {"RemoveSprite", Lua_RemoveSprite},
    {"AddAnimatedSprite", Lua_AddAnimatedSprite},
    {"ChangeSpriteAnimation", Lua_ChangeSpriteAnimation},
    {"RemoveAnimatedSprite", Lua_RemoveAnimatedSprite},
    {"SetEnemyCount", Lua_SetEnemyCount},
    {"SetEnemySpeed", Lua_SetEnemySpeed},
    {"SetEnemyMaxDist", Lua_SetEnemyMaxDist},
    {"EnableEnemyGenerationRadius", Lua_EnableEnemyGenerationRadius},
    {"SetEnemyGeneratorTimer", Lua_SetEnemyGeneratorTimer},
    {"SetBoss0Health", Lua_SetBoss0Health},
    {"SetBoss1Health", Lua_SetBoss1Health},
    {"SetWaveShockPower", Lua_SetWaveShockPower},
    {"LoadPlayer", Lua_LoadPlayer},
    {"SetPlayerMesh", Lua_SetPlayerMesh},
    {"SetPlayerSex", Lua_SetPlayerSex},
    {"SetPlayerPos", Lua_SetPlayerPos},
    {"SetPlayerRot", Lua_SetPlayerRot},
    {"SetAbilityScript", Lua_SetAbilityScript},
    {"SetRadiation", Lua_SetRadiation},
    {"ResetPlayerHealth", Lua_ResetPlayerHealth},
    {"ResetPlayerAbility", Lua_ResetPlayerAbility},
    {"PlayerCanWalk", Lua_PlayerCanWalk},
    {"SetCameraRot", Lua_SetCameraRot},
    {"AddObjective", Lua_AddObjective},
    {"SetObjectiveComplete", Lua_SetObjectiveComplete},
    {"GetObjectiveComplete", Lua_GetObjectiveComplete},
    {"GetLanguage", Lua_GetLanguage},
    {"LoadTriggers", Lua_LoadTriggers},
    {"EnableTrigger", Lua_EnableTrigger},
    {"EnableCircuit", Lua_EnableCircuit},
    {"ShowDebugMessage", Lua_ShowDebugMessage},
    {"FillAllGenerators", Lua_FillAllGenerators},
    {"EnableEnemyGroup", Lua_EnableEnemyGroup},
    {"AddDirectionalLight", Lua_AddDirectionalLight},
    {"OpenDoor", Lua_OpenDoor},
    {"CloseDoor", Lua_CloseDoor},
    {"IsDoorOpen", Lua_IsDoorOpen},
    {"PopUpTarget", Lua_PopUpTarget},
    {"EnableWeapon", Lua_EnableWeapon},
    {"SetWeaponCharge", Lua_SetWeaponCharge},
    {"SetOrdinaryWeapon", Lua_SetOrdinaryWeapon},
    {"EnableAbility", Lua_EnableAbility},
    {"SetAbilityCharge", Lua_SetAbilityCharge},
    {"CreateTimer", Lua_CreateTimer},
    {"RegisterTimerEvent", Lua_RegisterTimerEvent},
    {"ClearTimerEvents", Lua_ClearTimerEvents},
    {"StartTimer", Lua_StartTimer},
    {"StopTimer", Lua_StopTimer},
    {"ResumeTimer", Lua_ResumeTimer},
    {"GetTimerTime", Lua_GetTimerTime},
    {"LaserTurnOn", Lua_LaserTurnOn},
    {"LaserMakeMovable", Lua_LaserMakeMovable},
    {"LaserMakeIntermitent", Lua_LaserMakeIntermitent},
    {"LaserSetSpeed", Lua_LaserSetSpeed},
    {"GUITurnOnAccessCard", Lua_GUITurnOnAccessCard},
    {"GUITurnOnConnectors", Lua_GUITurnOnConnectors},
    {"GUITurnOnCheckpoint", Lua_GUITurnOnCheckpoint},
    {"GUITurnOnMemoryCard", Lua_GUITurnOnMemoryCard},
    {"GUIItemsShow", Lua_GUIItemsShow},
    {"GUIItemsAddOne", Lua_GUIItemsAddOne},
    {"GUIGeneratorsShow", Lua_GUIGeneratorsShow},
    {"GUIGeneratorsAddOne", Lua_GUIGeneratorsAddOne},
    {"GUIReceptorsShow", Lua_GUIReceptorsShow},
    {"GUIReceptorsAddOne", Lua_GUIReceptorsAddOne},
    {"GUITimerShow", Lua_GUITimerShow},
    {"GUITimerStartStop", Lua_GUITimerStartStop},
    {"GUIFinalTimerShow", Lua_GUIFinalTimerShow},
    {"GUIShowObjectiveComplete", Lua_GUIShowObjectiveComplete},
    {"GUIAddMarker", Lua_GUIAddMarker},
    {"GUIRemoveMarker", Lua_GUIRemoveMarker},
    {"GUIActivateMarker", Lua_GUIActivateMarker},
    {"GUIShowMessage", Lua_GUIShowMessage},
    {"GUIShowMessageTimer", Lua_GUIShowMessageTimer},
    {"GUIHideMessage", Lua_GUIHideMessage},
    {"PlayMP3", Lua_PlayMP3},
    {"PlayWav", Lua_PlayWav},
    {"PlayWavLoop", Lua_PlayWavLoop},
    {"StopWav", Lua_StopWav},
    {"DetonateBomb", Lua_DetonateBomb},
    {"Level12Explosion", Lua_Level12Explosion},
    {"OpenWaveWeapon", Lua_OpenWaveWeapon},
    {"ShootWave", Lua_ShootWave},
    {"LightAddPoint", Lua_LightAddPoint},
    {"LightAddSpot", Lua_LightAddSpot},
    {"LightAddDirectional", Lua_LightAddDirectional},
    {"LightRemove", Lua_LightRemove},
    {"LightTurnOn", Lua_LightTurnOn},
    {"LightSetDiffuseColor", Lua_LightSetDiffuseColor},
    {"LightSetRange", Lua_LightSetRange},
    {"LightSetAttenuation", Lua_LightSetAttenuation},
    {"LightSetFalloff", Lua_LightSetFalloff},
    {"LightSetInnerCone", Lua_LightSetInnerCone},
    {"LightSetOuterCone", Lua_LightSetOuterCone},
    {"LightSetPos", Lua_LightSetPos},
    {"LightSetTarget", Lua_LightSetTarget},
};

}  // namespace

const SCRIPT_CONSTANT* GameScriptConstants(size_t& count) {
  count = sizeof(SCRIPT_CONSTANTS) / sizeof(SCRIPT_CONSTANTS[0]);
  return SCRIPT_CONSTANTS;
}

const SCRIPT_FUNCTION* GameScriptFunctions(size_t& count) {
  count = sizeof(SCRIPT_FUNCTIONS) / sizeof(SCRIPT_FUNCTIONS[0]);
  return SCRIPT_FUNCTIONS;
}

bool CGameScript::RunFile(const std::string& name) {
  if (m_RunDepth >= MAX_RUN_DEPTH) {
    platform::LogError("script " + name + ": runs nested too deeply, not run");
    return false;
  }
  ++m_RunDepth;
  const bool ran = Nembra::CScript::RunFile(name);
  --m_RunDepth;
  return ran;
}

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
  for (const SCRIPT_CONSTANT& entry : SCRIPT_CONSTANTS) RegisterConstant(entry.name, entry.value);
  for (const SCRIPT_FUNCTION& entry : SCRIPT_FUNCTIONS) RegisterFunction(entry.name, entry.function);
}

int32_t ScriptNumberToInt(double value) { return platform::TruncateToInt32(value); }

double LuaToNumber(lua_State* state, int index) { return lua_tonumber(state, index); }

int32_t LuaToInt(lua_State* state, int index) { return ScriptNumberToInt(LuaToNumber(state, index)); }

bool LuaToBool(lua_State* state, int index) { return lua_toboolean(state, index) != 0; }

std::string LuaToStdString(lua_State* state, int index) {
  size_t length = 0;
  const char* text = lua_tolstring(state, index, &length);
  return text ? std::string(text, length) : std::string();
}
