#pragma once
// Pixel probes of the front end's and the application's pictures: channels,
// colours near a wanted one, counts of the pixels that pass a test.
#include <cstdlib>

#include "scenario/ScreenProbe.h"

namespace probe {

using scenario::B;
using scenario::G;
using scenario::R;

// Every channel within `tolerance` of the wanted colour's (0xRRGGBB).
inline bool Near(uint32_t c, uint32_t want, int tolerance = 8) {
  return std::abs(R(c) - R(want)) <= tolerance && std::abs(G(c) - G(want)) <= tolerance &&
         std::abs(B(c) - B(want)) <= tolerance;
}
inline bool IsWhite(uint32_t c, int floor = 200) { return R(c) > floor && G(c) > floor && B(c) > floor; }

// Pixels of the box [x0, x1) x [y0, y1) that pass a test.
template <class Test>
int Count(const scenario::ScreenScenario& s, int x0, int y0, int x1, int y1, Test test) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += test(s.PixelAt(x, y)) ? 1 : 0;
  return n;
}
inline int White(const scenario::ScreenScenario& s, int x0, int y0, int x1, int y1, int floor = 200) {
  return Count(s, x0, y0, x1, y1, [&](uint32_t c) { return IsWhite(c, floor); });
}
// Points of a grid over an 800 x 600 picture (every `step` pixels from `step`)
// where some channel passes `floor`.
inline int LitProbes(const std::vector<uint32_t>& pixels, int step, int floor) {
  int lit = 0;
  for (int y = step; y < 600; y += step)
    for (int x = step; x < 800; x += step) {
      const uint32_t c = pixels[size_t(y) * 800 + size_t(x)];
      lit += R(c) > floor || G(c) > floor || B(c) > floor ? 1 : 0;
    }
  return lit;
}
inline int CountNear(const scenario::ScreenScenario& s, int x0, int y0, int x1, int y1, uint32_t colour,
                     int tolerance = 40) {
  return Count(s, x0, y0, x1, y1, [&](uint32_t c) { return Near(c, colour, tolerance); });
}

}  // namespace probe
