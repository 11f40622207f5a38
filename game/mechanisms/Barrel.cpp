#include "game/mechanisms/Barrel.h"

CBarrel::CBarrel() {
  SetRadius(RADIUS);
  m_Vanish.speed = VANISH_SPEED;
}

void CBarrel::Reset() {}

void CBarrel::LoadSound() {}

void CBarrel::Explode() {}

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
