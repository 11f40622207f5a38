// Writes each demo level's contents: <Level>_Items.dat, <Level>_Generators.dat,
// <Level>_Triggers.dat and the level's scripts.
#include "tools/datagen/DataGen.h"
#include "tools/datagen/DemoLevelContents.h"
#include "tools/formats/LevelFiles.h"

namespace {

bool WriteLevelContents(const datagen::Output& out) {
  bool ok = true;
  for (const datagen::LEVEL_LAYOUT& layout : datagen::DemoLevelLayouts()) {
    const datagen::DEMO_LEVEL_CONTENT content = datagen::DemoLevelContent(layout);
    ok = out.Write(layout.name + "_Items.dat", formats::ItemsFileBytes(content.items)) && ok;
    // A level without enemies has no generator file (the reader rejects an empty one).
    if (!content.generators.generators.empty())
      ok = out.Write(layout.name + "_Generators.dat", formats::EnemyGeneratorFileBytes(content.generators)) && ok;
    ok = out.Write(layout.name + "_Triggers.dat", formats::TriggerFileBytes(content.triggers)) && ok;
    for (const auto& script : content.scripts) ok = out.Write("Scripts/" + script.first, script.second) && ok;
  }
  return ok;
}

}  // namespace

DATAGEN_GROUP("level-contents", WriteLevelContents);
