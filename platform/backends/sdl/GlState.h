#pragma once
// What the device last told GL, so that a draw sends only what changed: on a
// software renderer every state call, bind and buffer upload costs time in
// the driver. Also the device's per-frame counters of draws and binds.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "platform/Graphics.h"

namespace platform {
namespace gl {

constexpr int kUnits = 8;

class StateCache {
 public:
  // Forgets everything: the next call of each kind goes to GL.
  void Invalidate() {
    Changing();
    const DeviceFrameCounters counters = m_Counters;
    std::function<void()> flush = std::move(m_Flush);
    *this = StateCache();
    m_Counters = counters;
    m_Flush = std::move(flush);
  }

  // Draws held back to go to GL together (the device's): whatever changes
  // what GL holds sends them first, so each is drawn with the states it
  // was given.
  void SetDrawFlush(std::function<void()> flush) { m_Flush = std::move(flush); }
  void DrawsPending(bool pending) { m_DrawsPending = pending; }
  // Called before any change of GL's state or of an object draws may read.
  void Changing() {
    if (m_DrawsPending) m_Flush();
  }

  DeviceFrameCounters& Counters() { return m_Counters; }

  void UseProgram(GLuint id) {
    if (m_Program == id) return;
    Changing();
    m_Program = id;
    glUseProgram(id);
    ++m_Counters.programBinds;
  }
  void ActiveUnit(int unit) {
    if (m_ActiveUnit == unit) return;
    Changing();
    m_ActiveUnit = unit;
    glActiveTexture(GL_TEXTURE0 + GLenum(unit));
  }
  void BindTexture(int unit, GLuint id) {
    if (m_Textures[unit] == id) return;
    Changing();
    ActiveUnit(unit);
    m_Textures[unit] = id;
    glBindTexture(GL_TEXTURE_2D, id);
    ++m_Counters.textureBinds;
  }
  void BindSampler(int unit, GLuint id) {
    if (m_Samplers[unit] == id) return;
    Changing();
    m_Samplers[unit] = id;
    glBindSampler(GLuint(unit), id);
  }
  void BindVertexArray(GLuint id) {
    if (m_VertexArray == id) return;
    Changing();
    m_VertexArray = id;
    glBindVertexArray(id);
  }
  void BindArrayBuffer(GLuint id) {
    if (m_ArrayBuffer == id) return;
    Changing();
    m_ArrayBuffer = id;
    glBindBuffer(GL_ARRAY_BUFFER, id);
    ++m_Counters.bufferBinds;
  }
  // The element buffer belongs to the vertex array bound with it: the
  // device binds element buffers only with its own array bound.
  void BindElementBuffer(GLuint id) {
    if (m_ElementBuffer == id) return;
    Changing();
    m_ElementBuffer = id;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, id);
    ++m_Counters.bufferBinds;
  }
  void BindFramebuffer(GLuint id) {
    if (m_Framebuffer == id) return;
    Changing();
    m_Framebuffer = id;
    glBindFramebuffer(GL_FRAMEBUFFER, id);
  }
  // After the framebuffer was bound behind the cache's back.
  void ForgetFramebuffer() { m_Framebuffer = kUnknown; }
  // A deleted name may come back for a new object: no binding may be
  // taken for granted after it.
  void ForgetTexture(GLuint id) {
    for (GLuint& t : m_Textures)
      if (t == id) t = kUnknown;
  }
  void ForgetBuffer(GLuint id) {
    if (m_ArrayBuffer == id) m_ArrayBuffer = kUnknown;
    if (m_ElementBuffer == id) m_ElementBuffer = kUnknown;
    if (m_AttributeBuffer == id) m_AttributeBuffer = kUnknown;
  }

  void Enable(GLenum cap, bool on) {
    int8_t* known = Cap(cap);
    if (known && *known == int8_t(on)) return;
    Changing();
    if (known) *known = int8_t(on);
    if (on) glEnable(cap);
    else glDisable(cap);
  }
  void DepthFunc(GLenum f) { Set1(m_DepthFunc, f, glDepthFunc); }
  void DepthMask(bool on) {
    if (m_DepthMask == int(on)) return;
    Changing();
    m_DepthMask = int(on);
    glDepthMask(on ? GL_TRUE : GL_FALSE);
  }
  void CullFace(GLenum f) { Set1(m_CullFace, f, glCullFace); }
  void FrontFace(GLenum f) { Set1(m_FrontFace, f, glFrontFace); }
  void PolygonMode(GLenum mode) {
    if (m_PolygonMode == mode) return;
    Changing();
    m_PolygonMode = mode;
    glPolygonMode(GL_FRONT_AND_BACK, mode);
  }
  void ColorMask(uint32_t mask) {
    if (m_ColorMask == mask) return;
    Changing();
    m_ColorMask = mask;
    glColorMask(mask & 1 ? GL_TRUE : GL_FALSE, mask & 2 ? GL_TRUE : GL_FALSE, mask & 4 ? GL_TRUE : GL_FALSE,
                mask & 8 ? GL_TRUE : GL_FALSE);
  }
  void BlendFunc(GLenum s, GLenum d, GLenum sa, GLenum da) {
    const GLenum v[4] = {s, d, sa, da};
    if (std::memcmp(v, m_BlendFunc, sizeof v) == 0) return;
    Changing();
    std::memcpy(m_BlendFunc, v, sizeof v);
    glBlendFuncSeparate(s, d, sa, da);
  }
  void BlendEquation(GLenum rgb, GLenum alpha) {
    if (m_BlendEquation[0] == rgb && m_BlendEquation[1] == alpha) return;
    Changing();
    m_BlendEquation[0] = rgb;
    m_BlendEquation[1] = alpha;
    glBlendEquationSeparate(rgb, alpha);
  }
  void BlendColor(const float c[4]) {
    if (m_BlendColorKnown && std::memcmp(c, m_BlendColor, sizeof m_BlendColor) == 0) return;
    Changing();
    m_BlendColorKnown = true;
    std::memcpy(m_BlendColor, c, sizeof m_BlendColor);
    glBlendColor(c[0], c[1], c[2], c[3]);
  }
  void Viewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    const GLint v[4] = {x, y, w, h};
    if (std::memcmp(v, m_Viewport, sizeof v) == 0) return;
    Changing();
    std::memcpy(m_Viewport, v, sizeof v);
    glViewport(x, y, w, h);
  }
  void DepthRange(float n, float f) {
    if (m_DepthRangeKnown && m_DepthRange[0] == n && m_DepthRange[1] == f) return;
    Changing();
    m_DepthRangeKnown = true;
    m_DepthRange[0] = n;
    m_DepthRange[1] = f;
    glDepthRange(n, f);
  }

  // Vertex attributes already point at this buffer, offset and layout.
  bool AttributesMatch(GLuint buffer, size_t offset, uint32_t stride, DWORD fvf) const {
    return m_AttributeBuffer == buffer && m_AttributeOffset == offset && m_AttributeStride == stride &&
           m_AttributeFvf == fvf && m_AttributesKnown;
  }
  void AttributesSet(GLuint buffer, size_t offset, uint32_t stride, DWORD fvf) {
    Changing();
    m_AttributeBuffer = buffer;
    m_AttributeOffset = offset;
    m_AttributeStride = stride;
    m_AttributeFvf = fvf;
    m_AttributesKnown = true;
  }

 private:
  static constexpr GLuint kUnknown = 0xFFFFFFFFu;
  template <class F>
  void Set1(GLenum& known, GLenum value, F call) {
    if (known == value) return;
    Changing();
    known = value;
    call(value);
  }
  int8_t* Cap(GLenum cap) {
    switch (cap) {
      case GL_DEPTH_TEST: return &m_Caps[0];
      case GL_CULL_FACE: return &m_Caps[1];
      case GL_BLEND: return &m_Caps[2];
      case GL_SCISSOR_TEST: return &m_Caps[3];
      default: return nullptr;
    }
  }

  DeviceFrameCounters m_Counters;
  std::function<void()> m_Flush;
  bool m_DrawsPending = false;
  GLuint m_Program = kUnknown;
  int m_ActiveUnit = -1;
  GLuint m_Textures[kUnits] = {kUnknown, kUnknown, kUnknown, kUnknown, kUnknown, kUnknown, kUnknown, kUnknown};
  GLuint m_Samplers[kUnits] = {kUnknown, kUnknown, kUnknown, kUnknown, kUnknown, kUnknown, kUnknown, kUnknown};
  GLuint m_VertexArray = kUnknown, m_ArrayBuffer = kUnknown, m_ElementBuffer = kUnknown, m_Framebuffer = kUnknown;
  int8_t m_Caps[4] = {-1, -1, -1, -1};
  GLenum m_DepthFunc = kUnknown, m_CullFace = kUnknown, m_FrontFace = kUnknown, m_PolygonMode = kUnknown;
  int m_DepthMask = -1;
  uint32_t m_ColorMask = kUnknown;
  GLenum m_BlendFunc[4] = {kUnknown, kUnknown, kUnknown, kUnknown};
  GLenum m_BlendEquation[2] = {kUnknown, kUnknown};
  float m_BlendColor[4] = {};
  bool m_BlendColorKnown = false;
  GLint m_Viewport[4] = {-1, -1, -1, -1};
  float m_DepthRange[2] = {};
  bool m_DepthRangeKnown = false;
  GLuint m_AttributeBuffer = kUnknown;
  size_t m_AttributeOffset = 0;
  uint32_t m_AttributeStride = 0;
  DWORD m_AttributeFvf = 0;
  bool m_AttributesKnown = false;
};

}  // namespace gl
}  // namespace platform

namespace platform {
namespace gl {

// Geometry written once (meshes, quads) shares a few large buffers: draws
// of different meshes then point the vertex attributes and the indices at
// the same buffer and differ only in their first vertex and index. Room
// given back is reused only some frames later, when no draw still reads it,
// so writing into it never waits for the driver.
class BufferArena {
 public:
  struct Slot {
    GLuint id = 0;
    size_t offset = 0, size = 0;
  };
  static constexpr size_t kChunk = size_t(4) << 20;
  static constexpr size_t kLargest = size_t(1) << 20;  // larger geometry keeps a buffer of its own
  static constexpr uint64_t kReuseAfterFrames = 3;

  // Room for bytes at a multiple of align; false when the geometry is
  // better off in a buffer of its own.
  bool Allocate(size_t bytes, size_t align, Slot* out) {
    if (bytes == 0 || bytes > kLargest || align == 0) return false;
    for (size_t i = 0; i < m_Free.size(); ++i) {
      Range& r = m_Free[i];
      if (r.freedAt + kReuseAfterFrames > m_Frame) continue;
      const size_t at = (r.offset + align - 1) / align * align;
      if (at + bytes > r.offset + r.size) continue;
      *out = Slot{r.id, at, bytes};
      const size_t end = r.offset + r.size;
      if (at + bytes == end) {
        m_Free.erase(m_Free.begin() + std::ptrdiff_t(i));
      } else {
        r.size = end - (at + bytes);
        r.offset = at + bytes;
      }
      return true;
    }
    for (Chunk& c : m_Chunks) {
      const size_t at = (c.used + align - 1) / align * align;
      if (at + bytes > kChunk) continue;
      c.used = at + bytes;
      *out = Slot{c.id, at, bytes};
      return true;
    }
    Chunk c;
    glGenBuffers(1, &c.id);
    glBindBuffer(GL_COPY_WRITE_BUFFER, c.id);
    glBufferData(GL_COPY_WRITE_BUFFER, GLsizeiptr(kChunk), nullptr, GL_STATIC_DRAW);
    c.used = bytes;
    m_Chunks.push_back(c);
    *out = Slot{c.id, 0, bytes};
    return true;
  }
  // Writes a slot's bytes (room no pending draw reads).
  void Write(const Slot& slot, const void* data, size_t bytes) {
    glBindBuffer(GL_COPY_WRITE_BUFFER, slot.id);
    void* p = glMapBufferRange(GL_COPY_WRITE_BUFFER, GLintptr(slot.offset), GLsizeiptr(bytes),
                               GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
    if (p) {
      std::memcpy(p, data, bytes);
      glUnmapBuffer(GL_COPY_WRITE_BUFFER);
    } else {
      glBufferSubData(GL_COPY_WRITE_BUFFER, GLintptr(slot.offset), GLsizeiptr(bytes), data);
    }
  }
  void Free(const Slot& slot) {
    if (slot.id) m_Free.push_back(Range{slot.id, slot.offset, slot.size, m_Frame});
  }
  // After each presented frame.
  void EndFrame() { ++m_Frame; }
  void Delete() {
    for (Chunk& c : m_Chunks) glDeleteBuffers(1, &c.id);
    m_Chunks.clear();
    m_Free.clear();
  }

 private:
  struct Chunk {
    GLuint id = 0;
    size_t used = 0;
  };
  struct Range {
    GLuint id;
    size_t offset, size;
    uint64_t freedAt;
  };
  std::vector<Chunk> m_Chunks;
  std::vector<Range> m_Free;
  uint64_t m_Frame = 0;
};

// Geometry handed over by pointer, streamed into one buffer that grows as
// needed: each draw writes after the last without waiting for the driver,
// and a full buffer gets new storage while the old stays with the draws
// that still read it.
class StreamBuffer {
 public:
  void Create(GLsizeiptr size) {
    glGenBuffers(1, &m_Id);
    m_Size = size;
    m_Used = m_Size;  // the first write gives it storage
  }
  void Delete() {
    if (m_Id) glDeleteBuffers(1, &m_Id);
    m_Id = 0;
  }
  GLuint Id() const { return m_Id; }
  // Writes bytes at a multiple of align with the buffer bound to target;
  // returns where they start.
  size_t Write(GLenum target, const void* data, size_t bytes, size_t align) {
    size_t at = (size_t(m_Used) + align - 1) / align * align;
    if (at + bytes > size_t(m_Size)) {
      while (size_t(m_Size) < bytes * 4) m_Size *= 2;
      glBufferData(target, m_Size, nullptr, GL_STREAM_DRAW);
      at = 0;
    }
    void* p = glMapBufferRange(target, GLintptr(at), GLsizeiptr(bytes),
                               GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
    if (p) {
      std::memcpy(p, data, bytes);
      glUnmapBuffer(target);
    } else {
      glBufferSubData(target, GLintptr(at), GLsizeiptr(bytes), data);
    }
    m_Used = GLsizeiptr(at + bytes);
    return at;
  }

 private:
  GLuint m_Id = 0;
  GLsizeiptr m_Size = 0, m_Used = 0;
};

}  // namespace gl
}  // namespace platform
