#pragma once
// Bitmap fonts as the engine reads them: an atlas image (white glyphs,
// coverage in alpha) and a glyph table. The font maker and the tests build
// their fonts with these.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/formats/GraphicsFiles.h"

namespace formats {

// One record of the glyph table: the character, its advance width and the
// atlas position of the left edge of its advance box (the drawn quad
// reaches 5 pixels further on either side) and of its top edge.
struct GlyphRecord {
  uint16_t code = 0;
  int32_t advance = 0;
  int32_t x = 0;
  int32_t y = 0;
};

// Bytes of a glyph table: u32 unused, u32 line height, i32 count, then
// per glyph u16 code, i32 advance, i32 x, i32 y; little-endian, packed.
std::string GlyphTableBytes(uint32_t lineHeight, const std::vector<GlyphRecord>& glyphs);
// Same with a count field that differs from the records written (for
// damaged-file tests).
std::string GlyphTableBytes(uint32_t lineHeight, int32_t count, const std::vector<GlyphRecord>& glyphs);

struct BitmapFont {
  uint32_t lineHeight = 0;
  TestPicture atlas;  // power-of-two sizes, so the texture loader keeps texels as they are
  std::vector<GlyphRecord> glyphs;
};

// Margin each glyph image carries left and right of its advance box.
constexpr int kGlyphMargin = 5;

// The characters of the game's three languages: printable ASCII, Latin-1
// (U+00A0 to U+00FF) and Cyrillic (U+0400 to U+045F).
std::wstring GameFontCharacters();

// Rasterises the characters of the font file at an em size of pixelHeight
// into an atlas and glyph table. Characters the font lacks are left out.
// False (with a log line) when the font cannot be opened.
bool MakeBitmapFont(const std::string& fontFile, int pixelHeight, const std::wstring& characters,
                    BitmapFont& out);

// Writes name + ".png" and name + ".dat".
bool WriteBitmapFont(const std::string& name, const BitmapFont& font);

// The bytes of a made font's two files.
struct BitmapFontBytes {
  std::string atlasPng;
  std::string glyphTable;
};
// Makes a font with the game's characters from a font file and returns its
// files' bytes; false (with a log line) when the font file cannot be read.
bool MakeGameFontBytes(const std::string& fontFile, int pixelHeight, BitmapFontBytes& out,
                       BitmapFont* made = nullptr);

}  // namespace formats
