#pragma once
// Level8 followed along its route in the application as a player meets it,
// for the level's tests and its pictures: the player moved directly at
// walking speed, shots fired through the weapon at the nearest enemy (in
// the other colour) or at the route's targets, Action pressed through the
// input, and what the level shows on the way recorded frame by frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "frontend/ProfileStore.h"
#include "game/app/AppTestSupport.h"
#include "game/enemies/EnemyHornSpit.h"
#include "game/enemies/EnemyKinds.h"
#include "game/mechanisms/circuits/WaveWeapon.h"
#include "tools/datagen/DemoLevelContents.h"

namespace level8test {

using datagen::DEMO_ROUTE_STEP;
using scenario::AppScenario;

constexpr float FRAME = 0.016f;
constexpr float WALK_SPEED = 550.0f;  // the player's speed
constexpr int FIRE_EVERY = 3;          // frames between two shots

inline CLevel& Level() { return g_pGameWorld->GetLevel(); }
inline CPlayer& Player() { return g_pGameWorld->GetPlayer(); }

// Lines of the log that report something the level asked for and did not get.
inline std::vector<std::string> Problems(const std::vector<std::string>& lines) {
  std::vector<std::string> found;
  for (const std::string& line : lines)
    for (const char* word : {"missing", "Unknown Text", "could not", "cannot", "error", "Error", "not found"})
      if (line.find(word) != std::string::npos) {
        found.push_back(line);
        break;
      }
  return found;
}

// The application started on a profile that has reached Level8: no start
// comic, straight into play.
class Level8Run {
 public:
  explicit Level8Run(uint32_t seed = 1, bool gl = false) : a(Options(seed, gl)) {}

  static AppScenario::Options Options(uint32_t seed, bool gl) {
    AppScenario::Options o;
    o.frameTime = FRAME;
    o.seed = seed;
    o.gl = gl;
    return o;
  }

  bool Start() {
    // The front end at this frame time: the menu's fade, then start.
    if (!a.Ready() || !apptest::ToMainMenu(a)) return false;
    a.Run(40);
    g_pMainMenu->m_Page = CMainMenu::PAGE_START;
    if (!a.RunUntilState(CApp::STATE_LOGIN, 200)) return false;
    // A profile that has reached Level8 goes to the desktop, and from
    // there into the level: no start comic on the way.
    apptest::ChooseProfile(a, 2);
    if (!a.RunUntilState(CApp::STATE_DESKTOP, 30)) return false;
    a.Run(5);
    g_pPDA->m_ResultCode = PDA_RESULT_START_GAME;
    if (a.RunUntilState(CApp::STATE_PLAYING, 200)) return true;
    for (const std::string& line : a.LogLines()) std::printf("%s\n", line.c_str());
    return false;
  }

  bool Playing() { return a.App().GetState() == CApp::STATE_PLAYING; }

  void Frame() {
    a.Frame();
    if (!g_pGameWorld || !Playing()) return;
    int alive = 0;
    for (CEnemy* enemy : Level().GetEnemies()) {
      if (!enemy->IsActive() || enemy->IsDying()) continue;
      ++alive;
      horns |= dynamic_cast<CEnemy6*>(enemy) != nullptr;
      beams |= dynamic_cast<CEnemy8*>(enemy) != nullptr;
    }
    mostAlive = std::max(mostAlive, alive);
    puddles |= !Level().GetSlowDowners().empty();
    bombs += Level().GetBomb() && Level().GetBomb() != lastBomb ? 1 : 0;
    lastBomb = Level().GetBomb();
    irradiated |= Player().GetRadiation() > 0.0f;
    for (CWaveWeapon& station : Level().GetWaveWeapons())
      stationFull |= station.GetColour() == 1 && station.GetCharge() == station.GetCapacity();
    gasBalls = std::max<int>(gasBalls, int(Level().GetEnemy6Bullets().size()));
    lowestHealth = std::min(lowestHealth, Player().GetHealth());
    died |= !Player().IsActive();
  }

  // The nearest live enemy within reach, or null (shot at with the other colour).
  CEnemy* Nearest(float reach) {
    const D3DXVECTOR3 p = Player().GetWorldPosition();
    CEnemy* best = nullptr;
    float bestSq = reach * reach;
    for (CEnemy* enemy : Level().GetEnemies()) {
      if (!enemy->IsActive() || enemy->IsDying()) continue;
      D3DXVECTOR3 d = enemy->GetWorldPosition() - p;
      d.z = 0.0f;
      const float sq = D3DXVec3LengthSq(&d);
      if (sq < bestSq) bestSq = sq, best = enemy;
    }
    return best;
  }

  // One shot of a colour from the player's hand towards a point.
  void FireAt(const D3DXVECTOR3& at, int colour) {
    D3DXVECTOR3 from = Player().GetHand().WorldPosition();
    D3DXVECTOR3 d(at.x - from.x, at.y - from.y, 0.0f);
    if (D3DXVec3LengthSq(&d) < 1.0f) return;
    D3DXVec3Normalize(&d, &d);
    Player().SetShotDirection(d);
    Player().GetWeapon().Fire(colour);
    ++shotsFired;
  }

  // Every few frames, a shot of the other colour at the nearest enemy.
  bool FightOnce(float reach) {
    CEnemy* enemy = Nearest(reach);
    if (!enemy) return false;
    if (a.FrameNumber() % FIRE_EVERY == 0) FireAt(enemy->GetWorldPosition(), enemy->GetColour() == 0 ? 1 : 0);
    return true;
  }

  // Straight to a point at walking speed, fighting what comes near.
  void WalkTo(float x, float y) {
    for (int guard = 0; guard < 5000 && Playing(); ++guard) {
      const D3DXVECTOR3 p = Player().GetPosition();
      D3DXVECTOR3 d(x - p.x, y - p.y, 0.0f);
      const float left = D3DXVec3Length(&d);
      if (left < 1.0f) return;
      const float step = std::min(left, WALK_SPEED * FRAME);
      g_pGameWorld->MovePlayerTo(p + d * (step / left));
      FightOnce(950.0f);
      Frame();
    }
  }

  void Fight(const DEMO_ROUTE_STEP& s) {
    const int frames = int(s.seconds / FRAME);
    for (int i = 0; i < frames && Playing(); ++i) {
      if (!FightOnce(s.radius)) break;
      Frame();
    }
  }

  void Shoot(const DEMO_ROUTE_STEP& s) {
    for (int shot = 0; shot < s.shots && Playing(); ++shot) {
      // The route names blue 0 and red 1; the weapon the other way round.
      FireAt(D3DXVECTOR3(s.x, s.y, s.z), s.colour == 0 ? CWeapon::BLUE : CWeapon::RED);
      for (int i = 0; i < FIRE_EVERY; ++i) Frame();
    }
  }

  // A key held for one frame and let go in the next.
  void Press(int key) {
    a.Next().KeyDown(key);
    Frame();
    a.Next().KeyUp(key);
    Frame();
  }

  void Action() {
    const uint32_t key = g_ProfileStore.GetCurrentProfile().action;
    Press(key != 0 ? int(key) : platform::DIK_SPACE);
  }

  void Follow(std::vector<DEMO_ROUTE_STEP> route, size_t count = ~size_t(0)) {
    if (route.size() > count) route.resize(count);
    for (const DEMO_ROUTE_STEP& s : route) {
      if (!Playing()) return;
      switch (s.kind) {
        case DEMO_ROUTE_STEP::WALK:
        case DEMO_ROUTE_STEP::FINISH:
          WalkTo(s.x, s.y);
          break;
        case DEMO_ROUTE_STEP::ACTION:
          WalkTo(s.x, s.y);
          Action();
          break;
        case DEMO_ROUTE_STEP::SHOOT:
          Shoot(s);
          break;
        case DEMO_ROUTE_STEP::FIGHT:
          Fight(s);
          break;
        case DEMO_ROUTE_STEP::WAIT:
          for (int i = 0; i < int(s.seconds / FRAME) && Playing(); ++i) {
            FightOnce(950.0f);
            Frame();
          }
          break;
        case DEMO_ROUTE_STEP::HAZARD:
          ADD_FAILURE() << "Level8 plans no death";
          return;
      }
      steps.push_back(s.note);
    }
    // A finishing route stands in the goal: the level ends within a few frames.
    if (route.empty() || route.back().kind != DEMO_ROUTE_STEP::FINISH) return;
    for (int i = 0; i < 30 && Playing(); ++i) Frame();
  }

  AppScenario a;
  int mostAlive = 0, bombs = 0, shotsFired = 0, gasBalls = 0;
  bool horns = false, beams = false, puddles = false, irradiated = false, stationFull = false, died = false;
  uint32_t lowestHealth = 300;
  const CBomb* lastBomb = nullptr;
  std::vector<std::string> steps;
};

}  // namespace level8test
