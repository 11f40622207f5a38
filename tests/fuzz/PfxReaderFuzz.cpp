// Fuzz target of the particle file reader: any bytes must be either
// rejected or give an emitter that simulates and fills its buffers without
// reading or writing out of bounds.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/particles/ParticleEmitter.h"
#include "engine/particles/ParticleFile.h"
#include "engine/particles/RandomTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Nembra;
  static const bool tableReady = g_ParticleRandom.Init(4096, -1.0f, 1.0f);
  (void)tableReady;
  PARTICLE_FILE file;
  if (!ParseParticleFile(data, size, "FUZZ.PFX", file, nullptr)) return 0;
  // Keep the run short: a small pool and no more than a few frames.
  if (file.params->maxParticles > 256) file.params->maxParticles = 256;
  auto emitter = MakeParticleEmitter(file.params->Kind());
  if (!emitter) return 0;
  emitter->SetParams(*file.params);  // no device here: it simulates without buffers
  const size_t pool = emitter->GetPool().size();
  std::vector<PARTICLE_VERTEX> vertices(pool * 4);
  std::vector<uint16_t> indices(pool * 6);
  D3DXMATRIX view;
  for (int frame = 0; frame < 4; ++frame) {
    emitter->Simulate(0.016f, D3DXVECTOR3(1.0f, 2.0f, 3.0f), view);
    const uint32_t n = emitter->FillBuffers(vertices.data(), indices.data());
    if (n > pool) __builtin_trap();
  }
  return 0;
}
