// The level's frame: every list advanced once, in a fixed order, with what
// ended erased, dead enemies turned into souls, far enemies dropped and the
// live enemies topped up through the enemy generators.
#include <algorithm>
#include <vector>

#include "engine/scene/Camera.h"
#include "engine/scene/SceneManager.h"
#include "engine/util/Random.h"
#include "game/level/Level.h"
#include "game/script/GameScript.h"
#include "game/world/GameWorld.h"

namespace {

// An ordinary enemy farther than this (squared) from the player goes; it
// is also the outer bound of the spawn ring, whose inner bound is below.
constexpr float kDespawnDistanceSq = 7e6f;
constexpr float kSpawnInnerDistanceSq = 1.5e6f;
// A generator whose sphere of this radius the camera sees is not used.
constexpr float kGeneratorViewRadius = 200.0f;

float DistanceSq(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  const D3DXVECTOR3 d = a - b;
  return D3DXVec3LengthSq(&d);
}

// Active shots step; finished ones leave the scene and the list. Shots
// appended while the list is walked are reached by the same walk.
template <class Shot>
void StepShots(std::list<Shot>& shots) {
  for (auto it = shots.begin(); it != shots.end();) {
    if (it->IsActive()) {
      it->Step();
      ++it;
    } else {
      it->RemoveFromScene();
      it = shots.erase(it);
    }
  }
}

template <class List>
void StepAll(List& list) {
  for (auto& object : list) object.Step();
}

}  // namespace

void CLevel::Update() {
  // 1. The current bomb.
  if (m_pBomb) {
    if (m_pBomb->IsActive())
      m_pBomb->Step();
    else
      DeleteBomb();
  }
  // 2. Items, then those released by broken boxes.
  for (CItem& item : m_Items)
    if (item.IsActive()) item.Step();
  for (CItem* item : m_ReleasedItems)
    if (item->IsActive()) item->Step();
  // 3. Shots.
  StepShots(m_Bullets);
  StepShots(m_Enemy2Bullets);
  StepShots(m_Enemy3Bullets);
  StepShots(m_Enemy6Bullets);
  StepShots(m_Enemy8Bullets);
  StepShots(m_Boss1Bullets);
  StepShots(m_Boss1Lasers);
  StepShots(m_Boss0Bullets);
  StepShots(m_Boss0AbilityBullets);
  // 4. Boxes, standing or broken.
  StepAll(m_Boxes);
  // 5. Effects.
  for (auto it = m_Effects.begin(); it != m_Effects.end();) {
    CEntity* effect = *it;
    if (effect->IsActive()) {
      effect->Step();
      ++it;
    } else {
      effect->RemoveFromScene();
      delete effect;
      it = m_Effects.erase(it);
    }
  }
  // 6. Enemies, souls, generators and the top-up.
  UpdateEnemies();
  // 7. Slow-down zones that have died.
  for (auto it = m_SlowDowners.begin(); it != m_SlowDowners.end();) {
    if (it->IsAlive()) {
      ++it;
      continue;
    }
    if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->RemoveNode(&*it);
    it = m_SlowDowners.erase(it);
  }
  // 8 to 12. The mechanisms.
  StepAll(m_Doors);
  StepAll(m_OpenCloseDoors);
  StepAll(m_Roofs);
  StepAll(m_Barrels);
  StepAll(m_WireGrates);
  StepAll(m_CircuitGenerators);
  StepAll(m_Connectors);
  StepAll(m_Targets);
  StepAll(m_Pushables);
  // 13. Walk-in triggers.
  m_TriggerManager.TestPoint(PlayerWorldPosition(), 0);
  // 14. Timers. A timer's script may make timers: they are looked up by
  // name, so the walk never holds a place a script could disturb.
  if (!m_Timers.empty()) {
    std::vector<std::string> names;
    names.reserve(m_Timers.size());
    for (auto& timer : m_Timers) names.push_back(timer.first);
    for (const std::string& name : names) {
      auto found = m_Timers.find(name);
      if (found != m_Timers.end()) found->second.Update();
    }
  }
  // 15 to 17. Lasers, wave-weapon stations, markers.
  for (auto& laser : m_Lasers) laser.second.Step();
  StepAll(m_WaveWeapons);
  for (auto& marker : m_Markers) marker.second.Step();
  // 18. End scripts of finished animated sprites, every frame the flag
  // stays set; sprites taken out of the scene are passed over.
  if (!m_AnimatedSprites.empty()) {
    std::vector<std::string> scripts;
    for (auto& entry : m_AnimatedSprites) {
      NAMED_ANIMATED_SPRITE& named = entry.second;
      if (named.sprite.GetParent() && named.sprite.IsFinished() && !named.endScript.empty())
        scripts.push_back(named.endScript);
    }
    for (const std::string& script : scripts) g_GameScript.RunFile(script);
  }
}

void CLevel::UpdateEnemies() {
  const D3DXVECTOR3 player = PlayerWorldPosition();
  for (auto it = m_Enemies.begin(); it != m_Enemies.end();) {
    CEnemy* enemy = *it;
    if (!enemy->IsActive()) {
      const D3DXVECTOR3 where = enemy->WorldPosition();
      CEnergy& soul = m_Souls.emplace_back();
      soul.Init(enemy->GetColour(), where.x, where.y, where.z, enemy->GetEnergyValue());
      soul.Show();
    } else if (!enemy->IsBoss() && DistanceSq(enemy->WorldPosition(), player) > kDespawnDistanceSq) {
      // Too far away: gone without a soul.
    } else {
      enemy->Step();
      ++it;
      continue;
    }
    enemy->RemoveFromScene();
    delete enemy;
    it = m_Enemies.erase(it);
  }

  for (auto it = m_Souls.begin(); it != m_Souls.end();) {
    if (it->IsActive()) {
      it->Step();
      ++it;
    } else {
      it->RemoveFromScene();
      it = m_Souls.erase(it);
    }
  }

  for (CEnemyGenerator& generator : m_EnemyGenerators) generator.UpdateTimer();

  CollectSpawnCandidates();
  int missing = m_WantedEnemyCount - static_cast<int>(m_Enemies.size());
  while (missing > 0) {
    CEnemyGenerator* generator = ChooseGenerator();
    if (!generator) break;
    CEnemy* enemy = generator->SpawnEnemy();
    if (!enemy) continue;  // a type without an enemy: that generator gives nothing this time
    m_Enemies.push_back(enemy);
    enemy->AddToScene(nullptr);
    enemy->SetPosition(generator->GetPosition());
    --missing;
  }
  m_SpawnCandidates.clear();
}

void CLevel::CollectSpawnCandidates() {
  m_SpawnCandidates.clear();
  const D3DXVECTOR3 player = PlayerWorldPosition();
  Nembra::CCamera* camera = Nembra::g_pSceneManager ? Nembra::g_pSceneManager->GetCamera() : nullptr;
  for (CEnemyGenerator& generator : m_EnemyGenerators) {
    if (!generator.IsEnabled() || generator.GetRearmTimer() != 0.0f) continue;
    if (camera && camera->IsSphereVisible(generator.GetPosition(), kGeneratorViewRadius)) continue;
    if (m_GenerationRadiusOn) {
      const float d = DistanceSq(generator.GetPosition(), player);
      if (!(d > kSpawnInnerDistanceSq && d < kDespawnDistanceSq)) continue;
    }
    m_SpawnCandidates.push_back(&generator);
  }
}

CEnemyGenerator* CLevel::ChooseGenerator() {
  const int n = static_cast<int>(m_SpawnCandidates.size());
  if (n == 0) return nullptr;
  const int r = Nembra::RandomInt(0, n);
  auto it = m_SpawnCandidates.begin();
  std::advance(it, std::max(r - 1, 0));
  CEnemyGenerator* generator = *it;
  m_SpawnCandidates.erase(it);
  const D3DXVECTOR3 at = generator->GetPosition();
  const float radius = generator->GetBoundingSphere().radius;
  for (CEnemy* enemy : m_Enemies) {
    D3DXVECTOR3 contact;
    float distanceSq = 0.0f;
    if (enemy->IsActive() && enemy->Collide(at, at, radius, contact, distanceSq)) return nullptr;
  }
  return generator;
}

bool CLevel::IsInSlowDownZone(const D3DXVECTOR3& point) const {
  for (const CSlowDowner& zone : m_SlowDowners) {
    const float r = zone.GetRadius();
    if (r * r >= DistanceSq(zone.GetPosition(), point)) return true;
  }
  return false;
}

CSlowDowner* CLevel::AddSlowDowner(const D3DXVECTOR3& position, float baseRadius, float maxScale, float growthRate,
                                   float unused) {
  CSlowDowner& zone = m_SlowDowners.emplace_back(position, baseRadius, maxScale, growthRate, unused);
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&zone);
  return &zone;
}

void CLevel::FillAllGenerators() {
  for (CGenerator& generator : m_Generators) generator.Fill();
}

void CLevel::EnableEnemyGroup(const std::string& group, bool enable) {
  for (CEnemyGenerator& generator : m_EnemyGenerators)
    if (generator.GetGroup() == group) generator.SetEnabled(enable);
}
