// Fuzz target of the enemy-generator file's parse step: any bytes are
// refused or give records whose written form parses again to the same bytes.
#include <cstddef>
#include <cstdint>

#include "game/LevelFiles.h"
#include "tools/formats/LevelFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ENEMY_GENERATOR_FILE file;
  if (!ParseEnemyGeneratorFile(data, size, file)) return 0;
  if (file.generators.empty()) __builtin_trap();
  const std::vector<uint8_t> written = formats::EnemyGeneratorFileBytes(file);
  ENEMY_GENERATOR_FILE again;
  if (!ParseEnemyGeneratorFile(written, again) || formats::EnemyGeneratorFileBytes(again) != written)
    __builtin_trap();
  return 0;
}
