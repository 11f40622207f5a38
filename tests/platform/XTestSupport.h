#pragma once
// Helpers of the mesh tests: a plain hierarchy allocator and readers of
// mesh vertices.
#include <cstring>
#include <string>
#include <vector>

#include "platform/mesh/XHierarchy.h"

namespace xtest {

using namespace platform;

inline char* CopyName(const char* name) {
  std::string n = name ? name : "UNNAMED";
  char* out = new char[n.size() + 1];
  std::memcpy(out, n.c_str(), n.size() + 1);
  return out;
}

// Keeps what the loader hands over and counts what it made and destroyed.
class Allocator : public ID3DXAllocateHierarchy {
 public:
  int framesMade = 0, framesDestroyed = 0, containersMade = 0, containersDestroyed = 0;
  bool failContainers = false;

  HRESULT CreateFrame(const char* name, D3DXFRAME** out) override {
    auto* f = new D3DXFRAME();
    f->Name = CopyName(name);
    *out = f;
    ++framesMade;
    return S_OK;
  }
  HRESULT CreateMeshContainer(const char* name, const D3DXMESHDATA* data, const D3DXMATERIAL* materials,
                              const D3DXEFFECTINSTANCE*, uint32_t numMaterials, const uint32_t* adjacency,
                              ID3DXSkinInfo* skin, D3DXMESHCONTAINER** out) override {
    if (failContainers) return E_FAIL;
    auto* c = new D3DXMESHCONTAINER();
    c->Name = CopyName(name);
    c->MeshData = *data;
    data->pMesh->AddRef();
    c->NumMaterials = numMaterials;
    if (numMaterials) {
      c->pMaterials = new D3DXMATERIAL[numMaterials];
      for (uint32_t i = 0; i < numMaterials; ++i) c->pMaterials[i] = materials[i];
    }
    size_t n = (size_t)data->pMesh->GetNumFaces() * 3;
    c->pAdjacency = new uint32_t[n];
    std::memcpy(c->pAdjacency, adjacency, n * 4);
    if (skin) {
      skin->AddRef();
      c->pSkinInfo = skin;
    }
    *out = c;
    ++containersMade;
    return S_OK;
  }
  HRESULT DestroyFrame(D3DXFRAME* f) override {
    delete[] f->Name;
    delete f;
    ++framesDestroyed;
    return S_OK;
  }
  HRESULT DestroyMeshContainer(D3DXMESHCONTAINER* c) override {
    delete[] c->Name;
    delete[] c->pMaterials;
    delete[] c->pAdjacency;
    platform::SafeRelease(c->MeshData.pMesh);
    platform::SafeRelease(c->pSkinInfo);
    delete c;
    ++containersDestroyed;
    return S_OK;
  }
};

// Positions of a mesh's vertices.
inline std::vector<D3DXVECTOR3> Positions(ID3DXMesh* m) {
  void* p = nullptr;
  m->LockVertexBuffer(D3DLOCK_READONLY, &p);
  std::vector<D3DXVECTOR3> out(m->GetNumVertices());
  for (uint32_t i = 0; i < out.size(); ++i)
    std::memcpy(&out[i], static_cast<uint8_t*>(p) + (size_t)i * m->GetNumBytesPerVertex(), 12);
  m->UnlockVertexBuffer();
  return out;
}

inline std::vector<D3DXATTRIBUTERANGE> Table(ID3DXMesh* m) {
  uint32_t n = 0;
  m->GetAttributeTable(nullptr, &n);
  std::vector<D3DXATTRIBUTERANGE> t(n);
  m->GetAttributeTable(t.data(), &n);
  return t;
}

inline std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

}  // namespace xtest
