#include "engine/effects/RenderEffects.h"

#include <cmath>

#include "engine/app/Application.h"
#include "engine/app/GraphicsDevice.h"

namespace Nembra {

using namespace platform;

namespace {

uint32_t CachedRender(uint32_t state) {
  return g_pGraphicsDevice ? g_pGraphicsDevice->GetStateCache().GetRenderState(state).value : 0;
}
uint32_t CachedStage0(uint32_t type) {
  return g_pGraphicsDevice ? g_pGraphicsDevice->GetStateCache().GetTextureStageState(0, type).value : 0;
}
void SetRender(uint32_t state, uint32_t value) {
  if (g_pGraphicsDevice) g_pGraphicsDevice->SetRenderState(state, value);
}
void SetStage0(uint32_t type, uint32_t value) {
  if (g_pGraphicsDevice) g_pGraphicsDevice->SetTextureStageState(0, type, value);
}

// The low byte of the channel times 255 truncated toward zero; values
// beyond the integer range are held at its ends first.
uint32_t ChannelByte(float c) {
  const float v = c * 255.0f;
  if (!(v == v)) return 0;
  const double held = v > 2147483647.0f ? 2147483647.0 : (v < -2147483648.0f ? -2147483648.0 : v);
  return static_cast<uint32_t>(static_cast<int32_t>(held)) & 0xFFu;
}

}  // namespace

void CVanishEffect::Start(bool fadeIn) {
  m_FadeIn = fadeIn;
  Restart();
}

void CVanishEffect::Restart() {
  m_Accumulator = 0.0f;
  m_Alpha = m_FadeIn ? minimum : maximum;
}

void CVanishEffect::Update() {
  if (!running) return;
  m_Accumulator = speed * g_FrameTime + m_Accumulator;
  if (!std::isfinite(m_Accumulator)) m_Accumulator = 0.0f;
  const float whole = std::trunc(m_Accumulator);
  // A step of 255 crosses the whole range already.
  const int32_t step = whole > 255.0f ? 255 : (whole < -255.0f ? -255 : static_cast<int32_t>(whole));
  if (m_FadeIn) {
    m_Alpha = m_Alpha + step > maximum ? maximum : m_Alpha + step;
  } else {
    m_Alpha = m_Alpha - step < minimum ? minimum : m_Alpha - step;
  }
  // A negative speed must not push alpha out of its byte.
  m_Alpha = m_Alpha < 0 ? 0 : (m_Alpha > 255 ? 255 : m_Alpha);
  m_Accumulator -= whole;
}

void CVanishEffect::Begin() {
  Advance();
  m_Saved[0] = CachedRender(D3DRS_ALPHABLENDENABLE);
  if (blendSetup) {
    m_Saved[1] = CachedRender(D3DRS_SRCBLEND);
    m_Saved[2] = CachedRender(D3DRS_DESTBLEND);
  }
  m_Saved[3] = CachedRender(D3DRS_TEXTUREFACTOR);
  m_Saved[4] = CachedStage0(D3DTSS_ALPHAOP);
  m_Saved[5] = CachedStage0(D3DTSS_ALPHAARG1);
  m_Saved[6] = CachedStage0(D3DTSS_ALPHAARG2);

  SetRender(D3DRS_ALPHABLENDENABLE, 1);
  if (blendSetup) {
    SetRender(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    SetRender(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  }
  SetRender(D3DRS_TEXTUREFACTOR, (static_cast<uint32_t>(m_Alpha) << 24) | 0x00FFFFFFu);
  SetStage0(D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  SetStage0(D3DTSS_ALPHAARG1, D3DTA_TFACTOR);
  SetStage0(D3DTSS_ALPHAARG2, D3DTA_TEXTURE);
}

void CVanishEffect::End() {
  SetRender(D3DRS_ALPHABLENDENABLE, m_Saved[0]);
  if (blendSetup) {
    SetRender(D3DRS_SRCBLEND, m_Saved[1]);
    SetRender(D3DRS_DESTBLEND, m_Saved[2]);
  }
  SetRender(D3DRS_TEXTUREFACTOR, m_Saved[3]);
  SetStage0(D3DTSS_ALPHAOP, m_Saved[4]);
  SetStage0(D3DTSS_ALPHAARG1, m_Saved[5]);
  SetStage0(D3DTSS_ALPHAARG2, m_Saved[6]);
}

bool CVanishEffect::IsFinished() { return m_FadeIn ? m_Alpha == 255 : m_Alpha == 0; }

void CColorizeEffect::Start(const D3DXCOLOR& from, const D3DXCOLOR& to, float seconds) {
  m_From = from;
  m_To = to;
  m_Duration = seconds;
  m_Elapsed = 0.0f;
}

void CColorizeEffect::Update() {
  m_Elapsed += g_FrameTime;
  if (m_Elapsed > m_Duration) m_Elapsed = m_Duration;
}

uint32_t CColorizeEffect::CurrentFactor() const {
  // Without a duration the tint is at its end at once.
  const float t = m_Duration > 0.0f ? m_Elapsed / m_Duration : 1.0f;
  const float r = m_From.r + (m_To.r - m_From.r) * t;
  const float g = m_From.g + (m_To.g - m_From.g) * t;
  const float b = m_From.b + (m_To.b - m_From.b) * t;
  return 0xFF000000u | ChannelByte(r) << 16 | ChannelByte(g) << 8 | ChannelByte(b);
}

void CColorizeEffect::Begin() {
  Advance();
  const uint32_t factor = CurrentFactor();
  m_Saved[0] = CachedRender(D3DRS_SRCBLEND);
  m_Saved[1] = CachedRender(D3DRS_DESTBLEND);
  m_Saved[2] = CachedRender(D3DRS_TEXTUREFACTOR);
  m_Saved[3] = CachedStage0(D3DTSS_COLOROP);
  m_Saved[4] = CachedStage0(D3DTSS_COLORARG1);
  m_Saved[5] = CachedStage0(D3DTSS_COLORARG2);
  SetRender(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  SetRender(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  SetRender(D3DRS_TEXTUREFACTOR, factor);
  SetStage0(D3DTSS_COLOROP, D3DTOP_MODULATE);
  SetStage0(D3DTSS_COLORARG1, D3DTA_TFACTOR);
  SetStage0(D3DTSS_COLORARG2, D3DTA_TEXTURE);
}

void CColorizeEffect::End() {
  SetRender(D3DRS_SRCBLEND, m_Saved[0]);
  SetRender(D3DRS_DESTBLEND, m_Saved[1]);
  SetRender(D3DRS_TEXTUREFACTOR, m_Saved[2]);
  SetStage0(D3DTSS_COLOROP, m_Saved[3]);
  SetStage0(D3DTSS_COLORARG1, m_Saved[4]);
  SetStage0(D3DTSS_COLORARG2, m_Saved[5]);
}

}  // namespace Nembra
