#include "engine/scene/StaticSprite.h"

#include "engine/resources/Mesh.h"

namespace Nembra {

CStatic3DSprite::CStatic3DSprite(const CStatic3DSprite& other) : C3DSprite(other), m_Mesh(other.m_Mesh) {
  m_SubsetSets = other.m_SubsetSets;
  for (CStaticSpriteGeometrySet& set : m_SubsetSets) set.worldMatrix = &m_WorldMatrix;
}

CStatic3DSprite& CStatic3DSprite::operator=(const CStatic3DSprite& other) {
  if (this == &other) return *this;
  C3DSprite::operator=(other);
  m_Mesh = other.m_Mesh;
  m_SubsetSets = other.m_SubsetSets;
  for (CStaticSpriteGeometrySet& set : m_SubsetSets) set.worldMatrix = &m_WorldMatrix;
  return *this;
}

bool CStatic3DSprite::SetMesh(CSimpleMesh* mesh) {
  m_Mesh = mesh;
  m_SubsetSets.clear();
  if (!mesh) return false;
  RebuildSets();
  m_BoundingSphere.center = mesh->GetBoundingSphereCenter();
  m_BoundingSphere.radius = mesh->GetBoundingSphereRadius();
  return true;
}

void CStatic3DSprite::RebuildSets() {
  std::vector<CMeshSubset>& subsets = m_Mesh->GetSubsets();
  m_SubsetSets.reserve(subsets.size());
  for (CMeshSubset& subset : subsets) m_SubsetSets.emplace_back(&subset, &m_WorldMatrix);
}

void CStatic3DSprite::SetRenderEffect(CRenderEffect* effect) {
  for (CStaticSpriteGeometrySet& set : m_SubsetSets) set.renderEffect = effect;
}

CRenderEffect* CStatic3DSprite::GetDrawEffect() const {
  return m_SubsetSets.empty() ? nullptr : m_SubsetSets.front().renderEffect;
}

void CStatic3DSprite::Draw() {
  if (g_pGeometrySetRegistry) g_pGeometrySetRegistry->SubmitStaticSprite(this);
}

}  // namespace Nembra
