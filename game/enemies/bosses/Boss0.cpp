// The first boss and its two shots.
#include "game/enemies/bosses/Boss0.h"

#include <algorithm>
#include <cmath>

#include "engine/resources/SkinnedMesh.h"
#include "engine/sound/AudiereSound.h"
#include "engine/util/Random.h"
#include "game/level/Level.h"
#include "game/script/GameScript.h"
#include "game/world/GameGlobals.h"
#include "game/world/GameWorld.h"

platform::HRESULT CBoss0CBH::HandleCallback(uint32_t /*track*/, void* data) {
  const DATA* key = static_cast<const DATA*>(data);
  if (key && key->boss) key->boss->Fire(key->event);
  return 0;
}

CBoss0::CBoss0(uint32_t colour) : CEnemy(colour) {
  m_Speed = SPEED;
  m_MaxSpeed = SPEED;
  SetHealth(g_Boss0Health > 0 ? static_cast<uint32_t>(g_Boss0Health) : 0u);
  SetRadius(RADIUS);
  SetHeadingWindow(HEADING_WINDOW);
  for (size_t i = 0; i < m_CallbackData.size(); ++i) m_CallbackData[i] = {this, static_cast<int32_t>(i)};
  const char* model = colour == 1 ? "IntermedioCompletoAzul.X" : "IntermedioCompletoRojo.X";
  if (Nembra::CSkinnedMesh* mesh = TakeMesh(model)) SetMesh(mesh);
  if (m_pSprite) {
    m_pSprite->SetAnimationCallbacks(SHOOT_LEFT, {{SHOT_KEY_TIME, &m_CallbackData[CBoss0CBH::LEFT_SHOT]}});
    m_pSprite->SetAnimationCallbacks(SHOOT_RIGHT, {{SHOT_KEY_TIME, &m_CallbackData[CBoss0CBH::RIGHT_SHOT]}});
    m_pSprite->SetAnimationCallbacks(ABILITY, {{ABILITY_KEY_TIME, &m_CallbackData[CBoss0CBH::ABILITY]}});
    m_pSprite->m_pCallbackHandler = &m_CallbackHandler;
  }
  if (Nembra::g_pAudiereSoundFactory) m_ShotSound.Take("Ene3Disparo.wav");
  SetAnimation(RESTING, true);
}

CBoss0::~CBoss0() { m_ShotSound.Reset(); }

void CBoss0::AddToScene(Nembra::CSceneNode* parent) {
  CEnemy::AddToScene(parent);
  m_LeftHand.AttachToBone(m_pSprite, "Bip01_L_Hand");
  m_RightHand.AttachToBone(m_pSprite, "Bip01_R_Hand");
}

D3DXVECTOR3& CBoss0::GetModelPosition(D3DXVECTOR3& out) {
  out = (m_Hand == 1 ? m_RightHand : m_LeftHand).WorldPosition();
  return out;
}

void CBoss0::Fire(int32_t event) {
  if (m_Dying) return;
  if (CLevel* level = CLevel::Current()) {
    if (event == CBoss0CBH::ABILITY)
      level->AddBoss0AbilityBullet(*this);
    else
      level->AddBoss0Bullet(*this, SHOT_POWER);
  }
  if (EnemyTargetActive() && m_ShotSound.Get()) m_ShotSound.Get()->Play(false);
}

void CBoss0::KillNow() {
  if (m_AbilityHitCooldown != 0.0f) return;
  m_AbilityHitCooldown = KILL_NOW_COOLDOWN;
  Damage(KILL_NOW_DAMAGE);
}

void CBoss0::OnKilled() {
  if (CLevel* level = CLevel::Current()) level->AddBoss0KillEffect(*this);
  g_GameScript.RunFile(KILL_SCRIPT);
}

void CBoss0::Step() {
  const float dt = EnemyFrameTime();
  m_AbilityTimer += dt;
  if (m_AbilityHitCooldown > 0.0f) m_AbilityHitCooldown = std::max(0.0f, m_AbilityHitCooldown - dt);
  if (!m_Dying) {
    bool decide = true;
    if (m_Attacking) {
      if (!IsOneShotEnded(m_pSprite)) {
        TurnWhileAttacking();
        decide = false;
      } else {
        m_Attacking = 0;
        SetAnimation(BETWEEN, true);
      }
    }
    if (decide) Decide();
  }
  CEnemy::Step();
}

void CBoss0::Decide() {
  CPlayer* player = EnemyTarget();
  const D3DXVECTOR3 position = WorldPosition();
  const float d2 = DistanceSqToPlayer(position);
  if (!player || d2 > REST_RANGE_SQ || !player->IsActive()) {
    m_Moving = 0;
    SetAnimation(RESTING, true);
    return;
  }
  if (m_AbilityTimer >= ABILITY_TIME) {
    if (Nembra::RandomBool()) {
      m_AbilityTimer = 0.0f;
      m_Moving = 0;
      SetAnimation(ABILITY, false);
      m_Attacking = 1;
    } else {
      m_AbilityTimer = ABILITY_RETRY;
    }
    return;
  }
  if (d2 <= SHOOT_RANGE_SQ && !WallOnPath(position, player->WorldPosition(), true, SIGHT_RADIUS)) {
    m_Moving = 0;
    if (Nembra::RandomInt(0, 1) == 0) {
      SetAnimation(SHOOT_LEFT, false);
      m_Hand = 0;
    } else {
      SetAnimation(SHOOT_RIGHT, false);
      m_Hand = 1;
    }
    m_Attacking = 1;
    return;
  }
  m_Moving = 1;
  SetAnimation(WALK, true);
  D3DXVECTOR3 d0;
  if (SteerChase(ShooterChaseSteering(), d0)) {
    m_Moving = 0;
    SetAnimation(BETWEEN, true);
  }
}

// ---------------------------------------------------------------------------

void CBoss0Bullet::Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power,
                       uint32_t colour) {
  m_Colour = colour;
  Launch(position, direction, power, colour == 1 ? "Boss0ShotBlue.pfx" : "Boss0ShotRed.pfx");
}

// Homing; the static walls only (the objects' shapes do not stop it), the
// standing boxes and the player.
CParticleShot::FLIGHT CBoss0Bullet::Flight() const {
  FLIGHT flight;
  flight.range = MAX_DISTANCE;
  flight.homingWeight = HOMING_WEIGHT;
  flight.wallsWithObjects = false;
  flight.stopAtBoxes = true;
  flight.endAtPlayer = true;
  return flight;
}

void CBoss0Bullet::OnImpact() {
  if (CLevel* level = CLevel::Current()) level->AddBoss0BulletWallHitEffect(*this);
}

void CBoss0AbilityBullet::Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power) {
  Launch(position, direction, power, "Boss0Ability.pfx");
}

CParticleShot::FLIGHT CBoss0AbilityBullet::Flight() const {
  FLIGHT flight;
  flight.range = MAX_DISTANCE;
  flight.wallsWithObjects = false;
  flight.stopAtBoxes = true;
  flight.endAtPlayer = true;
  return flight;
}

void CBoss0AbilityBullet::OnImpact() {
  if (CLevel* level = CLevel::Current()) level->AddBoss0AbilityBulletWallHitEffect(*this);
}
