// Seeds of the enemy-generator file fuzz target.
#include "fuzz/FuzzSeeds.h"
#include "fuzz/LevelFileSamples.h"
#include "tools/formats/LevelFiles.h"

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  ENEMY_GENERATOR_FILE one = levelsamples::TestGenerators();
  one.generators.resize(1);
  return {formats::EnemyGeneratorFileBytes(levelsamples::TestGenerators()), formats::EnemyGeneratorFileBytes(one)};
}
