// The level's life cycle with many objects: building the test level's
// items (in memory, so no file reading is timed) and unloading them again,
// and a full restart that resets every object in place. Arg: how many
// copies of the test level are loaded; "per_object" is the time per object.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "engine/app/Engine.h"
#include "engine/scene/SceneManager.h"
#include "platform/Files.h"
#include "fuzz/LevelFileSamples.h"
#include "game/script/GameScript.h"
#include "game/level/Level.h"

namespace {

size_t ObjectCount(CLevel& level) {
  return level.GetItems().size() + level.GetBoxes().size() + level.GetGenerators().size() +
         level.GetDoors().size() + level.GetOpenCloseDoors().size() + level.GetRoofs().size() +
         level.GetConnectors().size() + level.GetReceptors().size() + level.GetWireGrates().size() +
         level.GetBarrels().size() + level.GetTargets().size() + level.GetPushables().size() +
         level.GetLasers().size() + level.GetWaveWeapons().size();
}

struct Scene {
  // An empty init script in a folder of its own, so a restart runs one.
  Scene() : m_Folder(std::filesystem::temp_directory_path() / "karvessa-level-bench") {
    std::filesystem::create_directories(m_Folder);
    std::ofstream(m_Folder / "Init.lua") << "-- nothing\n";
    m_SavedScripts = Nembra::g_ScriptDirectory;
    Nembra::g_ScriptDirectory = m_Folder.string() + "/";
    platform::ClearPathCache();
    Nembra::g_pSceneManager = new Nembra::CSceneManager;
    g_GameScript.Open();
  }
  ~Scene() {
    g_GameScript.Close();
    delete Nembra::g_pSceneManager;
    Nembra::g_pSceneManager = nullptr;
    Nembra::g_ScriptDirectory = m_SavedScripts;
    std::filesystem::remove_all(m_Folder);
  }
  std::filesystem::path m_Folder;
  std::string m_SavedScripts;
};

void BM_LevelLoadAndUnload(benchmark::State& state) {
  Scene scene;
  const ITEMS_FILE file = levelsamples::TestLevelItems();
  size_t objects = 0;
  {
    CLevel level;
    for (auto _ : state) {
      for (int64_t i = 0; i < state.range(0); ++i) level.LoadItems(file);
      objects = ObjectCount(level);
      level.Unload();
    }
  }
  state.counters["per_object"] = benchmark::Counter(
      static_cast<double>(objects), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LevelLoadAndUnload)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_LevelRestart(benchmark::State& state) {
  Scene scene;
  const ITEMS_FILE file = levelsamples::TestLevelItems();
  size_t objects = 0;
  {
    CLevel level;
    level.SetInitScript("Init.lua");
    for (int64_t i = 0; i < state.range(0); ++i) level.LoadItems(file);
    objects = ObjectCount(level);
    for (auto _ : state) level.Restart();
    level.Unload();
  }
  state.counters["per_object"] = benchmark::Counter(
      static_cast<double>(objects), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LevelRestart)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
