#pragma once
// Helpers of the playing scenarios: an enemy of a kind built into the
// level's list and the scene, a player shot of a colour, and the fixture
// most scenario cases share (a ready world, both shot colours, the tuning
// values back to their defaults at the end).
#include <gtest/gtest.h>

#include <functional>

#include "game/actors/Bullet.h"
#include "game/world/GameGlobals.h"
#include "scenario/WorldScenario.h"

namespace enemytest {

template <class Kind>
Kind& AddEnemy(scenario::WorldScenario& w, const D3DXVECTOR3& position, uint32_t colour = 0,
               const D3DXVECTOR3& facing = D3DXVECTOR3(1.0f, 0.0f, 0.0f)) {
  Kind* enemy = new Kind(colour);
  enemy->SetPosition(position);
  enemy->SetDirection(facing);
  w.Level().GetEnemies().push_back(enemy);
  enemy->AddToScene(nullptr);
  enemy->UpdateWorldMatrix();
  return *enemy;
}

// A player shot of a colour (nothing in the scene; only its colour counts).
inline CBullet& Shot(CBullet& shot, int colour) {
  const float start[3] = {0.0f, 0.0f, 0.0f};
  const float direction[3] = {1.0f, 0.0f, 0.0f};
  shot.Init(colour, start, direction, 1u);
  return shot;
}

inline float Distance(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  const D3DXVECTOR3 d = a - b;
  return D3DXVec3Length(&d);
}

// The tuning values back to their defaults when a test ends.
struct TuningGuard {
  ~TuningGuard() { RestoreTuningDefaults(); }
};

inline scenario::WorldScenario::Options Writable(bool loadPlayer = true) {
  scenario::WorldScenario::Options options;
  options.writableData = true;
  options.loadPlayer = loadPlayer;
  return options;
}

class Scene : public ::testing::Test {
 protected:
  explicit Scene(const scenario::WorldScenario::Options& options = {}) : w(options) {}
  void SetUp() override {
    ASSERT_TRUE(w.Ready()) << w.Problem();
    Shot(red, 0);
    Shot(blue, 1);
  }
  void TearDown() override { RestoreTuningDefaults(); }

  template <class Kind>
  Kind& Add(const D3DXVECTOR3& position, uint32_t colour = 0,
            const D3DXVECTOR3& facing = D3DXVECTOR3(1.0f, 0.0f, 0.0f)) {
    return AddEnemy<Kind>(w, position, colour, facing);
  }
  // The player placed and standing still (no input from then on).
  void Stand(const D3DXVECTOR3& at) {
    w.PlacePlayer(at);
    w.Stand();
  }
  // The frames run before `done` holds (asked before each), at most `limit`.
  int FramesUntil(const std::function<bool()>& done, int limit) {
    int frames = 0;
    for (; frames < limit && !done(); ++frames) w.Frame();
    return frames;
  }
  template <class Effect>
  int Count() {
    int n = 0;
    for (CEntity* effect : w.Level().GetEffects()) n += dynamic_cast<Effect*>(effect) ? 1 : 0;
    return n;
  }
  bool Listed(const CEntity* effect) {
    for (CEntity* e : w.Level().GetEffects())
      if (e == effect) return true;
    return false;
  }
  void Remove(CEnemy* enemy) {
    w.Level().GetEnemies().remove(enemy);
    enemy->RemoveFromScene();
    delete enemy;
  }

  scenario::WorldScenario w;
  CBullet red, blue;  // player shots of either colour
};

// The same on a private copy of the data, which scripts may be written into.
class WritableScene : public Scene {
 protected:
  WritableScene() : Scene(Writable()) {}
};

}  // namespace enemytest
