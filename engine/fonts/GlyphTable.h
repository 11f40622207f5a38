#pragma once
// The glyph table of a bitmap font (the font name plus ".dat"): a header of
// three 32-bit fields (unused, line height, glyph count) followed by one
// 14-byte record per glyph (u16 character, i32 advance, i32 atlas x of the
// advance box, i32 atlas y of its top), little-endian and packed.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Nembra {

struct GLYPH_TABLE_ENTRY {
  uint16_t code;
  int32_t width;
  int32_t x;
  int32_t y;
};

struct GLYPH_TABLE {
  uint32_t lineHeight = 0;
  std::vector<GLYPH_TABLE_ENTRY> glyphs;  // in file order
  bool truncated = false;                  // the count promised more records than the file holds
  size_t dropped = 0;                      // records left out for values no atlas can have
};

constexpr size_t GLYPH_TABLE_HEADER_SIZE = 12;
constexpr size_t GLYPH_TABLE_RECORD_SIZE = 14;
// Bounds no real font comes near: a line height above the first is a
// damaged header; a record whose advance or atlas position lies beyond
// the second is dropped. They keep the pixel sums of drawing far from
// integer overflow.
constexpr uint32_t GLYPH_TABLE_MAX_LINE_HEIGHT = 4096;
constexpr int32_t GLYPH_TABLE_MAX_COORDINATE = 65536;

// Reads a glyph table from bytes. False when the header is incomplete or
// its line height is out of bounds. A count below 1 means no glyphs; a
// count larger than the records the bytes can hold is cut to those
// (truncated is then set), so a damaged file never reads past its end;
// records with out-of-bounds values are dropped (and counted).
bool ReadGlyphTable(const uint8_t* data, size_t size, GLYPH_TABLE& out);

}  // namespace Nembra
