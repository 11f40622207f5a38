#include "frontend/widgets/PDASlideBar.h"

#include "engine/app/Mouse.h"
#include "engine/sound/WaveSound.h"
#include "frontend/widgets/WidgetImage.h"

bool CPDASlideBar::SetBackgroundImage(Nembra::CTexture* texture, const Nembra::RECT& source) {
  return SetWidgetImage(m_pBackground, texture, source);
}

bool CPDASlideBar::SetFillImage(Nembra::CTexture* texture, const Nembra::RECT& source) {
  const bool ok = SetWidgetImage(m_pFill, texture, source);
  m_pFill->m_ScaleX = m_Value;
  return ok;
}

void CPDASlideBar::SetPosition(const D3DXVECTOR3& background, const D3DXVECTOR3& fill) {
  m_Position = background;
  if (m_pBackground) m_pBackground->SetPosition(background);
  if (m_pFill) m_pFill->SetPosition(fill);
}

void CPDASlideBar::SetValue(float value) {
  m_Value = value;
  if (m_pFill) m_pFill->m_ScaleX = value;
}

void CPDASlideBar::Update() {
  if (!m_Enabled) return;
  if (IsLeftDownInRect(m_Rect)) {
    if (!m_pFill) return;
    const int width = m_pFill->m_SourceRect.right - m_pFill->m_SourceRect.left;
    if (width <= 0) return;
    const int left = static_cast<int>(m_pFill->m_Position.x + m_pFill->m_Center.x);
    float value = static_cast<float>(Nembra::g_pMouse->GetX() - left) / static_cast<float>(width);
    if (value > 1.0f) value = 1.0f;
    if (value < 0.0f) value = 0.0f;
    SetValue(value);
  } else if (WasLeftClickInRect(m_Rect)) {
    OnRelease();
  }
}

void CPDASlideBar::DrawAndUpdate() {
  if (!m_Visible) return;
  DrawWidgetImage(m_pBackground);
  DrawWidgetImage(m_pFill);
  Update();
}

void CPDASlideBar::OnRelease() {
  if (m_pReleaseSound) m_pReleaseSound->Play(false);
}
