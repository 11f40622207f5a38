#pragma once
// Helpers of the mesh tests: a plain hierarchy allocator and readers of
// mesh vertices.
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Log.h"
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

// Quiet log while damaged files are read.
struct QuietLog {
  std::vector<std::string> lines;
  QuietLog() {
    platform::SetLogHook([this](platform::LogLevel, const std::string& s) { lines.push_back(s); });
  }
  ~QuietLog() { platform::SetLogHook(nullptr); }
};

// A mesh loaded from bytes with its materials and adjacency.
struct Loaded {
  ID3DXMesh* mesh = nullptr;
  std::vector<D3DXMATERIAL> materials;
  std::vector<uint32_t> adjacency;
  uint32_t numMaterials = 0;
  HRESULT hr = E_FAIL;
  ~Loaded() { platform::SafeRelease(mesh); }
};

inline void LoadBytes(const std::string& bytes, Loaded& out) {
  ID3DXBuffer *adj = nullptr, *mats = nullptr;
  out.hr = D3DXLoadMeshFromXInMemory(bytes.data(), (uint32_t)bytes.size(), D3DXMESH_MANAGED, nullptr, &adj, &mats,
                                     nullptr, &out.numMaterials, &out.mesh);
  if (mats) out.materials = static_cast<ID3DXMaterialBuffer*>(mats)->Materials;
  if (adj) {
    auto* p = static_cast<uint32_t*>(adj->GetBufferPointer());
    out.adjacency.assign(p, p + adj->GetBufferSize() / 4);
  }
  platform::SafeRelease(adj);
  platform::SafeRelease(mats);
}

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

// The attribute table as {attribute, first face, face count} rows.
inline std::vector<std::array<uint32_t, 3>> Subsets(ID3DXMesh* m) {
  std::vector<std::array<uint32_t, 3>> out;
  for (const D3DXATTRIBUTERANGE& r : Table(m)) out.push_back({r.AttribId, r.FaceStart, r.FaceCount});
  return out;
}

// A hierarchy loaded from bytes with its controller; frame helpers.
struct Hierarchy {
  xtest::Allocator alloc;
  D3DXFRAME* root = nullptr;
  ID3DXAnimationController* controller = nullptr;
  HRESULT hr = E_FAIL;
  explicit Hierarchy(const std::string& bytes, IDevice* device = nullptr) {
    hr = D3DXLoadMeshHierarchyFromXInMemory(bytes.data(), (uint32_t)bytes.size(), D3DXMESH_MANAGED, device,
                                            &alloc, nullptr, &root, &controller);
  }
  ~Hierarchy() {
    if (root) D3DXFrameDestroy(root, &alloc);
    platform::SafeRelease(controller);
  }
  D3DXMATRIX Combined(const char* name) const {
    D3DXMATRIX out;
    bool found = Find(root, D3DXMATRIX(), name, out);
    EXPECT_TRUE(found) << name;
    return out;
  }
  static bool Find(const D3DXFRAME* f, const D3DXMATRIX& parent, const char* name, D3DXMATRIX& out) {
    for (; f; f = f->pFrameSibling) {
      D3DXMATRIX c = f->TransformationMatrix * parent;
      if (std::strcmp(f->Name, name) == 0) {
        out = c;
        return true;
      }
      if (Find(f->pFrameFirstChild, c, name, out)) return true;
    }
    return false;
  }
  D3DXVECTOR3 Origin(const char* name) const {
    D3DXMATRIX m = Combined(name);
    return D3DXVECTOR3(m._41, m._42, m._43);
  }
  ID3DXAnimationSet* Set(const char* name) const {
    ID3DXAnimationSet* s = nullptr;
    controller->GetAnimationSetByName(name, &s);
    return s;
  }
  void Play(uint32_t track, const char* set) {
    ID3DXAnimationSet* s = Set(set);
    ASSERT_NE(s, nullptr);
    controller->SetTrackAnimationSet(track, s);
    controller->SetTrackEnable(track, true);
    controller->SetTrackPosition(track, 0);
    controller->SetTrackSpeed(track, 1);
    controller->SetTrackWeight(track, 1);
    s->Release();
  }
};

// Skins the root's first container with the current frame matrices into a
// new mesh (on the hierarchy's device).
inline ID3DXMesh* SkinnedCopy(const Hierarchy& h) {
  D3DXMESHCONTAINER* c = h.root->pMeshContainer;
  ID3DXSkinInfo* skin = c->pSkinInfo;
  std::vector<D3DXMATRIX> bones(skin->GetNumBones());
  for (uint32_t i = 0; i < bones.size(); ++i) bones[i] = *skin->GetBoneOffsetMatrix(i) * h.Combined(skin->GetBoneName(i));
  ID3DXMesh* work = nullptr;
  c->MeshData.pMesh->CloneMeshFVF(0, c->MeshData.pMesh->GetFVF(), nullptr, &work);
  void *src, *dst;
  c->MeshData.pMesh->LockVertexBuffer(D3DLOCK_READONLY, &src);
  work->LockVertexBuffer(0, &dst);
  EXPECT_EQ(skin->UpdateSkinnedMesh(bones.data(), nullptr, src, dst), S_OK);
  work->UnlockVertexBuffer();
  c->MeshData.pMesh->UnlockVertexBuffer();
  return work;
}

inline std::vector<D3DXVECTOR3> Skin(const Hierarchy& h) {
  ID3DXMesh* work = SkinnedCopy(h);
  auto out = Positions(work);
  work->Release();
  return out;
}

inline std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

}  // namespace xtest
