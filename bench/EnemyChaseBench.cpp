// The enemies chasing the player among 1,000 wall edges, on the recording
// device, with the player healed every frame so the fight never ends.
//
// BM_EnemyChase: N enemies (walkers, stalkers, shooters and beam walkers in
// turn) placed round the player, who walks in a circle. Timed: the level's
// update (the enemy pass: nothing else is in the level) and the whole
// playing frame; counters: the medians, and the enemy pass per enemy.
//
// BM_EnemyArena: N live enemies of every kind as the game makes them: the
// factory's random type (0) and beam walkers (type 8) from an enemy
// generator, and the two first bosses, all within 2,600 of the player, the
// walls in both collision classes so their shots and splashes hit them.
// Enemies that die or wander off are replaced before the next frame.
// Counters: the enemy pass per frame (median, p95) and per enemy, the whole
// frame (player, level, scene update, drawing with animation and skinning
// on the processor; median, p95), the rest of the frame after the level,
// the shots and effects alive, the player's loss of health in a frame,
// the kinds present, the chase steerings run, and the share of the enemy
// pass spent copying the enemy list for separation (as many copies as the
// frame's chases made, timed again on their own). Arg: N.
//
// KARVESSA_BENCH_FRAMES=<n> times n frames per size (a quick run).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <list>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include "engine/util/Random.h"
#include "game/enemies/EnemyGenerator.h"
#include "game/enemies/EnemyKinds.h"
#include "game/enemies/bosses/Bosses.h"
#include "scenario/WorldScenario.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kArenaReach = 2500.0f;  // enemies stay inside the level's 2,645

// Forty zigzag walls of 25 edges each, on rings round the middle, in each
// of the classes.
void BuildWalls(scenario::WorldScenario& w, std::initializer_list<int> classes) {
  for (int wall = 0; wall < 40; ++wall) {
    const float ring = 900.0f + 400.0f * float(wall % 4);
    const float start = 2.0f * kPi * float(wall) / 40.0f;
    std::vector<D3DXVECTOR3> points;
    for (int i = 0; i <= 25; ++i) {
      const float a = start + 0.004f * float(i);
      const float r = ring + ((i % 2) ? 40.0f : 0.0f);
      points.emplace_back(r * std::cos(a), r * std::sin(a), 0.0f);
    }
    for (int cls : classes) w.AddWall(cls, points);
  }
}

// A random place round the middle, 300 to 2,200 away.
D3DXVECTOR3 RandomPlace() {
  const float a = Nembra::RandomFloat(0.0f, 2.0f * kPi);
  const float r = Nembra::RandomFloat(300.0f, 2200.0f);
  return D3DXVECTOR3(r * std::cos(a), r * std::sin(a), 0.0f);
}

// Hands the enemy to the level at the place, in the scene.
void Place(scenario::WorldScenario& w, CEnemy* enemy, const D3DXVECTOR3& at) {
  if (!enemy) return;
  enemy->SetPosition(at);
  w.Level().GetEnemies().push_back(enemy);
  enemy->AddToScene(nullptr);
  enemy->UpdateWorldMatrix();
}

template <class Kind>
void Add(scenario::WorldScenario& w, const D3DXVECTOR3& at, uint32_t colour) {
  Place(w, new Kind(colour), at);
}

void AddEnemies(scenario::WorldScenario& w, int n) {
  for (int i = 0; i < n; ++i) {
    const D3DXVECTOR3 at = RandomPlace();
    switch (i % 4) {
      case 0: Add<CEnemy1>(w, at, uint32_t(i % 2)); break;
      case 1: Add<CEnemy7>(w, at, uint32_t(i % 2)); break;
      case 2: Add<CEnemy3>(w, at, uint32_t(i % 2)); break;
      default: Add<CEnemy8>(w, at, uint32_t(i % 2)); break;
    }
  }
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}
double Median(const std::vector<double>& v) { return Percentile(v, 0.5); }

double Since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The player walks in a slow circle, healed to full before every frame.
void DriveFrame(scenario::WorldScenario& w, int frame) {
  const float a = 0.01f * float(frame);
  w.Walk({-std::sin(a), std::cos(a), 0.0f});
  w.Player().Heal(1.0f);
}

void BM_EnemyChase(benchmark::State& state) {
  scenario::WorldScenario w;
  if (!w.Ready()) {
    state.SkipWithError(w.Problem().c_str());
    return;
  }
  const int n = int(state.range(0));
  Nembra::SeedRandom(7);
  BuildWalls(w, {1});
  AddEnemies(w, n);
  std::vector<double> enemyPass, frames;
  int frame = 0;
  for (auto _ : state) {
    DriveFrame(w, frame++);
    const auto t0 = std::chrono::steady_clock::now();
    w.Frame();
    const double whole = Since(t0);
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

// ---- Every kind ----------------------------------------------------------------

// Tops the level up to n enemies from the factory (every eighth a beam
// walker, type 8, the others its random type 0), each placed round the
// player. Returns how many were added; `made` counts every request.
int TopUpArena(scenario::WorldScenario& w, CEnemyGenerator& factory, size_t n, int& made) {
  int added = 0;
  std::list<CEnemy*>& enemies = w.Level().GetEnemies();
  while (enemies.size() < n) {
    CEnemy* enemy = factory.CreateEnemy(made % 8 == 7 ? 8u : 0u, true);
    ++made;
    if (!enemy) break;
    D3DXVECTOR3 at = RandomPlace();
    at += w.Player().GetPosition();
    Place(w, enemy, at);
    ++added;
  }
  return added;
}

size_t EnemyShots(CLevel& level) {
  return level.GetEnemy2Bullets().size() + level.GetEnemy3Bullets().size() + level.GetEnemy6Bullets().size() +
         level.GetEnemy8Bullets().size();
}

// The copies of the enemy list that `copies` chasing enemies make, timed.
double TimeListCopies(CLevel& level, int copies) {
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < copies; ++i) {
    const std::list<CEntity*> others(level.GetEnemies().begin(), level.GetEnemies().end());
    benchmark::DoNotOptimize(others.size());
  }
  return Since(t0);
}

void BM_EnemyArena(benchmark::State& state) {
  scenario::WorldScenario w;
  if (!w.Ready()) {
    state.SkipWithError(w.Problem().c_str());
    return;
  }
  const int n = std::max(2, int(state.range(0)));
  Nembra::SeedRandom(11);
  BuildWalls(w, {0, 1});
  Place(w, new CBoss0(0), D3DXVECTOR3(1200.0f, 300.0f, 0.0f));
  Place(w, new CBoss0(1), D3DXVECTOR3(-900.0f, -900.0f, 0.0f));
  CEnemyGenerator factory;
  int made = 0;
  TopUpArena(w, factory, size_t(n), made);
  // A second of play first, so every kind is into its chase and fight.
  int frame = 0;
  for (; frame < 50; ++frame) {
    DriveFrame(w, frame);
    w.Frame();
    TopUpArena(w, factory, size_t(n), made);
  }
  std::vector<double> enemyPass, frames, rest, copyShare;
  double shots = 0.0, effects = 0.0, replaced = 0.0, chasing = 0.0, damage = 0.0;
  for (auto _ : state) {
    DriveFrame(w, frame++);
    const uint64_t copiesBefore = CEnemy::GetSeparationCopies();
    const auto t0 = std::chrono::steady_clock::now();
    w.Frame();
    const double whole = Since(t0);
    const double pass = w.LastLevelUpdateSeconds();
    state.SetIterationTime(whole);
    frames.push_back(whole * 1e6);
    enemyPass.push_back(pass * 1e6);
    rest.push_back((whole - pass) * 1e6);

    state.PauseTiming();
    // The copies this frame's chases made, made again on their own.
    const int copies = int(CEnemy::GetSeparationCopies() - copiesBefore);
    copyShare.push_back(pass > 0.0 ? TimeListCopies(w.Level(), copies) / pass : 0.0);
    chasing += double(copies);
    damage += double(w.Player().GetMaxHealth() - w.Player().GetHealth());
    shots += double(EnemyShots(w.Level()));
    effects += double(w.Level().GetEffects().size());
    replaced += double(TopUpArena(w, factory, size_t(n), made));
    state.ResumeTiming();
  }
  const double frames_run = std::max<double>(1.0, double(frames.size()));
  state.counters["enemy_pass_us"] = Median(enemyPass);
  state.counters["enemy_pass_p95_us"] = Percentile(enemyPass, 0.95);
  state.counters["per_enemy_us"] = Median(enemyPass) / double(n);
  state.counters["frame_us"] = Median(frames);
  state.counters["frame_p95_us"] = Percentile(frames, 0.95);
  state.counters["after_level_us"] = Median(rest);
  state.counters["list_copy_share_pct"] = Median(copyShare) * 100.0;
  state.counters["chasing_per_frame"] = chasing / frames_run;
  state.counters["shots_alive"] = shots / frames_run;
  state.counters["effects_alive"] = effects / frames_run;
  state.counters["replaced_per_frame"] = replaced / frames_run;
  state.counters["player_damage_per_frame"] = damage / frames_run;
  std::set<std::string> kinds;
  for (CEnemy* e : w.Level().GetEnemies()) kinds.insert(typeid(*e).name());
  state.counters["kinds"] = double(kinds.size());
  state.counters["bosses_left"] =
      double(std::count_if(w.Level().GetEnemies().begin(), w.Level().GetEnemies().end(),
                           [](CEnemy* e) { return e->IsBoss(); }));
}

// A fixed number of frames when KARVESSA_BENCH_FRAMES asks for one.
void Frames(benchmark::internal::Benchmark* b) {
  if (const char* frames = std::getenv("KARVESSA_BENCH_FRAMES")) {
    const long count = std::strtol(frames, nullptr, 10);
    if (count > 0) b->Iterations(count);
  }
}

BENCHMARK(BM_EnemyChase)->Arg(50)->Arg(100)->Arg(200)->Apply(Frames)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnemyArena)->Arg(50)->Arg(100)->Arg(200)->Apply(Frames)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
