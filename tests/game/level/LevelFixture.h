#pragma once
// A headless engine with the game script opened and one level, for the
// level's tests: scripts and meshes are written into the fixture's data
// folder, and a recording host stands in for the game world and the HUD.
#include <lua.hpp>

#include <memory>
#include <string>
#include <vector>

#include "game/actors/EntitySceneFixture.h"
#include "game/level/Level.h"
#include "game/script/GameScript.h"
#include "game/script/ScriptVariables.h"
#include "platform/Files.h"
#include "tools/formats/XFileWriter.h"

namespace leveltest {

// Records what the level asked of the world and the HUD.
class RecordingHud : public CLevelHud {
 public:
  void ResetKeyItems() override { ++keyItemResets; }
  void ResetCounters() override { ++counterResets; }
  void ShowMessageBox(bool show, float seconds) override {
    ++messageBoxShows;
    lastShow = show;
    lastSeconds = seconds;
  }
  void HideMessageBox() override { ++messageBoxHides; }
  void HideDigitalTimer() override { ++digitalTimerHides; }

  int keyItemResets = 0;
  int counterResets = 0;
  int messageBoxShows = 0;
  bool lastShow = true;
  float lastSeconds = 0.0f;
  int messageBoxHides = 0;
  int digitalTimerHides = 0;
};

class RecordingHost : public CLevelHost {
 public:
  void ResetWorld() override { ++worldResets; }
  void RespawnPlayer(bool keepWeaponPower) override {
    ++respawns;
    if (keepWeaponPower) ++respawnsKeepingPower;
  }
  void MovePlayerTo(const D3DXVECTOR3& position) override {
    ++moves;
    lastMove = position;
  }
  void ClearRadiation() override { ++radiationClears; }
  void OnLightsDeleted() override { ++lightNotices; }
  CLevelHud* GetHud() override { return &hud; }

  RecordingHud hud;
  int worldResets = 0;
  int respawns = 0;
  int respawnsKeepingPower = 0;
  int moves = 0;
  D3DXVECTOR3 lastMove{0.0f, 0.0f, 0.0f};
  int radiationClears = 0;
  int lightNotices = 0;
};

class LevelTest : public entitytest::EntitySceneTest {
 protected:
  void SetUp() override {
    entitytest::EntitySceneTest::SetUp();
    g_ScriptVars.clear();
    g_ScriptFlags.clear();
    ASSERT_TRUE(g_GameScript.Open());
    level = std::make_unique<CLevel>();
    level->SetHost(&host);
    baseRootChildren = Root()->GetChildren().size();
  }
  void TearDown() override {
    level.reset();
    g_GameScript.Close();
    platform::ClearPathCache();
    entitytest::EntitySceneTest::TearDown();
  }

  void WriteFile(const std::string& name, const std::string& bytes) {
    WriteData(name, bytes);
    platform::ClearPathCache();
  }
  void WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteFile(name, std::string(bytes.begin(), bytes.end()));
  }
  void WriteScript(const std::string& name, const std::string& code) { WriteFile("Scripts/" + name, code); }
  // A script that counts its runs in the variable of its own name.
  void WriteCounter(const std::string& name) { WriteScript(name, "IncVar(\"" + name + "\")\n"); }
  int Count(const std::string& name) { return VarTableGet(name); }
  // A counting init script, set as the level's.
  void UseInitScript(const std::string& name) {
    WriteCounter(name);
    level->SetInitScript(name);
  }
  // A square mesh of the size under Meshes/.
  void WriteQuadMesh(const std::string& name, float size = 100.0f) {
    formats::XFileDesc file;
    file.Meshes.push_back(formats::QuadMesh(size));
    WriteFile("Meshes/" + name, formats::XFileText(file));
  }
  size_t RootChildren() const { return Root()->GetChildren().size(); }

  RecordingHost host;
  std::unique_ptr<CLevel> level;
  size_t baseRootChildren = 0;
};

}  // namespace leveltest
