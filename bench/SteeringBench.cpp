// Entity costs per frame on the headless device: the steering an enemy
// crowd runs (seek, separation over the whole crowd, avoidance of 20
// obstacles, the steering force and the step), and the step plus scene
// update of a level full of static-sprite entities.
#include <benchmark/benchmark.h>

#include <list>
#include <string>
#include <vector>

#include "SceneBenchScene.h"
#include "engine/app/Application.h"
#include "engine/util/Random.h"
#include "game/actors/Energy.h"
#include "game/actors/Entity.h"
#include "game/actors/Movement.h"
#include "platform/HeadlessGraphics.h"
#include "platform/Platform.h"
#include "platform/Window.h"

namespace {

constexpr int OBSTACLES = 20;

platform::LRESULT Proc(platform::HWND w, platform::UINT m, platform::WPARAM wp, platform::LPARAM lp) {
  return platform::DefWindowProc(w, m, wp, lp);
}

class CCrowdMember : public CMovingEntity {
 public:
  CCrowdMember(float x, float y) {
    SetPosition(x, y, 0.0f);
    SetRadius(50.0f);
    SetSpeed(300.0f);
    SetMaxSpeed(300.0f);
    SetMoving(true);
    SetDirection(D3DXVECTOR3(Nembra::RandomFloat(-1.0f, 1.0f), Nembra::RandomFloat(-1.0f, 1.0f), 0.0f));
    UpdateWorldMatrix();
  }
};

// The walker's chase: weights 10 (seek), 90000 (avoidance, when there is
// any) and 1600 (separation).
void SteeringFrame(benchmark::State& state) {
  const int count = int(state.range(0));
  Nembra::SeedRandom(1);
  Nembra::g_FrameTime = 0.02f;
  std::list<CCrowdMember> crowd;
  std::list<CEntity*> everyone;
  for (int i = 0; i < count; ++i) {
    crowd.emplace_back(Nembra::RandomFloat(-1500.0f, 1500.0f), Nembra::RandomFloat(-1500.0f, 1500.0f));
    everyone.push_back(&crowd.back());
  }
  std::vector<float> obstacleRecords(OBSTACLES * 4);
  std::list<const float*> obstacles;
  for (int i = 0; i < OBSTACLES; ++i) {
    float* o = &obstacleRecords[i * 4];
    o[0] = Nembra::RandomFloat(-1500.0f, 1500.0f);
    o[1] = Nembra::RandomFloat(-1500.0f, 1500.0f);
    o[2] = 0.0f;
    o[3] = Nembra::RandomFloat(40.0f, 150.0f);
    obstacles.push_back(o);
  }
  const D3DXVECTOR3 target(0.0f, 0.0f, 0.0f);
  for (auto _ : state) {
    for (CCrowdMember& e : crowd) {
      D3DXVECTOR3 seek, avoid, separation;
      e.Seek(seek, target);
      D3DXVECTOR3 force = seek * 10.0f;
      e.AvoidObstacles(avoid, 0.1f, obstacles);
      if (avoid != D3DXVECTOR3(0.0f, 0.0f, 0.0f)) force += avoid * 90000.0f;
      e.ComputeSeparation(separation, everyone);
      force += separation * 1600.0f;
      e.ApplySteeringForce(force);
      e.Step();
    }
    benchmark::ClobberMemory();
  }
  state.counters["entities"] = count;
  state.counters["per_entity"] =
      benchmark::Counter(double(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(SteeringFrame)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);

// Step of every entity and the scene update (culling and submission); the
// render pass that empties the frame's queues runs outside the timing.
void StaticSpriteEntitiesFrame(benchmark::State& state) {
  const int count = int(state.range(0));
  Nembra::g_FrameTime = 0.02f;
  Nembra::CCamera camera;
  camera.SetAspect(800.0f / 600.0f);
  camera.SetPosition(0.0f, -1500.0f, 600.0f);
  camera.GetTarget().SetPosition(0.0f, 0.0f, 0.0f);
  Nembra::g_pSceneManager->AddTargetNode(&camera);
  Nembra::g_pSceneManager->SetCamera(&camera);
  std::vector<Nembra::CSimpleMesh*> meshes;
  for (int m = 0; m < scenebench::MESH_COUNT; ++m)
    meshes.push_back(Nembra::g_pSimpleMeshFactory->Get("Prop" + std::to_string(m) + ".x"));
  {
    std::list<CStaticSpriteEntity> entities;
    for (int i = 0; i < count; ++i) {
      CStaticSpriteEntity& e = entities.emplace_back();
      e.SetMesh(meshes[i % scenebench::MESH_COUNT]);
      e.SetPosition(float((i * 37) % 80) * 20.0f - 800.0f, float((i * 53) % 80) * 20.0f - 800.0f, 0.0f);
      e.SetRotationZ(0.1f * float(i % 7));
      e.AddToScene();
    }
    platform::headless::RecordingDevice* device = platform::headless::CurrentDevice();
    for (auto _ : state) {
      for (CStaticSpriteEntity& e : entities)
        if (e.IsActive()) e.Step();
      Nembra::g_pSceneManager->Update();
      state.PauseTiming();
      Nembra::g_pSceneManager->Render();
      device->ClearLog();
      state.ResumeTiming();
    }
    for (CStaticSpriteEntity& e : entities) e.RemoveFromScene();
  }
  Nembra::g_pSceneManager->RemoveNode(&camera.GetTarget());
  Nembra::g_pSceneManager->RemoveNode(&camera);
  for (int m = 0; m < scenebench::MESH_COUNT; ++m) Nembra::g_pSimpleMeshFactory->Release("Prop" + std::to_string(m) + ".x");
  state.counters["entities"] = count;
  state.counters["per_entity"] =
      benchmark::Counter(double(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(StaticSpriteEntitiesFrame)->Arg(1000)->Unit(benchmark::kMicrosecond);

// Souls alive (made again when they fade): their steps and the scene
// update; the render pass runs outside the timing.
void SoulsFrame(benchmark::State& state) {
  const int count = int(state.range(0));
  Nembra::SeedRandom(1);
  Nembra::g_FrameTime = 0.02f;
  Nembra::CCamera camera;
  camera.SetAspect(800.0f / 600.0f);
  camera.SetPosition(0.0f, -1500.0f, 600.0f);
  camera.GetTarget().SetPosition(0.0f, 0.0f, 0.0f);
  Nembra::g_pSceneManager->AddTargetNode(&camera);
  Nembra::g_pSceneManager->SetCamera(&camera);
  {
    std::list<CEnergy> souls;
    const auto make = [](CEnergy& soul) {
      soul.Init(uint32_t(Nembra::RandomInt(0, 1)), Nembra::RandomFloat(-800.0f, 800.0f),
                Nembra::RandomFloat(-800.0f, 800.0f), 0.0f, uint32_t(Nembra::RandomInt(1, 10)));
      soul.Show();
    };
    for (int i = 0; i < count; ++i) make(souls.emplace_back());
    platform::headless::RecordingDevice* device = platform::headless::CurrentDevice();
    for (auto _ : state) {
      for (CEnergy& soul : souls) {
        soul.Step();
        if (!soul.IsActive()) {
          soul.RemoveFromScene();
          make(soul);
        }
      }
      Nembra::g_pSceneManager->Update();
      state.PauseTiming();
      Nembra::g_pSceneManager->Render();
      device->ClearLog();
      state.ResumeTiming();
    }
    for (CEnergy& soul : souls) soul.RemoveFromScene();
  }
  Nembra::g_pSceneManager->RemoveNode(&camera.GetTarget());
  Nembra::g_pSceneManager->RemoveNode(&camera);
  state.counters["souls"] = count;
}
BENCHMARK(SoulsFrame)->Arg(0)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  platform::SetBackend(platform::Backend::Headless);
  Nembra::InitializeEngine();
  platform::RegisterWindowClass("Bench", Proc);
  platform::HWND window = platform::CreateAppWindow("Bench", "bench", platform::WS_CAPTION, 0, 0, 800, 600);
  Nembra::APPLICATION_PARAMS params;
  params.bitsPerPixel = 32;
  if (!Nembra::g_pGraphicsDevice->Create(window, params)) return 1;
  const std::string data = scenebench::WriteData();
  for (const char* soul : {"RedSoul.tga", "BlueSoul.tga"})
    platform::WriteFileAtomic(data + "Materials/" + soul,
                              formats::TgaBytes(formats::TestPicture(32, 32, 0x80FFFFFFu), true));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  Nembra::ShutdownEngine();
  return 0;
}
