// The level's per-frame trigger and timer work: TestPoint over many walk-in
// triggers of which none holds the point, and Update of running timers
// with nothing due. Counters: "per_trigger" and "per_timer" are the time
// per trigger or timer per frame.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/app/Application.h"
#include "engine/scene/SceneManager.h"
#include "game/level/LevelTimer.h"
#include "game/triggers/TriggerManager.h"

namespace {

void BM_TriggerTestPoint(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Nembra::g_pSceneManager = new Nembra::CSceneManager;
  {
    CTriggerManager triggers;
    for (int i = 0; i < count; ++i) {
      const D3DXVECTOR3 at(static_cast<float>(i % 40) * 300.0f, static_cast<float>(i / 40) * 300.0f, 0.0f);
      const std::string name = "Trigger" + std::to_string(i);
      if (i % 2)
        triggers.AddCircularTrigger("Walk.lua", name, at, true, 100.0f, Nembra::TRIGGER_WALK_IN);
      else
        triggers.AddRectangularTrigger("Walk.lua", name, at, true, 200.0f, 150.0f, Nembra::TRIGGER_WALK_IN);
    }
    const D3DXVECTOR3 player(-5000.0f, -5000.0f, 0.0f);
    for (auto _ : state) triggers.TestPoint(player, Nembra::TRIGGER_WALK_IN);
    state.counters["per_trigger"] =
        benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
  }
  delete Nembra::g_pSceneManager;
  Nembra::g_pSceneManager = nullptr;
}
BENCHMARK(BM_TriggerTestPoint)->Arg(100)->Arg(1000);

void BM_TimerUpdate(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  std::vector<CLevelTimer> timers(count);
  for (CLevelTimer& timer : timers) {
    timer.RegisterEvent(1.0e9f, "Never.lua");
    timer.Start();
  }
  Nembra::g_FrameTime = 0.016f;
  for (auto _ : state)
    for (CLevelTimer& timer : timers) timer.Update();
  state.counters["per_timer"] = benchmark::Counter(
      static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TimerUpdate)->Arg(100);

}  // namespace

BENCHMARK_MAIN();
