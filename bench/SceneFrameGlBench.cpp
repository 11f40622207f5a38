// One frame of scene update and render pass on the OpenGL device (Mesa's
// software renderer under Xvfb in CI). Needs a display; without one it
// says so and runs nothing.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "SceneBenchScene.h"
#include "engine/app/Application.h"
#include "platform/Platform.h"

namespace {

class BenchApp : public Nembra::CApplication {
 public:
  bool OnInit() override { return Nembra::g_pGraphicsDevice->Create(GetWindow(), GetParams()); }
};

void SceneFrameOnGl(benchmark::State& state) {
  scenebench::Scene scene(int(state.range(0)));
  for (auto _ : state) {
    Nembra::g_pGraphicsDevice->BeginScene();
    scene.Frame();
    Nembra::g_pGraphicsDevice->Present();
  }
  scene.Report(state);
}
BENCHMARK(SceneFrameOnGl)->Arg(200)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    std::printf("no display: nothing measured\n");
    return 0;
  }
  platform::SetBackend(platform::Backend::SdlGl);
  Nembra::InitializeEngine();
  int result = 0;
  {
    BenchApp app;
    Nembra::APPLICATION_PARAMS params;
    params.SetTitle("Karvessa scene benchmark");
    params.windowed = true;
    params.bitsPerPixel = 32;
    if (!app.Init(params)) {
      std::printf("the window or the device could not be made\n");
      result = 1;
    } else {
      scenebench::WriteData();
      benchmark::Initialize(&argc, argv);
      benchmark::RunSpecifiedBenchmarks();
      benchmark::Shutdown();
    }
  }
  Nembra::ShutdownEngine();
  return result;
}
