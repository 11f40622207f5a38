#include "tools/datagen/HudPictures.h"

#include <string>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/HudPainter.h"
#include "tools/formats/GraphicsFiles.h"

namespace datagen {

void PaintPortrait(Painter& p, int x, int y, int size, uint32_t groundRgb, uint32_t skinArgb) {
  p.Clip(x, y, size, size);
  p.Gradient(x, y, size, size, groundRgb);
  const float s = float(size);
  // Shoulders, neck, head, then the eyes.
  p.Disc(x + s * 0.5f, y + s * 1.08f, s * 0.45f, 0xFF2A3440u);
  p.Fill(x + int(s * 0.43f), y + int(s * 0.55f), int(s * 0.14f), int(s * 0.12f), skinArgb);
  p.Disc(x + s * 0.5f, y + s * 0.40f, s * 0.22f, skinArgb);
  p.Disc(x + s * 0.42f, y + s * 0.38f, s * 0.03f, 0xFF202020u);
  p.Disc(x + s * 0.58f, y + s * 0.38f, s * 0.03f, 0xFF202020u);
  p.Outline(x, y, size, size, 0xFF101010u, 1);
  p.NoClip();
}

bool WritePortraits(const Output& out) {
  formats::TestPicture image(256, 128, 0x00000000u);
  Painter p(image);
  PaintPortrait(p, PORTRAIT_COMMANDER.x, PORTRAIT_COMMANDER.y, PORTRAIT_COMMANDER.width, 0x405870, 0xFFC89070u);
  PaintPortrait(p, PORTRAIT_ENGINEER.x, PORTRAIT_ENGINEER.y, PORTRAIT_ENGINEER.width, 0x706040, 0xFFE0B090u);
  return out.Write(PORTRAITS_IMAGE, formats::PngBytes(image));
}

}  // namespace datagen
