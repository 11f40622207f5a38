#pragma once
// Application 0, the in-game screen: the current level's objectives, each
// with its state, separated by blank lines.
#include <string>
#include <vector>

#include "frontend/pda/PDAApplication.h"

// One objective as the list shows it.
struct PDAObjective {
  std::wstring text;
  bool complete = false;
};

class CPDAAppObjectives : public CPDAApplication {
 public:
  void Load() override;
  void RefreshTexts() override;
  void Update() override;
  void Draw() override;

  // "- text > state" per objective, a blank line between two.
  static std::wstring ListText(const std::vector<PDAObjective>& objectives);
  // Writes the title and the list of these objectives.
  void DrawList(const std::vector<PDAObjective>& objectives);

  Nembra::CBitmapFont* m_pListFont = nullptr;
};

class CLevel;
// A level's objectives in list order.
std::vector<PDAObjective> LevelObjectives(CLevel& level);
// The game world's level's objectives in list order; empty without a world.
std::vector<PDAObjective> CurrentLevelObjectives();
