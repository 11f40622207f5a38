#include "frontend/pda/PDA.h"

#include "engine/app/GraphicsDevice.h"
#include "engine/app/Mouse.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/util/TextTable.h"
#include "frontend/FontNames.h"
#include "frontend/ProfileStore.h"
#include "frontend/pda/PDAResources.h"
#include "frontend/pda/apps/PDAAppConfig.h"
#include "frontend/pda/apps/PDAAppDesktop.h"
#include "frontend/pda/apps/PDAAppEmail.h"
#include "frontend/pda/apps/PDAAppGPS.h"
#include "frontend/pda/apps/PDAAppLogin.h"
#include "frontend/pda/apps/PDAAppNetwork.h"
#include "frontend/pda/apps/PDAAppObjectives.h"

CPDA* g_pPDA = nullptr;

CPDA::CPDA() {
  m_Apps[PDA_APP_OBJECTIVES] = std::make_unique<CPDAAppObjectives>();
  m_Apps[PDA_APP_LOGIN] = std::make_unique<CPDAAppLogin>();
  m_Apps[PDA_APP_DESKTOP] = std::make_unique<CPDAAppDesktop>();
  m_Apps[PDA_APP_GPS] = std::make_unique<CPDAAppGPS>();
  m_Apps[PDA_APP_EMAIL] = std::make_unique<CPDAAppEmail>();
  m_Apps[PDA_APP_NETWORK] = std::make_unique<CPDAAppNetwork>();
  m_Apps[PDA_APP_CONFIG] = std::make_unique<CPDAAppConfig>();
}

CPDA::~CPDA() = default;

void CPDA::Load() {
  pda::SetPiece(m_Frame, pda::FRAME, 0, 0);
  for (const pda::FrameButton& b : pda::FRAME_BUTTONS) {
    CPDAButton& button = m_FrameButtons[b.key];
    pda::SetButton(button, b.normal, b.hover, b.disabled, b.x, b.y, pda::FRAME_BUTTON_SIZE,
                   pda::FRAME_BUTTON_SIZE);
    pda::SetButtonFont(button);
  }
  m_Confirm.Load();
  m_Confirm.m_Visible = false;
  for (auto& app : m_Apps) app->Load();
  m_pCurrent = nullptr;
  m_ShowLoggedIn = false;
  m_Pointer.SetTexture(pda::Texture(pda::POINTER_IMAGE));
  m_Pointer.SetSourceRect(Nembra::MakeRect(0, 0, 32, 32));
  m_Pointer.m_Center = D3DXVECTOR3(2.0f, 2.0f, 0.0f);
  m_pStatusFont = pda::Font(FONT_PDA_STD);
  m_Map.SetPosition(D3DXVECTOR3(188.0f, 162.0f, 0.0f));
  pda::SetPiece(m_Status, pda::STATUS, pda::STATUS_X, pda::STATUS_Y);
  m_ResultCode = PDA_RESULT_NONE;
  m_ResultArgument = 0;
}

void CPDA::RefreshTexts() {
  m_Confirm.RefreshTexts();
  for (auto& app : m_Apps) app->RefreshTexts();
  for (const pda::FrameButton& b : pda::FRAME_BUTTONS) m_FrameButtons[b.key].m_Hint = Nembra::GetText(b.hint);
}

void CPDA::SetCurrentApp(int index) {
  if (index < 0 || index >= PDA_APP_COUNT) return;
  m_pCurrent = m_Apps[size_t(index)].get();
  m_pCurrent->Activate();
}

int CPDA::GetCurrentAppIndex() const {
  for (int i = 0; i < PDA_APP_COUNT; ++i)
    if (m_Apps[size_t(i)].get() == m_pCurrent) return i;
  return -1;
}

CPDAApplication* CPDA::GetApp(int index) const {
  return index >= 0 && index < PDA_APP_COUNT ? m_Apps[size_t(index)].get() : nullptr;
}

void CPDA::SetAllButtonsEnabled(bool enabled) {
  for (auto& entry : m_FrameButtons) entry.second.m_Enabled = enabled;
  if (m_pCurrent) m_pCurrent->SetEnabled(enabled);
}

void CPDA::SetFrameButtonsEnabled(bool enabled) {
  for (int key : {PDA_BUTTON_CHANGE_PROFILE, PDA_BUTTON_SYSTEM_OFF, PDA_BUTTON_START_GAME})
    m_FrameButtons[key].m_Enabled = enabled;
}

void CPDA::AskFor(const char* messageId, int purpose) {
  SetAllButtonsEnabled(false);
  m_Confirm.SetMessage(Nembra::GetText(messageId));
  m_Confirm.m_Purpose = purpose;
  m_Confirm.m_Visible = true;
}

void CPDA::UpdateAndDraw() {
  Nembra::CGraphicsDevice* device = Nembra::g_pGraphicsDevice;
  if (!device) return;
  m_ResultCode = PDA_RESULT_NONE;
  device->BeginSprite(16);
  if (m_pCurrent) {
    m_pCurrent->Update();
    if (m_pCurrent->m_RequestCode != 0) {
      m_ResultCode = m_pCurrent->m_RequestCode;
      m_ResultArgument = m_pCurrent->m_RequestArgument;
      m_pCurrent->m_RequestCode = 0;
    }
  }
  m_Status.Draw();
  m_Frame.Draw();
  for (auto& entry : m_FrameButtons) {
    CPDAButton& button = entry.second;
    button.Update();
    if (!button.WasClicked()) continue;
    switch (entry.first) {
      case PDA_BUTTON_SYSTEM_OFF: AskFor("TXT_CONFIRM_EXIT", PDA_RESULT_EXIT); break;
      case PDA_BUTTON_CHANGE_PROFILE: AskFor("TXT_CONFIRM_PROFILE", PDA_RESULT_CHANGE_PROFILE); break;
      case PDA_BUTTON_LEVEL_RESET: AskFor("TXT_CONFIRM_RESET", PDA_RESULT_RESET_LEVEL); break;
      case PDA_BUTTON_CLOSE_APP:
        if (m_pCurrent && m_pCurrent->CanClose()) {
          SetFrameButtonsEnabled(true);
          SetCurrentApp(PDA_APP_DESKTOP);
        }
        break;
      case PDA_BUTTON_START_GAME: m_ResultCode = PDA_RESULT_START_GAME; break;
      default: break;
    }
  }
  pda::RestartBatch();
  for (auto& entry : m_FrameButtons) entry.second.Draw();
  if (m_ShowLoggedIn) {
    const std::wstring line =
        Nembra::GetText("TXT_LOGGED_IN_AS") + L" " + g_ProfileStore.GetCurrentProfile().name;
    pda::DrawWhite(m_pStatusFont, line, 185, 422, false, 500, 20);
  }
  if (m_pCurrent) m_pCurrent->Draw();
  m_Confirm.Update();
  if (m_Confirm.m_Answer != PDA_ANSWER_NONE) {
    SetAllButtonsEnabled(true);
    m_Confirm.m_Visible = false;
    if (m_Confirm.m_Answer == PDA_ANSWER_YES) m_ResultCode = m_Confirm.m_Purpose;
  }
  pda::RestartBatch();
  m_Confirm.Draw();
  pda::RestartBatch();
  if (Nembra::g_pMouse)
    m_Pointer.SetPosition(D3DXVECTOR3(float(Nembra::g_pMouse->GetX()), float(Nembra::g_pMouse->GetY()), 0.0f));
  m_Pointer.Draw();
  device->EndSprite();
}
