#include "platform/mesh/XMesh.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

namespace platform {


uint32_t D3DXGetFVFVertexSize(uint32_t fvf) { return GetFVFVertexSize(fvf); }

namespace {
// Byte offsets of the parts a mesh vertex may have; -1 when absent.
struct MeshLayout {
  int position = -1, normal = -1, diffuse = -1, tex = -1;
  explicit MeshLayout(uint32_t fvf) {
    VertexLayout l = DescribeFVF(fvf);
    if (l.positionFloats == 3 && !l.screenSpace) position = l.position;
    normal = l.normal;
    diffuse = l.diffuse;
    if (l.texCount > 0 && l.texFloats[0] == 2) tex = l.texCoord[0];
  }
};
}  // namespace

HRESULT D3DXComputeBoundingSphere(const D3DXVECTOR3* firstPosition, uint32_t numVertices,
                                  uint32_t stride, D3DXVECTOR3* centre, float* radius) {
  if (!firstPosition || !centre || !radius || stride < sizeof(float) * 3) return E_INVALIDARG;
  const uint8_t* base = reinterpret_cast<const uint8_t*>(firstPosition);
  auto at = [&](uint32_t i) {
    D3DXVECTOR3 p;
    std::memcpy(&p, base + (size_t)i * stride, sizeof(p));
    return p;
  };
  D3DXVECTOR3 sum(0, 0, 0);
  for (uint32_t i = 0; i < numVertices; ++i) sum += at(i);
  D3DXVECTOR3 c = numVertices ? sum / (float)numVertices : D3DXVECTOR3(0, 0, 0);
  float r2 = 0;
  for (uint32_t i = 0; i < numVertices; ++i) {
    D3DXVECTOR3 d = at(i) - c;
    r2 = std::max(r2, D3DXVec3LengthSq(&d));
  }
  *centre = c;
  *radius = std::sqrt(r2);
  return S_OK;
}

HRESULT D3DXComputeBoundingBox(const D3DXVECTOR3* firstPosition, uint32_t numVertices, uint32_t stride,
                               D3DXVECTOR3* min, D3DXVECTOR3* max) {
  if (!firstPosition || !min || !max || stride < sizeof(float) * 3) return E_INVALIDARG;
  const uint8_t* base = reinterpret_cast<const uint8_t*>(firstPosition);
  D3DXVECTOR3 low(0, 0, 0), high(0, 0, 0);
  for (uint32_t i = 0; i < numVertices; ++i) {
    D3DXVECTOR3 p;
    std::memcpy(&p, base + (size_t)i * stride, sizeof(p));
    if (i == 0) low = high = p;
    low = D3DXVECTOR3(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
    high = D3DXVECTOR3(std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z));
  }
  *min = low;
  *max = high;
  return S_OK;
}

ID3DXMesh::ID3DXMesh(uint32_t numFaces, uint32_t numVertices, uint32_t options, uint32_t fvf, IDevice* device)
    : m_FVF(fvf),
      m_Options(options),
      m_Stride(D3DXGetFVFVertexSize(fvf)),
      m_NumVertices(numVertices),
      m_NumFaces(numFaces),
      m_Vertices((size_t)numVertices * m_Stride),
      m_Indices((size_t)numFaces * 3),
      m_Attributes(numFaces),
      m_Device(device) {
  if (m_Device) m_Device->AddRef();
}

ID3DXMesh::~ID3DXMesh() {
  SafeRelease(m_VertexBuffer);
  SafeRelease(m_IndexBuffer);
  SafeRelease(m_Device);
}

HRESULT ID3DXMesh::LockVertexBuffer(uint32_t flags, void** data) {
  if (!data) return E_INVALIDARG;
  *data = m_Vertices.data();
  if (!(flags & D3DLOCK_READONLY)) {
    ++m_Version;
    ++m_VertexVersion;
  }
  return S_OK;
}
HRESULT ID3DXMesh::UnlockVertexBuffer() { return S_OK; }
HRESULT ID3DXMesh::LockIndexBuffer(uint32_t flags, void** data) {
  if (!data) return E_INVALIDARG;
  *data = m_Indices.data();
  if (!(flags & D3DLOCK_READONLY)) {
    ++m_Version;
    ++m_IndexVersion;
  }
  return S_OK;
}
HRESULT ID3DXMesh::UnlockIndexBuffer() { return S_OK; }
HRESULT ID3DXMesh::LockAttributeBuffer(uint32_t, uint32_t** data) {
  if (!data) return E_INVALIDARG;
  *data = m_Attributes.data();
  return S_OK;
}
HRESULT ID3DXMesh::UnlockAttributeBuffer() { return S_OK; }

HRESULT ID3DXMesh::GetAttributeTable(D3DXATTRIBUTERANGE* table, uint32_t* count) const {
  if (!count) return E_INVALIDARG;
  if (table) std::copy(m_Table.begin(), m_Table.end(), table);
  *count = (uint32_t)m_Table.size();
  return S_OK;
}

HRESULT ID3DXMesh::SetAttributeTable(const D3DXATTRIBUTERANGE* table, uint32_t count) {
  if (count && !table) return E_INVALIDARG;
  for (uint32_t i = 0; i < count; ++i) {
    const D3DXATTRIBUTERANGE& r = table[i];
    if ((uint64_t)r.FaceStart + r.FaceCount > m_NumFaces ||
        (uint64_t)r.VertexStart + r.VertexCount > m_NumVertices)
      return E_INVALIDARG;
  }
  m_Table.assign(table, table + count);
  return S_OK;
}

void ID3DXMesh::RebuildAttributeTable() {
  m_Table.clear();
  for (uint32_t f = 0; f < m_NumFaces; ++f) {
    uint32_t a = m_Attributes[f];
    if (m_Table.empty() || m_Table.back().AttribId != a) {
      D3DXATTRIBUTERANGE r;
      r.AttribId = a;
      r.FaceStart = f;
      r.VertexStart = UINT32_MAX;
      m_Table.push_back(r);
    }
    D3DXATTRIBUTERANGE& r = m_Table.back();
    ++r.FaceCount;
    uint32_t end = r.VertexStart == UINT32_MAX ? 0 : r.VertexStart + r.VertexCount;
    for (int k = 0; k < 3; ++k) {
      uint32_t v = m_Indices[(size_t)f * 3 + k];
      if (r.VertexStart == UINT32_MAX || v < r.VertexStart) r.VertexStart = v;
      end = std::max(end, v + 1);
    }
    r.VertexCount = end - r.VertexStart;
  }
}

HRESULT ID3DXMesh::CloneMeshFVF(uint32_t options, uint32_t fvf, IDevice* device, ID3DXMesh** out) const {
  if (!out) return E_INVALIDARG;
  if (MeshLayout(fvf).position < 0) return E_INVALIDARG;
  auto* m = new ID3DXMesh(m_NumFaces, m_NumVertices, options, fvf, device ? device : m_Device);
  m->m_Indices = m_Indices;
  m->m_Attributes = m_Attributes;
  m->m_Table = m_Table;
  if (fvf == m_FVF) {
    m->m_Vertices = m_Vertices;
  } else {
    MeshLayout from(m_FVF), to(fvf);
    for (uint32_t v = 0; v < m_NumVertices; ++v) {
      const uint8_t* s = m_Vertices.data() + (size_t)v * m_Stride;
      uint8_t* d = m->m_Vertices.data() + (size_t)v * m->m_Stride;
      auto copy = [&](int fromAt, int toAt, size_t n) {
        if (toAt >= 0 && fromAt >= 0) std::memcpy(d + toAt, s + fromAt, n);
      };
      copy(from.position, to.position, 12);
      copy(from.normal, to.normal, 12);
      copy(from.tex, to.tex, 8);
      if (to.diffuse >= 0) {
        uint32_t white = 0xFFFFFFFFu;
        if (from.diffuse >= 0)
          std::memcpy(d + to.diffuse, s + from.diffuse, 4);
        else
          std::memcpy(d + to.diffuse, &white, 4);
      }
    }
  }
  *out = m;
  return S_OK;
}

HRESULT ID3DXMesh::OptimizeInplace(uint32_t flags, const uint32_t* adjacencyIn, uint32_t* adjacencyOut,
                                   uint32_t* faceRemap, ID3DXBuffer** vertexRemap) {
  std::vector<uint32_t> order(m_NumFaces);
  std::iota(order.begin(), order.end(), 0u);
  if (flags & D3DXMESHOPT_ATTRSORT)
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return m_Attributes[a] < m_Attributes[b]; });
  std::vector<uint32_t> newIndex(m_NumFaces);
  for (uint32_t i = 0; i < m_NumFaces; ++i) newIndex[order[i]] = i;
  std::vector<uint32_t> indices(m_Indices.size()), attributes(m_NumFaces);
  for (uint32_t i = 0; i < m_NumFaces; ++i) {
    std::memcpy(&indices[(size_t)i * 3], &m_Indices[(size_t)order[i] * 3], 12);
    attributes[i] = m_Attributes[order[i]];
  }
  if (adjacencyOut) {
    std::vector<uint32_t> adj((size_t)m_NumFaces * 3, UINT32_MAX);
    if (adjacencyIn)
      for (uint32_t i = 0; i < m_NumFaces; ++i)
        for (int k = 0; k < 3; ++k) {
          uint32_t n = adjacencyIn[(size_t)order[i] * 3 + k];
          adj[(size_t)i * 3 + k] = n < m_NumFaces ? newIndex[n] : UINT32_MAX;
        }
    std::copy(adj.begin(), adj.end(), adjacencyOut);
  }
  if (faceRemap) std::copy(order.begin(), order.end(), faceRemap);
  m_Indices.swap(indices);
  m_Attributes.swap(attributes);

  std::vector<uint32_t> vremap(m_NumVertices);
  std::iota(vremap.begin(), vremap.end(), 0u);  // new -> old
  if (flags & D3DXMESHOPT_COMPACT) {
    std::vector<uint32_t> oldToNew(m_NumVertices, UINT32_MAX);
    vremap.clear();
    for (uint32_t& idx : m_Indices) {
      if (oldToNew[idx] == UINT32_MAX) {
        oldToNew[idx] = (uint32_t)vremap.size();
        vremap.push_back(idx);
      }
      idx = oldToNew[idx];
    }
    std::vector<uint8_t> vertices(vremap.size() * m_Stride);
    for (size_t i = 0; i < vremap.size(); ++i)
      std::memcpy(&vertices[i * m_Stride], &m_Vertices[(size_t)vremap[i] * m_Stride], m_Stride);
    m_Vertices.swap(vertices);
    m_NumVertices = (uint32_t)vremap.size();
  }
  if (vertexRemap) {
    auto* b = new ID3DXBuffer(vremap.size() * 4);
    if (!vremap.empty()) std::memcpy(b->GetBufferPointer(), vremap.data(), vremap.size() * 4);
    *vertexRemap = b;
  }
  RebuildAttributeTable();
  ++m_Version;
  ++m_VertexVersion;
  ++m_IndexVersion;
  return S_OK;
}

HRESULT ID3DXMesh::DrawSubset(uint32_t attribId) {
  if (!m_Device || m_NumFaces == 0 || m_NumVertices == 0) return E_FAIL;
  const uint32_t vbytes = (uint32_t)m_Vertices.size(), ibytes = (uint32_t)m_Indices.size() * 4;
  if (m_UploadedVertices != m_VertexVersion || !m_VertexBuffer) {
    if (m_VertexBuffer && m_VertexBuffer->GetLength() != vbytes) SafeRelease(m_VertexBuffer);
    if (!m_VertexBuffer &&
        FAILED(m_Device->CreateVertexBuffer(vbytes, D3DUSAGE_WRITEONLY, m_FVF, D3DPOOL_MANAGED, &m_VertexBuffer)))
      return E_FAIL;
    void* p = nullptr;
    if (FAILED(m_VertexBuffer->Lock(0, 0, &p, 0))) return E_FAIL;
    std::memcpy(p, m_Vertices.data(), vbytes);
    m_VertexBuffer->Unlock();
    m_UploadedVertices = m_VertexVersion;
  }
  if (m_UploadedIndices != m_IndexVersion || !m_IndexBuffer) {
    if (m_IndexBuffer && m_IndexBuffer->GetLength() != ibytes) SafeRelease(m_IndexBuffer);
    if (!m_IndexBuffer && FAILED(m_Device->CreateIndexBuffer(ibytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX32,
                                                              D3DPOOL_MANAGED, &m_IndexBuffer)))
      return E_FAIL;
    void* p = nullptr;
    if (FAILED(m_IndexBuffer->Lock(0, 0, &p, 0))) return E_FAIL;
    std::memcpy(p, m_Indices.data(), ibytes);
    m_IndexBuffer->Unlock();
    m_UploadedIndices = m_IndexVersion;
  }
  bool bound = false;
  for (const auto& range : m_Table) {
    if (range.AttribId != attribId || range.FaceCount == 0) continue;
    if (!bound) {
      m_Device->SetFVF(m_FVF);
      m_Device->SetStreamSource(0, m_VertexBuffer, 0, m_Stride);
      m_Device->SetIndices(m_IndexBuffer);
      bound = true;
    }
    HRESULT hr = m_Device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, range.VertexStart, range.VertexCount,
                                                range.FaceStart * 3, range.FaceCount);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

// ---------------------------------------------------------------------------

ID3DXSkinInfo::ID3DXSkinInfo(uint32_t numVertices, uint32_t fvf, uint32_t numBones)
    : m_NumVertices(numVertices), m_FVF(fvf), m_Bones(numBones) {}

HRESULT ID3DXSkinInfo::SetFVF(uint32_t fvf) {
  m_FVF = fvf;
  return S_OK;
}

const char* ID3DXSkinInfo::GetBoneName(uint32_t bone) const {
  return bone < m_Bones.size() ? m_Bones[bone].Name.c_str() : nullptr;
}

HRESULT ID3DXSkinInfo::SetBoneName(uint32_t bone, const char* name) {
  if (bone >= m_Bones.size() || !name) return E_INVALIDARG;
  m_Bones[bone].Name = name;
  return S_OK;
}

const D3DXMATRIX* ID3DXSkinInfo::GetBoneOffsetMatrix(uint32_t bone) const {
  return bone < m_Bones.size() ? &m_Bones[bone].Offset : nullptr;
}

HRESULT ID3DXSkinInfo::SetBoneOffsetMatrix(uint32_t bone, const D3DXMATRIX* offset) {
  if (bone >= m_Bones.size() || !offset) return E_INVALIDARG;
  m_Bones[bone].Offset = *offset;
  return S_OK;
}

uint32_t ID3DXSkinInfo::GetNumBoneInfluences(uint32_t bone) const {
  return bone < m_Bones.size() ? (uint32_t)m_Bones[bone].Vertices.size() : 0;
}

HRESULT ID3DXSkinInfo::SetBoneInfluence(uint32_t bone, uint32_t count, const uint32_t* vertices,
                                        const float* weights) {
  if (bone >= m_Bones.size() || (count && (!vertices || !weights))) return E_INVALIDARG;
  for (uint32_t i = 0; i < count; ++i)
    if (vertices[i] >= m_NumVertices || !std::isfinite(weights[i])) return E_INVALIDARG;
  m_Bones[bone].Vertices.assign(vertices, vertices + count);
  m_Bones[bone].Weights.assign(weights, weights + count);
  m_InfluencesValid = false;
  return S_OK;
}

HRESULT ID3DXSkinInfo::GetBoneInfluence(uint32_t bone, uint32_t* vertices, float* weights) const {
  if (bone >= m_Bones.size() || !vertices || !weights) return E_INVALIDARG;
  std::copy(m_Bones[bone].Vertices.begin(), m_Bones[bone].Vertices.end(), vertices);
  std::copy(m_Bones[bone].Weights.begin(), m_Bones[bone].Weights.end(), weights);
  return S_OK;
}

void ID3DXSkinInfo::BuildInfluences() const {
  if (m_InfluencesValid) return;
  m_VertexStart.assign(m_NumVertices + 1, 0);
  for (const auto& b : m_Bones)
    for (uint32_t v : b.Vertices) ++m_VertexStart[v + 1];
  for (uint32_t v = 0; v < m_NumVertices; ++v) m_VertexStart[v + 1] += m_VertexStart[v];
  m_Influences.resize(m_VertexStart[m_NumVertices]);
  std::vector<uint32_t> fill(m_VertexStart.begin(), m_VertexStart.end() - 1);
  for (uint32_t bi = 0; bi < m_Bones.size(); ++bi) {
    const Bone& b = m_Bones[bi];
    for (size_t k = 0; k < b.Vertices.size(); ++k) m_Influences[fill[b.Vertices[k]]++] = {bi, b.Weights[k]};
  }
  m_InfluencesValid = true;
}

HRESULT ID3DXSkinInfo::GetMaxVertexInfluences(uint32_t* maxInfluences) const {
  if (!maxInfluences) return E_INVALIDARG;
  BuildInfluences();
  uint32_t most = 0;
  for (uint32_t v = 0; v < m_NumVertices; ++v) most = std::max(most, m_VertexStart[v + 1] - m_VertexStart[v]);
  *maxInfluences = most;
  return S_OK;
}

HRESULT ID3DXSkinInfo::UpdateSkinnedMesh(const D3DXMATRIX* boneTransforms,
                                         const D3DXMATRIX* boneInvTransposeTransforms,
                                         const void* srcVertices, void* dstVertices) const {
  if (!srcVertices || !dstVertices || (!boneTransforms && !m_Bones.empty())) return E_INVALIDARG;
  BuildInfluences();
  const uint32_t stride = D3DXGetFVFVertexSize(m_FVF);
  MeshLayout layout(m_FVF);
  if (layout.position < 0) return E_FAIL;
  const uint8_t* src = static_cast<const uint8_t*>(srcVertices);
  uint8_t* dst = static_cast<uint8_t*>(dstVertices);
  if (src != dst) std::memcpy(dst, src, (size_t)m_NumVertices * stride);
  const D3DXMATRIX* normalMats = boneInvTransposeTransforms ? boneInvTransposeTransforms : boneTransforms;
  for (uint32_t v = 0; v < m_NumVertices; ++v) {
    uint32_t begin = m_VertexStart[v], end = m_VertexStart[v + 1];
    if (begin == end) continue;
    const uint8_t* s = src + (size_t)v * stride;
    uint8_t* d = dst + (size_t)v * stride;
    float p[3];
    std::memcpy(p, s + layout.position, 12);
    float op[3] = {0, 0, 0};
    float n[3] = {0, 0, 0}, on[3] = {0, 0, 0};
    if (layout.normal >= 0) std::memcpy(n, s + layout.normal, 12);
    for (uint32_t k = begin; k < end; ++k) {
      const Influence& in = m_Influences[k];
      const D3DXMATRIX& m = boneTransforms[in.Bone];
      const float w = in.Weight;
      for (int c = 0; c < 3; ++c)
        op[c] += w * (p[0] * m.m[0][c] + p[1] * m.m[1][c] + p[2] * m.m[2][c] + m.m[3][c]);
      if (layout.normal >= 0) {
        const D3DXMATRIX& nm = normalMats[in.Bone];
        for (int c = 0; c < 3; ++c) on[c] += w * (n[0] * nm.m[0][c] + n[1] * nm.m[1][c] + n[2] * nm.m[2][c]);
      }
    }
    std::memcpy(d + layout.position, op, 12);
    if (layout.normal >= 0) {
      float len = std::sqrt(on[0] * on[0] + on[1] * on[1] + on[2] * on[2]);
      if (len > 0)
        for (float& c : on) c /= len;
      std::memcpy(d + layout.normal, on, 12);
    }
  }
  return S_OK;
}

}  // namespace platform
