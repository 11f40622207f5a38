#include "engine/util/Random.h"

#include <chrono>
#include <cmath>

namespace Nembra {

namespace {
uint32_t g_RandomState = 1;
const double DRAW_SCALE = 1.0 / 32768.0;
}  // namespace

void SeedRandom(uint32_t seed) { g_RandomState = seed; }

void SeedRandomFromTime() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  SeedRandom(static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::seconds>(now).count()));
}

int RandomDraw() {
  g_RandomState = g_RandomState * 214013u + 2531011u;
  return static_cast<int>((g_RandomState >> 16) & 0x7FFFu);
}

int32_t RandomInt(int32_t min, int32_t max) {
  if (max <= min) return min;
  // At most 2^32 wide: exact in a double, and r / 32768 < 1 keeps the
  // result at or below max, so one draw always suffices.
  const double width = static_cast<double>(static_cast<int64_t>(max) - min + 1);
  const int64_t value = min + static_cast<int64_t>(std::floor(RandomDraw() * DRAW_SCALE * width));
  return static_cast<int32_t>(value > max ? max : value);
}

float RandomFloat(float min, float max) {
  if (!(max > min)) return min;
  const float high = max + 1.0f;
  if (!(high > max)) return max;
  // Drawn over [min, max + 1) and drawn again above max, so both ends can come up.
  const double span = static_cast<double>(high - min);
  if (!std::isfinite(span)) return min;
  for (;;) {
    const float value = static_cast<float>(min + RandomDraw() * DRAW_SCALE * span);
    if (static_cast<double>(value) <= static_cast<double>(max)) return value;
  }
}

bool RandomBool() { return RandomInt(0, 1) == 1; }

}  // namespace Nembra
