#pragma once
// Small painting helpers for the PDA's pictures: filled and outlined boxes
// with rounded corners, gradients, discs, rings and lines, on a picture of
// packed ARGB words. Everything is integer or plain float arithmetic, so
// two runs paint the same bytes.
#include <cmath>
#include <cstdint>

#include "tools/formats/GraphicsFiles.h"

namespace datagen::paint {

using formats::TestPicture;

inline uint32_t Argb(int a, int r, int g, int b) {
  return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}
inline uint32_t Lerp(uint32_t c0, uint32_t c1, float t) {
  uint32_t out = 0;
  for (int shift : {24, 16, 8, 0}) {
    const float a = float((c0 >> shift) & 0xFF), b = float((c1 >> shift) & 0xFF);
    out |= uint32_t(int(a + (b - a) * t + 0.5f) & 0xFF) << shift;
  }
  return out;
}
// Source-over blending of colour onto the pixel.
inline void Blend(TestPicture& p, int x, int y, uint32_t color) {
  if (x < 0 || y < 0 || x >= int(p.width) || y >= int(p.height)) return;
  const float a = float(color >> 24) / 255.0f;
  uint32_t& dst = p.At(uint32_t(x), uint32_t(y));
  const float da = float(dst >> 24) / 255.0f;
  const float oa = a + da * (1.0f - a);
  uint32_t out = uint32_t(int(oa * 255.0f + 0.5f)) << 24;
  for (int shift : {16, 8, 0}) {
    const float s = float((color >> shift) & 0xFF), d = float((dst >> shift) & 0xFF);
    const float v = oa > 0.0f ? (s * a + d * da * (1.0f - a)) / oa : 0.0f;
    out |= uint32_t(int(v + 0.5f) & 0xFF) << shift;
  }
  dst = out;
}
inline void Set(TestPicture& p, int x, int y, uint32_t color) {
  if (x >= 0 && y >= 0 && x < int(p.width) && y < int(p.height)) p.At(uint32_t(x), uint32_t(y)) = color;
}
// Inside a box with corners cut round by radius r.
inline bool InRounded(int x, int y, int x0, int y0, int w, int h, int r) {
  if (x < x0 || y < y0 || x >= x0 + w || y >= y0 + h) return false;
  const int cx = x < x0 + r ? x0 + r : (x >= x0 + w - r ? x0 + w - r - 1 : x);
  const int cy = y < y0 + r ? y0 + r : (y >= y0 + h - r ? y0 + h - r - 1 : y);
  const int dx = x - cx, dy = y - cy;
  return dx * dx + dy * dy <= r * r;
}
// Replaces the pixels of the box (no blending).
inline void Fill(TestPicture& p, int x0, int y0, int w, int h, uint32_t color) {
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) Set(p, x, y, color);
}
// A vertical gradient in a rounded box with a border of the given width.
inline void Panel(TestPicture& p, int x0, int y0, int w, int h, int r, uint32_t top, uint32_t bottom,
                  uint32_t border, int borderWidth = 1) {
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) {
      if (!InRounded(x, y, x0, y0, w, h, r)) continue;
      const bool edge = !InRounded(x, y, x0 + borderWidth, y0 + borderWidth, w - 2 * borderWidth,
                                   h - 2 * borderWidth, r > borderWidth ? r - borderWidth : 0);
      Blend(p, x, y, edge ? border : Lerp(top, bottom, h > 1 ? float(y - y0) / float(h - 1) : 0.0f));
    }
}
inline void Disc(TestPicture& p, float cx, float cy, float radius, uint32_t color) {
  for (int y = int(cy - radius) - 1; y <= int(cy + radius) + 1; ++y)
    for (int x = int(cx - radius) - 1; x <= int(cx + radius) + 1; ++x) {
      const float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
      if (dx * dx + dy * dy <= radius * radius) Blend(p, x, y, color);
    }
}
inline void Ring(TestPicture& p, float cx, float cy, float radius, float width, uint32_t color) {
  for (int y = int(cy - radius) - 1; y <= int(cy + radius) + 1; ++y)
    for (int x = int(cx - radius) - 1; x <= int(cx + radius) + 1; ++x) {
      const float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
      const float d = std::sqrt(dx * dx + dy * dy);
      if (d <= radius && d >= radius - width) Blend(p, x, y, color);
    }
}
// A line of the given thickness.
inline void Line(TestPicture& p, float x0, float y0, float x1, float y1, float width, uint32_t color) {
  const float dx = x1 - x0, dy = y1 - y0;
  const float len2 = dx * dx + dy * dy;
  const int minX = int(std::fmin(x0, x1) - width) - 1, maxX = int(std::fmax(x0, x1) + width) + 1;
  const int minY = int(std::fmin(y0, y1) - width) - 1, maxY = int(std::fmax(y0, y1) + width) + 1;
  for (int y = minY; y <= maxY; ++y)
    for (int x = minX; x <= maxX; ++x) {
      const float px = float(x) + 0.5f - x0, py = float(y) + 0.5f - y0;
      float t = len2 > 0.0f ? (px * dx + py * dy) / len2 : 0.0f;
      t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
      const float ex = px - t * dx, ey = py - t * dy;
      if (ex * ex + ey * ey <= width * width * 0.25f) Blend(p, x, y, color);
    }
}

}  // namespace datagen::paint
