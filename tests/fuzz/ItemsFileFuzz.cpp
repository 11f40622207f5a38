// Fuzz target of the items file's parse step: any bytes are refused or give
// records whose written form parses again to the same bytes.
#include <cstddef>
#include <cstdint>

#include "game/LevelFiles.h"
#include "tools/formats/LevelFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ITEMS_FILE file;
  if (!ParseItemsFile(data, size, file)) return 0;
  const std::vector<uint8_t> written = formats::ItemsFileBytes(file);
  ITEMS_FILE again;
  if (!ParseItemsFile(written, again) || formats::ItemsFileBytes(again) != written) __builtin_trap();
  return 0;
}
