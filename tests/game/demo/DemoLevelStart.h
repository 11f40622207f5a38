#pragma once
// Starting a demo level in an application scenario the way a player
// reaches it: login with the profile at the level's number, then the
// desktop's start and the start comic, until the level plays.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <list>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/scene/SceneManager.h"
#include "game/app/AppTestSupport.h"
#include "game/enemies/Enemy.h"
#include "game/level/Level.h"
#include "game/player/Player.h"
#include "game/world/GameWorld.h"
#include "scenario/ScreenProbe.h"

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

// Log lines that tell of something missing or failing: a file not found, a
// script error, a refused script call, a missing text, a default in its place.
inline std::vector<std::string> TroubleLines(const std::vector<std::string>& lines) {
  std::vector<std::string> trouble;
  for (const std::string& line : lines) {
    std::string lower = line;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* word : {"cannot", "could not", "not found", "missing", "error", "failed", "ignored", "damaged",
                             "no such", "unknown", "skipped", "no text", "default"})
      if (lower.find(word) != std::string::npos) {
        trouble.push_back(line);
        break;
      }
  }
  return trouble;
}

// The scene nodes under a node that hang in the scene (a node taken out of it counts nothing).
inline size_t SceneNodes(const Nembra::CSceneNode* node) {
  if (node != Nembra::g_pSceneManager->GetRoot() && !node->GetParent()) return 0;
  size_t n = 1;
  for (const Nembra::CSceneNode* child : node->GetChildren()) n += SceneNodes(child);
  return n;
}

template <class List>
size_t NodesOf(List& list) {
  size_t n = 0;
  for (auto& element : list) n += SceneNodes(&element);
  return n;
}
template <class T>
size_t NodesOf(std::list<T*>& list) {
  size_t n = 0;
  for (T* element : list) n += SceneNodes(element);
  return n;
}

using Counts = std::map<std::string, size_t>;

// What a start or a restart leaves in the level, object for object, light
// for light. The scene's nodes leave out what comes and goes while a level
// plays (enemies of the kind a roll chose, shots, effects, souls, slow-down
// zones, bombs): the rest is the level's own and must not change.
inline Counts CountLevel() {
  CLevel& l = Level();
  const size_t passing = NodesOf(l.GetEnemies()) + NodesOf(l.GetEffects()) + NodesOf(l.GetBullets()) +
                         NodesOf(l.GetEnemy2Bullets()) + NodesOf(l.GetEnemy3Bullets()) + NodesOf(l.GetEnemy6Bullets()) +
                         NodesOf(l.GetEnemy8Bullets()) + NodesOf(l.GetBoss0Bullets()) +
                         NodesOf(l.GetBoss0AbilityBullets()) + NodesOf(l.GetBoss1Bullets()) +
                         NodesOf(l.GetBoss1Lasers()) + NodesOf(l.GetSouls()) + NodesOf(l.GetSlowDowners()) +
                         (l.GetBomb() ? SceneNodes(l.GetBomb()) : 0);
  Counts c{{"items", l.GetItems().size()},
           {"boxes", l.GetBoxes().size()},
           {"generators", l.GetGenerators().size()},
           {"receptors", l.GetReceptors().size()},
           {"doors", l.GetDoors().size()},
           {"open/close doors", l.GetOpenCloseDoors().size()},
           {"roofs", l.GetRoofs().size()},
           {"links", l.GetLinks().size()},
           {"connectors", l.GetConnectors().size()},
           {"circuit generators", l.GetCircuitGenerators().size()},
           {"wire grates", l.GetWireGrates().size()},
           {"barrels", l.GetBarrels().size()},
           {"targets", l.GetTargets().size()},
           {"pushables", l.GetPushables().size()},
           {"lasers", l.GetLasers().size()},
           {"wave weapons", l.GetWaveWeapons().size()},
           {"enemy generators", l.GetEnemyGenerators().size()},
           {"enemies", l.GetEnemies().size()},
           {"level lights", l.GetLights().Count()},
           {"scene lights", Nembra::g_pSceneManager->GetLights().size()},
           {"circular triggers", l.GetTriggerManager().CircularCount()},
           {"rectangular triggers", l.GetTriggerManager().RectangularCount()},
           {"objectives", l.GetObjectiveMap().size()},
           {"objective order", l.GetObjectiveOrder().size()},
           {"timers", l.GetTimers().size()},
           {"markers", l.GetMarkers().size()},
           {"named sprites", l.GetSprites().size()},
           {"animated sprites", l.GetAnimatedSprites().size()},
           {"scene nodes but the passing ones", SceneNodes(Nembra::g_pSceneManager->GetRoot()) - passing}};
  for (int k = 0; k < 3; ++k) {
    c["static shapes, class " + std::to_string(k)] = l.GetCollision().GetStaticShapes(k).size();
    c["object shapes, class " + std::to_string(k)] = l.GetCollision().GetObjectShapes(k).size();
  }
  return c;
}

inline std::string Describe(const Counts& counts) {
  std::ostringstream out;
  for (const auto& entry : counts) out << entry.first << " " << entry.second << "; ";
  return out.str();
}

}  // namespace demolevel
