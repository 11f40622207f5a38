#include <gtest/gtest.h>

#include "engine/app/Application.h"
#include "engine/effects/RenderEffects.h"
#include "engine/scene/SceneManager.h"
#include "FxDevice.h"

using namespace Nembra;
using namespace platform;

namespace {

class RenderEffectTest : public fxtest::DeviceFixture {
 protected:
  void SetUp() override {
    fxtest::DeviceFixture::SetUp();
    m_OldFrameTime = g_FrameTime;
  }
  void TearDown() override {
    g_FrameTime = m_OldFrameTime;
    fxtest::DeviceFixture::TearDown();
  }
  // Blend enable, source and destination blend, texture factor; stage 0 alpha op and arguments 1 and 2.
  std::vector<DWORD> VanishStates() const {
    return {m_Recorder->RenderState(D3DRS_ALPHABLENDENABLE), m_Recorder->RenderState(D3DRS_SRCBLEND),
            m_Recorder->RenderState(D3DRS_DESTBLEND),        m_Recorder->RenderState(D3DRS_TEXTUREFACTOR),
            m_Recorder->StageState(0, D3DTSS_ALPHAOP),        m_Recorder->StageState(0, D3DTSS_ALPHAARG1),
            m_Recorder->StageState(0, D3DTSS_ALPHAARG2)};
  }
  float m_OldFrameTime = 0.0f;
};

}  // namespace

TEST_F(RenderEffectTest, FadeOutCarriesFractionsAndEndsAfterOneSecond) {
  CVanishEffect fade;
  fade.Start(false);
  EXPECT_EQ(fade.GetAlpha(), 255);
  g_FrameTime = 1.0f / 60.0f;
  std::vector<int> steps;
  int last = 255;
  for (int i = 0; i < 4; ++i) {
    fade.Update();
    steps.push_back(last - fade.GetAlpha());
    last = fade.GetAlpha();
  }
  EXPECT_EQ(steps, (std::vector<int>{4, 4, 4, 5}));
  int frames = 4;
  while (!fade.IsFinished() && frames < 1000) {
    fade.Update();
    ++frames;
  }
  EXPECT_EQ(frames, 60);
  EXPECT_EQ(fade.GetAlpha(), 0);
  fade.Update();
  EXPECT_EQ(fade.GetAlpha(), 0);  // held at the minimum
}

TEST_F(RenderEffectTest, FadeLimitsHoldAndOnlyTheFixedEndsFinish) {
  CVanishEffect fade;
  fade.maximum = 128;
  fade.Start(true);
  EXPECT_EQ(fade.GetAlpha(), 0);
  g_FrameTime = 0.1f;
  for (int i = 0; i < 100; ++i) fade.Update();
  EXPECT_EQ(fade.GetAlpha(), 128);
  EXPECT_FALSE(fade.IsFinished());  // a fade-in finishes at 255 only
  CVanishEffect out;
  out.minimum = 40;
  out.Start(false);
  for (int i = 0; i < 100; ++i) out.Update();
  EXPECT_EQ(out.GetAlpha(), 40);
  EXPECT_FALSE(out.IsFinished());
  // Huge or negative speeds stay inside the byte.
  CVanishEffect wild;
  wild.speed = 1e30f;
  wild.Start(false);
  wild.Update();
  EXPECT_EQ(wild.GetAlpha(), 0);
  wild.speed = -1e9f;
  wild.Update();
  EXPECT_GE(wild.GetAlpha(), 0);
  EXPECT_LE(wild.GetAlpha(), 255);
}

TEST_F(RenderEffectTest, VanishSetsItsStatesAndPutsBackWhatWasThere) {
  m_Device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);  // what was there before the fade
  m_Device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  m_Device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
  m_Device->SetRenderState(D3DRS_TEXTUREFACTOR, 0x12345678u);
  m_Device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
  m_Device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  m_Device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
  CVanishEffect fade;
  fade.Start(false);
  fade.running = false;  // frozen: Begin still sets the states
  g_FrameTime = 0.5f;
  const std::vector<DWORD> before = VanishStates();
  fade.Begin();
  EXPECT_EQ(VanishStates(), (std::vector<DWORD>{1u, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 0xFFFFFFFFu,
                                                D3DTOP_MODULATE, D3DTA_TFACTOR, D3DTA_TEXTURE}));
  fade.End();
  EXPECT_EQ(VanishStates(), before);
  EXPECT_EQ(before, (std::vector<DWORD>{0u, D3DBLEND_ONE, D3DBLEND_ZERO, 0x12345678u, D3DTOP_SELECTARG1, D3DTA_TEXTURE,
                                        D3DTA_CURRENT}));
  // Without blend set-up the blend factors are neither set nor restored.
  fade.running = true;
  fade.blendSetup = false;
  CRenderEffect::NextFrame();
  fade.Begin();
  EXPECT_EQ(m_Recorder->RenderState(D3DRS_SRCBLEND), D3DBLEND_ONE);
  EXPECT_EQ(m_Recorder->RenderState(D3DRS_TEXTUREFACTOR), 0x80FFFFFFu);  // 255 - 127.5 -> 128
  fade.End();
  EXPECT_EQ(m_Recorder->RenderState(D3DRS_TEXTUREFACTOR), 0x12345678u);
}

TEST_F(RenderEffectTest, ColorizeBlendsRedGreenBlueOverItsDuration) {
  m_Device->SetRenderState(D3DRS_TEXTUREFACTOR, 0xAABBCCDDu);
  m_Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
  CColorizeEffect tint;
  tint.Start(D3DXCOLOR(1, 0, 0, 0.2f), D3DXCOLOR(0, 0, 1, 0.9f), 2.0f);
  g_FrameTime = 0.5f;
  tint.Begin();
  tint.End();
  EXPECT_FALSE(tint.IsFinished());
  CRenderEffect::NextFrame();
  tint.Begin();  // elapsed 1 s
  EXPECT_EQ(m_Recorder->RenderState(D3DRS_TEXTUREFACTOR), 0xFF7F007Fu);
  EXPECT_EQ(m_Recorder->RenderState(D3DRS_SRCBLEND), D3DBLEND_SRCALPHA);
  EXPECT_EQ(m_Recorder->RenderState(D3DRS_DESTBLEND), D3DBLEND_INVSRCALPHA);
  EXPECT_EQ(m_Recorder->StageState(0, D3DTSS_COLOROP), D3DTOP_MODULATE);
  EXPECT_EQ(m_Recorder->StageState(0, D3DTSS_COLORARG1), D3DTA_TFACTOR);
  EXPECT_EQ(m_Recorder->StageState(0, D3DTSS_COLORARG2), D3DTA_TEXTURE);
  tint.End();
  EXPECT_EQ(m_Recorder->RenderState(D3DRS_TEXTUREFACTOR), 0xAABBCCDDu);
  EXPECT_EQ(m_Recorder->StageState(0, D3DTSS_COLOROP), D3DTOP_SELECTARG2);
  tint.Update();
  EXPECT_FALSE(tint.IsFinished());
  tint.Update();  // reaches 2 s
  EXPECT_TRUE(tint.IsFinished());
  tint.Update();
  EXPECT_TRUE(tint.IsFinished());
  EXPECT_EQ(tint.GetElapsed(), 2.0f);  // held at the end colour
  EXPECT_EQ(tint.CurrentFactor(), 0xFF0000FFu);
  tint.Restart();
  EXPECT_FALSE(tint.IsFinished());
}

TEST_F(RenderEffectTest, ColorizeWithoutDurationShowsTheEndColourAtOnce) {
  CColorizeEffect tint;
  tint.Start(D3DXCOLOR(1, 1, 1, 1), D3DXCOLOR(0, 0.5f, 0, 1), 0.0f);
  g_FrameTime = 0.016f;
  tint.Begin();
  EXPECT_EQ(m_Recorder->RenderState(D3DRS_TEXTUREFACTOR), 0xFF007F00u);
  tint.End();
  EXPECT_TRUE(tint.IsFinished());
  // Channels beyond 1 wrap in their byte rather than being clamped.
  tint.Start(D3DXCOLOR(2, 0, 0, 1), D3DXCOLOR(2, 0, 0, 1), 1.0f);
  EXPECT_EQ(tint.CurrentFactor(), 0xFFFE0000u);  // 510 & 0xFF
  tint.Start(D3DXCOLOR(1e20f, -1e20f, 0, 1), D3DXCOLOR(0, 0, 0, 1), 1.0f);
  EXPECT_EQ(tint.CurrentFactor() >> 24, 0xFFu);  // no undefined conversion
}

// An object drawn in two passes, or a mesh drawn subset by subset, begins
// its effect more than once a frame; the fade still takes one step a frame.
TEST_F(RenderEffectTest, EffectsAdvanceOnceAFrameHoweverOftenTheyBegin) {
  CVanishEffect fade;
  fade.Start(false);
  fade.speed = 100.0f;
  CColorizeEffect tint;
  tint.Start(D3DXCOLOR(1, 0, 0, 1), D3DXCOLOR(0, 0, 1, 1), 1.0f);
  g_FrameTime = 0.1f;
  for (int frame = 1; frame <= 3; ++frame) {
    CRenderEffect::NextFrame();
    for (int pass = 0; pass < 3; ++pass) {
      fade.Begin();
      fade.End();
      tint.Begin();
      tint.End();
    }
    // A culled object's advance in the same frame adds nothing either.
    fade.Advance();
    tint.Advance();
    EXPECT_EQ(fade.GetAlpha(), 255 - 10 * frame) << "frame " << frame;
    EXPECT_NEAR(tint.GetElapsed(), 0.1f * frame, 1e-5f) << "frame " << frame;
  }
  // The scene manager's update pass starts the frame.
  const uint64_t before = CRenderEffect::CurrentFrame();
  CSceneManager scene;
  scene.Update();
  EXPECT_EQ(CRenderEffect::CurrentFrame(), before + 1);
  fade.Begin();
  fade.End();
  fade.Begin();
  fade.End();
  EXPECT_EQ(fade.GetAlpha(), 215);
}
