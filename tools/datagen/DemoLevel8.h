#pragma once
// Level8's contents and the way through it.
#include "tools/datagen/DemoLevelContent.h"
#include "tools/datagen/LevelEnemyGenerators.h"

namespace datagen {

inline DEMO_LEVEL_CONTENT Level8Content(const LEVEL_LAYOUT& layout) {
  DEMO_LEVEL_CONTENT c;
  c.generators = DemoLevelEnemyGenerators(layout);
  c.triggers = {
      formats::TriggerFileRecord::MakeCircle("L8_Goal.lua", "GOAL", 3200.0f, -3000.0f, 0.0f, 200.0f),
  };
  return c;
}

}  // namespace datagen
