#include "engine/resources/SkinnedMesh.h"

#include <cstring>

#include "engine/app/GraphicsDevice.h"
#include "engine/resources/Shader.h"
#include "platform/Log.h"

namespace Nembra {

using namespace platform;

CSkinnedMeshFactory* g_pSkinnedMeshFactory = nullptr;

namespace {

std::string g_MeshBeingLoaded;
uint32_t g_ContainersOfLoad = 0;  // containers made so far by the load in progress
std::vector<D3DXMATRIX> g_SkinningMatrices;

char* CopyName(const char* name) {
  const char* n = name ? name : "UNNAMED";
  size_t len = std::strlen(n);
  char* out = new char[len + 1];
  std::memcpy(out, n, len + 1);
  return out;
}

IDevice* Device() { return g_pGraphicsDevice ? g_pGraphicsDevice->GetDevice() : nullptr; }

// Working mesh, attribute table and scratch size of a skinned container.
HRESULT GenerateSkinnedMesh(MESH_CONTAINER* c) {
  SafeRelease(c->MeshData.pMesh);
  SafeRelease(c->pBoneCombinationBuf);
  if (FAILED(c->pOrigMesh->CloneMeshFVF(D3DXMESH_MANAGED, c->pOrigMesh->GetFVF(), Device(), &c->MeshData.pMesh)))
    return E_FAIL;
  uint32_t groups = 0;
  if (FAILED(c->MeshData.pMesh->GetAttributeTable(nullptr, &groups))) return E_FAIL;
  delete[] c->pAttributeTable;
  c->pAttributeTable = new D3DXATTRIBUTERANGE[groups];
  c->NumAttributeGroups = groups;
  if (FAILED(c->MeshData.pMesh->GetAttributeTable(c->pAttributeTable, &groups))) return E_FAIL;
  if (c->pSkinInfo->GetNumBones() > g_SkinningMatrices.size())
    g_SkinningMatrices.assign(c->pSkinInfo->GetNumBones(), D3DXMATRIX());
  return S_OK;
}

void SetUpBoneMatrices(FRAME* root, D3DXFRAME* f, bool& ok) {
  for (; f && ok; f = f->pFrameSibling) {
    for (D3DXMESHCONTAINER* mc = f->pMeshContainer; mc && ok; mc = mc->pNextMeshContainer) {
      auto* c = static_cast<MESH_CONTAINER*>(mc);
      if (!c->pSkinInfo) continue;
      uint32_t bones = c->pSkinInfo->GetNumBones();
      c->boneMatrixPtrs.assign(bones, nullptr);
      for (uint32_t i = 0; i < bones; ++i) {
        auto* bone = static_cast<FRAME*>(D3DXFrameFind(root, c->pSkinInfo->GetBoneName(i)));
        if (!bone) {
          LogError(std::string("skinned mesh: no frame for bone ") + c->pSkinInfo->GetBoneName(i));
          ok = false;
          return;
        }
        c->boneMatrixPtrs[i] = &bone->CombinedTransformationMatrix;
      }
    }
    SetUpBoneMatrices(root, f->pFrameFirstChild, ok);
  }
}

void UpdateFrame(D3DXFRAME* f, const D3DXMATRIX* parent) {
  for (; f; f = f->pFrameSibling) {
    auto* frame = static_cast<FRAME*>(f);
    frame->CombinedTransformationMatrix =
        parent ? frame->TransformationMatrix * *parent : frame->TransformationMatrix;
    UpdateFrame(f->pFrameFirstChild, &frame->CombinedTransformationMatrix);
  }
}

void ApplySubset(MESH_CONTAINER* c, uint32_t attrib) {
  if (c->materials[attrib]) c->materials[attrib]->Apply();
  c->textureSets[attrib].Apply();
}

void DrawContainer(FRAME* frame, MESH_CONTAINER* c) {
  IDevice* device = Device();
  if (!device || !c->MeshData.pMesh) return;
  const uint32_t materialCount = (uint32_t)c->materials.size();
  if (!c->pSkinInfo) {
    device->SetTransform(D3DTS_WORLDMATRIX(0), &frame->CombinedTransformationMatrix);
    for (uint32_t i = 0; i < materialCount; ++i) {
      ApplySubset(c, i);
      c->MeshData.pMesh->DrawSubset(i);
    }
    return;
  }
  const uint32_t bones = (uint32_t)c->boneMatrixPtrs.size();
  // The scratch is sized by every skinned load; after an engine shutdown
  // freed it, a mesh still alive grows it again rather than writing past it.
  if (bones > g_SkinningMatrices.size()) g_SkinningMatrices.resize(bones);
  for (uint32_t i = 0; i < bones; ++i) g_SkinningMatrices[i] = c->boneOffsetMatrices[i] * *c->boneMatrixPtrs[i];
  D3DXMATRIX identity;
  device->SetTransform(D3DTS_WORLDMATRIX(0), &identity);
  void *src = nullptr, *dst = nullptr;
  c->pOrigMesh->LockVertexBuffer(D3DLOCK_READONLY, &src);
  c->MeshData.pMesh->LockVertexBuffer(0, &dst);
  c->pSkinInfo->UpdateSkinnedMesh(g_SkinningMatrices.data(), nullptr, src, dst);
  c->MeshData.pMesh->UnlockVertexBuffer();
  c->pOrigMesh->UnlockVertexBuffer();
  for (uint32_t g = 0; g < c->NumAttributeGroups; ++g) {
    uint32_t attrib = c->pAttributeTable[g].AttribId;
    if (attrib >= materialCount) continue;  // no material for it: not drawn
    ApplySubset(c, attrib);
    c->MeshData.pMesh->DrawSubset(attrib);
  }
}

void DrawFrames(D3DXFRAME* f) {
  for (; f; f = f->pFrameSibling) {
    for (D3DXMESHCONTAINER* mc = f->pMeshContainer; mc; mc = mc->pNextMeshContainer)
      DrawContainer(static_cast<FRAME*>(f), static_cast<MESH_CONTAINER*>(mc));
    DrawFrames(f->pFrameFirstChild);
  }
}

bool AnyTransparent(D3DXFRAME* f) {
  for (; f; f = f->pFrameSibling) {
    for (D3DXMESHCONTAINER* mc = f->pMeshContainer; mc; mc = mc->pNextMeshContainer)
      for (const auto& set : static_cast<MESH_CONTAINER*>(mc)->textureSets)
        if (!set.IsOpaque()) return true;
    if (AnyTransparent(f->pFrameFirstChild)) return true;
  }
  return false;
}

// Vertex positions of every container in the bind pose, where the draw
// puts them: skinned ones through their bones (the world matrix is then
// identity), the others through their frame's combined matrix.
void CollectDrawnPositions(D3DXFRAME* f, std::vector<D3DXVECTOR3>& points) {
  for (; f; f = f->pFrameSibling) {
    const D3DXMATRIX& combined = static_cast<FRAME*>(f)->CombinedTransformationMatrix;
    for (D3DXMESHCONTAINER* mc = f->pMeshContainer; mc; mc = mc->pNextMeshContainer) {
      auto* c = static_cast<MESH_CONTAINER*>(mc);
      ID3DXMesh* mesh = c->pSkinInfo ? c->pOrigMesh : c->MeshData.pMesh;
      if (!mesh) continue;
      const uint32_t count = mesh->GetNumVertices(), stride = mesh->GetNumBytesPerVertex();
      void* src = nullptr;
      if (FAILED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &src))) continue;
      std::vector<uint8_t> skinned;
      const uint8_t* vertices = static_cast<const uint8_t*>(src);
      if (c->pSkinInfo) {
        std::vector<D3DXMATRIX> bones(c->boneMatrixPtrs.size());
        for (size_t i = 0; i < bones.size(); ++i) bones[i] = c->boneOffsetMatrices[i] * *c->boneMatrixPtrs[i];
        skinned.resize((size_t)count * stride);
        if (SUCCEEDED(c->pSkinInfo->UpdateSkinnedMesh(bones.data(), nullptr, src, skinned.data())))
          vertices = skinned.data();
      }
      for (uint32_t i = 0; i < count; ++i) {
        D3DXVECTOR3 p;
        std::memcpy(&p, vertices + (size_t)i * stride, sizeof p);
        if (!c->pSkinInfo) D3DXVec3TransformCoord(&p, &p, &combined);
        points.push_back(p);
      }
      mesh->UnlockVertexBuffer();
    }
    CollectDrawnPositions(f->pFrameFirstChild, points);
  }
}

void BindPoseSphere(D3DXFRAME* root, D3DXVECTOR3& centre, float& radius) {
  std::vector<D3DXVECTOR3> points;
  CollectDrawnPositions(root, points);
  centre = D3DXVECTOR3(0, 0, 0);
  radius = 0;
  if (!points.empty())
    D3DXComputeBoundingSphere(points.data(), (uint32_t)points.size(), sizeof(D3DXVECTOR3), &centre, &radius);
}

FRAME* Find(D3DXFRAME* f, const std::string& name) {
  for (; f; f = f->pFrameSibling) {
    if (f->Name && name == f->Name) return static_cast<FRAME*>(f);
    if (FRAME* found = Find(f->pFrameFirstChild, name)) return found;
  }
  return nullptr;
}

}  // namespace

size_t GetSkinningScratchSize() { return g_SkinningMatrices.size(); }
void FreeSkinningScratch() { std::vector<D3DXMATRIX>().swap(g_SkinningMatrices); }

// ---------------------------------------------------------------------------

HRESULT CAllocateHierarchy::CreateFrame(const char* name, D3DXFRAME** newFrame) {
  auto* f = new FRAME();
  f->Name = CopyName(name);
  *newFrame = f;
  return S_OK;
}

HRESULT CAllocateHierarchy::CreateMeshContainer(const char* name, const D3DXMESHDATA* meshData,
                                                const D3DXMATERIAL* materials, const D3DXEFFECTINSTANCE*,
                                                uint32_t numMaterials, const uint32_t* adjacency,
                                                ID3DXSkinInfo* skinInfo, D3DXMESHCONTAINER** newMeshContainer) {
  *newMeshContainer = nullptr;
  if (!meshData || meshData->Type != D3DXMESHTYPE_MESH || !meshData->pMesh) return E_FAIL;
  auto* c = new MESH_CONTAINER();
  c->Name = CopyName(name);
  c->MeshData.Type = D3DXMESHTYPE_MESH;
  c->MeshData.pMesh = meshData->pMesh;
  c->MeshData.pMesh->AddRef();
  c->NumMaterials = numMaterials ? numMaterials : 1;
  c->materials.assign(c->NumMaterials, nullptr);
  c->textureSets.resize(c->NumMaterials);
  const size_t adjacencyCount = (size_t)meshData->pMesh->GetNumFaces() * 3;
  c->pAdjacency = new uint32_t[adjacencyCount];
  if (adjacency)
    std::memcpy(c->pAdjacency, adjacency, adjacencyCount * 4);
  else
    std::memset(c->pAdjacency, 0xFF, adjacencyCount * 4);
  if (!materials || numMaterials == 0) {
    c->materials[0] = g_pMaterialFactory ? g_pMaterialFactory->Get(DEFAULT_RESOURCE_NAME) : nullptr;
  } else {
    // The container's place in the file is part of the name: each
    // container's materials are its own.
    const std::string prefix = "AUTO_" + g_MeshBeingLoaded + "_" + std::to_string(g_ContainersOfLoad) + "_";
    for (uint32_t i = 0; i < numMaterials; ++i) {
      CMaterial* m = g_pMaterialFactory ? g_pMaterialFactory->Get(prefix + std::to_string(i)) : nullptr;
      if (m) m->SetFromD3DX(materials[i].MatD3D);
      c->materials[i] = m;
      if (materials[i].HasTexture() && g_pTextureFactory) {
        c->textureSets[i].Resize(1);
        c->textureSets[i].SetTexture(0, g_pTextureFactory->Get(materials[i].TextureFilename));
      }
    }
  }
  if (skinInfo) {
    c->pSkinInfo = skinInfo;
    skinInfo->AddRef();
    c->pOrigMesh = meshData->pMesh;
    c->pOrigMesh->AddRef();
    const uint32_t bones = skinInfo->GetNumBones();
    c->boneOffsetMatrices.resize(bones);
    for (uint32_t i = 0; i < bones; ++i) c->boneOffsetMatrices[i] = *skinInfo->GetBoneOffsetMatrix(i);
    if (FAILED(GenerateSkinnedMesh(c))) {
      DestroyMeshContainer(c);
      return E_FAIL;
    }
  }
  ++g_ContainersOfLoad;
  *newMeshContainer = c;
  return S_OK;
}

HRESULT CAllocateHierarchy::DestroyFrame(D3DXFRAME* frame) {
  delete[] frame->Name;
  delete static_cast<FRAME*>(frame);
  return S_OK;
}

HRESULT CAllocateHierarchy::DestroyMeshContainer(D3DXMESHCONTAINER* meshContainer) {
  auto* c = static_cast<MESH_CONTAINER*>(meshContainer);
  delete[] c->Name;
  delete[] c->pAdjacency;
  delete[] c->pAttributeTable;
  // Give back what the container took, by the names the resources bear.
  for (CMaterial* m : c->materials)
    if (m && g_pMaterialFactory) g_pMaterialFactory->Release(m->GetName());
  for (const CTextureSet& set : c->textureSets)
    for (size_t i = 0; i < set.GetCount(); ++i)
      if (CTexture* t = set.GetTexture(i))
        if (g_pTextureFactory) g_pTextureFactory->Release(t->GetName());
  SafeRelease(c->pBoneCombinationBuf);
  SafeRelease(c->MeshData.pMesh);
  SafeRelease(c->pSkinInfo);
  SafeRelease(c->pOrigMesh);
  delete c;
  return S_OK;
}

// ---------------------------------------------------------------------------

CSkinnedMesh::~CSkinnedMesh() { Free(); }

void CSkinnedMesh::Free() {
  if (m_pRootFrame) {
    CAllocateHierarchy alloc;
    D3DXFrameDestroy(m_pRootFrame, &alloc);
    m_pRootFrame = nullptr;
  }
  SafeRelease(m_pAnimController);
  if (m_pShader && g_pShaderFactory) g_pShaderFactory->Release(m_pShader->GetName());
  m_pShader = nullptr;
}

bool CSkinnedMesh::Load(const std::string& path) {
  Free();
  g_MeshBeingLoaded = path;
  g_ContainersOfLoad = 0;
  CAllocateHierarchy alloc;
  D3DXFRAME* root = nullptr;
  ID3DXAnimationController* controller = nullptr;
  HRESULT hr = D3DXLoadMeshHierarchyFromXA(path.c_str(), D3DXMESH_MANAGED, Device(), &alloc, nullptr, &root,
                                           &controller);
  g_MeshBeingLoaded.clear();
  if (FAILED(hr)) return false;
  m_pRootFrame = static_cast<FRAME*>(root);
  m_pAnimController = controller;
  bool ok = true;
  SetUpBoneMatrices(m_pRootFrame, m_pRootFrame, ok);
  if (!ok) {
    Free();
    return false;
  }
  UpdateFrames(nullptr);
  BindPoseSphere(m_pRootFrame, m_BoundingCenter, m_BoundingRadius);
  m_Transparent = AnyTransparent(m_pRootFrame) ? 1 : 0;
  if (g_pShaderFactory)
    m_pShader = g_pShaderFactory->Get(m_Transparent ? DEFAULT_TRANSPARENT_RESOURCE_NAME : DEFAULT_RESOURCE_NAME);
  return true;
}

void CSkinnedMesh::Draw() { DrawFrames(m_pRootFrame); }

void CSkinnedMesh::UpdateFrames(const D3DXMATRIX* parent) { UpdateFrame(m_pRootFrame, parent); }

FRAME* CSkinnedMesh::FindFrame(const std::string& name) const { return Find(m_pRootFrame, name); }

std::string CSkinnedMeshFactory::GetDirectory() const { return g_SkinnedMeshDirectory; }

bool CSkinnedMeshFactory::Load(const std::string& key) {
  CSkinnedMesh& mesh = FindOrInsert(key);
  mesh.SetName(key);
  if (!mesh.Load(PathFor(key))) {
    Erase(key);
    return false;
  }
  mesh.SetRefCount(1);
  return true;
}

}  // namespace Nembra
