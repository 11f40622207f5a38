#pragma once
// Per-draw matrices as vertex attributes read once per instance: each draw's
// world-view and normal matrices go into a persistently mapped ring, and the
// draw names its entry as its base instance. Changing the matrix from draw
// to draw then changes no GL state at all, where a uniform makes the driver
// validate and copy the program's constants for every draw.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstdint>
#include <cstring>

namespace platform {
namespace gl {

class MatrixRing {
 public:
  static constexpr uint32_t kSlots = 1u << 16;
  static constexpr uint32_t kStride = 112;  // 16 floats of world-view, 9 of the normal matrix, padding
  static constexpr uint32_t kParts = 4;     // a part is written again only once the draws reading it are done
  static constexpr GLuint kFirstLocation = 12;

  // Needs persistent buffers and base instances (GL 4.4); false without
  // them, and matrices then go as uniforms. The ring is left bound to
  // GL_ARRAY_BUFFER, its attributes set in the bound vertex array.
  bool Create() {
    GLint major = 0, minor = 0, attributes = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &attributes);
    if (major * 10 + minor < 44 || attributes < GLint(kFirstLocation + 7)) return false;
    const GLbitfield flags = GL_MAP_WRITE_BIT | GL_MAP_PERSISTENT_BIT | GL_MAP_COHERENT_BIT;
    glGenBuffers(1, &m_Id);
    glBindBuffer(GL_ARRAY_BUFFER, m_Id);
    glBufferStorage(GL_ARRAY_BUFFER, GLsizeiptr(kSlots) * kStride, nullptr, flags);
    m_Map = static_cast<uint8_t*>(glMapBufferRange(GL_ARRAY_BUFFER, 0, GLsizeiptr(kSlots) * kStride, flags));
    if (!m_Map) {
      Delete();
      return false;
    }
    for (GLuint i = 0; i < 7; ++i) {
      const GLuint location = kFirstLocation + i;
      glEnableVertexAttribArray(location);
      glVertexAttribPointer(location, i < 4 ? 4 : 3, GL_FLOAT, GL_FALSE, GLsizei(kStride),
                            reinterpret_cast<const void*>(size_t(i < 4 ? 16 * i : 64 + 12 * (i - 4))));
      glVertexAttribDivisor(location, 1);
    }
    return true;
  }
  void Delete() {
    for (GLsync& f : m_Fences) {
      if (f) glDeleteSync(f);
      f = nullptr;
    }
    if (m_Id) {
      glBindBuffer(GL_ARRAY_BUFFER, m_Id);
      if (m_Map) glUnmapBuffer(GL_ARRAY_BUFFER);
      glDeleteBuffers(1, &m_Id);
    }
    m_Id = 0;
    m_Map = nullptr;
  }
  bool Ready() const { return m_Map != nullptr; }
  GLuint Id() const { return m_Id; }

  // Writes one draw's matrices (both column by column); returns the entry.
  uint32_t Write(const float worldView[16], const float normal[9]) {
    const uint32_t slot = m_Next;
    m_Next = (m_Next + 1) % kSlots;
    constexpr uint32_t part = kSlots / kParts;
    if (slot % part == 0) {
      // Entering a part: the draws of the part just left get a fence, and
      // this part's old draws must be done before it is written again.
      const uint32_t entering = slot / part, leaving = (entering + kParts - 1) % kParts;
      if (m_Fences[leaving]) glDeleteSync(m_Fences[leaving]);
      m_Fences[leaving] = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
      if (m_Fences[entering]) {
        glClientWaitSync(m_Fences[entering], GL_SYNC_FLUSH_COMMANDS_BIT, 1000000000u);
        glDeleteSync(m_Fences[entering]);
        m_Fences[entering] = nullptr;
      }
    }
    uint8_t* at = m_Map + size_t(slot) * kStride;
    std::memcpy(at, worldView, 64);
    std::memcpy(at + 64, normal, 36);
    return slot;
  }

 private:
  GLuint m_Id = 0;
  uint8_t* m_Map = nullptr;
  uint32_t m_Next = 0;
  GLsync m_Fences[kParts] = {};
};

}  // namespace gl
}  // namespace platform
