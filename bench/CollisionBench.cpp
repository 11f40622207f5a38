// The level's collision query, a linear scan of every shape of a class:
// static box shapes on a grid (100, 1,000 and 10,000) plus 50 registered
// object shapes, queried by short mover steps that hit a box or pass
// between them; and one frame of 60 movers making two queries each against
// 10,000 boxes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <list>
#include <memory>

#include "game/collision/CollisionRegistry.h"
#include "tools/formats/LevelFiles.h"

namespace {

constexpr float SPACING = 400.0f;  // grid step; boxes are 200 x 200

struct Level {
  explicit Level(int boxes) {
    const int side = int(std::ceil(std::sqrt(float(boxes))));
    COLLISION_FILE file;
    for (int i = 0; i < boxes; ++i) {
      const float x = float(i % side) * SPACING, y = float(i / side) * SPACING;
      file.shapes.push_back(formats::ClosedShape(
          {{x + 100, y + 100, 0}, {x - 100, y + 100, 0}, {x - 100, y - 100, 0}, {x + 100, y - 100, 0}}));
    }
    registry.AddStaticShapes(file, COL_CHARACTER);
    for (int i = 0; i < 50; ++i) {
      objects.emplace_back();
      objects.back().BuildOctagon(D3DXVECTOR3(float(i) * SPACING + 200, -SPACING, 0), 90);
      registry.AddCollisionShape(&objects.back(), COL_CHARACTER);
    }
    extent = float(side) * SPACING;
  }
  CCollisionRegistry registry;
  std::list<CCollisionShape> objects;
  float extent = 0.0f;
};

void Query(benchmark::State& state, bool hit) {
  Level level(int(state.range(0)));
  // A 20-unit step: into the face of the box at the grid's middle, or
  // along the empty lane between two rows of boxes.
  const float mid = std::floor(std::sqrt(float(state.range(0))) / 2) * SPACING;
  const float from[3] = {mid - 110, hit ? mid : mid + 200, 0};
  const float to[3] = {mid - 90, hit ? mid : mid + 200, 0};
  float point[3], distance, normal[3];
  bool found = false;
  for (auto _ : state) {
    found = level.registry.CheckCollision(from, to, 40, point, distance, normal, COL_CHARACTER, true);
    benchmark::DoNotOptimize(found);
    benchmark::DoNotOptimize(distance);
  }
  if (found != hit) state.SkipWithError("the query did not give the expected result");
  state.counters["per_query"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["shapes"] = double(state.range(0) + 50);
}

void BM_CheckCollisionHit(benchmark::State& state) { Query(state, true); }
void BM_CheckCollisionMiss(benchmark::State& state) { Query(state, false); }

// 60 movers, each testing its step against the player's class and the
// characters' class, as the player does, against 10,000 boxes.
void BM_FrameOfSixtyMovers(benchmark::State& state) {
  Level level(10000);
  level.registry.AddStaticShapes(COLLISION_FILE(), COL_PLAYER);
  float point[3], distance, normal[3];
  int hits = 0;
  for (auto _ : state) {
    for (int m = 0; m < 60; ++m) {
      const float x = float(m % 10) * SPACING * 3 + 150, y = float(m / 10) * SPACING * 5 + 170;
      const float from[3] = {x, y, 0}, to[3] = {x - 60, y - 60, 0};
      hits += level.registry.CheckCollision(from, to, 40, point, distance, normal, COL_PLAYER, true);
      hits += level.registry.CheckCollision(from, to, 40, point, distance, normal, COL_CHARACTER, true);
    }
    benchmark::DoNotOptimize(hits);
  }
  state.counters["per_query"] =
      benchmark::Counter(double(state.iterations()) * 120.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BM_CheckCollisionHit)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_CheckCollisionMiss)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_FrameOfSixtyMovers)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
