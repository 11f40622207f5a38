// The melee walker and the stalker.
#include <cmath>

#include "engine/sound/WaveSound.h"
#include "engine/util/Random.h"
#include "game/enemies/EnemyKinds.h"
#include "game/world/GameGlobals.h"
#include "game/world/GameWorld.h"

namespace {

constexpr float kStrikeKeyTimes[2] = {700.0f, 1800.0f};

}  // namespace

CMeleeEnemy::CMeleeEnemy(uint32_t colour, uint32_t health, const char* redMesh, const char* blueMesh, float speed,
                         platform::ID3DXAnimationCallbackHandler* handler, const char* hurtSound)
    : CEnemy(colour) {
  SetHealth(health);
  SetMesh(TakeMesh(colour == 1 ? blueMesh : redMesh));
  m_Speed = speed;
  m_MaxSpeed = speed;
  SetRadius(RADIUS);
  m_RightHand.SetRadius(HAND_RADIUS);
  m_LeftHand.SetRadius(HAND_RADIUS);
  SetHeadingWindow(WINDOW);
  std::vector<platform::D3DXKEY_CALLBACK> keys(2);
  for (uint32_t i = 0; i < 2; ++i) {
    m_Keys[i].enemy = this;
    m_Keys[i].key = i + 1;
    keys[i].Time = kStrikeKeyTimes[i];
    keys[i].pCallbackData = &m_Keys[i];
  }
  if (m_pSprite) {
    m_pSprite->SetAnimationCallbacks(STRIKE1, keys);
    m_pSprite->m_pCallbackHandler = handler;
  }
  m_pHurtSound = LoadSound(hurtSound);
  SetAnimation(IDLE, true);
}

void CMeleeEnemy::AddToScene(Nembra::CSceneNode* parent) {
  CEnemy::AddToScene(parent);
  m_RightHand.AttachToBone(m_pSprite, "Bip01_R_Hand");
  m_LeftHand.AttachToBone(m_pSprite, "Bip01_L_Hand");
}

void CMeleeEnemy::HandBlows(float damagePerSecond) {
  CPlayer* player = EnemyTarget();
  if (!player) return;
  const D3DXVECTOR3 centre = player->WorldPosition() + player->GetBoundingSphere().center;
  const float radius = 2.0f * player->GetRadius();
  for (CEntity* hand : {&m_RightHand, &m_LeftHand}) {
    D3DXVECTOR3 hit;
    float distanceSq = 0.0f;
    if (hand->Collide(centre, centre, radius, hit, distanceSq))
      player->Damage(EnemyFrameTime() * damagePerSecond, true);
  }
}

const char* CMeleeEnemy::PickStrike() const { return Nembra::RandomBool() ? STRIKE1 : STRIKE2; }

void CMeleeEnemy::ChaseStep(float weight) {
  m_Moving = 1;
  SetAnimation(WALK, true);
  D3DXVECTOR3 d0;
  if (SteerChase(CHASE_STEERING{weight}, d0)) {
    m_Moving = 0;
    SetAnimation(IDLE, true);
    SetDirection(-d0);
    ClearHeadings();
  }
}

// ---------------------------------------------------------------------------

CEnemy1::CEnemy1(uint32_t colour)
    : CMeleeEnemy(colour, 3, "Ene1CompletoRojo.X", "Ene1CompletoAzul.X", g_Enemy1Speed, &m_Handler,
                  "Ene1Herido.wav") {}

void CEnemy1::Step() {
  if (!m_Dying) {
    bool decide = true;
    if (m_Attacking) {
      HandBlows(BLOW_DAMAGE);
      if (!IsOneShotEnded(m_pSprite)) {
        TurnToPlayer();
        decide = false;
      } else {
        m_Attacking = 0;
        SetAnimation(IDLE, true);
      }
    }
    if (decide) {
      CPlayer* player = EnemyTarget();
      const float d2 = DistanceSqToPlayer(WorldPosition());
      if (player && d2 <= g_Enemy1RangeSq && player->IsActive()) {
        if (d2 <= STRIKE_RANGE_SQ) {
          m_Moving = 0;
          SetAnimation(PickStrike(), false);
          m_Attacking = 1;
        } else {
          ChaseStep(CHASE_WEIGHT);
        }
      } else {
        m_Moving = 0;
        SetAnimation(IDLE, true);
      }
    }
  }
  CEnemy::Step();
}

// ---------------------------------------------------------------------------

CEnemy7::CEnemy7(uint32_t colour)
    : CMeleeEnemy(colour, 4, "Ene7CompletoRojo.X", "Ene7CompletoAzul.X", SPEED, &m_Handler, "Ene7Herido.wav") {
  m_Fade.speed = FADE_SPEED;
  m_Fade.minimum = 50;
  m_Fade.maximum = 200;
  m_Moving = 0;
  ClearHeadings();
  m_Fade.Start(false);
  if (m_pSprite) m_pSprite->SetRenderEffect(&m_Fade);
  m_Fading = 1;
  m_Timer = 0.0f;
  m_State = HIDDEN;
}

void CEnemy7::Hide() {
  m_Fade.Start(false);
  if (m_pSprite) m_pSprite->SetRenderEffect(&m_Fade);
  m_Fading = 1;
  ClearHeadings();
  m_Timer = 0.0f;
  m_State = HIDDEN;
}

void CEnemy7::StartChase() {
  m_Moving = 1;
  SetAnimation(WALK, true);
  if (m_State == HIDDEN) {
    m_Fade.Start(true);
    if (m_pSprite) m_pSprite->SetRenderEffect(&m_Fade);
    m_Timer = 0.0f;
    m_Fading = 1;
  }
  m_State = CHASING;
}

void CEnemy7::StartAttack() {
  m_Moving = 0;
  SetAnimation(PickStrike(), false);
  m_State = ATTACKING;
}

void CEnemy7::DropFinishedFade() {
  if (m_Fading && m_Fade.IsFinished()) {
    if (m_pSprite && m_pSprite->GetRenderEffect() == &m_Fade) m_pSprite->SetRenderEffect(nullptr);
    m_Fading = 0;
  }
}

void CEnemy7::StopHidden() {
  m_Moving = 0;
  SetAnimation(IDLE, true);
}

void CEnemy7::UpdateHidden(float d2) {
  if (CPlayer* player = EnemyTarget()) {
    D3DXVECTOR3 force;
    ApplySteeringForce(Seek(force, player->WorldPosition()));
  }
  if (m_Fading) {
    if (m_Fade.IsFinished()) {
      StopHidden();
      m_Fading = 0;
    }
    const D3DXVECTOR3 position = WorldPosition();
    if (m_Fading && WallOnPath(position, position + m_Direction * (m_Speed * 0.5f), true, GetRadius()))
      StopHidden();
  }
  if (m_Timer > WAKE_TIME && d2 <= WAKE_RANGE_SQ) StartChase();
}

void CEnemy7::UpdateChasing(float d2) {
  ChaseStep(CHASE_WEIGHT);
  DropFinishedFade();
  if (d2 < STRIKE_RANGE_SQ)
    StartAttack();
  else if (m_Timer > CHASE_TIME || d2 >= LOSE_RANGE_SQ)
    Hide();
}

void CEnemy7::UpdateAttacking(float d2) {
  HandBlows(BLOW_DAMAGE);
  DropFinishedFade();
  if (!IsOneShotEnded(m_pSprite)) {
    TurnToPlayer();
  } else if (d2 >= STRIKE_RANGE_SQ) {
    StartChase();
  } else {
    // The same strike again must restart, which the by-name switch skips.
    const char* strike = PickStrike();
    if (m_pSprite) m_pSprite->SetAnimation(strike, false);
    m_AnimationName = strike;
  }
}

void CEnemy7::Step() {
  if (!m_Dying) {
    m_Timer += EnemyFrameTime();
    const float d2 = DistanceSqToPlayer(WorldPosition());
    switch (m_State) {
      case HIDDEN:
        UpdateHidden(d2);
        break;
      case CHASING:
        UpdateChasing(d2);
        break;
      default:
        UpdateAttacking(d2);
        break;
    }
  }
  CEnemy::Step();
}
