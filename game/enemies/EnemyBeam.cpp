// The beam walker: two models, one per colour, and a colour switch when an
// other-colour shot hits it without killing it.
#include <cmath>

#include "engine/resources/SkinnedMesh.h"
#include "engine/scene/SceneManager.h"
#include "engine/sound/WaveSound.h"
#include "engine/util/Random.h"
#include "game/actors/Bullet.h"
#include "game/enemies/EnemyKinds.h"
#include "game/world/GameWorld.h"

namespace {

constexpr const char* kIdle = "Ene8Reposo";
constexpr const char* kWalk = "Ene8CaminarAdelante";
constexpr const char* kShoot = "Ene8Golpe1";
constexpr const char* kMuzzleBone = "Ayudante";

}  // namespace

platform::HRESULT CEnemy8CBH::HandleCallback(uint32_t /*track*/, void* data) {
  if (data) (*static_cast<CEnemy8**>(data))->Fire();
  return 0;
}

CEnemy8::CEnemy8(uint32_t colour) : CEnemy(colour) {
  m_BlueModel.SetMesh(TakeMesh("Ene8CompletoAzul.X"));
  m_RedModel.SetMesh(TakeMesh("Ene8CompletoRojo.X"));
  const D3DXVECTOR3 scale(SCALE, SCALE, SCALE);
  m_BlueModel.SetScale(scale);
  m_RedModel.SetScale(scale);
  m_BlueKeyData.assign(1, this);
  m_RedKeyData.assign(1, this);
  m_BlueModel.SetAnimationCallbacks(kShoot, {{KEY_TIME, m_BlueKeyData.data()}});
  m_RedModel.SetAnimationCallbacks(kShoot, {{KEY_TIME, m_RedKeyData.data()}});
  m_BlueModel.m_pCallbackHandler = &m_Handler;
  m_RedModel.m_pCallbackHandler = &m_Handler;
  // The sprite the base made gives way to the model of the colour.
  UseSprite(colour == 1 ? &m_BlueModel : &m_RedModel);
  Nembra::CAnimated3DSprite& hidden = colour == 1 ? m_RedModel : m_BlueModel;
  hidden.SetVisible(false);
  hidden.SetAnimation(kIdle, true);
  SetHealth(4);
  m_Speed = SPEED;
  m_MaxSpeed = SPEED;
  SetRadius(RADIUS);
  SetHeadingWindow(WINDOW);
  m_pHurtSound = LoadSound("Ene8Herido.wav");
  m_pShotSound = LoadSound("Ene8Disparo.wav");
  SetAnimation(kIdle, true);
}

CEnemy8::~CEnemy8() {
  if (m_pSprite && m_pSprite->GetRenderEffect() == &m_Vanish) m_pSprite->SetRenderEffect(nullptr);
  // The models are members: the base must not reach them once they are gone.
  UseSprite(nullptr);
}

void CEnemy8::AddToScene(Nembra::CSceneNode* parent) {
  CEnemy::AddToScene(parent);
  m_Muzzle.AttachToBone(m_pSprite, kMuzzleBone);
}

void CEnemy8::AddSpriteToScene() {
  if (!Nembra::g_pSceneManager) return;
  Nembra::g_pSceneManager->AddNode(&m_BlueModel, this);
  Nembra::g_pSceneManager->AddNode(&m_RedModel, this);
}

void CEnemy8::Fire() {
  if (m_Dying) return;
  const D3DXVECTOR3 muzzle = m_Muzzle.WorldPosition();
  if (muzzle.x == 0.0f && muzzle.y == 0.0f && muzzle.z == 0.0f) return;
  if (CLevel* level = CLevel::Current()) level->AddEnemy8Bullet(*this, POWER);
  if (EnemyTargetActive() && m_pShotSound) m_pShotSound->Play(false);
}

void CEnemy8::OnShotHit(const CBullet& shot) {
  CEnemy::OnShotHit(shot);
  if (m_Dead || shot.GetColour() == m_Colour) return;
  const uint32_t v = Nembra::RandomBool() ? 0u : 1u;
  if (v == m_Colour) return;
  m_Colour = v;
  if (m_pSprite) m_pSprite->SetVisible(false);
  Nembra::CAnimated3DSprite& now = GetModel(v);
  now.SyncAnimation(GetModel(1 - v));
  if (m_pSprite && m_pSprite->GetRenderEffect()) {
    now.SetRenderEffect(m_pSprite->GetRenderEffect());
    m_pSprite->SetRenderEffect(nullptr);
  }
  UseSprite(&now);
  SetFillColour(v);
  now.SetVisible(true);
  m_Muzzle.AttachToBone(&now, kMuzzleBone);
}

void CEnemy8::Chase() {
  m_Moving = 1;
  SetAnimation(kWalk, true);
  CHASE_STEERING weights;
  weights.pursuitWeight = 5.0f;
  weights.pursuitAhead = 0.1f;
  weights.obstacleLookAhead = 10.0f;
  weights.wallWeight = 50000.0f;
  weights.inclusiveFlip = false;
  weights.blendHeading = false;
  weights.wallLookIncludesObjects = false;
  D3DXVECTOR3 d0;
  if (SteerChase(weights, d0)) {
    m_Moving = 0;
    SetAnimation(kIdle, true);
  }
}

void CEnemy8::Step() {
  if (!m_Dying) {
    bool decide = true;
    if (m_Shooting) {
      if (IsOneShotEnded(m_pSprite)) {
        m_Shooting = 0;
        SetAnimation(kIdle, true);
      } else {
        TurnToPlayer();
        D3DXVECTOR3 velocity, h;
        GetVelocity(velocity);
        AverageHeading(h, velocity * 5000.0f);
        SetRotationZ(h.x == 0.0f && h.y == 0.0f ? 0.0f : std::atan2(h.y, h.x));
        decide = false;
      }
    }
    if (decide) {
      CPlayer* player = EnemyTarget();
      const D3DXVECTOR3 position = WorldPosition();
      const float d2 = DistanceSqToPlayer(position);
      if (!player || d2 > NOTICE_RANGE_SQ || !player->IsActive()) {
        m_Moving = 0;
        SetAnimation(kIdle, true);
      } else if (d2 <= SHOOT_RANGE_SQ && !WallOnPath(position, player->WorldPosition(), true, 20.0f)) {
        m_Moving = 0;
        SetAnimation(kShoot, false);
        m_Shooting = 1;
      } else {
        Chase();
      }
    }
  }
  CEnemy::Step();
}
