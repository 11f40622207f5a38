#pragma once
// A data folder of its own for each profile test, a fresh g_ProfileStore,
// and the settings files as the shipped data writes them (CR LF lines).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/app/Engine.h"
#include "frontend/ProfileStore.h"
#include "platform/Files.h"
#include "support/TempDir.h"

namespace profiletest {

// "ConfigDefault.dat": keys W, S, A, D, Space, E; camera 0; gamma 0.6, effects 0.8, music 0.7.
inline const std::string DEFAULT_SETTINGS =
    "[Monitor]\r\nGamma=600\r\n[Sound]\r\nEffects=800\r\nMusic=700\r\n[Camera]\r\nType=0\r\n"
    "[Key]\r\nMoveUp=17\r\nMoveDown=31\r\nMoveLeft=30\r\nMoveRight=32\r\nAction=57\r\nAbility=18\r\n";
// A player's last-used settings, other keys than the defaults'.
inline const std::string LAST_USED_SETTINGS =
    "[Monitor]\r\nGamma=321\r\n[Sound]\r\nEffects=123\r\nMusic=456\r\n[Camera]\r\nType=1\r\n"
    "[Key]\r\nMoveUp=200\r\nMoveDown=208\r\nMoveLeft=203\r\nMoveRight=205\r\nAction=28\r\nAbility=54\r\n";
// A slot's settings file after a save with the default keys (the writer starts every live line with a blank).
inline const std::string DEFAULT_SLOT_SETTINGS =
    " [Camera]\r\n Type=0\r\n [Key]\r\n MoveUp=17\r\n MoveDown=31\r\n MoveLeft=30\r\n MoveRight=32\r\n"
    " Action=57\r\n Ability=18\r\n";
// LAST_USED_SETTINGS as the settings writer gives it back.
inline const std::string LAST_USED_SETTINGS_SAVED =
    " [Monitor]\r\n Gamma=321\r\n [Sound]\r\n Effects=123\r\n Music=456\r\n [Camera]\r\n Type=1\r\n"
    " [Key]\r\n MoveUp=200\r\n MoveDown=208\r\n MoveLeft=203\r\n MoveRight=205\r\n Action=28\r\n Ability=54\r\n";

// gamma, effects, music, camera, then the keys up, down, left, right, action, ability.
inline std::vector<int64_t> Settings(const ProfileRecord& p) {
  return {p.gamma, p.effects, p.music, p.cameraType, p.moveUp, p.moveDown, p.moveLeft, p.moveRight, p.action, p.ability};
}

class ProfileFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    m_OldData = Nembra::g_DataDirectory;
    Nembra::SetDataDirectory(m_Dir.Path() + "\\");
    g_ProfileStore = CProfileStore();
    platform::ClearPathCache();
  }
  void TearDown() override {
    g_ProfileStore = CProfileStore();
    Nembra::SetDataDirectory(m_OldData);
    platform::ClearPathCache();
  }
  void Put(const std::string& name, const std::string& bytes) {
    m_Dir.Write(name, bytes);
    platform::ClearPathCache();
  }
  // The default and last-used settings files in place.
  void PutSettings() {
    Put("ConfigDefault.dat", DEFAULT_SETTINGS);
    Put("ConfigLastUsed.dat", LAST_USED_SETTINGS);
  }
  void Remove(const std::string& name) {
    std::remove(m_Dir.File(name).c_str());
    platform::ClearPathCache();
  }
  std::string Get(const std::string& name) const { return testsupport::ReadFileBytes(m_Dir.File(name)); }
  bool Exists(const std::string& name) const { return platform::FileExists(m_Dir.File(name)); }

  testsupport::TempDir m_Dir;
  std::string m_OldData;
};

// A profile file's bytes from its parts.
inline std::string ProfileBytes(const std::string& prefix, uint32_t count, const std::string& units, uint32_t level) {
  std::string out = prefix;
  for (int i = 0; i < 4; ++i) out += static_cast<char>((count >> (8 * i)) & 0xFF);
  out += units;
  for (int i = 0; i < 4; ++i) out += static_cast<char>((level >> (8 * i)) & 0xFF);
  return out;
}

}  // namespace profiletest
