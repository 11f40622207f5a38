#pragma once
// Textures loaded from image files, and the ordered set of textures that one
// material or sprite binds to stages 0, 1, ...
#include <cstdint>
#include <string>
#include <vector>

#include "engine/resources/Factory.h"
#include "platform/Graphics.h"

namespace Nembra {

class CTexture : public CResource {
 public:
  CTexture() = default;
  ~CTexture() override;
  CTexture(const CTexture&) = delete;
  CTexture& operator=(const CTexture&) = delete;

  // Loads an image file with the given filter, mip-level count, mip filter
  // and colour key. A load that fails with a mip chain is tried once more
  // with a single level. False leaves the texture empty.
  bool Load(const std::string& path, uint32_t filter, uint32_t mipLevels, uint32_t mipFilter,
            uint32_t colorKey);
  // Replaces the texture by a 1 x 1 texel of one colour (fractions 0..1).
  bool CreateSolidColor(float red, float green, float blue, float alpha);
  // True for the formats with an alpha channel: A8R8G8B8, A1R5G5B5, A4R4G4B4.
  bool HasAlphaFormat() const;

  // The device texture (null for an empty texture; binding it unbinds the stage).
  platform::ITexture* GetTexture() const { return m_pTexture; }
  const platform::D3DSURFACE_DESC& GetDesc() const { return m_Desc; }
  uint32_t GetWidth() const { return m_Desc.Width; }
  uint32_t GetHeight() const { return m_Desc.Height; }

 private:
  void Free();

  platform::ITexture* m_pTexture = nullptr;
  platform::D3DSURFACE_DESC m_Desc;
};

class CTextureSet {
 public:
  // A count of 0 leaves the set as it is; new places are null.
  void Resize(size_t count);
  // Replaces the texture of one stage; false for an index outside the set.
  bool SetTexture(size_t index, CTexture* texture);
  CTexture* GetTexture(size_t index) const { return index < m_Textures.size() ? m_Textures[index] : nullptr; }
  size_t GetCount() const { return m_Textures.size(); }
  // Binds texture i to stage i; an empty set unbinds stage 0. A null place
  // unbinds its stage.
  void Apply() const;
  // Same count and the same texture objects in the same order.
  bool Equals(const CTextureSet* other) const;
  // No texture of the set has an alpha format.
  bool IsOpaque() const;
  // The names of the textures in stage order, concatenated (cached).
  const std::string& GetName() const;

 private:
  std::vector<CTexture*> m_Textures;
  mutable std::string m_Name;
};

class CTextureFactory : public CFactory<CTexture> {
 public:
  CTextureFactory();
  bool Load(const std::string& key) override;
  std::string GetDirectory() const override;
  // "texture" while a device exists (without one no texture loads).
  const char* GetMissingKind() const override;
  // Get with a single mip level; afterwards the load parameters are the
  // normal ones again.
  CTexture* GetSingleLevel(const std::string& name);

  uint32_t m_Filter = platform::D3DX_DEFAULT;
  uint32_t m_MipLevels = 0;
  uint32_t m_MipFilter = platform::D3DX_DEFAULT;
};

extern CTextureFactory* g_pTextureFactory;

}  // namespace Nembra
