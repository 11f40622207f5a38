#include <gtest/gtest.h>

#include <cmath>

#include "TwoDTestSupport.h"
#include "engine/sprites/ScreenFader.h"
#include "engine/sprites/Sprite2D.h"

using namespace Nembra;
using twodtest::HeadlessEngine;

namespace {

class ScreenSpriteTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_Engine.ok()); }
  // Draws the sprite in its own batch; the draws recorded for it.
  std::vector<platform::headless::DrawRecord> DrawOne(CStatic2DSprite& sprite) {
    m_Engine.Rec().ClearLog();
    g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND);
    sprite.Draw();
    g_pGraphicsDevice->EndSprite();
    return m_Engine.Rec().Draws();
  }
  // Updates the fader TIMES in one sprite batch; the draws recorded for it.
  std::vector<platform::headless::DrawRecord> UpdateInBatch(CScreenFader& fader, int times,
                                                            std::vector<float>* alphas) {
    m_Engine.Rec().ClearLog();
    g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND);
    for (int i = 0; i < times; ++i) fader.Update(), alphas->push_back(fader.m_Alpha);
    g_pGraphicsDevice->EndSprite();
    return m_Engine.Rec().Draws();
  }
  HeadlessEngine m_Engine;
};

}  // namespace

TEST_F(ScreenSpriteTest, PlacementFollowsSourceRectCentreTransformAndColour) {
  CTexture* texture = g_pTextureFactory->Get(m_Engine.WriteTexture("Sheet.png", 64, 32, 0xFFFFFFFF));
  ASSERT_NE(texture, nullptr);
  ASSERT_NE(texture->GetTexture(), nullptr);
  CStatic2DSprite sprite;
  ASSERT_TRUE(sprite.SetTexture(texture));
  EXPECT_EQ(sprite.m_Width, 64);
  EXPECT_EQ(sprite.m_Height, 32);
  // A new sprite's rectangle is empty: nothing with any area reaches the screen.
  for (const auto& d : DrawOne(sprite)) {
    const twodtest::SPRITE_VERTEX* e = HeadlessEngine::SpriteVertices(d);
    EXPECT_FLOAT_EQ(e[0].x, e[5].x);
    EXPECT_FLOAT_EQ(e[0].y, e[5].y);
  }
  ASSERT_TRUE(sprite.SetSourceRect(MakeRect(16, 0, 32, 16)));
  sprite.SetX(-3);
  EXPECT_FLOAT_EQ(sprite.m_Position.x, -3.0f);
  sprite.SetPosition(D3DXVECTOR3(400.0f, 300.0f, 0.0f));
  sprite.m_Center = D3DXVECTOR3(16.0f, 8.0f, 0.0f);
  sprite.m_ScaleX = 2.0f;
  sprite.m_ScaleY = 0.5f;
  sprite.m_Color = D3DXCOLOR(0.5f, 1.5f, -0.25f, 0.5f);
  auto draws = DrawOne(sprite);
  ASSERT_EQ(draws.size(), 1u);
  const twodtest::SPRITE_VERTEX* v = HeadlessEngine::SpriteVertices(draws[0]);
  // Corners: (-16, -8) and (16, 8) about the centre, scaled 2 x 0.5, moved to (400, 300).
  EXPECT_EQ(std::vector<float>({v[0].x, v[0].y, v[5].x, v[5].y, v[0].u, v[5].u, v[5].v}),
            std::vector<float>({400.0f - 32.0f - 0.5f, 300.0f - 4.0f - 0.5f, 400.0f + 32.0f - 0.5f,
                                300.0f + 4.0f - 0.5f, 0.25f, 0.75f, 0.5f}));
  // Channels clamp; 0.5 gives 128.
  EXPECT_EQ(v[0].colour, 0x8080FF00u);
  EXPECT_EQ(draws[0].texture0, texture->GetTexture());
  // A quarter turn about the position: the wide sprite stands upright.
  sprite.m_Rotation = D3DX_PI / 2;
  sprite.m_ScaleX = sprite.m_ScaleY = 1.0f;
  draws = DrawOne(sprite);
  ASSERT_EQ(draws.size(), 1u);
  v = HeadlessEngine::SpriteVertices(draws[0]);
  float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
  for (int i = 0; i < 6; ++i) {
    minX = std::min(minX, v[i].x), maxX = std::max(maxX, v[i].x);
    minY = std::min(minY, v[i].y), maxY = std::max(maxY, v[i].y);
  }
  EXPECT_NEAR(maxX - minX, 16.0f, 1e-3);
  EXPECT_NEAR(maxY - minY, 32.0f, 1e-3);
  EXPECT_NEAR((minX + maxX) / 2, 399.5f, 1e-3);
}

TEST_F(ScreenSpriteTest, RefusedInputsAndHiddenOrBareSpritesDrawNothing) {
  CTexture* texture = g_pTextureFactory->Get(m_Engine.WriteTexture("Icon.png", 16, 16, 0xFF0000FF));
  CStatic2DSprite sprite;
  EXPECT_FALSE(sprite.SetTexture(nullptr));
  // No texture at all: no crash, nothing drawn.
  sprite.SetSourceRect(MakeRect(0, 0, 16, 16));
  EXPECT_TRUE(DrawOne(sprite).empty());
  ASSERT_TRUE(sprite.SetTexture(texture));
  EXPECT_FALSE(sprite.SetSourceRect(MakeRect(0, 0, 0, 0)));
  EXPECT_EQ(sprite.m_SourceRect.right, 16);  // the old rectangle stays
  RECT thin;
  thin.right = 1;
  EXPECT_TRUE(sprite.SetSourceRect(thin));
  sprite.SetSourceRect(MakeRect(0, 0, 16, 16));
  EXPECT_EQ(DrawOne(sprite).size(), 1u);
  sprite.m_Visible = false;
  EXPECT_TRUE(DrawOne(sprite).empty());
  // Copies share the texture and draw the same.
  sprite.m_Visible = true;
  CStatic2DSprite copy = sprite;
  EXPECT_EQ(copy.GetTexture(), texture);
  EXPECT_EQ(DrawOne(copy).size(), 1u);
}

TEST_F(ScreenSpriteTest, FaderReachesItsEndOnTimeAndStaysThere) {
  CScreenFader fader;
  fader.Init(D3DXCOLOR(0.0f, 0.0f, 0.0f, 1.0f), 800, 600, false, 0.5f);
  EXPECT_FLOAT_EQ(fader.m_Alpha, 0.0f);
  EXPECT_FALSE(fader.m_Shown);
  g_FrameTime = 0.1f;
  fader.FadeIn();
  EXPECT_TRUE(fader.m_Shown);
  const float expected[] = {0.2f, 0.4f, 0.6f, 0.8f, 1.0f, 1.0f, 1.0f};
  std::vector<float> alphas;
  // Every update draws: one quad of the one texel over the whole screen.
  const auto draws = UpdateInBatch(fader, 7, &alphas);
  for (int i = 0; i < 7; ++i) EXPECT_NEAR(alphas[i], expected[i], 1e-5) << i;
  EXPECT_FLOAT_EQ(fader.m_Alpha, 1.0f);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].primitiveCount, 2u * 7);
  const twodtest::SPRITE_VERTEX* v = HeadlessEngine::SpriteVertices(draws[0]);
  const size_t last = 6 * 6;
  EXPECT_FLOAT_EQ(v[last].x, -0.5f);
  EXPECT_FLOAT_EQ(v[last + 5].x, 799.5f);
  EXPECT_FLOAT_EQ(v[last + 5].y, 599.5f);
  EXPECT_EQ(v[last].colour, 0xFF000000u);
  EXPECT_EQ(v[0].colour >> 24, 51u);  // alpha 0.2
  // FadeIn while shown changes nothing; FadeOut restarts from opaque.
  fader.FadeIn();
  EXPECT_FLOAT_EQ(fader.m_Alpha, 1.0f);
  fader.m_Alpha = 0.3f;  // as if still fading in
  fader.FadeOut();
  EXPECT_FLOAT_EQ(fader.m_Alpha, 1.0f);
  EXPECT_FALSE(fader.m_Shown);
  // A frame of no time changes nothing but still draws.
  g_FrameTime = 0.0f;
  EXPECT_EQ(UpdateInBatch(fader, 1, &alphas).size(), 1u);
  EXPECT_FLOAT_EQ(fader.m_Alpha, 1.0f);
  g_FrameTime = 0.3f;
  fader.Update();
  fader.Update();
  EXPECT_FLOAT_EQ(fader.m_Alpha, 0.0f);
  g_FrameTime = 0.0f;
}

TEST_F(ScreenSpriteTest, FaderWithoutDurationJumpsToTheEnd) {
  CScreenFader fader;
  fader.Init(D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f), 800, 600, true, 0.0f);
  EXPECT_FLOAT_EQ(fader.m_Alpha, 1.0f);
  g_FrameTime = 0.016f;
  fader.FadeOut();
  fader.Update();
  EXPECT_FLOAT_EQ(fader.m_Alpha, 0.0f);
  fader.FadeIn();
  g_FrameTime = 0.0f;  // even a frame of no time: no 0 x infinity
  fader.Update();
  EXPECT_FALSE(std::isnan(fader.m_Alpha));
  EXPECT_FLOAT_EQ(fader.m_Alpha, 1.0f);
}
