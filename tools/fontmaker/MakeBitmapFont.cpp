// make_bitmap_font: rasterises a TrueType font into the atlas (NAME.png)
// and glyph table (NAME.dat) of a bitmap font, with the characters of
// English, Spanish and Russian.
//
//   make_bitmap_font NAME PIXELS [FONT-FILE]
//
// Without a font file, DejaVu Sans from the system's font folder is used.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/FontRaster.h"
#include "tools/formats/BitmapFontFiles.h"
#include "tools/formats/TextFiles.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: %s NAME PIXELS [FONT-FILE]\n", argv[0]);
    return 2;
  }
  const std::string name = argv[1];
  char* end = nullptr;
  const long pixels = std::strtol(argv[2], &end, 10);
  if (!end || *end != '\0' || pixels < 4 || pixels > 256) {
    std::fprintf(stderr, "PIXELS must be a whole number from 4 to 256\n");
    return 2;
  }
  const std::string fontFile = argc == 4 ? argv[3] : platform::FontFace::SystemFontFile(false, false);
  formats::BitmapFont font;
  formats::BitmapFontBytes bytes;
  if (!formats::MakeGameFontBytes(fontFile, static_cast<int>(pixels), bytes, &font)) {
    std::fprintf(stderr, "cannot read font %s\n", fontFile.c_str());
    return 1;
  }
  if (!formats::WriteBytes(name + ".png", bytes.atlasPng) || !formats::WriteBytes(name + ".dat", bytes.glyphTable)) {
    std::fprintf(stderr, "cannot write %s.png / %s.dat\n", name.c_str(), name.c_str());
    return 1;
  }
  std::printf("%s: %zu glyphs, line height %u, atlas %dx%d\n", name.c_str(), font.glyphs.size(),
              font.lineHeight, font.atlas.width, font.atlas.height);
  return 0;
}
