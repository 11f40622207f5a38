#pragma once
// Reader of .X files: the text, binary and zip-compressed encodings. The
// file becomes a tree of data objects, then the known objects (frames,
// meshes and their parts, skin weights, animation sets) are read into the
// plain records below. Every count and index is checked against the data
// left and against the vertex and face counts, so a damaged file fails
// with a message instead of reading out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Math.h"
#include "platform/mesh/XTypes.h"

namespace platform::xfile {

struct XSkinWeights {
  std::string BoneName;
  std::vector<uint32_t> Vertices;  // indices into the file's position list
  std::vector<float> Weights;
  D3DXMATRIX Offset;
};

struct XMeshRecord {
  std::string Name;
  std::vector<D3DXVECTOR3> Positions;
  // Faces as corner counts and a flat list of position indices.
  std::vector<uint32_t> FaceSizes;
  std::vector<uint32_t> FaceIndices;
  // Normals with their own faces, parallel to the mesh's faces.
  bool HasNormals = false;
  std::vector<D3DXVECTOR3> Normals;
  std::vector<uint32_t> NormalFaceIndices;
  bool HasTexCoords = false;
  std::vector<D3DXVECTOR2> TexCoords;  // per position
  bool HasColors = false;
  std::vector<uint32_t> Colors;  // ARGB per position
  bool HasMaterialList = false;
  std::vector<D3DXMATERIAL> Materials;
  std::vector<uint32_t> FaceMaterials;  // per file face
  bool HasSkin = false;
  std::vector<XSkinWeights> Skin;
};

struct XFrameRecord {
  std::string Name;
  D3DXMATRIX Transform;
  std::vector<XMeshRecord> Meshes;
  std::vector<XFrameRecord> Children;
};

struct XVectorKey {
  float Time = 0;  // ticks
  D3DXVECTOR3 Value;
};
struct XQuaternionKey {
  float Time = 0;
  D3DXQUATERNION Value;
};
struct XMatrixKey {
  float Time = 0;
  D3DXMATRIX Value;
};

struct XAnimationRecord {
  std::string Target;  // frame name
  std::vector<XQuaternionKey> Rotation;
  std::vector<XVectorKey> Scale;
  std::vector<XVectorKey> Position;
  std::vector<XMatrixKey> Matrix;
  bool Open = false;  // AnimationOptions: 0 closed (looping), 1 open
};

struct XAnimationSetRecord {
  std::string Name;
  std::vector<XAnimationRecord> Animations;
};

struct XScene {
  std::vector<XFrameRecord> Frames;     // top-level frames
  std::vector<XMeshRecord> Meshes;      // top-level meshes outside any frame
  std::vector<XAnimationSetRecord> AnimationSets;
  uint32_t TicksPerSecond = 4800;
};

// Reads a whole file image. False with a message on any damage.
bool ParseXFile(const uint8_t* data, size_t size, XScene& scene, std::string& error);

}  // namespace platform::xfile
