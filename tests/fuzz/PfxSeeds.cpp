// Seeds of the particle file reader: one file of each emitter kind, as the
// particle file writer makes them.
#include "fuzz/FuzzSeeds.h"
#include "tools/formats/PfxFile.h"

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  std::vector<std::vector<uint8_t>> seeds;
  for (int32_t kind = 0; kind <= 4; ++kind) {
    formats::PfxFile f;
    f.kind = kind;
    f.texture = "Seed.png";
    f.initialBurst = 5;
    f.radius = 3.0f;
    f.height = 10.0f;
    f.ignoredPoints = {1, 2, 3};
    f.points = {0, 0, 0, 5, 0, 0, 5, 5, 0};
    seeds.push_back(formats::PfxFileBytes(f));
  }
  return seeds;
}
