#include <gtest/gtest.h>

#include <cstring>

#include "engine/fonts/GlyphTable.h"
#include "platform/FontRaster.h"
#include "tools/formats/BitmapFontFiles.h"

using Nembra::GLYPH_TABLE;
using Nembra::ReadGlyphTable;

namespace {
bool Read(const std::string& bytes, GLYPH_TABLE& out) {
  return ReadGlyphTable(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}
template <class G>
std::vector<long> Fields(const G& g) { return {long(g.code), long(g.width), long(g.x), long(g.y)}; }
// The glyph's quad lies inside the atlas, margins and one line included.
void ExpectInsideAtlas(const formats::BitmapFont& font, const formats::GlyphRecord& g) {
  EXPECT_GE(g.x - formats::kGlyphMargin, 0);
  EXPECT_LE(g.x + g.advance + formats::kGlyphMargin, static_cast<int>(font.atlas.width));
  EXPECT_LE(g.y + static_cast<int>(font.lineHeight), static_cast<int>(font.atlas.height));
}
}  // namespace

TEST(GlyphTable, ReadsHeaderAndRecordsFieldByField) {
  const std::string bytes =
      formats::GlyphTableBytes(17, {{L'A', 9, 20, 3}, {0x0416, -2, 0x3412, 65000}, {0xFFFF, 0, 0, 0}});
  ASSERT_EQ(bytes.size(), 12u + 3 * 14);
  GLYPH_TABLE t;
  ASSERT_TRUE(Read(bytes, t));
  EXPECT_EQ(t.lineHeight, 17u);
  EXPECT_FALSE(t.truncated);
  ASSERT_EQ(t.glyphs.size(), 3u);
  EXPECT_EQ(Fields(t.glyphs[0]), (std::vector<long>{L'A', 9, 20, 3}));
  // Records are packed at 14 bytes: a misaligned read would scramble these.
  EXPECT_EQ(Fields(t.glyphs[1]), (std::vector<long>{0x0416, -2, 0x3412, 65000}));
  EXPECT_EQ(t.glyphs[2].code, 0xFFFF);
}

TEST(GlyphTable, DamagedFilesNeverReadPastTheirEnd) {
  GLYPH_TABLE t;
  // A header cut short is refused.
  EXPECT_FALSE(Read(std::string("\0\0\0\0\x10\0\0", 7), t));
  EXPECT_FALSE(ReadGlyphTable(nullptr, 0, t));
  // A huge count over two records: only the two are read.
  std::vector<formats::GlyphRecord> two = {{L'a', 5, 10, 0}, {L'b', 6, 30, 0}};
  ASSERT_TRUE(Read(formats::GlyphTableBytes(12, 0x7FFFFFFF, two), t));
  EXPECT_EQ(t.glyphs.size(), 2u);
  EXPECT_TRUE(t.truncated);
  // A record cut in the middle is dropped; the whole ones stay.
  std::string cut = formats::GlyphTableBytes(12, two);
  cut.resize(cut.size() - 5);
  ASSERT_TRUE(Read(cut, t));
  ASSERT_EQ(t.glyphs.size(), 1u);
  EXPECT_EQ(t.glyphs[0].code, L'a');
  EXPECT_TRUE(t.truncated);
  // Negative and zero counts mean no glyphs, whatever follows.
  ASSERT_TRUE(Read(formats::GlyphTableBytes(12, -5, two), t));
  EXPECT_TRUE(t.glyphs.empty());
  EXPECT_EQ(t.lineHeight, 12u);
  ASSERT_TRUE(Read(formats::GlyphTableBytes(12, 0, two), t));
  EXPECT_TRUE(t.glyphs.empty());
  // A line height no font has is a damaged header; values no atlas has
  // drop their record and keep the others.
  EXPECT_FALSE(Read(formats::GlyphTableBytes(0xFFFFFFFFu, two), t));
  EXPECT_FALSE(Read(formats::GlyphTableBytes(Nembra::GLYPH_TABLE_MAX_LINE_HEIGHT + 1, two), t));
  ASSERT_TRUE(Read(formats::GlyphTableBytes(Nembra::GLYPH_TABLE_MAX_LINE_HEIGHT, two), t));
  ASSERT_TRUE(Read(formats::GlyphTableBytes(12, {{L'a', 0x7FFFFFFF, 10, 0},
                                                 {L'b', 6, -0x7FFFFFFF - 1, 0},
                                                 {L'c', 6, 10, 0x10000000},
                                                 {L'd', -4, 70, 0}}),
                   t));
  ASSERT_EQ(t.glyphs.size(), 1u);
  EXPECT_EQ(t.glyphs[0].code, L'd');
  EXPECT_EQ(t.dropped, 3u);
}

TEST(BitmapFontMaker, CoversTheThreeLanguagesWithGlyphsInsideTheAtlas) {
  formats::BitmapFont font;
  ASSERT_TRUE(formats::MakeBitmapFont(platform::FontFace::SystemFontFile(false, false), 18,
                                      formats::GameFontCharacters(), font));
  EXPECT_GT(font.lineHeight, 15u);
  // Power-of-two atlas, so loading never stretches it.
  EXPECT_EQ(font.atlas.width & (font.atlas.width - 1), 0u);
  EXPECT_EQ(font.atlas.height & (font.atlas.height - 1), 0u);
  auto find = [&](wchar_t c) -> const formats::GlyphRecord* {
    for (const auto& g : font.glyphs)
      if (g.code == c) return &g;
    return nullptr;
  };
  for (wchar_t c : std::wstring(L"Aa z0?\u00f1\u00d1\u00e1\u00bf\u00a1\u0416\u044f\u0451")) {
    const formats::GlyphRecord* g = find(c);
    ASSERT_NE(g, nullptr) << "missing U+" << std::hex << static_cast<int>(c);
    EXPECT_GT(g->advance, 0);
    ExpectInsideAtlas(font, *g);
  }
  auto alphaAt = [&](int x, int y) { return font.atlas.At(static_cast<uint32_t>(x), static_cast<uint32_t>(y)) >> 24; };
  // Texel (0, 0) is what characters without a record sample: it must be clear.
  EXPECT_EQ(alphaAt(0, 0), 0u);
  // A glyph with ink has opaque texels in its box; the space has none.
  auto inkIn = [&](const formats::GlyphRecord& g) {
    int ink = 0;
    for (int y = g.y; y < g.y + static_cast<int>(font.lineHeight); ++y)
      for (int x = g.x - formats::kGlyphMargin; x < g.x + g.advance + formats::kGlyphMargin; ++x)
        ink += alphaAt(x, y) > 128;
    return ink;
  };
  EXPECT_GT(inkIn(*find(L'\u0416')), 20);
  EXPECT_GT(inkIn(*find(L'\u00f1')), 10);
  EXPECT_EQ(inkIn(*find(L' ')), 0);
  // The table written for it reads back the same.
  GLYPH_TABLE t;
  ASSERT_TRUE(Read(formats::GlyphTableBytes(font.lineHeight, font.glyphs), t));
  ASSERT_EQ(t.glyphs.size(), font.glyphs.size());
  EXPECT_EQ(t.lineHeight, font.lineHeight);
}

TEST(BitmapFontMaker, GlyphsWiderThanTheUsualAtlasWidenIt) {
  formats::BitmapFont font;
  ASSERT_TRUE(formats::MakeBitmapFont(platform::FontFace::SystemFontFile(true, false), 600, L"W\u0416", font));
  ASSERT_EQ(font.glyphs.size(), 2u);
  EXPECT_GT(font.glyphs[0].advance, 500);
  for (const auto& g : font.glyphs) ExpectInsideAtlas(font, g);
  EXPECT_EQ(font.atlas.width & (font.atlas.width - 1), 0u);
}

TEST(BitmapFontMaker, MissingFontFileFailsCleanly) {
  formats::BitmapFont font;
  EXPECT_FALSE(formats::MakeBitmapFont("/nonexistent/font.ttf", 16, L"abc", font));
  EXPECT_FALSE(formats::MakeBitmapFont(platform::FontFace::SystemFontFile(false, false), 0, L"abc", font));
}

TEST(GlyphTable, AnyCutOrScrambledFileStaysInsideItsBytes) {
  const std::string good = formats::GlyphTableBytes(14, {{L'a', 5, 10, 0}, {L'b', 6, 30, 0}, {L'c', 7, 50, 0}});
  uint32_t state = 12345;
  auto next = [&] {
    state = state * 214013u + 2531011u;
    return (state >> 16) & 0x7FFF;
  };
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = good.substr(0, next() % (good.size() + 1));
    for (int flips = next() % 4; flips > 0 && !bytes.empty(); --flips) bytes[next() % bytes.size()] = static_cast<char>(next());
    // Copied to a buffer of exactly that size, so a read past it is caught by the sanitizers.
    std::vector<uint8_t> exact(bytes.begin(), bytes.end());
    GLYPH_TABLE t;
    const bool ok = ReadGlyphTable(exact.empty() ? nullptr : exact.data(), exact.size(), t);
    if (exact.size() < 12) {
      EXPECT_FALSE(ok);
    }
    if (ok) {
      EXPECT_LE(t.lineHeight, Nembra::GLYPH_TABLE_MAX_LINE_HEIGHT);
      EXPECT_LE(t.glyphs.size(), (exact.size() - 12) / 14);
    }
  }
}
