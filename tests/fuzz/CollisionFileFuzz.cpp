// Fuzz target of the collision file's parse step (and the wire-grate shape
// files, which share its shape records): any bytes are refused or give shapes
// whose written form parses again to the same bytes, and which the level's
// query can test without reading out of bounds; then the playing level loads
// the file as walls of both classes, plays a frame, draws and saves. Seeds: the
// sample walls, a closed square, empty shapes and a wire-grate shape file.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSeeds.h"
#include "fuzz/LevelFileSamples.h"
#include "game/collision/CollisionRegistry.h"
#include "game/files/LevelFiles.h"
#include "game/level/Level.h"
#include "tools/formats/LevelFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  COLLISION_FILE file;
  if (ParseCollisionFile(data, size, file)) {
    const std::vector<uint8_t> written = formats::CollisionFileBytes(file);
    COLLISION_FILE again;
    if (!ParseCollisionFile(written, again) || formats::CollisionFileBytes(again) != written) __builtin_trap();
    CCollisionRegistry level;
    level.AddStaticShapes(file, COL_TIGHT);
    const float from[3] = {0, 0, 0}, to[3] = {1000, 700, 0};
    float hit[3], distance, normal[3];
    level.CheckCollision(from, to, 30, hit, distance, normal, COL_TIGHT, true);
    for (const CCollisionShape& shape : level.GetStaticShapes(COL_TIGHT)) {
      CCollisionShape moved = shape;
      moved.MoveTo(D3DXVECTOR3(5, 5, 0), 1.0f);
      if (moved.GetEdges().size() + 1 != moved.GetVertices().size() && !moved.GetVertices().empty())
        __builtin_trap();
    }
  }
  WIRE_GRATE_SHAPE_FILE grate;
  if (ParseWireGrateShapeFile(data, size, grate)) {
    const std::vector<uint8_t> written = formats::WireGrateShapeFileBytes(grate);
    WIRE_GRATE_SHAPE_FILE again;
    if (!ParseWireGrateShapeFile(written, again)) __builtin_trap();
  }
  CLevel& level = fuzzgame::EmptiedLevel();
  fuzzgame::PutInGame("FuzzCollision.dat", data, size);
  level.LoadCollision("FuzzCollision.dat", COL_TIGHT);
  level.LoadCollision("FuzzCollision.dat", COL_CHARACTER);
  fuzzgame::PlayDrawSave();
  return 0;
}

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  COLLISION_FILE square;
  square.shapes.push_back(formats::ClosedShape({{100, 100, 0}, {-100, 100, 0}, {-100, -100, 0}, {100, -100, 0}}));
  COLLISION_FILE empties;
  empties.shapes.resize(3);
  return {formats::CollisionFileBytes(levelsamples::TestCollision()), formats::CollisionFileBytes(square),
          formats::CollisionFileBytes(empties), formats::CollisionFileBytes(COLLISION_FILE()),
          formats::WireGrateShapeFileBytes(levelsamples::TestGrateShapes())};
}
