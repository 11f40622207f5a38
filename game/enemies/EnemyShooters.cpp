// The shooter and the cocoon turret.
#include <cmath>

#include "engine/sound/WaveSound.h"
#include "engine/util/Random.h"
#include "game/enemies/EnemyKinds.h"
#include "game/world/GameGlobals.h"
#include "game/world/GameWorld.h"

namespace {

bool AtOrigin(const D3DXVECTOR3& p) { return p.x == 0.0f && p.y == 0.0f && p.z == 0.0f; }

}  // namespace

platform::HRESULT CEnemy3CBH::HandleCallback(uint32_t /*track*/, void* data) {
  if (data) static_cast<CEnemy3*>(data)->Fire();
  return 0;
}

platform::HRESULT CEnemy2CBH::HandleCallback(uint32_t /*track*/, void* data) {
  if (data) static_cast<CEnemy2*>(data)->Fire();
  return 0;
}

// ---------------------------------------------------------------------------

CEnemy3::CEnemy3(uint32_t colour) : CEnemy(colour) {
  SetHealth(5);
  SetMesh(TakeMesh(colour == 1 ? "Ene3CompletoAzul.X" : "Ene3CompletoRojo.X"));
  m_Speed = g_Enemy3Speed;
  m_MaxSpeed = g_Enemy3Speed;
  SetHeadingWindow(WINDOW);
  SetRadius(RADIUS);
  m_KeyData.assign(1, this);
  if (m_pSprite) {
    m_pSprite->SetAnimationCallbacks("Ene3Golpe1", {{KEY_TIME, m_KeyData.data()[0]}});
    m_pSprite->m_pCallbackHandler = &m_Handler;
  }
  m_pHurtSound = LoadSound("Ene3Herido.wav");
  m_pShotSound = LoadSound("Ene3Disparo.wav");
  SetAnimation("Ene3Reposo", true);
}

void CEnemy3::AddToScene(Nembra::CSceneNode* parent) {
  CEnemy::AddToScene(parent);
  m_Muzzle.AttachToBone(m_pSprite, "Bip01_R_Finger0");
}

void CEnemy3::Fire() {
  if (m_Dying || AtOrigin(m_Muzzle.WorldPosition())) return;
  if (CLevel* level = CLevel::Current()) level->AddEnemy3Bullet(*this, POWER);
  if (EnemyTargetActive() && m_pShotSound) m_pShotSound->Play(false);
}

void CEnemy3::Step() {
  if (!m_Dying) {
    bool decide = true;
    if (m_Shooting) {
      if (!IsOneShotEnded(m_pSprite)) {
        TurnWhileAttacking();
        decide = false;
      } else {
        m_Shooting = 0;
        SetAnimation("Ene3Reposo", true);
      }
    }
    if (decide) {
      CPlayer* player = EnemyTarget();
      const D3DXVECTOR3 position = WorldPosition();
      const float d2 = DistanceSqToPlayer(position);
      if (player && d2 <= g_Enemy3RangeSq && player->IsActive()) {
        if (d2 <= SHOOT_RANGE_SQ && !WallOnPath(position, player->WorldPosition(), true, SIGHT_RADIUS)) {
          m_Moving = 0;
          SetAnimation("Ene3Golpe1", false);
          m_Shooting = 1;
        } else {
          m_Moving = 1;
          SetAnimation("Ene3CaminarAdelante", true);
          D3DXVECTOR3 d0;
          if (SteerChase(ShooterChaseSteering(), d0)) {
            m_Moving = 0;
            SetAnimation("Ene3Reposo", true);
          }
        }
      } else {
        m_Moving = 0;
        SetAnimation("Ene3Reposo", true);
      }
    }
  }
  CEnemy::Step();
}

// ---------------------------------------------------------------------------

CEnemy2::CEnemy2(uint32_t colour) : CEnemy(colour) {
  SetHealth(7);
  SetMesh(TakeMesh(colour == 1 ? "Ene2CompletoAzul.X" : "Ene2CompletoRojo.X"));
  m_Speed = g_Enemy2Speed;
  m_MaxSpeed = g_Enemy2Speed;
  SetHeadingWindow(WINDOW);
  SetRadius(RADIUS);
  m_KeyData.assign(1, this);
  if (m_pSprite) {
    m_pSprite->SetAnimationCallbacks("Ene2Golpe1", {{KEY_TIME, m_KeyData.data()[0]}});
    m_pSprite->m_pCallbackHandler = &m_Handler;
  }
  m_State = CLOSED;
  SetAnimation("Ene2Quieto", true);
  m_pShotSound = LoadSound("Ene2Disparo.wav");
  m_pHurtSound = LoadSound("Ene2Herido.WAV");
}

void CEnemy2::AddToScene(Nembra::CSceneNode* parent) {
  CEnemy::AddToScene(parent);
  m_RightHand.AttachToBone(m_pSprite, "Mano_Derecha");
  m_LeftHand.AttachToBone(m_pSprite, "Mano_Izquierda");
  m_Navel.AttachToBone(m_pSprite, "Ombligo");
}

void CEnemy2::OnShotHit(const CBullet& shot) {
  if (m_State == CLOSED) return;
  CEnemy::OnShotHit(shot);
}

void CEnemy2::Fire() {
  if (m_Dying) return;
  if (CLevel* level = CLevel::Current()) level->AddEnemy2Bullets(*this, POWER);
  if (EnemyTargetActive() && m_pShotSound) m_pShotSound->Play(false);
}

void CEnemy2::Step() {
  if (!m_Dying) {
    UpdateWorldMatrix();
    const bool inRange = DistanceSqToPlayer(WorldPosition()) <= g_Enemy2RangeSq;
    if (!EnemyTargetActive()) {
      m_State = CLOSED;
      SetAnimation("Ene2Quieto", true);
    } else {
      switch (m_State) {
        case CLOSED:
          if (inRange && Nembra::RandomInt(1, 100) >= 97) {
            m_State = OPENING;
            SetAnimation("Ene2DesMutarCapullo", false);
          }
          break;
        case OPENING:
          if (IsOneShotEnded(m_pSprite)) {
            if (inRange) {
              m_State = ATTACKING;
              SetAnimation("Ene2Golpe1", true);
            } else {
              m_State = CLOSING;
              SetAnimation("Ene2MutarCapullo", false);
            }
          }
          break;
        case ATTACKING:
          if (!inRange) {
            m_State = CLOSING;
            SetAnimation("Ene2MutarCapullo", false);
          }
          break;
        default:  // closing
          if (IsOneShotEnded(m_pSprite)) {
            if (inRange) {
              m_State = OPENING;
              SetAnimation("Ene2DesMutarCapullo", false);
            } else {
              m_State = CLOSED;
              SetAnimation("Ene2Quieto", true);
            }
          }
          break;
      }
    }
  }
  CEnemy::Step();
}
