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
// RandomFloat's range worked out once, for drawing many values from it: each
// Draw() takes the draws RandomFloat(min, max) would and gives its value.
class CRandomRange {
 public:
  CRandomRange(float min, float max);
  float Draw() const;

 private:
  float ValueOf(int draw) const;

  float m_Min;
  float m_Fixed;               // what every draw gives, without drawing, while m_AlwaysFixed
  bool m_AlwaysFixed = true;  // an empty range, or one too large to draw from: no draw is taken
  double m_Span = 0.0;
  int m_Last = 0;  // the largest draw whose value is at most max
  int m_Bits = 0;  // the bits a draw needs to reach m_Last
};
// True with probability one half.
bool RandomBool();

}  // namespace Nembra
