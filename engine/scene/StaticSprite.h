#pragma once
// One instance of a static mesh placed in the world. Each subset of the
// mesh becomes a geometry set drawn with this sprite's world matrix.
#include <vector>

#include "engine/scene/GeometrySet.h"
#include "engine/scene/Sprite3D.h"

namespace Nembra {

class CSimpleMesh;

class CStatic3DSprite : public C3DSprite {
 public:
  CStatic3DSprite() = default;
  // A copy draws the same mesh with its own matrix.
  CStatic3DSprite(const CStatic3DSprite& other);
  CStatic3DSprite& operator=(const CStatic3DSprite& other);
  ~CStatic3DSprite() override = default;

  // Makes one geometry set per subset and takes the mesh's bounding
  // sphere. False (and no sets) for a null mesh. Effects given earlier
  // are not carried over.
  bool SetMesh(CSimpleMesh* mesh);
  CSimpleMesh* GetMesh() const { return m_Mesh; }
  // The effect goes to every subset set (which sends them to the sorted
  // queue); the sprite's own field stays null.
  void SetRenderEffect(CRenderEffect* effect) override;
  // The subset sets' effect.
  CRenderEffect* GetDrawEffect() const override;
  void Draw() override;

  std::vector<CStaticSpriteGeometrySet>& GetSubsetSets() { return m_SubsetSets; }

 private:
  void RebuildSets();

  CSimpleMesh* m_Mesh = nullptr;
  std::vector<CStaticSpriteGeometrySet> m_SubsetSets;
};

}  // namespace Nembra
