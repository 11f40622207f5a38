// The steering operations of moving entities.
#include <cfloat>
#include <cmath>

#include "engine/app/Application.h"
#include "game/actors/Movement.h"

void CMovingEntity::ApplySteeringForce(const D3DXVECTOR3& force) {
  const D3DXVECTOR3 velocity = m_Speed * m_Direction + (STEERING_WEIGHT * force) * Nembra::g_FrameTime;
  SetDirection(velocity);
}

D3DXVECTOR3& CMovingEntity::Seek(D3DXVECTOR3& out, const D3DXVECTOR3& target) const {
  const D3DXVECTOR3 desired = (target - WorldPosition()) - m_Speed * m_Direction;
  D3DXVECTOR3 unit;
  D3DXVec3Normalize(&unit, &desired);  // zero stays zero: no force
  out = unit * m_MaxSpeed;
  return out;
}

D3DXVECTOR3& CMovingEntity::SeekNode(D3DXVECTOR3& out, Nembra::CSceneNode* node) const {
  return Seek(out, node->GetWorldPosition());
}

D3DXVECTOR3& CMovingEntity::PredictPosition(D3DXVECTOR3& out, float seconds) const {
  out = WorldPosition() + (m_Speed * m_Direction) * seconds;
  return out;
}

D3DXVECTOR3& CMovingEntity::Pursue(D3DXVECTOR3& out, const CMovingEntity* other, float seconds) const {
  D3DXVECTOR3 ahead;
  other->PredictPosition(ahead, seconds);
  return Seek(out, ahead);
}

D3DXVECTOR3& CMovingEntity::ToLocal(D3DXVECTOR3& out, const D3DXVECTOR3& point) const {
  const D3DXVECTOR3 p = point - WorldPosition();
  out = D3DXVECTOR3(D3DXVec3Dot(&p, &m_Direction), D3DXVec3Dot(&p, &m_Side), 0.0f);
  return out;
}

D3DXVECTOR3& CMovingEntity::LocalToWorldVector(D3DXVECTOR3& out, const D3DXVECTOR3& local) const {
  out = local.x * m_Direction + local.y * m_Side;
  return out;
}

D3DXVECTOR3& CMovingEntity::AvoidObstacles(D3DXVECTOR3& out, float lookAhead,
                                           const std::list<const float*>& obstacles) const {
  const float ownRadius = m_BoundingSphere.radius;
  const D3DXVECTOR3 position = WorldPosition();
  D3DXVECTOR3 ahead;
  PredictPosition(ahead, lookAhead);
  const D3DXVECTOR3 travel = ahead - position;
  const float boxLength = D3DXVec3Length(&travel) + ownRadius;

  float nearest = FLT_MAX;
  bool found = false;
  D3DXVECTOR3 push(0.0f, 0.0f, 0.0f);
  for (const float* obstacle : obstacles) {
    const D3DXVECTOR3 centre(obstacle[0], obstacle[1], obstacle[2]);
    const float radius = obstacle[3];
    D3DXVECTOR3 local;
    ToLocal(local, centre);
    if (!(local.x + radius > 0.0f)) continue;          // wholly behind
    if (!(boxLength >= local.x - radius)) continue;    // beyond the corridor's end
    const float side = std::fabs(local.y);
    if (!(radius + ownRadius > side)) continue;        // beside the corridor, or touching it
    const float reach = ownRadius + radius;
    const float intercept = local.x - std::sqrt(reach * reach - local.y * local.y);
    if (intercept < 0.0f || !(intercept < nearest)) continue;
    nearest = intercept;
    // Away from the obstacle's side; one dead ahead goes to the left.
    const D3DXVECTOR3 localPush(0.0f, local.y >= 0.0f ? -1.0f : 1.0f, 0.0f);
    LocalToWorldVector(push, localPush);
    found = true;
  }
  out = found ? push : D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  return out;
}

D3DXVECTOR3& CMovingEntity::ComputeSeparation(D3DXVECTOR3& out, const std::list<CEntity*>& others) const {
  out = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  const D3DXVECTOR3 position = WorldPosition();
  for (const CEntity* other : others) {
    if (other == this || !other) continue;
    const D3DXVECTOR3 away = position - other->WorldPosition();
    const float limit = other->GetRadius() + m_BoundingSphere.radius + SEPARATION_GAP;
    const float distanceSquared = D3DXVec3LengthSq(&away);
    if (!(distanceSquared < limit * limit) || distanceSquared == 0.0f) continue;
    out += away / std::sqrt(distanceSquared);
  }
  return out;
}
