#include "tools/datagen/HudPainter.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/FontRaster.h"

namespace datagen {

namespace {
uint32_t Channel(uint32_t c, int shift) { return (c >> shift) & 0xFFu; }
uint32_t Scale(uint32_t rgb, float f) {
  auto ch = [&](int shift) {
    return static_cast<uint32_t>(std::min(255.0f, std::max(0.0f, float(Channel(rgb, shift)) * f)));
  };
  return (ch(16) << 16) | (ch(8) << 8) | ch(0);
}
}  // namespace

std::string HudFaceFile(bool bold) { return platform::FontFace::SystemFontFile(bold, false); }

void Painter::Blend(int x, int y, uint32_t argb) {
  if (!Inside(x, y)) return;
  uint32_t& d = m_P.At(uint32_t(x), uint32_t(y));
  const float a = float(Channel(argb, 24)) / 255.0f;
  const float da = float(Channel(d, 24)) / 255.0f;
  const float oa = a + da * (1.0f - a);
  if (oa <= 0.0f) {
    d = 0;
    return;
  }
  auto mix = [&](int shift) {
    const float v = (float(Channel(argb, shift)) * a + float(Channel(d, shift)) * da * (1.0f - a)) / oa;
    return static_cast<uint32_t>(std::lround(v)) & 0xFFu;
  };
  d = (static_cast<uint32_t>(std::lround(oa * 255.0f)) << 24) | (mix(16) << 16) | (mix(8) << 8) | mix(0);
}

void Painter::Fill(int x, int y, int w, int h, uint32_t argb) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      if (Inside(i, j)) m_P.At(uint32_t(i), uint32_t(j)) = argb;
}

void Painter::BlendRect(int x, int y, int w, int h, uint32_t argb) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Blend(i, j, argb);
}

void Painter::Outline(int x, int y, int w, int h, uint32_t argb, int t) {
  Fill(x, y, w, t, argb);
  Fill(x, y + h - t, w, t, argb);
  Fill(x, y + t, t, h - 2 * t, argb);
  Fill(x + w - t, y + t, t, h - 2 * t, argb);
}

void Painter::Gradient(int x, int y, int w, int h, uint32_t rgb, uint8_t alpha) {
  for (int j = 0; j < h; ++j) {
    const float f = 1.35f - 0.7f * (h > 1 ? float(j) / float(h - 1) : 0.0f);
    Fill(x, y + j, w, 1, (uint32_t(alpha) << 24) | Scale(rgb, f));
  }
}

void Painter::Glow(int x, int y, int w, int h, uint32_t rgb) {
  const float cx = x + w / 2.0f, cy = y + h / 2.0f;
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) {
      const float dx = (i + 0.5f - cx) / (w / 2.0f), dy = (j + 0.5f - cy) / (h / 2.0f);
      const float r = std::sqrt(dx * dx + dy * dy);
      const float a = std::max(0.0f, 1.0f - r);
      Fill(i, j, 1, 1, (uint32_t(std::lround(std::pow(a, 0.8f) * 255.0f)) << 24) | Scale(rgb, 1.0f + 0.5f * a));
    }
}

void Painter::EdgeGlow(int x, int y, int w, int h, uint32_t rgb, int width) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) {
      const int d = std::min(std::min(i - x, x + w - 1 - i), std::min(j - y, y + h - 1 - j));
      const float a = d < width ? 1.0f - float(d) / float(width) : 0.0f;
      Fill(i, j, 1, 1, (uint32_t(std::lround(a * 230.0f)) << 24) | rgb);
    }
}

void Painter::Disc(float cx, float cy, float r, uint32_t argb) {
  for (int j = int(cy - r) - 1; j <= int(cy + r) + 1; ++j)
    for (int i = int(cx - r) - 1; i <= int(cx + r) + 1; ++i) {
      const float dx = i + 0.5f - cx, dy = j + 0.5f - cy;
      const float cover = std::min(1.0f, std::max(0.0f, r - std::sqrt(dx * dx + dy * dy) + 0.5f));
      if (cover > 0.0f)
        Blend(i, j, (uint32_t(std::lround(cover * float(Channel(argb, 24)))) << 24) | (argb & 0xFFFFFFu));
    }
}

bool Painter::Words(const std::wstring& text, int x, int y, int w, int h, uint32_t rgb, bool bold, int maxPixels) {
  for (int px = std::min(maxPixels, h); px >= 6; --px) {
    std::unique_ptr<platform::FontFace> face = platform::FontFace::OpenFile(HudFaceFile(bold), px);
    if (!face) return false;
    std::vector<platform::GlyphImage> glyphs(text.size());
    int width = 0;
    for (size_t k = 0; k < text.size(); ++k) {
      face->Render(static_cast<char32_t>(text[k]), true, glyphs[k]);
      width += glyphs[k].advance;
    }
    const int height = face->Ascent() + face->Descent();
    if (width + 4 > w || height > h) continue;
    int pen = x + (w - width) / 2;
    const int baseline = y + (h - height) / 2 + face->Ascent();
    // Outline first (the glyph spread one texel in every direction), then the glyph.
    for (int pass = 0; pass < 2; ++pass) {
      int p = pen;
      for (const platform::GlyphImage& g : glyphs) {
        for (int j = 0; j < g.height; ++j)
          for (int i = 0; i < g.width; ++i) {
            const uint32_t c = g.coverage[size_t(j) * g.width + i];
            if (!c) continue;
            const int gx = p + g.left + i, gy = baseline - g.top + j;
            if (pass == 0) {
              for (int oy = -1; oy <= 1; ++oy)
                for (int ox = -1; ox <= 1; ++ox) Blend(gx + ox, gy + oy, (c << 24) | 0x101010u);
            } else {
              Blend(gx, gy, (c << 24) | rgb);
            }
          }
        p += g.advance;
      }
    }
    return true;
  }
  return true;
}

}  // namespace datagen
