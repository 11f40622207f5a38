// One frame of the PDA (CPDA::UpdateAndDraw) on the headless engine with
// the demo data: the e-mail with a 3,000-character mail open, the network
// list, and the login screen. Times only UpdateAndDraw; the counter
// "draw_calls" is the device's draw calls of that frame.
#include <benchmark/benchmark.h>

#include <chrono>

#include "engine/util/TextTable.h"
#include "frontend/ProfileStore.h"
#include "frontend/pda/PDA.h"
#include "game/level/LevelDescriptions.h"
#include "scenario/ScreenScenario.h"

namespace {

void RunPda(benchmark::State& state, int app, const std::wstring& mail) {
  scenario::ScreenScenario::Options options;
  options.writableData = true;
  scenario::ScreenScenario s(options);
  if (!s.Ready()) {
    state.SkipWithError(s.Problem().c_str());
    return;
  }
  Nembra::CTextTable::Load(L"ENG");
  LoadLevelDescriptions(L"ENG");
  g_ProfileStore = CProfileStore();
  g_ProfileStore.CreateProfile(L"Bench", 0);
  g_ProfileStore.GetCurrentProfile().levelReached = 1;
  for (CPDADocument& d : g_PDADocuments) d.enabled = true;
  g_LevelDescriptions[1].read = true;
  if (!mail.empty()) g_LevelDescriptions[1].emailText = mail;
  CPDA pda;
  g_pPDA = &pda;
  pda.Load();
  pda.RefreshTexts();
  pda.SetAllButtonsEnabled(true);
  pda.SetCurrentApp(PDA_APP_DESKTOP);
  pda.SetCurrentApp(app);
  s.Next().MoveTo(463 + 50, 158 + 20);
  s.Frame([&] { pda.UpdateAndDraw(); });
  size_t draws = 0;
  for (auto _ : state) {
    std::chrono::duration<double> elapsed{};
    s.Frame([&] {
      const auto start = std::chrono::steady_clock::now();
      pda.UpdateAndDraw();
      elapsed = std::chrono::steady_clock::now() - start;
    });
    draws = s.Device()->Draws().size();
    state.SetIterationTime(elapsed.count());
  }
  state.counters["draw_calls"] = double(draws);
  g_pPDA = nullptr;
}

std::wstring Mail(size_t characters) {
  std::wstring text;
  while (text.size() < characters) text += L"The station's east wing has lost power; restore it. ";
  return text.substr(0, characters);
}

void BM_PdaMail3000(benchmark::State& state) { RunPda(state, PDA_APP_EMAIL, Mail(3000)); }
void BM_PdaNetworkList(benchmark::State& state) { RunPda(state, PDA_APP_NETWORK, L""); }
void BM_PdaLogin(benchmark::State& state) { RunPda(state, PDA_APP_LOGIN, L""); }

BENCHMARK(BM_PdaMail3000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PdaNetworkList)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PdaLogin)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
