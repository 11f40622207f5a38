#include "frontend/pda/PDADialogs.h"

#include "engine/app/Application.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/resources/Texture.h"
#include "engine/util/KeyValueFile.h"
#include "engine/util/Random.h"
#include "engine/util/TextTable.h"
#include "frontend/FontNames.h"
#include "frontend/pda/PDAResources.h"

using Nembra::GetText;

namespace {
// The panels' places on the screen.
constexpr int PANEL_X = 265, PANEL_Y = 190;
constexpr int BUTTON_Y = 350;
constexpr int TITLE_X = 281, TITLE_Y = 200;
constexpr int MESSAGE_CENTRE_X = 443, MESSAGE_Y = 260;
constexpr int MESSAGE_WRAP = 340, MESSAGE_LINE = 30;
}  // namespace

void CPDAPanelDialog::LoadPanel() {
  pda::SetStretched(m_Backdrop, pda::BACKDROP_TEXEL, pda::SCREEN_X, pda::SCREEN_Y, pda::SCREEN_W, pda::SCREEN_H);
  pda::SetPiece(m_Panel, pda::DIALOG_PANEL, PANEL_X, PANEL_Y);
  m_pTitleFont = pda::Font(FONT_PDA_TITLE);
  m_pMessageFont = pda::Font(FONT_PDA_STD);
  m_Visible = false;
  m_Answer = PDA_ANSWER_NONE;
}

void CPDAPanelDialog::DrawPanel() {
  m_Backdrop.Draw();
  m_Panel.Draw();
}

void CPDAPanelDialog::DrawTitle(const char* textId) {
  pda::DrawWhite(m_pTitleFont, GetText(textId), TITLE_X, TITLE_Y, false, 0, 0);
}

void CPDAPanelDialog::LoadPanelButton(CPDAButton& button, int x) {
  pda::SetButton(button, pda::DIALOG_BUTTON, pda::DIALOG_BUTTON_HOVER, pda::NO_PIECE, x, BUTTON_Y,
                 pda::DIALOG_BUTTON.w, pda::DIALOG_BUTTON.h);
  pda::SetButtonFont(button);
}

// ---- question ----

void CPDAConfirmDialog::Load() {
  LoadPanelButton(m_Yes, 294);
  LoadPanelButton(m_No, 474);
  LoadPanel();
}

void CPDAConfirmDialog::RefreshTexts() {
  m_Yes.m_Caption = GetText("TXT_YES");
  m_No.m_Caption = GetText("TXT_NO");
}

void CPDAConfirmDialog::Update() {
  m_Answer = PDA_ANSWER_NONE;
  if (!m_Visible) return;
  DrawPanel();
  m_Yes.Update();
  if (m_Yes.WasClicked()) m_Answer = PDA_ANSWER_YES;
  m_No.Update();
  if (m_No.WasClicked()) m_Answer = PDA_ANSWER_NO;
}

void CPDAConfirmDialog::Draw() {
  if (!m_Visible) return;
  DrawTitle("TXT_CONFIRM");
  pda::DrawWhite(m_pMessageFont, m_Message, MESSAGE_CENTRE_X, MESSAGE_Y, true, MESSAGE_WRAP, MESSAGE_LINE);
  m_Yes.Draw();
  m_No.Draw();
}

// ---- notice ----

void CPDANoticeDialog::Load() {
  LoadPanelButton(m_Ok, 384);
  LoadPanel();
}

void CPDANoticeDialog::RefreshTexts() { m_Ok.m_Caption = GetText("TXT_OK"); }

void CPDANoticeDialog::Update() {
  m_Answer = PDA_ANSWER_NONE;
  if (!m_Visible) return;
  DrawPanel();
  m_Ok.Update();
  if (m_Ok.WasClicked()) m_Answer = PDA_ANSWER_YES;
}

void CPDANoticeDialog::Draw(const char* titleId) {
  if (!m_Visible) return;
  DrawTitle(titleId);
  pda::DrawWhite(m_pMessageFont, m_Message, MESSAGE_CENTRE_X, MESSAGE_Y, true, MESSAGE_WRAP, MESSAGE_LINE);
  m_Ok.Draw();
}

// ---- new mail ----

void CPDAMailDialog::Load() {
  LoadPanelButton(m_Ok, 384);
  pda::SetPiece(m_Icon, pda::MAIL_ICON, 304, 285);
  LoadPanel();
}

void CPDAMailDialog::Update() {
  m_Answer = PDA_ANSWER_NONE;
  if (!m_Visible) return;
  DrawPanel();
  m_Icon.Draw();
  m_Ok.Update();
  if (m_Ok.WasClicked()) m_Answer = PDA_ANSWER_YES;
}

void CPDAMailDialog::Draw() {
  if (!m_Visible) return;
  DrawTitle("TXT_EMAIL_CLIENT");
  pda::DrawWhite(m_pMessageFont, m_Message, 355, 285, false, MESSAGE_WRAP, MESSAGE_LINE);
  m_Ok.Draw();
}

// ---- decrypting ----

void CPDADecryptDialog::Load() {
  LoadPanelButton(m_Ok, 384);
  pda::SetPiece(m_BarFrame, pda::PROGRESS_FRAME, 319, 310);
  pda::SetPiece(m_BarFill, pda::PROGRESS_FILL, 324, 315);
  m_BarFill.m_ScaleX = 0.0f;
  LoadPanel();
}

void CPDADecryptDialog::Open() {
  m_Message = GetText("TXT_DECRYPTING_FILE");
  m_Visible = true;
  m_Progress = 0.0f;
  m_Ok.m_Enabled = false;
}

void CPDADecryptDialog::Update() {
  if (m_Progress < 1.0f) {
    m_Progress += Nembra::g_FrameTime;
    if (m_Progress >= 1.0f) {
      m_Message = GetText("TXT_DECRYPT_READY");
      m_Progress = 1.0f;
      m_Ok.m_Enabled = true;
    }
    // The bar grows in uneven jumps until it is full.
    if (m_Progress == 1.0f || Nembra::RandomBool()) m_BarFill.m_ScaleX = m_Progress;
  }
  m_Answer = PDA_ANSWER_NONE;
  if (!m_Visible) return;
  DrawPanel();
  m_BarFrame.Draw();
  m_BarFill.Draw();
  m_Ok.Update();
  if (m_Ok.WasClicked()) m_Answer = PDA_ANSWER_YES;
}

void CPDADecryptDialog::Draw() {
  if (!m_Visible) return;
  DrawTitle("TXT_DECRYPT");
  pda::DrawWhite(m_pMessageFont, m_Message, MESSAGE_CENTRE_X, MESSAGE_Y, true, MESSAGE_WRAP, MESSAGE_LINE);
  m_Ok.Draw();
}

// ---- file viewer ----

void CPDAShowFileDialog::Load() {
  m_Text.clear();
  m_Visible = false;
  pda::SetButton(m_Close, pda::VIEWER_CLOSE, pda::VIEWER_CLOSE_HOVER, pda::NO_PIECE, 673, 169, 10, 10);
  m_Close.m_Rect = Nembra::MakeRect(668, 164, 20, 20);
  m_Close.m_pClickSound = nullptr;
  m_pTitleFont = pda::Font(FONT_GUI_SMALL_NUMBERS);
  m_pBodyFont = pda::Font(FONT_GUI_SMALL_NUMBERS);
  pda::SetStretched(m_Backdrop, pda::BACKDROP_TEXEL, pda::SCREEN_X, pda::SCREEN_Y, pda::SCREEN_W, pda::SCREEN_H);
  pda::SetPiece(m_Panel, pda::VIEWER_PANEL, 189, 163);
}

void CPDAShowFileDialog::SetImage(const std::wstring& file, const Nembra::RECT& source,
                                  const D3DXVECTOR3& position) {
  m_Image.SetTexture(pda::Texture(Nembra::WideToMultiByte(file)));
  m_Image.SetSourceRect(source);
  m_Image.SetPosition(position);
}

void CPDAShowFileDialog::UpdateImages() {
  m_Backdrop.Draw();
  m_Panel.Draw();
  m_Close.Update();
  if (!m_ShowBody) m_Image.Draw();
}

void CPDAShowFileDialog::DrawTexts() {
  if (!m_Visible) return;
  constexpr int BODY_X = 200, BODY_Y = 191, BODY_WRAP = 470, BODY_LINE = 15;
  pda::DrawWhite(m_pTitleFont, m_Title, 205, 166, false, 0, 0);
  if (!m_ShowBody || !m_pBodyFont) return;
  // Only the lines that end above the panel's bottom.
  const std::vector<std::wstring> lines = m_pBodyFont->WrapLines(m_Text, BODY_WRAP);
  std::wstring shown;
  for (size_t i = 0; i < lines.size() && BODY_Y + BODY_LINE * int(i + 1) <= BODY_BOTTOM; ++i)
    shown += (i ? L"\n" : L"") + lines[i];
  pda::DrawWhite(m_pBodyFont, shown, BODY_X, BODY_Y, false, BODY_WRAP, BODY_LINE);
}
