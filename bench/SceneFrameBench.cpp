// One frame of scene update and render pass on the headless recording
// device: the CPU cost of the scene per drawn object.
#include <benchmark/benchmark.h>

#include "SceneBenchScene.h"
#include "platform/HeadlessGraphics.h"
#include "platform/Platform.h"
#include "platform/Window.h"

namespace {

platform::LRESULT Proc(platform::HWND w, platform::UINT m, platform::WPARAM wp, platform::LPARAM lp) {
  return platform::DefWindowProc(w, m, wp, lp);
}

void SceneFrameOnRecordingDevice(benchmark::State& state) {
  scenebench::Scene scene(int(state.range(0)));
  platform::headless::RecordingDevice* device = platform::headless::CurrentDevice();
  for (auto _ : state) {
    scene.Frame();
    device->ClearLog();  // the recording would otherwise grow without end
  }
  scene.Report(state);
}
BENCHMARK(SceneFrameOnRecordingDevice)->Arg(200)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  platform::SetBackend(platform::Backend::Headless);
  Nembra::InitializeEngine();
  platform::RegisterWindowClass("Bench", Proc);
  platform::HWND window = platform::CreateAppWindow("Bench", "bench", platform::WS_CAPTION, 0, 0, 800, 600);
  Nembra::APPLICATION_PARAMS params;
  params.bitsPerPixel = 32;
  if (!Nembra::g_pGraphicsDevice->Create(window, params)) return 1;
  scenebench::WriteData();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  Nembra::ShutdownEngine();
  return 0;
}
