#include "frontend/pda/apps/PDAAppGPS.h"

#include "engine/util/TextTable.h"
#include "frontend/pda/PDA.h"

void CPDAAppGPS::Load() {
  CPDAApplication::Load();
  UsePlainBackground();
}

void CPDAAppGPS::RefreshTexts() { m_Title = Nembra::GetText("TXT_GPS"); }

void CPDAAppGPS::Update() {
  if (g_pPDA) g_pPDA->FrameButton(PDA_BUTTON_CLOSE_APP).m_Visible = true;
  CPDAApplication::Update();
  if (g_pPDA) g_pPDA->m_Map.Draw();
}

void CPDAAppGPS::Activate() {
  SetEnabled(true);
  if (g_pPDA) g_pPDA->SetFrameButtonsEnabled(false);
}
