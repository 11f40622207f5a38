#include "engine/particles/ParticleParams.h"

namespace Nembra {

std::unique_ptr<EMITTER_PARAMS> MakeEmitterParams(int32_t kind) {
  switch (kind) {
    case EMITTER_POINT: return std::make_unique<EMITTER_PARAMS>();
    case EMITTER_SPHERE: return std::make_unique<SPHERE_EMITTER_PARAMS>();
    case EMITTER_LINE: return std::make_unique<LINE_EMITTER_PARAMS>();
    case EMITTER_LINE_STRIP: return std::make_unique<LINE_STRIP_EMITTER_PARAMS>();
    case EMITTER_CYLINDER: return std::make_unique<CYLINDER_EMITTER_PARAMS>();
    default: return nullptr;
  }
}

PARTICLE::PARTICLE()
    : vertices{{0, 0, 0, 0xFFFFFFFFu, 0.0f, 0.0f},
               {0, 0, 0, 0xFFFFFFFFu, 1.0f, 0.0f},
               {0, 0, 0, 0xFFFFFFFFu, 1.0f, 1.0f},
               {0, 0, 0, 0xFFFFFFFFu, 0.0f, 1.0f}},
      color{0, 0, 0, 0},
      colorChange{0, 0, 0, 0},
      size(0.0f),
      sizeChange(0.0f),
      accelerationFactor{0, 0, 0},
      accelerationFactorChange{0, 0, 0},
      life(0.0f),
      params(nullptr),
      cameraRight(nullptr),
      cameraUp(nullptr) {}

}  // namespace Nembra
