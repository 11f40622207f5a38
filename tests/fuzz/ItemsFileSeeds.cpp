// Seeds of the items file fuzz target: the test level using every section
// and every form of node reference, and the empty file.
#include "fuzz/FuzzSeeds.h"
#include "fuzz/LevelFileSamples.h"
#include "tools/formats/LevelFiles.h"

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  ITEMS_FILE links;
  links.links = levelsamples::TestLevelItems().links;
  return {formats::ItemsFileBytes(levelsamples::TestLevelItems()), formats::ItemsFileBytes(links),
          formats::ItemsFileBytes(ITEMS_FILE())};
}
