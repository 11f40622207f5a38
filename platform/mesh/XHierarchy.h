#pragma once
// Loading .X files: a single mesh (all meshes of the file merged, sorted by
// material) or a frame hierarchy with mesh containers, skin information and
// an animation controller, built through the caller's allocation callbacks.
#include <cstdint>
#include <string>

#include "platform/Math.h"
#include "platform/mesh/XAnimation.h"
#include "platform/mesh/XMesh.h"
#include "platform/mesh/XTypes.h"

namespace platform {

struct D3DXMESHCONTAINER;

struct D3DXFRAME {
  char* Name = nullptr;
  D3DXMATRIX TransformationMatrix;
  D3DXMESHCONTAINER* pMeshContainer = nullptr;
  D3DXFRAME* pFrameSibling = nullptr;
  D3DXFRAME* pFrameFirstChild = nullptr;
};
using LPD3DXFRAME = D3DXFRAME*;

struct D3DXMESHDATA {
  D3DXMESHDATATYPE Type = D3DXMESHTYPE_MESH;
  ID3DXMesh* pMesh = nullptr;
};

struct D3DXMESHCONTAINER {
  char* Name = nullptr;
  D3DXMESHDATA MeshData;
  D3DXMATERIAL* pMaterials = nullptr;
  D3DXEFFECTINSTANCE* pEffects = nullptr;
  uint32_t NumMaterials = 0;
  uint32_t* pAdjacency = nullptr;
  ID3DXSkinInfo* pSkinInfo = nullptr;
  D3DXMESHCONTAINER* pNextMeshContainer = nullptr;
};
using LPD3DXMESHCONTAINER = D3DXMESHCONTAINER*;

// The caller's allocator of frames and mesh containers. The loader hands
// CreateMeshContainer its own references of the mesh and the skin info;
// the container adds a reference for what it keeps.
class ID3DXAllocateHierarchy {
 public:
  virtual ~ID3DXAllocateHierarchy() = default;
  virtual HRESULT CreateFrame(const char* name, D3DXFRAME** newFrame) = 0;
  virtual HRESULT CreateMeshContainer(const char* name, const D3DXMESHDATA* meshData,
                                      const D3DXMATERIAL* materials, const D3DXEFFECTINSTANCE* effectInstances,
                                      uint32_t numMaterials, const uint32_t* adjacency, ID3DXSkinInfo* skinInfo,
                                      D3DXMESHCONTAINER** newMeshContainer) = 0;
  virtual HRESULT DestroyFrame(D3DXFRAME* frame) = 0;
  virtual HRESULT DestroyMeshContainer(D3DXMESHCONTAINER* meshContainer) = 0;
};

// Unused; present for the call shape.
class ID3DXLoadUserData;

// A loaded mesh's materials: D3DXMATERIAL records, one per material.
class ID3DXMaterialBuffer : public ID3DXBuffer {
 public:
  std::vector<D3DXMATERIAL> Materials;
};

// Loads a file's meshes as one mesh sorted by material. The adjacency
// buffer holds three u32 per face (UINT32_MAX where no neighbour); the
// material buffer is an ID3DXMaterialBuffer. Outputs may be null. On
// failure nothing is returned and the reason is logged.
HRESULT D3DXLoadMeshFromXA(const char* filename, uint32_t options, IDevice* device,
                           ID3DXBuffer** adjacency, ID3DXBuffer** materials, ID3DXBuffer** effectInstances,
                           uint32_t* numMaterials, ID3DXMesh** mesh);
HRESULT D3DXLoadMeshFromXInMemory(const void* data, uint32_t size, uint32_t options, IDevice* device,
                                  ID3DXBuffer** adjacency, ID3DXBuffer** materials,
                                  ID3DXBuffer** effectInstances, uint32_t* numMaterials, ID3DXMesh** mesh);

// Loads the frame hierarchy. The controller is always made (with no sets
// when the file has none); it animates the frames' TransformationMatrix.
HRESULT D3DXLoadMeshHierarchyFromXA(const char* filename, uint32_t options, IDevice* device,
                                    ID3DXAllocateHierarchy* alloc, ID3DXLoadUserData* userDataLoader,
                                    D3DXFRAME** frameHierarchy, ID3DXAnimationController** animController);
HRESULT D3DXLoadMeshHierarchyFromXInMemory(const void* data, uint32_t size, uint32_t options,
                                           IDevice* device, ID3DXAllocateHierarchy* alloc,
                                           ID3DXLoadUserData* userDataLoader, D3DXFRAME** frameHierarchy,
                                           ID3DXAnimationController** animController);

// Destroys every container and frame below and beside the root.
HRESULT D3DXFrameDestroy(D3DXFRAME* root, ID3DXAllocateHierarchy* alloc);
// The first frame of that exact name: the frame, its children, then its siblings.
D3DXFRAME* D3DXFrameFind(const D3DXFRAME* root, const char* name);
// Sphere around every mesh's vertices placed by the frames' transforms.
HRESULT D3DXFrameCalculateBoundingSphere(const D3DXFRAME* root, D3DXVECTOR3* centre, float* radius);

}  // namespace platform
