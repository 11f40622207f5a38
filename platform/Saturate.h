#pragma once
// Whole numbers that come from files and scripts meet int32 arithmetic
// here: sums and conversions that stop at the ends of the range instead of
// overflowing, and the range a pixel coordinate or size is held to.
#include <cmath>
#include <cstdint>
#include <limits>

namespace platform {

// v, or the nearer end of the int32 range.
constexpr int32_t ClampToInt32(int64_t v) {
  return v > std::numeric_limits<int32_t>::max()   ? std::numeric_limits<int32_t>::max()
         : v < std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::min()
                                                   : static_cast<int32_t>(v);
}

// A float made whole as a cast does (towards zero); past the int32 range
// the nearer end, NaN 0.
inline int32_t TruncateToInt32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

constexpr int32_t AddSaturated(int32_t a, int32_t b) { return ClampToInt32(int64_t(a) + int64_t(b)); }

// Pixel coordinates and sizes on a screen or in an image are held to
// -limit..limit: far beyond any screen or texture, and small enough that
// sums and differences of a few of them stay inside int32 and are exact in
// a float.
constexpr int32_t PIXEL_COORDINATE_LIMIT = 1 << 20;
constexpr int32_t ClampPixelCoordinate(int64_t v) {
  return v > PIXEL_COORDINATE_LIMIT ? PIXEL_COORDINATE_LIMIT
         : v < -PIXEL_COORDINATE_LIMIT ? -PIXEL_COORDINATE_LIMIT
                                       : static_cast<int32_t>(v);
}
// The same for a position kept as a float (NaN gives 0).
inline float ClampPixelPosition(float v) {
  if (std::isnan(v)) return 0.0f;
  const float limit = static_cast<float>(PIXEL_COORDINATE_LIMIT);
  return v > limit ? limit : v < -limit ? -limit : v;
}

}  // namespace platform
