// Souls: size, place and value over their life, the fade-in, the additive
// state block and the references they hold.
#include <memory>

#include "engine/app/Application.h"
#include "engine/resources/Shader.h"
#include "engine/resources/Texture.h"
#include "game/actors/Energy.h"
#include "game/actors/EntitySceneFixture.h"
#include "tools/formats/GraphicsFiles.h"

using Nembra::g_pShaderFactory;
using Nembra::g_pTextureFactory;

namespace {

class Souls : public entitytest::EntitySceneTest {
 protected:
  void SetUp() override {
    entitytest::EntitySceneTest::SetUp();
    WriteData("Materials/RedSoul.tga", formats::TgaBytes(formats::TestPicture(8, 8, 0x80FF2020u), true));
    WriteData("Materials/BlueSoul.tga", formats::TgaBytes(formats::TestPicture(8, 8, 0x802020FFu), true));
  }

  // Steps the soul and runs the scene frame while `going` holds, at most `frames` times.
  int Run(CEnergy& soul, int frames, bool (CEnergy::*going)() const = &CEnergy::IsActive) {
    int done = 0;
    for (; done < frames && (soul.*going)(); ++done) {
      soul.Step();
      Frame();
    }
    return done;
  }

  static uint32_t References(const char* texture) {
    const Nembra::CTexture* t = g_pTextureFactory->Find(texture);
    return t ? t->GetRefCount() : 0;
  }
  static const std::string& TextureOf(CEnergy& soul) {
    static const std::string none;
    const Nembra::CTexture* t = soul.GetBillboard().GetQuad().textureSet.GetTexture(0);
    return t ? t->GetName() : none;
  }
};

}  // namespace

TEST_F(Souls, SizeRadiusAndPlaceFollowTheValue) {
  CEnergy soul;
  soul.Init(0, 100.0f, 200.0f, 40.0f, 10);
  EXPECT_TRUE(soul.IsActive());
  EXPECT_EQ(soul.GetValue(), 10u);
  EXPECT_EQ(soul.GetColor(), 0u);
  EXPECT_FLOAT_EQ(soul.GetRadius(), 75.0f);
  EXPECT_FLOAT_EQ(soul.GetBillboard().GetQuad().width, 150.0f);  // square
  EXPECT_FLOAT_EQ(soul.GetBillboard().GetQuad().height, 150.0f);
  EXPECT_FALSE(soul.GetBillboard().IsUpright());
  EXPECT_NE(soul.GetBillboard().GetGeometrySet(), nullptr);
  EXPECT_EQ(TextureOf(soul), "REDSOUL.TGA");

  soul.Show();
  EXPECT_EQ(soul.GetParent(), Root());
  EXPECT_EQ(soul.GetBillboard().GetParent(), &soul);
  EXPECT_EQ(soul.GetBillboard().GetPosition(), D3DXVECTOR3(0.0f, 0.0f, 75.0f));
  const D3DXMATRIX& world = soul.GetBillboard().GetStoredWorldMatrix();
  EXPECT_EQ(D3DXVECTOR3(world._41, world._42, world._43), D3DXVECTOR3(100.0f, 200.0f, 115.0f));
  soul.RemoveFromScene();

  // Every colour but 0 is blue.
  for (uint32_t colour : {1u, 5u}) {
    CEnergy blue;
    blue.Init(colour, 0.0f, 0.0f, 0.0f, 1);
    EXPECT_EQ(TextureOf(blue), "BLUESOUL.TGA");
    EXPECT_FLOAT_EQ(blue.GetRadius(), 30.0f);
  }
}

TEST_F(Souls, ValueFadesOverFortySecondsWhileTheSoulShrinksAndSinks) {
  CEnergy soul;
  soul.Init(1, 0.0f, 0.0f, 40.0f, 10);
  soul.Show();

  ASSERT_EQ(Run(soul, 975), 975);  // 19.5 s
  EXPECT_EQ(soul.GetValue(), 5u);
  EXPECT_NEAR(soul.GetFraction(), 0.5125f, 1e-4f);
  EXPECT_NEAR(soul.GetBillboard().GetScale().x, 0.5125f, 1e-4f);
  EXPECT_NEAR(soul.GetBillboard().GetScale().z, 0.5125f, 1e-4f);
  EXPECT_NEAR(soul.GetPosition().z, 40.0f * 0.5125f, 1e-3f);
  EXPECT_NEAR(soul.WorldPosition().z, 40.0f * 0.5125f, 1e-3f);

  ASSERT_EQ(Run(soul, 820), 820);  // 35.9 s
  EXPECT_TRUE(soul.IsActive());
  EXPECT_EQ(soul.GetValue(), 1u);
  const float lastZ = soul.GetPosition().z;
  EXPECT_NEAR(lastZ, 40.0f * 0.1025f, 1e-2f);

  EXPECT_LE(Run(soul, 10), 10);  // by 36.1 s
  EXPECT_FALSE(soul.IsActive());
  EXPECT_EQ(soul.GetValue(), 0u);
  EXPECT_LT(soul.GetPosition().z, lastZ + 1e-6f);  // the last sink before it went
  soul.RemoveFromScene();
}

TEST_F(Souls, ValueIsTruncated) {
  CEnergy soul;
  soul.Init(0, 0.0f, 0.0f, 0.0f, 7);
  for (int i = 0; i < 1000; ++i) soul.Step();  // 20 s
  EXPECT_NEAR(soul.GetFraction(), 0.5f, 1e-4f);
  EXPECT_EQ(soul.GetValue(), 3u);
  // The largest value is worth itself while whole (its float rounds past a u32).
  CEnergy largest;
  largest.Init(0, 0.0f, 0.0f, 0.0f, 0xFFFFFFFFu);
  EXPECT_EQ(largest.GetValue(), 0xFFFFFFFFu);
  // Past the end the fraction stays at 0.
  CEnergy gone;
  gone.Init(0, 0.0f, 0.0f, 0.0f, 1000);
  Nembra::g_FrameTime = 50.0f;
  gone.Step();
  EXPECT_EQ(gone.GetFraction(), 0.0f);
  EXPECT_FALSE(gone.IsActive());
}

TEST_F(Souls, FadesInForHalfASecondThenDropsTheEffect) {
  CEnergy soul;
  soul.Init(0, 0.0f, 0.0f, 0.0f, 4);
  EXPECT_TRUE(soul.IsFadingIn());
  EXPECT_EQ(soul.GetVanishEffect().GetAlpha(), 0);
  EXPECT_EQ(soul.GetBillboard().GetRenderEffect(), &soul.GetVanishEffect());
  EXPECT_EQ(soul.GetBillboard().GetGeometrySet()->renderEffect, &soul.GetVanishEffect());
  soul.Show();
  // 512 alpha units per second: 255 after 25 frames of 0.02 s; the step
  // after that lets the effect go.
  EXPECT_EQ(Run(soul, 100, &CEnergy::IsFadingIn), 26);
  EXPECT_EQ(soul.GetVanishEffect().GetAlpha(), 255);
  EXPECT_EQ(soul.GetBillboard().GetRenderEffect(), nullptr);
  EXPECT_EQ(soul.GetBillboard().GetGeometrySet()->renderEffect, nullptr);

  // Made again, it fades in again from nothing.
  soul.Init(0, 0.0f, 0.0f, 0.0f, 4);
  EXPECT_TRUE(soul.IsFadingIn());
  EXPECT_EQ(soul.GetVanishEffect().GetAlpha(), 0);
  EXPECT_EQ(soul.GetBillboard().GetRenderEffect(), &soul.GetVanishEffect());
  soul.RemoveFromScene();
}

TEST_F(Souls, StateBlockDrawsAdditively) {
  CEnergy soul;
  soul.Init(0, 0.0f, 0.0f, 0.0f, 1);
  Nembra::CShader* block = g_pShaderFactory->Find("AUTO_ENERGY_SHADER");
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(soul.GetBillboard().GetGeometrySet()->stateBlock, block);
  using namespace platform;
  struct Expected {
    uint32_t state, value;
  };
  for (const Expected& e : {Expected{D3DRS_ZWRITEENABLE, 0}, Expected{D3DRS_LIGHTING, 0},
                            Expected{D3DRS_SRCBLEND, D3DBLEND_SRCALPHA}, Expected{D3DRS_DESTBLEND, D3DBLEND_ONE},
                            Expected{D3DRS_BLENDOP, D3DBLENDOP_ADD}}) {
    SCOPED_TRACE(e.state);
    const Nembra::STATE_ENTRY entry = block->GetRenderState(e.state);
    EXPECT_EQ(entry.value, e.value);
    EXPECT_EQ(entry.defined, 1);
  }
  const Nembra::STATE_ENTRY alphaOp = block->GetTextureStageState(0, D3DTSS_ALPHAOP);
  EXPECT_EQ(alphaOp.value, D3DTOP_MODULATE4X);
  EXPECT_EQ(alphaOp.defined, 1);
  // The rest comes from the transparent default.
  const Nembra::CShader* transparent = g_pShaderFactory->GetDefaultTransparent();
  EXPECT_EQ(block->GetRenderState(D3DRS_ALPHABLENDENABLE).value,
            transparent->GetRenderState(D3DRS_ALPHABLENDENABLE).value);
  EXPECT_EQ(block->GetRenderState(D3DRS_ZENABLE).value, transparent->GetRenderState(D3DRS_ZENABLE).value);
}

TEST_F(Souls, EachSoulHoldsOneReferenceToItsTextureAndBlock) {
  {
    auto first = std::make_unique<CEnergy>();
    auto second = std::make_unique<CEnergy>();
    first->Init(0, 0.0f, 0.0f, 0.0f, 3);
    second->Init(0, 0.0f, 0.0f, 0.0f, 3);
    EXPECT_EQ(References("RedSoul.tga"), 2u);
    EXPECT_EQ(g_pShaderFactory->Find("AUTO_ENERGY_SHADER")->GetRefCount(), 2u);
    second->Init(0, 0.0f, 0.0f, 0.0f, 3);  // the same colour again
    EXPECT_EQ(References("RedSoul.tga"), 2u);
    second->Init(1, 0.0f, 0.0f, 0.0f, 3);  // another colour
    EXPECT_EQ(References("RedSoul.tga"), 1u);
    EXPECT_EQ(References("BlueSoul.tga"), 1u);
    EXPECT_EQ(g_pShaderFactory->Find("AUTO_ENERGY_SHADER")->GetRefCount(), 2u);
    first->Show();
    second->Show();
    Frame();
    first.reset();  // while in the scene
    Frame();
  }
  EXPECT_EQ(g_pTextureFactory->Find("RedSoul.tga"), nullptr);
  EXPECT_EQ(g_pTextureFactory->Find("BlueSoul.tga"), nullptr);
  EXPECT_EQ(g_pShaderFactory->Find("AUTO_ENERGY_SHADER"), nullptr);
}

using SoulsWithoutTextures = entitytest::EntitySceneTest;

TEST_F(SoulsWithoutTextures, MissingTextureGivesTheDefaultAndNothingToGiveBack) {
  const size_t textures = g_pTextureFactory->GetCount();
  {
    CEnergy never;  // never made: takes and gives back nothing
    CEnergy soul;
    soul.Init(0, 0.0f, 0.0f, 0.0f, 2);
    EXPECT_EQ(soul.GetBillboard().GetQuad().textureSet.GetTexture(0), g_pTextureFactory->GetDefault());
    soul.Show();
    soul.Step();
    Frame();
    soul.Init(1, 0.0f, 0.0f, 0.0f, 2);
    soul.RemoveFromScene();
  }
  EXPECT_EQ(g_pTextureFactory->GetCount(), textures);
  EXPECT_EQ(g_pShaderFactory->Find("AUTO_ENERGY_SHADER"), nullptr);
}
