#pragma once
// Application 3: the current level's map (the shell's map sprite) on a
// plain panel.
#include "frontend/pda/PDAApplication.h"

class CPDAAppGPS : public CPDAApplication {
 public:
  void Load() override;
  void RefreshTexts() override;
  void Update() override;
  void Activate() override;
};
