#pragma once
// Writers of .X mesh files (text, binary and zip-compressed binary) and of
// material files, so tests and the demo data make their own meshes.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/Math.h"
#include "platform/mesh/XTypes.h"

namespace formats {

struct XMaterialDesc {
  D3DCOLORVALUE Face{1, 1, 1, 1};
  float Power = 0;
  D3DXVECTOR3 Specular{0, 0, 0};
  D3DXVECTOR3 Emissive{0, 0, 0};
  std::string Texture;  // empty: no TextureFilename
};

struct XSkinWeightsDesc {
  std::string Bone;
  std::vector<uint32_t> Vertices;
  std::vector<float> Weights;
  D3DXMATRIX Offset;
};

struct XMeshDesc {
  std::string Name;
  std::vector<D3DXVECTOR3> Positions;
  std::vector<std::vector<uint32_t>> Faces;
  std::vector<D3DXVECTOR3> Normals;                // empty: no MeshNormals
  std::vector<std::vector<uint32_t>> NormalFaces;  // parallel to Faces
  std::vector<D3DXVECTOR2> TexCoords;              // empty: none
  std::vector<std::pair<uint32_t, D3DCOLORVALUE>> Colors;
  std::vector<XMaterialDesc> Materials;  // empty: no material list
  std::vector<uint32_t> FaceMaterials;
  std::vector<XSkinWeightsDesc> Skin;  // empty: not skinned
};

struct XFrameDesc {
  std::string Name;
  D3DXMATRIX Transform;
  std::vector<XMeshDesc> Meshes;
  std::vector<XFrameDesc> Children;
};

struct XAnimationDesc {
  std::string Target;
  // Ticks and the rotation as the math library builds it (for row
  // vectors); written conjugated, as exporters write rotation keys.
  std::vector<std::pair<uint32_t, D3DXQUATERNION>> Rotation;
  std::vector<std::pair<uint32_t, D3DXVECTOR3>> Scale;
  std::vector<std::pair<uint32_t, D3DXVECTOR3>> Position;
  std::vector<std::pair<uint32_t, D3DXMATRIX>> Matrix;
};

struct XAnimationSetDesc {
  std::string Name;
  std::vector<XAnimationDesc> Animations;
};

struct XFileDesc {
  std::vector<XFrameDesc> Frames;
  std::vector<XMeshDesc> Meshes;  // outside any frame
  std::vector<XAnimationSetDesc> AnimationSets;
  uint32_t TicksPerSecond = 0;  // 0: not written (readers assume 4800)
};

std::string XFileText(const XFileDesc& file);
std::string XFileBinary(const XFileDesc& file);
std::string XFileCompressed(const XFileDesc& file);  // "bzip"
// Any binary file image ("xof 0303bin ...", written by hand too) in the
// compressed encoding: the same body in 32 KiB deflate blocks.
std::string CompressXFile(const std::string& binaryFile);

// The 68-byte material file: diffuse, ambient, specular, emissive, power.
std::string MaterialFileBytes(const platform::D3DMATERIAL9& material);

// A quad in the x-y plane from (0,0) to (size,size), facing +z, with
// normals and texture coordinates, as two triangles (or one four-corner face).
XMeshDesc QuadMesh(float size, bool oneFace = false);

}  // namespace formats
