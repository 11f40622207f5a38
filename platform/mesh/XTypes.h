#pragma once
// Basic types shared by the mesh, hierarchy and animation objects: result
// codes, materials, attribute ranges, vertex-format bits and the reference
// count every shared mesh object carries.
#include <cstdint>
#include <string>

#include "platform/Math.h"

using HRESULT = int32_t;
#ifndef S_OK
#define S_OK ((HRESULT)0)
#endif
#ifndef E_FAIL
#define E_FAIL ((HRESULT)0x80004005)
#endif
#ifndef E_OUTOFMEMORY
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#endif
#ifndef E_INVALIDARG
#define E_INVALIDARG ((HRESULT)0x80070057)
#endif
#ifndef SUCCEEDED
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#endif
#ifndef FAILED
#define FAILED(hr) (((HRESULT)(hr)) < 0)
#endif

// Vertex-format bits a mesh can carry, in vertex order.
#ifndef D3DFVF_XYZ
#define D3DFVF_XYZ 0x002u
#define D3DFVF_NORMAL 0x010u
#define D3DFVF_DIFFUSE 0x040u
#define D3DFVF_TEX1 0x100u
#endif

// Mesh creation options (accepted; meshes always live in system memory and
// use 32-bit indices).
#define D3DXMESH_32BIT 0x001u
#define D3DXMESH_MANAGED 0x220u

// Optimisation flags of OptimizeInplace.
#define D3DXMESHOPT_COMPACT 0x01000000u
#define D3DXMESHOPT_ATTRSORT 0x02000000u
#define D3DXMESHOPT_VERTEXCACHE 0x04000000u

// Lock flags.
#define D3DLOCK_READONLY 0x10u

// Mesh kinds a hierarchy may hold.
enum D3DXMESHDATATYPE { D3DXMESHTYPE_MESH = 1, D3DXMESHTYPE_PMESH = 2, D3DXMESHTYPE_PATCHMESH = 3 };

#ifndef KARVESSA_D3DMATERIAL9_DEFINED
#define KARVESSA_D3DMATERIAL9_DEFINED
// The fixed-function lighting material: 17 floats.
struct D3DMATERIAL9 {
  D3DCOLORVALUE Diffuse;
  D3DCOLORVALUE Ambient;
  D3DCOLORVALUE Specular;
  D3DCOLORVALUE Emissive;
  float Power = 0;
};
#endif

// A material as stored in a mesh file, with its texture file name (empty
// when it has none).
struct D3DXMATERIAL {
  D3DMATERIAL9 MatD3D;
  std::string TextureFilename;
  bool HasTexture() const { return !TextureFilename.empty(); }
};

// Effect instances are never used; the type exists for the call shapes.
struct D3DXEFFECTINSTANCE {
  std::string EffectFilename;
};

// A run of faces sharing one attribute (material) id, with the vertex
// range they use.
struct D3DXATTRIBUTERANGE {
  uint32_t AttribId = 0;
  uint32_t FaceStart = 0;
  uint32_t FaceCount = 0;
  uint32_t VertexStart = 0;
  uint32_t VertexCount = 0;
};

namespace platform {

// Intrusive reference count of the shared mesh objects. A new object holds
// one reference; Release deletes it when the count reaches zero.
class XUnknown {
 public:
  XUnknown() = default;
  XUnknown(const XUnknown&) = delete;
  XUnknown& operator=(const XUnknown&) = delete;
  uint32_t AddRef() { return ++m_RefCount; }
  uint32_t Release() {
    uint32_t left = --m_RefCount;
    if (left == 0) delete this;
    return left;
  }
  uint32_t RefCount() const { return m_RefCount; }

 protected:
  virtual ~XUnknown() = default;

 private:
  uint32_t m_RefCount = 1;
};

template <typename T>
inline void SafeRelease(T*& p) {
  if (p) {
    p->Release();
    p = nullptr;
  }
}

}  // namespace platform
