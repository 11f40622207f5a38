// The enemy-generator files of the demo levels: <Level>_Generators.dat.
#include "tools/datagen/LevelEnemyGenerators.h"

#include "tools/datagen/DataGen.h"
#include "tools/formats/LevelFiles.h"


namespace {

bool WriteLevelEnemyGenerators(const datagen::Output& out) {
  for (const datagen::LEVEL_LAYOUT& layout : datagen::DemoLevelLayouts())
    if (!out.Write(layout.name + "_Generators.dat",
                   formats::EnemyGeneratorFileBytes(datagen::DemoLevelEnemyGenerators(layout))))
      return false;
  return true;
}

}  // namespace

DATAGEN_GROUP("level-enemy-generators", WriteLevelEnemyGenerators);
