#pragma once
// A level's route followed in an application scenario as a player would meet
// it, for the levels' tests and pictures: the player moved directly at
// walking speed, shots fired through the weapon (which asks the level's
// spawner for them) at the nearest enemy in the other colour or at the
// route's targets, Action pressed through the input, the planned death
// restarted from the death screen, and what the level shows on the way
// recorded frame by frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "frontend/ProfileStore.h"
#include "game/app/AppTestSupport.h"
#include "game/enemies/EnemyKinds.h"
#include "game/world/GameGlobals.h"
#include "tools/datagen/DemoLevelContents.h"

namespace routetest {

using datagen::DEMO_ROUTE_STEP;
using scenario::AppScenario;

inline CLevel& Level() { return g_pGameWorld->GetLevel(); }
inline CPlayer& Player() { return g_pGameWorld->GetPlayer(); }

class RouteRun {
 public:
  struct Settings {
    float frame;      // the scenario's frame time
    int fireEvery;    // frames from one shot at an enemy to the next
    float reach;      // enemies this near are shot at
    int shootFrames;  // frames after each shot of a SHOOT step
  };

  RouteRun(AppScenario& app, const Settings& settings) : m_App(app), m_Settings(settings) {}

  bool Playing() { return m_App.App().GetState() == CApp::STATE_PLAYING; }

  // One frame with the input given; records what the level shows. False
  // on a death no step planned.
  bool Frame() {
    m_App.Frame();
    if (!g_pGameWorld) return true;
    if (eachFrame) eachFrame();
    int alive = 0;
    // New: not listed the frame before. A freed enemy's address can come
    // back for a later one, so addresses are only compared frame to frame.
    std::vector<const CEnemy*> listed;
    for (CEnemy* enemy : Level().GetEnemies()) {
      listed.push_back(enemy);
      if (std::find(m_Seen.begin(), m_Seen.end(), enemy) == m_Seen.end())
        spawnPlaces.push_back(enemy->WorldPosition());
      if (!enemy->IsActive() || enemy->IsDying()) continue;
      ++alive;
      horns |= dynamic_cast<CEnemy6*>(enemy) != nullptr;
      beams |= dynamic_cast<CEnemy8*>(enemy) != nullptr;
    }
    m_Seen = std::move(listed);
    mostAlive = std::max(mostAlive, alive);
    mostListed = std::max(mostListed, Level().GetEnemies().size());
    puddles |= !Level().GetSlowDowners().empty();
    bombs += Level().GetBomb() && Level().GetBomb() != m_LastBomb ? 1 : 0;
    m_LastBomb = Level().GetBomb();
    irradiated |= Player().GetRadiation() > 0.0f;
    for (CWaveWeapon& station : Level().GetWaveWeapons())
      stationFull |= station.GetColour() == 1 && station.GetCharge() == station.GetCapacity();
    gasBalls = std::max<int>(gasBalls, int(Level().GetEnemy6Bullets().size()));
    lowestHealth = std::min(lowestHealth, Player().GetHealth());
    if (m_DeathPlanned) return true;
    died |= !Player().IsActive();
    if (m_App.App().GetState() != CApp::STATE_DEATH) return true;
    ADD_FAILURE() << "unplanned death at (" << Player().GetPosition().x << "," << Player().GetPosition().y
                  << ") during: " << m_Note;
    return false;
  }
  // One frame, a shot at the nearest enemy first when one is due.
  bool Step() {
    if (Playing() && ++m_Frames % m_Settings.fireEvery == 0)
      if (CEnemy* enemy = Nearest(std::max(m_Settings.reach, m_FightReach))) {
        ++enemiesShotAt;
        FireAt(enemy->GetWorldPosition(), enemy->GetColour() == CWeapon::RED ? CWeapon::BLUE : CWeapon::RED);
      }
    return Frame();
  }
  bool Run(float seconds) {
    for (int i = int(std::ceil(seconds / m_Settings.frame)); i > 0; --i)
      if (!Step()) return false;
    return true;
  }

  // Straight to a point at walking speed; true there or once the level stops playing.
  bool WalkTo(float x, float y) {
    for (int guard = 0; guard < 5000 && Playing(); ++guard) {
      const D3DXVECTOR3 p = Player().GetPosition();
      const D3DXVECTOR3 d(x - p.x, y - p.y, 0.0f);
      const float left = D3DXVec3Length(&d);
      if (left <= 1.0f) return true;
      g_pGameWorld->MovePlayerTo(p + d * (std::min(left, CPlayer::SPEED * m_Settings.frame) / left));
      if (!Step()) return false;
    }
    return !Playing();
  }

  // One shot of a colour from the player's hand towards a point.
  void FireAt(const D3DXVECTOR3& at, int colour) {
    const D3DXVECTOR3 from = Player().GetHand().WorldPosition();
    D3DXVECTOR3 d(at.x - from.x, at.y - from.y, 0.0f);
    if (D3DXVec3LengthSq(&d) < 1.0f) return;
    D3DXVec3Normalize(&d, &d);
    Player().SetShotDirection(d);
    const size_t before = Level().GetBullets().size();
    Player().GetWeapon().Fire(colour);
    ++shotsFired;
    if (Level().GetBullets().size() == before) ++misfires;
  }

  // A key held for one frame and let go in the next.
  bool Press(int key) {
    m_App.Next().KeyDown(key);
    const bool alive = Frame();
    m_App.Next().KeyUp(key);
    return Frame() && alive;
  }

  bool Take(const DEMO_ROUTE_STEP& s) {
    m_Note = s.note;
    steps.push_back(s.note);
    switch (s.kind) {
      case DEMO_ROUTE_STEP::WALK: return WalkTo(s.x, s.y);
      case DEMO_ROUTE_STEP::ACTION: {
        const uint32_t key = g_ProfileStore.GetCurrentProfile().action;
        return WalkTo(s.x, s.y) && Press(key != 0 ? int(key) : platform::DIK_SPACE);
      }
      // The route names blue 0 and red 1; the weapon's colours are the other way round.
      case DEMO_ROUTE_STEP::SHOOT:
        for (int shot = 0; shot < s.shots && Playing(); ++shot) {
          FireAt(D3DXVECTOR3(s.x, s.y, s.z), s.colour == 0 ? CWeapon::BLUE : CWeapon::RED);
          for (int i = 0; i < m_Settings.shootFrames; ++i)
            if (!Step()) return false;
        }
        return true;
      case DEMO_ROUTE_STEP::FIGHT: {
        m_FightReach = s.radius;
        bool alive = true;
        for (int i = int(std::ceil(s.seconds / m_Settings.frame)); i > 0 && alive && Playing() && Nearest(s.radius); --i)
          alive = Step();
        m_FightReach = 0.0f;
        return alive;
      }
      case DEMO_ROUTE_STEP::WAIT: return Run(s.seconds);
      case DEMO_ROUTE_STEP::HAZARD: {
        // Into the hazard, the death, the restart from the death screen.
        m_DeathPlanned = true;
        if (!WalkTo(s.x, s.y)) return false;
        for (int i = 0; i < 200 && Playing(); ++i) Step();
        if (m_App.App().GetState() != CApp::STATE_DEATH) return false;
        ++deaths;
        m_App.Run(5);
        m_App.Tap(int(g_ProfileStore.GetCurrentProfile().action));
        m_DeathPlanned = false;
        return Playing();
      }
      case DEMO_ROUTE_STEP::FINISH:
        if (!WalkTo(s.x, s.y)) return false;
        for (int i = 0; i < 40 && Playing(); ++i) Step();
        return m_App.App().GetState() == CApp::STATE_LEVEL_OVER;
    }
    return false;
  }

  // The route's first `count` steps, while the level plays.
  void Follow(std::vector<DEMO_ROUTE_STEP> route, size_t count = ~size_t(0)) {
    if (route.size() > count) route.resize(count);
    for (const DEMO_ROUTE_STEP& s : route)
      if (!Playing() || !Take(s)) return;
  }

  // The nearest live enemy within reach, or null.
  CEnemy* Nearest(float reach) {
    const D3DXVECTOR3 p = Player().GetWorldPosition();
    CEnemy* best = nullptr;
    float bestSq = reach * reach;
    for (CEnemy* enemy : Level().GetEnemies()) {
      if (!enemy->IsActive() || enemy->IsDying()) continue;
      const D3DXVECTOR3 d = enemy->GetWorldPosition() - p;
      const float sq = d.x * d.x + d.y * d.y;
      if (sq < bestSq) bestSq = sq, best = enemy;
    }
    return best;
  }

  int mostAlive = 0, bombs = 0, shotsFired = 0, gasBalls = 0, deaths = 0, enemiesShotAt = 0, misfires = 0;
  size_t mostListed = 0;
  bool horns = false, beams = false, puddles = false, irradiated = false, stationFull = false, died = false;
  uint32_t lowestHealth = 300;
  std::vector<std::string> steps;
  std::vector<D3DXVECTOR3> spawnPlaces;  // where each enemy was first seen: its generator's place
  std::function<void()> eachFrame;       // called after every frame the run makes

 private:
  AppScenario& m_App;
  Settings m_Settings;
  int m_Frames = 0;
  float m_FightReach = 0.0f;
  bool m_DeathPlanned = false;
  std::string m_Note;
  const CBomb* m_LastBomb = nullptr;
  std::vector<const CEnemy*> m_Seen;  // the enemies listed the frame before
};

}  // namespace routetest
