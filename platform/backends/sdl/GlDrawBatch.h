#pragma once
// Draws held back to go to GL together: one multi-draw for draws in a row
// of one mode and one program, with nothing changed between them but their
// matrices (entries in a row in the matrix ring, read at the draw's number)
// and their geometry in the same buffers. Whatever changes what GL holds
// sends the waiting draws first (the state cache's Changing).
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstdint>
#include <vector>

#include "platform/backends/sdl/GlProgram.h"
#include "platform/backends/sdl/GlState.h"

namespace platform {
namespace detail {

class DrawBatch {
 public:
  // slot: the draw's matrix-ring entry (only programs that read the ring
  // need their draws' entries in a row).
  void Arrays(gl::StateCache& cache, Program* program, uint32_t slot, GLenum mode, GLint first, GLsizei count) {
    Join(cache, program, slot, mode, false, 0);
    m_Firsts.push_back(first);
    m_Counts.push_back(count);
  }
  void Elements(gl::StateCache& cache, Program* program, uint32_t slot, GLenum mode, GLenum type, size_t at,
                GLsizei count, GLint baseVertex) {
    Join(cache, program, slot, mode, true, type);
    m_Indices.push_back(reinterpret_cast<const void*>(at));
    m_BaseVertices.push_back(baseVertex);
    m_Counts.push_back(count);
  }
  // Sends the waiting draws, the first ring entry as the program's base.
  void Flush(gl::StateCache& cache) {
    if (m_Counts.empty()) return;
    cache.DrawsPending(false);
    if (m_Program->matrixBase >= 0 && m_Program->heldBase != GLint(m_Base)) {
      glUniform1i(m_Program->matrixBase, GLint(m_Base));
      m_Program->heldBase = GLint(m_Base);
    }
    const GLsizei n = GLsizei(m_Counts.size());
    if (m_Indexed)
      glMultiDrawElementsBaseVertex(m_Mode, m_Counts.data(), m_Type, m_Indices.data(), n, m_BaseVertices.data());
    else
      glMultiDrawArrays(m_Mode, m_Firsts.data(), m_Counts.data(), n);
    m_Counts.clear();
    m_Firsts.clear();
    m_BaseVertices.clear();
    m_Indices.clear();
  }

 private:
  // Sends the waiting draws first when the next cannot join them.
  void Join(gl::StateCache& cache, Program* program, uint32_t slot, GLenum mode, bool indexed, GLenum type) {
    const bool ring = program->matrixBase >= 0;
    if (!m_Counts.empty() && (m_Mode != mode || m_Indexed != indexed || m_Type != type || m_Program != program ||
                              (ring && m_Base + m_Counts.size() != slot)))
      Flush(cache);
    if (!m_Counts.empty()) return;
    m_Mode = mode;
    m_Indexed = indexed;
    m_Type = type;
    m_Program = program;
    m_Base = slot;
    cache.DrawsPending(true);
  }

  GLenum m_Mode = 0, m_Type = 0;
  bool m_Indexed = false;
  Program* m_Program = nullptr;
  uint32_t m_Base = 0;  // the ring entry of the first draw
  std::vector<GLsizei> m_Counts;
  std::vector<GLint> m_Firsts, m_BaseVertices;
  std::vector<const void*> m_Indices;
};

}  // namespace detail
}  // namespace platform
