// Seeds of the trigger file fuzz target: files of every record variety from
// the writer, and an empty one.
#include "fuzz/FuzzSeeds.h"
#include "tools/formats/TriggerFile.h"

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  using formats::TriggerFileRecord;
  return {
      formats::TriggerFileBytes({}),
      formats::TriggerFileBytes({TriggerFileRecord::MakeCircle("Tut_Goal.lua", "GOAL", 1000.0f, 0.0f, 0.0f, 150.0f)}),
      formats::TriggerFileBytes({
          TriggerFileRecord::MakeCircle("L4_Goal.lua", "Goal", 3000.0f, 2500.0f, 0.0f, 200.0f),
          TriggerFileRecord::MakeRectangle("L4_Terminal.lua", "Terminal", -500.0f, 800.0f, 0.0f, 200.0f, 120.0f,
                                           TriggerFileRecord::Action),
          TriggerFileRecord::MakeCircle("", "goal", 1.0f, 2.0f, 3.0f, 4.0f, TriggerFileRecord::Action, false),
          TriggerFileRecord::MakeRectangle("x.lua", "", 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, TriggerFileRecord::WalkIn,
                                           false),
      }),
  };
}
