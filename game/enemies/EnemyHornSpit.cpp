// The horn-and-spit enemy.
#include "game/enemies/EnemyHornSpit.h"

#include <cmath>

#include "engine/sound/WaveSound.h"
#include "engine/util/Random.h"
#include "game/level/Level.h"
#include "game/world/GameGlobals.h"
#include "game/world/GameWorld.h"

platform::HRESULT CEnemy6CBH::HandleCallback(uint32_t /*track*/, void* data) {
  const ENEMY6_KEY* key = static_cast<const ENEMY6_KEY*>(data);
  if (!key || !key->enemy || key->enemy->IsDying() || key->key != 2) return 0;
  key->enemy->Spit();
  return 0;
}

CEnemy6::CEnemy6(uint32_t colour) : CEnemy(colour) {
  SetHealth(5);
  SetMesh(TakeMesh(colour == 1 ? "Ene6CompletoAzul.X" : "Ene6CompletoRojo.X"));
  m_Speed = g_Enemy6Speed;
  m_MaxSpeed = g_Enemy6Speed;
  SetRadius(RADIUS);
  SetHeadingWindow(WINDOW);
  m_Horn.SetRadius(HORN_RADIUS);
  m_Keys[0] = {this, 1};
  m_Keys[1] = {this, 2};
  if (m_pSprite) {
    m_pSprite->SetAnimationCallbacks(HORN, {{HORN_KEY_TIME, &m_Keys[0]}});
    m_pSprite->SetAnimationCallbacks(SPIT, {{SPIT_KEY_TIME, &m_Keys[1]}});
    m_pSprite->m_pCallbackHandler = &m_Handler;
  }
  m_pShotSound = LoadSound("Ene6Disparo.wav");
  m_pHurtSound = LoadSound("Ene6Herido.wav");
  SetAnimation(IDLE, true);
}

void CEnemy6::AddToScene(Nembra::CSceneNode* parent) {
  CEnemy::AddToScene(parent);
  m_Horn.AttachToBone(m_pSprite, "Cuerno");
  m_Mouth.AttachToBone(m_pSprite, "Boca");
}

D3DXVECTOR3 CEnemy6::LaunchDirection() const {
  const float h = GetRotation().z;
  const float distance = std::sqrt(DistanceSqToPlayer(WorldPosition()));
  return D3DXVECTOR3(std::cos(h), std::sin(h), LOB_FACTOR * distance);
}

void CEnemy6::Spit() {
  if (m_Dying) return;
  if (CLevel* level = CLevel::Current()) level->AddEnemy6Bullet(*this, 0);
  if (EnemyTargetActive() && m_pShotSound) m_pShotSound->Play(false);
}

bool CEnemy6::RunAttack() {
  CPlayer* player = EnemyTarget();
  if (m_Horning) {
    if (player) {
      const D3DXVECTOR3 centre = player->WorldPosition() + player->GetBoundingSphere().center;
      D3DXVECTOR3 hit;
      float distanceSq = 0.0f;
      if (m_Horn.Collide(centre, centre, 2.0f * player->GetRadius(), hit, distanceSq))
        player->Damage(EnemyFrameTime() * HORN_DAMAGE, true);
    }
    if (IsOneShotEnded(m_pSprite)) {
      m_Horning = 0;
      SetAnimation(IDLE, true);
      return false;
    }
  } else if (m_Spitting) {
    if (IsOneShotEnded(m_pSprite)) {
      m_Spitting = 0;
      SetAnimation(IDLE, true);
      return false;
    }
  } else {
    return false;
  }
  if (player) {
    D3DXVECTOR3 force;
    Seek(force, player->WorldPosition());
    ApplySteeringForce(force);
  }
  return true;
}

void CEnemy6::Decide() {
  CPlayer* player = EnemyTarget();
  const float d2 = DistanceSqToPlayer(WorldPosition());
  if (!player || d2 > g_Enemy6RangeSq || !player->IsActive()) {
    m_Moving = 0;
    SetAnimation(IDLE, true);
    return;
  }
  if (d2 > SPIT_RANGE_SQ && Nembra::RandomInt(1, 100) > SPIT_ROLL) {
    m_Moving = 0;
    SetAnimation(SPIT, false);
    m_Spitting = 1;
    return;
  }
  if (d2 <= HORN_RANGE_SQ) {
    m_Moving = 0;
    SetAnimation(HORN, false);
    m_Horning = 1;
    return;
  }
  m_Moving = 1;
  SetAnimation(WALK, true);
  CHASE_STEERING weights;
  weights.pursuitWeight = 5.0f;
  weights.pursuitAhead = 0.3f;
  weights.obstacleLookAhead = 0.1f;
  weights.wallWeight = 50000.0f;
  weights.inclusiveFlip = false;
  weights.blendHeading = false;
  D3DXVECTOR3 d0;
  if (SteerChase(weights, d0)) {
    m_Moving = 0;
    SetAnimation(IDLE, true);
  }
}

void CEnemy6::Step() {
  if (!m_Dying && !RunAttack()) Decide();
  CEnemy::Step();
}
