#include "fuzz/FuzzGame.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "frontend/ProfileStore.h"
#include "game/demo/DemoLevelStart.h"
#include "game/level/Level.h"
#include "game/player/Player.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "scenario/AppScenario.h"
#include "scenario/ScreenScenario.h"

namespace fuzzgame {
namespace {

constexpr uint32_t LEVEL4 = 1;

scenario::AppScenario* g_Game = nullptr;
scenario::ScreenScenario* g_Screen = nullptr;

void Silence() {
  platform::SetLogHook([](platform::LogLevel, const std::string&) {});
}

// At the end of the run only the data copies go: the application and the
// engine stay as they are (the run's other static objects may be gone by
// then), reachable from here.
std::vector<std::string> g_Folders;

void RemoveCopies() {
  for (const std::string& folder : g_Folders) {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
}

void Register(const std::string& folder) {
  static const bool registered = (std::atexit(RemoveCopies), true);
  (void)registered;
  g_Folders.push_back(folder);
}

// The application playing Level4; made again when a previous input ended
// the run, brought back to play when it left the playing state.
scenario::AppScenario& Game() {
  if (g_Game && !g_Game->Ended() && g_Game->App().GetState() != CApp::STATE_PLAYING && g_pGameWorld) {
    g_pGameWorld->GetPlayer().Heal(1.0f);
    g_Game->App().ChangeState(CApp::STATE_PLAYING);
    g_Game->Frame();
  }
  if (g_Game && (g_Game->Ended() || g_Game->App().GetState() != CApp::STATE_PLAYING)) {
    delete g_Game;
    g_Game = nullptr;
  }
  if (!g_Game) {
    delete g_Screen;  // one engine at a time
    g_Screen = nullptr;
    g_Game = new scenario::AppScenario();
    Register(g_Game->DataFolder());
    if (!g_Game->Ready() || !demolevel::StartLevel(*g_Game, LEVEL4)) std::abort();
    Silence();
  }
  return *g_Game;
}

void Write(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                 static_cast<std::streamsize>(size));
  platform::ClearPathCache();
}

}  // namespace

void PutInGame(const std::string& name, const uint8_t* data, size_t size) {
  Write(Game().DataFolder() + name, data, size);
}

void PutInGame(const std::string& name, const std::vector<uint8_t>& bytes) {
  PutInGame(name, bytes.data(), bytes.size());
}

CLevel& EmptiedLevel() {
  Game();
  CLevel& level = g_pGameWorld->GetLevel();
  level.Unload();
  return level;
}

CApp& App() { return Game().App(); }

void PlayDrawSave() {
  if (!g_Game) Game();
  g_Game->Frame();
  g_ProfileStore.SaveCurrentProfile();
}

D3DXVECTOR3 BesidePlayer() {
  Game();
  return g_pGameWorld->GetPlayer().GetPosition() + D3DXVECTOR3(150.0f, 0.0f, 0.0f);
}

void PutOnScreen(const std::string& name, const uint8_t* data, size_t size) {
  if (!g_Screen) {
    delete g_Game;  // one engine at a time
    g_Game = nullptr;
    scenario::ScreenScenario::Options options;
    options.writableData = true;
    g_Screen = new scenario::ScreenScenario(options);
    Register(g_Screen->DataFolder());
    if (!g_Screen->Ready()) std::abort();
    Silence();
  }
  Write(g_Screen->DataFolder() + name, data, size);
}

void DrawScreen(const std::function<void()>& draw) {
  if (g_Screen) g_Screen->Frame(draw);
}

scenario::ScreenScenario& Screen() {
  if (!g_Screen) std::abort();
  return *g_Screen;
}

}  // namespace fuzzgame
