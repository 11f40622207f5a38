#pragma once
// Textures and buffers kept in memory. The headless device uses them as they
// are; the GL device derives from them and uploads what changed.
#include <cstdint>
#include <vector>

#include "platform/Graphics.h"

namespace platform {
namespace detail {

class MemoryTexture : public ITexture {
 public:
  struct Level {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> bytes;
  };
  // Valid sizes and a stored format only; check with Valid().
  MemoryTexture(uint32_t width, uint32_t height, uint32_t levels, DWORD usage, D3DFORMAT format, D3DPOOL pool);
  bool Valid() const { return !m_Levels.empty(); }
  // The number of levels of a full chain for a size.
  static uint32_t FullChainLength(uint32_t width, uint32_t height);

  uint32_t GetLevelCount() const override { return static_cast<uint32_t>(m_Levels.size()); }
  HRESULT GetLevelDesc(uint32_t level, D3DSURFACE_DESC* desc) const override;
  HRESULT LockRect(uint32_t level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
  HRESULT UnlockRect(uint32_t level) override;

  D3DFORMAT Format() const { return m_Format; }
  const Level& GetLevel(uint32_t i) const { return m_Levels[i]; }
  // Raised by every unlock; a backend re-uploads when it changed.
  uint64_t Version() const { return m_Version; }

 protected:
  std::vector<Level> m_Levels;
  D3DFORMAT m_Format;
  DWORD m_Usage;
  D3DPOOL m_Pool;
  uint32_t m_BytesPerPixel;
  int m_LockedLevel = -1;
  uint64_t m_Version = 1;
};

class MemoryVertexBuffer : public IVertexBuffer {
 public:
  MemoryVertexBuffer(uint32_t length, DWORD usage, DWORD fvf, D3DPOOL pool)
      : m_Bytes(length), m_Usage(usage), m_FVF(fvf), m_Pool(pool) {}
  HRESULT Lock(uint32_t offset, uint32_t size, void** data, DWORD flags) override;
  HRESULT Unlock() override;
  uint32_t GetLength() const override { return static_cast<uint32_t>(m_Bytes.size()); }
  DWORD GetFVF() const override { return m_FVF; }
  DWORD GetUsage() const override { return m_Usage; }
  D3DPOOL GetPool() const override { return m_Pool; }
  const std::vector<uint8_t>& Bytes() const { return m_Bytes; }
  uint64_t Version() const { return m_Version; }

 protected:
  std::vector<uint8_t> m_Bytes;
  DWORD m_Usage, m_FVF;
  D3DPOOL m_Pool;
  bool m_Locked = false;
  uint64_t m_Version = 1;
};

class MemoryIndexBuffer : public IIndexBuffer {
 public:
  MemoryIndexBuffer(uint32_t length, DWORD usage, D3DFORMAT format, D3DPOOL pool)
      : m_Bytes(length), m_Usage(usage), m_Format(format), m_Pool(pool) {}
  HRESULT Lock(uint32_t offset, uint32_t size, void** data, DWORD flags) override;
  HRESULT Unlock() override;
  uint32_t GetLength() const override { return static_cast<uint32_t>(m_Bytes.size()); }
  D3DFORMAT GetFormat() const override { return m_Format; }
  const std::vector<uint8_t>& Bytes() const { return m_Bytes; }
  uint32_t IndexSize() const { return m_Format == D3DFMT_INDEX32 ? 4 : 2; }
  uint64_t Version() const { return m_Version; }

 protected:
  std::vector<uint8_t> m_Bytes;
  DWORD m_Usage;
  D3DFORMAT m_Format;
  D3DPOOL m_Pool;
  bool m_Locked = false;
  uint64_t m_Version = 1;
};

// Checks shared by both devices: argument ranges of buffer creation.
bool ValidBufferRequest(uint32_t length, D3DPOOL pool);
// Bytes a non-indexed draw reads from a stream: false when they run past the end.
bool DrawFits(size_t available, uint32_t offset, uint32_t stride, uint32_t first, uint32_t count);

}  // namespace detail
}  // namespace platform
