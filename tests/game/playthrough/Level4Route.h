#pragma once
// Level4's route followed as a player would in an application scenario:
// the player moved directly at walking speed, shots fired through the
// player's weapon (which asks the level's spawner for them), the Action key
// pressed through the input, the planned death restarted from the death
// screen. Shared by the headless test and the pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "game/app/AppTestSupport.h"
#include "game/world/GameGlobals.h"
#include "tools/datagen/DemoLevelContents.h"

namespace level4test {

using datagen::DEMO_ROUTE_STEP;
using scenario::AppScenario;

inline CLevel& Level() { return g_pGameWorld->GetLevel(); }
inline CPlayer& Player() { return g_pGameWorld->GetPlayer(); }

template <class T>
inline T* Find(std::list<T>& list, const std::function<bool(T&)>& match) {
  for (T& object : list)
    if (match(object)) return &object;
  return nullptr;
}

// Follows a route as a player would, the player moved directly.
class RouteRunner {
 public:
  explicit RouteRunner(AppScenario& a) : m_App(a) {}

  // One frame; the player fires at the nearest enemy in range on every
  // fourth. False on a death not planned.
  bool Frame() {
    if (++m_Frames % 4 == 0) FireAtEnemies();
    m_App.Frame();
    m_MostAlive = std::max(m_MostAlive, Level().GetEnemies().size());
    for (CEnemy* enemy : Level().GetEnemies())
      if (std::find(m_Seen.begin(), m_Seen.end(), enemy) == m_Seen.end()) {
        m_Seen.push_back(enemy);
        m_SpawnPlaces.push_back(enemy->WorldPosition());
      }
    if (m_App.App().GetState() == CApp::STATE_DEATH && !m_DeathPlanned) {
      ADD_FAILURE() << "unplanned death at (" << Player().GetPosition().x << "," << Player().GetPosition().y
                    << ") during: " << m_Note;
      return false;
    }
    return true;
  }
  bool Run(float seconds) {
    const int frames = int(std::ceil(seconds / kFrameTime));
    for (int i = 0; i < frames; ++i)
      if (!Frame()) return false;
    return true;
  }

  bool Walk(float x, float y) {
    const float step = CPlayer::SPEED * kFrameTime;
    for (int guard = 0; guard < 2000; ++guard) {
      D3DXVECTOR3 p = Player().GetPosition();
      const D3DXVECTOR3 d(x - p.x, y - p.y, 0.0f);
      const float left = D3DXVec3Length(&d);
      if (left <= 1.0f) return true;
      p += d * (std::min(step, left) / left);
      Player().SetPosition(p);
      if (!Frame()) return false;
      if (m_App.App().GetState() != CApp::STATE_PLAYING) return true;
    }
    return false;
  }

  // One shot of a colour from the hand toward a point, through the spawner.
  void FireAt(float x, float y, int colour) {
    const D3DXVECTOR3 hand = Player().GetHand().WorldPosition();
    D3DXVECTOR3 direction(x - hand.x, y - hand.y, 0.0f);
    D3DXVec3Normalize(&direction, &direction);
    Player().SetShotDirection(direction);
    // The weapon's own trigger: it spends a charge and asks the level's spawner for the shot.
    const size_t before = Level().GetBullets().size();
    Player().GetWeapon().Fire(colour);
    if (Level().GetBullets().size() == before) ++m_Misfires;
  }

  bool Shoot(float x, float y, int shots, int colour) {
    for (int i = 0; i < shots; ++i) {
      FireAt(x, y, colour);
      if (!Run(0.3f)) return false;
    }
    return true;
  }

  bool Fight(float radius, float seconds) {
    const int frames = int(std::ceil(seconds / kFrameTime));
    for (int i = 0; i < frames; ++i) {
      if (!NearestEnemy(radius)) return true;
      if (!Frame()) return false;
    }
    return true;
  }

  bool Action(float x, float y) {
    if (!Walk(x, y)) return false;
    const int key = int(g_ProfileStore.GetCurrentProfile().action);
    m_App.Next().KeyDown(key);
    if (!Frame()) return false;
    m_App.Next().KeyUp(key);
    return Frame();
  }

  // Walks into the hazard, waits for the death, restarts from the death screen.
  bool Hazard(float x, float y) {
    m_DeathPlanned = true;
    if (!Walk(x, y)) return false;
    for (int i = 0; i < 200 && m_App.App().GetState() == CApp::STATE_PLAYING; ++i) Frame();
    if (m_App.App().GetState() != CApp::STATE_DEATH) return false;
    ++m_Deaths;
    m_App.Run(5);
    m_App.Tap(int(g_ProfileStore.GetCurrentProfile().action));
    m_DeathPlanned = false;
    return m_App.App().GetState() == CApp::STATE_PLAYING;
  }

  bool Finish(float x, float y) {
    if (!Walk(x, y)) return false;
    for (int i = 0; i < 40 && m_App.App().GetState() == CApp::STATE_PLAYING; ++i) Frame();
    return m_App.App().GetState() == CApp::STATE_LEVEL_OVER;
  }

  bool Take(const DEMO_ROUTE_STEP& s) {
    m_Note = s.note;
    switch (s.kind) {
      case DEMO_ROUTE_STEP::WALK: return Walk(s.x, s.y);
      case DEMO_ROUTE_STEP::ACTION: return Action(s.x, s.y);
      // The route names blue 0 and red 1; the weapon's colours are the other way round.
      case DEMO_ROUTE_STEP::SHOOT: return Shoot(s.x, s.y, s.shots, s.colour == 0 ? CWeapon::BLUE : CWeapon::RED);
      case DEMO_ROUTE_STEP::FIGHT: return Fight(s.radius, s.seconds);
      case DEMO_ROUTE_STEP::WAIT: return Run(s.seconds);
      case DEMO_ROUTE_STEP::HAZARD: return Hazard(s.x, s.y);
      case DEMO_ROUTE_STEP::FINISH: return Finish(s.x, s.y);
    }
    return false;
  }

  int Deaths() const { return m_Deaths; }
  int EnemiesShotAt() const { return m_EnemiesShotAt; }
  int Misfires() const { return m_Misfires; }
  // Where each enemy was first seen: its generator's place.
  const std::vector<D3DXVECTOR3>& SpawnPlaces() const { return m_SpawnPlaces; }
  size_t MostAlive() const { return m_MostAlive; }
  static constexpr float kFrameTime = 0.05f;

 private:
  CEnemy* NearestEnemy(float radius) {
    CEnemy* nearest = nullptr;
    float best = radius * radius;
    const D3DXVECTOR3 p = Player().GetPosition();
    for (CEnemy* enemy : Level().GetEnemies()) {
      if (!enemy->IsActive() || enemy->IsDying()) continue;
      const D3DXVECTOR3 d = enemy->WorldPosition() - p;
      const float sq = d.x * d.x + d.y * d.y;
      if (sq < best) best = sq, nearest = enemy;
    }
    return nearest;
  }
  void FireAtEnemies() {
    if (m_App.App().GetState() != CApp::STATE_PLAYING) return;
    CEnemy* enemy = NearestEnemy(900.0f);
    if (!enemy) return;
    ++m_EnemiesShotAt;
    const D3DXVECTOR3 at = enemy->WorldPosition();
    FireAt(at.x, at.y, enemy->GetColour() == CWeapon::RED ? CWeapon::BLUE : CWeapon::RED);
  }

  AppScenario& m_App;
  int m_Frames = 0;
  int m_Deaths = 0;
  int m_EnemiesShotAt = 0;
  int m_Misfires = 0;
  std::vector<const CEnemy*> m_Seen;  // compared by address only
  std::vector<D3DXVECTOR3> m_SpawnPlaces;
  size_t m_MostAlive = 0;
  bool m_DeathPlanned = false;
  std::string m_Note;
};

inline AppScenario::Options Level4Options(bool gl = false) {
  AppScenario::Options o;
  o.gl = gl;
  o.frameTime = RouteRunner::kFrameTime;
  return o;
}

// Login at Level4's index: its start comic, then play.
inline bool ToLevel4(AppScenario& a) {
  if (!apptest::ToLogin(a)) return false;
  apptest::ChooseProfile(a, 1);
  // The desktop after the login: its start button.
  if (a.App().GetState() != CApp::STATE_DESKTOP) return false;
  g_pPDA->m_ResultCode = PDA_RESULT_START_GAME;
  a.Frame();
  for (int i = 0; i < 20 && a.App().GetState() != CApp::STATE_COMIC; ++i) a.Frame();
  if (a.App().GetState() != CApp::STATE_COMIC) return false;
  g_pComicViewer->finished = 1;
  a.Frame();
  return a.App().GetState() == CApp::STATE_PLAYING;
}


}  // namespace level4test
