#pragma once
// Translations of the device's numbers into GL's, shader building, and the
// generated programs with the uniform values they hold.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Graphics.h"

namespace platform {
namespace detail {

GLenum BlendFactor(DWORD f);
// Source and destination factors, with the two "both" forms resolved.
void BlendPair(DWORD src, DWORD dst, GLenum* s, GLenum* d);
GLenum BlendOp(DWORD op);
GLenum CompareFunc(DWORD f);
GLenum AddressMode(DWORD a);
GLenum PrimitiveMode(D3DPRIMITIVETYPE t);
// Packed ARGB as four floats, red first.
void ColorToVec(D3DCOLOR c, float out[4]);
// The lowest and highest of count indices of size bytes each.
void IndexRange(const uint8_t* indices, uint32_t count, uint32_t size, uint32_t* lowest, uint32_t* highest);
// A linked program of the two sources, or 0 (logged).
GLuint LinkProgram(const std::string& vs, const std::string& fs);

// A uniform of a generated program: where it is, and where the program's
// copy of its last values starts.
struct Uniform {
  GLint location = -1;
  uint32_t at = 0, floats = 0;
  bool known = false;
};

// When each group of values that uniforms are made from last changed on the
// device: a program whose copy is as new needs none of them again.
struct UniformVersions {
  uint64_t world = 0, view = 0, proj = 0, viewport = 0, lights = 0, material = 0, states = 0, texMats = 0;
};

// A generated program, its uniforms and the values they hold, so that a
// value is sent only when it changes.
struct Program {
  GLuint id = 0;
  UniformVersions seen;  // the device's versions when the uniforms were last set
  Uniform worldView, proj, normalMat, viewport, matDiffuse, matAmbient, matSpecular, matEmissive, matPower, ambient;
  Uniform lightPos, lightDir, lightDiffuse, lightSpecular, lightAmbient, lightAtt, lightSpot, texMat, pointSize;
  Uniform tfactor, constant, alphaRef, fog, fogColor;
  GLint matrixBase = -1;  // the uniform of the first matrix-ring entry of a multi-draw
  GLint heldBase = -1;    // the value it holds
  std::vector<float> values;

  void Find(Uniform& u, const char* name, uint32_t floats) {
    u.location = glGetUniformLocation(id, name);
    if (u.location < 0) return;
    u.at = uint32_t(values.size());
    u.floats = floats;
    values.resize(values.size() + floats);
  }
  // True when v differs from what the uniform holds; v is then noted as held.
  bool Changed(Uniform& u, const float* v) {
    if (u.location < 0) return false;
    float* held = &values[u.at];
    if (u.known && std::memcmp(held, v, size_t(u.floats) * sizeof(float)) == 0) return false;
    std::memcpy(held, v, size_t(u.floats) * sizeof(float));
    u.known = true;
    return true;
  }
};

}  // namespace detail
}  // namespace platform
