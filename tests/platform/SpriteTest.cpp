#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "platform/FontRaster.h"
#include "platform/HeadlessDeviceTest.h"
#include "platform/SavedStates.h"
#include "platform/SystemFont.h"

using namespace platform;

namespace {

// The sprite batch's screen-space vertex.
struct SPRITE_VERTEX {
  float x, y, z, rhw;
  D3DCOLOR colour;
  float u, v;
};

// The headless device with the textures a test makes, released before it.
class RecordingFixture : public platformtest::HeadlessDeviceTest {
 protected:
  void TearDown() override {
    for (ITexture* t : m_Textures) t->Release();
    if (m_Sprite) m_Sprite->Release();
    HeadlessDeviceTest::TearDown();
  }
  // The test's sprite batch, released after it.
  ISprite* Sprite() {
    EXPECT_EQ(CreateSprite(m_Device, &m_Sprite), D3D_OK);
    return m_Sprite;
  }
  ISprite* m_Sprite = nullptr;
  ITexture* MakeTexture(uint32_t w, uint32_t h) {
    ITexture* t = nullptr;
    EXPECT_EQ(m_Device->CreateTexture(w, h, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
    m_Textures.push_back(t);
    return t;
  }
  static const SPRITE_VERTEX* Vertices(const headless::DrawRecord& d) {
    return reinterpret_cast<const SPRITE_VERTEX*>(d.vertices.data());
  }

  std::vector<ITexture*> m_Textures;
};

}  // namespace

TEST_F(RecordingFixture, SpriteBatchDrawsInCallOrderWithOneDrawPerTextureRun) {
  ITexture* a = MakeTexture(32, 32);
  ITexture* b = MakeTexture(16, 16);
  ISprite* sprite = Sprite();
  ASSERT_NE(sprite, nullptr);
  const D3DXVECTOR3 p1(10, 10, 0), p2(50, 10, 0), p3(90, 10, 0), p4(130, 10, 0);
  m_Rec->ClearLog();
  ASSERT_EQ(sprite->Begin(D3DXSPRITE_ALPHABLEND), D3D_OK);
  EXPECT_EQ(sprite->Begin(D3DXSPRITE_ALPHABLEND), D3DERR_INVALIDCALL);  // no nesting
  sprite->Draw(a, nullptr, nullptr, &p1, 0xFFFFFFFFu);
  sprite->Draw(a, nullptr, nullptr, &p2, 0xFFFFFFFFu);
  sprite->Draw(b, nullptr, nullptr, &p3, 0xFF00FF00u);
  sprite->Draw(a, nullptr, nullptr, &p4, 0xFFFFFFFFu);
  EXPECT_EQ(m_Rec->Stats().draws, 0u);  // batched until the end
  ASSERT_EQ(sprite->End(), D3D_OK);
  const auto& draws = m_Rec->Draws();
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(draws[0].texture0, a);
  EXPECT_EQ(draws[0].primitiveCount, 4u);
  EXPECT_EQ(draws[1].texture0, b);
  EXPECT_EQ(draws[1].primitiveCount, 2u);
  EXPECT_EQ(draws[2].texture0, a);
  EXPECT_FLOAT_EQ(Vertices(draws[2])[0].x, 129.5f);
  EXPECT_EQ(Vertices(draws[1])[0].colour, 0xFF00FF00u);
  for (const auto& d : draws) {
    EXPECT_EQ(d.fvf, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    EXPECT_EQ(d.alphaBlend, 1u);
    EXPECT_EQ(d.srcBlend, D3DBLEND_SRCALPHA);
    EXPECT_EQ(d.destBlend, D3DBLEND_INVSRCALPHA);
  }
  // Outside a batch nothing is taken.
  EXPECT_EQ(sprite->Draw(a, nullptr, nullptr, &p1, 0xFFFFFFFFu), D3DERR_INVALIDCALL);
  EXPECT_EQ(sprite->End(), D3DERR_INVALIDCALL);
}

// Source rectangles come from data files: one spanning the whole int range
// draws a quad of its width instead of overflowing.
TEST_F(RecordingFixture, ASourceRectangleAtTheEndsOfTheIntRangeHasItsWholeWidth) {
  ITexture* a = MakeTexture(32, 32);
  ISprite* sprite = Sprite();
  ASSERT_NE(sprite, nullptr);
  m_Rec->ClearLog();
  ASSERT_EQ(sprite->Begin(D3DXSPRITE_ALPHABLEND), D3D_OK);
  const RECT wide{INT32_MIN, -5, INT32_MAX, 5}, tall{0, INT32_MAX, 4, INT32_MIN};
  sprite->Draw(a, &wide, nullptr, nullptr, 0xFFFFFFFFu);
  sprite->Draw(a, &tall, nullptr, nullptr, 0xFFFFFFFFu);
  ASSERT_EQ(sprite->End(), D3D_OK);
  ASSERT_EQ(m_Rec->Draws().size(), 1u);
  const SPRITE_VERTEX* v = Vertices(m_Rec->Draws()[0]);
  EXPECT_FLOAT_EQ(v[1].x, 4294967295.0f);  // corner (w, 0)
  EXPECT_FLOAT_EQ(v[2].y, 9.5f);           // corner (0, h)
  EXPECT_FLOAT_EQ(v[6 + 2].y, -4294967295.0f);
}

TEST_F(RecordingFixture, SpriteBatchWritesEveryChannelAndGivesStageZeroItsTextureBack) {
  ITexture* scene = MakeTexture(8, 8);
  ITexture* glyphs = MakeTexture(16, 16);
  m_Device->SetRenderState(D3DRS_COLORWRITEENABLE, 0);
  m_Device->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, 1);
  m_Device->SetTexture(0, scene);
  ISprite* sprite = Sprite();
  ASSERT_NE(sprite, nullptr);
  ASSERT_EQ(sprite->Begin(D3DXSPRITE_ALPHABLEND), D3D_OK);
  EXPECT_EQ(m_Rec->RenderState(D3DRS_COLORWRITEENABLE), 0xFu);
  EXPECT_EQ(m_Rec->RenderState(D3DRS_SEPARATEALPHABLENDENABLE), 0u);
  const D3DXVECTOR3 at(10, 10, 0);
  sprite->Draw(glyphs, nullptr, nullptr, &at, 0xFFFFFFFFu);
  m_Rec->ClearLog();
  ASSERT_EQ(sprite->End(), D3D_OK);
  ASSERT_EQ(m_Rec->Draws().size(), 1u);
  EXPECT_EQ(m_Rec->Draws()[0].texture0, glyphs);
  EXPECT_EQ(m_Rec->RenderState(D3DRS_COLORWRITEENABLE), 0u);
  EXPECT_EQ(m_Rec->RenderState(D3DRS_SEPARATEALPHABLENDENABLE), 1u);
  ITexture* bound = nullptr;
  ASSERT_EQ(m_Device->GetTexture(0, &bound), D3D_OK);
  EXPECT_EQ(bound, scene);
  if (bound) bound->Release();

  // With nothing bound before, nothing is bound after.
  m_Device->SetTexture(0, nullptr);
  ASSERT_EQ(sprite->Begin(0), D3D_OK);
  sprite->Draw(glyphs, nullptr, nullptr, &at, 0xFFFFFFFFu);
  ASSERT_EQ(sprite->End(), D3D_OK);
  ASSERT_EQ(m_Device->GetTexture(0, &bound), D3D_OK);
  EXPECT_EQ(bound, nullptr);
}

TEST_F(RecordingFixture, SavedStatesGiveBackWhatTheyChangedAndNeverMore) {
  m_Device->SetRenderState(D3DRS_ALPHAREF, 7);
  const DWORD fog = m_Rec->RenderState(D3DRS_FOGENABLE), colorOp = m_Rec->StageState(1, D3DTSS_COLOROP);
  DWORD address = 0;
  m_Device->GetSamplerState(2, D3DSAMP_ADDRESSU, &address);
  ASSERT_NE(colorOp, DWORD(D3DTOP_ADD));
  ASSERT_NE(address, DWORD(D3DTADDRESS_MIRROR));
  SavedStates states(m_Device);
  EXPECT_TRUE(states.Render(D3DRS_ALPHAREF, 7));  // already so: nothing to give back
  EXPECT_EQ(states.Count(), 0u);
  EXPECT_TRUE(states.Render(D3DRS_ALPHAREF, 9));
  EXPECT_TRUE(states.Render(D3DRS_ALPHAREF, 11));  // changed twice: the first value comes back
  EXPECT_TRUE(states.Stage(1, D3DTSS_COLOROP, D3DTOP_ADD));
  EXPECT_TRUE(states.Sampler(2, D3DSAMP_ADDRESSU, D3DTADDRESS_MIRROR));
  // A full list refuses further changes rather than leave them unrestored.
  for (DWORD i = states.Count(); i < SavedStates::CAPACITY; ++i) {
    EXPECT_TRUE(states.Render(D3DRS_ALPHAREF, 100 + i));
  }
  EXPECT_FALSE(states.Render(D3DRS_FOGENABLE, !fog));
  EXPECT_EQ(m_Rec->RenderState(D3DRS_FOGENABLE), fog);
  states.Restore();
  EXPECT_EQ(states.Count(), 0u);
  EXPECT_EQ(m_Rec->RenderState(D3DRS_ALPHAREF), 7u);
  EXPECT_EQ(m_Rec->StageState(1, D3DTSS_COLOROP), colorOp);
  DWORD restored = 0;
  m_Device->GetSamplerState(2, D3DSAMP_ADDRESSU, &restored);
  EXPECT_EQ(restored, address);
}

TEST_F(RecordingFixture, SystemFontMeasuresAndAlignsText) {
  D3DXFONT_DESC desc;
  desc.Height = -12;
  desc.Quality = ANTIALIASED_QUALITY;
  std::strcpy(desc.FaceName, "Verdana");
  IFont* regular = nullptr;
  ASSERT_EQ(D3DXCreateFontIndirect(m_Device, &desc, &regular), D3D_OK);
  desc.Weight = FW_BOLD;
  IFont* bold = nullptr;
  ASSERT_EQ(D3DXCreateFontIndirect(m_Device, &desc, &bold), D3D_OK);

  TEXTMETRIC tm;
  ASSERT_TRUE(regular->GetTextMetrics(&tm));
  EXPECT_GE(tm.tmHeight, 12);
  EXPECT_LE(tm.tmHeight, 16);
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GT(tm.tmAveCharWidth, 3);

  RECT r{10, 20, 0, 0};
  EXPECT_EQ(regular->DrawTextW(nullptr, L"Hello\nworld", -1, &r, DT_CALCRECT, 0), 2 * tm.tmHeight);
  EXPECT_EQ(r.bottom, 20 + 2 * tm.tmHeight);
  const int regularWidth = r.right - r.left;
  RECT rb = {};
  bold->DrawTextW(nullptr, L"Hello\nworld", -1, &rb, DT_CALCRECT, 0);
  EXPECT_GT(rb.right - rb.left, regularWidth);  // bold is the wider face
  EXPECT_EQ(r.left, 10);

  // Centred in a 200-pixel rectangle: the text's ink sits around x = 100.
  m_Rec->ClearLog();
  RECT box{0, 0, 200, 100};
  ASSERT_GT(regular->DrawTextW(nullptr, L"Mm", -1, &box, DT_CENTER | DT_NOCLIP, 0xFFFF0000u), 0);
  ASSERT_EQ(m_Rec->Draws().size(), 1u);
  const auto& d = m_Rec->Draws()[0];
  ASSERT_EQ(d.primitiveCount, 4u);
  const SPRITE_VERTEX* v = Vertices(d);
  float minX = 1e9f, maxX = -1e9f;
  for (uint32_t i = 0; i < 12; ++i) {
    minX = std::min(minX, v[i].x);
    maxX = std::max(maxX, v[i].x);
    EXPECT_EQ(v[i].colour, 0xFFFF0000u);
  }
  EXPECT_NEAR((minX + maxX) / 2, 100.0f, 2.5f);
  // Right-aligned text ends at the right edge.
  m_Rec->ClearLog();
  regular->DrawTextW(nullptr, L"l", -1, &box, DT_RIGHT, 0xFFFFFFFFu);
  ASSERT_EQ(m_Rec->Draws().size(), 1u);
  EXPECT_LE(Vertices(m_Rec->Draws()[0])[3].x, 200.0f);
  EXPECT_GT(Vertices(m_Rec->Draws()[0])[3].x, 190.0f);

  D3DXFONT_DESC got;
  bold->GetDesc(&got);
  EXPECT_EQ(got.Weight, FW_BOLD);
  regular->Release();
  bold->Release();

  // Nothing to make a font from.
  IFont* none = reinterpret_cast<IFont*>(1);
  desc.Height = 0;
  EXPECT_NE(D3DXCreateFontIndirect(m_Device, &desc, &none), D3D_OK);
  EXPECT_EQ(none, nullptr);
  desc.Height = INT32_MIN;
  EXPECT_NE(D3DXCreateFontIndirect(m_Device, &desc, &none), D3D_OK);
  desc.Height = -12;
  EXPECT_NE(D3DXCreateFontIndirect(nullptr, &desc, &none), D3D_OK);
}

TEST_F(RecordingFixture, TextThroughASpriteKeepsItsPlaceInTheBatch) {
  ITexture* a = MakeTexture(8, 8);
  D3DXFONT_DESC desc;
  desc.Height = -10;
  IFont* font = nullptr;
  ASSERT_EQ(D3DXCreateFontIndirect(m_Device, &desc, &font), D3D_OK);
  ISprite* sprite = Sprite();
  ASSERT_NE(sprite, nullptr);
  m_Rec->ClearLog();
  sprite->Begin(D3DXSPRITE_ALPHABLEND);
  sprite->Draw(a, nullptr, nullptr, nullptr, 0xFFFFFFFFu);
  RECT r;
  font->DrawTextW(sprite, L"AB", -1, &r, DT_NOCLIP, 0xFFFFFFFFu);
  sprite->Draw(a, nullptr, nullptr, nullptr, 0xFFFFFFFFu);
  sprite->End();
  const auto& draws = m_Rec->Draws();
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(draws[0].texture0, a);
  EXPECT_NE(draws[1].texture0, a);
  EXPECT_EQ(draws[1].primitiveCount, 4u);
  EXPECT_EQ(draws[2].texture0, a);
  font->Release();
}

TEST_F(RecordingFixture, SystemFontWithAFullGlyphCacheStillMeasuresItsText) {
  D3DXFONT_DESC desc;
  desc.Height = -200;
  IFont* font = nullptr;
  ASSERT_EQ(D3DXCreateFontIndirect(m_Device, &desc, &font), D3D_OK);
  // Far more large glyphs than the cache holds.
  font->PreloadCharacters('A', 'Z');
  RECT one = {}, two = {};
  EXPECT_EQ(font->DrawTextW(nullptr, L"Z", -1, &one, DT_CALCRECT, 0), font->DrawTextW(nullptr, L"ZZ", -1, &two, DT_CALCRECT, 0));
  EXPECT_GT(one.right, 80);
  EXPECT_EQ(two.right, 2 * one.right);
  // Drawing it is safe and shows only the glyphs that have an image.
  m_Rec->ClearLog();
  RECT at = {};
  EXPECT_GT(font->DrawTextW(nullptr, L"AZ", -1, &at, DT_NOCLIP, 0xFFFFFFFFu), 0);
  ASSERT_EQ(m_Rec->Draws().size(), 1u);
  EXPECT_EQ(m_Rec->Draws()[0].primitiveCount, 2u);
  font->Release();
}

TEST(SystemFontText, Windows1252HighBlockMapsLikeWindows) {
  EXPECT_EQ(Windows1252ToWide(0xF1), L'\u00f1');
  EXPECT_EQ(Windows1252ToWide(0xBF), L'\u00bf');
  EXPECT_EQ(Windows1252ToWide(0x80), L'\u20ac');
  EXPECT_EQ(Windows1252ToWide(0x41), L'A');
}

namespace {
// How far right the ink of the glyph's top rows sits from that of its
// bottom rows, in pixels: about 0 for an upright bar, clearly more when
// the face leans.
double Lean(FontFace& face, char32_t c) {
  GlyphImage g;
  EXPECT_TRUE(face.Render(c, true, g));
  auto centre = [&](int row0, int row1) {
    double sum = 0, weight = 0;
    for (int y = row0; y < row1; ++y)
      for (int x = 0; x < g.width; ++x) {
        sum += x * double(g.coverage[size_t(y) * g.width + x]);
        weight += g.coverage[size_t(y) * g.width + x];
      }
    return weight > 0 ? sum / weight : 0.0;
  };
  return centre(0, g.height / 4) - centre(g.height - g.height / 4, g.height);
}
}  // namespace

TEST(FontFace, ItalicLeansWhetherFromItsOwnFileOrASlantedUprightOne) {
  auto upright = FontFace::OpenFile(FontFace::SystemFontFile(false, false), 40);
  auto slanted = FontFace::OpenFile(FontFace::SystemFontFile(false, false), 40, true);
  auto italic = FontFace::OpenSystem("Verdana", 40, true, true);
  ASSERT_TRUE(upright && slanted && italic);
  EXPECT_NEAR(Lean(*upright, U'l'), 0.0, 0.5);
  EXPECT_GT(Lean(*slanted, U'l'), 3.0);
  EXPECT_GT(Lean(*italic, U'l'), 3.0);
  // Slanting keeps the metrics of the face.
  EXPECT_EQ(slanted->LineHeight(), upright->LineHeight());
}
