#include "frontend/pda/apps/PDAAppObjectives.h"

#include "engine/util/TextTable.h"
#include "frontend/FontNames.h"
#include "frontend/pda/PDA.h"
#include "frontend/pda/PDAResources.h"

void CPDAAppObjectives::Load() {
  CPDAApplication::Load();
  pda::SetPiece(m_Background, pda::OBJECTIVES_BACKGROUND, pda::WINDOW_X, pda::WINDOW_Y);
  m_pListFont = pda::Font(FONT_PDA_STD);
}

void CPDAAppObjectives::RefreshTexts() { m_Title = Nembra::GetText("TXT_OBJECTIVES"); }

void CPDAAppObjectives::Update() {
  if (g_pPDA) {
    g_pPDA->FrameButton(PDA_BUTTON_CLOSE_APP).m_Visible = false;
    for (int key : {PDA_BUTTON_CHANGE_PROFILE, PDA_BUTTON_LEVEL_RESET, PDA_BUTTON_START_GAME})
      g_pPDA->FrameButton(key).m_Visible = true;
    g_pPDA->m_ShowLoggedIn = true;
  }
  CPDAApplication::Update();
}

std::wstring CPDAAppObjectives::ListText(const std::vector<PDAObjective>& objectives) {
  std::wstring text;
  const std::wstring complete = Nembra::GetText("TXT_COMPLETE");
  const std::wstring incomplete = Nembra::GetText("TXT_INCOMPLETE");
  for (size_t i = 0; i < objectives.size(); ++i) {
    if (i) text += L"\n\n";
    text += L"- " + objectives[i].text + L" > " + (objectives[i].complete ? complete : incomplete);
  }
  return text;
}

void CPDAAppObjectives::DrawList(const std::vector<PDAObjective>& objectives) {
  CPDAApplication::Draw();
  if (objectives.empty()) return;
  pda::DrawWhite(m_pListFont, ListText(objectives), 206, 179, false, 485, 30);
}

void CPDAAppObjectives::Draw() { DrawList(CurrentLevelObjectives()); }
