// Seeds of the collision file fuzz target: the sample walls, a closed
// square, empty shapes and a wire-grate shape file.
#include "fuzz/FuzzSeeds.h"
#include "fuzz/LevelFileSamples.h"
#include "tools/formats/LevelFiles.h"

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  COLLISION_FILE square;
  square.shapes.push_back(formats::ClosedShape({{100, 100, 0}, {-100, 100, 0}, {-100, -100, 0}, {100, -100, 0}}));
  COLLISION_FILE empties;
  empties.shapes.resize(3);
  return {formats::CollisionFileBytes(levelsamples::TestCollision()), formats::CollisionFileBytes(square),
          formats::CollisionFileBytes(empties), formats::CollisionFileBytes(COLLISION_FILE()),
          formats::WireGrateShapeFileBytes(levelsamples::TestGrateShapes())};
}
