// The script functions' cost: one trigger-sized script file of ten calls
// run through the game script, and one call of SetPlayerPos inside a Lua
// loop of 100,000. Counters: "per_call" is the time per native call.
#include <benchmark/benchmark.h>

#include <lua.hpp>

#include "game/script/GameScript.h"
#include "scenario/WorldScenario.h"

namespace {

scenario::WorldScenario::Options Writable() {
  scenario::WorldScenario::Options options;
  options.writableData = true;
  return options;
}

void BM_TriggerScriptRun(benchmark::State& state) {
  scenario::WorldScenario w(Writable());
  if (!w.Ready()) {
    state.SkipWithError(w.Problem().c_str());
    return;
  }
  w.WriteScript("Bench.lua",
                "IncVar(\"N\")\nSetFlag(\"F\", true)\nOpenDoor(\"DOOR1\")\nGUIItemsAddOne()\n"
                "EnableTrigger(\"T\", false)\nSetPlayerPos(10, 20)\nLaserTurnOn(\"L\", true)\n"
                "StartTimer(\"T\")\nLightTurnOn(\"X\", true)\nSetObjectiveComplete(\"O\", true)\n");
  for (auto _ : state) benchmark::DoNotOptimize(g_GameScript.RunFile("Bench.lua"));
}
BENCHMARK(BM_TriggerScriptRun)->Unit(benchmark::kMicrosecond);

void BM_SetPlayerPosInALoop(benchmark::State& state) {
  scenario::WorldScenario w(Writable());
  if (!w.Ready()) {
    state.SkipWithError(w.Problem().c_str());
    return;
  }
  w.WriteScript("Loop.lua", "for i = 1, 100000 do SetPlayerPos(i, -i) end\n");
  for (auto _ : state) benchmark::DoNotOptimize(g_GameScript.RunFile("Loop.lua"));
  state.counters["per_call"] = benchmark::Counter(
      100000.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SetPlayerPosInALoop)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
