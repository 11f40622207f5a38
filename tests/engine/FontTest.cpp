#include <gtest/gtest.h>

#include <algorithm>

#include "TwoDTestSupport.h"
#include "engine/fonts/Font.h"

using namespace Nembra;
using twodtest::HeadlessEngine;

TEST(SystemFontDescription, StyleBitsChooseWeightItalicAndQuality) {
  platform::D3DXFONT_DESC plain = CFont::MakeDesc("Verdana", 10, 0);
  EXPECT_EQ(plain.Height, -10);
  EXPECT_EQ(plain.Weight, 0u);
  EXPECT_EQ(plain.Italic, 0);
  EXPECT_EQ(plain.Quality, platform::NONANTIALIASED_QUALITY);
  EXPECT_EQ(plain.MipLevels, 1u);
  EXPECT_STREQ(plain.FaceName, "Verdana");
  platform::D3DXFONT_DESC all = CFont::MakeDesc("Verdana", 12, 7);
  EXPECT_EQ(all.Weight, 700u);
  EXPECT_NE(all.Italic, 0);
  EXPECT_EQ(all.Quality, platform::ANTIALIASED_QUALITY);
  // A face name longer than the field is cut, never overrun.
  platform::D3DXFONT_DESC longName = CFont::MakeDesc(std::string(60, 'x'), 12, 0);
  EXPECT_EQ(std::string(longName.FaceName).size(), 31u);
}

TEST(SystemFont, WithoutADeviceCreateFailsAndLeavesTheFontEmpty) {
  CFont font;
  EXPECT_FALSE(font.Create("Verdana", 12, 0));
  EXPECT_EQ(font.GetD3DXFont(), nullptr);
  EXPECT_EQ(font.GetRect().right, 0);
  font.OnLostDevice();  // nothing to pass on
  font.OnResetDevice();
  font.SetColor(D3DXCOLOR(0.5f, 1.2f, -1.0f, 1.0f));
  EXPECT_EQ(font.GetColor(), 0xFF80FF00u);
}

TEST(SystemFont, CreateSizesTheRectangleAndTheFactoryListsItsFonts) {
  HeadlessEngine engine;
  ASSERT_TRUE(engine.ok());
  ASSERT_NE(g_pFontFactory, nullptr);
  // The default entry was made before the device existed: empty, unlisted.
  CFont* fallback = g_pFontFactory->GetDefault();
  ASSERT_NE(fallback, nullptr);
  EXPECT_EQ(fallback->GetD3DXFont(), nullptr);
  const auto& list = g_pGraphicsDevice->GetVolatileResources();
  EXPECT_EQ(std::find(list.begin(), list.end(), fallback), list.end());
  CFont* font = g_pFontFactory->Get("Interface Font");
  ASSERT_NE(font, fallback);
  EXPECT_EQ(font->GetD3DXFont(), nullptr);  // empty until Create
  EXPECT_NE(std::find(list.begin(), list.end(), font), list.end());
  ASSERT_TRUE(font->Create("Verdana", 12, CFont::STYLE_BOLD | CFont::STYLE_ITALIC));
  const auto sides = [&] {
    const RECT& r = font->GetRect();
    return std::vector<long>{long(r.left), long(r.top), long(r.right), long(r.bottom)};
  };
  EXPECT_EQ(sides(), (std::vector<long>{0, 0, 800, 600}));
  font->SetPosition(5, 5);
  EXPECT_EQ(sides(), (std::vector<long>{5, 5, 805, 605}));
  EXPECT_EQ(font->GetFormat(), platform::DT_NOCLIP);
  EXPECT_EQ(font->GetColor(), 0xFFFFFFFFu);
  // Its metrics are those of the face asked for.
  platform::TEXTMETRIC tm;
  ASSERT_TRUE(font->GetD3DXFont()->GetTextMetrics(&tm));
  EXPECT_EQ(tm.tmWeight, 700);
  EXPECT_EQ(tm.tmItalic, 1);
  EXPECT_GE(tm.tmHeight, 12);
  EXPECT_LE(tm.tmHeight, 16);
  // Drawn at its rectangle in its colour.
  font->SetColor(D3DXCOLOR(0.0f, 1.0f, 0.0f, 1.0f));
  engine.Rec().ClearLog();
  RECT rect = font->GetRect();
  EXPECT_EQ(font->GetD3DXFont()->DrawTextW(nullptr, L"Hola \u00f1", -1, &rect, font->GetFormat(), font->GetColor()),
            tm.tmHeight);
  ASSERT_EQ(engine.Rec().Draws().size(), 1u);
  const twodtest::SPRITE_VERTEX* v = HeadlessEngine::SpriteVertices(engine.Rec().Draws()[0]);
  EXPECT_EQ(v[0].colour, 0xFF00FF00u);
  EXPECT_GE(v[0].x, 4.5f);
  EXPECT_GE(v[0].y, 4.5f);
}
