#pragma once
// Lighting materials, their factory, and the per-subset record that binds a
// mesh subset to its material, textures and render-state block.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/resources/Factory.h"
#include "engine/resources/Texture.h"
#include "platform/Graphics.h"

namespace Nembra {

class CShader;

class CMaterial : public CResource {
 public:
  // Diffuse, ambient and specular (0.5, 0.5, 0.5, 1), emissive 0, power 0, opaque.
  CMaterial();
  ~CMaterial() override = default;

  // Copies the 17 values; clears the opaque flag when an alpha (ambient,
  // diffuse, emissive, specular) differs from 1. It never sets the flag.
  void SetFromD3DX(const platform::D3DMATERIAL9& material);
  // Sets the device's material.
  void Apply() const;
  // Reads a material file: up to 17 little-endian floats; a short file
  // keeps the values it does not reach. False when it cannot be opened.
  bool Load(const std::string& path);

  const platform::D3DMATERIAL9& GetMaterial() const { return m_Material; }
  platform::D3DMATERIAL9& GetMaterial() { return m_Material; }
  bool IsOpaque() const { return m_Opaque != 0; }
  void SetOpaque(bool opaque) { m_Opaque = opaque ? 1 : 0; }

 private:
  platform::D3DMATERIAL9 m_Material;
  uint8_t m_Opaque = 1;
};

class CMaterialFactory : public CFactory<CMaterial> {
 public:
  CMaterialFactory();
  bool Load(const std::string& key) override;
  std::string GetDirectory() const override;
};

extern CMaterialFactory* g_pMaterialFactory;

// What a subset is set up from.
struct SUBSET_MATERIAL_DESC {
  std::string shaderName;
  std::string materialName;
  std::vector<std::string> textureNames;
};

class CMesh;

// One subset of a mesh with its state block, material and textures. The
// record holds one reference of each and gives them back when destroyed.
class CMeshSubset {
 public:
  CMeshSubset() = default;
  ~CMeshSubset();
  CMeshSubset(CMeshSubset&& other) noexcept;
  CMeshSubset& operator=(CMeshSubset&& other) noexcept;
  CMeshSubset(const CMeshSubset&) = delete;
  CMeshSubset& operator=(const CMeshSubset&) = delete;

  // False when the material or the state block cannot be had; what was
  // taken so far is kept (and given back with the record).
  bool SetUp(CMesh* owner, uint32_t index, const SUBSET_MATERIAL_DESC& desc, bool useSharedDefault);
  // Asks the owner to draw this subset.
  void Draw() const;
  // The material and the texture set are both opaque.
  bool IsOpaque() const;
  // Set up with a material and a state block (a subset left fresh is not).
  bool IsSetUp() const { return m_pMaterial && m_pShader; }

  const std::string& GetName() const { return m_Name; }
  uint32_t GetIndex() const { return m_Index; }
  CShader* GetShader() const { return m_pShader; }
  CMaterial* GetMaterial() const { return m_pMaterial; }
  const CTextureSet& GetTextures() const { return m_Textures; }
  const std::string& GetTextureNames() const { return m_TextureNames; }

 private:
  void Free();

  std::string m_Name;
  CMesh* m_pOwner = nullptr;
  uint32_t m_Index = 0;
  CShader* m_pShader = nullptr;
  CMaterial* m_pMaterial = nullptr;
  CTextureSet m_Textures;
  std::string m_TextureNames;
};

}  // namespace Nembra
