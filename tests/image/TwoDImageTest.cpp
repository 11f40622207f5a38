// 2D drawing on the GL device: a background sprite, a half-transparent
// sprite, bitmap-font text in English, Spanish and Russian and a line in the
// system font, on one screen.
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/fonts/Font.h"
#include "engine/resources/Texture.h"
#include "engine/sprites/Sprite2D.h"
#include "image/PictureProbe.h"
#include "platform/FontRaster.h"
#include "support/GlSceneTest.h"
#include "tools/formats/BitmapFontFiles.h"
#include "tools/formats/TextFiles.h"

using namespace Nembra;

namespace {

constexpr int kWidth = 800, kHeight = 600;
using namespace imagetest;

struct Screen {
  std::vector<uint32_t> argb;
  uint32_t width = 0, height = 0;
  uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
  // Pixels in a box within `tolerance` of the colour in every channel.
  int Count(int x0, int y0, int x1, int y1, int r, int g, int b, int tolerance) const {
    return CountIn(argb, x0, y0, x1, y1, [&](uint32_t c) {
      return std::abs(R(c) - r) <= tolerance && std::abs(G(c) - g) <= tolerance && std::abs(B(c) - b) <= tolerance;
    });
  }
};

// The engine with the system and bitmap font factories the front end adds.
class TwoDImage : public testsupport::GlSceneTest {
 protected:
  void EngineReady() override {
    if (!g_pFontFactory) g_pFontFactory = new CFontFactory();
    g_pBitmapFontFactory = new CBitmapFontFactory();
  }
  void EngineClosing() override {
    delete g_pBitmapFontFactory;
    g_pBitmapFontFactory = nullptr;
  }
  std::string SolidPng(const std::string& name, uint8_t r, uint8_t g, uint8_t b) {
    const uint32_t argb = 0xFF000000u | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
    Data().Write("Materials/" + name, formats::PngBytes(formats::TestPicture(16, 16, argb)));
    return name;
  }
};

}  // namespace

TEST_F(TwoDImage, SpritesBitmapTextAndSystemTextOnOneScreen) {
  // A real font made by the font maker.
  formats::BitmapFont made;
  ASSERT_TRUE(formats::MakeBitmapFont(platform::FontFace::SystemFontFile(false, false), 24,
                                      formats::GameFontCharacters(), made));
  ASSERT_TRUE(formats::WriteBitmapFont(Data().File("GUI_Font_Message"), made));
  ASSERT_TRUE(formats::WriteBytes(Data().File("Materials/GUI_Font_Message.png"), formats::PngBytes(made.atlas)));
  CBitmapFont* font = g_pBitmapFontFactory->Get("GUI_Font_Message");
  ASSERT_NE(font, g_pBitmapFontFactory->GetDefault());

  CFont* system = g_pFontFactory->Get("System Font");
  ASSERT_TRUE(system->Create("Verdana", 16, CFont::STYLE_BOLD | CFont::STYLE_ANTIALIASED));
  system->SetPosition(40, 520);
  system->SetColor(D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f));

  CStatic2DSprite background, glass;
  ASSERT_TRUE(background.SetTexture(g_pTextureFactory->Get(SolidPng("Back.png", 40, 60, 100))));
  background.SetSourceRect(MakeRect(0, 0, 16, 16));
  background.m_ScaleX = kWidth / 16.0f;
  background.m_ScaleY = kHeight / 16.0f;
  ASSERT_TRUE(glass.SetTexture(g_pTextureFactory->Get(SolidPng("Red.png", 255, 0, 0))));
  glass.SetSourceRect(MakeRect(0, 0, 16, 16));
  glass.SetPosition(D3DXVECTOR3(500.0f, 60.0f, 0.0f));
  glass.m_ScaleX = 200 / 16.0f;
  glass.m_ScaleY = 100 / 16.0f;
  glass.m_Color = D3DXCOLOR(1.0f, 1.0f, 1.0f, 0.5f);

  const std::wstring english = L"Hello, world", spanish = L"Ma\u00f1ana \u00e1rbol", russian = L"\u041f\u0440\u0438\u0432\u0435\u0442, \u043c\u0438\u0440";
  // Letters with and without their marks, side by side, to probe the marks.
  const std::wstring pairs = L"n \u00f1 a \u00e1";

  ASSERT_TRUE(g_pGraphicsDevice->BeginScene());
  g_pGraphicsDevice->Clear();
  ASSERT_TRUE(g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND));
  background.Draw();
  glass.Draw();
  font->DrawText(english, 40, 200, 1.0f, 1.0f, 0.0f, 1.0f);
  font->DrawText(spanish, 40, 250, 1.0f, 1.0f, 0.0f, 1.0f);
  font->DrawText(russian, 40, 300, 1.0f, 1.0f, 0.0f, 1.0f);
  font->DrawText(pairs, 40, 380, 1.0f, 1.0f, 0.0f, 1.0f);
  RECT rect = system->GetRect();
  system->GetD3DXFont()->DrawTextW(g_pGraphicsDevice->GetSprite(), L"System font: Verdana bold", -1, &rect,
                                   system->GetFormat(), system->GetColor());
  g_pGraphicsDevice->EndSprite();

  Screen screen;
  ASSERT_TRUE(g_pGraphicsDevice->GetDevice()->ReadBackBuffer(screen.argb, &screen.width, &screen.height));
  ASSERT_EQ(screen.width, static_cast<uint32_t>(kWidth));
  ASSERT_EQ(screen.height, static_cast<uint32_t>(kHeight));
  Keep("twod_screen", screen.argb);
  g_pGraphicsDevice->Present();

  // The background fills the screen, corner to corner.
  for (auto xy : {std::make_pair(2, 2), std::make_pair(797, 597), std::make_pair(400, 150)}) {
    EXPECT_EQ(screen.Count(xy.first, xy.second, xy.first + 1, xy.second + 1, 40, 60, 100, 3), 1)
        << xy.first << "," << xy.second;
  }
  // Half red over the background, inside the glass; untouched just outside it.
  EXPECT_EQ(screen.Count(600, 110, 601, 111, (255 + 40) / 2, 60 / 2, 100 / 2, 4), 1);
  EXPECT_NEAR(R(screen.At(495, 110)), 40, 3);
  EXPECT_NEAR(R(screen.At(705, 110)), 40, 3);

  // Each line of text puts yellow ink inside its own box and none beyond its width.
  const int line = font->GetLineHeight();
  struct Probe {
    const std::wstring* text;
    int y;
  } lines[] = {{&english, 200}, {&spanish, 250}, {&russian, 300}};
  for (const Probe& p : lines) {
    const int width = font->GetTextWidth(*p.text);
    EXPECT_GT(width, 100);
    const int ink = screen.Count(40, p.y, 40 + width, p.y + line, 255, 255, 0, 40);
    EXPECT_GT(ink, width / 2) << "line at y " << p.y;
    EXPECT_EQ(screen.Count(40 + width + 8, p.y, 40 + width + 200, p.y + line, 255, 255, 0, 80), 0);
  }
  // Marks: the top part of the box above x-height has ink for ñ and á, none for n and a.
  auto topInk = [&](int index) {
    const int x = 40 + font->GetTextWidth(pairs.substr(0, index));
    const int w = font->GetGlyph(pairs[index]).width;
    const int xHeightTop = 380 + made.lineHeight * 9 / 20;  // a little above lowercase tops
    return screen.Count(x, 380 + 2, x + w, xHeightTop - 3, 255, 255, 0, 90);
  };
  EXPECT_EQ(topInk(0), 0);
  EXPECT_GT(topInk(2), 0);
  EXPECT_EQ(topInk(4), 0);
  EXPECT_GT(topInk(6), 0);

  // The system-font line: white ink in its rectangle, nothing far right of it.
  platform::TEXTMETRIC tm;
  system->GetD3DXFont()->GetTextMetrics(&tm);
  EXPECT_GT(screen.Count(40, 520, 400, 520 + tm.tmHeight, 255, 255, 255, 40), 60);
  EXPECT_EQ(screen.Count(600, 520, 790, 520 + tm.tmHeight, 255, 255, 255, 60), 0);
}
