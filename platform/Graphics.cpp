#include "platform/Graphics.h"

#include <algorithm>

#include "platform/HeadlessGraphics.h"
#include "platform/Image.h"
#include "platform/Log.h"
#include "platform/Platform.h"

namespace platform {

namespace detail {
IGraphicsSystem* CreateGlGraphicsSystem();
IGraphicsSystem* CreateOffscreenGlGraphicsSystem(std::string* why, uint32_t screenWidth, uint32_t screenHeight);
}  // namespace detail

uint32_t IUnknownObject::Release() {
  const uint32_t left = --m_References;
  if (left == 0) delete this;
  return left;
}

uint32_t FormatBytesPerPixel(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
      return 4;
    case D3DFMT_R8G8B8:
      return 3;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4:
    case D3DFMT_A8L8:
      return 2;
    case D3DFMT_A8:
    case D3DFMT_L8:
      return 1;
    default:
      return 0;
  }
}

VertexLayout DescribeFVF(DWORD fvf) {
  VertexLayout l;
  uint32_t offset = 0;
  const DWORD pos = fvf & D3DFVF_POSITION_MASK;
  switch (pos) {
    case D3DFVF_XYZ: l.positionFloats = 3; break;
    case D3DFVF_XYZRHW: l.positionFloats = 4; l.screenSpace = true; break;
    case D3DFVF_XYZW: l.positionFloats = 4; break;
    case D3DFVF_XYZB1: case D3DFVF_XYZB2: case D3DFVF_XYZB3: case D3DFVF_XYZB4: case D3DFVF_XYZB5:
      l.positionFloats = 3;
      l.blendCount = static_cast<int>((pos - D3DFVF_XYZRHW) / 2);
      break;
    default:
      return VertexLayout();  // no (or an unknown) position
  }
  l.position = 0;
  offset = 4 * l.positionFloats;
  if (l.blendCount > 0) {
    l.blendWeights = static_cast<int>(offset);
    offset += 4 * l.blendCount;
  }
  if (fvf & D3DFVF_NORMAL) { l.normal = static_cast<int>(offset); offset += 12; }
  if (fvf & D3DFVF_PSIZE) { l.pointSize = static_cast<int>(offset); offset += 4; }
  if (fvf & D3DFVF_DIFFUSE) { l.diffuse = static_cast<int>(offset); offset += 4; }
  if (fvf & D3DFVF_SPECULAR) { l.specular = static_cast<int>(offset); offset += 4; }
  l.texCount = static_cast<int>((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
  if (l.texCount > 8) return VertexLayout();
  for (int i = 0; i < l.texCount; ++i) {
    static const int kFloats[4] = {2, 3, 4, 1};
    const int n = kFloats[(fvf >> (16 + 2 * i)) & 3];
    l.texCoord[i] = static_cast<int>(offset);
    l.texFloats[i] = n;
    offset += 4 * n;
  }
  l.stride = offset;
  return l;
}

uint32_t GetFVFVertexSize(DWORD fvf) { return DescribeFVF(fvf).stride; }

uint32_t PrimitiveVertexCount(D3DPRIMITIVETYPE type, uint32_t n) {
  if (n == 0) return 0;
  uint64_t count;
  switch (type) {
    case D3DPT_POINTLIST: count = n; break;
    case D3DPT_LINELIST: count = uint64_t(n) * 2; break;
    case D3DPT_LINESTRIP: count = uint64_t(n) + 1; break;
    case D3DPT_TRIANGLELIST: count = uint64_t(n) * 3; break;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: count = uint64_t(n) + 2; break;
    default: return 0;
  }
  // A count that does not fit is no draw at all (rather than a wrapped, small one).
  return count <= 0xFFFFFFFFu ? uint32_t(count) : 0;
}

IGraphicsSystem* CreateGraphicsSystem() {
  if (IsHeadless()) return headless::CreateHeadlessGraphicsSystem();
  return detail::CreateGlGraphicsSystem();
}

IGraphicsSystem* CreateOffscreenGraphicsSystem(std::string* why, uint32_t screenWidth, uint32_t screenHeight) {
  return detail::CreateOffscreenGlGraphicsSystem(why, screenWidth, screenHeight);
}

HRESULT CreateTextureFromFileEx(IDevice* device, const std::string& path, uint32_t width, uint32_t height,
                                uint32_t mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter,
                                DWORD mipFilter, D3DCOLOR colorKey, ITexture** texture) {
  if (!device || !texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  Image image;
  std::string error;
  if (!LoadImageFile(path, image, &error)) {
    LogWarning("Texture " + path + " could not be read: " + error);
    return D3DERR_INVALIDCALL;
  }
  if (width == 0 || width == D3DX_DEFAULT) width = NextPowerOfTwo(image.width);
  else if (width == D3DX_DEFAULT_NONPOW2) width = image.width;
  if (height == 0 || height == D3DX_DEFAULT) height = NextPowerOfTwo(image.height);
  else if (height == D3DX_DEFAULT_NONPOW2) height = image.height;
  if (format == D3DFMT_UNKNOWN) format = image.format;
  if (mipLevels == D3DX_DEFAULT) mipLevels = 0;

  if (colorKey != 0) {
    for (uint32_t& p : image.argb)
      if (p == colorKey) p = 0;
  }
  if (image.width != width || image.height != height) image = ResizeImage(image, width, height);

  ITexture* made = nullptr;
  HRESULT hr = device->CreateTexture(width, height, mipLevels, usage, format, pool, &made);
  if (FAILED(hr)) return hr;
  const uint32_t levels = made->GetLevelCount();
  Image level = image;
  for (uint32_t i = 0; i < levels; ++i) {
    D3DSURFACE_DESC desc;
    made->GetLevelDesc(i, &desc);
    if (level.width != desc.Width || level.height != desc.Height) level = ResizeImage(level, desc.Width, desc.Height);
    D3DLOCKED_RECT locked;
    if (FAILED(made->LockRect(i, &locked, nullptr, 0))) {
      made->Release();
      return D3DERR_INVALIDCALL;
    }
    const bool packed = PackPixels(level.argb.data(), level.argb.size(), format, static_cast<uint8_t*>(locked.pBits));
    made->UnlockRect(i);
    if (!packed) {
      made->Release();
      return D3DERR_INVALIDCALL;
    }
  }
  *texture = made;
  return D3D_OK;
}

}  // namespace platform
