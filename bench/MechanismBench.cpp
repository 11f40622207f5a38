// The mechanisms' per-frame cost and the frame of a barrel chain, on the
// headless engine with a game world (so items test the player's reach):
//   MechanismSteps: one frame of the steps of 300 items, 100 boxes, 100
//     barrels and 20 blocks kept sliding;
//   BarrelChain/100: the frame in which one barrel sets off 99 more in a
//     row (100 blasts, each reading "BarrelBreak.pfx"), restart excluded;
//   BarrelBlastsOnly/100: the same 100 blasts made directly, without the
//     reach tests: the file reading and emitter set-up alone;
//   BlastFileReads/100: of that, reading and parsing the particle file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/particles/ParticleFile.h"
#include "game/mechanisms/MechanismEffects.h"
#include "game/script/GameScript.h"
#include "game/world/GameWorld.h"
#include "platform/Files.h"
#include "platform/HeadlessGraphics.h"
#include "platform/Platform.h"
#include "platform/Window.h"
#include "tools/formats/LevelFiles.h"
#include "tools/formats/PfxFile.h"

namespace {

platform::LRESULT Proc(platform::HWND w, platform::UINT m, platform::WPARAM wp, platform::LPARAM lp) {
  return platform::DefWindowProc(w, m, wp, lp);
}

// A data folder with the blast's particle file (a cylinder of radius 150,
// as the demo's) and an empty init script.
struct Data {
  Data() : folder(std::filesystem::temp_directory_path() / "karvessa-mechanism-bench") {
    std::filesystem::create_directories(folder / "Scripts");
    formats::PfxFile blast;
    blast.kind = 4;
    blast.duration = 0.3f;
    blast.initialBurst = 40;
    blast.maxParticles = 80;
    blast.emissionRate = 100;
    blast.life = 0.6f;
    blast.radius = 150.0f;
    blast.height = 60.0f;
    const std::vector<uint8_t> bytes = formats::PfxFileBytes(blast);
    std::ofstream(folder / "BarrelBreak.pfx", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::ofstream(folder / "Scripts" / "Init.lua") << "-- nothing\n";
    Nembra::SetDataDirectory(folder.string() + "/");
    platform::ClearPathCache();
  }
  ~Data() { std::filesystem::remove_all(folder); }
  std::filesystem::path folder;
};

using formats::At;

void MechanismSteps(benchmark::State& state) {
  CGameWorld world;
  CLevel& level = world.GetLevel();
  world.GetPlayer().SetPosition(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
  world.GetPlayer().UpdateWorldMatrix();
  ITEMS_FILE file;
  for (int i = 0; i < 300; ++i) {
    ITEM_RECORD item;
    item.kind = 1;
    item.subKind = 1 + i % 3;
    item.pair = At(1000.0f + 150.0f * float(i % 20), 150.0f * float(i / 20));
    file.items.push_back(item);
  }
  for (int i = 0; i < 100; ++i) {
    BOX_RECORD box;
    box.requiredPower = 1 + i % 3;
    box.pair = At(-1000.0f - 300.0f * float(i % 10), 300.0f * float(i / 10));
    file.boxes.push_back(box);
    BARREL_RECORD barrel;
    barrel.pair = At(300.0f * float(i % 10), -1000.0f - 300.0f * float(i / 10));
    file.barrels.push_back(barrel);
  }
  for (int i = 0; i < 20; ++i) {
    PUSHABLE_RECORD block;
    block.length = 200.0f;
    block.width = 150.0f;
    block.startPoint = D3DXVECTOR3(-3000.0f, -3000.0f + 400.0f * float(i), 0.0f);
    block.endPoint = block.startPoint + D3DXVECTOR3(1000.0f, 0.0f, 0.0f);
    file.pushables.push_back(block);
  }
  level.LoadItems(file);
  int frame = 0;
  for (auto _ : state) {
    for (CItem& item : level.GetItems()) item.Step();
    for (CBox& box : level.GetBoxes()) box.Step();
    for (CBarrel& barrel : level.GetBarrels()) barrel.Step();
    for (CPushable& block : level.GetPushables()) {
      if (block.GetSpeed() == 0.0f) (frame++ % 2) ? block.PushBackward() : block.PushForward();
      block.Step();
    }
  }
  level.Unload();
  state.counters["objects"] = 520;
}
BENCHMARK(MechanismSteps)->Unit(benchmark::kMicrosecond);

// A row of barrels 200 apart (inside the reach of 210).
void LoadRow(CLevel& level, int count) {
  ITEMS_FILE file;
  for (int i = 0; i < count; ++i) {
    BARREL_RECORD barrel;
    barrel.pair = At(200.0f * float(i), 0.0f);
    file.barrels.push_back(barrel);
  }
  level.LoadItems(file);
}

void BarrelChain(benchmark::State& state) {
  CGameWorld world;
  CLevel& level = world.GetLevel();
  level.SetInitScript("Init.lua");
  LoadRow(level, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    level.GetBarrels().front().Explode();
    level.Update();  // the chain runs in this frame's effect pass
    state.PauseTiming();
    if (level.GetEffects().size() != static_cast<size_t>(state.range(0))) state.SkipWithError("chain broke");
    level.Restart();
    state.ResumeTiming();
  }
  level.Unload();
}
BENCHMARK(BarrelChain)->Arg(100)->Unit(benchmark::kMicrosecond);

void BarrelBlastsOnly(benchmark::State& state) {
  CGameWorld world;
  CLevel& level = world.GetLevel();
  LoadRow(level, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    for (CBarrel& barrel : level.GetBarrels()) level.AddBarrelExplosionEffect(barrel);
    state.PauseTiming();
    for (CEntity* effect : level.GetEffects()) {
      effect->RemoveFromScene();
      delete effect;
    }
    level.GetEffects().clear();
    state.ResumeTiming();
  }
  level.Unload();
}
BENCHMARK(BarrelBlastsOnly)->Arg(100)->Unit(benchmark::kMicrosecond);

void BlastFileReads(benchmark::State& state) {
  for (auto _ : state) {
    for (int64_t i = 0; i < state.range(0); ++i) {
      std::vector<uint8_t> bytes;
      platform::ReadWholeFile(Nembra::g_DataDirectory + "BarrelBreak.pfx", bytes);
      Nembra::PARTICLE_FILE file;
      Nembra::ParseParticleFile(bytes.data(), bytes.size(), "BarrelBreak.pfx", file, nullptr);
      benchmark::DoNotOptimize(file.params);
    }
  }
}
BENCHMARK(BlastFileReads)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  platform::SetBackend(platform::Backend::Headless);
  Nembra::InitializeEngine();
  platform::RegisterWindowClass("Bench", Proc);
  platform::HWND window = platform::CreateAppWindow("Bench", "bench", platform::WS_CAPTION, 0, 0, 800, 600);
  Nembra::APPLICATION_PARAMS params;
  params.bitsPerPixel = 32;
  if (!Nembra::g_pGraphicsDevice->Create(window, params)) return 1;
  Nembra::g_FrameTime = 0.02f;
  {
    Data data;
    g_GameScript.Open();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_GameScript.Close();
  }
  Nembra::ShutdownEngine();
  return 0;
}
