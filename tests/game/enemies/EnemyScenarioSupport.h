#pragma once
// Helpers of the enemy scenarios: an enemy of a kind built into the
// level's list and the scene, facing a way, and a player shot of a colour.
#include <gtest/gtest.h>

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

}  // namespace enemytest
