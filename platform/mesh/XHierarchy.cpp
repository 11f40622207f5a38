#include "platform/mesh/XHierarchy.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/mesh/XFileParser.h"

using platform::xfile::XAnimationSetRecord;
using platform::xfile::XFrameRecord;
using platform::xfile::XMeshRecord;
using platform::xfile::XScene;

namespace platform {

namespace {

// A mesh record turned into triangles over split vertices.
struct BuiltMesh {
  bool hasNormals = false, hasTex = false, hasColors = false;
  std::vector<D3DXVECTOR3> positions, normals;
  std::vector<D3DXVECTOR2> tex;
  std::vector<uint32_t> colors;
  std::vector<uint32_t> original;  // file position index of each vertex
  std::vector<uint32_t> triangles;  // 3 per face
  std::vector<uint32_t> attributes;  // per face
  std::vector<D3DXMATERIAL> materials;

  uint32_t FVF() const {
    return D3DFVF_XYZ | (hasNormals ? D3DFVF_NORMAL : 0) | (hasColors ? D3DFVF_DIFFUSE : 0) |
           (hasTex ? D3DFVF_TEX1 : 0);
  }
};

// Vertices are split per distinct position/normal pair: vertex i (i below
// the file's vertex count) is position i with the first normal used with
// it; further normals for the same position get vertices of their own.
void BuildMesh(const XMeshRecord& r, BuiltMesh& out) {
  const uint32_t nv = (uint32_t)r.Positions.size();
  out.hasNormals = r.HasNormals;
  out.hasTex = r.HasTexCoords;
  out.hasColors = r.HasColors;
  out.positions = r.Positions;
  out.original.resize(nv);
  for (uint32_t i = 0; i < nv; ++i) out.original[i] = i;
  if (out.hasTex) out.tex = r.TexCoords;
  if (out.hasColors) out.colors = r.Colors;
  std::vector<uint32_t> normalOf;
  std::unordered_map<uint64_t, uint32_t> split;
  if (out.hasNormals) {
    out.normals.assign(nv, D3DXVECTOR3(0, 0, 0));
    normalOf.assign(nv, UINT32_MAX);
  }
  auto vertexFor = [&](uint32_t p, size_t corner) -> uint32_t {
    if (!out.hasNormals) return p;
    uint32_t n = r.NormalFaceIndices[corner];
    if (normalOf[p] == UINT32_MAX) {
      normalOf[p] = n;
      out.normals[p] = r.Normals[n];
      return p;
    }
    if (normalOf[p] == n) return p;
    uint64_t key = ((uint64_t)p << 32) | n;
    auto it = split.find(key);
    if (it != split.end()) return it->second;
    uint32_t v = (uint32_t)out.positions.size();
    out.positions.push_back(r.Positions[p]);
    out.normals.push_back(r.Normals[n]);
    if (out.hasTex) out.tex.push_back(r.TexCoords[p]);
    if (out.hasColors) out.colors.push_back(r.Colors[p]);
    out.original.push_back(p);
    split.emplace(key, v);
    return v;
  };
  size_t corner = 0;
  for (size_t f = 0; f < r.FaceSizes.size(); ++f) {
    uint32_t size = r.FaceSizes[f];
    uint32_t attr = r.HasMaterialList && f < r.FaceMaterials.size() ? r.FaceMaterials[f] : 0;
    uint32_t first = vertexFor(r.FaceIndices[corner], corner);
    uint32_t prev = vertexFor(r.FaceIndices[corner + 1], corner + 1);
    for (uint32_t k = 2; k < size; ++k) {  // fanned from the first corner
      uint32_t cur = vertexFor(r.FaceIndices[corner + k], corner + k);
      out.triangles.insert(out.triangles.end(), {first, prev, cur});
      out.attributes.push_back(attr);
      prev = cur;
    }
    corner += size;
  }
  out.materials = r.Materials;
}

// The plain white material a mesh without materials draws with once it is
// merged with meshes that have some.
D3DXMATERIAL MergedDefaultMaterial() {
  D3DXMATERIAL d;
  d.MatD3D.Diffuse = D3DCOLORVALUE{1, 1, 1, 1};
  d.MatD3D.Ambient = D3DCOLORVALUE{0, 0, 0, 1};
  d.MatD3D.Specular = D3DCOLORVALUE{0, 0, 0, 1};
  d.MatD3D.Emissive = D3DCOLORVALUE{0, 0, 0, 1};
  return d;
}

// Appends b (transformed) to a; their formats are joined.
void MergeMesh(BuiltMesh& a, const BuiltMesh& b, const D3DXMATRIX& m) {
  // Faces merged so far without materials keep a default of their own
  // rather than taking the next mesh's first material.
  if (a.materials.empty() && !a.attributes.empty() && !b.materials.empty())
    a.materials.push_back(MergedDefaultMaterial());
  uint32_t base = (uint32_t)a.positions.size();
  uint32_t attrBase = (uint32_t)a.materials.size();
  size_t na = a.positions.size(), nb = b.positions.size();
  if (b.hasNormals && !a.hasNormals) { a.normals.assign(na, D3DXVECTOR3(0, 0, 0)); a.hasNormals = true; }
  if (b.hasTex && !a.hasTex) { a.tex.assign(na, D3DXVECTOR2(0, 0)); a.hasTex = true; }
  if (b.hasColors && !a.hasColors) { a.colors.assign(na, 0xFFFFFFFFu); a.hasColors = true; }
  D3DXMATRIX normalMatrix, inv;
  if (D3DXMatrixInverse(&inv, nullptr, &m)) D3DXMatrixTranspose(&normalMatrix, &inv);
  for (size_t i = 0; i < nb; ++i) {
    D3DXVECTOR3 p;
    D3DXVec3TransformCoord(&p, &b.positions[i], &m);
    a.positions.push_back(p);
    if (a.hasNormals) {
      D3DXVECTOR3 n(0, 0, 0);
      if (b.hasNormals) {
        D3DXVec3TransformNormal(&n, &b.normals[i], &normalMatrix);
        D3DXVec3Normalize(&n, &n);
      }
      a.normals.push_back(n);
    }
    if (a.hasTex) a.tex.push_back(b.hasTex ? b.tex[i] : D3DXVECTOR2(0, 0));
    if (a.hasColors) a.colors.push_back(b.hasColors ? b.colors[i] : 0xFFFFFFFFu);
    a.original.push_back(b.original[i]);
  }
  for (uint32_t idx : b.triangles) a.triangles.push_back(base + idx);
  // A mesh without materials draws with material 0 of its own: give it one.
  std::vector<D3DXMATERIAL> mats = b.materials;
  if (mats.empty() && (!a.materials.empty() || attrBase > 0 || base > 0)) mats.push_back(MergedDefaultMaterial());
  for (uint32_t attr : b.attributes) a.attributes.push_back(attrBase + attr);
  a.materials.insert(a.materials.end(), mats.begin(), mats.end());
}

// The mesh object, faces sorted by attribute (stable).
ID3DXMesh* MakeMesh(const BuiltMesh& b, uint32_t options, IDevice* device) {
  const uint32_t faces = (uint32_t)b.attributes.size();
  const uint32_t fvf = b.FVF();
  auto* mesh = new ID3DXMesh(faces, (uint32_t)b.positions.size(), options, fvf, device);
  void* vp = nullptr;
  mesh->LockVertexBuffer(0, &vp);
  uint8_t* v = static_cast<uint8_t*>(vp);
  for (size_t i = 0; i < b.positions.size(); ++i) {
    std::memcpy(v, &b.positions[i], 12);
    v += 12;
    if (b.hasNormals) { std::memcpy(v, &b.normals[i], 12); v += 12; }
    if (b.hasColors) { std::memcpy(v, &b.colors[i], 4); v += 4; }
    if (b.hasTex) { std::memcpy(v, &b.tex[i], 8); v += 8; }
  }
  mesh->UnlockVertexBuffer();
  void* ip = nullptr;
  uint32_t* attrs = nullptr;
  mesh->LockIndexBuffer(0, &ip);
  mesh->LockAttributeBuffer(0, &attrs);
  if (faces) {
    std::memcpy(ip, b.triangles.data(), (size_t)faces * 12);
    std::memcpy(attrs, b.attributes.data(), (size_t)faces * 4);
  }
  mesh->UnlockIndexBuffer();
  mesh->UnlockAttributeBuffer();
  mesh->OptimizeInplace(D3DXMESHOPT_ATTRSORT, nullptr, nullptr, nullptr, nullptr);
  return mesh;
}

// Three neighbours per face across its edges (by file position, so split
// vertices still join), UINT32_MAX where there is none.
std::vector<uint32_t> ComputeAdjacency(ID3DXMesh* mesh, const std::vector<uint32_t>& original) {
  const uint32_t faces = mesh->GetNumFaces();
  std::vector<uint32_t> adj((size_t)faces * 3, UINT32_MAX);
  void* ip = nullptr;
  mesh->LockIndexBuffer(D3DLOCK_READONLY, &ip);
  const uint32_t* idx = static_cast<const uint32_t*>(ip);
  std::unordered_map<uint64_t, uint32_t> edges;
  edges.reserve((size_t)faces * 3);
  auto key = [&](uint32_t a, uint32_t b) { return ((uint64_t)original[a] << 32) | original[b]; };
  for (uint32_t f = 0; f < faces; ++f)
    for (int k = 0; k < 3; ++k) edges.emplace(key(idx[f * 3 + k], idx[f * 3 + (k + 1) % 3]), f);
  for (uint32_t f = 0; f < faces; ++f)
    for (int k = 0; k < 3; ++k) {
      auto it = edges.find(key(idx[f * 3 + (k + 1) % 3], idx[f * 3 + k]));
      if (it != edges.end() && it->second != f) adj[(size_t)f * 3 + k] = it->second;
    }
  mesh->UnlockIndexBuffer();
  return adj;
}

bool ReadFileBytes(const char* filename, std::vector<uint8_t>& bytes) {
  if (!filename || !ReadWholeFile(filename, bytes)) {
    LogError(std::string("cannot read mesh file ") + (filename ? filename : "(null)"));
    return false;
  }
  return true;
}

bool Parse(const void* data, uint32_t size, XScene& scene, const char* what) {
  std::string error;
  if (!xfile::ParseXFile(static_cast<const uint8_t*>(data), size, scene, error)) {
    LogError(std::string("mesh file ") + what + ": " + error);
    return false;
  }
  return true;
}

void MergeMeshes(const std::vector<XMeshRecord>& meshes, const D3DXMATRIX& m, BuiltMesh& all, bool& any) {
  for (const auto& r : meshes) {
    BuiltMesh b;
    BuildMesh(r, b);
    MergeMesh(all, b, m);
    any = true;
  }
}

void CollectMeshes(const XFrameRecord& f, const D3DXMATRIX& parent, BuiltMesh& all, bool& any) {
  D3DXMATRIX combined = f.Transform * parent;
  MergeMeshes(f.Meshes, combined, all, any);
  for (const auto& c : f.Children) CollectMeshes(c, combined, all, any);
}

HRESULT LoadMeshFromScene(const XScene& scene, uint32_t options, IDevice* device, ID3DXBuffer** adjacency,
                          ID3DXBuffer** materials, ID3DXBuffer** effectInstances, uint32_t* numMaterials,
                          ID3DXMesh** mesh) {
  BuiltMesh all;
  bool any = false;
  D3DXMATRIX identity;
  MergeMeshes(scene.Meshes, identity, all, any);
  for (const auto& f : scene.Frames) CollectMeshes(f, identity, all, any);
  if (!any || all.attributes.empty()) {
    LogError("mesh file holds no faces");
    return E_FAIL;
  }
  ID3DXMesh* m = MakeMesh(all, options, device);
  if (adjacency) {
    std::vector<uint32_t> adj = ComputeAdjacency(m, all.original);
    auto* b = new ID3DXBuffer(adj.size() * 4);
    std::memcpy(b->GetBufferPointer(), adj.data(), adj.size() * 4);
    *adjacency = b;
  }
  if (materials) {
    auto* b = new ID3DXMaterialBuffer();
    b->Materials = all.materials;
    *materials = b;
  }
  if (effectInstances) *effectInstances = nullptr;
  if (numMaterials) *numMaterials = (uint32_t)all.materials.size();
  *mesh = m;
  return S_OK;
}

// ---------------------------------------------------------------------------
// Hierarchies.

class HierarchyBuilder {
 public:
  HierarchyBuilder(ID3DXAllocateHierarchy* alloc, uint32_t options, IDevice* device)
      : m_Alloc(alloc), m_Options(options), m_Device(device) {}

  D3DXFRAME* Frame(const XFrameRecord& r) {
    D3DXFRAME* f = NewFrame(r.Name);
    if (!f) return nullptr;
    f->TransformationMatrix = r.Transform;
    m_Frames.push_back(f);
    for (const auto& m : r.Meshes)
      if (!Container(f, m)) {
        D3DXFrameDestroy(f, m_Alloc);
        return nullptr;
      }
    D3DXFRAME** link = &f->pFrameFirstChild;
    for (const auto& c : r.Children) {
      D3DXFRAME* child = Frame(c);
      if (!child) {
        D3DXFrameDestroy(f, m_Alloc);
        return nullptr;
      }
      *link = child;
      link = &child->pFrameSibling;
    }
    return f;
  }

  D3DXFRAME* NewFrame(const std::string& name) {
    D3DXFRAME* f = nullptr;
    if (FAILED(m_Alloc->CreateFrame(name.empty() ? nullptr : name.c_str(), &f)) || !f) {
      return nullptr;
    }
    return f;
  }

  bool Container(D3DXFRAME* frame, const XMeshRecord& r) {
    BuiltMesh b;
    BuildMesh(r, b);
    if (b.attributes.empty()) return true;  // a mesh without faces draws nothing
    ID3DXMesh* mesh = MakeMesh(b, m_Options, m_Device);
    std::vector<uint32_t> adj = ComputeAdjacency(mesh, b.original);
    ID3DXSkinInfo* skin = nullptr;
    if (r.HasSkin) {
      skin = new ID3DXSkinInfo(mesh->GetNumVertices(), mesh->GetFVF(), (uint32_t)r.Skin.size());
      // Map the file's vertex indices onto the split vertices.
      std::vector<std::vector<uint32_t>> copies(r.Positions.size());
      for (uint32_t v = 0; v < b.original.size(); ++v) copies[b.original[v]].push_back(v);
      for (uint32_t bone = 0; bone < r.Skin.size(); ++bone) {
        const auto& w = r.Skin[bone];
        std::vector<uint32_t> verts;
        std::vector<float> weights;
        for (size_t k = 0; k < w.Vertices.size(); ++k)
          for (uint32_t v : copies[w.Vertices[k]]) {
            verts.push_back(v);
            weights.push_back(w.Weights[k]);
          }
        skin->SetBoneName(bone, w.BoneName.c_str());
        skin->SetBoneOffsetMatrix(bone, &w.Offset);
        skin->SetBoneInfluence(bone, (uint32_t)verts.size(), verts.data(), weights.data());
      }
    }
    D3DXMESHDATA data;
    data.Type = D3DXMESHTYPE_MESH;
    data.pMesh = mesh;
    D3DXMESHCONTAINER* c = nullptr;
    HRESULT hr = m_Alloc->CreateMeshContainer(r.Name.empty() ? nullptr : r.Name.c_str(), &data,
                                              b.materials.empty() ? nullptr : b.materials.data(), nullptr,
                                              (uint32_t)b.materials.size(), adj.data(), skin, &c);
    mesh->Release();
    if (skin) skin->Release();
    if (FAILED(hr) || !c) return false;
    D3DXMESHCONTAINER** link = &frame->pMeshContainer;
    while (*link) link = &(*link)->pNextMeshContainer;
    *link = c;
    return true;
  }

  const std::vector<D3DXFRAME*>& Frames() const { return m_Frames; }

 private:
  ID3DXAllocateHierarchy* m_Alloc;
  uint32_t m_Options;
  IDevice* m_Device;
  std::vector<D3DXFRAME*> m_Frames;
};

void FindFrameMatrices(const XFrameRecord& f, std::unordered_map<std::string, D3DXMATRIX>& out) {
  if (!f.Name.empty() && !out.count(f.Name)) out[f.Name] = f.Transform;
  for (const auto& c : f.Children) FindFrameMatrices(c, out);
}

ID3DXAnimationSet* MakeSet(const XAnimationSetRecord& r, uint32_t ticksPerSecond,
                           const std::unordered_map<std::string, D3DXMATRIX>& frames) {
  auto keys = std::make_shared<AnimationKeys>();
  float last = 0;
  for (const auto& a : r.Animations) {
    AnimationChannel c;
    c.Target = a.Target;
    auto it = frames.find(a.Target);
    if (it != frames.end())
      D3DXMatrixDecompose(&c.DefaultScale, &c.DefaultRotation, &c.DefaultTranslation, &it->second);
    for (const auto& k : a.Scale) c.Scale.emplace_back(k.Time, k.Value);
    for (const auto& k : a.Rotation) c.Rotation.emplace_back(k.Time, k.Value);
    for (const auto& k : a.Position) c.Translation.emplace_back(k.Time, k.Value);
    for (const auto& k : a.Matrix) {
      D3DXVECTOR3 s, t;
      D3DXQUATERNION q;
      D3DXMatrixDecompose(&s, &q, &t, &k.Value);
      c.Scale.emplace_back(k.Time, s);
      c.Rotation.emplace_back(k.Time, q);
      c.Translation.emplace_back(k.Time, t);
    }
    auto byTime = [](const auto& x, const auto& y) { return x.first < y.first; };
    std::stable_sort(c.Scale.begin(), c.Scale.end(), byTime);
    std::stable_sort(c.Rotation.begin(), c.Rotation.end(), byTime);
    std::stable_sort(c.Translation.begin(), c.Translation.end(), byTime);
    for (const auto* v : {&c.Scale, &c.Translation})
      if (!v->empty()) last = std::max(last, v->back().first);
    if (!c.Rotation.empty()) last = std::max(last, c.Rotation.back().first);
    keys->Channels.push_back(std::move(c));
  }
  keys->LastKeyTime = last;
  return new ID3DXAnimationSet(r.Name, ticksPerSecond, D3DXPLAY_LOOP, keys);
}

HRESULT LoadHierarchyFromScene(const XScene& scene, uint32_t options, IDevice* device, ID3DXAllocateHierarchy* alloc,
                               D3DXFRAME** root, ID3DXAnimationController** controller) {
  HierarchyBuilder builder(alloc, options, device);
  D3DXFRAME* first = nullptr;
  D3DXFRAME** link = &first;
  bool ok = true;
  for (const auto& f : scene.Frames) {
    D3DXFRAME* frame = builder.Frame(f);
    if (!frame) {
      ok = false;
      break;
    }
    *link = frame;
    link = &frame->pFrameSibling;
  }
  if (ok && !scene.Meshes.empty()) {
    D3DXFRAME* holder = builder.NewFrame("");
    if (!holder) {
      ok = false;
    } else {
      *link = holder;
      for (const auto& m : scene.Meshes)
        if (!builder.Container(holder, m)) {
          ok = false;
          break;
        }
    }
  }
  if (ok && !first) {
    LogError("mesh file holds no frames or meshes");
    ok = false;
  }
  if (!ok) {
    // A frame that failed part-way destroyed itself; the rest hang from `first`.
    if (first) D3DXFrameDestroy(first, alloc);
    return E_FAIL;
  }
  if (controller) {
    const auto& frames = builder.Frames();
    uint32_t sets = (uint32_t)scene.AnimationSets.size();
    auto* c = new ID3DXAnimationController((uint32_t)frames.size(), std::max(sets, 1u), 2, 30);
    for (D3DXFRAME* f : frames)
      if (f->Name) c->RegisterAnimationOutput(f->Name, &f->TransformationMatrix);
    std::unordered_map<std::string, D3DXMATRIX> matrices;
    for (const auto& f : scene.Frames) FindFrameMatrices(f, matrices);
    for (const auto& r : scene.AnimationSets) {
      ID3DXAnimationSet* s = MakeSet(r, scene.TicksPerSecond, matrices);
      c->RegisterAnimationSet(s);
      s->Release();
    }
    *controller = c;
  }
  *root = first;
  return S_OK;
}

void SphereOfFrames(const D3DXFRAME* f, const D3DXMATRIX& parent, std::vector<D3DXVECTOR3>& points) {
  for (; f; f = f->pFrameSibling) {
    D3DXMATRIX combined = f->TransformationMatrix * parent;
    for (const D3DXMESHCONTAINER* c = f->pMeshContainer; c; c = c->pNextMeshContainer) {
      ID3DXMesh* m = c->MeshData.pMesh;
      if (!m) continue;
      void* vp = nullptr;
      m->LockVertexBuffer(D3DLOCK_READONLY, &vp);
      const uint8_t* v = static_cast<const uint8_t*>(vp);
      for (uint32_t i = 0; i < m->GetNumVertices(); ++i) {
        D3DXVECTOR3 p, w;
        std::memcpy(&p, v + (size_t)i * m->GetNumBytesPerVertex(), 12);
        D3DXVec3TransformCoord(&w, &p, &combined);
        points.push_back(w);
      }
      m->UnlockVertexBuffer();
    }
    SphereOfFrames(f->pFrameFirstChild, combined, points);
  }
}

}  // namespace

HRESULT D3DXLoadMeshFromXInMemory(const void* data, uint32_t size, uint32_t options, IDevice* device,
                                  ID3DXBuffer** adjacency, ID3DXBuffer** materials,
                                  ID3DXBuffer** effectInstances, uint32_t* numMaterials, ID3DXMesh** mesh) {
  if (!mesh) return E_INVALIDARG;
  *mesh = nullptr;
  XScene scene;
  if (!Parse(data, size, scene, "(memory)")) return E_FAIL;
  return LoadMeshFromScene(scene, options, device, adjacency, materials, effectInstances, numMaterials, mesh);
}

HRESULT D3DXLoadMeshFromXA(const char* filename, uint32_t options, IDevice* device,
                           ID3DXBuffer** adjacency, ID3DXBuffer** materials, ID3DXBuffer** effectInstances,
                           uint32_t* numMaterials, ID3DXMesh** mesh) {
  if (mesh) *mesh = nullptr;
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(filename, bytes)) return E_FAIL;
  return D3DXLoadMeshFromXInMemory(bytes.data(), (uint32_t)bytes.size(), options, device, adjacency, materials,
                                   effectInstances, numMaterials, mesh);
}

HRESULT D3DXLoadMeshHierarchyFromXInMemory(const void* data, uint32_t size, uint32_t options, IDevice* device,
                                           ID3DXAllocateHierarchy* alloc, ID3DXLoadUserData*,
                                           D3DXFRAME** frameHierarchy, ID3DXAnimationController** animController) {
  if (!alloc || !frameHierarchy) return E_INVALIDARG;
  *frameHierarchy = nullptr;
  if (animController) *animController = nullptr;
  XScene scene;
  if (!Parse(data, size, scene, "(memory)")) return E_FAIL;
  return LoadHierarchyFromScene(scene, options, device, alloc, frameHierarchy, animController);
}

HRESULT D3DXLoadMeshHierarchyFromXA(const char* filename, uint32_t options, IDevice* device,
                                    ID3DXAllocateHierarchy* alloc, ID3DXLoadUserData* userDataLoader,
                                    D3DXFRAME** frameHierarchy, ID3DXAnimationController** animController) {
  if (frameHierarchy) *frameHierarchy = nullptr;
  if (animController) *animController = nullptr;
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(filename, bytes)) return E_FAIL;
  return D3DXLoadMeshHierarchyFromXInMemory(bytes.data(), (uint32_t)bytes.size(), options, device, alloc,
                                            userDataLoader, frameHierarchy, animController);
}

HRESULT D3DXFrameDestroy(D3DXFRAME* root, ID3DXAllocateHierarchy* alloc) {
  if (!alloc) return E_INVALIDARG;
  while (root) {
    D3DXFRAME* next = root->pFrameSibling;
    if (root->pFrameFirstChild) D3DXFrameDestroy(root->pFrameFirstChild, alloc);
    D3DXMESHCONTAINER* c = root->pMeshContainer;
    while (c) {
      D3DXMESHCONTAINER* nc = c->pNextMeshContainer;
      alloc->DestroyMeshContainer(c);
      c = nc;
    }
    alloc->DestroyFrame(root);
    root = next;
  }
  return S_OK;
}

D3DXFRAME* D3DXFrameFind(const D3DXFRAME* root, const char* name) {
  for (const D3DXFRAME* f = root; f; f = f->pFrameSibling) {
    if (name && f->Name && std::strcmp(f->Name, name) == 0) return const_cast<D3DXFRAME*>(f);
    if (!name && !f->Name) return const_cast<D3DXFRAME*>(f);
    if (D3DXFRAME* found = D3DXFrameFind(f->pFrameFirstChild, name)) return found;
  }
  return nullptr;
}

HRESULT D3DXFrameCalculateBoundingSphere(const D3DXFRAME* root, D3DXVECTOR3* centre, float* radius) {
  if (!centre || !radius) return E_INVALIDARG;
  std::vector<D3DXVECTOR3> points;
  SphereOfFrames(root, D3DXMATRIX(), points);
  if (points.empty()) {
    *centre = D3DXVECTOR3(0, 0, 0);
    *radius = 0;
    return S_OK;
  }
  return D3DXComputeBoundingSphere(points.data(), (uint32_t)points.size(), sizeof(D3DXVECTOR3), centre, radius);
}

}  // namespace platform
