// One playing frame of the HUD on the headless recording device, every
// widget active: three gauges, four key icons, four counter rows, both
// banners mid-flash, the message box with 300 characters and the
// count-down. Update (image batch) and draw (text batch) as the playing
// state runs them. Counters: "draws" per frame.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/fonts/BitmapFont.h"
#include "frontend/hud/GUIBanner.h"
#include "frontend/hud/GUIPlayerView.h"
#include "frontend/hud/widgets/GUICounters.h"
#include "frontend/hud/widgets/GUIDigitalTimer.h"
#include "frontend/hud/widgets/GUIGauges.h"
#include "frontend/hud/widgets/GUIKeyItems.h"
#include "frontend/hud/widgets/GUIMessageBox.h"
#include "frontend/hud/widgets/GUIWeaponPanel.h"
#include "game/level/LevelTimer.h"
#include "platform/HeadlessGraphics.h"
#include "platform/Platform.h"
#include "platform/Window.h"

namespace {

platform::LRESULT Proc(platform::HWND w, platform::UINT m, platform::WPARAM wp, platform::LPARAM lp) {
  return platform::DefWindowProc(w, m, wp, lp);
}

class SetView : public CHudPlayerView {
 public:
  HUD_PLAYER_VALUES Read() const override { return values; }
  bool TakeHealedFlag() override { return true; }  // healed again whenever the flash is free
  HUD_PLAYER_VALUES values;
};

void HudPlayingFrame(benchmark::State& state) {
  SetView view;
  view.values = {120, 300, 100, 0.0f, 100, 25, 70, 3};
  SetHudPlayerView(&view);
  CGUIHealthGauge health;
  CGUIAbilityGauge ability;
  CGUIWeaponPanel weapon;
  CGUIKeyItems keys;
  CGUICounters counters;
  CGUIBanner objective, weaponUp;
  CGUIMessageBox box;
  CGUIDigitalTimer display;
  health.Init();
  ability.Init();
  weapon.Init();
  keys.Init();
  counters.Init();
  objective.LoadObjectiveCompleteTexts(L"ENG");
  weaponUp.LoadWeaponUpTexts(L"ENG");
  box.Init();
  CLevelTimer rowTimer, finalTimer;
  rowTimer.Start();
  finalTimer.Start();
  keys.SetAccessCard(true);
  keys.SetConnectors(true);
  keys.SetCheckpoint(true);
  keys.SetMemoryCard(true);
  counters.ShowItems(3);
  counters.ShowTimer(&rowTimer, 100.0f);
  counters.ShowGenerators(3);
  counters.ShowReceptors(4);
  std::wstring text;
  while (text.size() < 300) text += L"The east generators are offline; charge them. ";
  text.resize(300);
  box.SetText(text);
  box.Show(true, 1.0e9f);
  display.Show(&finalTimer, 100.0f);
  Nembra::g_FrameTime = 1.0f / 60.0f;

  platform::headless::RecordingDevice* device = platform::headless::CurrentDevice();
  Nembra::CGraphicsDevice& gd = *Nembra::g_pGraphicsDevice;
  uint64_t draws = 0;
  int frame = 0;
  for (auto _ : state) {
    // Both banners and every flash kept running.
    if (frame++ % 20 == 0) {
      objective.Show();
      weaponUp.Show();
      counters.AddItem();
    }
    device->ClearLog();
    gd.BeginScene();
    gd.BeginSprite(platform::D3DXSPRITE_ALPHABLEND);
    weapon.Update();
    health.Update();
    ability.Update();
    keys.Update();
    counters.Update();
    objective.Update();
    weaponUp.Update();
    box.Update();
    gd.EndSprite();
    gd.BeginSprite(platform::D3DXSPRITE_ALPHABLEND);
    health.Draw();
    ability.Draw();
    weapon.Draw();
    counters.Draw();
    box.Draw();
    display.Draw();
    gd.EndSprite();
    gd.Present();
    draws += device->Stats().draws;
  }
  state.counters["draws"] = benchmark::Counter(static_cast<double>(draws), benchmark::Counter::kAvgIterations);
  health.Release();
  ability.Release();
  weapon.Release();
  keys.Release();
  counters.Release();
  objective.Release();
  weaponUp.Release();
  box.Release();
  display.Release();
  SetHudPlayerView(nullptr);
}
BENCHMARK(HudPlayingFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  platform::SetBackend(platform::Backend::Headless);
  Nembra::SetDataDirectory(std::string(KARVESSA_DEMO_DATA_DIR) + "/");
  Nembra::InitializeEngine();
  platform::RegisterWindowClass("Bench", Proc);
  platform::HWND window = platform::CreateAppWindow("Bench", "bench", platform::WS_CAPTION, 0, 0, 800, 600);
  Nembra::APPLICATION_PARAMS params;
  params.bitsPerPixel = 32;
  if (!Nembra::g_pGraphicsDevice->Create(window, params)) return 1;
  Nembra::g_pBitmapFontFactory = new Nembra::CBitmapFontFactory();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  delete Nembra::g_pBitmapFontFactory;
  Nembra::g_pBitmapFontFactory = nullptr;
  Nembra::ShutdownEngine();
  return 0;
}
