#include "engine/resources/Mesh.h"

#include <cstdio>
#include <cstring>

#include "engine/app/GraphicsDevice.h"
#include "engine/resources/Shader.h"
#include "platform/Files.h"

namespace Nembra {

using namespace platform;

CSimpleMeshFactory* g_pSimpleMeshFactory = nullptr;

namespace {

// The file name without folder and without its last extension.
std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = file.find_last_of('.');
  return dot == std::string::npos ? file : file.substr(0, dot);
}

// The first line of a text file (at most 255 characters); false when it
// cannot be opened.
bool ReadFirstLine(const std::string& path, std::string& line) {
  FILE* f = OpenFile(path, "rb");
  if (!f) return false;
  char buf[256];
  size_t n = std::fread(buf, 1, 255, f);
  std::fclose(f);
  line.assign(buf, n);
  size_t end = line.find_first_of("\r\n");
  if (end != std::string::npos) line.resize(end);
  return true;
}

}  // namespace

CSimpleMesh::~CSimpleMesh() {
  m_Subsets.clear();
  SafeRelease(m_pMesh);
}

bool CSimpleMesh::Load(const std::string& path, bool optimise) {
  IDevice* device = g_pGraphicsDevice ? g_pGraphicsDevice->GetDevice() : nullptr;
  ID3DXMesh* mesh = nullptr;
  ID3DXBuffer *adjacency = nullptr, *materials = nullptr;
  uint32_t count = 0;
  if (FAILED(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_MANAGED, device, &adjacency, &materials, nullptr, &count,
                                &mesh)))
    return false;
  SafeRelease(m_pMesh);
  m_pMesh = mesh;
  DeriveSubsets(path, static_cast<ID3DXMaterialBuffer*>(materials)->Materials);
  if (optimise)
    m_pMesh->OptimizeInplace(D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE,
                             static_cast<uint32_t*>(adjacency->GetBufferPointer()), nullptr, nullptr, nullptr);
  SafeRelease(adjacency);
  SafeRelease(materials);
  void* vertices = nullptr;
  m_pMesh->LockVertexBuffer(D3DLOCK_READONLY, &vertices);
  const uint32_t stride = D3DXGetFVFVertexSize(m_pMesh->GetFVF());
  D3DXComputeBoundingSphere(static_cast<D3DXVECTOR3*>(vertices), m_pMesh->GetNumVertices(), stride,
                            &m_BoundingCenter, &m_BoundingRadius);
  D3DXComputeBoundingBox(static_cast<D3DXVECTOR3*>(vertices), m_pMesh->GetNumVertices(), stride, &m_BoundsMin,
                         &m_BoundsMax);
  m_pMesh->UnlockVertexBuffer();
  return true;
}

void CSimpleMesh::DeriveSubsets(const std::string& path, const std::vector<D3DXMATERIAL>& materials) {
  m_Subsets.clear();
  const std::string dir = g_pMaterialFactory ? g_pMaterialFactory->GetDirectory() : g_MaterialDirectory;
  const std::string base = BaseName(path);
  if (FileExists(dir + base + ".MP")) return;
  if (materials.empty()) {
    m_Subsets.resize(1);
    SUBSET_MATERIAL_DESC desc;
    desc.shaderName = DEFAULT_RESOURCE_NAME;
    desc.materialName = DEFAULT_RESOURCE_NAME;
    m_Subsets[0].SetUp(this, 0, desc, false);
    return;
  }
  m_Subsets.resize(materials.size());
  const bool ownBlocks = FileExists(dir + base + ".ush");
  for (uint32_t i = 0; i < materials.size(); ++i) {
    const std::string index = std::to_string(i);
    if (FileExists(dir + base + index + ".srf")) continue;  // left without material and block
    SUBSET_MATERIAL_DESC desc;
    desc.materialName = "AUTO_" + base + "_" + index;
    // The generated material is filled here; the subset takes a reference
    // of its own, and this one is given back once the subset is set up.
    CMaterial* generated = g_pMaterialFactory ? g_pMaterialFactory->Get(desc.materialName) : nullptr;
    if (generated) generated->SetFromD3DX(materials[i].MatD3D);
    struct GiveBack {
      CMaterial* m;
      ~GiveBack() {
        if (m && g_pMaterialFactory) g_pMaterialFactory->Release(m->GetName());
      }
    } giveBack{generated};
    const D3DXMATERIAL& xm = materials[i];
    desc.textureNames.push_back(xm.HasTexture() ? xm.TextureFilename : DEFAULT_RESOURCE_NAME);
    std::string reflection;
    if (xm.HasTexture() && ReadFirstLine(dir + xm.TextureFilename + ".rfx", reflection)) {
      desc.textureNames.push_back(reflection);
      desc.shaderName = "AUTO_" + base + "_REFLEX_" + index;
      if (m_Subsets[i].SetUp(this, i, desc, false) && m_Subsets[i].GetShader()) {
        CShader* block = m_Subsets[i].GetShader();
        block->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
        block->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_SPHEREMAP);
      }
      continue;
    }
    bool useShared = true;
    if (ownBlocks) {
      useShared = false;
      desc.shaderName = "AUTO_" + base + index;
    }
    m_Subsets[i].SetUp(this, i, desc, useShared);
  }
}

void CSimpleMesh::DrawSubset(uint32_t index) {
  if (m_pMesh) m_pMesh->DrawSubset(index);
}

std::string CSimpleMeshFactory::GetDirectory() const { return g_SimpleMeshDirectory; }

bool CSimpleMeshFactory::Load(const std::string& key) {
  CSimpleMesh& mesh = FindOrInsert(key);
  mesh.SetName(key);
  if (!mesh.Load(PathFor(key), true)) {
    Erase(key);
    return false;
  }
  mesh.SetRefCount(1);
  return true;
}

}  // namespace Nembra
