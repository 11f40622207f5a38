#include "game/actors/Energy.h"

#include "engine/app/Application.h"
#include "engine/resources/Shader.h"
#include "engine/resources/Texture.h"
#include "engine/scene/SceneManager.h"

namespace {

const char* const RED_SOUL_TEXTURE = "RedSoul.tga";
const char* const BLUE_SOUL_TEXTURE = "BlueSoul.tga";
const char* const SOUL_STATE_BLOCK = "AUTO_ENERGY_SHADER";

float SoulSize(uint32_t value) { return static_cast<float>(value) * 10.0f + 50.0f; }

// The soul's block: the transparent default, drawn additively without
// writing depth or lighting, its alpha brightened four times.
Nembra::CShader* MakeStateBlock() {
  using namespace platform;
  Nembra::CShader* block = Nembra::g_pShaderFactory->Get(SOUL_STATE_BLOCK);
  if (!block) return nullptr;
  if (Nembra::CShader* transparent = Nembra::g_pShaderFactory->GetDefaultTransparent()) *block = *transparent;
  block->SetRenderState(D3DRS_ZWRITEENABLE, 0);
  block->SetRenderState(D3DRS_LIGHTING, 0);
  block->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  block->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  block->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
  block->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE4X);
  return block;
}

}  // namespace

CEnergy::CEnergy() {
  m_Vanish.speed = FADE_IN_SPEED;
  m_Vanish.Start(true);
}

void CEnergy::Init(uint32_t colour, float x, float y, float z, uint32_t value) {
  m_Color = colour;
  m_Value = value;
  const float size = SoulSize(value);

  // The holders take the new reference before giving the old one back, so
  // a soul made again of the same colour never lets its texture go in between.
  Nembra::CTexture* texture = m_Texture.Take(colour == 0 ? RED_SOUL_TEXTURE : BLUE_SOUL_TEXTURE);
  Nembra::CShader* block = m_StateBlock.Hold(SOUL_STATE_BLOCK, Nembra::g_pShaderFactory ? MakeStateBlock() : nullptr);

  Nembra::BILLBOARD_DESC desc;
  desc.width = size;
  desc.height = size;
  desc.upright = 0;
  desc.texture = texture;
  desc.stateBlock = block;
  m_Billboard.Create(desc);

  m_BaseHeight = z;
  SetPosition(x, y, z);
  m_BoundingSphere.radius = size * 0.5f;

  m_FadingIn = 1;
  m_Vanish.Restart();
  m_Billboard.SetRenderEffect(&m_Vanish);
}

uint32_t CEnergy::GetValue() const {
  const float current = static_cast<float>(m_Value) * m_Fraction;
  // The largest values round up to 2^32 as floats, past what a u32 holds.
  if (!(current < 4294967296.0f)) return m_Value;
  return current > 0.0f ? static_cast<uint32_t>(current) : 0u;
}

void CEnergy::Show() {
  CEntity::AddToScene(nullptr);
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(&m_Billboard, this);
  m_Billboard.SetPosition(0.0f, 0.0f, SoulSize(m_Value) * 0.5f);
  m_Billboard.UpdateWorldMatrix();
}

void CEnergy::Step() {
  m_Fraction -= m_FadeRate * Nembra::g_FrameTime;
  if (m_Fraction < 0.0f) m_Fraction = 0.0f;

  if (GetValue() == 0) {
    m_Active = 0;
  } else {
    m_Billboard.SetScale(m_Fraction, m_Fraction, m_Fraction);
    SetPosition(m_Position.x, m_Position.y, m_BaseHeight * m_Fraction);
  }

  if (m_FadingIn && m_Vanish.IsFinished()) {
    m_FadingIn = 0;
    m_Billboard.SetRenderEffect(nullptr);
  }

  CEntity::Step();
}
