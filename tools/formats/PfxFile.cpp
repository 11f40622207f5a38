#include "tools/formats/PfxFile.h"

#include <cstring>

namespace formats {

namespace {

struct Out {
  std::vector<uint8_t> bytes;
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F32(float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    U32(u);
  }
  void F32s(const float* v, int n) {
    for (int i = 0; i < n; ++i) F32(v[i]);
  }
  void U8(uint8_t v) { bytes.push_back(v); }
};

}  // namespace

std::vector<uint8_t> PfxFileBytes(const PfxFile& f) {
  Out o;
  o.I32(f.kind);
  o.F32(f.duration);
  o.F32s(f.acceleration, 3);
  o.U32(f.initialBurst);
  o.U32(f.maxParticles);
  o.F32(f.emissionRate);
  o.F32(f.emissionInterval);
  char name[260] = {};
  std::memcpy(name, f.texture.data(), f.texture.size() < 259 ? f.texture.size() : 259);
  o.bytes.insert(o.bytes.end(), name, name + 260);
  o.F32s(f.direction, 3);
  o.U8(f.directed);
  o.F32(f.life);
  o.F32(f.lifeVariation);
  o.F32(f.speed);
  o.F32(f.speedVariation);
  o.F32s(f.startColor, 4);
  o.F32(f.startSize);
  o.F32s(f.startAccelerationFactor, 3);
  o.F32s(f.endColor, 4);
  o.F32(f.endSize);
  o.F32s(f.endAccelerationFactor, 3);
  o.F32s(f.colorVariation, 4);
  o.F32(f.sizeVariation);
  for (uint32_t s : f.states) o.U32(s);

  const auto triples = [&](const std::vector<float>& v) {
    o.I32(static_cast<int32_t>(v.size() / 3));
    o.F32s(v.data(), static_cast<int>(v.size() / 3 * 3));
  };
  switch (f.kind) {
    case 1:  // sphere
      o.F32(f.radius);
      o.U8(f.onSurface);
      triples(f.ignoredPoints);
      o.F32(f.growth);
      o.U8(f.growing);
      break;
    case 2:  // line
      o.F32(0.0f);
      o.U8(0);
      o.F32(0.0f);
      o.F32s(f.startPoint, 3);
      o.F32s(f.endPoint, 3);
      break;
    case 3:  // line strip
      o.F32(0.0f);
      o.U8(0);
      triples(f.points);
      break;
    case 4:  // cylinder
      o.F32(f.radius);
      o.U8(f.onSurface);
      triples(f.ignoredPoints);
      o.F32(f.growth);
      o.U8(f.growing);
      o.F32(f.height);
      break;
    default:
      break;
  }
  return o.bytes;
}

}  // namespace formats
