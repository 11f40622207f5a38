#include "game/mechanisms/MechanismEffects.h"

#include "engine/app/Application.h"
#include "engine/particles/ParticleParams.h"
#include "game/level/Level.h"
#include "game/mechanisms/barriers/WireGrate.h"
#include "game/mechanisms/props/Barrel.h"
#include "game/world/GameWorld.h"

namespace Nembra {

namespace {

float DistanceSquared(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  const D3DXVECTOR3 d = a - b;
  return d.x * d.x + d.y * d.y + d.z * d.z;
}

}  // namespace

CMechanismEffect::CMechanismEffect(const std::string& particleFile, const D3DXVECTOR3& position,
                                   float emitterHeight) {
  if (CreateEmitter(particleFile)) m_pEmitter->SetPosition(0.0f, 0.0f, emitterHeight);
  SetPosition(position);
  UpdateWorldMatrix();
}

CBarrelExplosionEffect::CBarrelExplosionEffect(CBarrel& barrel)
    : CMechanismEffect(PARTICLE_FILE, barrel.WorldPosition(), EMITTER_HEIGHT), m_pSource(&barrel) {}

float CBarrelExplosionEffect::GetBlastRadius() const {
  const EMITTER_PARAMS* params = m_pEmitter ? m_pEmitter->GetParams() : nullptr;
  if (!params) return 0.0f;
  if (params->Kind() == EMITTER_CYLINDER) return static_cast<const CYLINDER_EMITTER_PARAMS*>(params)->radius;
  if (params->Kind() == EMITTER_SPHERE) return static_cast<const SPHERE_EMITTER_PARAMS*>(params)->radius;
  return 0.0f;
}

void CBarrelExplosionEffect::Step() {
  CEntity::Step();
  CLevel* level = CLevel::Current();
  if (level) {
    const D3DXVECTOR3 centre = WorldPosition();
    const float radius = GetBlastRadius();
    std::vector<CBarrel*> reached;
    for (CBarrel& barrel : level->GetBarrels()) {
      if (!barrel.IsActive() || &barrel == m_pSource) continue;
      const float reach = radius + barrel.GetRadius() + BARREL_MARGIN;
      if (DistanceSquared(centre, barrel.WorldPosition()) < reach * reach) reached.push_back(&barrel);
    }
    for (CBarrel* barrel : reached) barrel->Explode();
    for (CWireGrate& grate : level->GetWireGrates()) {
      if (!grate.IsActive()) continue;
      const float reach = radius + grate.GetRadius();
      if (DistanceSquared(centre, grate.WorldPosition()) < reach * reach) grate.Break();
    }
  }
  if (IsEmitterFinished()) m_Active = 0;
}

CBombExplosionEffect::CBombExplosionEffect(CBomb& bomb)
    : CMechanismEffect(PARTICLE_FILE, bomb.WorldPosition(), EMITTER_HEIGHT), m_pSource(&bomb) {}

void CBombExplosionEffect::Step() {
  if (m_BlastRadius < MAX_RADIUS) m_BlastRadius += g_FrameTime * GROWTH;
  CEntity::Step();
  CLevel* level = CLevel::Current();
  const D3DXVECTOR3 centre = WorldPosition();
  if (level) {
    for (CWireGrate& grate : level->GetWireGrates()) {
      if (m_BlastRadius >= MAX_RADIUS) break;
      if (!grate.IsActive()) continue;
      const float reach = grate.GetRadius() + m_BlastRadius;
      if (DistanceSquared(centre, grate.WorldPosition()) < reach * reach) grate.Break();
    }
    if (g_pGameWorld && IsActive()) {
      CPlayer& player = g_pGameWorld->GetPlayer();
      const float reach = player.GetRadius() + m_BlastRadius;
      if (DistanceSquared(centre, player.WorldPosition()) < reach * reach) player.Damage(DAMAGE, true);
    }
  }
  if (IsEmitterFinished()) m_Active = 0;
}

CWireGrateExplosionEffect::CWireGrateExplosionEffect(CWireGrate& grate)
    : CMechanismEffect(grate.GetExplosionEffectFile(), grate.WorldPosition(), 0.0f) {}

CPushableCollisionEffect::CPushableCollisionEffect(const D3DXVECTOR3& position)
    : CMechanismEffect(PARTICLE_FILE, position, 0.0f) {}

}  // namespace Nembra

CSparkEffect::CSparkEffect(const D3DXVECTOR3& position) : CMechanismEffect(PARTICLE_FILE, position, 0.0f) {}
