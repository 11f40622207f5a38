// The levels' trigger files: a walk-in goal circle in every level and an
// action trigger at the Level4 terminal. The scripts they run live in the
// script folder.
#include "tools/datagen/DataGen.h"
#include "tools/datagen/DemoLevels.h"
#include "tools/formats/TriggerFile.h"

namespace {

using formats::TriggerFileRecord;

bool WriteTriggerFiles(const datagen::Output& out) {
  const std::vector<TriggerFileRecord> tutorial = {
      TriggerFileRecord::MakeCircle("Tut_Goal.lua", "GOAL", 1000.0f, 0.0f, 0.0f, 150.0f),
  };
  const std::vector<TriggerFileRecord> level4 = {
      TriggerFileRecord::MakeCircle("L4_Goal.lua", "GOAL", 3000.0f, 2500.0f, 0.0f, 200.0f),
      TriggerFileRecord::MakeRectangle("L4_Terminal.lua", "Terminal", -500.0f, 800.0f, 0.0f, 200.0f, 120.0f,
                                       TriggerFileRecord::Action),
  };
  const std::vector<TriggerFileRecord> level8 = {
      TriggerFileRecord::MakeCircle("L8_Goal.lua", "GOAL", 3200.0f, -3000.0f, 0.0f, 200.0f),
  };
  const std::vector<TriggerFileRecord>* perLevel[] = {&tutorial, &level4, &level8};
  bool ok = true;
  for (int i = 0; i < 3; ++i)
    ok &= out.Write(std::string(datagen::DEMO_LEVELS[i].name) + "_Triggers.dat",
                    formats::TriggerFileBytes(*perLevel[i]));
  return ok;
}

}  // namespace

DATAGEN_GROUP("triggers", WriteTriggerFiles);
