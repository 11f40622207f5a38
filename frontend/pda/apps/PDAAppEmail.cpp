#include "frontend/pda/apps/PDAAppEmail.h"

#include <algorithm>

#include "engine/app/Mouse.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/util/TextTable.h"
#include "frontend/FontNames.h"
#include "frontend/pda/PDA.h"
#include "frontend/pda/PDAResources.h"
#include "game/level/LevelDescriptions.h"

void CPDAAppEmail::Load() {
  CPDAApplication::Load();
  pda::SetPiece(m_Background, pda::MAIL_BACKGROUND, pda::WINDOW_X, pda::WINDOW_Y);
  pda::SetPiece(m_Overlay, pda::MAIL_OVERLAY, pda::WINDOW_X, pda::WINDOW_Y);
  m_pMailFont = pda::Font(FONT_GUI_SMALL_NUMBERS);
  m_Scroll = TOP;
  m_LastHeight = 0;
  pda::SetButton(m_Up, pda::SCROLL_ARROW, pda::SCROLL_ARROW_HOVER, pda::NO_PIECE, 677, 220, 27, 27);
  m_Up.m_Rect = Nembra::MakeRect(668, 209, 27, 27);
  pda::SetButton(m_Down, pda::SCROLL_ARROW, pda::SCROLL_ARROW_HOVER, pda::NO_PIECE, 677, 408, 27, 27);
  m_Down.m_Rect = Nembra::MakeRect(668, 391, 27, 27);
  // The down arrow is the up arrow upside down.
  for (Nembra::CStatic2DSprite* arrow : {m_Down.GetNormalImage(), m_Down.GetHoverImage()}) {
    arrow->m_ScaleY = -1.0f;
  }
  m_Up.m_pClickSound = m_Down.m_pClickSound = nullptr;
  for (size_t i = 0; i < m_Attachments.size(); ++i) {
    const pda::Piece& normal = pda::ATTACHMENT_BUTTONS[i];
    pda::SetButton(m_Attachments[i], normal, pda::ATTACHMENT_BUTTONS_HOVER[i], pda::NO_PIECE, pda::ATTACHMENT_X[i],
                   pda::ATTACHMENT_Y, normal.w, normal.h);
    pda::SetButtonFont(m_Attachments[i]);
  }
  m_Viewer.Load();
  m_Viewer.m_Visible = false;
}

void CPDAAppEmail::RefreshTexts() { m_Title = Nembra::GetText("TXT_EMAIL_CLIENT"); }

void CPDAAppEmail::Activate() {
  SetEnabled(true);
  m_Viewer.m_Visible = false;
  pda::CurrentLevel().read = true;
  m_Scroll = TOP;
  m_LastHeight = 0;
  if (g_pPDA) g_pPDA->SetFrameButtonsEnabled(false);
}

void CPDAAppEmail::EnableAttachments(bool enabled) {
  const CLevelDescription& level = pda::CurrentLevel();
  for (int i = 0; i < int(m_Attachments.size()); ++i) {
    CPDAButton& button = m_Attachments[size_t(i)];
    if (i < level.attachmentCount) {
      button.m_Enabled = enabled;
      button.m_Caption = level.attachments[i].title;
    } else {
      button.m_Enabled = false;
      button.m_Caption.clear();
    }
  }
}

void CPDAAppEmail::SetEnabled(bool enabled) {
  EnableAttachments(enabled);
  m_Up.m_Enabled = enabled;
  m_Down.m_Enabled = enabled;
}

void CPDAAppEmail::Update() {
  if (g_pPDA) g_pPDA->FrameButton(PDA_BUTTON_CLOSE_APP).m_Visible = true;
  CPDAApplication::Update();
  pda::RestartBatch();
  const CLevelDescription& level = pda::CurrentLevel();
  const int height = m_LastHeight;
  // A long e-mail file's height reaches the int range's end: summed in 64 bits.
  if (height > 185 && int64_t(m_Scroll) + height - TOP <= 185) m_Scroll = BOTTOM - height;
  pda::DrawWhite(m_pMailFont, level.emailText, 200, m_Scroll, false, 470, 20);
  m_LastHeight = m_pMailFont ? m_pMailFont->GetDrawnHeight() : 0;
  pda::RestartBatch();
  m_Overlay.Draw();
  m_Up.Update();
  m_Down.Update();
  const int wheel = Nembra::g_pMouse ? Nembra::g_pMouse->GetDZ() : 0;
  if (m_Up.WasClicked() || wheel > 0) {
    m_Scroll = std::min(m_Scroll + STEP, TOP);
  } else if (m_Down.WasClicked() || wheel < 0) {
    if (m_Scroll > -m_LastHeight && m_LastHeight >= 195) m_Scroll -= STEP;
  }
  const int count = level.attachmentCount;
  for (int i = 0; i < int(m_Attachments.size()); ++i) {
    m_Attachments[size_t(i)].Update();
    if (!m_Attachments[size_t(i)].WasClicked() || i >= count) continue;
    const CPDADocument& attachment = level.attachments[i];
    m_Viewer.SetTitle(attachment.title);
    if (attachment.type == PDA_DOCUMENT_TEXT) {
      m_Viewer.SetText(attachment.text);
      m_Viewer.m_ShowBody = true;
    } else {
      const int* r = attachment.imageRect;
      m_Viewer.SetImage(attachment.imageFile, Nembra::RECT{r[0], r[1], r[2], r[3]},
                        D3DXVECTOR3(attachment.imagePos[0], attachment.imagePos[1], attachment.imagePos[2]));
      m_Viewer.m_ShowBody = false;
    }
    m_Viewer.m_Visible = true;
    EnableAttachments(false);
  }
  pda::RestartBatch();
  for (CPDAButton& button : m_Attachments) button.Draw();
  pda::RestartBatch();
  if (m_Viewer.m_Visible) {
    m_Viewer.UpdateImages();
    if (m_Viewer.m_Close.WasClicked()) {
      EnableAttachments(true);
      m_Viewer.m_Visible = false;
    }
  }
}

void CPDAAppEmail::Draw() {
  CPDAApplication::Draw();
  m_Viewer.DrawTexts();
}
