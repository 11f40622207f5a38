#include "engine/resources/Texture.h"

#include <algorithm>

#include "engine/app/GraphicsDevice.h"

namespace Nembra {

using namespace platform;

CTextureFactory* g_pTextureFactory = nullptr;

namespace {
IDevice* Device() { return g_pGraphicsDevice ? g_pGraphicsDevice->GetDevice() : nullptr; }
}  // namespace

CTexture::~CTexture() { Free(); }

void CTexture::Free() {
  if (m_pTexture) m_pTexture->Release();
  m_pTexture = nullptr;
  m_Desc = D3DSURFACE_DESC();
}

bool CTexture::Load(const std::string& path, uint32_t filter, uint32_t mipLevels, uint32_t mipFilter,
                    uint32_t colorKey) {
  Free();
  IDevice* device = Device();
  if (!device) return false;
  auto attempt = [&](uint32_t levels) {
    return SUCCEEDED(CreateTextureFromFileEx(device, path, D3DX_DEFAULT, D3DX_DEFAULT, levels, 0, D3DFMT_UNKNOWN,
                                             D3DPOOL_MANAGED, filter, mipFilter, colorKey, &m_pTexture));
  };
  // A device that refuses the mip chain gets a single level.
  if (!attempt(mipLevels) && (mipLevels == 1 || !attempt(1))) {
    m_pTexture = nullptr;
    return false;
  }
  m_pTexture->GetLevelDesc(0, &m_Desc);
  return true;
}

bool CTexture::CreateSolidColor(float red, float green, float blue, float alpha) {
  Free();
  IDevice* device = Device();
  if (!device) return false;
  if (FAILED(device->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &m_pTexture))) {
    m_pTexture = nullptr;
    return false;
  }
  D3DLOCKED_RECT locked;
  if (FAILED(m_pTexture->LockRect(0, &locked, nullptr, 0))) {
    Free();
    return false;
  }
  // Bytes in memory order blue, green, red, alpha (one ARGB word); each
  // fraction is held to 0..1 so a value out of range cannot wrap around.
  auto byte = [](float f) { return static_cast<uint8_t>(static_cast<int>(std::min(1.0f, std::max(0.0f, f)) * 255.0f)); };
  uint8_t* texel = static_cast<uint8_t*>(locked.pBits);
  texel[0] = byte(blue);
  texel[1] = byte(green);
  texel[2] = byte(red);
  texel[3] = byte(alpha);
  m_pTexture->UnlockRect(0);
  m_pTexture->GetLevelDesc(0, &m_Desc);
  return true;
}

bool CTexture::HasAlphaFormat() const {
  return m_Desc.Format == D3DFMT_A8R8G8B8 || m_Desc.Format == D3DFMT_A1R5G5B5 || m_Desc.Format == D3DFMT_A4R4G4B4;
}

// ---- Texture sets ----

void CTextureSet::Resize(size_t count) {
  if (count == 0) return;
  m_Textures.resize(count, nullptr);
  m_Name.clear();
}

bool CTextureSet::SetTexture(size_t index, CTexture* texture) {
  if (index >= m_Textures.size()) return false;
  m_Textures[index] = texture;
  m_Name.clear();
  return true;
}

void CTextureSet::Apply() const {
  IDevice* device = Device();
  if (!device) return;
  if (m_Textures.empty()) {
    device->SetTexture(0, nullptr);
    return;
  }
  for (size_t i = 0; i < m_Textures.size(); ++i)
    device->SetTexture(static_cast<DWORD>(i), m_Textures[i] ? m_Textures[i]->GetTexture() : nullptr);
}

bool CTextureSet::Equals(const CTextureSet* other) const {
  if (other == this) return true;
  if (!other || other->m_Textures.size() != m_Textures.size()) return false;
  return other->m_Textures == m_Textures;
}

bool CTextureSet::IsOpaque() const {
  for (const CTexture* t : m_Textures)
    if (t && t->HasAlphaFormat()) return false;
  return true;
}

const std::string& CTextureSet::GetName() const {
  if (m_Name.empty())
    for (const CTexture* t : m_Textures)
      if (t) m_Name += t->GetName();
  return m_Name;
}

// ---- The factory ----

CTextureFactory::CTextureFactory() { m_pDefault = MakeDefaultEntry(DEFAULT_RESOURCE_NAME); }

std::string CTextureFactory::GetDirectory() const { return g_TextureDirectory; }

bool CTextureFactory::Load(const std::string& key) {
  CTexture& texture = FindOrInsert(key);
  if (!texture.Load(PathFor(key), m_Filter, m_MipLevels, m_MipFilter, 0)) {
    Erase(key);
    return false;
  }
  texture.SetName(key);
  texture.SetRefCount(1);
  return true;
}

const char* CTextureFactory::GetMissingKind() const { return Device() ? "texture" : nullptr; }

CTexture* CTextureFactory::GetSingleLevel(const std::string& name) {
  m_MipLevels = 1;
  CTexture* texture = Get(name);
  m_Filter = D3DX_DEFAULT;
  m_MipLevels = 0;
  m_MipFilter = D3DX_DEFAULT;
  return texture;
}

}  // namespace Nembra
