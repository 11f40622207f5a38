// Fuzz target of the enemy-generator file's parse step: any bytes are refused
// or give records whose written form parses again to the same bytes; then the
// playing level loads the file, plays a frame, draws and saves. Seeds: the
// sample generators' file, and one holding the first alone.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSeeds.h"
#include "fuzz/LevelFileSamples.h"
#include "game/files/LevelFiles.h"
#include "game/level/Level.h"
#include "tools/formats/LevelFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ENEMY_GENERATOR_FILE file;
  if (ParseEnemyGeneratorFile(data, size, file)) {
    if (file.generators.empty()) __builtin_trap();
    const std::vector<uint8_t> written = formats::EnemyGeneratorFileBytes(file);
    ENEMY_GENERATOR_FILE again;
    if (!ParseEnemyGeneratorFile(written, again) || formats::EnemyGeneratorFileBytes(again) != written)
      __builtin_trap();
  }
  CLevel& level = fuzzgame::EmptiedLevel();
  fuzzgame::PutInGame("FuzzGenerators.dat", data, size);
  level.LoadEnemyGenerators(std::string("FuzzGenerators.dat"));
  fuzzgame::PlayDrawSave();
  return 0;
}

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  ENEMY_GENERATOR_FILE one = levelsamples::TestGenerators();
  one.generators.resize(1);
  return {formats::EnemyGeneratorFileBytes(levelsamples::TestGenerators()), formats::EnemyGeneratorFileBytes(one)};
}
