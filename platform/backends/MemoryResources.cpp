#include "platform/backends/MemoryResources.h"

#include <algorithm>

namespace platform {
namespace detail {

namespace {
constexpr uint32_t kMaxTextureSize = 16384;
}

uint32_t MemoryTexture::FullChainLength(uint32_t width, uint32_t height) {
  uint32_t n = 1;
  while (width > 1 || height > 1) {
    width = std::max(1u, width / 2);
    height = std::max(1u, height / 2);
    ++n;
  }
  return n;
}

MemoryTexture::MemoryTexture(uint32_t width, uint32_t height, uint32_t levels, DWORD usage, D3DFORMAT format,
                             D3DPOOL pool)
    : m_Format(format), m_Usage(usage), m_Pool(pool), m_BytesPerPixel(FormatBytesPerPixel(format)) {
  if (width == 0 || height == 0 || width > kMaxTextureSize || height > kMaxTextureSize || m_BytesPerPixel == 0)
    return;
  const uint32_t full = FullChainLength(width, height);
  if (levels == 0 || levels > full) levels = full;
  for (uint32_t i = 0; i < levels; ++i) {
    Level level;
    level.width = width;
    level.height = height;
    level.bytes.assign(size_t(width) * height * m_BytesPerPixel, 0);
    m_Levels.push_back(std::move(level));
    width = std::max(1u, width / 2);
    height = std::max(1u, height / 2);
  }
}

HRESULT MemoryTexture::GetLevelDesc(uint32_t level, D3DSURFACE_DESC* desc) const {
  if (!desc || level >= m_Levels.size()) return D3DERR_INVALIDCALL;
  *desc = D3DSURFACE_DESC();
  desc->Format = m_Format;
  desc->Type = D3DRTYPE_SURFACE;
  desc->Usage = m_Usage;
  desc->Pool = m_Pool;
  desc->Width = m_Levels[level].width;
  desc->Height = m_Levels[level].height;
  return D3D_OK;
}

HRESULT MemoryTexture::LockRect(uint32_t level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
  if (!locked || level >= m_Levels.size() || m_LockedLevel >= 0) return D3DERR_INVALIDCALL;
  Level& l = m_Levels[level];
  size_t offset = 0;
  if (rect) {
    if (rect->left < 0 || rect->top < 0 || rect->right <= rect->left || rect->bottom <= rect->top ||
        uint32_t(rect->right) > l.width || uint32_t(rect->bottom) > l.height)
      return D3DERR_INVALIDCALL;
    offset = (size_t(rect->top) * l.width + size_t(rect->left)) * m_BytesPerPixel;
  }
  locked->Pitch = static_cast<int32_t>(l.width * m_BytesPerPixel);
  locked->pBits = l.bytes.data() + offset;
  m_LockedLevel = static_cast<int>(level);
  return D3D_OK;
}

HRESULT MemoryTexture::UnlockRect(uint32_t level) {
  if (m_LockedLevel < 0 || uint32_t(m_LockedLevel) != level) return D3DERR_INVALIDCALL;
  m_LockedLevel = -1;
  ++m_Version;
  return D3D_OK;
}

namespace {
HRESULT LockBytes(std::vector<uint8_t>& bytes, bool& lockedFlag, uint32_t offset, uint32_t size, void** data) {
  if (!data || lockedFlag) return D3DERR_INVALIDCALL;
  if (offset > bytes.size()) return D3DERR_INVALIDCALL;
  if (size != 0 && size > bytes.size() - offset) return D3DERR_INVALIDCALL;
  *data = bytes.data() + offset;
  lockedFlag = true;
  return D3D_OK;
}
}  // namespace

HRESULT MemoryVertexBuffer::Lock(uint32_t offset, uint32_t size, void** data, DWORD flags) {
  return LockBytes(m_Bytes, m_Locked, offset, size, data);
}
HRESULT MemoryVertexBuffer::Unlock() {
  if (!m_Locked) return D3DERR_INVALIDCALL;
  m_Locked = false;
  ++m_Version;
  return D3D_OK;
}
HRESULT MemoryIndexBuffer::Lock(uint32_t offset, uint32_t size, void** data, DWORD flags) {
  return LockBytes(m_Bytes, m_Locked, offset, size, data);
}
HRESULT MemoryIndexBuffer::Unlock() {
  if (!m_Locked) return D3DERR_INVALIDCALL;
  m_Locked = false;
  ++m_Version;
  return D3D_OK;
}

bool ValidBufferRequest(uint32_t length, D3DPOOL pool) {
  return length > 0 && length <= (256u << 20) && pool <= D3DPOOL_SCRATCH;
}

bool DrawFits(size_t available, uint32_t offset, uint32_t stride, uint32_t first, uint32_t count) {
  if (count == 0) return true;
  const uint64_t end = uint64_t(offset) + (uint64_t(first) + count) * stride;
  return stride > 0 && end <= available;
}

}  // namespace detail
}  // namespace platform
