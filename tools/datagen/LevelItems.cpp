// The items files of the demo levels: <Level>_Items.dat.
#include "tools/datagen/LevelItems.h"

#include "tools/datagen/DataGen.h"
#include "tools/formats/LevelFiles.h"

namespace datagen {

ITEMS_FILE DemoLevelItems(const LEVEL_LAYOUT& /*layout*/) { return ITEMS_FILE(); }

}  // namespace datagen

namespace {

bool WriteLevelItems(const datagen::Output& out) {
  for (const datagen::LEVEL_LAYOUT& layout : datagen::DemoLevelLayouts())
    if (!out.Write(layout.name + "_Items.dat", formats::ItemsFileBytes(datagen::DemoLevelItems(layout))))
      return false;
  return true;
}

}  // namespace

DATAGEN_GROUP("level-items", WriteLevelItems);
