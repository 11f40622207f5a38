#pragma once
// One input through everything that reads mesh files: the parser, the
// single-mesh loader and the hierarchy loader with its skinning and
// animation. Shared by the libFuzzer target and the mutation test.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/mesh/XFileParser.h"
#include "platform/mesh/XHierarchy.h"

namespace xfuzz {

using namespace platform;

class Allocator : public ID3DXAllocateHierarchy {
 public:
  HRESULT CreateFrame(const char* name, D3DXFRAME** out) override {
    auto* f = new D3DXFRAME();
    f->Name = Copy(name);
    *out = f;
    return S_OK;
  }
  HRESULT CreateMeshContainer(const char* name, const D3DXMESHDATA* data, const D3DXMATERIAL*,
                              const D3DXEFFECTINSTANCE*, uint32_t, const uint32_t*, ID3DXSkinInfo* skin,
                              D3DXMESHCONTAINER** out) override {
    auto* c = new D3DXMESHCONTAINER();
    c->Name = Copy(name);
    c->MeshData = *data;
    data->pMesh->AddRef();
    if (skin) {
      skin->AddRef();
      c->pSkinInfo = skin;
    }
    *out = c;
    return S_OK;
  }
  HRESULT DestroyFrame(D3DXFRAME* f) override {
    delete[] f->Name;
    delete f;
    return S_OK;
  }
  HRESULT DestroyMeshContainer(D3DXMESHCONTAINER* c) override {
    delete[] c->Name;
    platform::SafeRelease(c->MeshData.pMesh);
    platform::SafeRelease(c->pSkinInfo);
    delete c;
    return S_OK;
  }

 private:
  static char* Copy(const char* name) {
    std::string n = name ? name : "UNNAMED";
    char* out = new char[n.size() + 1];
    std::memcpy(out, n.c_str(), n.size() + 1);
    return out;
  }
};

inline void SkinAll(D3DXFRAME* root, D3DXFRAME* f) {
  for (; f; f = f->pFrameSibling) {
    for (D3DXMESHCONTAINER* c = f->pMeshContainer; c; c = c->pNextMeshContainer) {
      if (!c->pSkinInfo) continue;
      ID3DXSkinInfo* skin = c->pSkinInfo;
      std::vector<D3DXMATRIX> bones(skin->GetNumBones());
      for (uint32_t i = 0; i < bones.size(); ++i) {
        D3DXFRAME* b = D3DXFrameFind(root, skin->GetBoneName(i));
        bones[i] = *skin->GetBoneOffsetMatrix(i) * (b ? b->TransformationMatrix : D3DXMATRIX());
      }
      ID3DXMesh* src = c->MeshData.pMesh;
      std::vector<uint8_t> out((size_t)src->GetNumVertices() * src->GetNumBytesPerVertex() + 1);
      void* sp = nullptr;
      src->LockVertexBuffer(D3DLOCK_READONLY, &sp);
      skin->UpdateSkinnedMesh(bones.data(), nullptr, sp, out.data());
      src->UnlockVertexBuffer();
    }
    SkinAll(root, f->pFrameFirstChild);
  }
}

inline void RunInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return;
  ID3DXMesh* mesh = nullptr;
  ID3DXBuffer *adj = nullptr, *mats = nullptr;
  uint32_t n = 0;
  if (SUCCEEDED(D3DXLoadMeshFromXInMemory(data, (uint32_t)size, 0, nullptr, &adj, &mats, nullptr, &n, &mesh))) {
    void* vp = nullptr;
    mesh->LockVertexBuffer(D3DLOCK_READONLY, &vp);
    D3DXVECTOR3 c;
    float r;
    D3DXComputeBoundingSphere(static_cast<D3DXVECTOR3*>(vp), mesh->GetNumVertices(), mesh->GetNumBytesPerVertex(),
                              &c, &r);
    mesh->UnlockVertexBuffer();
    mesh->OptimizeInplace(D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_COMPACT,
                          static_cast<uint32_t*>(adj->GetBufferPointer()), nullptr, nullptr, nullptr);
    mesh->Release();
    adj->Release();
    mats->Release();
  }
  Allocator alloc;
  D3DXFRAME* root = nullptr;
  ID3DXAnimationController* ac = nullptr;
  if (SUCCEEDED(D3DXLoadMeshHierarchyFromXInMemory(data, (uint32_t)size, 0, nullptr, &alloc, nullptr, &root, &ac))) {
    D3DXVECTOR3 c;
    float r;
    D3DXFrameCalculateBoundingSphere(root, &c, &r);
    for (uint32_t i = 0; i < ac->GetNumAnimationSets() && i < 4; ++i) {
      ID3DXAnimationSet* s = nullptr;
      ac->GetAnimationSet(i, &s);
      ac->SetTrackAnimationSet(0, s);
      ac->SetTrackEnable(0, true);
      ac->AdvanceTime(0.37, nullptr);
      s->Release();
    }
    SkinAll(root, root);
    D3DXFrameDestroy(root, &alloc);
    ac->Release();
  }
}

}  // namespace xfuzz
