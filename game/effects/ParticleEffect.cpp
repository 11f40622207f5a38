#include "game/effects/ParticleEffect.h"

#include "engine/sound/WaveSound.h"
#include "game/enemies/Enemy.h"
#include "game/world/GameWorld.h"

namespace {

bool PlayerActive() { return g_pGameWorld && g_pGameWorld->GetPlayer().IsActive(); }

}  // namespace

void CParticleEffect::Build(const std::string& particleFile, const D3DXVECTOR3& position) {
  CreateEmitter(particleFile);
  SetPosition(position);
}

void CParticleEffect::SetEmitterHeight(float z) {
  if (!m_pEmitter) return;
  D3DXVECTOR3 offset = m_pEmitter->GetPosition();
  offset.z = z;
  m_pEmitter->SetPosition(offset);
}

void CParticleEffect::PlaySound(const std::string& soundFile) {
  if (!PlayerActive() || !Nembra::g_pWaveSoundFactory) return;
  m_pSound = Nembra::g_pWaveSoundFactory->Get(soundFile);
  if (m_pSound) m_pSound->Play(false);
}

float EmitterHeight(const CParticleSystemMovingEntity& projectile) {
  const Nembra::CParticleEmitter* emitter = projectile.GetEmitter();
  return emitter ? emitter->GetPosition().z : 0.0f;
}

namespace Nembra {

COrdinaryWeaponEffect::COrdinaryWeaponEffect(bool muzzle, int colour) {
  D3DXVECTOR3 position(0.0f, 0.0f, 0.0f);
  if (g_pGameWorld) {
    CPlayer& player = g_pGameWorld->GetPlayer();
    position = player.GetHand().GetWorldPosition();
    if (!muzzle) position += 40.0f * player.GetShotDirection();
  }
  Build(muzzle ? "Disparo Arma 0.pfx" : (colour == 1 ? "BulletEmissionBlue.pfx" : "BulletEmissionRed.pfx"),
        position);
}

CProjectileHitEffect::CProjectileHitEffect(const std::string& particleFile, const std::string& soundFile,
                                           const CParticleSystemMovingEntity& projectile) {
  Build(particleFile, projectile.WorldPosition());
  SetEmitterHeight(EmitterHeight(projectile));
  PlaySound(soundFile);
}

CBossKillEffect::CBossKillEffect(const std::string& particleFile, CEntity& boss) {
  Build(particleFile, boss.GetWorldPosition());
  SetEmitterHeight(HEIGHT);
  PlaySound("BarrelExplosion.wav");
}

CExplosionEffect::CExplosionEffect(const float position[3]) {
  Build("WWExplosion.pfx", D3DXVECTOR3(position[0], position[1], position[2]));
}

CDoorExplosionEffect::CDoorExplosionEffect(const D3DXVECTOR3& position) { Build("DoorBreak.pfx", position); }

CDoorExplosionEffect::CDoorExplosionEffect(CEntity& entity) { Build("DoorBreak.pfx", entity.GetWorldPosition()); }

CBoss0KillEffect::CBoss0KillEffect(CEnemy& boss)
    : CBossKillEffect(boss.GetColour() == 1 ? "Boss0KillBlue.pfx" : "Boss0KillRed.pfx", boss) {}

}  // namespace Nembra

CGenBarEffect::CGenBarEffect(uint32_t colour) {
  Build(colour == 0 ? "GenBarRed.pfx" : "GenBarBlue.pfx", D3DXVECTOR3(0.0f, 0.0f, 0.0f));
}

void CGenBarEffect::SetHeight(float z) {
  D3DXVECTOR3 position = GetPosition();
  position.z = z;
  SetPosition(position);
}

void CGenBarEffect::Stop() {
  if (m_pEmitter) m_pEmitter->Stop();
}
