#pragma once
// Shared by the script-binding tests: the names every game script may
// call, and a world scenario that runs Lua text through the game script.
#include <gtest/gtest.h>

#include <lua.hpp>

#include <string>
#include <vector>

#include "game/script/GameScript.h"
#include "game/world/GameWorld.h"
#include "scenario/WorldScenario.h"

namespace scripttest {

// Every function a level script may call, in the order they are registered.
inline const std::vector<std::string>& ScriptFunctionNames() {
  static const std::vector<std::string> names = {
      "GetVar", "SetVar", "IncVar", "DecVar", "GetFlag", "SetFlag", "FlipFlag", "SetInitScript",
      "SetFinishScript", "LoadTerrain", "LoadCollision", "LoadItems", "LoadEnemyGenerators", "AddSprite",
      "ChangeSpriteMesh", "RemoveSprite", "AddAnimatedSprite", "ChangeSpriteAnimation", "RemoveAnimatedSprite",
      "SetEnemyCount", "SetEnemySpeed", "SetEnemyMaxDist", "EnableEnemyGenerationRadius",
      "SetEnemyGeneratorTimer", "SetBoss0Health", "SetBoss1Health", "SetWaveShockPower", "LoadPlayer",
      "SetPlayerMesh", "SetPlayerSex", "SetPlayerPos", "SetPlayerRot", "SetAbilityScript", "SetRadiation",
      "ResetPlayerHealth", "ResetPlayerAbility", "PlayerCanWalk", "SetCameraRot", "AddObjective",
      "SetObjectiveComplete", "GetObjectiveComplete", "GetLanguage", "LoadTriggers", "EnableTrigger",
      "EnableCircuit", "ShowDebugMessage", "FillAllGenerators", "EnableEnemyGroup", "AddDirectionalLight",
      "OpenDoor", "CloseDoor", "IsDoorOpen", "PopUpTarget", "EnableWeapon", "SetWeaponCharge",
      "SetOrdinaryWeapon", "EnableAbility", "SetAbilityCharge", "CreateTimer", "RegisterTimerEvent",
      "ClearTimerEvents", "StartTimer", "StopTimer", "ResumeTimer", "GetTimerTime", "LaserTurnOn",
      "LaserMakeMovable", "LaserMakeIntermitent", "LaserSetSpeed", "GUITurnOnAccessCard",
      "GUITurnOnConnectors", "GUITurnOnCheckpoint", "GUITurnOnMemoryCard", "GUIItemsShow", "GUIItemsAddOne",
      "GUIGeneratorsShow", "GUIGeneratorsAddOne", "GUIReceptorsShow", "GUIReceptorsAddOne", "GUITimerShow",
      "GUITimerStartStop", "GUIFinalTimerShow", "GUIShowObjectiveComplete", "GUIAddMarker", "GUIRemoveMarker",
      "GUIActivateMarker", "GUIShowMessage", "GUIShowMessageTimer", "GUIHideMessage", "PlayMP3", "PlayWav",
      "PlayWavLoop", "StopWav", "DetonateBomb", "Level12Explosion", "OpenWaveWeapon", "ShootWave",
      "LightAddPoint", "LightAddSpot", "LightAddDirectional", "LightRemove", "LightTurnOn",
      "LightSetDiffuseColor", "LightSetRange", "LightSetAttenuation", "LightSetFalloff", "LightSetInnerCone",
      "LightSetOuterCone", "LightSetPos", "LightSetTarget"};
  return names;
}

// A HUD that counts what the scripts ask of it.
class RecordingHud : public CLevelHud {
 public:
  void SetAccessCard(bool shown) override { accessCard = shown; }
  void ShowItems(int count) override { items = count; }
  void AddItem() override { ++items; }
  void ShowCounterTimer(CLevelTimer* timer, float value) override {
    counterTimer = timer;
    counterValue = value;
  }
  void ShowMessageBox(bool show, float seconds) override {
    messageShown = show;
    messageSeconds = seconds;
  }
  void SetMessageBackground(const std::string& image, int x, int y, int width, int height) override {
    background = image;
    rect[0] = x, rect[1] = y, rect[2] = width, rect[3] = height;
  }
  void ShowObjectiveBanner() override { ++banners; }

  bool accessCard = false;
  int items = -1;
  CLevelTimer* counterTimer = nullptr;
  float counterValue = 0.0f;
  bool messageShown = false;
  float messageSeconds = 0.0f;
  std::string background;
  int rect[4] = {0, 0, 0, 0};
  int banners = 0;
};

// A world scenario on a private data copy: Lua text runs as a script file.
class ScriptWorld {
 public:
  explicit ScriptWorld(float frameTime = 0.02f) : w(MakeOptions(frameTime)) {}
  bool Run(const std::string& code) {
    if (!w.WriteScript("__test.lua", code)) return false;
    return g_GameScript.RunFile("__test.lua");
  }
  double Number(const char* name) {
    lua_State* state = g_GameScript.GetState();
    lua_getglobal(state, name);
    const double value = lua_tonumber(state, -1);
    lua_pop(state, 1);
    return value;
  }
  bool Bool(const char* name) {
    lua_State* state = g_GameScript.GetState();
    lua_getglobal(state, name);
    const bool value = lua_toboolean(state, -1) != 0;
    lua_pop(state, 1);
    return value;
  }

  scenario::WorldScenario w;

 private:
  static scenario::WorldScenario::Options MakeOptions(float frameTime) {
    scenario::WorldScenario::Options options;
    options.writableData = true;
    options.frameTime = frameTime;
    return options;
  }
};

}  // namespace scripttest
