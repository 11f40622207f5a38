#pragma once
// Skinned meshes: a frame hierarchy with mesh containers, bone weights and
// an animation controller read from an .X file. Skinning runs on the
// processor: before each draw the vertices are recomputed from the bone
// matrices into a working copy, which is then drawn subset by subset.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/resources/Factory.h"
#include "engine/resources/Material.h"
#include "platform/Math.h"
#include "platform/mesh/XHierarchy.h"

namespace Nembra {

class CShader;

// A frame with the matrix combined with all its ancestors' (and the matrix
// given to UpdateFrames).
struct FRAME : public platform::D3DXFRAME {
  D3DXMATRIX CombinedTransformationMatrix;
};

struct MESH_CONTAINER : public platform::D3DXMESHCONTAINER {
  std::vector<CMaterial*> materials;
  std::vector<CTextureSet> textureSets;
  platform::ID3DXMesh* pOrigMesh = nullptr;  // the source of skinning
  platform::ID3DXBuffer* pBoneCombinationBuf = nullptr;
  std::vector<D3DXMATRIX*> boneMatrixPtrs;
  std::vector<D3DXMATRIX> boneOffsetMatrices;
  uint32_t NumAttributeGroups = 0;
  uint32_t NumInfl = 0;
  platform::D3DXATTRIBUTERANGE* pAttributeTable = nullptr;
  uint32_t iAttributeSW = 0;
};

class CAllocateHierarchy : public platform::ID3DXAllocateHierarchy {
 public:
  platform::HRESULT CreateFrame(const char* name, platform::D3DXFRAME** newFrame) override;
  platform::HRESULT CreateMeshContainer(const char* name, const platform::D3DXMESHDATA* meshData,
                                        const platform::D3DXMATERIAL* materials,
                                        const platform::D3DXEFFECTINSTANCE* effectInstances, uint32_t numMaterials,
                                        const uint32_t* adjacency, platform::ID3DXSkinInfo* skinInfo,
                                        platform::D3DXMESHCONTAINER** newMeshContainer) override;
  platform::HRESULT DestroyFrame(platform::D3DXFRAME* frame) override;
  platform::HRESULT DestroyMeshContainer(platform::D3DXMESHCONTAINER* meshContainer) override;
};

class CSkinnedMesh : public CResource {
 public:
  CSkinnedMesh() = default;
  ~CSkinnedMesh() override;
  CSkinnedMesh(const CSkinnedMesh&) = delete;
  CSkinnedMesh& operator=(const CSkinnedMesh&) = delete;

  bool Load(const std::string& path);
  // Draws every container; the caller has set the frames and the state block.
  void Draw();
  // Recomputes every frame's combined matrix, with parent (may be null) as
  // the root's parent.
  void UpdateFrames(const D3DXMATRIX* parent);
  // The first frame of exactly that name; null when none.
  FRAME* FindFrame(const std::string& name) const;

  FRAME* GetRootFrame() const { return m_pRootFrame; }
  platform::ID3DXAnimationController* GetAnimationController() const { return m_pAnimController; }
  CShader* GetShader() const { return m_pShader; }
  // The sphere around the bind pose as drawn: skinned vertices through
  // their bones (drawn with an identity world), others through their frame.
  const D3DXVECTOR3& GetBoundingSphereCenter() const { return m_BoundingCenter; }
  float GetBoundingSphereRadius() const { return m_BoundingRadius; }
  bool IsTransparent() const { return m_Transparent != 0; }

 private:
  void Free();

  FRAME* m_pRootFrame = nullptr;
  platform::ID3DXAnimationController* m_pAnimController = nullptr;
  CShader* m_pShader = nullptr;
  D3DXVECTOR3 m_BoundingCenter;
  float m_BoundingRadius = 0;
  uint8_t m_Transparent = 0;
};

class CSkinnedMeshFactory : public CFactory<CSkinnedMesh> {
 public:
  bool Load(const std::string& key) override;
  std::string GetDirectory() const override;
  const char* GetMissingKind() const override { return "skinned mesh"; }
};

extern CSkinnedMeshFactory* g_pSkinnedMeshFactory;

// The engine-wide skinning matrices: as many as the most bones of any
// skinned container loaded so far. Freed by engine shutdown.
size_t GetSkinningScratchSize();
void FreeSkinningScratch();

}  // namespace Nembra
