// Lasers in a busy level: 30 sliding, blinking lasers in an arena of 1,000
// wall edges with 20 doors, 20 generators and 10 stations registered as
// object shapes. Measured: one frame of the level's update (every laser
// slides, blinks and asks for the first wall on its beam) and a single
// laser's wall query.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "game/level/Level.h"
#include "tools/formats/DoorLaserTexts.h"
#include "tools/formats/LevelFiles.h"

namespace {

constexpr int WALL_EDGES = 1000;
constexpr int LASERS = 30;

struct Arena {
  Arena() {
    folder = std::filesystem::temp_directory_path() / "karvessa-laser-bench";
    std::filesystem::create_directories(folder);
    savedData = Nembra::g_DataDirectory;
    Nembra::g_DataDirectory = folder.string() + "/";
    if (FILE* f = std::fopen((folder / "Blink.txt").string().c_str(), "wb")) {
      const std::string text = formats::DurationsText({0.3f, 0.1f, 0.2f, 0.15f});
      std::fwrite(text.data(), 1, text.size(), f);
      std::fclose(f);
    }
    Nembra::g_FrameTime = 0.02f;
    CLevel::SetCurrent(&level);
    // The arena: a ring of 1,000 edges, 5,000 across.
    COLLISION_FILE walls;
    walls.shapes.emplace_back();
    for (int i = 0; i <= WALL_EDGES; ++i) {
      const float a = 2.0f * D3DX_PI * static_cast<float>(i) / WALL_EDGES;
      walls.shapes.back().vertices.push_back(D3DXVECTOR3(2500.0f * std::cos(a), 2500.0f * std::sin(a), 0.0f));
    }
    level.GetCollision().AddStaticShapes(walls, 0);
    for (int i = 0; i < 20; ++i) {
      CDoor& door = level.GetDoors().emplace_back();
      door.SetPosition(-1800.0f + 180.0f * static_cast<float>(i), 900.0f, 0.0f);
      door.BuildCollisionBoxes();
      level.AddCollisionShape(&door.GetCollisionBox(0), 0);
      level.AddCollisionShape(&door.GetCollisionBox(1), 1);
      CGenerator& generator = level.GetGenerators().emplace_back();
      generator.SetPosition(-1800.0f + 180.0f * static_cast<float>(i), -900.0f, 0.0f);
      generator.SetCapacity(10);
      generator.BuildCollisionBoxes();
      level.AddCollisionShape(&generator.GetCollisionBox(0), 0);
      level.AddCollisionShape(&generator.GetCollisionBox(1), 1);
    }
    for (int i = 0; i < 10; ++i) {
      CWaveWeapon& station = level.GetWaveWeapons().emplace_back();
      station.SetPosition(-1800.0f + 360.0f * static_cast<float>(i), 0.0f, 0.0f);
      station.SetCapacity(10);
      station.BuildCollisionBoxes();
      level.AddCollisionShape(&station.GetCollisionBox(0), 0);
    }
    // Lasers across the arena from west to east, sliding 300 at 150 a
    // second and blinking.
    for (int i = 0; i < LASERS; ++i) {
      CLaser& laser = level.GetLaser("Laser" + std::to_string(i));
      CLaser::SETTINGS settings;
      settings.initiallyStopped = false;
      settings.range = 300.0f;
      settings.speed = 150.0f;
      settings.initiallyIntermittent = true;
      settings.durationsFile = "Blink.txt";
      const float y = -1500.0f + 100.0f * static_cast<float>(i);
      settings.farEnd = D3DXVECTOR3(2400.0f, y, 0.0f);
      laser.SetSettings(settings);
      laser.SetPosition(-2400.0f, y, 0.0f);
      laser.Build();
    }
  }
  ~Arena() {
    level.Unload();
    CLevel::SetCurrent(nullptr);
    Nembra::g_DataDirectory = savedData;
    std::filesystem::remove_all(folder);
  }
  CLevel level;
  std::filesystem::path folder;
  std::string savedData;
};

void BM_LaserFrame(benchmark::State& state) {
  Arena arena;
  for (auto _ : state) {
    for (auto& entry : arena.level.GetLasers()) entry.second.Step();
    benchmark::ClobberMemory();
  }
  state.counters["per_frame"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["per_laser"] = benchmark::Counter(double(state.iterations()) * LASERS,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LaserWallQuery(benchmark::State& state) {
  Arena arena;
  const float from[3] = {-2400.0f, 0.0f, 0.0f}, to[3] = {2400.0f, 10.0f, 0.0f};
  float hit[3], normal[3], distance = 0.0f;
  bool found = false;
  for (auto _ : state) {
    found = arena.level.CheckCollision(from, to, 0.0f, hit, distance, normal, 0, true);
    benchmark::DoNotOptimize(found);
  }
  if (!found) state.SkipWithError("the beam met no wall");
  state.counters["per_query"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_LaserFrame);
BENCHMARK(BM_LaserWallQuery);

}  // namespace

BENCHMARK_MAIN();
