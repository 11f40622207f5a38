#pragma once
// Meshes in system memory: an interleaved vertex buffer in a fixed-function
// vertex format, 32-bit triangle indices, one attribute (material) id per
// face and the attribute table of the faces sorted by material. Skin
// information deforms a copy of the vertices on the processor. A device
// draws subsets through the mesh renderer it registers.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Math.h"
#include "platform/mesh/XTypes.h"

namespace platform {

class ID3DXMesh;

// A block of bytes handed out by the loaders (adjacency, materials, remaps).
class ID3DXBuffer : public IUnknownObject {
 public:
  explicit ID3DXBuffer(size_t size = 0) : m_Bytes(size) {}
  void* GetBufferPointer() { return m_Bytes.empty() ? nullptr : m_Bytes.data(); }
  size_t GetBufferSize() const { return m_Bytes.size(); }
  std::vector<uint8_t>& Bytes() { return m_Bytes; }
  // Opaque payload some buffers carry (compressed animation data).
  std::shared_ptr<const void> Payload;

 private:
  std::vector<uint8_t> m_Bytes;
};

// Size in bytes of one vertex of the format (position, normal, diffuse
// colour, one 2D texture coordinate set).
uint32_t D3DXGetFVFVertexSize(uint32_t fvf);

// Centre (average of the points) and radius (largest distance from it).
HRESULT D3DXComputeBoundingSphere(const D3DXVECTOR3* firstPosition, uint32_t numVertices,
                                  uint32_t stride, D3DXVECTOR3* centre, float* radius);
// The least and the greatest x, y and z of the points (both the origin
// when there are none).
HRESULT D3DXComputeBoundingBox(const D3DXVECTOR3* firstPosition, uint32_t numVertices, uint32_t stride,
                               D3DXVECTOR3* min, D3DXVECTOR3* max);

class ID3DXMesh : public IUnknownObject {
 public:
  // device may be null: such a mesh cannot be drawn.
  ID3DXMesh(uint32_t numFaces, uint32_t numVertices, uint32_t options, uint32_t fvf, IDevice* device);
  ~ID3DXMesh() override;
  IDevice* GetDevice() const { return m_Device; }

  uint32_t GetFVF() const { return m_FVF; }
  uint32_t GetOptions() const { return m_Options; }
  uint32_t GetNumVertices() const { return m_NumVertices; }
  uint32_t GetNumFaces() const { return m_NumFaces; }
  uint32_t GetNumBytesPerVertex() const { return m_Stride; }

  HRESULT LockVertexBuffer(uint32_t flags, void** data);
  HRESULT UnlockVertexBuffer();
  HRESULT LockIndexBuffer(uint32_t flags, void** data);  // 3 x u32 per face
  HRESULT UnlockIndexBuffer();
  HRESULT LockAttributeBuffer(uint32_t flags, uint32_t** data);
  HRESULT UnlockAttributeBuffer();

  // With a null table only the count is written.
  HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* table, uint32_t* count) const;
  HRESULT SetAttributeTable(const D3DXATTRIBUTERANGE* table, uint32_t count);

  // A copy in another vertex format: shared components are copied, new
  // ones zeroed (diffuse white).
  HRESULT CloneMeshFVF(uint32_t options, uint32_t fvf, IDevice* device, ID3DXMesh** out) const;

  // ATTRSORT sorts faces by attribute (stable) and rebuilds the table;
  // COMPACT drops vertices no face uses. Vertex-cache ordering is accepted
  // and leaves the order as it is. The outputs may be null.
  HRESULT OptimizeInplace(uint32_t flags, const uint32_t* adjacencyIn, uint32_t* adjacencyOut,
                          uint32_t* faceRemap, ID3DXBuffer** vertexRemap);

  // Draws the faces of the given attribute id with the mesh's device, from
  // managed buffers refreshed whenever the data changed. The caller sets
  // transforms, material, textures and states. Fails without a device.
  HRESULT DrawSubset(uint32_t attribId);

  // Raw access for renderers. The version grows whenever the vertex or
  // index data may have changed (a lock that was not read-only).
  const uint8_t* VertexData() const { return m_Vertices.data(); }
  const uint32_t* IndexData() const { return m_Indices.data(); }
  const uint32_t* AttributeData() const { return m_Attributes.data(); }
  uint64_t GetVersion() const { return m_Version; }

  // Rebuilds the attribute table from the attribute buffer, assuming the
  // faces are sorted.
  void RebuildAttributeTable();

 private:
  uint32_t m_FVF;
  uint32_t m_Options;
  uint32_t m_Stride;
  uint32_t m_NumVertices;
  uint32_t m_NumFaces;
  std::vector<uint8_t> m_Vertices;
  std::vector<uint32_t> m_Indices;
  std::vector<uint32_t> m_Attributes;
  std::vector<D3DXATTRIBUTERANGE> m_Table;
  uint64_t m_Version = 1;
  // Vertices and indices are sent to the device apart: a skinned working
  // mesh rewrites its vertices every draw but never its indices.
  uint64_t m_VertexVersion = 1, m_IndexVersion = 1;
  IDevice* m_Device = nullptr;
  IVertexBuffer* m_VertexBuffer = nullptr;
  IIndexBuffer* m_IndexBuffer = nullptr;
  uint64_t m_UploadedVertices = 0, m_UploadedIndices = 0;
};

// Bone names, offset matrices and per-bone vertex weights of a skinned mesh.
class ID3DXSkinInfo : public IUnknownObject {
 public:
  ID3DXSkinInfo(uint32_t numVertices, uint32_t fvf, uint32_t numBones);

  uint32_t GetNumBones() const { return (uint32_t)m_Bones.size(); }
  uint32_t GetNumVertices() const { return m_NumVertices; }
  uint32_t GetFVF() const { return m_FVF; }
  HRESULT SetFVF(uint32_t fvf);
  const char* GetBoneName(uint32_t bone) const;
  HRESULT SetBoneName(uint32_t bone, const char* name);
  const D3DXMATRIX* GetBoneOffsetMatrix(uint32_t bone) const;
  HRESULT SetBoneOffsetMatrix(uint32_t bone, const D3DXMATRIX* offset);
  uint32_t GetNumBoneInfluences(uint32_t bone) const;
  // Vertex indices and weights must be out of range-checked by the caller;
  // an index at or beyond the vertex count is rejected.
  HRESULT SetBoneInfluence(uint32_t bone, uint32_t count, const uint32_t* vertices, const float* weights);
  HRESULT GetBoneInfluence(uint32_t bone, uint32_t* vertices, float* weights) const;
  HRESULT GetMaxVertexInfluences(uint32_t* maxInfluences) const;

  // dst := src with every position (and normal) blended from the bone
  // matrices by the vertex's weights; vertices without weights are copied.
  // The normal matrices may be null (the bone matrices are used, and the
  // normals renormalised).
  HRESULT UpdateSkinnedMesh(const D3DXMATRIX* boneTransforms, const D3DXMATRIX* boneInvTransposeTransforms,
                            const void* srcVertices, void* dstVertices) const;

 private:
  struct Bone {
    std::string Name;
    D3DXMATRIX Offset;
    std::vector<uint32_t> Vertices;
    std::vector<float> Weights;
  };
  void BuildInfluences() const;

  uint32_t m_NumVertices;
  uint32_t m_FVF;
  std::vector<Bone> m_Bones;
  // Per-vertex influence lists, built on first use after a change.
  struct Influence {
    uint32_t Bone;
    float Weight;
  };
  mutable bool m_InfluencesValid = false;
  mutable std::vector<uint32_t> m_VertexStart;
  mutable std::vector<Influence> m_Influences;
};

}  // namespace platform
