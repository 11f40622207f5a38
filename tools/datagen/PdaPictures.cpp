// The pictures the level descriptions and the document list name: a GPS
// map per level drawn from its room layout, and the images of the image
// documents and of the e-mails' image attachments.
#include <algorithm>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/DemoLevels.h"
#include "tools/datagen/LevelLayouts.h"
#include "tools/datagen/PdaPaint.h"

namespace {

using namespace datagen::paint;

// The maps fill the GPS window: 512 x 256 texels.
constexpr int MAP_W = 512, MAP_H = 256;
// Document and attachment pictures: the viewer shows their top-left 480 x
// 200 texels; the texture is a power of two in each direction, which the
// texture loader takes as it stands.
constexpr int PICTURE_W = 480, PICTURE_H = 200;
constexpr int TEXTURE_W = 512, TEXTURE_H = 256;

TestPicture Map(const datagen::LEVEL_LAYOUT& layout) {
  TestPicture p(MAP_W, MAP_H, Argb(255, 8, 30, 22));
  for (int x = 0; x < MAP_W; x += 32) Fill(p, x, 0, 1, MAP_H, Argb(255, 16, 52, 38));
  for (int y = 0; y < MAP_H; y += 32) Fill(p, 0, y, MAP_W, 1, Argb(255, 16, 52, 38));
  float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
  for (const datagen::LAYOUT_BOX& b : layout.rooms) {
    minX = std::min(minX, b.minX);
    minY = std::min(minY, b.minY);
    maxX = std::max(maxX, b.maxX);
    maxY = std::max(maxY, b.maxY);
  }
  // World x to the right, world y up; a margin of 16 texels.
  const float scale = std::min(float(MAP_W - 32) / (maxX - minX), float(MAP_H - 32) / (maxY - minY));
  const float offX = (float(MAP_W) - (maxX - minX) * scale) * 0.5f;
  const float offY = (float(MAP_H) - (maxY - minY) * scale) * 0.5f;
  auto box = [&](const datagen::LAYOUT_BOX& b, uint32_t fill) {
    const int x0 = int(offX + (b.minX - minX) * scale), x1 = int(offX + (b.maxX - minX) * scale);
    const int y0 = int(offY + (maxY - b.maxY) * scale), y1 = int(offY + (maxY - b.minY) * scale);
    Fill(p, x0, y0, x1 - x0, y1 - y0, fill);
  };
  for (const datagen::LAYOUT_BOX& b : layout.rooms)
    box({b.minX - 40, b.minY - 40, b.maxX + 40, b.maxY + 40}, Argb(255, 90, 220, 150));
  for (const datagen::LAYOUT_BOX& b : layout.rooms) box(b, Argb(255, 20, 80, 56));
  for (const datagen::LAYOUT_BOX& b : layout.pillars) box(b, Argb(255, 90, 220, 150));
  const float sx = offX + (layout.playerStart.x - minX) * scale, sy = offY + (maxY - layout.playerStart.y) * scale;
  Disc(p, sx, sy, 5.0f, Argb(255, 255, 210, 60));
  Ring(p, sx, sy, 9.0f, 1.5f, Argb(255, 255, 210, 60));
  return p;
}

// A schematic picture, different for each seed: a frame, rings and links.
TestPicture Schematic(int seed) {
  TestPicture p(TEXTURE_W, TEXTURE_H, Argb(255, 12, 22, 34));
  Panel(p, 0, 0, PICTURE_W, PICTURE_H, 6, Argb(255, 20, 40, 62), Argb(255, 8, 16, 26), Argb(255, 79, 163, 224), 2);
  for (int x = 20; x < PICTURE_W; x += 40) Fill(p, x, 8, 1, PICTURE_H - 16, Argb(255, 24, 48, 72));
  const int nodes = 3 + seed % 4;
  float px = 0, py = 0;
  for (int i = 0; i < nodes; ++i) {
    const float x = 60.0f + float((i * 97 + seed * 53) % 360);
    const float y = 40.0f + float((i * 61 + seed * 29) % 120);
    if (i) Line(p, px, py, x, y, 3.0f, Argb(255, 150, 215, 255));
    Disc(p, x, y, 10.0f + float((i + seed) % 3) * 4.0f, Argb(255, 30, 90, 150));
    Ring(p, x, y, 14.0f + float((i + seed) % 3) * 4.0f, 2.0f, Argb(255, 150, 215, 255));
    px = x;
    py = y;
  }
  Fill(p, 16, PICTURE_H - 24, 120 + 20 * (seed % 5), 6, Argb(255, 255, 210, 60));
  return p;
}

bool WritePdaPictures(const datagen::Output& out) {
  bool ok = true;
  for (const datagen::LEVEL_LAYOUT& layout : datagen::DemoLevelLayouts())
    for (const datagen::DemoLevel& level : datagen::DEMO_LEVELS)
      if (layout.name == level.name) ok &= out.Write(level.mapTexture, formats::PngBytes(Map(layout), false));
  for (int n = 0; n < datagen::DEMO_DOCUMENT_COUNT; ++n)
    if (datagen::DocumentIsImage(n))
      ok &= out.Write(datagen::DocumentImageName(n), formats::PngBytes(Schematic(n), false));
  int seed = 20;
  for (const datagen::DemoLevel& level : datagen::DEMO_LEVELS)
    ok &= out.Write(datagen::AttachmentImageName(level), formats::PngBytes(Schematic(seed++), false));
  return ok;
}

}  // namespace

DATAGEN_GROUP("pda pictures", WritePdaPictures);
