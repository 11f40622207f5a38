#include "frontend/menu/MenuButton.h"

#include "engine/sound/WaveSound.h"

CMainButton::CMainButton() {
  m_Flash.m_StartScale = 1.0f;
  m_Flash.m_EndScale = 1.5f;
}

bool CMainButton::SetNormalTexture(Nembra::CTexture* texture) {
  m_pNormal = std::make_unique<Nembra::CStatic2DSprite>();
  return m_pNormal->SetTexture(texture);
}

bool CMainButton::SetHoverTexture(Nembra::CTexture* texture) {
  m_pHover = std::make_unique<Nembra::CStatic2DSprite>();
  return m_pHover->SetTexture(texture);
}

void CMainButton::SetHighlighted(bool on) {
  if (!m_pNormal) return;
  m_pNormal->m_Color = on ? D3DXCOLOR(0.6f, 0.6f, 1.0f, 1.0f) : D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
}

void CMainButton::Update() {
  m_Flash.Update();
  CPDAButton::Update();
}

void CMainButton::OnHover() {
  if (m_Hovering) return;
  m_Hovering = true;
  m_Flash.Start();
  if (m_pHoverSound) m_pHoverSound->Play(false);
}

void CMainButton::OnNoHover() { m_Hovering = false; }
