// The bitmap fonts of the front end, the HUD and the PDA, made from the
// system's DejaVu faces with the characters of the three languages. Each
// font is a glyph table (name.dat) and an atlas (name.png), kept beside the
// table: the game reads fonts and textures from the data folder itself.
#include <cstdio>
#include <string>

#include "frontend/FontNames.h"
#include "platform/FontRaster.h"
#include "tools/datagen/DataGen.h"
#include "tools/formats/BitmapFontFiles.h"

namespace {

// The folder of the system's DejaVu faces (where the engine finds its stand-in face).
std::string FontFolder() {
  const std::string upright = platform::FontFace::SystemFontFile(false, false);
  return upright.substr(0, upright.find_last_of('/') + 1);
}

struct FontDescription {
  const char* name;
  const char* faceFile;
  int pixels;
};

const FontDescription kFonts[] = {
    {FONT_GUI_SMALL_NUMBERS, "DejaVuSans.ttf", 13},
    {FONT_GUI_BIG_NUMBERS, "DejaVuSans-Bold.ttf", 22},
    {FONT_GUI_DIGITAL, "DejaVuSansMono-Bold.ttf", 22},
    {FONT_GUI_MESSAGE, "DejaVuSans.ttf", 12},
    {FONT_GUI_COMIC, "DejaVuSansCondensed-Bold.ttf", 15},
    {FONT_PDA_STD, "DejaVuSans.ttf", 15},
    {FONT_PDA_STD_ITALIC, "DejaVuSans-Oblique.ttf", 15},
    {FONT_PDA_TITLE, "DejaVuSans-Bold.ttf", 19},
};
static_assert(sizeof kFonts / sizeof kFonts[0] == GAME_FONT_NAMES.size(), "one description per game font");

bool WriteFonts(const datagen::Output& out) {
  for (const FontDescription& font : kFonts) {
    formats::BitmapFontBytes bytes;
    if (!formats::MakeGameFontBytes(FontFolder() + font.faceFile, font.pixels, bytes)) {
      std::fprintf(stderr, "datagen: cannot make font %s from %s\n", font.name, font.faceFile);
      return false;
    }
    const std::string name = font.name;
    if (!out.Write(name + ".dat", bytes.glyphTable) || !out.Write(name + ".png", bytes.atlasPng))
      return false;
  }
  return true;
}

}  // namespace

DATAGEN_GROUP("fonts", WriteFonts);
