#include "frontend/widgets/PDAButton.h"

#include "engine/fonts/BitmapFont.h"
#include "engine/sound/WaveSound.h"
#include "frontend/widgets/WidgetImage.h"

bool CPDAButton::SetNormalImage(Nembra::CTexture* texture, const Nembra::RECT& source) {
  return SetWidgetImage(m_pNormal, texture, source);
}

bool CPDAButton::SetHoverImage(Nembra::CTexture* texture, const Nembra::RECT& source) {
  return SetWidgetImage(m_pHover, texture, source);
}

bool CPDAButton::SetDisabledImage(Nembra::CTexture* texture, const Nembra::RECT& source) {
  return SetWidgetImage(m_pDisabled, texture, source);
}

void CPDAButton::SetPosition(const D3DXVECTOR3& position) {
  m_Position = position;
  for (auto* sprite : {m_pNormal.get(), m_pHover.get(), m_pDisabled.get()})
    if (sprite) sprite->SetPosition(position);
}

void CPDAButton::Update() {
  if (!m_Visible) {
    m_Clicked = false;
    return;
  }
  const bool hovered = (m_Enabled && IsMouseInRect(m_Rect)) || m_Highlight;
  if (hovered) {
    DrawWidgetImage(m_pHover);
    OnHover();
  } else {
    if (m_Enabled && m_pNormal)
      m_pNormal->Draw();
    else if (m_pDisabled)
      m_pDisabled->Draw();
    else
      DrawWidgetImage(m_pNormal);
    OnNoHover();
  }
  m_Clicked = m_Enabled && WasLeftClickInRect(m_Rect);
  if (m_Clicked)
    OnClick();
  else
    OnNoClick();
}

void CPDAButton::OnClick() {
  if (m_pClickSound) m_pClickSound->Play(false);
}

void CPDAButton::Draw() {
  if (!m_Visible || !m_pFont) return;
  if (!m_Caption.empty()) {
    m_pFont->m_Centered = true;
    const int x = static_cast<int>(m_Position.x + static_cast<float>(m_Rect.right - m_Rect.left) * 0.5f);
    const int y = static_cast<int>(
        m_Position.y + static_cast<float>(m_Rect.bottom - m_pFont->m_LineAdvance - m_Rect.top) * 0.5f);
    m_pFont->DrawText(m_Caption, x, y, 1.0f, 1.0f, 1.0f, 1.0f);
  }
  if (!m_Hint.empty() && m_Enabled && IsMouseInRect(m_Rect)) {
    m_pFont->m_Centered = true;
    m_pFont->DrawText(m_Hint, HINT_X, HINT_Y, 1.0f, 1.0f, 1.0f, 1.0f);
  }
}
