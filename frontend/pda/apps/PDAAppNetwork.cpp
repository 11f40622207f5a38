#include "frontend/pda/apps/PDAAppNetwork.h"

#include "engine/util/TextTable.h"
#include "frontend/pda/PDA.h"
#include "frontend/pda/PDAResources.h"

void CPDAAppNetwork::Load() {
  CPDAApplication::Load();
  UsePlainBackground();
  for (int i = 0; i < PDA_DOCUMENT_COUNT; ++i) {
    CPDAButton& row = m_Rows[size_t(i)];
    pda::SetButton(row, pda::DOCUMENT_ROW, pda::DOCUMENT_ROW_HOVER, pda::NO_PIECE, RowX(i), RowY(i),
                   pda::DOCUMENT_ROW.w, pda::DOCUMENT_ROW.h);
    pda::SetButtonFont(row);
  }
  m_Viewer.Load();
  m_Viewer.m_Visible = false;
  m_FileOpen = false;
}

void CPDAAppNetwork::RefreshTexts() { m_Title = Nembra::GetText("TXT_WIRELESS_NETWORK"); }

void CPDAAppNetwork::SetEnabled(bool enabled) {
  const CLevelDescription& level = pda::CurrentLevel();
  for (int i = 0; i < PDA_DOCUMENT_COUNT; ++i) m_Rows[size_t(i)].m_Enabled = enabled && level.enabledDocuments[i];
}

void CPDAAppNetwork::Show(const CPDADocument& document) {
  m_Viewer.SetTitle(document.title);
  if (document.type == PDA_DOCUMENT_TEXT) {
    m_Viewer.m_ShowBody = true;
    m_Viewer.SetText(document.text);
  } else {
    m_Viewer.m_ShowBody = false;
    const int32_t* r = document.imageRect;
    m_Viewer.SetImage(document.imageFile, Nembra::RECT{r[0], r[1], r[2], r[3]},
                      D3DXVECTOR3(document.imagePos[0], document.imagePos[1], document.imagePos[2]));
  }
}

void CPDAAppNetwork::Activate() {
  SetEnabled(true);
  if (g_pPDA) g_pPDA->SetFrameButtonsEnabled(false);
  m_FileOpen = false;
  const CLevelDescription& level = pda::CurrentLevel();
  bool shown = false;
  for (int i = 0; i < PDA_DOCUMENT_COUNT; ++i) {
    CPDAButton& row = m_Rows[size_t(i)];
    CPDADocument& document = g_PDADocuments[size_t(i)];
    if (level.enabledDocuments[i]) {
      row.m_Enabled = true;
      row.m_Caption = document.title;
      // A document not seen yet opens by itself and counts as seen from now on.
      if (!document.enabled) {
        Show(document);
        document.enabled = true;
        shown = true;
      }
    } else {
      row.m_Caption = Nembra::GetText("TXT_FILE_LOCKED");
      row.m_Enabled = false;
    }
  }
  if (shown) {
    m_Viewer.m_Visible = true;
    m_FileOpen = true;
    SetEnabled(false);
  } else {
    SetEnabled(true);
    m_FileOpen = false;
    m_Viewer.m_Visible = false;
  }
}

void CPDAAppNetwork::Update() {
  if (g_pPDA) g_pPDA->FrameButton(PDA_BUTTON_CLOSE_APP).m_Visible = true;
  CPDAApplication::Update();
  const CLevelDescription& level = pda::CurrentLevel();
  for (int i = 0; i < PDA_DOCUMENT_COUNT; ++i) {
    m_Rows[size_t(i)].Update();
    if (m_Rows[size_t(i)].WasClicked() && level.enabledDocuments[i]) {
      Show(g_PDADocuments[size_t(i)]);
      SetEnabled(false);
      m_Viewer.m_Visible = true;
      m_FileOpen = true;
    }
  }
  if (m_Viewer.m_Visible) m_Viewer.UpdateImages();
  if (m_Viewer.m_Visible && m_Viewer.m_Close.WasClicked()) {
    SetEnabled(true);
    m_Viewer.m_Visible = false;
    m_FileOpen = false;
  }
}

void CPDAAppNetwork::Draw() {
  CPDAApplication::Draw();
  if (!m_FileOpen)
    for (CPDAButton& row : m_Rows) row.Draw();
  m_Viewer.DrawTexts();
}
