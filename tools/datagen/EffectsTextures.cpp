// Pictures of the fighting: the player's and the beam walker's shot
// strips, the enemies' health bar, the souls' glows, the rings of the
// shock waves and the white particle sprites the effect files tint.
#include <algorithm>
#include <cmath>

#include "tools/datagen/DataGen.h"
#include "tools/formats/GraphicsFiles.h"

namespace datagen {
namespace {

uint32_t Argb(float a, float r, float g, float b) {
  const auto c = [](float v) { return static_cast<uint32_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
  return (c(a) << 24) | (c(r) << 16) | (c(g) << 8) | c(b);
}

float Mix(float a, float b, float t) { return a + (b - a) * t; }

// A round glow: colour shading to white at the centre by `core`, alpha
// falling from the centre outwards with the given sharpness.
std::string Glow(uint32_t size, float r, float g, float b, float core, float sharpness) {
  formats::TestPicture p(size, size, 0);
  const float c = (size - 1) * 0.5f;
  for (uint32_t y = 0; y < size; ++y)
    for (uint32_t x = 0; x < size; ++x) {
      const float d = std::min(1.0f, std::hypot(x - c, y - c) / (c + 0.5f));
      const float a = std::pow(1.0f - d, sharpness);
      const float w = core * std::max(0.0f, 1.0f - 2.0f * d);
      p.At(x, y) = Argb(a, Mix(r, 1, w), Mix(g, 1, w), Mix(b, 1, w));
    }
  return formats::TgaBytes(p, true);
}

// A soft cloud: a glow whose edge wobbles by a fixed pattern.
std::string Puff(uint32_t size) {
  formats::TestPicture p(size, size, 0);
  const float c = (size - 1) * 0.5f;
  for (uint32_t y = 0; y < size; ++y)
    for (uint32_t x = 0; x < size; ++x) {
      const float angle = std::atan2(y - c, x - c);
      const float edge = 0.8f + 0.12f * std::sin(5 * angle) + 0.08f * std::cos(3 * angle + 1);
      const float d = std::hypot(x - c, y - c) / (c * edge);
      const float a = d >= 1 ? 0 : 0.85f * (1 - d * d);
      const float shade = 0.85f + 0.15f * std::sin(0.9f * x + 0.4f * y);
      p.At(x, y) = Argb(a, shade, shade, shade);
    }
  return formats::TgaBytes(p, true);
}

// A shot strip: the head at u = 1 (right), fading towards the tail; a
// white-hot core whose width grows with the power.
std::string ShotStrip(float r, float g, float b, float coreWidth) {
  formats::TestPicture p(64, 16, 0);
  for (uint32_t y = 0; y < 16; ++y)
    for (uint32_t x = 0; x < 64; ++x) {
      const float across = 1.0f - std::min(1.0f, std::fabs(y - 7.5f) / 8.0f);
      const float along = 0.2f + 0.8f * (x / 63.0f);
      const float core = std::clamp((across - (1.0f - coreWidth)) / coreWidth, 0.0f, 1.0f);
      p.At(x, y) = Argb(across * along * 1.2f, Mix(r, 1, core), Mix(g, 1, core), Mix(b, 1, core));
    }
  return formats::TgaBytes(p, true);
}

// A band for a ring mesh: v across the band (inner edge at 0), u around.
std::string RingBand(float r, float g, float b) {
  formats::TestPicture p(64, 16, 0);
  for (uint32_t y = 0; y < 16; ++y)
    for (uint32_t x = 0; x < 64; ++x) {
      const float v = y / 15.0f;
      const float across = std::sin(3.14159265f * v);
      const float stripes = 0.7f + 0.3f * std::sin(2 * 3.14159265f * 4 * x / 64.0f);
      const float core = std::max(0.0f, across - 0.7f) / 0.3f;
      p.At(x, y) = Argb(across * stripes, Mix(r, 1, core), Mix(g, 1, core), Mix(b, 1, core));
    }
  return formats::TgaBytes(p, true);
}

// The health bar: rows 0-3 the red fill (37 pixels), rows 4-15 the frame
// (44 pixels), rows 16-19 the blue fill; the rest clear.
std::string HealthBar() {
  formats::TestPicture p(64, 32, 0);
  for (uint32_t y = 0; y < 4; ++y)
    for (uint32_t x = 0; x < 37; ++x) {
      const float shine = y == 1 ? 1.0f : 0.8f;
      p.At(x, y) = Argb(1, shine, 0.12f * shine, 0.08f * shine);
      p.At(x, y + 16) = Argb(1, 0.1f * shine, 0.35f * shine, shine);
    }
  for (uint32_t y = 4; y < 16; ++y)
    for (uint32_t x = 0; x < 44; ++x) {
      const bool border = x == 0 || x == 43 || y == 4 || y == 15;
      p.At(x, y) = border ? Argb(1, 0.9f, 0.9f, 0.9f) : Argb(0.55f, 0.05f, 0.05f, 0.05f);
    }
  return formats::TgaBytes(p, true);
}

bool WriteTextures(const Output& out) {
  bool ok = true;
  const float cores[3] = {0.25f, 0.4f, 0.6f};
  for (int power = 1; power <= 3; ++power) {
    const std::string n = std::to_string(power);
    ok &= out.Write("PlayerRedShot" + n + ".tga", ShotStrip(1.0f, 0.15f, 0.1f, cores[power - 1]));
    ok &= out.Write("PlayerBlueShot" + n + ".tga", ShotStrip(0.15f, 0.35f, 1.0f, cores[power - 1]));
  }
  ok &= out.Write("Ene8Bullet.tga", ShotStrip(1.0f, 0.7f, 0.1f, 0.35f));
  ok &= out.Write("EnemyHealth.tga", HealthBar());
  ok &= out.Write("RedSoul.tga", Glow(32, 1.0f, 0.16f, 0.12f, 0.5f, 1.2f));
  ok &= out.Write("BlueSoul.tga", Glow(32, 0.16f, 0.3f, 1.0f, 0.5f, 1.2f));
  ok &= out.Write("Bullet.tga", Glow(16, 1, 1, 1, 0, 1.5f));
  ok &= out.Write("GasParticle.tga", Puff(32));
  ok &= out.Write("FxGlow.tga", Glow(32, 1, 1, 1, 0, 1.6f));
  ok &= out.Write("FxSpark.tga", Glow(16, 1, 1, 1, 0, 3.0f));
  ok &= out.Write("FxPuff.tga", Puff(32));
  ok &= out.Write("WaveRed.tga", RingBand(1.0f, 0.2f, 0.1f));
  ok &= out.Write("WaveBlue.tga", RingBand(0.1f, 0.35f, 1.0f));
  ok &= out.Write("AbilityWave.tga", RingBand(1.0f, 0.85f, 0.3f));
  return ok;
}

}  // namespace

DATAGEN_GROUP("effects-textures", WriteTextures);

}  // namespace datagen
