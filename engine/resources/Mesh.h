#pragma once
// Static meshes: one mesh from an .X file with one subset record per
// material and a bounding sphere, held by the simple-mesh factory.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/resources/Factory.h"
#include "engine/resources/Material.h"
#include "platform/Math.h"
#include "platform/mesh/XHierarchy.h"

namespace Nembra {

class CMesh : public CResource {
 public:
  CMesh() = default;
  ~CMesh() override = default;
  virtual void DrawSubset(uint32_t index) = 0;

  const D3DXVECTOR3& GetBoundingSphereCenter() const { return m_BoundingCenter; }
  float GetBoundingSphereRadius() const { return m_BoundingRadius; }
  std::vector<CMeshSubset>& GetSubsets() { return m_Subsets; }
  const std::vector<CMeshSubset>& GetSubsets() const { return m_Subsets; }

 protected:
  D3DXVECTOR3 m_BoundingCenter;
  float m_BoundingRadius = 0;
  std::vector<CMeshSubset> m_Subsets;
};

class CSimpleMesh : public CMesh {
 public:
  CSimpleMesh() = default;
  ~CSimpleMesh() override;
  CSimpleMesh(const CSimpleMesh&) = delete;
  CSimpleMesh& operator=(const CSimpleMesh&) = delete;

  // Loads the .X file, sets up the subsets from its materials and the side
  // files, optionally optimises, and computes the bounding sphere and box. Only a
  // failed file load fails.
  bool Load(const std::string& path, bool optimise);
  // Draws the faces of one subset (nothing for an index the mesh does not have).
  void DrawSubset(uint32_t index) override;
  platform::ID3DXMesh* GetMesh() const { return m_pMesh; }
  // The box around every vertex, in the mesh's own coordinates.
  const D3DXVECTOR3& GetBoundingBoxMin() const { return m_BoundsMin; }
  const D3DXVECTOR3& GetBoundingBoxMax() const { return m_BoundsMax; }

 private:
  void DeriveSubsets(const std::string& path, const std::vector<platform::D3DXMATERIAL>& materials);

  platform::ID3DXMesh* m_pMesh = nullptr;
  D3DXVECTOR3 m_BoundsMin{0, 0, 0};
  D3DXVECTOR3 m_BoundsMax{0, 0, 0};
};

class CSimpleMeshFactory : public CFactory<CSimpleMesh> {
 public:
  bool Load(const std::string& key) override;
  std::string GetDirectory() const override;
  const char* GetMissingKind() const override { return "mesh"; }
};

extern CSimpleMeshFactory* g_pSimpleMeshFactory;

}  // namespace Nembra
