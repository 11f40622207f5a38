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

CRandomRange::CRandomRange(float min, float max) : m_Min(min), m_Fixed(min) {
  if (!(max > min)) return;
  const float high = max + 1.0f;
  if (!(high > max)) {
    m_Fixed = max;
    return;
  }
  // Spread over [min, max + 1), a draw r gives min + r / 32768 x (max + 1 - min);
  // the draws whose value lies above max are not taken, so both ends can come
  // up. The value grows with r, so the draws taken are 0..last: one of them is
  // chosen at once instead of drawing again and again (a narrow range would
  // otherwise cost up to thousands of draws).
  m_Span = static_cast<double>(high - min);
  if (!std::isfinite(m_Span)) return;
  m_AlwaysFixed = false;
  for (int step = 1 << 14; step > 0; step >>= 1)
    if (static_cast<double>(ValueOf(m_Last + step)) <= static_cast<double>(max)) m_Last += step;
  while ((1 << m_Bits) <= m_Last) ++m_Bits;
}

float CRandomRange::ValueOf(int draw) const { return static_cast<float>(m_Min + draw * DRAW_SCALE * m_Span); }

float CRandomRange::Draw() const {
  if (m_AlwaysFixed) return m_Fixed;
  for (;;) {
    const int r = RandomDraw() >> (15 - m_Bits);  // the generator's high bits are its best
    if (r <= m_Last) return ValueOf(r);
  }
}

float RandomFloat(float min, float max) { return CRandomRange(min, max).Draw(); }

bool RandomBool() { return RandomInt(0, 1) == 1; }

}  // namespace Nembra
