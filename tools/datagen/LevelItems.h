#pragma once
// The contents of each demo level's items file. They start with all
// thirteen sections empty; the level objects' groups add their records here,
// and the "level-items" group writes the result.
#include "game/LevelFileRecords.h"
#include "tools/datagen/LevelLayouts.h"

namespace datagen {

ITEMS_FILE DemoLevelItems(const LEVEL_LAYOUT& layout);

}  // namespace datagen
