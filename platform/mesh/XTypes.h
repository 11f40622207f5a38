#pragma once
// Basic types of the mesh, hierarchy and animation objects: result codes,
// file materials, attribute ranges and mesh options. Device types, vertex
// formats and the reference-counted object base come from the graphics
// layer.
#include <cstdint>
#include <string>

#include "platform/Graphics.h"
#include "platform/Math.h"

namespace platform {

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);

// Mesh creation options (accepted; mesh data always lives in system memory
// with 32-bit indices and is mirrored into managed device buffers to draw).
constexpr DWORD D3DXMESH_32BIT = 0x001;
constexpr DWORD D3DXMESH_MANAGED = 0x220;

// Optimisation flags of OptimizeInplace.
constexpr DWORD D3DXMESHOPT_COMPACT = 0x01000000;
constexpr DWORD D3DXMESHOPT_ATTRSORT = 0x02000000;
constexpr DWORD D3DXMESHOPT_VERTEXCACHE = 0x04000000;

// Mesh kinds a hierarchy may hold.
enum D3DXMESHDATATYPE { D3DXMESHTYPE_MESH = 1, D3DXMESHTYPE_PMESH = 2, D3DXMESHTYPE_PATCHMESH = 3 };

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

template <typename T>
inline void SafeRelease(T*& p) {
  if (p) {
    p->Release();
    p = nullptr;
  }
}

}  // namespace platform
