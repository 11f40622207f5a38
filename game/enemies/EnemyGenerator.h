#pragma once
// A place where enemies appear: three spawn options chosen by chance, a
// re-arm timer, and a group that scripts switch as a whole. Never in the
// scene; it draws nothing.
#include <array>
#include <cstdint>
#include <string>

#include "engine/scene/SceneNode.h"

class CEnemy;

class CEnemyGenerator : public Nembra::CSceneNode {
 public:
  static constexpr float BOUNDS_RADIUS = 200.0f;

  struct OPTION {
    uint32_t type = 0;
    int32_t percent = 0;
    uint8_t randomFacing = 0;
  };

  CEnemyGenerator();
  ~CEnemyGenerator() override = default;
  CEnemyGenerator(const CEnemyGenerator&) = delete;
  CEnemyGenerator& operator=(const CEnemyGenerator&) = delete;

  void SetOption1(int type, int percent, bool randomFacing) { SetOption(0, type, percent, randomFacing); }
  void SetOption2(int type, int percent, bool randomFacing) { SetOption(1, type, percent, randomFacing); }
  void SetOption3(int type, int percent, bool randomFacing) { SetOption(2, type, percent, randomFacing); }

  // Counts the re-arm timer down by the frame time, never below 0.
  void UpdateTimer();
  void ResetTimer() { m_RearmTimer = 0.0f; }
  // A new enemy of one of the options (owned by the caller), or null.
  CEnemy* SpawnEnemy();
  // The factory: a new enemy of the type (0 a random one of 1 to 7), blue and
  // red in turn over the whole run; null for a type above 8. A made enemy
  // re-arms the generator.
  CEnemy* CreateEnemy(uint32_t type, bool randomFacing);

  // The colour the next enemy of the run gets is red when this is set.
  static bool NextColourIsRed() { return s_NextRed != 0; }
  static void SetNextColourRed(bool red) { s_NextRed = red ? 1 : 0; }

  const OPTION& GetOption(int index) const { return m_Options[static_cast<size_t>(index)]; }
  float GetRearmTimer() const { return m_RearmTimer; }
  const std::string& GetGroup() const { return m_Group; }
  void SetGroup(const std::string& group) { m_Group = group; }
  bool IsEnabled() const { return m_Enabled != 0; }
  void SetEnabled(bool enabled) { m_Enabled = enabled ? 1 : 0; }

 private:
  void SetOption(int index, int type, int percent, bool randomFacing);

  static uint8_t s_NextRed;

  std::array<OPTION, 3> m_Options;
  float m_RearmTimer = 0.0f;
  std::string m_Group;
  uint8_t m_Enabled = 1;
};
