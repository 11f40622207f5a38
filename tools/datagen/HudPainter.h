#pragma once
// Painting of the HUD's demo pictures: panels, bars, glows and words
// rendered with the system's DejaVu faces, into a picture of packed ARGB.
#include <cstdint>
#include <string>

#include "tools/formats/GraphicsFiles.h"

namespace datagen {

class Painter {
 public:
  explicit Painter(formats::TestPicture& picture)
      : m_P(picture), m_ClipRight(int(picture.width)), m_ClipBottom(int(picture.height)) {}

  // Limits every drawing to the rectangle (the whole picture by default).
  void Clip(int x, int y, int w, int h) {
    m_ClipLeft = x;
    m_ClipTop = y;
    m_ClipRight = x + w;
    m_ClipBottom = y + h;
  }
  void NoClip() { Clip(0, 0, int(m_P.width), int(m_P.height)); }

  // Blends a colour (ARGB) over one texel; outside the picture nothing.
  void Blend(int x, int y, uint32_t argb);
  // Sets texels without blending.
  void Fill(int x, int y, int w, int h, uint32_t argb);
  void BlendRect(int x, int y, int w, int h, uint32_t argb);
  // A one-texel outline, thickness t, inside the rectangle.
  void Outline(int x, int y, int w, int h, uint32_t argb, int t = 1);
  // Top-to-bottom shade from rgb brightened to rgb darkened, opaque.
  void Gradient(int x, int y, int w, int h, uint32_t rgb, uint8_t alpha = 0xFF);
  // A soft round glow of rgb filling the rectangle, opaque in the middle.
  void Glow(int x, int y, int w, int h, uint32_t rgb);
  // A soft glowing border along the rectangle's edges.
  void EdgeGlow(int x, int y, int w, int h, uint32_t rgb, int width);
  void Disc(float cx, float cy, float r, uint32_t argb);

  // Writes the text centred in the rectangle in the largest size up to
  // maxPixels that fits, in rgb with a dark outline. False when the face
  // cannot be opened.
  bool Words(const std::wstring& text, int x, int y, int w, int h, uint32_t rgb, bool bold = true,
             int maxPixels = 64);

 private:
  bool Inside(int x, int y) const {
    return x >= m_ClipLeft && y >= m_ClipTop && x < m_ClipRight && y < m_ClipBottom && x < int(m_P.width) &&
           y < int(m_P.height) && x >= 0 && y >= 0;
  }
  formats::TestPicture& m_P;
  int m_ClipLeft = 0, m_ClipTop = 0, m_ClipRight, m_ClipBottom;
};

// The system's DejaVu face file (upright, bold or not).
std::string HudFaceFile(bool bold);

}  // namespace datagen
