#pragma once
// Writer of particle description files (.pfx): binary, little-endian, no
// header; the common part (445 bytes) followed by the emitter kind's part.
#include <cstdint>
#include <string>
#include <vector>

namespace formats {

struct PfxFile {
  int32_t kind = 0;  // 0 point, 1 sphere, 2 line, 3 line strip, 4 cylinder
  float duration = -1.0f;
  float acceleration[3] = {0, 0, 0};
  uint32_t initialBurst = 0;
  uint32_t maxParticles = 100;
  float emissionRate = 10.0f;
  float emissionInterval = 0.0f;
  std::string texture;  // at most 259 bytes
  float direction[3] = {0, 0, 1};
  uint8_t directed = 1;
  float life = 1.0f;
  float lifeVariation = 0.0f;
  float speed = 1.0f;
  float speedVariation = 0.0f;
  float startColor[4] = {1, 1, 1, 1};
  float startSize = 1.0f;
  float startAccelerationFactor[3] = {0, 0, 0};
  float endColor[4] = {1, 1, 1, 0};
  float endSize = 1.0f;
  float endAccelerationFactor[3] = {0, 0, 0};
  float colorVariation[4] = {0, 0, 0, 0};
  float sizeVariation = 0.0f;
  // Source blend, destination blend, blend operation, then stage 0 alpha
  // operation, colour operation, alpha arguments 1 and 2, colour arguments
  // 1 and 2. Default: additive, texture times diffuse.
  uint32_t states[9] = {5, 2, 1, 4, 4, 2, 0, 2, 0};

  // Sphere and cylinder.
  float radius = 0.0f;
  uint8_t onSurface = 0;
  std::vector<float> ignoredPoints;  // xyz triples written before the growth
  float growth = 0.0f;               // per particle (sphere), per second (cylinder)
  uint8_t growing = 0;
  float height = 0.0f;  // cylinder
  // Line.
  float startPoint[3] = {0, 0, 0};
  float endPoint[3] = {0, 0, 0};
  // Line strip: xyz triples.
  std::vector<float> points;
};

// The file's bytes. The point count written is points.size() / 3 (and
// ignoredPoints.size() / 3).
std::vector<uint8_t> PfxFileBytes(const PfxFile& file);

// Offset of the kind's part in every file.
constexpr size_t PFX_COMMON_SIZE = 445;

}  // namespace formats
