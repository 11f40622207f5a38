#include "engine/resources/Material.h"

#include <cstdio>
#include <cstring>

#include "engine/app/GraphicsDevice.h"
#include "engine/resources/Mesh.h"
#include "engine/resources/Shader.h"
#include "platform/Files.h"

namespace Nembra {

CMaterialFactory* g_pMaterialFactory = nullptr;

CMaterial::CMaterial() {
  m_Material.Diffuse = D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 1.0f};
  m_Material.Ambient = D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 1.0f};
  m_Material.Specular = D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 1.0f};
  m_Material.Emissive = D3DCOLORVALUE{0, 0, 0, 0};
  m_Material.Power = 0;
}

void CMaterial::SetFromD3DX(const platform::D3DMATERIAL9& material) {
  m_Material = material;
  if (material.Ambient.a != 1.0f || material.Diffuse.a != 1.0f || material.Emissive.a != 1.0f ||
      material.Specular.a != 1.0f)
    m_Opaque = 0;
}

void CMaterial::Apply() const {
  if (g_pGraphicsDevice && g_pGraphicsDevice->GetDevice()) g_pGraphicsDevice->GetDevice()->SetMaterial(&m_Material);
}

bool CMaterial::Load(const std::string& path) {
  FILE* f = platform::OpenFile(path, "rb");
  if (!f) return false;
  float values[17];
  size_t got = std::fread(values, sizeof(float), 17, f);
  std::fclose(f);
  float* fields[17] = {&m_Material.Diffuse.r,  &m_Material.Diffuse.g,  &m_Material.Diffuse.b,
                       &m_Material.Diffuse.a,  &m_Material.Ambient.r,  &m_Material.Ambient.g,
                       &m_Material.Ambient.b,  &m_Material.Ambient.a,  &m_Material.Specular.r,
                       &m_Material.Specular.g, &m_Material.Specular.b, &m_Material.Specular.a,
                       &m_Material.Emissive.r, &m_Material.Emissive.g, &m_Material.Emissive.b,
                       &m_Material.Emissive.a, &m_Material.Power};
  for (size_t i = 0; i < got; ++i) *fields[i] = values[i];
  return true;
}

CMaterialFactory::CMaterialFactory() { m_pDefault = MakeDefaultEntry(DEFAULT_RESOURCE_NAME); }

std::string CMaterialFactory::GetDirectory() const { return g_MaterialDirectory; }

bool CMaterialFactory::Load(const std::string& key) {
  CMaterial& material = FindOrInsert(key);
  if (!IsGeneratedName(key) && !material.Load(PathFor(key))) {
    Erase(key);
    return false;
  }
  material.SetName(key);
  material.SetRefCount(1);
  return true;
}

// ---------------------------------------------------------------------------

CMeshSubset::~CMeshSubset() { Free(); }

CMeshSubset::CMeshSubset(CMeshSubset&& o) noexcept
    : m_Name(std::move(o.m_Name)),
      m_pOwner(o.m_pOwner),
      m_Index(o.m_Index),
      m_pShader(o.m_pShader),
      m_pMaterial(o.m_pMaterial),
      m_Textures(std::move(o.m_Textures)),
      m_TextureNames(std::move(o.m_TextureNames)) {
  o.m_pShader = nullptr;
  o.m_pMaterial = nullptr;
  o.m_Textures = CTextureSet();
}

CMeshSubset& CMeshSubset::operator=(CMeshSubset&& o) noexcept {
  if (this != &o) {
    Free();
    m_Name = std::move(o.m_Name);
    m_pOwner = o.m_pOwner;
    m_Index = o.m_Index;
    m_pShader = o.m_pShader;
    m_pMaterial = o.m_pMaterial;
    m_Textures = std::move(o.m_Textures);
    m_TextureNames = std::move(o.m_TextureNames);
    o.m_pShader = nullptr;
    o.m_pMaterial = nullptr;
    o.m_Textures = CTextureSet();
  }
  return *this;
}

void CMeshSubset::Free() {
  if (m_pShader && g_pShaderFactory) g_pShaderFactory->Release(m_pShader->GetName());
  if (m_pMaterial && g_pMaterialFactory) g_pMaterialFactory->Release(m_pMaterial->GetName());
  for (size_t i = 0; i < m_Textures.GetCount(); ++i)
    if (CTexture* t = m_Textures.GetTexture(i))
      if (g_pTextureFactory) g_pTextureFactory->Release(t->GetName());
  m_pShader = nullptr;
  m_pMaterial = nullptr;
  m_Textures = CTextureSet();
}

bool CMeshSubset::SetUp(CMesh* owner, uint32_t index, const SUBSET_MATERIAL_DESC& desc, bool useSharedDefault) {
  m_pOwner = owner;
  m_Name = (owner ? owner->GetName() : std::string()) + std::to_string(index);
  m_Index = index;
  m_pMaterial = g_pMaterialFactory ? g_pMaterialFactory->Get(desc.materialName) : nullptr;
  if (!m_pMaterial) return false;
  m_TextureNames.clear();
  m_Textures.Resize(desc.textureNames.size());
  for (size_t j = 0; j < desc.textureNames.size(); ++j) {
    CTexture* t = g_pTextureFactory ? g_pTextureFactory->Get(desc.textureNames[j]) : nullptr;
    m_Textures.SetTexture(j, t);
    if (t) m_TextureNames += t->GetName();
  }
  const bool opaque = IsOpaque();
  const std::string fitting = opaque ? DEFAULT_RESOURCE_NAME : DEFAULT_TRANSPARENT_RESOURCE_NAME;
  const std::string shaderName = useSharedDefault ? fitting : desc.shaderName;
  m_pShader = g_pShaderFactory ? g_pShaderFactory->Get(shaderName) : nullptr;
  if (!m_pShader) return false;
  if (useSharedDefault) return true;
  // A block of its own: a copy of the fitting default.
  CShader* source = opaque ? g_pShaderFactory->GetDefault() : g_pShaderFactory->GetDefaultTransparent();
  if (source && source != m_pShader) *m_pShader = *source;
  return true;
}

void CMeshSubset::Draw() const {
  if (m_pOwner) m_pOwner->DrawSubset(m_Index);
}

bool CMeshSubset::IsOpaque() const {
  return m_pMaterial && m_pMaterial->IsOpaque() && m_Textures.IsOpaque();
}

}  // namespace Nembra
