#include "frontend/pda/PDAApplication.h"

#include "frontend/FontNames.h"
#include "frontend/pda/PDAResources.h"

void CPDAApplication::Load() {
  m_RequestCode = 0;
  m_RequestArgument = 0;
  m_pTitleFont = pda::Font(FONT_PDA_TITLE);
  m_Background.SetPosition(D3DXVECTOR3(float(pda::WINDOW_X), float(pda::WINDOW_Y), 0.0f));
}

void CPDAApplication::Update() { m_Background.Draw(); }

void CPDAApplication::Draw() { pda::DrawWhite(m_pTitleFont, m_Title, 192, 115, false, 0, 0); }

void CPDAApplication::UsePlainBackground() {
  pda::SetStretched(m_Background, pda::PANEL_TEXEL, pda::WINDOW_X, pda::WINDOW_Y, pda::WINDOW_W, pda::WINDOW_H);
}
