#pragma once
// The generated-shader emulation of the fixed-function pipeline: a key of
// the states that change the program, and the GLSL made from it.
#include <cstdint>
#include <string>

#include "platform/Graphics.h"

namespace platform {
namespace gl {

constexpr int kMaxStages = 8;

struct StageKey {
  uint8_t colorOp = 0, alphaOp = 0;
  uint8_t colorArg[3] = {0, 0, 0};  // arg0, arg1, arg2 (with modifiers)
  uint8_t alphaArg[3] = {0, 0, 0};
  uint8_t resultTemp = 0;   // result goes to the temporary register
  uint8_t hasTexture = 0;   // a texture is bound to the stage
  uint8_t coordSet = 0;     // texture-coordinate set
  uint8_t coordFloats = 0;  // floats in that set (0: the vertex has none)
  uint8_t coordGen = 0;     // 0 pass-through, 1 normal, 2 position, 3 reflection, 4 sphere map
  uint8_t transformCount = 0;  // 0: no texture transform
  uint8_t projected = 0;
};

struct PipelineKey {
  uint8_t screenSpace = 0;
  uint8_t hasNormal = 0, hasDiffuse = 0, hasSpecular = 0;
  uint8_t lighting = 0;
  uint8_t lightTypes[MAX_ACTIVE_LIGHTS] = {};  // 0 off, else the light type
  uint8_t diffuseSource = 0, ambientSource = 0, specularSource = 0, emissiveSource = 0;  // 0 material, 1 colour, 2 specular
  uint8_t specularEnable = 0;
  uint8_t localViewer = 0;
  uint8_t fogMode = 0;  // 0 off, 1 EXP, 2 EXP2, 3 LINEAR, 4 from specular alpha
  uint8_t rangeFog = 0;
  uint8_t alphaTestFunc = 0;  // 0: no alpha test
  uint8_t pointSize = 0;
  uint8_t stageCount = 0;
  // The world-view and normal matrices come from the device's matrix ring
  // (a buffer texture on unit 8, at uMatrixBase plus the draw's number)
  // rather than from uniforms.
  uint8_t matrixRing = 0;
  StageKey stages[kMaxStages];

  std::string Bytes() const { return std::string(reinterpret_cast<const char*>(this), sizeof *this); }
};

std::string VertexShaderSource(const PipelineKey& key);
std::string FragmentShaderSource(const PipelineKey& key);

}  // namespace gl
}  // namespace platform
