#include "frontend/pda/apps/PDAAppDesktop.h"

#include "engine/util/TextTable.h"
#include "frontend/pda/PDA.h"
#include "frontend/pda/PDAResources.h"
#include "game/level/LevelDescriptions.h"

namespace {
struct Entry {
  int y;            // the button's y; the icon lies 7 below and right of its corner
  int labelY;
  const char* label;
  int app;          // the application it opens
};
const Entry ENTRY_TABLE[CPDAAppDesktop::ENTRIES] = {
    {175, 176, "TXT_WIRELESS_NETWORK", PDA_APP_NETWORK},
    {225, 226, "TXT_EMAIL_CLIENT", PDA_APP_EMAIL},
    {275, 276, "TXT_GPS", PDA_APP_GPS},
    {326, 326, "TXT_CUSTOMIZE", PDA_APP_CONFIG},
};
}  // namespace

void CPDAAppDesktop::Load() {
  CPDAApplication::Load();
  UsePlainBackground();
  for (int i = 0; i < ENTRIES; ++i) {
    const Entry& e = ENTRY_TABLE[i];
    pda::SetPiece(m_Icons[size_t(i)], pda::DESKTOP_ICONS[size_t(i)], pda::DESKTOP_BUTTON_X + 7, e.y + 7);
    pda::SetButton(m_Buttons[size_t(i)], pda::DESKTOP_BUTTON, pda::DESKTOP_BUTTON_HOVER, pda::NO_PIECE,
                   pda::DESKTOP_BUTTON_X, e.y, pda::DESKTOP_BUTTON.w, pda::DESKTOP_BUTTON.h);
  }
  m_Decrypt.Load();
  m_Mail.Load();
}

void CPDAAppDesktop::RefreshTexts() {
  m_Title = Nembra::GetText("TXT_APPLICATIONS");
  m_Decrypt.SetMessage(Nembra::GetText("TXT_DECRYPTING_FILE"));
  m_Decrypt.m_Ok.m_Caption = Nembra::GetText("TXT_OK");
  m_Mail.SetMessage(Nembra::GetText("TXT_YOU_GOT_MAIL"));
  m_Mail.m_Ok.m_Caption = Nembra::GetText("TXT_READ");
}

void CPDAAppDesktop::SetEnabled(bool enabled) {
  for (CPDAButton& button : m_Buttons) button.m_Enabled = enabled;
}

void CPDAAppDesktop::Activate() {
  SetEnabled(true);
  m_Decrypt.m_Visible = false;
  m_Mail.m_Visible = false;
  const CLevelDescription& level = pda::CurrentLevel();
  if (level.index >= 1) {
    for (int i = 0; i < PDA_DOCUMENT_COUNT; ++i) {
      if (level.enabledDocuments[i] && !g_PDADocuments[size_t(i)].enabled) {
        if (g_pPDA) g_pPDA->SetAllButtonsEnabled(false);
        m_Decrypt.Open();
        return;
      }
    }
  }
  if (level.index >= 0 && !level.read) {
    if (g_pPDA) g_pPDA->SetAllButtonsEnabled(false);
    m_Mail.m_Visible = true;
  }
}

void CPDAAppDesktop::Update() {
  if (g_pPDA) {
    g_pPDA->FrameButton(PDA_BUTTON_CLOSE_APP).m_Visible = false;
    g_pPDA->FrameButton(PDA_BUTTON_CHANGE_PROFILE).m_Visible = true;
    g_pPDA->FrameButton(PDA_BUTTON_LEVEL_RESET).m_Visible = false;
    g_pPDA->FrameButton(PDA_BUTTON_START_GAME).m_Visible = true;
    g_pPDA->m_ShowLoggedIn = true;
  }
  CPDAApplication::Update();
  for (CPDAButton& button : m_Buttons) button.Update();
  for (int i : {GPS, EMAIL, NETWORK, CONFIG}) {
    if (!m_Buttons[size_t(i)].WasClicked()) continue;
    if (g_pPDA) g_pPDA->SetCurrentApp(ENTRY_TABLE[i].app);
    break;
  }
  for (Nembra::CStatic2DSprite& icon : m_Icons) icon.Draw();
}

void CPDAAppDesktop::Draw() {
  CPDAApplication::Draw();
  for (const Entry& e : ENTRY_TABLE) pda::DrawWhite(m_pTitleFont, Nembra::GetText(e.label), 260, e.labelY, false, 0, 0);
  pda::RestartBatch();
  m_Decrypt.Update();
  if (m_Decrypt.m_Answer == PDA_ANSWER_YES) {
    if (g_pPDA) g_pPDA->SetAllButtonsEnabled(true);
    m_Decrypt.m_Visible = false;
    if (g_pPDA) g_pPDA->SetCurrentApp(PDA_APP_NETWORK);
  }
  m_Mail.Update();
  if (m_Mail.m_Answer == PDA_ANSWER_YES) {
    if (g_pPDA) g_pPDA->SetAllButtonsEnabled(true);
    m_Mail.m_Visible = false;
    if (g_pPDA) g_pPDA->SetCurrentApp(PDA_APP_EMAIL);
  }
  pda::RestartBatch();
  m_Decrypt.Draw();
  m_Mail.Draw();
}
