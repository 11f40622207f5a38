// The level's spawners of the mechanisms' effects and the release of a
// broken box's item.
#include "game/Level.h"
#include "game/mechanisms/MechanismEffects.h"

namespace {

// The effect joins the level's effect list (which the level walks with
// appends allowed) and the scene.
void AddToEffects(std::list<CEntity*>& effects, CEntity* effect) {
  effects.push_back(effect);
  effect->AddToScene();
}

}  // namespace

void CLevel::AddBarrelExplosionEffect(CBarrel& barrel) {
  AddToEffects(m_Effects, new Nembra::CBarrelExplosionEffect(barrel));
}

void CLevel::AddBombExplosionEffect(CBomb& bomb) { AddToEffects(m_Effects, new Nembra::CBombExplosionEffect(bomb)); }

void CLevel::AddWireGrateExplosionEffect(CWireGrate& grate) {
  AddToEffects(m_Effects, new Nembra::CWireGrateExplosionEffect(grate));
}

void CLevel::AddSparkEffect(const D3DXVECTOR3& position) { AddToEffects(m_Effects, new CSparkEffect(position)); }

void CLevel::AddPushableCollisionEffect(const D3DXVECTOR3& position) {
  AddToEffects(m_Effects, new Nembra::CPushableCollisionEffect(position));
}

void CLevel::AddBoxItem(CItem& item) {
  m_ReleasedItems.push_back(&item);
  item.AddToScene();
}
