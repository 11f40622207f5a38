#include "engine/fonts/GlyphTable.h"

namespace Nembra {

namespace {
uint32_t U32At(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
int32_t I32At(const uint8_t* p) { return static_cast<int32_t>(U32At(p)); }
bool InBounds(int32_t v) { return v >= -GLYPH_TABLE_MAX_COORDINATE && v <= GLYPH_TABLE_MAX_COORDINATE; }
}  // namespace

bool ReadGlyphTable(const uint8_t* data, size_t size, GLYPH_TABLE& out) {
  out = GLYPH_TABLE();
  if (!data || size < GLYPH_TABLE_HEADER_SIZE) return false;
  out.lineHeight = U32At(data + 4);
  if (out.lineHeight > GLYPH_TABLE_MAX_LINE_HEIGHT) return false;
  const int32_t count = I32At(data + 8);
  if (count < 1) return true;
  const size_t available = (size - GLYPH_TABLE_HEADER_SIZE) / GLYPH_TABLE_RECORD_SIZE;
  size_t n = static_cast<size_t>(count);
  if (n > available) {
    n = available;
    out.truncated = true;
  }
  out.glyphs.reserve(n);
  const uint8_t* p = data + GLYPH_TABLE_HEADER_SIZE;
  for (size_t i = 0; i < n; ++i, p += GLYPH_TABLE_RECORD_SIZE) {
    GLYPH_TABLE_ENTRY e;
    e.code = static_cast<uint16_t>(p[0] | (p[1] << 8));
    e.width = I32At(p + 2);
    e.x = I32At(p + 6);
    e.y = I32At(p + 10);
    if (!InBounds(e.width) || !InBounds(e.x) || !InBounds(e.y)) {
      ++out.dropped;
      continue;
    }
    out.glyphs.push_back(e);
  }
  return true;
}

}  // namespace Nembra
