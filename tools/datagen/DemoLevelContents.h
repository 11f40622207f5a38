#pragma once
// The contents of a demo level by its layout's name.
#include "tools/datagen/DemoLevel4.h"
#include "tools/datagen/DemoLevel8.h"
#include "tools/datagen/DemoLevelTutorial.h"

namespace datagen {

inline DEMO_LEVEL_CONTENT DemoLevelContent(const LEVEL_LAYOUT& layout) {
  if (layout.name == "LevelTutorial") return TutorialContent(layout);
  if (layout.name == "Level4") return Level4Content(layout);
  if (layout.name == "Level8") return Level8Content(layout);
  return DEMO_LEVEL_CONTENT();
}

// The contents of the named demo level; empty for any other name.
inline DEMO_LEVEL_CONTENT DemoLevelContent(const std::string& name) {
  const LEVEL_LAYOUT* layout = FindLevelLayout(name);
  return layout ? DemoLevelContent(*layout) : DEMO_LEVEL_CONTENT();
}

}  // namespace datagen
