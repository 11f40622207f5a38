// The level's frame with many objects, on the recording device: a walled
// room, N standing enemies and N player shots in flight (of the enemies'
// colour, so none dies), topped up before each timed frame. Timed are the
// level's update alone and the whole playing frame (player, level, scene
// update and drawing, sound); the counters give the median frame in
// microseconds. Arg: N.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "engine/util/Random.h"
#include "scenario/WorldScenario.h"

namespace {

constexpr float kRoom = 1800.0f;

void BuildRoom(scenario::WorldScenario& w, int enemies) {
  const float r = kRoom + 200.0f;
  for (int cls = 0; cls < 2; ++cls)
    w.AddWall(cls, {{-r, -r, 0}, {r, -r, 0}, {r, r, 0}, {-r, r, 0}, {-r, -r, 0}});
  const int side = std::max(1, int(std::ceil(std::sqrt(double(enemies)))));
  for (int i = 0; i < enemies; ++i) {
    const float x = -kRoom + 2.0f * kRoom * float(i % side + 0.5f) / float(side);
    const float y = -kRoom + 2.0f * kRoom * float(i / side + 0.5f) / float(side);
    w.AddEnemy({x, y, 0}, 1, 50.0f);
  }
}

void TopUpShots(scenario::WorldScenario& w, size_t shots) {
  std::list<CBullet>& list = w.Level().GetBullets();
  while (list.size() < shots) {
    const D3DXVECTOR3 start(Nembra::RandomFloat(-kRoom, kRoom), Nembra::RandomFloat(-kRoom, kRoom), 0.0f);
    const float a = Nembra::RandomFloat(0.0f, 6.2831853f);
    const D3DXVECTOR3 direction(std::cos(a), std::sin(a), 0.0f);
    w.Level().SpawnShot(list, 1, &start.x, &direction.x, 1u);
  }
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <class Timed>
void RunBench(benchmark::State& state, Timed timed) {
  scenario::WorldScenario w;
  if (!w.Ready()) {
    state.SkipWithError(w.Problem().c_str());
    return;
  }
  const int n = int(state.range(0));
  BuildRoom(w, n);
  w.Player().GetWeapon().SetCharge(0, 100);
  std::vector<double> times;
  for (auto _ : state) {
    TopUpShots(w, size_t(n));
    const double seconds = timed(w);
    state.SetIterationTime(seconds);
    times.push_back(seconds * 1e6);
  }
  state.counters["median_us"] = Median(times);
  state.counters["enemies"] = double(w.Level().GetEnemies().size());
}

void BM_LevelUpdate(benchmark::State& state) {
  RunBench(state, [](scenario::WorldScenario& w) {
    w.Frame();
    return w.LastLevelUpdateSeconds();
  });
}

void BM_WholeFrame(benchmark::State& state) {
  RunBench(state, [](scenario::WorldScenario& w) {
    const auto t0 = std::chrono::steady_clock::now();
    w.Frame();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  });
}

BENCHMARK(BM_LevelUpdate)->Arg(0)->Arg(50)->Arg(200)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WholeFrame)->Arg(0)->Arg(50)->Arg(200)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
