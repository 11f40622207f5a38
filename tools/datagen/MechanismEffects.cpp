// The mechanisms' particle effects (.pfx) and images: the barrel, bomb,
// pushable-collision, spark, wire-grate, door and station bursts and the
// generators' endless charge bars, with their two particle textures; the
// item and socket markers, a marker image for scripts, the circuit's flow
// textures and the three laser beams.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/MechanismAssets.h"
#include "tools/formats/GraphicsFiles.h"
#include "tools/formats/PfxFile.h"

namespace {

using formats::PfxFile;
using formats::TestPicture;

uint32_t Argb(float a, float r, float g, float b) {
  const auto byte = [](float v) { return uint32_t(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
  return (byte(a) << 24) | (byte(r) << 16) | (byte(g) << 8) | byte(b);
}

// Distance of a pixel centre from the picture's centre, in half-sizes (0..1 on the inscribed circle).
float Radial(uint32_t x, uint32_t y, uint32_t size) {
  const float c = float(size) * 0.5f;
  return std::hypot(float(x) + 0.5f - c, float(y) + 0.5f - c) / c;
}

// White dots whose alpha falls off from the centre; `power` sharpens them.
std::string Dot(uint32_t size, float power) {
  TestPicture p(size, size);
  for (uint32_t y = 0; y < size; ++y)
    for (uint32_t x = 0; x < size; ++x)
      p.At(x, y) = Argb(std::pow(std::max(0.0f, 1.0f - Radial(x, y, size)), power), 1, 1, 1);
  return formats::TgaBytes(p, true);
}

// A glowing ring of the colour at radius `ring`, optionally with a centre dot and four ticks;
// its alpha held at most `peak`.
std::string Ring(float r, float g, float b, float ring, bool dot, bool ticks, float peak = 1.0f) {
  const uint32_t size = 64;
  TestPicture p(size, size);
  for (uint32_t y = 0; y < size; ++y)
    for (uint32_t x = 0; x < size; ++x) {
      const float d = Radial(x, y, size);
      float a = std::max(0.0f, 1.0f - std::abs(d - ring) * 9.0f);
      if (dot) a = std::max(a, std::max(0.0f, 1.0f - d * 7.0f));
      const bool onAxis = std::abs(float(x) + 0.5f - 32.0f) < 2.0f || std::abs(float(y) + 0.5f - 32.0f) < 2.0f;
      if (ticks && onAxis && d > ring + 0.08f && d < 0.98f) a = 1.0f;
      const float white = std::max(0.0f, 1.0f - std::abs(d - ring) * 20.0f) * 0.6f;
      p.At(x, y) = Argb(std::min(a, peak), r + white, g + white, b + white);
    }
  return formats::TgaBytes(p, true);
}

// Chevrons running along the picture's width, for a flowing link.
std::string Flow(bool blue) {
  TestPicture p(64, 32);
  for (uint32_t y = 0; y < 32; ++y)
    for (uint32_t x = 0; x < 64; ++x) {
      const float across = std::abs(float(y) + 0.5f - 16.0f) / 16.0f;
      const bool chevron = (x + uint32_t(across * 12.0f)) % 16 < 6;
      const float edge = 1.0f - across * across;
      const float v = (chevron ? 1.0f : 0.45f) * edge;
      p.At(x, y) = blue ? Argb(1, 0.15f * v, 0.45f * v, v) : Argb(1, v, 0.18f * v, 0.1f * v);
    }
  return formats::JpegBytes(p, 90);
}

// A beam: a white-hot core across the middle rows fading to the colour and out.
std::string Beam(float r, float g, float b) {
  TestPicture p(32, 16);
  for (uint32_t y = 0; y < 16; ++y)
    for (uint32_t x = 0; x < 32; ++x) {
      const float across = std::abs(float(y) + 0.5f - 8.0f) / 8.0f;
      const float core = std::max(0.0f, 1.0f - across * 3.0f);
      p.At(x, y) = Argb(1.0f - across * across, r + core, g + core, b + core);
    }
  return formats::TgaBytes(p, true);
}

void Colours(PfxFile& f, const float (&start)[4], const float (&end)[4]) {
  std::copy(start, start + 4, f.startColor);
  std::copy(end, end + 4, f.endColor);
}

// A burst from a ring of radius 150 on the floor: its radius is the barrel
// blast's reach.
PfxFile BarrelBreak() {
  PfxFile f;
  f.kind = 4;
  f.duration = 0.3f;
  f.initialBurst = 40;
  f.maxParticles = 80;
  f.emissionRate = 100;
  f.texture = datagen::FLARE_TEXTURE;
  f.life = 0.6f;
  f.lifeVariation = 0.2f;
  f.speed = 160;
  f.speedVariation = 60;
  Colours(f, {1.0f, 0.7f, 0.2f, 1.0f}, {0.6f, 0.1f, 0.0f, 0.0f});
  f.startSize = 60;
  f.endSize = 20;
  f.radius = 150;
  f.height = 60;
  return f;
}

// A growing ball of fire that lasts past the blast's growth to 700 units.
PfxFile Bomb() {
  PfxFile f;
  f.kind = 1;
  f.duration = 1.3f;
  f.initialBurst = 60;
  f.maxParticles = 160;
  f.emissionRate = 90;
  f.texture = datagen::FLARE_TEXTURE;
  f.directed = 0;
  f.life = 0.7f;
  f.lifeVariation = 0.2f;
  f.speed = 500;
  f.speedVariation = 150;
  Colours(f, {1.0f, 0.85f, 0.3f, 1.0f}, {0.7f, 0.15f, 0.0f, 0.0f});
  f.startSize = 90;
  f.endSize = 160;
  f.radius = 50;
  f.growth = 6;
  f.growing = 1;
  return f;
}

// A short point burst.
PfxFile Puff(float duration, uint32_t burst, float life, float speed, const float (&start)[4],
             const float (&end)[4], float startSize, float endSize, const char* texture) {
  PfxFile f;
  f.kind = 0;
  f.duration = duration;
  f.initialBurst = burst;
  f.maxParticles = burst * 2;
  f.emissionRate = float(burst);
  f.texture = texture;
  f.directed = 0;
  f.life = life;
  f.lifeVariation = life * 0.3f;
  f.speed = speed;
  f.speedVariation = speed * 0.4f;
  f.acceleration[2] = -300;
  Colours(f, start, end);
  f.startSize = startSize;
  f.endSize = endSize;
  return f;
}

PfxFile GrateExplosion() {
  PfxFile f = Puff(0.3f, 30, 0.5f, 260, {0.8f, 0.9f, 1.0f, 1.0f}, {0.3f, 0.4f, 1.0f, 0.0f}, 24, 6,
                   datagen::SPARK_TEXTURE);
  f.kind = 1;
  f.radius = 40;
  return f;
}

// The generator's charge bar: a slow ring of glow that never ends (its
// generator moves it up as it fills).
PfxFile GenBar(bool blue) {
  PfxFile f;
  f.kind = 1;
  f.duration = -1.0f;
  f.maxParticles = 40;
  f.emissionRate = 30;
  f.texture = datagen::FLARE_TEXTURE;
  f.directed = 0;
  f.life = 0.8f;
  f.speed = 10;
  if (blue) Colours(f, {0.3f, 0.5f, 1.0f, 0.9f}, {0.1f, 0.2f, 1.0f, 0.0f});
  else Colours(f, {1.0f, 0.4f, 0.3f, 0.9f}, {1.0f, 0.1f, 0.05f, 0.0f});
  f.startSize = 40;
  f.endSize = 20;
  f.radius = 80;
  f.onSurface = 1;
  return f;
}

bool WriteEffects(const datagen::Output& out) {
  bool ok = out.Write(datagen::FLARE_TEXTURE, Dot(32, 1.5f));
  ok &= out.Write(datagen::SPARK_TEXTURE, Dot(16, 3.0f));
  ok &= out.Write("BarrelBreak.pfx", formats::PfxFileBytes(BarrelBreak()));
  ok &= out.Write("Bomb.pfx", formats::PfxFileBytes(Bomb()));
  ok &= out.Write("PushableCollision.pfx",
                  formats::PfxFileBytes(Puff(0.2f, 20, 0.5f, 120, {0.7f, 0.65f, 0.55f, 0.8f},
                                             {0.4f, 0.38f, 0.35f, 0.0f}, 30, 60, datagen::FLARE_TEXTURE)));
  ok &= out.Write("Spark.pfx", formats::PfxFileBytes(Puff(0.1f, 16, 0.3f, 300, {1.0f, 1.0f, 0.8f, 1.0f},
                                                          {1.0f, 0.5f, 0.1f, 0.0f}, 12, 4, datagen::SPARK_TEXTURE)));
  ok &= out.Write("WireGrateExplosion.pfx", formats::PfxFileBytes(GrateExplosion()));
  // A breaking door or a target shot down.
  ok &= out.Write("DoorBreak.pfx",
                  formats::PfxFileBytes(Puff(0.25f, 40, 0.7f, 350, {1.0f, 0.95f, 0.8f, 1.0f},
                                             {0.5f, 0.5f, 0.55f, 0.0f}, 40, 90, datagen::FLARE_TEXTURE)));
  // "WWExplosion.pfx", the station's blast, is the effects group's.
  ok &= out.Write("GenBarRed.pfx", formats::PfxFileBytes(GenBar(false)));
  ok &= out.Write("GenBarBlue.pfx", formats::PfxFileBytes(GenBar(true)));

  ok &= out.Write("ItemMarker.tga", Ring(0.2f, 0.9f, 1.0f, 0.75f, false, false));
  // The markers' blocks take four times the image's alpha (times the
  // pulse's factor for the growing copy), so their images hold it at a
  // quarter: the steady ring is drawn whole and the copy fades evenly
  // with the pulse instead of staying whole for three quarters of it.
  ok &= out.Write("MarkerSmall.tga", Ring(0.3f, 1.0f, 0.45f, 0.6f, true, false, 0.25f));
  ok &= out.Write("Marker.tga", Ring(1.0f, 0.85f, 0.1f, 0.55f, true, true, 0.25f));
  ok &= out.Write("FlowRed.jpg", Flow(false));
  ok &= out.Write("FlowBlue.jpg", Flow(true));
  ok &= out.Write("LaserHurt.tga", Beam(1.0f, 0.55f, 0.05f));
  ok &= out.Write("LaserKill.tga", Beam(1.0f, 0.05f, 0.05f));
  ok &= out.Write("LaserScript.tga", Beam(0.1f, 1.0f, 0.3f));
  return ok;
}

}  // namespace

DATAGEN_GROUP("mechanism-effects", WriteEffects);
