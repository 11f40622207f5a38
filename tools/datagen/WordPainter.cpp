#include "tools/datagen/WordPainter.h"

#include <algorithm>
#include <memory>

#include "platform/FontRaster.h"

namespace datagen {

namespace {

int TextWidth(platform::FontFace& face, const std::wstring& text) {
  int width = 0;
  platform::GlyphImage glyph;
  for (wchar_t c : text)
    if (face.Render(static_cast<char32_t>(c), true, glyph)) width += glyph.advance;
  return width;
}

uint32_t Mix(uint32_t under, uint32_t rgb, int coverage) {
  uint32_t out = 0xFF000000u;
  for (int shift : {16, 8, 0}) {
    const int a = int((under >> shift) & 0xFF), b = int((rgb >> shift) & 0xFF);
    out |= uint32_t((a * (255 - coverage) + b * coverage) / 255) << shift;
  }
  return out;
}

}  // namespace

bool PaintText(formats::TestPicture& picture, const std::wstring& text, const PaintBox& box, uint32_t rgb,
               int maxPixels, bool bold, bool keyAlpha) {
  const std::string file = platform::FontFace::SystemFontFile(bold, false);
  std::unique_ptr<platform::FontFace> face;
  for (int pixels = maxPixels; pixels >= 6; --pixels) {
    face = platform::FontFace::OpenFile(file, pixels);
    if (!face) return false;
    if (TextWidth(*face, text) <= box.w - 2 && face->LineHeight() <= box.h + 2) break;
  }
  if (!face) return false;
  int penX = box.x + (box.w - TextWidth(*face, text)) / 2;
  const int baseline = box.y + (box.h - face->LineHeight()) / 2 + face->Ascent();
  platform::GlyphImage glyph;
  for (wchar_t c : text) {
    if (!face->Render(static_cast<char32_t>(c), true, glyph)) continue;
    for (int gy = 0; gy < glyph.height; ++gy)
      for (int gx = 0; gx < glyph.width; ++gx) {
        const int px = penX + glyph.left + gx, py = baseline - glyph.top + gy;
        if (px < box.x || py < box.y || px >= box.x + box.w || py >= box.y + box.h) continue;
        if (px < 0 || py < 0 || uint32_t(px) >= picture.width || uint32_t(py) >= picture.height) continue;
        const int coverage = glyph.coverage[size_t(gy) * size_t(glyph.width) + size_t(gx)];
        if (coverage == 0) continue;
        uint32_t& pixel = picture.At(uint32_t(px), uint32_t(py));
        if (keyAlpha) {
          const uint32_t alpha = std::max<uint32_t>(pixel >> 24, uint32_t(coverage));
          pixel = (alpha << 24) | (rgb & 0xFFFFFFu);
        } else {
          pixel = Mix(pixel, rgb, coverage);
        }
      }
    penX += glyph.advance;
  }
  return true;
}

void FillGradient(formats::TestPicture& picture, const PaintBox& box, uint32_t top, uint32_t bottom) {
  for (int y = 0; y < box.h; ++y) {
    const int t = box.h > 1 ? y * 255 / (box.h - 1) : 0;
    const uint32_t colour = Mix(top, bottom, t);
    for (int x = 0; x < box.w; ++x) picture.At(uint32_t(box.x + x), uint32_t(box.y + y)) = colour;
  }
}

void FillBox(formats::TestPicture& picture, const PaintBox& box, uint32_t argb) {
  for (int y = 0; y < box.h; ++y)
    for (int x = 0; x < box.w; ++x) picture.At(uint32_t(box.x + x), uint32_t(box.y + y)) = argb;
}

void FillEllipse(formats::TestPicture& picture, const PaintBox& box, uint32_t argb) {
  const double cx = box.x + box.w / 2.0, cy = box.y + box.h / 2.0, rx = box.w / 2.0, ry = box.h / 2.0;
  for (int y = box.y; y < box.y + box.h; ++y)
    for (int x = box.x; x < box.x + box.w; ++x) {
      const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
      if (dx * dx + dy * dy <= 1.0) picture.At(uint32_t(x), uint32_t(y)) = argb;
    }
}

}  // namespace datagen
