// Particle effect files of the fighting: impacts, muzzle flashes, kill
// blasts (bursts that end), shot trails and generator bars (endless), the
// ability's growing sphere and the wave weapon's explosion.
#include <array>

#include "tools/datagen/DataGen.h"
#include "tools/formats/PfxFile.h"

namespace datagen {
namespace {

using Rgba = std::array<float, 4>;

constexpr Rgba RED{1.0f, 0.25f, 0.12f, 1.0f};
constexpr Rgba DARK_RED{0.5f, 0.05f, 0.02f, 0.0f};
constexpr Rgba BLUE{0.25f, 0.45f, 1.0f, 1.0f};
constexpr Rgba DARK_BLUE{0.05f, 0.1f, 0.5f, 0.0f};
constexpr Rgba ORANGE{1.0f, 0.6f, 0.15f, 1.0f};
constexpr Rgba SMOKE{0.25f, 0.2f, 0.2f, 0.0f};
constexpr Rgba GOLD{1.0f, 0.85f, 0.35f, 1.0f};
constexpr Rgba GOLD_OUT{1.0f, 0.5f, 0.1f, 0.0f};
constexpr Rgba GREEN{0.4f, 1.0f, 0.5f, 1.0f};
constexpr Rgba GREEN_OUT{0.1f, 0.5f, 0.2f, 0.0f};
constexpr Rgba WHITE{1.0f, 1.0f, 0.95f, 1.0f};
constexpr Rgba GREY_OUT{0.5f, 0.5f, 0.5f, 0.0f};

struct Look {
  const char* texture;
  Rgba start, end;
  float startSize, endSize;
};

formats::PfxFile Base(const Look& look) {
  formats::PfxFile f;
  f.texture = look.texture;
  for (int i = 0; i < 4; ++i) {
    f.startColor[i] = look.start[i];
    f.endColor[i] = look.end[i];
  }
  f.startSize = look.startSize;
  f.endSize = look.endSize;
  f.sizeVariation = look.startSize * 0.2f;
  return f;
}

// Particles thrown out in every direction at once; over after `seconds`
// of emission and the particles' life.
formats::PfxFile Burst(const Look& look, uint32_t count, float speed, float life, float gravity = 0) {
  formats::PfxFile f = Base(look);
  f.kind = 0;
  f.duration = 0.1f;
  f.initialBurst = count;
  f.maxParticles = count;
  f.emissionRate = 0;
  f.directed = 0;
  f.speed = speed * 0.5f;
  f.speedVariation = speed * 0.5f;
  f.life = life * 0.7f;
  f.lifeVariation = life * 0.3f;
  f.acceleration[2] = gravity;
  f.startAccelerationFactor[2] = f.endAccelerationFactor[2] = 1;
  return f;
}

// A blast: a burst from the surface of a sphere of the given radius.
formats::PfxFile Blast(const Look& look, uint32_t count, float radius, float speed, float life) {
  formats::PfxFile f = Burst(look, count, speed, life);
  f.kind = 1;
  f.radius = radius;
  f.onSurface = 1;
  return f;
}

// A trail: endless, directed along the emission direction (the shots turn
// it to point behind them), a steady stream of short-lived particles.
formats::PfxFile Trail(const Look& look, float rate, float speed, float life) {
  formats::PfxFile f = Base(look);
  f.kind = 0;
  f.duration = 0;
  f.emissionRate = rate;
  f.maxParticles = static_cast<uint32_t>(rate * life * 1.5f) + 4;
  f.directed = 1;
  f.direction[0] = -1;
  f.direction[1] = f.direction[2] = 0;
  f.speed = speed;
  f.speedVariation = speed * 0.3f;
  f.life = life;
  f.lifeVariation = life * 0.2f;
  return f;
}

bool Write(const Output& out, const std::string& name, const formats::PfxFile& f) {
  return out.Write(name, formats::PfxFileBytes(f));
}

bool WriteParticles(const Output& out) {
  bool ok = true;
  // The player's shot meeting a wall; the weapon's muzzle flashes.
  ok &= Write(out, "ImpactoBalaRoja.pfx", Burst({"FxSpark.tga", RED, DARK_RED, 24, 6}, 30, 400, 0.35f));
  ok &= Write(out, "ImpactoBalaAzul.pfx", Burst({"FxSpark.tga", BLUE, DARK_BLUE, 24, 6}, 30, 400, 0.35f));
  ok &= Write(out, "Disparo Arma 0.pfx", Burst({"FxGlow.tga", WHITE, ORANGE, 70, 30}, 16, 200, 0.2f));
  ok &= Write(out, "BulletEmissionRed.pfx", Burst({"FxGlow.tga", RED, DARK_RED, 28, 8}, 12, 150, 0.15f));
  ok &= Write(out, "BulletEmissionBlue.pfx", Burst({"FxGlow.tga", BLUE, DARK_BLUE, 28, 8}, 12, 150, 0.15f));

  // The ability: a sphere of radius 50 whose particles fly outwards for 1 s.
  formats::PfxFile ability = Blast({"FxGlow.tga", GOLD, GOLD_OUT, 50, 120}, 40, 50, 600, 0.7f);
  ability.duration = 1.0f;
  ability.emissionRate = 160;
  ability.maxParticles = 200;
  ok &= Write(out, "Ability.pfx", ability);
  ok &= Write(out, "WWExplosion.pfx", Blast({"FxPuff.tga", ORANGE, SMOKE, 70, 200}, 90, 40, 450, 1.0f));

  // Enemy shots: trails while they fly, sparks where they end.
  ok &= Write(out, "Enemy2EstelaBala.pfx", Trail({"FxGlow.tga", ORANGE, DARK_RED, 40, 10}, 60, 60, 0.4f));
  ok &= Write(out, "Enemy3EstelaBala.pfx", Trail({"FxGlow.tga", GREEN, GREEN_OUT, 45, 10}, 60, 60, 0.4f));
  ok &= Write(out, "Enemy2ImpactoBala.pfx", Burst({"FxSpark.tga", ORANGE, DARK_RED, 30, 8}, 30, 350, 0.4f));
  ok &= Write(out, "Enemy3ImpactoBala.pfx", Burst({"FxSpark.tga", GREEN, GREEN_OUT, 30, 8}, 30, 350, 0.4f));

  // The breaking door and the generators' bars are the mechanisms' effects.

  // The first boss: shots, their hits, the ability's ring of shots, death.
  ok &= Write(out, "Boss0ShotRed.pfx", Trail({"FxGlow.tga", RED, DARK_RED, 60, 14}, 80, 80, 0.4f));
  ok &= Write(out, "Boss0ShotBlue.pfx", Trail({"FxGlow.tga", BLUE, DARK_BLUE, 60, 14}, 80, 80, 0.4f));
  ok &= Write(out, "Boss0Ability.pfx", Trail({"FxGlow.tga", GOLD, GOLD_OUT, 60, 14}, 80, 80, 0.4f));
  ok &= Write(out, "Boss0HitRed.pfx", Burst({"FxSpark.tga", ORANGE, DARK_RED, 40, 10}, 40, 450, 0.45f));
  ok &= Write(out, "Boss0AbilityBulletHit.pfx", Burst({"FxSpark.tga", GOLD, GOLD_OUT, 40, 10}, 40, 450, 0.45f));
  ok &= Write(out, "Boss0KillRed.pfx", Blast({"FxPuff.tga", RED, SMOKE, 90, 260}, 120, 80, 500, 1.5f));
  ok &= Write(out, "Boss0KillBlue.pfx", Blast({"FxPuff.tga", BLUE, SMOKE, 90, 260}, 120, 80, 500, 1.5f));

  // The second boss: its ball, its laser trail, their hits, death.
  ok &= Write(out, "Boss1Bullet.pfx", Trail({"FxPuff.tga", GREEN, GREEN_OUT, 90, 30}, 70, 60, 0.5f));
  ok &= Write(out, "Boss1EstelaBala.pfx", Trail({"FxGlow.tga", WHITE, RED, 40, 6}, 120, 40, 0.25f));
  ok &= Write(out, "Boss1ImpactoBala.pfx", Burst({"FxPuff.tga", GREEN, GREEN_OUT, 60, 20}, 50, 400, 0.6f));
  ok &= Write(out, "Boss1LaserImpact.pfx", Burst({"FxSpark.tga", WHITE, RED, 36, 8}, 40, 500, 0.4f));
  ok &= Write(out, "Boss1Kill.pfx", Blast({"FxPuff.tga", ORANGE, SMOKE, 140, 400}, 160, 160, 700, 2.0f));
  return ok;
}

}  // namespace

DATAGEN_GROUP("effects-particles", WriteParticles);

}  // namespace datagen
