#include "game/enemies/EnemyShots.h"

#include "engine/app/Application.h"
#include "game/effects/GasSplash.h"
#include "game/world/GameWorld.h"

namespace {

CPlayer* Target() { return g_pGameWorld ? &g_pGameWorld->GetPlayer() : nullptr; }

}  // namespace

void CParticleShot::Launch(const D3DXVECTOR3& start, const D3DXVECTOR3& direction, uint32_t power,
                           const char* trailFile) {
  SetPosition(D3DXVECTOR3(start.x, start.y, 0.0f));
  SetDirection(direction);
  m_Power = power;
  if (CreateEmitter(trailFile)) {
    if (Nembra::EMITTER_PARAMS* params = m_pEmitter->GetParams()) {
      params->direction[0] = -m_Direction.x;
      params->direction[1] = -m_Direction.y;
      params->direction[2] = -m_Direction.z;
    }
    m_pEmitter->SetPosition(D3DXVECTOR3(0.0f, 0.0f, start.z));
  }
  UpdateWorldMatrix();
}

void CParticleShot::Fly(const FLIGHT& flight) {
  CEntity::Step();
  if (!m_Ended) {
    CPlayer* player = Target();
    const float dt = Nembra::g_FrameTime;
    if (flight.homingWeight != 0.0f && player) {
      D3DXVECTOR3 force;
      ApplySteeringForce(Seek(force, player->WorldPosition()) * flight.homingWeight);
    }
    const D3DXVECTOR3 from = WorldPosition();
    D3DXVECTOR3 next = GetPosition() + m_Direction * (m_Speed * dt);
    bool hit = false;
    D3DXVECTOR3 contact;
    float distanceSq = 0.0f;
    if (player && player->Collide(from, next, GetRadius(), contact, distanceSq)) {
      hit = true;
      if (flight.endAtPlayer) next = player->WorldPosition();
      player->Damage(static_cast<float>(m_Power), true);
    }
    if (CLevel* level = CLevel::Current()) {
      float point[3], normal[3], distance = 0.0f;
      if (level->CheckCollision(&from.x, &next.x, GetRadius(), point, distance, normal, 0, flight.wallsWithObjects)) {
        hit = true;
        next = D3DXVECTOR3(point[0], point[1], point[2]);
      }
      if (flight.stopAtBoxes) {
        float nearest = 0.0f;
        bool boxHit = false;
        D3DXVECTOR3 boxPoint;
        for (CBox& box : level->GetBoxes()) {
          if (!box.IsActive()) continue;
          if (box.GetCollisionBox(0).IntersectSphere(&from.x, &next.x, GetRadius(), point, distance, normal) &&
              (!boxHit || distance < nearest)) {
            boxHit = true;
            nearest = distance;
            boxPoint = D3DXVECTOR3(point[0], point[1], point[2]);
          }
        }
        if (boxHit) {
          hit = true;
          next = boxPoint;
        }
      }
    }
    SetPosition(next);
    UpdateWorldMatrix();
    if (hit) {
      m_Ended = 1;
      if (m_pEmitter) m_pEmitter->Stop();
      OnImpact();
      return;
    }
    m_Distance += m_Speed * dt;
    if (m_Distance >= flight.range) {
      m_Ended = 1;
      if (m_pEmitter) m_pEmitter->Stop();
    }
  }
  if (m_Ended && IsEmitterFinished()) m_Active = 0;
}

void CEnemy3Bullet::Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power) {
  Launch(position, direction, power, "Enemy3EstelaBala.pfx");
}

CParticleShot::FLIGHT CEnemy3Bullet::Flight() const {
  FLIGHT flight;
  flight.range = MAX_DISTANCE;
  flight.homingWeight = HOMING_WEIGHT;
  return flight;
}

void CEnemy3Bullet::OnImpact() {
  if (CLevel* level = CLevel::Current()) level->AddEnemy3BulletWallHitEffect(*this);
}

void CEnemy2Bullet::Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power) {
  Launch(position, direction, power, "Enemy2EstelaBala.pfx");
}

CParticleShot::FLIGHT CEnemy2Bullet::Flight() const {
  FLIGHT flight;
  flight.range = CEnemy3Bullet::MAX_DISTANCE;
  flight.stopAtBoxes = true;
  return flight;
}

void CEnemy2Bullet::OnImpact() {
  if (CLevel* level = CLevel::Current()) level->AddEnemy2BulletWallHitEffect(*this);
}

void CEnemy6Bullet::Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power) {
  m_StartPoint = position;
  SetPosition(position);
  SetDirection(direction);
  m_Power = static_cast<int32_t>(power);
  SetEmitter(Nembra::MakeGasBallEmitter(m_Direction));
  UpdateWorldMatrix();
}

void CEnemy6Bullet::Step() {
  CEntity::Step();
  if (m_Landed) {
    if (IsEmitterFinished()) m_Active = 0;
    return;
  }
  const float t = m_FlightTime;
  D3DXVECTOR3 next = m_StartPoint + m_Direction * (m_Speed * t) + D3DXVECTOR3(0.0f, 0.0f, -FALL * t * t);
  uint32_t kind = NONE;
  if (next.z <= 0.0f) {
    next.z = 0.0f;
    kind = FLOOR;
  } else {
    const D3DXVECTOR3 from = WorldPosition();
    CPlayer* player = Target();
    D3DXVECTOR3 contact;
    float distanceSq = 0.0f;
    if (player && player->Collide(from, next, RADIUS, contact, distanceSq)) {
      kind = PLAYER;
      next = player->WorldPosition();
      player->Damage(static_cast<float>(static_cast<uint32_t>(m_Power)), true);
    }
    if (CLevel* level = CLevel::Current()) {
      float point[3], normal[3], distance = 0.0f;
      if (level->CheckCollision(&from.x, &next.x, RADIUS, point, distance, normal, 0, true)) {
        kind = WALL;
        next = D3DXVECTOR3(point[0], point[1], point[2]);
      }
      D3DXVECTOR3 d = next - from;
      float nearest = D3DXVec3LengthSq(&d);
      for (CBox& box : level->GetBoxes()) {
        if (!box.IsActive()) continue;
        if (box.GetCollisionBox(0).IntersectSphere(&from.x, &next.x, RADIUS, point, distance, normal) &&
            distance * distance <= nearest) {
          kind = BOX;
          next = D3DXVECTOR3(point[0], point[1], point[2]);
          nearest = distance * distance;
        }
      }
    }
  }
  SetPosition(next);
  UpdateWorldMatrix();
  if (kind != NONE) {
    m_Landed = 1;
    m_HitKind = kind;
    if (m_pEmitter) m_pEmitter->Stop();
    if (kind == PLAYER)
      if (CPlayer* player = Target()) player->Damage(CONTACT_DAMAGE, true);
    if (CLevel* level = CLevel::Current()) {
      if (kind == FLOOR)
        level->AddEnemy6BulletFloorHitEffect(*this);
      else
        level->AddEnemy6BulletWallHitEffect(*this);
    }
    return;
  }
  m_FlightTime += Nembra::g_FrameTime;
}

void CEnemy8Bullet::AddToScene(Nembra::CSceneNode* parent) {
  CMovingEntity::AddToScene(parent);
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&m_Beam, this);
  m_Beam.SetPosition(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
  m_Beam.UpdateWorldMatrix();
}

void CEnemy8Bullet::RemoveFromScene() {
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->RemoveNode(&m_Beam);
  CMovingEntity::RemoveFromScene();
}

void CEnemy8Bullet::Init(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, uint32_t power) {
  SetPosition(position);
  CMovingEntity::SetDirection(direction);
  m_Power = power;
  m_Beam.Create("Ene8Bullet.tga", LENGTH, WIDTH, D3DXVECTOR3(1.0f, 0.0f, 0.0f), true);
  m_Beam.direction = m_Direction;
  UpdateWorldMatrix();
}

void CEnemy8Bullet::Step() {
  CEntity::Step();
  if (m_Distance < LENGTH) {
    m_Beam.length = m_Distance;
    m_Beam.halfWidth = HALF_WIDTH;
  } else if (m_Distance > LENGTH) {
    m_Beam.length = LENGTH;
    m_Beam.halfWidth = HALF_WIDTH;
  }
  m_Beam.Draw();
  if (m_Done) {
    m_Active = 0;
    return;
  }
  const float step = m_Speed * Nembra::g_FrameTime;
  const D3DXVECTOR3 next = GetPosition() + m_Direction * step;
  const D3DXVECTOR3 from = WorldPosition();
  bool hit = false;
  D3DXVECTOR3 contact;
  float distanceSq = 0.0f;
  CPlayer* player = Target();
  if (player && player->Collide(from, next, RADIUS, contact, distanceSq)) {
    hit = true;
    player->Damage(static_cast<float>(m_Power), true);
  }
  if (CLevel* level = CLevel::Current()) {
    float point[3], normal[3], distance = 0.0f;
    if (level->CheckCollision(&from.x, &next.x, RADIUS, point, distance, normal, 0, true)) hit = true;
  }
  SetPosition(next);
  UpdateWorldMatrix();
  if (hit) {
    m_Done = 1;
  } else {
    m_Distance += step;
    if (m_Distance >= MAX_DISTANCE) m_Done = 1;
  }
}
