// The second boss and its two shots.
#include "game/enemies/bosses/Boss1.h"

#include "engine/resources/SkinnedMesh.h"
#include "engine/sound/WaveSound.h"
#include "engine/util/Random.h"
#include "engine/util/Utilities.h"
#include "game/actors/Bullet.h"
#include "game/level/Level.h"
#include "game/script/GameScript.h"
#include "game/world/GameGlobals.h"
#include "game/world/GameWorld.h"

namespace {

uint32_t NonNegative(int value) { return value > 0 ? static_cast<uint32_t>(value) : 0u; }

// A timer counting down to 0, never below it.
void CountDown(float& timer, float dt) {
  if (timer <= 0.0f) return;
  timer -= dt;
  if (timer < 0.0f) timer = 0.0f;
}

}  // namespace

platform::HRESULT CBoss1CBH::HandleCallback(uint32_t /*track*/, void* data) {
  const DATA* key = static_cast<const DATA*>(data);
  if (key && key->boss) key->boss->Fire(key->event);
  return 0;
}

// ---------------------------------------------------------------------------

CBoss1::CBoss1() : CEnemy(0) {
  m_Speed = SPEED;
  m_MaxSpeed = SPEED;
  SetHealth(NonNegative(g_Boss1Health));
  SetRadius(RADIUS);
  SetHeadingWindow(HEADING_WINDOW);
  m_CallbackData[0] = {this, BALL_EVENT};
  m_CallbackData[1] = {this, LASER_EVENT};
  if (Nembra::CSkinnedMesh* blue = TakeMesh(BLUE_MESH)) m_BlueModel.SetMesh(blue);
  if (Nembra::CSkinnedMesh* red = TakeMesh(RED_MESH)) m_RedModel.SetMesh(red);
  for (Nembra::CAnimated3DSprite* model : {&m_BlueModel, &m_RedModel}) {
    model->SetScale(MODEL_SCALE);
    model->GetBoundingSphere().radius = MODEL_BOUNDS;
    model->SetAnimationCallbacks(BALL, {{0.0f, &m_CallbackData[0]}});
    model->SetAnimationCallbacks(LASER, {{0.0f, &m_CallbackData[1]}});
    model->m_pCallbackHandler = &m_CallbackHandler;
    model->SetAnimation(REST, true);
  }
  // The models are the boss's own members: the base shows them without
  // owning them.
  UseSprite(&m_RedModel);
  m_AnimationName = REST;
  m_BlueModel.SetVisible(false);
  m_pShotSound = LoadSound("Ene3Disparo.wav");
}

CBoss1::~CBoss1() {
  // The models go before the base does: it must not reach them then.
  if (m_pSprite) m_pSprite->SetRenderEffect(nullptr);
  UseSprite(nullptr);
}

void CBoss1::AddToScene(Nembra::CSceneNode* parent) {
  CEnemy::AddToScene(parent);
  AttachMuzzles();
}

void CBoss1::AddSpriteToScene() {
  if (!Nembra::g_pSceneManager) return;
  Nembra::g_pSceneManager->AddNode(&m_BlueModel, this);
  Nembra::g_pSceneManager->AddNode(&m_RedModel, this);
}

void CBoss1::AttachMuzzles() {
  m_BallMuzzle.AttachToBone(m_pSprite, BALL_BONE);
  m_FirstLaserMuzzle.AttachToBone(m_pSprite, FIRST_LASER_BONE);
  m_SecondLaserMuzzle.AttachToBone(m_pSprite, SECOND_LASER_BONE);
}

bool CBoss1::Collide(const D3DXVECTOR3& from, const D3DXVECTOR3& to, float radius, D3DXVECTOR3& hit,
                     float& distanceSquared) const {
  float distance = 0.0f;
  D3DXVECTOR3 movement(0.0f, 0.0f, 0.0f);
  if (!Nembra::SweepSphereAgainstSphere(from, to, radius, WorldPosition(), RADIUS, &distance, &movement))
    return false;
  hit = from + movement;
  distanceSquared = distance * distance;
  return true;
}

void CBoss1::FlipColour() {
  Nembra::CAnimated3DSprite* old = m_pSprite;
  m_Colour = 1u - m_Colour;
  Nembra::CAnimated3DSprite* next = m_Colour == 1 ? &m_BlueModel : &m_RedModel;
  if (old && old != next) {
    old->SetVisible(false);
    next->SyncAnimation(*old);
  }
  UseSprite(next);
  SetFillColour(m_Colour);
  next->SetVisible(true);
  // The model shown until now was the one posed: the new one takes its
  // pose at once so that the muzzles read its bones from the first shot on.
  if (next->GetMesh() && next->GetParent()) {
    next->UpdateWorldMatrix();
    next->Pose();
  }
  AttachMuzzles();
}

void CBoss1::Damage(uint32_t amount) {
  if (m_Dead) return;  // a dead boss is hurt, killed and mourned only once
  CEnemy::Damage(amount);
  if (!m_Dead) FlipColour();
}

void CBoss1::OnShotHit(const CBullet& shot) {
  if (m_Dead) return;
  CEnemy::OnShotHit(shot);
  if (m_Dead || shot.GetColour() == m_Colour) return;
  m_ColourFlipSum += shot.GetPower();
  if (m_ColourFlipSum > FLIP_SUM) {
    m_ColourFlipSum = 0;
    FlipColour();
  }
}

void CBoss1::KillNow() {
  if (m_AbilityHitCooldown != 0.0f) return;
  m_AbilityHitCooldown = ABILITY_HIT_TIME;
  Damage(ABILITY_DAMAGE);
}

void CBoss1::OnWaveHit(uint32_t /*colour*/) {
  if (m_WaveCooldown != 0.0f) return;
  m_WaveCooldown = WAVE_TIME;
  Damage(NonNegative(g_WaveShockPower));
}

void CBoss1::OnKilled() {
  if (CLevel* level = CLevel::Current()) level->AddBoss1KillEffect(*this);
  g_GameScript.RunFile(KILL_SCRIPT);
}

void CBoss1::Fire(int32_t event) {
  if (m_Dying) return;
  if (CLevel* level = CLevel::Current()) {
    const D3DXVECTOR3 position = WorldPosition();
    if (event == BALL_EVENT) {
      level->AddBoss1Bullet(m_BallMuzzle.WorldPosition(), position, GetWorldRotationZ(), BALL_POWER);
    } else {
      level->AddBoss1Laser(m_FirstLaserMuzzle.WorldPosition(), position, 0.0f, LASER_POWER);
      level->AddBoss1Laser(m_SecondLaserMuzzle.WorldPosition(), position, 0.0f, LASER_POWER);
    }
  }
  if (EnemyTargetActive() && m_pShotSound) m_pShotSound->Play(false);
}

void CBoss1::Step() {
  const float dt = EnemyFrameTime();
  CountDown(m_AbilityHitCooldown, dt);
  CountDown(m_LaserTimer, dt);
  CountDown(m_WaveCooldown, dt);
  if (!m_Dying) {
    bool decide = true;
    if (m_Attacking) {
      if (IsOneShotEnded(m_pSprite)) {
        m_Attacking = 0;
        SetAnimation(REST, true);
      } else {
        decide = false;
      }
    }
    if (decide) {
      if (!EnemyTargetActive() || DistanceSqToPlayer(WorldPosition()) < REST_RANGE_SQ) {
        SetAnimation(REST, true);
      } else if (m_LaserTimer == 0.0f) {
        SetAnimation(LASER, false);
        m_LaserTimer = LASER_TIME;
        m_Attacking = 1;
      } else if (Nembra::RandomInt(0, ROLL_MAX) > BALL_ROLL) {
        SetAnimation(BALL, false);
        m_Attacking = 1;
      } else {
        SetAnimation(REST, true);
      }
    }
  }
  CEnemy::Step();
}

// ---------------------------------------------------------------------------

void CBoss1Bullet::Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power) {
  Launch(position, direction, power, "Boss1Bullet.pfx");
}

CParticleShot::FLIGHT CBoss1Bullet::Flight() const {
  FLIGHT flight;
  flight.range = MAX_DISTANCE;
  flight.homingWeight = HOMING_WEIGHT;
  flight.endAtPlayer = true;
  return flight;
}

void CBoss1Bullet::OnImpact() {
  if (CLevel* level = CLevel::Current()) level->AddBoss1BulletWallHitEffect(*this);
}

void CBoss1Laser::Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power) {
  Launch(position, direction, power, "Boss1EstelaBala.pfx");
}

CParticleShot::FLIGHT CBoss1Laser::Flight() const {
  FLIGHT flight;
  flight.range = MAX_DISTANCE;
  flight.homingWeight = HOMING_WEIGHT;
  flight.endAtPlayer = true;
  return flight;
}

void CBoss1Laser::OnImpact() {
  if (CLevel* level = CLevel::Current()) level->AddBoss1LaserWallHitEffect(*this);
}
