#pragma once
// The engine's random numbers: one 15-bit linear congruential generator
// (seed 1 until seeded), the same on every platform so a seed always gives
// the same game.
#include <cstdint>

namespace Nembra {

// Restarts the sequence.
void SeedRandom(uint32_t seed);
// Seeds from the current time; the game calls this once at start-up.
void SeedRandomFromTime();
// The next raw draw, 0..32767.
int RandomDraw();

// A value in [min, max]; min when max <= min.
int32_t RandomInt(int32_t min, int32_t max);
// A value in [min, max]; min when max <= min.
float RandomFloat(float min, float max);
// True with probability one half.
bool RandomBool();

}  // namespace Nembra
