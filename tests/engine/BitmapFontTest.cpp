#include <gtest/gtest.h>

#include <algorithm>

#include "TwoDTestSupport.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/fonts/Font.h"
#include "engine/sprites/Sprite2D.h"
#include "support/MissingLog.h"

using namespace Nembra;
using twodtest::HeadlessEngine;

namespace {

// Glyph widths chosen so sums tell which characters were drawn.
const std::vector<formats::GlyphRecord> kGlyphs = {
    {L'a', 10, 8, 0}, {L'b', 20, 24, 0}, {L' ', 5, 50, 0}, {L'w', 101, 8, 20}, {0x00F1, 12, 8, 40}, {0x0416, 14, 30, 40}};

struct Vertex {
  float x, y, z, rhw, u, v;
};

class BitmapFontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Engine.ok());
    m_Engine.WriteBitmapFont("GUI_Font_Test", 16, kGlyphs);
    m_Font = g_pBitmapFontFactory->Get("gui_font_test");
    ASSERT_NE(m_Font, nullptr);
    ASSERT_NE(m_Font, g_pBitmapFontFactory->GetDefault());
    ASSERT_TRUE(m_Font->HasVertexBuffer());
  }
  // Draws and returns the draws; each line is one draw.
  std::vector<platform::headless::DrawRecord> Draw(const std::wstring& text, int x, int y) {
    m_Engine.Rec().ClearLog();
    EXPECT_TRUE(m_Font->DrawText(text, x, y, 1.0f, 0.5f, 0.0f, 1.0f));
    return m_Engine.Rec().Draws();
  }
  static const Vertex* Vertices(const platform::headless::DrawRecord& d) {
    return reinterpret_cast<const Vertex*>(d.vertices.data());
  }
  HeadlessEngine m_Engine;
  CBitmapFont* m_Font = nullptr;
};

}  // namespace

TEST_F(BitmapFontTest, QuadsCarryMarginsAdvanceAndAtlasCoordinates) {
  auto draws = Draw(L"ab", 100, 50);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].primitiveCount, 4u);
  EXPECT_EQ(draws[0].fvf, CBitmapFont::FVF);
  EXPECT_EQ(draws[0].alphaBlend, 1u);
  EXPECT_EQ(draws[0].srcBlend, platform::D3DBLEND_SRCALPHA);
  EXPECT_EQ(draws[0].destBlend, platform::D3DBLEND_INVSRCALPHA);
  // The text colour and the stage that applies it are set for the draw...
  const auto& log = m_Engine.Rec().Log();
  const auto drawAt = std::find_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("DrawPrimitive ", 0) == 0; });
  ASSERT_NE(drawAt, log.end());
  EXPECT_NE(std::find(log.begin(), drawAt, "SetRenderState 60 " + std::to_string(0xFFFF8000u)), drawAt);
  EXPECT_NE(std::find(log.begin(), drawAt, "SetTextureStageState 0 3 3"), drawAt);   // COLORARG2 = TFACTOR
  // ...and put back after it, so the device wrapper's record stays true.
  EXPECT_EQ(m_Engine.Rec().RenderState(platform::D3DRS_TEXTUREFACTOR), 0xFFFFFFFFu);
  EXPECT_EQ(m_Engine.Rec().StageState(0, platform::D3DTSS_COLORARG2),
            g_pGraphicsDevice->GetStateCache().GetTextureStageState(0, platform::D3DTSS_COLORARG2).value);
  ASSERT_GE(draws[0].vertices.size(), 12 * sizeof(Vertex));
  const Vertex* v = Vertices(draws[0]);
  // 'a': left-bottom, left-top, right-top; left-bottom, right-top, right-bottom; 'b' one advance of 'a' on.
  const std::vector<float> got{v[0].x, v[0].y, v[1].y, v[2].x, v[0].u, v[1].v,
                               v[2].u, v[0].v, v[0].rhw, v[6].x, v[8].x, v[6].u};
  EXPECT_EQ(got, (std::vector<float>{95.5f, 66.5f, 50.5f, 115.5f, 3.0f / 64, 0.0f, 23.0f / 64, 16.0f / 64, 1.0f, 105.5f,
                                     135.5f, 19.0f / 64}));
}

TEST_F(BitmapFontTest, WidthsAndUnknownCharacters) {
  EXPECT_EQ(m_Font->GetTextWidth(L""), 0);
  EXPECT_EQ(m_Font->GetTextWidth(L"ab a"), 45);
  // Characters without a record (and line feeds) count 0.
  EXPECT_EQ(m_Font->GetTextWidth(L"a?\nb"), 30);
  EXPECT_EQ(m_Font->GetTextWidth(L"\u00f1\u0416"), 26);
  // An unknown character draws a 10-pixel quad at texel (0, 0) and does not advance.
  auto draws = Draw(L"?a", 0, 0);
  ASSERT_EQ(draws.size(), 1u);
  const Vertex* v = Vertices(draws[0]);
  EXPECT_FLOAT_EQ(v[2].x - v[0].x, 10.0f);
  EXPECT_FLOAT_EQ(v[0].u, 0.0f);
  EXPECT_FLOAT_EQ(v[5].v, 0.0f);
  EXPECT_FLOAT_EQ(v[6].x, v[0].x);
}

TEST_F(BitmapFontTest, LineBreaksWrappingAndCentring) {
  // Empty text: no draw, one line advance.
  EXPECT_TRUE(Draw(L"", 0, 0).empty());
  EXPECT_EQ(m_Font->GetDrawnHeight(), 16);
  // A trailing line feed adds a line; empty lines draw nothing.
  auto draws = Draw(L"ab\n\na\n", 0, 0);
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(m_Font->GetDrawnHeight(), 4 * 16);
  EXPECT_FLOAT_EQ(Vertices(draws[1])[1].y, 32.5f);
  // The line advance is a setting of its own.
  m_Font->m_LineAdvance = 20;
  Draw(L"a\na", 0, 0);
  EXPECT_EQ(m_Font->GetDrawnHeight(), 40);
  m_Font->m_LineAdvance = 16;
  // Wrap width 100, a line of width 60 ("bbb"): a word of 50 moves on and the space goes...
  m_Font->m_WrapWidth = 100;
  draws = Draw(L"bbb aaaaa", 0, 0);
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0].primitiveCount, 6u);
  EXPECT_EQ(draws[1].primitiveCount, 10u);
  EXPECT_FLOAT_EQ(Vertices(draws[1])[0].x, -4.5f);
  EXPECT_EQ(m_Font->GetDrawnHeight(), 32);
  // ...a word of 40 stays, space and all.
  draws = Draw(L"bbb aaaa", 0, 0);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].primitiveCount, 16u);
  // A word wider than the wrap width is not broken.
  draws = Draw(L"ww", 0, 0);
  ASSERT_EQ(draws.size(), 1u);
  m_Font->m_WrapWidth = 0;
  // Centred: a line of width 101 at x = 200 starts at 150.
  m_Font->m_Centered = true;
  draws = Draw(L"w", 200, 0);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_FLOAT_EQ(Vertices(draws[0])[0].x, 150.0f + 0.5f - 5.0f);
  m_Font->m_Centered = false;
}

TEST_F(BitmapFontTest, LongLinesAreCutToTheBuffer) {
  auto draws = Draw(std::wstring(1500, L'a'), 0, 0);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].primitiveCount, 2048u);
}

TEST_F(BitmapFontTest, FactoryCountsNamesWithoutCaseAndFallsBackToAnEmptyFont) {
  EXPECT_EQ(g_pBitmapFontFactory->Get("GUI_FONT_TEST"), m_Font);
  EXPECT_EQ(m_Font->GetRefCount(), 2u);
  // A missing font is the empty default: it measures 0 and draws nothing.
  CBitmapFont* missing = g_pBitmapFontFactory->Get("GUI_Font_Missing");
  ASSERT_NE(missing, nullptr);
  EXPECT_EQ(missing, g_pBitmapFontFactory->GetDefault());
  m_Engine.Rec().ClearLog();
  EXPECT_TRUE(missing->DrawText(L"abc", 0, 0, 1, 1, 1, 1));
  EXPECT_EQ(missing->GetTextWidth(L"abc"), 0);
  EXPECT_TRUE(m_Engine.Rec().Draws().empty());
  // Only the table without the atlas: still missing, and not remembered.
  m_Engine.WriteGlyphTableBytes("HalfFont", formats::GlyphTableBytes(10, kGlyphs));
  EXPECT_EQ(g_pBitmapFontFactory->Get("HalfFont"), g_pBitmapFontFactory->GetDefault());
  EXPECT_EQ(g_pBitmapFontFactory->Find("HalfFont"), nullptr);
}

TEST_F(BitmapFontTest, DamagedGlyphTablesLoadWhatTheyHold) {
  // An atlas with the given glyph table bytes.
  const auto load = [&](const char* name, const std::string& table) {
    m_Engine.WriteBitmapFont(name, 12, {});
    m_Engine.WriteGlyphTableBytes(name, table);
    return g_pBitmapFontFactory->Get(name);
  };
  // The count promises a million glyphs; two are there.
  CBitmapFont* font = load("Damaged", formats::GlyphTableBytes(12, 1000000, {{L'a', 7, 10, 0}, {L'b', 9, 30, 0}}));
  ASSERT_NE(font, g_pBitmapFontFactory->GetDefault());
  EXPECT_EQ(font->GetTextWidth(L"ab"), 16);
  EXPECT_EQ(font->GetLineHeight(), 12);
  // A negative count: no glyphs, still a usable font.
  EXPECT_EQ(load("Negative", formats::GlyphTableBytes(12, -3, {{L'a', 7, 10, 0}}))->GetTextWidth(L"a"), 0);
  // A header cut short.
  CBitmapFont* shortFont = load("Short", std::string("\0\0\0\0\x0c\0", 6));
  ASSERT_NE(shortFont, nullptr);
  EXPECT_EQ(shortFont->GetTextWidth(L"a"), 0);
  EXPECT_TRUE(shortFont->DrawText(L"a", 0, 0, 1, 1, 1, 1));
  // Values no atlas has: the table is refused or the record dropped, so
  // measuring and drawing never run into integer overflow.
  CBitmapFont* huge = load("Huge", formats::GlyphTableBytes(0xFFFFFFFFu, {{L'a', 7, 10, 0}}));
  ASSERT_NE(huge, nullptr);
  EXPECT_FALSE(huge->HasVertexBuffer());
  EXPECT_TRUE(huge->DrawText(L"a\na", 100, 100, 1, 1, 1, 1));
  CBitmapFont* wide =
      load("Wide", formats::GlyphTableBytes(12, {{L'a', 0x7FFFFFFF, -0x7FFFFFFF - 1, 0}, {L'b', 9, 30, 0}}));
  EXPECT_EQ(wide->GetTextWidth(L"aabb"), 18);
  m_Engine.Rec().ClearLog();
  EXPECT_TRUE(wide->DrawText(L"ab\nab", 100, 100, 1, 1, 1, 1));
  EXPECT_EQ(m_Engine.Rec().Draws().size(), 2u);
  EXPECT_EQ(wide->GetDrawnHeight(), 24);
}

TEST_F(BitmapFontTest, FontsFollowADeviceLossAndLeaveTheListWhenDestroyed) {
  CFont* system = g_pFontFactory ? g_pFontFactory->Get("System Font") : nullptr;
  ASSERT_NE(system, nullptr);
  ASSERT_TRUE(system->Create("Verdana", 10, CFont::STYLE_BOLD));
  const auto& list = g_pGraphicsDevice->GetVolatileResources();
  EXPECT_NE(std::find(list.begin(), list.end(), m_Font), list.end());
  EXPECT_NE(std::find(list.begin(), list.end(), system), list.end());
  const uint32_t buffers = m_Engine.Rec().LiveBuffers();
  m_Engine.Rec().LoseDevice();
  EXPECT_EQ(g_pGraphicsDevice->CheckDevice(), CGraphicsDevice::DEVICE_LOST);
  m_Engine.Rec().MakeResettable();
  EXPECT_EQ(g_pGraphicsDevice->CheckDevice(), CGraphicsDevice::DEVICE_NOT_RESET);
  // A failed reset leaves the fonts released: drawing is safe and draws nothing.
  platform::headless::Controls().failResets = 1;
  EXPECT_EQ(g_pGraphicsDevice->Reset(), CGraphicsDevice::RESET_FAILED);
  EXPECT_FALSE(m_Font->HasVertexBuffer());
  EXPECT_EQ(m_Engine.Rec().LiveBuffers(), buffers - 1);
  EXPECT_TRUE(Draw(L"ab", 0, 0).empty());
  EXPECT_EQ(g_pGraphicsDevice->Reset(), CGraphicsDevice::RESET_DONE);
  EXPECT_TRUE(m_Font->HasVertexBuffer());
  EXPECT_EQ(m_Engine.Rec().LiveBuffers(), buffers);
  EXPECT_EQ(Draw(L"ab", 0, 0).size(), 1u);
  // Released for good: the fonts leave the list, so the next reset does not reach them.
  g_pBitmapFontFactory->Release("GUI_Font_Test");
  EXPECT_EQ(g_pBitmapFontFactory->Find("GUI_Font_Test"), nullptr);
  g_pFontFactory->Release("System Font");
  EXPECT_EQ(std::find(list.begin(), list.end(), m_Font), list.end());
  EXPECT_EQ(std::find(list.begin(), list.end(), system), list.end());
  m_Engine.Rec().LoseDevice();
  m_Engine.Rec().MakeResettable();
  EXPECT_EQ(g_pGraphicsDevice->Reset(), CGraphicsDevice::RESET_DONE);
  m_Font = nullptr;
}

TEST_F(BitmapFontTest, TextBetweenSpritesKeepsCallOrderAndSpritesKeepTheirColours) {
  CTexture* texture = g_pTextureFactory->Get(m_Engine.WriteTexture("Panel.png", 8, 8, 0xFFFFFFFF));
  CStatic2DSprite panel;
  panel.SetTexture(texture);
  panel.SetSourceRect(MakeRect(0, 0, 8, 8));
  m_Engine.Rec().ClearLog();
  g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND);
  panel.Draw();
  m_Font->DrawText(L"ab", 0, 0, 1, 1, 1, 1);
  panel.Draw();
  g_pGraphicsDevice->EndSprite();
  const auto& draws = m_Engine.Rec().Draws();
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_TRUE(draws[0].userPointer);   // the panel under the text...
  EXPECT_FALSE(draws[1].userPointer);  // ...the text from its own buffer...
  EXPECT_TRUE(draws[2].userPointer);   // ...and the panel over it.
  // The second panel is coloured by its vertices, not by the text colour:
  // the text puts the batch's stage argument back after its draw.
  const auto& log = m_Engine.Rec().Log();
  int textDraw = -1, lastDraw = -1, diffuse = -1;
  for (int i = 0; i < static_cast<int>(log.size()); ++i) {
    if (log[i].rfind("DrawPrimitiveUP", 0) == 0) lastDraw = i;
    else if (log[i].rfind("DrawPrimitive", 0) == 0) textDraw = i;
    if (log[i] == "SetTextureStageState 0 3 0") diffuse = i;
  }
  ASSERT_GE(textDraw, 0);
  EXPECT_GT(diffuse, textDraw);
  EXPECT_LT(diffuse, lastDraw);
  // The text drew with the batch's other states: no depth test, no culling.
  EXPECT_EQ(draws[1].cull, platform::D3DCULL_NONE);
  // After the batch the device holds what the device wrapper recorded.
  for (uint32_t state : {platform::D3DRS_ALPHABLENDENABLE, platform::D3DRS_SRCBLEND, platform::D3DRS_DESTBLEND,
                         platform::D3DRS_TEXTUREFACTOR, platform::D3DRS_CULLMODE, platform::D3DRS_ZENABLE})
    EXPECT_EQ(m_Engine.Rec().RenderState(state), g_pGraphicsDevice->GetStateCache().GetRenderState(state).value) << state;
}

TEST_F(BitmapFontTest, CharactersDrawnWithoutAGlyphAreReportedOncePerFont) {
  testsupport::MissingLog log;
  // Measuring is not drawing; line breaks and the wrap's dropped spaces are no characters.
  EXPECT_EQ(m_Font->GetTextWidth(L"a\u00DFb"), 30);
  m_Font->m_WrapWidth = 25;
  Draw(L"ab ab\n\u0416", 0, 0);
  m_Font->m_WrapWidth = 0;
  EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();
  Draw(L"ab\r\nab\r", 0, 0);  // lines ended by CR LF keep the CR, which no font has
  EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();
  // U+00DF has no record: drawn as a zero-width glyph, reported once.
  const auto draws = Draw(L"a\u00DFb \u00DF", 0, 0);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].primitiveCount, 10u);
  Draw(L"\u00DF\u00DF", 0, 0);
  Draw(L"x", 0, 0);
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"missing: glyph U+00DF in GUI_FONT_TEST", "missing: glyph U+0078 in GUI_FONT_TEST"}));
}

TEST_F(BitmapFontTest, AFontThatCannotLoadIsReportedAndItsDefaultReportsNoGlyphs) {
  testsupport::MissingLog log;
  CBitmapFont* none = g_pBitmapFontFactory->Get("Font12");
  ASSERT_EQ(none, g_pBitmapFontFactory->GetDefault());
  EXPECT_TRUE(none->DrawText(L"Hola", 0, 0, 1, 1, 1, 1));
  EXPECT_EQ(g_pBitmapFontFactory->Get("Font12"), g_pBitmapFontFactory->GetDefault());
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"missing: font Font12"}));
}
