// Saving every profile when a level is over: five slots in use, each with
// its profile file and settings file, then the last-used settings once:
// eleven atomic file writes (write, flush, rename) into a temporary folder.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/app/Engine.h"
#include "frontend/ProfileStore.h"
#include "platform/Files.h"

namespace {

void BM_SaveAllProfilesFiveSlots(benchmark::State& state) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("karvessa-profile-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "ConfigDefault.dat", std::ios::binary)
      << "[Monitor]\r\nGamma=600\r\n[Sound]\r\nEffects=800\r\nMusic=700\r\n[Camera]\r\nType=0\r\n"
         "[Key]\r\nMoveUp=17\r\nMoveDown=31\r\nMoveLeft=30\r\nMoveRight=32\r\nAction=57\r\nAbility=18\r\n";
  const std::string old = Nembra::g_DataDirectory;
  Nembra::SetDataDirectory(dir.string() + "/");
  platform::ClearPathCache();
  g_ProfileStore = CProfileStore();
  for (uint32_t slot = 0; slot < CProfileStore::SLOT_COUNT; ++slot)
    g_ProfileStore.CreateProfile(L"Player " + std::to_wstring(slot), slot);
  g_ProfileStore.m_CurrentProfile = 2;
  bool ok = true;
  for (auto _ : state) ok = g_ProfileStore.SaveAllProfiles() && ok;
  if (!ok) state.SkipWithError("a save failed");
  g_ProfileStore = CProfileStore();
  Nembra::SetDataDirectory(old);
  platform::ClearPathCache();
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}
BENCHMARK(BM_SaveAllProfilesFiveSlots)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
