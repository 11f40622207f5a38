#include "tools/formats/BitmapFontFiles.h"

#include <algorithm>
#include <cstdio>

#include "platform/FontRaster.h"
#include "platform/Log.h"
#include "tools/formats/TextFiles.h"

namespace formats {

namespace {

void PutU16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}
void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

int NextPowerOfTwo(int v) {
  int p = 1;
  while (p < v) p <<= 1;
  return p;
}

}  // namespace

std::string GlyphTableBytes(uint32_t lineHeight, const std::vector<GlyphRecord>& glyphs) {
  return GlyphTableBytes(lineHeight, static_cast<int32_t>(glyphs.size()), glyphs);
}

std::string GlyphTableBytes(uint32_t lineHeight, int32_t count, const std::vector<GlyphRecord>& glyphs) {
  std::string out;
  out.reserve(12 + glyphs.size() * 14);
  PutU32(out, 0);
  PutU32(out, lineHeight);
  PutU32(out, static_cast<uint32_t>(count));
  for (const GlyphRecord& g : glyphs) {
    PutU16(out, g.code);
    PutU32(out, static_cast<uint32_t>(g.advance));
    PutU32(out, static_cast<uint32_t>(g.x));
    PutU32(out, static_cast<uint32_t>(g.y));
  }
  return out;
}

std::wstring GameFontCharacters() {
  std::wstring chars;
  for (wchar_t c = 0x20; c < 0x7F; ++c) chars += c;
  for (wchar_t c = 0xA0; c <= 0xFF; ++c) chars += c;
  for (wchar_t c = 0x0400; c <= 0x045F; ++c) chars += c;
  return chars;
}

bool MakeBitmapFont(const std::string& fontFile, int pixelHeight, const std::wstring& characters,
                    BitmapFont& out) {
  std::unique_ptr<platform::FontFace> face = platform::FontFace::OpenFile(fontFile, pixelHeight);
  if (!face) return false;
  out = BitmapFont();
  const int lineHeight = face->LineHeight();
  out.lineHeight = static_cast<uint32_t>(lineHeight);

  // Cells are laid out left to right in rows; each holds the advance box
  // plus the margins, with a gap so filtering never reaches a neighbour.
  // The first texel row and column stay empty: characters without a record
  // sample texel (0, 0) and must draw nothing visible. The atlas is 512
  // texels wide, or wider when one cell needs more.
  const int gap = 2;
  struct Placed {
    platform::GlyphImage image;
    GlyphRecord record;
  };
  std::vector<Placed> placed;
  int widestCell = 0;
  for (wchar_t ch : characters) {
    if (ch > 0xFFFF || !face->HasGlyph(static_cast<char32_t>(ch))) continue;
    Placed p;
    if (!face->Render(static_cast<char32_t>(ch), true, p.image)) continue;
    p.record.code = static_cast<uint16_t>(ch);
    p.record.advance = p.image.advance;
    widestCell = std::max(widestCell, p.image.advance + 2 * kGlyphMargin);
    placed.push_back(std::move(p));
  }
  const int atlasWidth = std::max(512, NextPowerOfTwo(widestCell + 2 * gap));
  int cellX = gap, cellY = gap;
  for (Placed& p : placed) {
    const int cellWidth = p.record.advance + 2 * kGlyphMargin;
    if (cellX + cellWidth + gap > atlasWidth) {
      cellX = gap;
      cellY += lineHeight + gap;
    }
    p.record.x = cellX + kGlyphMargin;
    p.record.y = cellY;
    cellX += cellWidth + gap;
  }
  // White everywhere, so that filtering at glyph edges never darkens the colour.
  out.atlas = TestPicture(static_cast<uint32_t>(atlasWidth),
                          static_cast<uint32_t>(NextPowerOfTwo(cellY + lineHeight + gap)), 0x00FFFFFFu);

  for (const Placed& p : placed) {
    const int boxLeft = p.record.x - kGlyphMargin;
    const int boxRight = p.record.x + p.record.advance + kGlyphMargin;
    const int originX = p.record.x + p.image.left;
    const int originY = p.record.y + face->Ascent() - p.image.top;
    for (int row = 0; row < p.image.height; ++row) {
      const int y = originY + row;
      if (y < p.record.y || y >= p.record.y + lineHeight) continue;
      for (int col = 0; col < p.image.width; ++col) {
        const int x = originX + col;
        if (x < boxLeft || x >= boxRight) continue;
        const uint32_t a = p.image.coverage[static_cast<size_t>(row) * p.image.width + col];
        uint32_t& dst = out.atlas.At(static_cast<uint32_t>(x), static_cast<uint32_t>(y));
        dst = (std::max(dst >> 24, a) << 24) | 0x00FFFFFFu;
      }
    }
    out.glyphs.push_back(p.record);
  }
  return true;
}

bool MakeGameFontBytes(const std::string& fontFile, int pixelHeight, BitmapFontBytes& out, BitmapFont* made) {
  BitmapFont font;
  if (!MakeBitmapFont(fontFile, pixelHeight, GameFontCharacters(), font)) return false;
  out.atlasPng = PngBytes(font.atlas);
  out.glyphTable = GlyphTableBytes(font.lineHeight, font.glyphs);
  if (made) *made = std::move(font);
  return true;
}

bool WriteBitmapFont(const std::string& name, const BitmapFont& font) {
  return WriteBytes(name + ".png", PngBytes(font.atlas)) &&
         WriteBytes(name + ".dat", GlyphTableBytes(font.lineHeight, font.glyphs));
}

}  // namespace formats
