#pragma once
// Per-draw matrices in a persistently mapped ring, read by the vertex
// shader as a buffer texture at the entry of its draw: the first entry of a
// multi-draw as a uniform, plus the draw's number within it. Changing the
// matrix from draw to draw then changes no GL state, and draws that differ
// only in matrices and geometry go to the driver as one call.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstdint>
#include <cstring>

namespace platform {
namespace gl {

class MatrixRing {
 public:
  static constexpr uint32_t kSlots = 1u << 16;
  static constexpr uint32_t kTexels = 7;  // world-view columns, then the normal matrix's columns in xyz
  static constexpr uint32_t kStride = kTexels * 16;
  static constexpr uint32_t kParts = 4;  // a part is written again only once the draws reading it are done
  static constexpr GLuint kUnit = 8;     // the texture unit of the ring, after the eight stages

  // Needs persistent buffers, multi-draws with their draw number in the
  // shader (GL 4.6 or ARB_shader_draw_parameters) and a ninth texture unit
  // in the vertex shader; false without them, and matrices then go as
  // uniforms, one draw at a time.
  bool Create() {
    GLint major = 0, minor = 0, units = 0, texels = 0, extensions = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    glGetIntegerv(GL_MAX_VERTEX_TEXTURE_IMAGE_UNITS, &units);
    glGetIntegerv(GL_MAX_TEXTURE_BUFFER_SIZE, &texels);
    glGetIntegerv(GL_NUM_EXTENSIONS, &extensions);
    bool drawNumbers = false;
    for (GLint i = 0; i < extensions && !drawNumbers; ++i) {
      const char* name = reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, GLuint(i)));
      drawNumbers = name && std::strcmp(name, "GL_ARB_shader_draw_parameters") == 0;
    }
    if (major * 10 + minor < 44 || !drawNumbers || units <= GLint(kUnit) || texels < GLint(kSlots * kTexels))
      return false;
    const GLbitfield flags = GL_MAP_WRITE_BIT | GL_MAP_PERSISTENT_BIT | GL_MAP_COHERENT_BIT;
    glGenBuffers(1, &m_Id);
    glBindBuffer(GL_TEXTURE_BUFFER, m_Id);
    glBufferStorage(GL_TEXTURE_BUFFER, GLsizeiptr(kSlots) * kStride, nullptr, flags);
    m_Map = static_cast<uint8_t*>(glMapBufferRange(GL_TEXTURE_BUFFER, 0, GLsizeiptr(kSlots) * kStride, flags));
    if (!m_Map) {
      Delete();
      return false;
    }
    glGenTextures(1, &m_Texture);
    glActiveTexture(GL_TEXTURE0 + kUnit);
    glBindTexture(GL_TEXTURE_BUFFER, m_Texture);
    glTexBuffer(GL_TEXTURE_BUFFER, GL_RGBA32F, m_Id);
    glActiveTexture(GL_TEXTURE0);
    return true;
  }
  void Delete() {
    for (GLsync& f : m_Fences) {
      if (f) glDeleteSync(f);
      f = nullptr;
    }
    if (m_Texture) glDeleteTextures(1, &m_Texture);
    if (m_Id) {
      glBindBuffer(GL_TEXTURE_BUFFER, m_Id);
      if (m_Map) glUnmapBuffer(GL_TEXTURE_BUFFER);
      glDeleteBuffers(1, &m_Id);
    }
    m_Id = m_Texture = 0;
    m_Map = nullptr;
  }
  bool Ready() const { return m_Map != nullptr; }
  // The next entry starts a part: draws waiting to go to GL must go first,
  // so that the part's fence follows them.
  bool AtPartStart() const { return m_Next % (kSlots / kParts) == 0; }

  // Writes one draw's matrices (the texels, column by column); returns the entry.
  uint32_t Write(const float texels[kTexels * 4]) {
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
    std::memcpy(m_Map + size_t(slot) * kStride, texels, kStride);
    return slot;
  }

 private:
  GLuint m_Id = 0, m_Texture = 0;
  uint8_t* m_Map = nullptr;
  uint32_t m_Next = 0;
  GLsync m_Fences[kParts] = {};
};

}  // namespace gl
}  // namespace platform
