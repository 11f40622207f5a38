#include "game/enemies/Enemy.h"

#include <algorithm>
#include <cmath>
#include <list>

#include "engine/app/Application.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/resources/Texture.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneDevice.h"
#include "engine/scene/SceneManager.h"
#include "engine/sound/WaveSound.h"
#include "game/actors/Bullet.h"
#include "game/world/GameWorld.h"

namespace {

constexpr platform::RECT kFrameRect{0, 4, 44, 16};
constexpr platform::RECT kRedFillRect{0, 0, 37, 4};
constexpr platform::RECT kBlueFillRect{0, 16, 37, 20};
constexpr float kPi = 3.14159265358979f;

uint32_t DamagePerShot() {
  if (!g_pGameWorld) return 1;
  return g_pGameWorld->GetPlayer().GetWeapon().GetPower();
}

}  // namespace

uint64_t CEnemy::s_SeparationCopies = 0;

bool IsOneShotEnded(const Nembra::CAnimated3DSprite* sprite) {
  return sprite == nullptr || sprite->GetMesh() == nullptr || sprite->IsFinished();
}

CPlayer* EnemyTarget() { return g_pGameWorld ? &g_pGameWorld->GetPlayer() : nullptr; }

bool EnemyTargetActive() {
  CPlayer* player = EnemyTarget();
  return player && player->IsActive();
}

float DistanceSqToPlayer(const D3DXVECTOR3& point) {
  CPlayer* player = EnemyTarget();
  if (!player) return 3.0e38f;
  const D3DXVECTOR3 d = player->WorldPosition() - point;
  return D3DXVec3LengthSq(&d);
}

float EnemyFrameTime() { return Nembra::g_FrameTime; }

CEnemy::CEnemy(uint32_t colour) : m_Colour(colour) {
  m_Vanish.speed = VANISH_SPEED;
  if (Nembra::CTexture* texture = m_HealthTexture.Take(HEALTH_TEXTURE)) {
    m_HealthFrame.SetTexture(texture);
    m_HealthFill.SetTexture(texture);
  }
  m_HealthFrame.SetSourceRect(kFrameRect);
  m_HealthFrame.m_Center = D3DXVECTOR3(22.0f, 6.0f, 0.0f);
  SetFillColour(colour);
  m_HealthFill.m_Center = D3DXVECTOR3(18.0f, 2.0f, 0.0f);
}

CEnemy::~CEnemy() {
  if (m_pSprite && m_pSprite->GetRenderEffect() == &m_Vanish) m_pSprite->SetRenderEffect(nullptr);
  DestroySprite();  // the sprite lets go of its mesh before the mesh is given back
}

Nembra::CSkinnedMesh* CEnemy::TakeMesh(const std::string& name) {
  return m_Meshes.emplace_back(Nembra::g_pSkinnedMeshFactory).Take(name);
}

Nembra::CSound* CEnemy::LoadSound(const char* name) {
  return Nembra::g_pWaveSoundFactory ? Nembra::g_pWaveSoundFactory->Get(name) : nullptr;
}

void CEnemy::SetFillColour(uint32_t colour) { m_HealthFill.SetSourceRect(colour == 1 ? kBlueFillRect : kRedFillRect); }

void CEnemy::SetHeadingWindow(int32_t n) {
  m_Window = n > 0 ? n : 0;
  m_HeadingBuffer.assign(static_cast<size_t>(m_Window), D3DXVECTOR3(0.0f, 0.0f, 0.0f));
  m_Cursor = 0;
}

D3DXVECTOR3& CEnemy::AverageHeading(D3DXVECTOR3& out, const D3DXVECTOR3& newest) {
  if (m_Window < 1) {
    out = newest;
    return out;
  }
  if (++m_Cursor >= m_Window) m_Cursor = 0;
  m_HeadingBuffer[static_cast<size_t>(m_Cursor)] = newest;
  D3DXVECTOR3 sum(0.0f, 0.0f, 0.0f);
  for (const D3DXVECTOR3& h : m_HeadingBuffer) sum += h;
  const float inverse = static_cast<float>(1.0 / static_cast<double>(m_Window));
  out = sum * inverse;
  return out;
}

void CEnemy::ClearHeadings() {
  for (D3DXVECTOR3& h : m_HeadingBuffer) h = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  m_Cursor = 0;
}

void CEnemy::SetDirection(const D3DXVECTOR3& v) {
  CMovingEntity::SetDirection(v);
  SetRotationZ(m_Heading);
}

void CEnemy::Step() {
  const D3DXVECTOR3 from = WorldPosition();
  const D3DXVECTOR3 next = from + m_Direction * (m_Speed * EnemyFrameTime());
  if (CPlayer* player = EnemyTarget()) {
    D3DXVECTOR3 hit;
    float distanceSq = 0.0f;
    if (player->Collide(from, next, GetRadius(), hit, distanceSq)) m_Moving = 0;
  }
  CCharacter::Step();
  // Without a mesh there is nothing to fade: the death is over at once.
  if (m_Dying && (m_Vanish.IsFinished() || !m_pSprite || !m_pSprite->GetMesh())) {
    m_Dying = 0;
    if (m_pSprite) {
      m_pSprite->SetRenderEffect(nullptr);
      m_pSprite->SetVisible(false);
    }
    m_Active = 0;
  }
}

void CEnemy::UpdateFill() {
  m_HealthFill.m_ScaleX =
      m_MaxHealth == 0 ? 0.0f : static_cast<float>(m_Health) / static_cast<float>(m_MaxHealth);
}

void CEnemy::StartDying() {
  m_Dying = 1;
  m_Vanish.Start(false);
  m_Moving = 0;
  if (m_pSprite) {
    m_pSprite->SetRenderEffect(&m_Vanish);
    m_pSprite->m_Paused = true;
  }
}

void CEnemy::OnShotHit(const CBullet& shot) {
  m_Hit = 1;
  if (shot.GetColour() == m_Colour) return;
  const bool wasDead = m_Dead != 0;
  TakeDamage(DamagePerShot());
  UpdateFill();
  // Only the blow that kills runs the death (a dead enemy hit again does not).
  if (m_Dead && !wasDead) {
    if (m_pHurtSound) m_pHurtSound->Play(false);
    OnKilled();
    StartDying();
  }
}

void CEnemy::Damage(uint32_t amount) {
  m_Hit = 1;
  const bool wasDead = m_Dead != 0;
  TakeDamage(amount);
  UpdateFill();
  if (m_Dead && !wasDead) {
    OnKilled();
    StartDying();
  }
}

void CEnemy::Kill() {
  TakeDamage(m_Health);
  // An enemy already fading keeps its fade.
  if (!m_Dying) StartDying();
}

void CEnemy::KillNow() { Kill(); }

void CEnemy::OnWaveHit(uint32_t colour) {
  if (colour != m_Colour) Kill();
}

uint32_t CEnemy::GetEnergyValue() {
  const uint32_t d = std::max<uint32_t>(DamagePerShot(), 1u);
  const float quotient = static_cast<float>(m_MaxHealth) / static_cast<float>(d);
  return 1u + 2u * static_cast<uint32_t>(std::ceil(quotient));
}

void CEnemy::DrawHealthBar() {
  if (!m_pSprite || !m_pSprite->IsVisible()) return;
  Nembra::CCamera* camera = Nembra::g_pSceneManager ? Nembra::g_pSceneManager->GetCamera() : nullptr;
  platform::IDevice* device = Nembra::GetSceneDevice();
  if (!camera || !device) return;
  platform::D3DVIEWPORT9 viewport;
  device->GetViewport(&viewport);
  D3DXMATRIX world;
  D3DXMatrixIdentity(&world);
  const D3DXVECTOR3 point = WorldPosition() + D3DXVECTOR3(0.0f, 0.0f, BAR_HEIGHT);
  D3DXVECTOR3 screen;
  D3DXVec3Project(&screen, &point, &viewport, &camera->GetProjection(), &camera->GetView(), &world);
  // Behind the camera (or past its far plane) the projection mirrors.
  if (!(screen.z >= 0.0f && screen.z <= 1.0f)) return;
  const D3DXVECTOR3 at(screen.x, screen.y, 0.0f);
  m_HealthFrame.SetPosition(at);
  m_HealthFrame.Draw();
  m_HealthFill.SetPosition(at);
  m_HealthFill.Draw();
}

bool CEnemy::WallOnPath(const D3DXVECTOR3& from, const D3DXVECTOR3& to, bool includeObjects, float radius,
                        D3DXVECTOR3* normal) const {
  CLevel* level = CLevel::Current();
  if (!level) return false;
  float hit[3], n[3], distance = 0.0f;
  if (!level->CheckCollision(&from.x, &to.x, radius, hit, distance, n, 1, includeObjects)) return false;
  if (normal) *normal = D3DXVECTOR3(n[0], n[1], n[2]);
  return true;
}

void CEnemy::TurnToPlayer() {
  CPlayer* player = EnemyTarget();
  if (!player) return;
  D3DXVECTOR3 force;
  ApplySteeringForce(Seek(force, player->WorldPosition()));
}

void CEnemy::TurnWhileAttacking() {
  TurnToPlayer();
  D3DXVECTOR3 velocity, h;
  GetVelocity(velocity);
  AverageHeading(h, velocity * 5000.0f);
  SetRotationZ(h.x == 0.0f && h.y == 0.0f ? 0.0f : std::atan2(h.y, h.x));
}

bool CEnemy::SteerChase(const CHASE_STEERING& w, D3DXVECTOR3& d0) {
  d0 = m_Direction;
  CPlayer* player = EnemyTarget();
  CLevel* level = CLevel::Current();
  if (!player || !level) return false;
  const float dt = EnemyFrameTime();
  D3DXVECTOR3 force;
  // 1. Pursuit.
  if (player->IsMoving())
    Pursue(force, player, w.pursuitAhead);
  else
    SeekNode(force, player);
  ApplySteeringForce(force * w.pursuitWeight);
  // 2. Obstacles.
  AvoidObstacles(force, w.obstacleLookAhead, level->GetObstacles());
  if (force.x != 0.0f || force.y != 0.0f || force.z != 0.0f) ApplySteeringForce(force * OBSTACLE_WEIGHT);
  // 3. Separation from the other enemies.
  const std::list<CEntity*> others(level->GetEnemies().begin(), level->GetEnemies().end());
  ++s_SeparationCopies;
  ComputeSeparation(force, others);
  ApplySteeringForce(force * SEPARATION_WEIGHT);
  // 4. Walls half a second ahead.
  const D3DXVECTOR3 position = WorldPosition();
  D3DXVECTOR3 normal;
  if (WallOnPath(position, position + m_Direction * (m_Speed * 0.5f), w.wallLookIncludesObjects, GetRadius(),
                 &normal)) {
    // Rounding can push the product past +-1, where arccos has no value.
    const float dot = std::max(-1.0f, std::min(1.0f, D3DXVec3Dot(&normal, &m_Direction)));
    float a = std::acos(dot);
    if (m_Direction.y * normal.x - m_Direction.x * normal.y < 0.0f) a = 2.0f * kPi - a;
    const bool flip = w.inclusiveFlip ? ((a >= 0.0f && a <= kPi / 2.0f) || (a >= 3.0f * kPi / 2.0f && a <= 2.0f * kPi))
                                      : ((a >= 0.0f && a < kPi / 2.0f) || (a > 3.0f * kPi / 2.0f && a <= 2.0f * kPi));
    if (flip) normal = -normal;
    ApplySteeringForce(normal * w.wallWeight);
  }
  // 5. Heading smoothing.
  D3DXVECTOR3 velocity, heading;
  GetVelocity(velocity);
  SetDirection(AverageHeading(heading, velocity));
  if (w.blendHeading) SetDirection(d0 + (m_Direction - d0) * 0.1f);
  // 6. This frame's step.
  return WallOnPath(position, position + m_Direction * (m_Speed * dt), true, GetRadius());
}
