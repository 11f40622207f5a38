#pragma once
// Starting a demo level in an application scenario the way a player
// reaches it: login with the profile at the level's number, then the
// desktop's start and the start comic, until the level plays.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "game/app/AppTestSupport.h"
#include "game/world/GameWorld.h"
#include "game/level/Level.h"
#include "game/player/Player.h"
#include "scenario/ScreenProbe.h"
#include "engine/scene/SceneManager.h"

namespace demolevel {

inline CLevel& Level() { return g_pGameWorld->GetLevel(); }

// The level at that number (0 LevelTutorial, 1 Level4, 2 Level8) playing.
inline bool StartLevel(scenario::AppScenario& a, uint32_t levelNumber) {
  if (!apptest::ToLogin(a)) return false;
  apptest::ChooseProfile(a, levelNumber);
  bool started = false;
  for (int frame = 0; frame < 200 && a.App().GetState() != CApp::STATE_PLAYING && !a.Ended(); ++frame) {
    if (a.App().GetState() == CApp::STATE_COMIC) g_pComicViewer->finished = 1;
    // The desktop's start button, pressed once.
    if (a.App().GetState() == CApp::STATE_DESKTOP && !started) {
      g_pPDA->m_ResultCode = PDA_RESULT_START_GAME;
      started = true;
    }
    a.Frame();
  }
  return a.App().GetState() == CApp::STATE_PLAYING;
}

// Every face of the level's terrain in the last captured picture shows its
// texture, seen by the application's camera above the HUD's panels.
inline ::testing::AssertionResult EveryFaceLit(scenario::AppScenario& a, const std::string& level) {
  return scenario::EveryTerrainFaceLit(a.Pixels(), *Nembra::g_pSceneManager->GetCamera(),
                                       a.DataFolder() + level + "_Terrain.X", 45, 370);
}

// Log lines that tell of something missing or failing: a file not found, a
// script error, a refused script call.
// Walks the player in a straight line at walking speed, one frame of the
// given length a step; stops early when the level stops playing.
inline void WalkTo(scenario::AppScenario& a, float x, float y, float frameTime) {
  CPlayer& player = g_pGameWorld->GetPlayer();
  const D3DXVECTOR3 from = player.GetPosition();
  const float dx = x - from.x, dy = y - from.y;
  const float length = std::sqrt(dx * dx + dy * dy);
  const int steps = std::max(1, int(std::ceil(length / (CPlayer::SPEED * frameTime))));
  for (int i = 1; i <= steps && a.App().GetState() == CApp::STATE_PLAYING; ++i) {
    const float t = float(i) / float(steps);
    player.SetPosition(from.x + dx * t, from.y + dy * t, from.z);
    a.Frame();
  }
}

inline std::vector<std::string> TroubleLines(const std::vector<std::string>& lines) {
  std::vector<std::string> trouble;
  for (const std::string& line : lines) {
    std::string lower = line;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* word : {"cannot", "could not", "not found", "missing", "error", "failed", "ignored",
                             "damaged", "no such", "unknown"})
      if (lower.find(word) != std::string::npos) {
        trouble.push_back(line);
        break;
      }
  }
  return trouble;
}

}  // namespace demolevel
