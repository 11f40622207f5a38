#pragma once
// The mechanisms' generated assets read through the engine, as the asset
// tests read the characters' and effects'.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "assets/AssetTestSupport.h"
#include "engine/resources/Mesh.h"
#include "engine/resources/SkinnedMesh.h"

namespace mechtest {

// Where the data folder's own files are, '/'-terminated.
inline std::string DemoData() { return assettest::DataFolder(); }

// The asset tests' engine, with the meshes as the factories load them.
class DemoDataEngineTest : public assettest::DemoAssetTest {
 protected:
  // The mesh as the factory loads it; null (and a failure) for the default.
  static Nembra::CSimpleMesh* SimpleMesh(const std::string& name) {
    Nembra::CSimpleMesh* mesh = Nembra::g_pSimpleMeshFactory->Get(name);
    EXPECT_NE(Nembra::g_pSimpleMeshFactory->Find(name), nullptr) << name << " did not load";
    return Nembra::g_pSimpleMeshFactory->Find(name) ? mesh : nullptr;
  }
  static Nembra::CSkinnedMesh* SkinnedMesh(const std::string& name) {
    Nembra::CSkinnedMesh* mesh = Nembra::g_pSkinnedMeshFactory->Get(name);
    EXPECT_NE(Nembra::g_pSkinnedMeshFactory->Find(name), nullptr) << name << " did not load";
    return Nembra::g_pSkinnedMeshFactory->Find(name) ? mesh : nullptr;
  }
};

// The axis-aligned extent of a loaded mesh's vertices.
struct Extent {
  D3DXVECTOR3 low{1e30f, 1e30f, 1e30f}, high{-1e30f, -1e30f, -1e30f};
  float Width() const { return high.x - low.x; }
  float Depth() const { return high.y - low.y; }
  float Height() const { return high.z - low.z; }
};

inline Extent MeshExtent(const Nembra::CSimpleMesh& mesh) {
  Extent e;
  platform::ID3DXMesh* m = mesh.GetMesh();
  void* data = nullptr;
  if (!m || m->LockVertexBuffer(0, &data) != platform::D3D_OK || !data) return e;
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  for (uint32_t i = 0; i < m->GetNumVertices(); ++i) {
    D3DXVECTOR3 p;
    std::memcpy(&p, bytes + size_t(i) * m->GetNumBytesPerVertex(), sizeof p);
    e.low = {std::min(e.low.x, p.x), std::min(e.low.y, p.y), std::min(e.low.z, p.z)};
    e.high = {std::max(e.high.x, p.x), std::max(e.high.y, p.y), std::max(e.high.z, p.z)};
  }
  m->UnlockVertexBuffer();
  return e;
}

}  // namespace mechtest
