#pragma once
// The game's script functions beside the variable and flag store: each reads
// its arguments by position, reaches the game through the game world, its
// level and player, the HUD seam, the sound factories and the scene manager,
// and does nothing (returning its default) when what it needs is absent.
// None raises a script error; a call refused for a bad argument writes one
// log line.
#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/Math.h"

struct lua_State;
class CLevel;
class CPlayer;
class CGameWorld;

namespace ScriptBinding {

// The world's level and player; null without a game world.
CLevel* Level();
CPlayer* Player();
CGameWorld* World();
// One log line for a refused call.
void Refuse(const char* function, const char* reason);
// True when every value is finite; otherwise one log line and false.
bool AllFinite(const char* function, std::initializer_list<double> values);
// A finite number as a float; beyond the float range it gives the largest
// float of its sign.
float ToFloat(double value);
// An integer argument that cannot go below 0 (health, counts).
uint32_t LuaToCount(lua_State* state, int index);
// Three integer components at index, index+1, index+2, each keeping its low
// 8 bits, as (r/255, g/255, b/255, 1).
D3DXCOLOR LuaToColour(lua_State* state, int index);

}  // namespace ScriptBinding

// Level scripts and files.
int Lua_SetInitScript(lua_State* state);
int Lua_SetFinishScript(lua_State* state);
int Lua_LoadTerrain(lua_State* state);
int Lua_LoadCollision(lua_State* state);
int Lua_LoadItems(lua_State* state);
int Lua_LoadEnemyGenerators(lua_State* state);
int Lua_LoadTriggers(lua_State* state);
// Sprites and markers.
int Lua_AddSprite(lua_State* state);
int Lua_ChangeSpriteMesh(lua_State* state);
int Lua_RemoveSprite(lua_State* state);
int Lua_AddAnimatedSprite(lua_State* state);
int Lua_ChangeSpriteAnimation(lua_State* state);
int Lua_RemoveAnimatedSprite(lua_State* state);
int Lua_GUIAddMarker(lua_State* state);
int Lua_GUIRemoveMarker(lua_State* state);
int Lua_GUIActivateMarker(lua_State* state);
// Enemies and generators.
int Lua_SetEnemyCount(lua_State* state);
int Lua_SetEnemySpeed(lua_State* state);
int Lua_SetEnemyMaxDist(lua_State* state);
int Lua_EnableEnemyGenerationRadius(lua_State* state);
int Lua_SetEnemyGeneratorTimer(lua_State* state);
int Lua_SetBoss0Health(lua_State* state);
int Lua_SetBoss1Health(lua_State* state);
int Lua_SetWaveShockPower(lua_State* state);
int Lua_FillAllGenerators(lua_State* state);
int Lua_EnableEnemyGroup(lua_State* state);
// Player, weapon, ability, camera.
int Lua_LoadPlayer(lua_State* state);
int Lua_SetPlayerMesh(lua_State* state);
int Lua_SetPlayerSex(lua_State* state);
int Lua_SetPlayerPos(lua_State* state);
int Lua_SetPlayerRot(lua_State* state);
int Lua_SetAbilityScript(lua_State* state);
int Lua_SetRadiation(lua_State* state);
int Lua_ResetPlayerHealth(lua_State* state);
int Lua_ResetPlayerAbility(lua_State* state);
int Lua_PlayerCanWalk(lua_State* state);
int Lua_SetCameraRot(lua_State* state);
int Lua_EnableWeapon(lua_State* state);
int Lua_SetWeaponCharge(lua_State* state);
int Lua_SetOrdinaryWeapon(lua_State* state);
int Lua_EnableAbility(lua_State* state);
int Lua_SetAbilityCharge(lua_State* state);
// Objectives, triggers, circuits, doors, targets, waves, explosions.
int Lua_AddObjective(lua_State* state);
int Lua_SetObjectiveComplete(lua_State* state);
int Lua_GetObjectiveComplete(lua_State* state);
int Lua_GetLanguage(lua_State* state);
int Lua_EnableTrigger(lua_State* state);
int Lua_EnableCircuit(lua_State* state);
int Lua_ShowDebugMessage(lua_State* state);
int Lua_OpenDoor(lua_State* state);
int Lua_CloseDoor(lua_State* state);
int Lua_IsDoorOpen(lua_State* state);
int Lua_PopUpTarget(lua_State* state);
int Lua_OpenWaveWeapon(lua_State* state);
int Lua_ShootWave(lua_State* state);
int Lua_DetonateBomb(lua_State* state);
int Lua_Level12Explosion(lua_State* state);
// Timers and lasers.
int Lua_CreateTimer(lua_State* state);
int Lua_RegisterTimerEvent(lua_State* state);
int Lua_ClearTimerEvents(lua_State* state);
int Lua_StartTimer(lua_State* state);
int Lua_StopTimer(lua_State* state);
int Lua_ResumeTimer(lua_State* state);
int Lua_GetTimerTime(lua_State* state);
int Lua_LaserTurnOn(lua_State* state);
int Lua_LaserMakeMovable(lua_State* state);
int Lua_LaserMakeIntermitent(lua_State* state);
int Lua_LaserSetSpeed(lua_State* state);
// HUD.
int Lua_GUITurnOnAccessCard(lua_State* state);
int Lua_GUITurnOnConnectors(lua_State* state);
int Lua_GUITurnOnCheckpoint(lua_State* state);
int Lua_GUITurnOnMemoryCard(lua_State* state);
int Lua_GUIItemsShow(lua_State* state);
int Lua_GUIItemsAddOne(lua_State* state);
int Lua_GUIGeneratorsShow(lua_State* state);
int Lua_GUIGeneratorsAddOne(lua_State* state);
int Lua_GUIReceptorsShow(lua_State* state);
int Lua_GUIReceptorsAddOne(lua_State* state);
int Lua_GUITimerShow(lua_State* state);
int Lua_GUITimerStartStop(lua_State* state);
int Lua_GUIFinalTimerShow(lua_State* state);
int Lua_GUIShowObjectiveComplete(lua_State* state);
int Lua_GUIShowMessage(lua_State* state);
int Lua_GUIShowMessageTimer(lua_State* state);
int Lua_GUIHideMessage(lua_State* state);
// Sounds and music.
int Lua_PlayMP3(lua_State* state);
int Lua_PlayWav(lua_State* state);
int Lua_PlayWavLoop(lua_State* state);
int Lua_StopWav(lua_State* state);
// Lights.
int Lua_AddDirectionalLight(lua_State* state);
int Lua_LightAddPoint(lua_State* state);
int Lua_LightAddSpot(lua_State* state);
int Lua_LightAddDirectional(lua_State* state);
int Lua_LightRemove(lua_State* state);
int Lua_LightTurnOn(lua_State* state);
int Lua_LightSetDiffuseColor(lua_State* state);
int Lua_LightSetRange(lua_State* state);
int Lua_LightSetAttenuation(lua_State* state);
int Lua_LightSetFalloff(lua_State* state);
int Lua_LightSetInnerCone(lua_State* state);
int Lua_LightSetOuterCone(lua_State* state);
int Lua_LightSetPos(lua_State* state);
int Lua_LightSetTarget(lua_State* state);
