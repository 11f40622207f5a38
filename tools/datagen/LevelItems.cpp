// The items files of the demo levels. They start with all thirteen sections
// empty; the level objects' own groups add their records to the same file
// description before it is written.
#include "tools/datagen/DataGen.h"
#include "tools/datagen/LevelLayouts.h"
#include "tools/formats/LevelFiles.h"

namespace {

bool WriteLevelItems(const datagen::Output& out) {
  for (const datagen::LEVEL_LAYOUT& layout : datagen::DemoLevelLayouts()) {
    const ITEMS_FILE items;
    if (!out.Write(layout.name + "_Items.dat", formats::ItemsFileBytes(items))) return false;
  }
  return true;
}

}  // namespace

DATAGEN_GROUP("level-items", WriteLevelItems);
