#pragma once
// Reading the picture programs' 800 x 600 pictures: the pixel a world point
// lands on, the pixels of a box that pass a test, how far a channel leads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/Platform.h"
#include "scenario/ScreenProbe.h"

namespace imagetest {

using scenario::B;
using scenario::G;
using scenario::Project;
using scenario::R;

inline int Channel(uint32_t argb, int shift) { return int((argb >> shift) & 0xFF); }

// How far the channel at `shift` (16 red, 8 green, 0 blue) leads the other two.
inline int Lead(uint32_t c, int shift) {
  int others = 0;
  for (int s : {16, 8, 0})
    if (s != shift) others = std::max(others, Channel(c, s));
  return Channel(c, shift) - others;
}

inline uint32_t PixelOf(const std::vector<uint32_t>& argb, const Nembra::CCamera& camera, const D3DXVECTOR3& p) {
  const D3DXVECTOR3 s = Project(camera, p);
  return argb[size_t(std::clamp(int(s.y), 0, 599)) * 800 + size_t(std::clamp(int(s.x), 0, 799))];
}

// Pixels of [x0, x1) x [y0, y1), clipped to the picture, for which `test` holds.
template <class Test>
int CountIn(const std::vector<uint32_t>& argb, int x0, int y0, int x1, int y1, Test test) {
  int n = 0;
  for (int y = std::max(0, y0); y < std::min(600, y1); ++y)
    for (int x = std::max(0, x0); x < std::min(800, x1); ++x) n += test(argb[size_t(y) * 800 + size_t(x)]) ? 1 : 0;
  return n;
}

// The main of a program whose pictures need the real OpenGL device.
inline int RunOnGl(int argc, char** argv) {
  platform::SetBackend(platform::Backend::SdlGl);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

}  // namespace imagetest
