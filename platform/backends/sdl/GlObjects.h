#pragma once
// The device's textures and buffers: kept in memory as the platform's
// memory resources are, and mirrored in GL objects when drawn.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Graphics.h"
#include "platform/backends/MemoryResources.h"
#include "platform/backends/sdl/GlState.h"

namespace platform {
namespace detail {

// What objects made by the device share with it: whether it still exists,
// what it has bound (a deleted name must not stay known as bound), and the
// large buffers its static geometry shares.
struct DeviceLink {
  bool alive = true;
  gl::StateCache cache;
  gl::BufferArena arena;
};

class GlTexture final : public MemoryTexture {
 public:
  GlTexture(std::shared_ptr<DeviceLink> link, uint32_t w, uint32_t h, uint32_t levels, DWORD usage, D3DFORMAT format,
            D3DPOOL pool)
      : MemoryTexture(w, h, levels, usage, format, pool), m_Link(std::move(link)) {}
  // Binds the texture to a unit, uploading what changed.
  void Bind(int unit) {
    gl::StateCache& cache = m_Link->cache;
    if (!m_Id) {
      cache.Changing();
      glGenTextures(1, &m_Id);
      cache.BindTexture(unit, m_Id);
      cache.ActiveUnit(unit);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(m_Levels.size()) - 1);
    } else {
      cache.BindTexture(unit, m_Id);
    }
    if (m_Uploaded == m_Version) return;
    cache.Changing();
    cache.ActiveUnit(unit);
    std::vector<uint32_t> argb;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    for (size_t i = 0; i < m_Levels.size(); ++i) {
      const Level& l = m_Levels[i];
      argb.resize(size_t(l.width) * l.height);
      UnpackPixels(l.bytes.data(), argb.size(), m_Format, argb.data());
      glTexImage2D(GL_TEXTURE_2D, GLint(i), GL_RGBA8, GLsizei(l.width), GLsizei(l.height), 0, GL_BGRA,
                   GL_UNSIGNED_BYTE, argb.data());
    }
    m_Uploaded = m_Version;
  }
  uint32_t LevelCountForSampling() const { return uint32_t(m_Levels.size()); }

 protected:
  ~GlTexture() override {
    if (m_Id && m_Link->alive) {
      m_Link->cache.Changing();
      m_Link->cache.ForgetTexture(m_Id);
      glDeleteTextures(1, &m_Id);
    }
  }

 private:
  std::shared_ptr<DeviceLink> m_Link;
  GLuint m_Id = 0;
  uint64_t m_Uploaded = 0;
};

// A GL buffer object that follows the bytes of a memory buffer. Geometry
// written once lives in the device's shared buffers, so that draws of many
// meshes bind nothing new; geometry written again gets a buffer of its own,
// where an update never waits for draws that read its neighbours.
struct GlBufferObject {
  GLuint id = 0;
  size_t offset = 0;  // where the bytes start in the buffer
  uint64_t uploaded = 0;
  gl::BufferArena::Slot slot;  // the room in a shared buffer, if any
  // align: the first byte's offset is a multiple of it (a whole number of
  // vertices or indices from the buffer's start).
  void Bind(DeviceLink& link, GLenum target, const std::vector<uint8_t>& bytes, uint64_t version, DWORD usage,
            size_t align) {
    const bool shareable = !(usage & D3DUSAGE_DYNAMIC) && uploaded == 0 && !bytes.empty();
    if (uploaded != version || !id) link.cache.Changing();
    if (uploaded != version && shareable && !id && link.arena.Allocate(bytes.size(), align, &slot)) {
      id = slot.id;
      offset = slot.offset;
      BindTarget(link, target);
      link.arena.Write(slot, bytes.data(), bytes.size());
      uploaded = version;
      ++link.cache.Counters().bufferUploads;
      return;
    }
    if (uploaded != version && slot.id) {
      // Written again: it moves to a buffer of its own.
      link.arena.Free(slot);
      slot = gl::BufferArena::Slot();
      id = 0;
      offset = 0;
    }
    if (!id) glGenBuffers(1, &id);
    BindTarget(link, target);
    if (uploaded != version) {
      glBufferData(target, GLsizeiptr(bytes.size()), bytes.data(),
                   (usage & D3DUSAGE_DYNAMIC) ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW);
      uploaded = version;
      ++link.cache.Counters().bufferUploads;
    }
  }
  void BindTarget(DeviceLink& link, GLenum target) {
    if (target == GL_ARRAY_BUFFER) link.cache.BindArrayBuffer(id);
    else link.cache.BindElementBuffer(id);
  }
  void Delete(DeviceLink& link) {
    if (!link.alive) return;
    link.cache.Changing();
    if (slot.id) {
      link.arena.Free(slot);
    } else if (id) {
      link.cache.ForgetBuffer(id);
      glDeleteBuffers(1, &id);
    }
  }
};

// A vertex or index buffer kept in memory and mirrored in a GL buffer.
template <class Base, GLenum Target>
class GlBuffer final : public Base {
 public:
  // kind: the vertex format of a vertex buffer, the index format of an index buffer.
  GlBuffer(std::shared_ptr<DeviceLink> link, uint32_t length, DWORD usage, uint32_t kind, D3DPOOL pool)
      : Base(length, usage, kind, pool), m_Link(std::move(link)) {}
  // align: the size of one vertex or index.
  void Bind(size_t align) { m_Buffer.Bind(*m_Link, Target, this->m_Bytes, this->m_Version, this->m_Usage, align); }
  GLuint Id() const { return m_Buffer.id; }
  // Where the buffer's bytes start in the GL buffer.
  size_t Offset() const { return m_Buffer.offset; }

 protected:
  ~GlBuffer() override { m_Buffer.Delete(*m_Link); }

 private:
  std::shared_ptr<DeviceLink> m_Link;
  GlBufferObject m_Buffer;
};
using GlVertexBuffer = GlBuffer<MemoryVertexBuffer, GL_ARRAY_BUFFER>;
using GlIndexBuffer = GlBuffer<MemoryIndexBuffer, GL_ELEMENT_ARRAY_BUFFER>;

}  // namespace detail
}  // namespace platform
