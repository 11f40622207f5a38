#include "frontend/hud/widgets/GUIMessageBox.h"

#include "engine/app/Application.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/resources/Texture.h"
#include "frontend/FontNames.h"
#include "frontend/hud/GUISprites.h"

using namespace gui_layout;

void CGUIMessageBox::Init() {
  if (Nembra::g_pTextureFactory) m_Texture.Hold(GUI_ATLAS, Nembra::g_pTextureFactory->GetSingleLevel(GUI_ATLAS));
  m_Font.Take(FONT_GUI_MESSAGE);
  PlaceSprite(m_Frame, m_Texture.Get(), MESSAGE_FRAME, 6.0f, 415.0f);
  PlaceSprite(m_Portrait, m_Texture.Get(), MESSAGE_PORTRAIT, 17.0f, 454.0f);
  PlaceFlash(m_Flash, m_Texture.Get(), MESSAGE_GLOW, 363.0f, 485.0f, 355.0f, 67.0f);
  m_Flash.m_Duration = 0.35f;
  m_Flash.m_StartScale = 1.0f;
  m_Flash.m_EndScale = 1.3f;
  m_Visible = false;
  m_Elapsed = 0.0f;
  m_ClosingTimer = 0.0f;
}

void CGUIMessageBox::Show(bool show, float displayTime) {
  if (!show) {
    if (m_Visible) m_ClosingTimer = CLOSE_TIME;
    return;
  }
  m_Visible = true;
  m_Flash.Start();
  m_Elapsed = 0.0f;
  m_ClosingTimer = 0.0f;
  m_Frame.m_Color = D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
  m_Portrait.m_Color = D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
  m_DisplayTime = displayTime;
}

void CGUIMessageBox::SetBackground(const std::string& imageFile, const Nembra::RECT& rect) {
  if (!Nembra::g_pTextureFactory) return;
  // Each message takes its portrait image; the one before is given back.
  m_Portrait.SetTexture(m_PortraitImage.Take(imageFile));
  m_Portrait.SetSourceRect(rect);
}

void CGUIMessageBox::Update() {
  if (!m_Visible) return;
  const float dt = Nembra::g_FrameTime;
  if (m_ClosingTimer > 0.0f) {
    m_ClosingTimer -= dt;
    if (!(m_ClosingTimer > 0.0f)) {
      m_Visible = false;
      m_ClosingTimer = 0.0f;
    }
  } else {
    m_Elapsed += dt;
    if (m_Elapsed >= m_DisplayTime) m_ClosingTimer = CLOSE_TIME;
  }
  if (m_ClosingTimer > 0.0f) {
    m_Frame.m_Color = D3DXCOLOR(1.0f, 1.0f, 1.0f, m_ClosingTimer);
    m_Portrait.m_Color = D3DXCOLOR(1.0f, 1.0f, 1.0f, m_ClosingTimer);
  }
  // The box of the closing frame is drawn once more, as the panel always was.
  m_Portrait.Draw();
  m_Frame.Draw();
  m_Flash.Update();
}

void CGUIMessageBox::Draw() {
  Nembra::CBitmapFont* font = m_Font.Get();
  if (!m_Visible || !font) return;
  font->m_WrapWidth = WRAP_WIDTH;
  font->m_LineAdvance = LINE_HEIGHT;
  font->m_Centered = false;
  const float a = m_ClosingTimer > 0.0f ? m_ClosingTimer : 1.0f;
  font->DrawText(m_Text, TEXT_X, TEXT_Y, 1.0f, 1.0f, 1.0f, a);
}

void CGUIMessageBox::Release() {
  m_Texture.Reset();
  m_Font.Reset();
  m_PortraitImage.Reset();
  m_Frame = Nembra::CStatic2DSprite();
  m_Portrait = Nembra::CStatic2DSprite();
  m_Flash = CGUIFlash();
  m_Visible = false;
}
