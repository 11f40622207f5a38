// Script functions that reach the player, its weapon and ability, the HUD,
// the sounds and music, and the lights.
#include <lua.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/resources/SkinnedMesh.h"
#include "engine/scene/Light.h"
#include "engine/scene/SceneManager.h"
#include "engine/sound/AudiereSound.h"
#include "engine/sound/WaveSound.h"
#include "engine/util/TextTable.h"
#include "game/script/GameScript.h"
#include "game/script/ScriptBindings.h"
#include "game/world/GameGlobals.h"
#include "game/world/GameWorld.h"
#include "platform/Saturate.h"

using namespace ScriptBinding;

namespace {

std::string S(lua_State* state, int index) { return LuaToStdString(state, index); }

// The level's HUD seam; null without a level.
CLevelHud* Hud() {
  CLevel* level = Level();
  return level ? &level->Hud() : nullptr;
}

// A fraction as a whole number of a maximum: below 0 (and NaN) reads 0,
// above 1 reads 1, then truncated.
uint32_t PartOf(double fraction, uint32_t maximum) {
  if (!(fraction > 0.0)) return 0;
  if (fraction > 1.0) fraction = 1.0;
  return static_cast<uint32_t>(double(maximum) * fraction);
}

}  // namespace

// ---- Player.

int Lua_LoadPlayer(lua_State* state) {
  CGameWorld* world = World();
  if (!world) return 0;
  const D3DXCOLOR colour = LuaToColour(state, 2);
  world->LoadPlayer(S(state, 1), colour.r, colour.g, colour.b, colour.a);
  return 0;
}

int Lua_SetPlayerMesh(lua_State* state) {
  if (CGameWorld* world = World()) world->SetPlayerMesh(S(state, 1));
  return 0;
}

int Lua_SetPlayerSex(lua_State* state) {
  if (CPlayer* player = Player()) player->SetSex(LuaToInt(state, 1) == 0);
  return 0;
}

int Lua_SetPlayerPos(lua_State* state) {
  const double x = LuaToNumber(state, 1), y = LuaToNumber(state, 2);
  if (!AllFinite("SetPlayerPos", {x, y})) return 0;
  if (CPlayer* player = Player()) player->SetPosition(ToFloat(x), ToFloat(y), 0.0f);
  return 0;
}

int Lua_SetPlayerRot(lua_State* state) {
  const double angle = LuaToNumber(state, 1);
  if (!AllFinite("SetPlayerRot", {angle})) return 0;
  if (CPlayer* player = Player()) player->SetRotationZ(ToFloat(angle));
  return 0;
}

int Lua_SetAbilityScript(lua_State* state) {
  g_AbilityScriptFile = S(state, 1);
  return 0;
}

int Lua_SetRadiation(lua_State* state) {
  const double value = LuaToNumber(state, 1);
  if (!AllFinite("SetRadiation", {value})) return 0;
  if (CPlayer* player = Player()) player->SetRadiation(ToFloat(value));
  return 0;
}

int Lua_ResetPlayerHealth(lua_State* /*state*/) {
  if (CPlayer* player = Player()) player->RestoreHealth();
  return 0;
}

int Lua_ResetPlayerAbility(lua_State* /*state*/) {
  if (CPlayer* player = Player()) player->GetAbility().Reset();
  return 0;
}

int Lua_PlayerCanWalk(lua_State* state) {
  if (CPlayer* player = Player()) player->SetCanWalk(LuaToBool(state, 1));
  return 0;
}

int Lua_SetCameraRot(lua_State* state) {
  const double angle = LuaToNumber(state, 1);
  if (!AllFinite("SetCameraRot", {angle})) return 0;
  if (CGameWorld* world = World()) world->SetCameraYaw(ToFloat(angle));
  return 0;
}

// ---- Weapon and ability.

int Lua_EnableWeapon(lua_State* state) {
  if (CPlayer* player = Player()) player->GetWeapon().Enable(LuaToBool(state, 1));
  return 0;
}

int Lua_SetOrdinaryWeapon(lua_State* state) {
  if (CPlayer* player = Player()) player->GetWeapon().SetOrdinary(LuaToBool(state, 1));
  return 0;
}

int Lua_SetWeaponCharge(lua_State* state) {
  CPlayer* player = Player();
  if (!player) return 0;
  CWeapon& weapon = player->GetWeapon();
  // Added to both colours; AddCharge caps each at the maximum.
  const double fraction = LuaToNumber(state, 1);
  if (!(fraction > 0.0)) return 0;
  const double amount = std::min(double(weapon.GetMaxCharge()) * fraction, double(UINT32_MAX));
  const uint32_t whole = static_cast<uint32_t>(amount);
  weapon.AddCharge(CWeapon::RED, whole);
  weapon.AddCharge(CWeapon::BLUE, whole);
  return 0;
}

int Lua_EnableAbility(lua_State* state) {
  if (CPlayer* player = Player()) player->GetAbility().Enable(LuaToBool(state, 1));
  return 0;
}

int Lua_SetAbilityCharge(lua_State* state) {
  CPlayer* player = Player();
  if (!player) return 0;
  CAbility& ability = player->GetAbility();
  const uint32_t charge = PartOf(LuaToNumber(state, 1), CAbility::FULL);
  // The meter can only be filled from empty: a lower charge starts it over.
  if (charge < ability.GetCharge()) ability.Reset();
  ability.AddCharge(charge - ability.GetCharge());
  return 0;
}

// ---- HUD.

namespace {
template <void (CLevelHud::*Set)(bool)>
int HudFlag(lua_State* state) {
  if (CLevelHud* hud = Hud()) (hud->*Set)(LuaToBool(state, 1));
  return 0;
}
template <void (CLevelHud::*Show)(int)>
int HudCount(lua_State* state) {
  const uint32_t count = LuaToCount(state, 1);
  if (CLevelHud* hud = Hud())
    (hud->*Show)(static_cast<int>(std::min<uint32_t>(count, uint32_t(std::numeric_limits<int>::max()))));
  return 0;
}
template <void (CLevelHud::*Call)()>
int HudCall(lua_State* /*state*/) {
  if (CLevelHud* hud = Hud()) (hud->*Call)();
  return 0;
}
template <void (CLevelHud::*Show)(CLevelTimer*, float)>
int HudTimer(lua_State* state, const char* function) {
  const double value = LuaToNumber(state, 2);
  if (!AllFinite(function, {value})) return 0;
  CLevel* level = Level();
  if (!level) return 0;
  CLevelTimer& timer = level->GetTimer(S(state, 1));
  (level->Hud().*Show)(&timer, ToFloat(value));
  return 0;
}
int ShowMessage(lua_State* state, double seconds, const char* function) {
  if (!AllFinite(function, {seconds})) return 0;
  CLevelHud* hud = Hud();
  if (!hud) return 0;
  hud->SetMessageText(Nembra::GetText(S(state, 1)));
  // The portrait's rectangle in its image: each number held to what an image can have.
  auto pixel = [state](int index) { return platform::ClampPixelCoordinate(LuaToInt(state, index)); };
  hud->SetMessageBackground(S(state, 2), pixel(3), pixel(4), pixel(5), pixel(6));
  hud->ShowMessageBox(true, ToFloat(seconds));
  return 0;
}
}  // namespace

int Lua_GUITurnOnAccessCard(lua_State* state) { return HudFlag<&CLevelHud::SetAccessCard>(state); }
int Lua_GUITurnOnConnectors(lua_State* state) { return HudFlag<&CLevelHud::SetConnectors>(state); }
int Lua_GUITurnOnCheckpoint(lua_State* state) { return HudFlag<&CLevelHud::SetCheckpoint>(state); }
int Lua_GUITurnOnMemoryCard(lua_State* state) { return HudFlag<&CLevelHud::SetMemoryCard>(state); }
int Lua_GUIItemsShow(lua_State* state) { return HudCount<&CLevelHud::ShowItems>(state); }
int Lua_GUIItemsAddOne(lua_State* state) { return HudCall<&CLevelHud::AddItem>(state); }
int Lua_GUIGeneratorsShow(lua_State* state) { return HudCount<&CLevelHud::ShowGenerators>(state); }
int Lua_GUIGeneratorsAddOne(lua_State* state) { return HudCall<&CLevelHud::AddGenerator>(state); }
int Lua_GUIReceptorsShow(lua_State* state) { return HudCount<&CLevelHud::ShowReceptors>(state); }
int Lua_GUIReceptorsAddOne(lua_State* state) { return HudCall<&CLevelHud::AddReceptor>(state); }
int Lua_GUITimerShow(lua_State* state) { return HudTimer<&CLevelHud::ShowCounterTimer>(state, "GUITimerShow"); }
int Lua_GUITimerStartStop(lua_State* state) { return HudCall<&CLevelHud::StartStopCounterTimer>(state); }
int Lua_GUIFinalTimerShow(lua_State* state) {
  return HudTimer<&CLevelHud::ShowDigitalTimer>(state, "GUIFinalTimerShow");
}
int Lua_GUIShowObjectiveComplete(lua_State* state) { return HudCall<&CLevelHud::ShowObjectiveBanner>(state); }
int Lua_GUIShowMessage(lua_State* state) { return ShowMessage(state, 7.0, "GUIShowMessage"); }
int Lua_GUIShowMessageTimer(lua_State* state) {
  return ShowMessage(state, LuaToNumber(state, 7), "GUIShowMessageTimer");
}
int Lua_GUIHideMessage(lua_State* /*state*/) {
  if (CLevelHud* hud = Hud()) hud->ShowMessageBox(false, 0.0f);
  return 0;
}

// ---- Sounds and music.

namespace {
Nembra::CWaveSound* Wave(lua_State* state) {
  return Nembra::g_pWaveSoundFactory ? Nembra::g_pWaveSoundFactory->Get(S(state, 1)) : nullptr;
}
}  // namespace

int Lua_PlayMP3(lua_State* state) {
  Nembra::CAudiereStreamingSoundFactory* factory = Nembra::g_pStreamingSoundFactory;
  if (!factory) return 0;
  if (g_pCurrentMusic) g_pCurrentMusic->Stop();
  g_pCurrentMusic = factory->Get(S(state, 1));
  if (!g_pCurrentMusic) return 0;
  g_pCurrentMusic->SetRepeat(true);
  g_pCurrentMusic->Play(false);
  return 0;
}

int Lua_PlayWav(lua_State* state) {
  if (Nembra::CWaveSound* sound = Wave(state)) sound->Play(false);
  return 0;
}

int Lua_PlayWavLoop(lua_State* state) {
  Nembra::CWaveSound* sound = Wave(state);
  if (!sound) return 0;
  // The count as given: -1 is the wave layer's loop until stopped.
  sound->SetRepeats(static_cast<uint32_t>(LuaToInt(state, 2)));
  sound->Play(false);
  return 0;
}

int Lua_StopWav(lua_State* state) {
  if (Nembra::CWaveSound* sound = Wave(state)) sound->Stop();
  return 0;
}

// ---- Lights.

int Lua_AddDirectionalLight(lua_State* state) {
  const double dx = LuaToNumber(state, 4), dy = LuaToNumber(state, 5), dz = LuaToNumber(state, 6);
  if (!AllFinite("AddDirectionalLight", {dx, dy, dz})) return 0;
  if (!Nembra::g_pSceneManager) return 0;
  Nembra::CDirectionalLight* light = Nembra::g_pSceneManager->CreateDirectionalLight(nullptr);
  if (!light) return 0;
  light->SetDiffuseColor(LuaToColour(state, 1));
  const D3DXVECTOR3& position = light->GetPosition();
  light->GetTarget().SetPosition(position.x + ToFloat(dx), position.y + ToFloat(dy), position.z + ToFloat(dz));
  light->Commit();
  return 0;
}

int Lua_LightAddPoint(lua_State* state) {
  if (CLevel* level = Level()) level->AddPointLight(S(state, 1));
  return 0;
}

int Lua_LightAddSpot(lua_State* state) {
  if (CLevel* level = Level()) level->AddSpotLight(S(state, 1));
  return 0;
}

int Lua_LightAddDirectional(lua_State* state) {
  if (CLevel* level = Level()) level->AddDirectionalLight(S(state, 1));
  return 0;
}

int Lua_LightRemove(lua_State* state) {
  if (CLevel* level = Level()) level->RemoveLight(S(state, 1));
  return 0;
}

int Lua_LightTurnOn(lua_State* state) {
  if (CLevel* level = Level()) level->TurnOnLight(S(state, 1), LuaToBool(state, 2));
  return 0;
}

int Lua_LightSetDiffuseColor(lua_State* state) {
  CLevel* level = Level();
  if (!level) return 0;
  const D3DXCOLOR colour = LuaToColour(state, 2);
  level->SetLightDiffuse(S(state, 1), colour.r, colour.g, colour.b, colour.a);
  return 0;
}

namespace {
// A light setter of one number, refused when the number is not finite.
template <void (CLevel::*Set)(const std::string&, float)>
int LightValue(lua_State* state, const char* function) {
  const double value = LuaToNumber(state, 2);
  if (!AllFinite(function, {value})) return 0;
  if (CLevel* level = Level()) (level->*Set)(S(state, 1), ToFloat(value));
  return 0;
}
template <void (CLevel::*Set)(const std::string&, float, float, float)>
int LightTriple(lua_State* state, const char* function) {
  const double a = LuaToNumber(state, 2), b = LuaToNumber(state, 3), c = LuaToNumber(state, 4);
  if (!AllFinite(function, {a, b, c})) return 0;
  if (CLevel* level = Level()) (level->*Set)(S(state, 1), ToFloat(a), ToFloat(b), ToFloat(c));
  return 0;
}
}  // namespace

int Lua_LightSetRange(lua_State* state) { return LightValue<&CLevel::SetLightRange>(state, "LightSetRange"); }
int Lua_LightSetAttenuation(lua_State* state) {
  return LightTriple<&CLevel::SetLightAttenuation>(state, "LightSetAttenuation");
}
int Lua_LightSetFalloff(lua_State* state) { return LightValue<&CLevel::SetLightFalloff>(state, "LightSetFalloff"); }
int Lua_LightSetInnerCone(lua_State* state) {
  return LightValue<&CLevel::SetLightInnerCone>(state, "LightSetInnerCone");
}
int Lua_LightSetOuterCone(lua_State* state) {
  return LightValue<&CLevel::SetLightOuterCone>(state, "LightSetOuterCone");
}
int Lua_LightSetPos(lua_State* state) { return LightTriple<&CLevel::SetLightPosition>(state, "LightSetPos"); }
int Lua_LightSetTarget(lua_State* state) { return LightTriple<&CLevel::SetLightTarget>(state, "LightSetTarget"); }
