#pragma once
// Painting words into generated pictures with the system's DejaVu faces.
#include <cstdint>
#include <string>

#include "tools/formats/GraphicsFiles.h"

namespace datagen {

struct PaintBox {
  int x, y, w, h;
};

// Paints the text centred in the box, at the largest size up to maxPixels
// whose width fits the box. With keyAlpha the coverage becomes the
// pixel's alpha over the colour (for atlases on transparent ground); else
// the colour is blended over what is there. False when no face opens.
bool PaintText(formats::TestPicture& picture, const std::wstring& text, const PaintBox& box, uint32_t rgb,
               int maxPixels, bool bold = true, bool keyAlpha = false);

// A vertical gradient from top to bottom colour over the box (opaque).
void FillGradient(formats::TestPicture& picture, const PaintBox& box, uint32_t top, uint32_t bottom);
void FillBox(formats::TestPicture& picture, const PaintBox& box, uint32_t argb);
// A filled ellipse inside the box.
void FillEllipse(formats::TestPicture& picture, const PaintBox& box, uint32_t argb);

}  // namespace datagen
