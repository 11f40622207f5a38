#include "engine/sprites/ScreenFader.h"

#include <algorithm>

#include "engine/app/Application.h"

namespace Nembra {

CScreenFader g_ScreenFader;

void CScreenFader::Init(D3DXCOLOR color, uint32_t width, uint32_t height, bool shown, const float& duration) {
  m_Texture.CreateSolidColor(1.0f, 1.0f, 1.0f, 1.0f);
  SetTexture(&m_Texture);
  SetSourceRect(MakeRect(0, 0, 1, 1));
  m_ScaleX = static_cast<float>(width);
  m_ScaleY = static_cast<float>(height);
  m_Duration = duration;
  m_Red = color.r;
  m_Green = color.g;
  m_Blue = color.b;
  m_Alpha = shown ? 1.0f : 0.0f;
  m_Shown = shown;
  m_Direction = shown ? 1.0f : -1.0f;
}

void CScreenFader::FadeIn() {
  if (m_Shown) return;
  m_Shown = true;
  m_Alpha = 0.0f;
  m_Direction = 1.0f;
}

void CScreenFader::FadeOut() {
  if (!m_Shown) return;
  m_Shown = false;
  m_Alpha = 1.0f;
  m_Direction = -1.0f;
}

void CScreenFader::Update() {
  if (m_Duration > 0.0f)
    m_Alpha += (1.0f / m_Duration) * m_Direction * g_FrameTime;
  else
    m_Alpha = m_Direction > 0.0f ? 1.0f : 0.0f;
  m_Alpha = std::min(1.0f, std::max(0.0f, m_Alpha));
  m_Color = D3DXCOLOR(m_Red, m_Green, m_Blue, m_Alpha);
  Draw();
}

}  // namespace Nembra
