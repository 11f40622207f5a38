#include "game/mechanisms/circuits/Marker.h"

#include "engine/app/Application.h"
#include "engine/resources/Shader.h"
#include "engine/resources/Texture.h"

namespace {

using namespace platform;

constexpr float PULSE_ALPHA_PER_SECOND = 256.0f;
constexpr float PULSE_GROWTH_PER_SECOND = 0.5f;
constexpr float PULSE_WAIT = 1.0f;

// Additive, unlit, no depth writes; the effect copy also takes its alpha
// from the texture factor its colour sets.
void FillBlock(Nembra::CShader& block, bool plane, bool effect) {
  if (Nembra::CShader* base = Nembra::g_pShaderFactory->GetDefaultTransparent()) block = *base;
  block.SetRenderState(D3DRS_ZWRITEENABLE, 0);
  block.SetRenderState(D3DRS_LIGHTING, 0);
  block.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  block.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  block.SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
  block.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE4X);
  if (plane) block.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  if (effect) {
    block.SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR);
    block.SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE);
  }
}

}  // namespace

template <class Sprite>
void CMarkerKind<Sprite>::Activate(bool active) {
  m_MarkerActive = active;
  StartPulse();
  ResetEffectLook();
}

template <class Sprite>
void CMarkerKind<Sprite>::StartPulse() {
  m_PulseScale = 1.0f;
  m_AlphaAccumulator = 0.0f;
  m_PulseAlpha = 255;
  m_WaitTimer = 0.0f;
}

template <class Sprite>
void CMarkerKind<Sprite>::SetEffectLook(D3DCOLOR colour, float scale) {
  m_EffectSprite.SetColor(colour);
  m_EffectSprite.SetScale(scale, scale, scale);
}

template <class Sprite>
void CMarkerKind<Sprite>::Step() {
  if (m_MarkerActive) {
    const float dt = Nembra::g_FrameTime;
    if (m_WaitTimer > 0.0f) {
      m_WaitTimer -= dt;
      if (m_WaitTimer <= 0.0f) Activate(true);
    } else {
      m_AlphaAccumulator += dt * PULSE_ALPHA_PER_SECOND;
      const int32_t whole = static_cast<int32_t>(m_AlphaAccumulator);
      m_AlphaAccumulator -= static_cast<float>(whole);
      m_PulseAlpha = m_PulseAlpha > whole ? m_PulseAlpha - whole : 0;
      m_PulseScale += dt * PULSE_GROWTH_PER_SECOND;
      SetEffectLook((static_cast<D3DCOLOR>(m_PulseAlpha) << 24) | 0x00FFFFFFu, m_PulseScale);
      if (m_PulseAlpha == 0) m_WaitTimer = PULSE_WAIT;
    }
  }
  CEntity::Step();
}

template <class Sprite>
bool CMarkerKind<Sprite>::TakeBlocks(const char* steadyBlock, const std::string& effectBlock, bool plane,
                                     Nembra::CShader*& steady, Nembra::CShader*& effect) {
  if (!Nembra::g_pShaderFactory) return false;
  ReleaseResources();
  steady = m_SteadyBlock.Take(steadyBlock);
  if (steady) FillBlock(*steady, plane, false);
  effect = m_EffectBlock.Take(effectBlock);
  if (effect) FillBlock(*effect, plane, true);
  return true;
}

template <class Sprite>
void CMarkerKind<Sprite>::ReleaseResources() {
  m_SteadyBlock.Reset();
  m_EffectBlock.Reset();
  m_Image.Reset();
}

template class CMarkerKind<Nembra::CStaticBillboard>;
template class CMarkerKind<Nembra::CPlaneSprite>;

namespace {

// Fills a sprite description (billboard or plane) of the size and image.
template <class Desc>
Desc Describe(float size, Nembra::CTexture* texture, Nembra::CShader* block) {
  Desc desc;
  desc.width = size;
  desc.height = size;
  desc.texture = texture;
  desc.stateBlock = block;
  return desc;
}

}  // namespace

CMarker::~CMarker() { ReleaseResources(); }

bool CMarker::Create(float x, float y, float z, float size, const std::string& imageFile, int mode) {
  static uint32_t s_Made = 0;
  Nembra::CShader* steady = nullptr;
  Nembra::CShader* effect = nullptr;
  if (!TakeBlocks("AUTO_MARKER_SHADER", "AUTO_MARKER_EFFECT_SHADER" + std::to_string(s_Made++), false, steady,
                  effect))
    return false;
  Nembra::CTexture* texture = m_Image.Take(imageFile);
  Nembra::BILLBOARD_DESC steadyDesc = Describe<Nembra::BILLBOARD_DESC>(size, texture, steady);
  Nembra::BILLBOARD_DESC effectDesc = Describe<Nembra::BILLBOARD_DESC>(size, texture, effect);
  steadyDesc.upright = static_cast<uint8_t>(mode);
  effectDesc.upright = static_cast<uint8_t>(mode);
  const bool made = m_SteadySprite.Create(steadyDesc) && m_EffectSprite.Create(effectDesc);
  SetPosition(x, y, z);
  SetRadius(2.0f * size);
  m_SteadySprite.GetBoundingSphere().radius = 2.0f * size;
  m_EffectSprite.GetBoundingSphere().radius = 2.0f * size;
  m_Created = true;
  Activate(false);
  return made;
}

CPlaneMarker::~CPlaneMarker() { ReleaseResources(); }

// A plane copy switched on or off keeps its look until the next pulse step.
void CPlaneMarker::ResetEffectLook() {}

bool CPlaneMarker::Create(float x, float y, float z, float size, const std::string& imageFile, int /*mode*/) {
  static uint32_t s_Made = 0;
  Nembra::CShader* steady = nullptr;
  Nembra::CShader* effect = nullptr;
  if (!TakeBlocks("AUTO_PLANE_MARKER_SHADER", "AUTO_PlaneMarker_EFFECT_SHADER" + std::to_string(s_Made++), true,
                  steady, effect))
    return false;
  Nembra::CTexture* texture = m_Image.Take(imageFile);
  const bool made = m_SteadySprite.Create(Describe<Nembra::PLANE_SPRITE_DESC>(size, texture, steady)) &&
                    m_EffectSprite.Create(Describe<Nembra::PLANE_SPRITE_DESC>(size, texture, effect));
  SetPosition(x, y, z);
  SetRadius(2.0f * size);
  m_SteadySprite.GetBoundingSphere().radius = 2.0f * size;
  m_EffectSprite.GetBoundingSphere().radius = 2.0f * size;
  m_Created = true;
  m_MarkerActive = false;
  StartPulse();
  return made;
}
