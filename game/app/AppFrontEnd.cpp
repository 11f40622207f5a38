// The states in which no level runs: logos, main menu, login, comic,
// desktop, final screen, loading, credits and the exit screen.
#include <string>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/app/InputMapper.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "engine/sprites/ScreenFader.h"
#include "engine/util/KeyValueFile.h"
#include "engine/util/TextTable.h"
#include "engine/util/Utilities.h"
#include "frontend/ProfileStore.h"
#include "frontend/comic/ComicViewer.h"
#include "frontend/menu/MainMenu.h"
#include "frontend/pda/PDA.h"
#include "frontend/screens/Credits.h"
#include "frontend/screens/FinalScreen.h"
#include "frontend/screens/LogoSequence.h"
#include "game/app/App.h"
#include "game/level/LevelDescriptions.h"
#include "game/world/InputActions.h"
#include "platform/Input.h"

using namespace Nembra;

namespace {

bool ContinueReleased() {
  return g_pKeyboard->WasKeyReleased(platform::DIK_ESCAPE) || g_pInputMapper->WasActionReleased(KMP_ACTION) ||
         g_pMouse->WasAnyButtonReleased();
}

std::wstring CurrentMenuLanguage() { return g_pMainMenu ? g_pMainMenu->m_LanguageCode : std::wstring(LANGUAGE_ENGLISH); }

}  // namespace

void CApp::CreateCredits() {
  delete m_pCredits;
  m_pCredits = new CCredits(CreditsFileFor(CurrentMenuLanguage()));
}

// ---- State 0 ----

void CApp::UpdateLogos() {
  if (!DeviceReady()) return;
  g_pGraphicsDevice->SetClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  g_pGraphicsDevice->Clear();
  if (g_pGraphicsDevice->BeginScene()) {
    m_pLogoSequence->Update();
    g_pGraphicsDevice->Present();
  }
  if (m_pLogoSequence->done) {
    ReleaseAndDelete(m_pLogoSequence);
    ChangeState(STATE_MAIN_MENU);
  }
}

// ---- State 1 ----

void CApp::UpdateMainMenu() {
  if (!DeviceReady()) return;
  if (m_FadeOnEntry) {
    g_ScreenFader.FadeOut();
    m_FadeOnEntry = false;
  }
  switch (g_pMainMenu->m_Page) {
    case CMainMenu::PAGE_START:
      g_pMainMenu->m_Page = CMainMenu::PAGE_MAIN;
      g_pMainMenu->SetMainButtonsEnabled(false);
      StartPendingFade();
      return;
    case CMainMenu::PAGE_CREDITS:
      g_pMainMenu->m_Page = CMainMenu::PAGE_MAIN;
      g_pMainMenu->SetMainButtonsEnabled(false);
      StartPendingFade();
      CreateCredits();
      ChangeState(STATE_CREDITS);
      return;
    case CMainMenu::PAGE_EXIT:
      delete m_pBuyNowScreen;
      m_pBuyNowScreen = new CBuyNowScreen();
      ChangeState(STATE_EXIT);
      return;
    default:
      break;
  }
  g_pGraphicsDevice->SetClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  g_pGraphicsDevice->Clear();
  if (g_pGraphicsDevice->BeginScene()) {
    g_pMainMenu->Update();
    DrawFader();
    g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND);
    DrawSmallText(L"Demo version", 10, 575, false);
    g_pGraphicsDevice->EndSprite();
    DrawOverlays();
    g_pGraphicsDevice->Present();
  }
  if (FadeCompleted()) {
    if (!m_GameObjectsCreated) {
      ChangeState(STATE_LOADING);
    } else {
      ChangeState(STATE_LOGIN);
      RefreshTexts(CurrentMenuLanguage());
    }
  }
}

// ---- State 2 ----

void CApp::UpdateLogin() {
  if (!DeviceReady()) return;
  if (!m_FadePending) {
    switch (g_pPDA->m_ResultCode) {
      case PDA_RESULT_EXIT:
        g_pPDA->m_ResultCode = PDA_RESULT_NONE;
        g_pPDA->SetAllButtonsEnabled(false);
        StartPendingFade();
        break;
      case PDA_RESULT_PROFILE_CHOSEN: {
        g_pPDA->m_ResultCode = PDA_RESULT_NONE;
        const uint32_t n = LevelReached();
        if (n >= LOADED_LEVELS) {
          CreateFinalScreen();
          return;
        }
        ClearLevelReadFlags();
        ApplyLevelDocumentFlags(n);
        PrepareMap(n);
        const CLevelDescription& d = GetLevelDescription(n);
        if (d.flagB && d.startComic != L"null") {
          m_StartComic = true;
          StartComic(WideToMultiByte(d.startComic));
        } else {
          ChangeState(STATE_DESKTOP);
        }
        return;
      }
      default:
        break;
    }
  }
  if (m_FadeOnEntry) {
    g_ScreenFader.FadeOut();
    m_FadeOnEntry = false;
  }
  DrawPdaFrame();
  if (m_State == STATE_LOGIN && FadeCompleted()) ChangeState(STATE_MAIN_MENU);
}

// ---- State 7 ----

void CApp::UpdateComic() {
  if (!DeviceReady()) return;
  if (g_pComicViewer->finished != 1) {
    g_pGraphicsDevice->Clear();
    if (g_pGraphicsDevice->BeginScene()) {
      g_pComicViewer->Render();
      DrawOverlays();
      g_pGraphicsDevice->Present();
    }
    return;
  }
  g_pComicViewer->finished = 0;
  g_pComicViewer->CloseComic();
  if (m_StartComic) {
    StartLevel();
    return;
  }
  const uint32_t n = LevelReached();
  if (n >= LOADED_LEVELS || (n > 0 && GetLevelDescription(n - 1).flagA)) {
    CreateFinalScreen();
    return;
  }
  PrepareMap(n);
  ChangeState(STATE_DESKTOP);
}

// ---- State 8 ----

void CApp::UpdateDesktop() {
  if (!DeviceReady()) return;
  if (!m_FadePending) {
    switch (g_pPDA->m_ResultCode) {
      case PDA_RESULT_EXIT:
        g_pPDA->m_ResultCode = PDA_RESULT_NONE;
        g_pPDA->SetAllButtonsEnabled(false);
        StartPendingFade();
        m_DesktopPending = STATE_MAIN_MENU;
        break;
      case PDA_RESULT_CHANGE_PROFILE:
        g_pPDA->m_ResultCode = PDA_RESULT_NONE;
        RestartTitleMusic();
        ChangeState(STATE_LOGIN);
        return;
      case PDA_RESULT_START_GAME: {
        g_pPDA->m_ResultCode = PDA_RESULT_NONE;
        const CLevelDescription& d = GetLevelDescription(LevelReached());
        g_pPDA->SetAllButtonsEnabled(false);
        StartPendingFade();
        m_DesktopPending = (!d.flagB && d.startComic != L"null") ? STATE_COMIC : STATE_PLAYING;
        return;
      }
      default:
        break;
    }
  }
  DrawPdaFrame();
  if (FadeCompleted()) {
    if (m_DesktopPending == STATE_COMIC) {
      m_StartComic = true;
      StartComic(WideToMultiByte(GetLevelDescription(LevelReached()).startComic));
    } else if (m_DesktopPending == STATE_PLAYING) {
      StartLevel();
    } else {
      ChangeState(m_DesktopPending);
    }
  }
}

// ---- State 9 ----

void CApp::UpdateFinalScreen() {
  if (!DeviceReady()) return;
  if (ContinueReleased() && !m_FadePending) StartPendingFade();
  g_pGraphicsDevice->SetClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  g_pGraphicsDevice->Clear();
  if (g_pGraphicsDevice->BeginScene()) {
    if (g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
      m_pFinalScreen->Update();
      g_pGraphicsDevice->EndSprite();
    }
    DrawFader();
    g_pGraphicsDevice->Present();
  }
  if (FadeCompleted()) {
    ReleaseAndDelete(m_pFinalScreen);
    CreateCredits();
    ChangeState(STATE_CREDITS);
  }
}

// ---- State 10 ----

void CApp::UpdateLoading() {
  if (!DeviceReady()) return;
  g_pGraphicsDevice->SetClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  g_pGraphicsDevice->Clear();
  if (g_pGraphicsDevice->BeginScene()) {
    const std::wstring language = CurrentMenuLanguage();
    m_Background.SetTexture(g_pTextureFactory->GetSingleLevel(MenuBackgroundOf(language)));
    if (g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
      m_Background.Draw();
      g_pGraphicsDevice->EndSprite();
    }
    if (g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
      static const wchar_t* const loading[] = {L"Loading . . .", L"Cargando . . .",
                                               L"\u0417\u0430\u0433\u0440\u0443\u0437\u043a\u0430 . . ."};
      DrawSmallText(loading[LanguageIndexOf(language)], 400, 560, true);
      g_pGraphicsDevice->EndSprite();
    }
    g_pGraphicsDevice->Present();
  }
  LoadGameResources();
}

// ---- State 11 ----

void CApp::UpdateCredits() {
  if (!DeviceReady()) return;
  if (m_FadeOnEntry) {
    g_ScreenFader.FadeOut();
    m_FadeOnEntry = false;
  }
  if ((ContinueReleased() || m_pCredits->finished) && !m_FadePending) StartPendingFade();
  g_pGraphicsDevice->SetClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  g_pGraphicsDevice->Clear();
  if (g_pGraphicsDevice->BeginScene()) {
    m_pCredits->Render();
    DrawFader();
    g_pGraphicsDevice->Present();
  }
  if (FadeCompleted()) {
    delete m_pCredits;
    m_pCredits = nullptr;
    ChangeState(STATE_MAIN_MENU);
  }
}

// ---- State 12 ----

void CApp::UpdateExitScreen() {
  if (!DeviceReady()) return;
  if (g_pInputMapper->WasActionReleased(KMP_ACTION) || g_pInputMapper->WasActionReleased(KMP_EXIT)) Quit();
  g_pGraphicsDevice->SetClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  g_pGraphicsDevice->Clear();
  if (g_pGraphicsDevice->BeginScene()) {
    if (g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
      m_pBuyNowScreen->Render();
      g_pGraphicsDevice->EndSprite();
    }
    g_pGraphicsDevice->Present();
  }
}
