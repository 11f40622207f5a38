#include "game/mechanisms/props/Barrel.h"

#include "engine/app/Application.h"
#include "engine/sound/AudiereSound.h"
#include "game/level/Level.h"

CBarrel::CBarrel() {
  SetRadius(RADIUS);
  m_Vanish.speed = VANISH_SPEED;
}

void CBarrel::Reset() {
  if (!IsActive()) {
    AddBoxesToLevel(m_CollisionBoxes);
    m_Active = 1;
  }
  m_Sprite.SetVisible(true);
  m_Fading = 0;
  m_Sprite.SetRenderEffect(nullptr);
}

void CBarrel::LoadSound() {
  if (Nembra::g_pAudiereSoundFactory) m_pExplosionSound = Nembra::g_pAudiereSoundFactory->Get("BarrelExplosion.wav");
}

void CBarrel::Explode() {
  m_Active = 0;
  RemoveBoxesFromLevel(m_CollisionBoxes);
  if (CLevel* level = CLevel::Current()) level->AddBarrelExplosionEffect(*this);
  if (m_pExplosionSound) m_pExplosionSound->Play(false);
  m_Fading = 1;
  StartFadeOut(m_Sprite, m_Vanish);
}

void CBarrel::Step() {
  CEntity::Step();
  EndFadeOut(m_Sprite, m_Vanish, m_Fading);
}

void CBarrel::BuildCollisionBoxes() {
  UpdateWorldMatrix();
  CollisionShapes::BuildBarrelShape(m_CollisionBoxes[0], WorldPosition(), GetRadius(), false);
  CollisionShapes::BuildBarrelShape(m_CollisionBoxes[1], WorldPosition(), GetRadius(), true);
}

CBomb::CBomb(const D3DXVECTOR3& position, int visible, float fuse) : m_Fuse(fuse) {
  if (Nembra::CSimpleMesh* mesh = m_Mesh.Take(MESH)) SetMesh(mesh);
  AddToScene();
  SetPosition(position);
  m_Sprite.SetVisible(visible != 0);
}

CBomb::~CBomb() { SetMesh(nullptr); }

void CBomb::Step() {
  CEntity::Step();
  if (!IsActive()) return;
  m_Fuse -= Nembra::g_FrameTime;
  if (m_Fuse > 0.0f) return;
  // One blast, however far past zero the fuse has burnt.
  if (CLevel* level = CLevel::Current()) level->AddBombExplosionEffect(*this);
  m_Sprite.SetVisible(false);
  m_Active = 0;
}
