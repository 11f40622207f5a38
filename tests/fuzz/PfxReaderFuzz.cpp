// Fuzz target of the particle file reader: any bytes must be either rejected or
// give an emitter that simulates and fills its buffers without reading or
// writing out of bounds. Seeds: one file of each emitter kind, as the particle
// file writer makes them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/particles/ParticleEmitter.h"
#include "engine/particles/ParticleFile.h"
#include "engine/particles/RandomTable.h"
#include "fuzz/FuzzSeeds.h"
#include "tools/formats/PfxFile.h"

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

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  std::vector<std::vector<uint8_t>> seeds;
  for (int32_t kind = 0; kind <= 4; ++kind) {
    formats::PfxFile f;
    f.kind = kind;
    f.texture = "Seed.png";
    f.initialBurst = 5;
    f.radius = 3.0f;
    f.height = 10.0f;
    f.ignoredPoints = {1, 2, 3};
    f.points = {0, 0, 0, 5, 0, 0, 5, 5, 0};
    seeds.push_back(formats::PfxFileBytes(f));
  }
  return seeds;
}
