// Update and draw of many emitters of 500 live particles each, on the
// headless device (so the figures are CPU time only). The counter
// "per_particle" is the time per particle per frame.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "engine/app/Application.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/particles/ParticleEmitter.h"
#include "engine/particles/RandomTable.h"
#include "platform/HeadlessGraphics.h"
#include "platform/Platform.h"
#include "platform/Window.h"

using namespace Nembra;

namespace {

constexpr uint32_t PARTICLES = 500;

struct World {
  World() {
    platform::SetBackend(platform::Backend::Headless);
    platform::RegisterWindowClass("BENCH", &platform::DefWindowProc);
    window = platform::CreateAppWindow("BENCH", "bench", 0, 0, 0, 800, 600);
    g_pGraphicsDevice = new CGraphicsDevice();
    APPLICATION_PARAMS params;
    params.bitsPerPixel = 32;
    g_pGraphicsDevice->Create(window, params);
    g_ParticleRandom.Init(PARTICLE_RANDOM_COUNT, -1.0f, 1.0f);
    D3DXMATRIX view;
    const D3DXVECTOR3 eye(0, -500, 200), at(0, 0, 0), up(0, 0, 1);
    D3DXMatrixLookAtRH(&view, &eye, &at, &up);
    g_pGraphicsDevice->GetDevice()->SetTransform(platform::D3DTS_VIEW, &view);
  }
  platform::HWND window = nullptr;
};

World& TheWorld() {
  static World world;
  return world;
}

// Emitters that keep 500 particles alive: a full burst, then as many born
// per second as die.
std::vector<std::unique_ptr<CParticleEmitter>> MakeEmitters(int count) {
  SPHERE_EMITTER_PARAMS e;
  e.maxParticles = PARTICLES;
  e.initialBurst = PARTICLES;
  e.emissionRate = PARTICLES / 2.0f;
  e.life = 2.0f;
  e.lifeVariation = 0.0f;
  e.speed = 40.0f;
  e.speedVariation = 10.0f;
  e.directed = 0;
  e.radius = 20.0f;
  e.acceleration[2] = -50.0f;
  for (int i = 0; i < 3; ++i) e.startAccelerationFactor[i] = e.endAccelerationFactor[i] = 1.0f;
  const float start[4] = {1, 0.5f, 0.2f, 1}, end[4] = {1, 0, 0, 0};
  for (int i = 0; i < 4; ++i) e.startColor[i] = start[i], e.endColor[i] = end[i], e.colorVariation[i] = 0.1f;
  e.startSize = 8.0f;
  e.endSize = 2.0f;
  std::vector<std::unique_ptr<CParticleEmitter>> emitters;
  for (int i = 0; i < count; ++i) {
    auto em = std::make_unique<CSphereParticleEmitter>();
    em->SetParams(e);
    em->SetPosition(static_cast<float>(i * 10), 0.0f, 0.0f);
    em->UpdateWorldMatrix();
    emitters.push_back(std::move(em));
  }
  // Settle into the steady state.
  g_FrameTime = 0.016f;
  for (int frame = 0; frame < 10; ++frame)
    for (auto& em : emitters) em->UpdateParticles();
  return emitters;
}

void Report(benchmark::State& state, int emitters) {
  const double particles = static_cast<double>(emitters) * PARTICLES;
  state.counters["particles"] = particles;
  state.counters["per_particle"] =
      benchmark::Counter(particles, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Update(benchmark::State& state) {
  TheWorld();
  const int count = static_cast<int>(state.range(0));
  auto emitters = MakeEmitters(count);
  for (auto _ : state)
    for (auto& em : emitters) em->UpdateParticles();
  Report(state, count);
}

void BM_UpdateAndDraw(benchmark::State& state) {
  TheWorld();
  platform::headless::RecordingDevice* device = platform::headless::CurrentDevice();
  const int count = static_cast<int>(state.range(0));
  auto emitters = MakeEmitters(count);
  for (auto _ : state) {
    for (auto& em : emitters) {
      em->UpdateParticles();
      em->Draw();
    }
    // The recording device keeps every call; forget them outside the timing.
    state.PauseTiming();
    device->ClearLog();
    state.ResumeTiming();
  }
  Report(state, count);
}

}  // namespace

BENCHMARK(BM_Update)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateAndDraw)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
