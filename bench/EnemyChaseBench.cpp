// The enemy kinds chasing the player among 1,000 wall edges, on the
// recording device: N enemies (walkers, stalkers, shooters and beam
// walkers in turn) placed round the player, who walks in a circle and is
// healed every frame so the chase never ends. Timed: the level's update
// (the enemy pass: nothing else is in the level) and the whole playing
// frame; counters: the medians, and the enemy pass per enemy. Arg: N.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "engine/util/Random.h"
#include "game/enemies/EnemyKinds.h"
#include "scenario/WorldScenario.h"

namespace {

constexpr float kPi = 3.14159265f;

// Forty zigzag walls of 25 edges each, on rings round the middle.
void BuildWalls(scenario::WorldScenario& w) {
  for (int wall = 0; wall < 40; ++wall) {
    const float ring = 900.0f + 400.0f * float(wall % 4);
    const float start = 2.0f * kPi * float(wall) / 40.0f;
    std::vector<D3DXVECTOR3> points;
    for (int i = 0; i <= 25; ++i) {
      const float a = start + 0.004f * float(i);
      const float r = ring + ((i % 2) ? 40.0f : 0.0f);
      points.emplace_back(r * std::cos(a), r * std::sin(a), 0.0f);
    }
    w.AddWall(1, points);
  }
}

template <class Kind>
void Add(scenario::WorldScenario& w, const D3DXVECTOR3& at, uint32_t colour) {
  Kind* enemy = new Kind(colour);
  enemy->SetPosition(at);
  w.Level().GetEnemies().push_back(enemy);
  enemy->AddToScene(nullptr);
  enemy->UpdateWorldMatrix();
}

void AddEnemies(scenario::WorldScenario& w, int n) {
  for (int i = 0; i < n; ++i) {
    const float a = Nembra::RandomFloat(0.0f, 2.0f * kPi);
    const float r = Nembra::RandomFloat(300.0f, 2200.0f);
    const D3DXVECTOR3 at(r * std::cos(a), r * std::sin(a), 0.0f);
    switch (i % 4) {
      case 0: Add<CEnemy1>(w, at, uint32_t(i % 2)); break;
      case 1: Add<CEnemy7>(w, at, uint32_t(i % 2)); break;
      case 2: Add<CEnemy3>(w, at, uint32_t(i % 2)); break;
      default: Add<CEnemy8>(w, at, uint32_t(i % 2)); break;
    }
  }
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void BM_EnemyChase(benchmark::State& state) {
  scenario::WorldScenario w;
  if (!w.Ready()) {
    state.SkipWithError(w.Problem().c_str());
    return;
  }
  const int n = int(state.range(0));
  Nembra::SeedRandom(7);
  BuildWalls(w);
  AddEnemies(w, n);
  std::vector<double> enemyPass, frames;
  int frame = 0;
  for (auto _ : state) {
    const float a = 0.01f * float(frame++);
    w.Walk({-std::sin(a), std::cos(a), 0.0f});
    w.Player().Heal(1.0f);
    const auto t0 = std::chrono::steady_clock::now();
    w.Frame();
    const double whole = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    state.SetIterationTime(whole);
    frames.push_back(whole * 1e6);
    enemyPass.push_back(w.LastLevelUpdateSeconds() * 1e6);
  }
  const double pass = Median(enemyPass);
  state.counters["enemy_pass_us"] = pass;
  state.counters["per_enemy_us"] = n > 0 ? pass / double(n) : 0.0;
  state.counters["frame_us"] = Median(frames);
  state.counters["enemies_left"] = double(w.Level().GetEnemies().size());
}

BENCHMARK(BM_EnemyChase)->Arg(50)->Arg(100)->Arg(200)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
