// Script functions that reach the level: its files, sprites, markers,
// enemy tuning and generators, objectives, triggers, doors, targets,
// timers, lasers and explosions.
#include <lua.hpp>

#include <cmath>
#include <limits>

#include "engine/resources/SkinnedMesh.h"
#include "engine/scene/SceneManager.h"
#include "engine/util/TextTable.h"
#include "game/script/GameScript.h"
#include "game/script/ScriptBindings.h"
#include "game/world/GameGlobals.h"
#include "game/world/GameWorld.h"
#include "platform/Log.h"
#include "platform/Text.h"
#include "platform/Window.h"

namespace ScriptBinding {

CGameWorld* World() { return g_pGameWorld; }
CLevel* Level() { return g_pGameWorld ? &g_pGameWorld->GetLevel() : nullptr; }
CPlayer* Player() { return g_pGameWorld ? &g_pGameWorld->GetPlayer() : nullptr; }

void Refuse(const char* function, const char* reason) {
  platform::LogWarning(std::string("script ") + function + ": " + reason + ", call ignored");
}

bool AllFinite(const char* function, std::initializer_list<double> values) {
  for (double value : values)
    if (!std::isfinite(value)) {
      Refuse(function, "a number is not finite");
      return false;
    }
  return true;
}

float ToFloat(double value) {
  constexpr double LARGEST = std::numeric_limits<float>::max();
  if (value > LARGEST) return std::numeric_limits<float>::max();
  if (value < -LARGEST) return -std::numeric_limits<float>::max();
  return static_cast<float>(value);
}

uint32_t LuaToCount(lua_State* state, int index) {
  const int32_t value = LuaToInt(state, index);
  return value < 0 ? 0u : static_cast<uint32_t>(value);
}

D3DXCOLOR LuaToColour(lua_State* state, int index) {
  float c[3];
  for (int i = 0; i < 3; ++i) {
    const uint32_t bits = static_cast<uint32_t>(LuaToInt(state, index + i)) & 0xFFu;
    c[i] = static_cast<float>(bits) / 255.0f;
  }
  return D3DXCOLOR(c[0], c[1], c[2], 1.0f);
}

}  // namespace ScriptBinding

using namespace ScriptBinding;

namespace {

std::string S(lua_State* state, int index) { return LuaToStdString(state, index); }

// The first open/close door or target whose name equals the upper-cased
// argument; null when none.
COpenCloseDoor* FindDoor(CLevel& level, const std::string& name) {
  const std::string upper = platform::AsciiUpper(name);
  for (COpenCloseDoor& door : level.GetOpenCloseDoors())
    if (door.GetName() == upper) return &door;
  return nullptr;
}

CTarget* FindTarget(CLevel& level, const std::string& name) {
  const std::string upper = platform::AsciiUpper(name);
  for (CTarget& target : level.GetTargets())
    if (target.GetName() == upper) return &target;
  return nullptr;
}

// Stores a speed or a squared range of enemy type 1, 2, 3 or 6.
float* EnemyValue(int32_t type, bool range) {
  switch (type) {
    case 1: return range ? &g_Enemy1RangeSq : &g_Enemy1Speed;
    case 2: return range ? &g_Enemy2RangeSq : &g_Enemy2Speed;
    case 3: return range ? &g_Enemy3RangeSq : &g_Enemy3Speed;
    case 6: return range ? &g_Enemy6RangeSq : &g_Enemy6Speed;
    default: return nullptr;
  }
}

int SetBossValue(lua_State* state, int* target) {
  const uint32_t value = LuaToCount(state, 1);
  *target = static_cast<int>(std::min<uint32_t>(value, uint32_t(std::numeric_limits<int>::max())));
  return 0;
}

}  // namespace

// ---- Level scripts and files.

int Lua_SetInitScript(lua_State* state) {
  if (CLevel* level = Level()) level->SetInitScript(S(state, 1));
  return 0;
}

int Lua_SetFinishScript(lua_State* state) {
  if (CLevel* level = Level()) level->SetFinishScript(S(state, 1));
  return 0;
}

int Lua_LoadTerrain(lua_State* state) {
  if (CLevel* level = Level()) level->LoadTerrain(S(state, 1));
  return 0;
}

int Lua_LoadCollision(lua_State* state) {
  CLevel* level = Level();
  if (!level) return 0;
  const int32_t collisionClass = LuaToInt(state, 2);
  if (collisionClass < 0 || collisionClass > 2) {
    Refuse("LoadCollision", "collision class outside 0..2");
    return 0;
  }
  level->LoadCollision(S(state, 1), collisionClass);
  return 0;
}

int Lua_LoadItems(lua_State* state) {
  if (CLevel* level = Level()) level->LoadItems(S(state, 1));
  return 0;
}

int Lua_LoadEnemyGenerators(lua_State* state) {
  if (CLevel* level = Level()) level->LoadEnemyGenerators(S(state, 1));
  return 0;
}

int Lua_LoadTriggers(lua_State* state) {
  if (CLevel* level = Level()) level->LoadTriggers(S(state, 1));
  return 0;
}

// ---- Sprites and markers.

int Lua_AddSprite(lua_State* state) {
  CLevel* level = Level();
  if (!level) return 0;
  const double x = LuaToNumber(state, 3), y = LuaToNumber(state, 4), z = LuaToNumber(state, 5);
  const double angle = LuaToNumber(state, 6);
  if (!AllFinite("AddSprite", {x, y, z, angle})) return 0;
  level->AddSprite(S(state, 1), S(state, 2), ToFloat(x), ToFloat(y), ToFloat(z), ToFloat(angle));
  return 0;
}

int Lua_ChangeSpriteMesh(lua_State* state) {
  if (CLevel* level = Level()) level->ChangeSpriteMesh(S(state, 1), S(state, 2));
  return 0;
}

int Lua_RemoveSprite(lua_State* state) {
  if (CLevel* level = Level()) level->RemoveSprite(S(state, 1));
  return 0;
}

int Lua_AddAnimatedSprite(lua_State* state) {
  CLevel* level = Level();
  if (!level) return 0;
  const double x = LuaToNumber(state, 3), y = LuaToNumber(state, 4), z = LuaToNumber(state, 5);
  const double angle = LuaToNumber(state, 6);
  if (!AllFinite("AddAnimatedSprite", {x, y, z, angle})) return 0;
  level->AddAnimatedSprite(S(state, 1), S(state, 2), ToFloat(x), ToFloat(y), ToFloat(z), ToFloat(angle), S(state, 7),
                           LuaToBool(state, 8), S(state, 9));
  return 0;
}

int Lua_ChangeSpriteAnimation(lua_State* state) {
  if (CLevel* level = Level()) level->ChangeSpriteAnimation(S(state, 1), S(state, 2), LuaToBool(state, 3) ? 1 : 0);
  return 0;
}

int Lua_RemoveAnimatedSprite(lua_State* state) {
  // The sprite leaves the scene and gives its skinned mesh back; the entry
  // stays, as a removed static sprite's does.
  CLevel* level = Level();
  if (!level) return 0;
  auto& sprites = level->GetAnimatedSprites();
  auto it = sprites.find(S(state, 1));
  if (it == sprites.end()) return 0;
  NAMED_ANIMATED_SPRITE& entry = it->second;
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->RemoveNode(&entry.sprite);
  entry.sprite.SetMesh(nullptr);
  entry.mesh.Reset();
  return 0;
}

int Lua_GUIAddMarker(lua_State* state) {
  CLevel* level = Level();
  if (!level) return 0;
  const double x = LuaToNumber(state, 2), y = LuaToNumber(state, 3), z = LuaToNumber(state, 4);
  const double size = LuaToNumber(state, 5);
  if (!AllFinite("GUIAddMarker", {x, y, z, size})) return 0;
  level->AddMarker(S(state, 1), ToFloat(x), ToFloat(y), ToFloat(z), ToFloat(size), S(state, 6));
  return 0;
}

int Lua_GUIRemoveMarker(lua_State* state) {
  if (CLevel* level = Level()) level->RemoveMarker(S(state, 1));
  return 0;
}

int Lua_GUIActivateMarker(lua_State* state) {
  if (CLevel* level = Level()) level->ActivateMarker(S(state, 1), LuaToBool(state, 2));
  return 0;
}

// ---- Enemies and generators.

int Lua_SetEnemyCount(lua_State* state) {
  CLevel* level = Level();
  if (!level) return 0;
  const uint32_t count = LuaToCount(state, 1);
  level->SetWantedEnemyCount(static_cast<int>(std::min<uint32_t>(count, uint32_t(std::numeric_limits<int>::max()))));
  return 0;
}

int Lua_SetEnemySpeed(lua_State* state) {
  const double speed = LuaToNumber(state, 2);
  if (!AllFinite("SetEnemySpeed", {speed})) return 0;
  if (float* value = EnemyValue(LuaToInt(state, 1), false)) *value = ToFloat(speed);
  return 0;
}

int Lua_SetEnemyMaxDist(lua_State* state) {
  const double distance = LuaToNumber(state, 2);
  if (!AllFinite("SetEnemyMaxDist", {distance})) return 0;
  const float d = ToFloat(distance);
  if (float* value = EnemyValue(LuaToInt(state, 1), true)) *value = d * d;
  return 0;
}

int Lua_EnableEnemyGenerationRadius(lua_State* state) {
  if (CLevel* level = Level()) level->EnableGenerationRadius(LuaToBool(state, 1));
  return 0;
}

int Lua_SetEnemyGeneratorTimer(lua_State* state) {
  const double seconds = LuaToNumber(state, 1);
  if (!AllFinite("SetEnemyGeneratorTimer", {seconds})) return 0;
  g_EnemyGeneratorRearmTime = ToFloat(seconds);
  return 0;
}

int Lua_SetBoss0Health(lua_State* state) { return SetBossValue(state, &g_Boss0Health); }
int Lua_SetBoss1Health(lua_State* state) { return SetBossValue(state, &g_Boss1Health); }
int Lua_SetWaveShockPower(lua_State* state) { return SetBossValue(state, &g_WaveShockPower); }

int Lua_FillAllGenerators(lua_State* /*state*/) {
  if (CLevel* level = Level()) level->FillAllGenerators();
  return 0;
}

int Lua_EnableEnemyGroup(lua_State* state) {
  if (CLevel* level = Level()) level->EnableEnemyGroup(S(state, 1), LuaToBool(state, 2));
  return 0;
}

// ---- Objectives, triggers, circuits.

int Lua_AddObjective(lua_State* state) {
  if (CLevel* level = Level()) level->AddObjective(S(state, 1), Nembra::GetText(S(state, 2)));
  return 0;
}

int Lua_SetObjectiveComplete(lua_State* state) {
  if (CLevel* level = Level()) level->SetObjectiveComplete(S(state, 1), LuaToBool(state, 2));
  return 0;
}

int Lua_GetObjectiveComplete(lua_State* state) {
  CLevel* level = Level();
  const bool complete = level && level->GetObjectiveComplete(S(state, 1));
  lua_pushboolean(state, complete ? 1 : 0);
  return 1;
}

int Lua_GetLanguage(lua_State* state) {
  lua_pushnumber(state, 1.0);
  return 1;
}

int Lua_EnableTrigger(lua_State* state) {
  if (CLevel* level = Level()) level->GetTriggerManager().EnableTrigger(S(state, 1), LuaToBool(state, 2));
  return 0;
}

int Lua_EnableCircuit(lua_State* state) {
  if (CLevel* level = Level()) level->EnableCircuits(LuaToBool(state, 1));
  return 0;
}

int Lua_ShowDebugMessage(lua_State* state) {
  platform::ShowMessageBox(S(state, 1), "Script - Debug Message");
  return 0;
}

// ---- Doors, targets, wave weapons, explosions.

int Lua_OpenDoor(lua_State* state) {
  CLevel* level = Level();
  if (!level) return 0;
  if (COpenCloseDoor* door = FindDoor(*level, S(state, 1))) door->Open();
  return 0;
}

int Lua_CloseDoor(lua_State* state) {
  CLevel* level = Level();
  if (!level) return 0;
  if (COpenCloseDoor* door = FindDoor(*level, S(state, 1))) door->Close();
  return 0;
}

int Lua_IsDoorOpen(lua_State* state) {
  CLevel* level = Level();
  const COpenCloseDoor* door = level ? FindDoor(*level, S(state, 1)) : nullptr;
  lua_pushboolean(state, door && door->GetState() == COpenCloseDoor::STATE_OPEN ? 1 : 0);
  return 1;
}

int Lua_PopUpTarget(lua_State* state) {
  CLevel* level = Level();
  if (!level) return 0;
  if (CTarget* target = FindTarget(*level, S(state, 1))) target->PopUp();
  return 0;
}

int Lua_OpenWaveWeapon(lua_State* /*state*/) { return 0; }

int Lua_ShootWave(lua_State* /*state*/) {
  if (CLevel* level = Level()) level->ShootWave();
  return 0;
}

int Lua_DetonateBomb(lua_State* state) {
  CLevel* level = Level();
  if (!level) return 0;
  const double x = LuaToNumber(state, 1), y = LuaToNumber(state, 2), z = LuaToNumber(state, 3);
  if (!AllFinite("DetonateBomb", {x, y, z})) return 0;
  level->AddBomb(ToFloat(x), ToFloat(y), ToFloat(z), 1, 3.0f);
  return 0;
}

int Lua_Level12Explosion(lua_State* /*state*/) {
  CLevel* level = Level();
  CPlayer* player = Player();
  if (!level || !player) return 0;
  const D3DXVECTOR3 position = player->GetWorldPosition();
  level->AddBomb(position.x, position.y, position.z, 0, 0.0f);
  player->Deactivate();
  return 0;
}

// ---- Timers and lasers: made on a miss.

namespace {
CLevelTimer* Timer(lua_State* state) {
  CLevel* level = Level();
  return level ? &level->GetTimer(S(state, 1)) : nullptr;
}
CLaser* Laser(lua_State* state) {
  CLevel* level = Level();
  return level ? &level->GetLaser(S(state, 1)) : nullptr;
}
}  // namespace

int Lua_CreateTimer(lua_State* state) {
  Timer(state);
  return 0;
}

int Lua_RegisterTimerEvent(lua_State* state) {
  const double seconds = LuaToNumber(state, 2);
  if (!AllFinite("RegisterTimerEvent", {seconds})) return 0;
  if (CLevelTimer* timer = Timer(state)) timer->RegisterEvent(ToFloat(seconds), S(state, 3));
  return 0;
}

int Lua_ClearTimerEvents(lua_State* state) {
  if (CLevelTimer* timer = Timer(state)) timer->ClearEvents();
  return 0;
}

int Lua_StartTimer(lua_State* state) {
  if (CLevelTimer* timer = Timer(state)) timer->Start();
  return 0;
}

int Lua_StopTimer(lua_State* state) {
  if (CLevelTimer* timer = Timer(state)) timer->Stop();
  return 0;
}

int Lua_ResumeTimer(lua_State* state) {
  if (CLevelTimer* timer = Timer(state)) timer->Resume();
  return 0;
}

int Lua_GetTimerTime(lua_State* state) {
  CLevelTimer* timer = Timer(state);
  lua_pushnumber(state, timer ? double(timer->GetTime()) : 0.0);
  return 1;
}

int Lua_LaserTurnOn(lua_State* state) {
  CLaser* laser = Laser(state);
  if (!laser) return 0;
  const bool on = LuaToBool(state, 2);
  laser->SetOn(on);
  if (!on) laser->SetIntermittent(false);
  return 0;
}

int Lua_LaserMakeMovable(lua_State* state) {
  if (CLaser* laser = Laser(state)) laser->SetStopped(!LuaToBool(state, 2));
  return 0;
}

int Lua_LaserMakeIntermitent(lua_State* state) {
  if (CLaser* laser = Laser(state)) laser->SetIntermittent(LuaToBool(state, 2));
  return 0;
}

int Lua_LaserSetSpeed(lua_State* state) {
  const double speed = LuaToNumber(state, 2);
  if (!AllFinite("LaserSetSpeed", {speed})) return 0;
  if (CLaser* laser = Laser(state)) laser->SetLaserSpeed(ToFloat(speed));
  return 0;
}
