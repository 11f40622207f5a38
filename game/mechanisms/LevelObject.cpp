#include "game/mechanisms/LevelObject.h"

#include "engine/effects/RenderEffects.h"
#include "engine/resources/Mesh.h"
#include "engine/scene/Sprite3D.h"
#include "game/level/Level.h"

Nembra::CSimpleMesh* CHeldMesh::Take(const std::string& name) {
  Release();
  if (!Nembra::g_pSimpleMeshFactory) return nullptr;
  m_pMesh = Nembra::g_pSimpleMeshFactory->Get(name);
  if (m_pMesh) m_Name = name;
  return m_pMesh;
}

void CHeldMesh::Release() {
  if (m_pMesh && Nembra::g_pSimpleMeshFactory) Nembra::g_pSimpleMeshFactory->Release(m_Name);
  m_pMesh = nullptr;
  m_Name.clear();
}

void AddBoxesToLevel(COLLISION_BOXES& boxes) {
  CLevel* level = CLevel::Current();
  if (!level) return;
  level->AddCollisionShape(&boxes[0], COL_TIGHT);
  level->AddCollisionShape(&boxes[1], COL_CHARACTER);
}

void RemoveBoxesFromLevel(COLLISION_BOXES& boxes) {
  CLevel* level = CLevel::Current();
  if (!level) return;
  level->RemoveCollisionShape(&boxes[0], COL_TIGHT);
  level->RemoveCollisionShape(&boxes[1], COL_CHARACTER);
}

void StartFadeOut(Nembra::C3DSprite& sprite, Nembra::CVanishEffect& vanish) {
  vanish.Restart();
  sprite.SetRenderEffect(&vanish);
}

void EndFadeOut(Nembra::C3DSprite& sprite, Nembra::CVanishEffect& vanish, uint8_t& fading) {
  if (!fading || !vanish.IsFinished()) return;
  sprite.SetRenderEffect(nullptr);
  fading = 0;
  sprite.SetVisible(false);
}
