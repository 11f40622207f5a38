#pragma once
// Helpers of the playing scenarios: an enemy of a kind built into the
// level's list and the scene, a player shot of a colour, and the fixture
// most scenario cases share (a ready world, both shot colours, the tuning
// values back to their defaults at the end).
#include <gtest/gtest.h>

#include <functional>
#include <type_traits>

#include "game/actors/Bullet.h"
#include "game/mechanisms/props/Box.h"
#include "game/world/GameGlobals.h"
#include "scenario/WorldScenario.h"

namespace enemytest {

template <class Kind>
Kind& AddEnemy(scenario::WorldScenario& w, const D3DXVECTOR3& position, uint32_t colour = 0,
               const D3DXVECTOR3& facing = D3DXVECTOR3(1.0f, 0.0f, 0.0f)) {
  Kind* enemy = nullptr;
  if constexpr (std::is_constructible_v<Kind, uint32_t>) enemy = new Kind(colour);
  else enemy = new Kind();
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

inline void ExpectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float tolerance = 1e-5f, const char* what = "") {
  EXPECT_NEAR(a.x, b.x, tolerance) << what;
  EXPECT_NEAR(a.y, b.y, tolerance) << what;
  EXPECT_NEAR(a.z, b.z, tolerance) << what;
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
  // A shot made in place in one of the level's lists, in the scene; without
  // a trail, as with a missing or damaged particle file.
  template <class List, class... Args>
  auto& Launch(bool trail, List& list, const Args&... args) {
    auto& shot = list.emplace_back();
    shot.Init(args...);
    if (!trail) shot.SetEmitter(nullptr);
    shot.AddToScene(nullptr);
    return shot;
  }
  // A standing box of the level at a place.
  CBox& AddBox(const D3DXVECTOR3& at) {
    CBox& box = w.Level().GetBoxes().emplace_back();
    box.SetPosition(at);
    box.BuildCollisionBoxes();
    box.UpdateWorldMatrix();
    return box;
  }
  // A homing shot of power 12 from (-500, 0) at the height along +x, at a
  // player at (500, 0) who side-steps to y 400: its trail at that height and
  // pointing back, it finds the player within 75 frames and costs it 12.
  template <class List, class... Colour>
  auto& SideStepAHomingShot(List& list, float height, Colour... colour) {
    w.PlacePlayer({500, 0, 0});
    auto& shot = w.Level().SpawnShot(list, D3DXVECTOR3(-500, 0, height), D3DXVECTOR3(1, 0, 0), 12u, colour...);
    EXPECT_FLOAT_EQ(shot.GetPosition().z, 0.0f);
    EXPECT_NE(shot.GetEmitter(), nullptr);
    if (shot.GetEmitter()) {
      EXPECT_FLOAT_EQ(shot.GetEmitter()->GetPosition().z, height);
      EXPECT_FLOAT_EQ(shot.GetEmitter()->GetParams()->direction[0], -1.0f);
    }
    const uint32_t health = w.Player().GetHealth();
    w.Walk({0, 1, 0});
    for (int frames = 0; !shot.IsEnded() && frames < 75; ++frames) {
      if (w.Player().GetPosition().y >= 400.0f) w.Stand();
      w.Frame();
    }
    EXPECT_TRUE(shot.IsEnded());
    EXPECT_GE(w.Player().GetPosition().y, 400.0f);
    EXPECT_EQ(health - w.Player().GetHealth(), 12u);
    return shot;
  }
  // A shot that meets nothing ends on its 75th update, 1500 from its start.
  template <class Shot>
  void ExpectEndAt1500(Shot& shot) {
    for (int i = 1; i <= 74; ++i) {
      w.Frame();
      ASSERT_FALSE(shot.IsEnded()) << "update " << i;
    }
    w.Frame();
    EXPECT_TRUE(shot.IsEnded());
    EXPECT_NEAR(shot.GetDistance(), 1500.0f, 1e-2f);
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
