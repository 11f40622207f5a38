#pragma once
// Particle description files (.pfx): one binary file describes one effect
// completely (emitter kind, parameters, texture, blending and the kind's
// shape). Every field is checked against the bytes left: a short or damaged
// file is rejected with a message, never read past its end.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/particles/ParticleParams.h"

namespace Nembra {

class CParticleEmitter;

// The nine device states a file carries, in file order.
enum PFX_STATE {
  PFX_SRCBLEND,
  PFX_DESTBLEND,
  PFX_BLENDOP,
  PFX_ALPHAOP,
  PFX_COLOROP,
  PFX_ALPHAARG1,
  PFX_ALPHAARG2,
  PFX_COLORARG1,
  PFX_COLORARG2,
  PFX_STATE_COUNT
};

struct PARTICLE_FILE {
  std::unique_ptr<EMITTER_PARAMS> params;  // the kind's record, texture name included
  uint32_t states[PFX_STATE_COUNT] = {};
};

// Reads a whole file's bytes. False (with the reason in error) for an
// unknown kind, a file that ends before its last field, a texture name
// without its terminator or a point count that is negative or larger than
// the bytes left. name becomes the record's name.
bool ParseParticleFile(const uint8_t* data, size_t size, const std::string& name, PARTICLE_FILE& out,
                       std::string* error);

// Loads the named file from the data folder and returns a ready emitter
// at (0, 0, 0), owned by the caller; null when the file is missing or
// damaged, which is reported as a missing particle system.
CParticleEmitter* CreateParticleEmitter(const std::string& fileName);

}  // namespace Nembra
