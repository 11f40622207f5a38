#pragma once
// Level4's contents and the way through it.
#include "tools/datagen/DemoLevelContent.h"
#include "tools/datagen/LevelEnemyGenerators.h"

namespace datagen {

inline DEMO_LEVEL_CONTENT Level4Content(const LEVEL_LAYOUT& layout) {
  DEMO_LEVEL_CONTENT c;
  c.generators = DemoLevelEnemyGenerators(layout);
  c.triggers = {
      formats::TriggerFileRecord::MakeCircle("L4_Goal.lua", "GOAL", 3000.0f, 2500.0f, 0.0f, 200.0f),
      formats::TriggerFileRecord::MakeRectangle("L4_Terminal.lua", "Terminal", -500.0f, 800.0f, 0.0f, 200.0f,
                                                120.0f, formats::TriggerFileRecord::Action),
  };
  return c;
}

}  // namespace datagen
