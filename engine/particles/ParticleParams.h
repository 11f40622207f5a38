#pragma once
// The description of a particle effect: the common emitter parameters, the
// records of the five emitter kinds, and the particle record whose first
// 96 bytes are the particle's four vertices as the vertex buffer holds them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/resources/Texture.h"
#include "platform/Math.h"

namespace Nembra {

class CShader;

enum EMITTER_KIND : int32_t {
  EMITTER_POINT = 0,
  EMITTER_SPHERE = 1,
  EMITTER_LINE = 2,
  EMITTER_LINE_STRIP = 3,
  EMITTER_CYLINDER = 4,
};

// Pool sizes above this would overflow the 16-bit indices (four vertices
// a particle).
constexpr uint32_t MAX_PARTICLES_PER_EMITTER = 16384;

struct EMITTER_PARAMS {
  EMITTER_PARAMS() = default;
  EMITTER_PARAMS(const EMITTER_PARAMS&) = default;
  EMITTER_PARAMS& operator=(const EMITTER_PARAMS&) = default;
  virtual ~EMITTER_PARAMS() = default;

  // A copy of the whole record, kind fields included.
  virtual std::unique_ptr<EMITTER_PARAMS> Clone() const { return std::make_unique<EMITTER_PARAMS>(*this); }
  virtual EMITTER_KIND Kind() const { return EMITTER_POINT; }

  std::string name;
  float duration = -1.0f;  // seconds of emission; <= 0 endless
  float acceleration[3] = {1.0f, 1.0f, 1.0f};
  uint32_t initialBurst = 0;
  uint32_t maxParticles = 500;
  float emissionRate = 100.0f;
  float emissionInterval = 0.0f;
  CShader* stateBlock = nullptr;  // "AUTO_EFECTO" + the file name
  CTextureSet textureSet;         // one texture
  std::string textureName;        // as the file names it
  float direction[3] = {0.0f, 0.0f, 1.0f};
  uint8_t directed = 1;
  float spread = D3DX_PI;
  float life = 1.0f;
  float lifeVariation = 0.0f;
  float speed = 1.0f;
  float speedVariation = 0.0f;
  float startColor[4] = {0, 0, 0, 0};
  float startSize = 0.0f;
  float startAccelerationFactor[3] = {0, 0, 0};
  float endColor[4] = {0, 0, 0, 0};
  float endSize = 0.0f;
  float endAccelerationFactor[3] = {0, 0, 0};
  float colorVariation[4] = {0, 0, 0, 0};
  float sizeVariation = 0.0f;
};

struct SPHERE_EMITTER_PARAMS : EMITTER_PARAMS {
  std::unique_ptr<EMITTER_PARAMS> Clone() const override {
    return std::make_unique<SPHERE_EMITTER_PARAMS>(*this);
  }
  EMITTER_KIND Kind() const override { return EMITTER_SPHERE; }

  float radius = 0.0f;
  uint8_t onSurface = 0;
  uint8_t growing = 0;
  float growthPerParticle = 0.0f;
};

struct LINE_EMITTER_PARAMS : EMITTER_PARAMS {
  std::unique_ptr<EMITTER_PARAMS> Clone() const override {
    return std::make_unique<LINE_EMITTER_PARAMS>(*this);
  }
  EMITTER_KIND Kind() const override { return EMITTER_LINE; }

  D3DXVECTOR3 startPoint;  // relative to the emitter
  D3DXVECTOR3 endPoint;
};

struct LINE_STRIP_EMITTER_PARAMS : EMITTER_PARAMS {
  std::unique_ptr<EMITTER_PARAMS> Clone() const override {
    return std::make_unique<LINE_STRIP_EMITTER_PARAMS>(*this);
  }
  EMITTER_KIND Kind() const override { return EMITTER_LINE_STRIP; }

  std::vector<D3DXVECTOR3> points;  // relative to the emitter
};

struct CYLINDER_EMITTER_PARAMS : EMITTER_PARAMS {
  std::unique_ptr<EMITTER_PARAMS> Clone() const override {
    return std::make_unique<CYLINDER_EMITTER_PARAMS>(*this);
  }
  EMITTER_KIND Kind() const override { return EMITTER_CYLINDER; }

  float radius = 0.0f;
  uint8_t onSurface = 0;
  float height = 0.0f;
  uint8_t growing = 0;
  float growthPerSecond = 0.0f;
};

// A new record of the given kind with its defaults; null for an unknown kind.
std::unique_ptr<EMITTER_PARAMS> MakeEmitterParams(int32_t kind);

// Vertex format of particles and beams: position, diffuse, one texture.
constexpr uint32_t PARTICLE_FVF = 0x142;

struct PARTICLE_VERTEX {
  float x, y, z;
  D3DCOLOR color;
  float u, v;
};
static_assert(sizeof(PARTICLE_VERTEX) == 24, "particle vertices are 24 bytes");

struct PARTICLE {
  PARTICLE();

  // Top-left, top-right, bottom-right, bottom-left.
  PARTICLE_VERTEX vertices[4];
  D3DXVECTOR3 position;
  D3DXVECTOR3 velocity;
  float color[4];
  float colorChange[4];  // per second
  float size;
  float sizeChange;
  float accelerationFactor[3];
  float accelerationFactorChange[3];
  float life;  // seconds left
  const EMITTER_PARAMS* params;  // null until first emitted
  const D3DXVECTOR3* cameraRight;
  const D3DXVECTOR3* cameraUp;
};
static_assert(offsetof(PARTICLE, position) == 96, "a particle starts with its four vertices");

}  // namespace Nembra
