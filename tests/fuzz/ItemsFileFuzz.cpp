// Fuzz target of the items file: any bytes are refused or give records whose
// written form parses again to the same bytes; then the playing level loads the
// file, plays a frame with it, draws it and saves. Seeds: the test level using
// every section and every form of node reference, and the empty file.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSeeds.h"
#include "fuzz/LevelFileSamples.h"
#include "game/files/LevelFiles.h"
#include "game/level/Level.h"
#include "tools/formats/LevelFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ITEMS_FILE file;
  if (ParseItemsFile(data, size, file)) {
    const std::vector<uint8_t> written = formats::ItemsFileBytes(file);
    ITEMS_FILE again;
    if (!ParseItemsFile(written, again) || formats::ItemsFileBytes(again) != written) __builtin_trap();
  }
  CLevel& level = fuzzgame::EmptiedLevel();
  fuzzgame::PutInGame("FuzzItems.dat", data, size);
  level.LoadItems(std::string("FuzzItems.dat"));
  fuzzgame::PlayDrawSave();
  return 0;
}

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  ITEMS_FILE links;
  links.links = levelsamples::TestLevelItems().links;
  return {formats::ItemsFileBytes(levelsamples::TestLevelItems()), formats::ItemsFileBytes(links),
          formats::ItemsFileBytes(ITEMS_FILE())};
}
