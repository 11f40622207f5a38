// The states in which a level is loaded: playing, the death screen, the
// in-game PDA and the level over; the start of a level; and the frame
// skeleton the handlers share.
#include <string>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/app/InputMapper.h"
#include "engine/app/Keyboard.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/resources/Texture.h"
#include "engine/scene/SceneManager.h"
#include "engine/sound/AudiereSound.h"
#include "engine/sprites/ScreenFader.h"
#include "engine/util/KeyValueFile.h"
#include "engine/util/TextTable.h"
#include "engine/util/Utilities.h"
#include "frontend/ProfileStore.h"
#include "frontend/hud/GUIMissionComplete.h"
#include "frontend/hud/GUIPauseTitle.h"
#include "frontend/hud/widgets/GUIDigitalTimer.h"
#include "frontend/hud/widgets/GUIMessageBox.h"
#include "frontend/pda/PDA.h"
#include "frontend/screens/BuyNowButton.h"
#include "frontend/screens/FinalScreen.h"
#include "game/app/App.h"
#include "game/level/LevelDescriptions.h"
#include "game/world/GameGlobals.h"
#include "game/world/GameWorld.h"
#include "game/world/InputActions.h"
#include "platform/Input.h"
#include "platform/Log.h"

using namespace Nembra;

namespace {

bool Released(int key) { return g_pKeyboard->WasKeyReleased(key); }
bool ActionReleased(int action) { return g_pInputMapper->WasActionReleased(action); }

}  // namespace

// ---- The frame skeleton ----

bool CApp::DeviceReady() {
  switch (g_pGraphicsDevice->CheckDevice()) {
    case 2:
      return false;
    case 3:
      if (g_pGraphicsDevice->Reset() != 1) return false;
      m_Camera.SetDirty();
      return true;
    default:
      return true;
  }
}

bool CApp::FadeCompleted() const {
  return m_FadePending && g_ScreenFader.m_Shown && g_ScreenFader.m_Alpha == 1.0f && g_ScreenFader.m_Direction == 1.0f;
}

void CApp::StartPendingFade() {
  g_ScreenFader.FadeIn();
  m_FadePending = true;
}

void CApp::DrawFader() {
  if (g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    g_ScreenFader.Update();
    g_pGraphicsDevice->EndSprite();
  }
}

void CApp::DrawPdaFrame() {
  g_pGraphicsDevice->SetClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  g_pGraphicsDevice->Clear();
  if (g_pGraphicsDevice->BeginScene()) {
    g_pPDA->UpdateAndDraw();
    DrawFader();
    DrawOverlays();
    g_pGraphicsDevice->Present();
  }
}

void CApp::DrawOverlays() {
  if (m_ShowFrameRate && m_pBigFont) {
    char text[32];
    std::snprintf(text, sizeof text, "%.02f", static_cast<double>(GetFPS()));
    if (g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
      m_pBigFont->m_Centered = true;
      m_pBigFont->DrawText(MultiByteToWide(text), 400, 10, 1.0f, 1.0f, 1.0f, 1.0f);
      m_pBigFont->m_Centered = false;
      g_pGraphicsDevice->EndSprite();
    }
  }
  if (!IsFrameCapped() && g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    DrawSmallText(L"Uncapped FPS", 400, 40, true);
    g_pGraphicsDevice->EndSprite();
  }
}

void CApp::DrawSmallText(const std::wstring& text, int x, int y, bool centred) {
  if (!m_pSmallFont) return;
  m_pSmallFont->m_Centered = centred;
  m_pSmallFont->DrawText(text, x, y, 1.0f, 1.0f, 1.0f, 1.0f);
  m_pSmallFont->m_Centered = false;
}

void CApp::StopMusic() {
  if (g_pCurrentMusic) g_pCurrentMusic->Stop();
}

void CApp::RestartTitleMusic() {
  StopMusic();
  if (!g_pStreamingSoundFactory) return;
  g_pCurrentMusic = g_pStreamingSoundFactory->Get(TITLE_MUSIC);
  if (!g_pCurrentMusic) return;
  g_pCurrentMusic->SetRepeat(true);
  g_pCurrentMusic->Play(false);
}

void CApp::PutCameraBack() {
  g_pSceneManager->AddTargetNode(&m_Camera, nullptr);
  g_pSceneManager->SetCamera(&m_Camera);
}

uint32_t CApp::LevelReached() const { return g_ProfileStore.GetCurrentProfile().levelReached; }

void CApp::PrepareMap(uint32_t levelNumber) {
  if (!g_pPDA) return;
  const CLevelDescription& d = GetLevelDescription(levelNumber);
  // A level without a description has no map to show (and no file to ask for).
  const std::string map = WideToMultiByte(d.mapTexture);
  g_pPDA->m_Map.SetTexture(map.empty() ? nullptr : g_pTextureFactory->GetSingleLevel(map));
  g_pPDA->m_Map.SetSourceRect(RECT{d.mapRect[0], d.mapRect[1], d.mapRect[2], d.mapRect[3]});
}

void CApp::CreateFinalScreen() {
  ReleaseAndDelete(m_pFinalScreen);
  m_pFinalScreen = new CFinalScreen();
  m_pFinalScreen->Init(g_LanguageCode);
  ChangeState(STATE_FINAL);
}

// ---- The world's frame ----

void CApp::StepWorld() {
  if (g_pGameWorld) g_pGameWorld->UpdateCamera();
}

void CApp::RenderWorld() {
  g_pSceneManager->Render();
  if (g_pGameWorld) g_pGameWorld->Render();
}

// ---- Starting a level ----

void CApp::StartLevel() {
  const uint32_t reached = LevelReached();
  if (reached >= LOADED_LEVELS) {
    CreateFinalScreen();
    return;
  }
  if (m_pMessageBox) m_pMessageBox->Show(false, 7.0f);
  const CLevelDescription description = GetLevelDescription(reached);
  ChangeState(STATE_PLAYING);
  const std::string script = WideToMultiByte(description.scriptFile);
  if (script.empty()) {
    // Nothing to run: the level's description is not there, or names no script.
    const std::string file = LevelDescriptionFileName(reached, g_LanguageCode);
    const bool read = !file.empty() && FileExists(g_DataDirectory + file);
    const std::string level = "level " + std::to_string(reached);
    EndRun(level + " has no level script: its description " + file + (read ? " names none" : " was not read") +
               "; the game ends",
           "Level " + std::to_string(reached) + " cannot start: " + file +
               (read ? " names no level script." : " is missing."));
    return;
  }
  CLevel& level = g_pGameWorld->GetLevel();
  if (!level.Prepare(script) || !level.Start())
    EndRun("the level script \"" + script + "\" could not be run; the game ends",
           "The level script \"" + script + "\" could not be run.");
}

void CApp::EndRun(const std::string& logLine, const std::string& message) {
  platform::LogError(logLine);
  platform::ShowMessageBox(message, INIT_ERROR_TITLE);
  m_ExitCode = 1;
  Quit();
}

// ---- State 3: playing ----

void CApp::UpdatePlaying() {
  if (Released(platform::DIK_ESCAPE)) {
    StopMusic();
    ChangeState(STATE_INGAME_PDA);
  }
  if (!DeviceReady()) return;
  if (m_FadeOnEntry) {
    g_ScreenFader.FadeOut();
    m_FadeOnEntry = false;
  }
  StepWorld();
  g_pSceneManager->Update();
  if (g_pGameWorld && g_pGameWorld->GetLevel().IsFinished()) {
    StopMusic();
    ChangeState(STATE_LEVEL_OVER);
    if (m_pMissionComplete) m_pMissionComplete->Show();
  }
  if (g_pGameWorld && !g_pGameWorld->GetPlayer().IsActive()) {
    StopMusic();
    ChangeState(STATE_DEATH);
    if (m_pDeathTitle) m_pDeathTitle->Restart();
  }
  g_pGraphicsDevice->SetClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  if (!g_pGraphicsDevice->BeginScene()) return;
  RenderWorld();
  if (g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    if (g_pGameWorld && g_pGameWorld->GetPlayer().GetRadiation() > 0.0f) {
      m_RadiationOverlay.m_Color = D3DXCOLOR(1.0f, 1.0f, 1.0f, 100.0f / 255.0f);
      m_RadiationOverlay.Draw();
    }
    UpdateHudBatch();
    g_pGraphicsDevice->EndSprite();
  }
  g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND);
  DrawHudBatch();
  g_pGraphicsDevice->EndSprite();
  DrawFader();
  DrawOverlays();
  g_pGraphicsDevice->Present();
}

// ---- State 4: death screen ----

void CApp::UpdateDeathScreen() {
  if (!DeviceReady()) return;
  CLevel& level = g_pGameWorld->GetLevel();
  if (Released(platform::DIK_ESCAPE)) {
    level.Unload();
    PutCameraBack();
    ChangeState(STATE_MAIN_MENU);
    return;
  }
  if (ActionReleased(KMP_ACTION) || ActionReleased(KMP_RESTART)) {
    g_pGameWorld->ResetCamera();
    ChangeState(STATE_PLAYING);
  }
  StepWorld();
  g_pSceneManager->Update();
  g_pGraphicsDevice->SetClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  g_pGraphicsDevice->Clear();
  if (!g_pGraphicsDevice->BeginScene()) return;
  RenderWorld();
  if (m_pDeathTitle && g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    m_pDeathTitle->Draw();
    g_pGraphicsDevice->EndSprite();
  }
  if (g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    if (m_DeathHint.empty()) m_DeathHint = GetText("TXT_EXIT") + L"\n" + GetText("TXT_RESTART");
    DrawSmallText(m_DeathHint, 400, 550, true);
    g_pGraphicsDevice->EndSprite();
  }
  g_pGraphicsDevice->Present();
}

// ---- State 5: in-game PDA ----

void CApp::UpdateInGamePDA() {
  if (!DeviceReady()) return;
  CLevel& level = g_pGameWorld->GetLevel();
  // Once a change waits for its fade, nothing else may start another.
  if (!m_FadePending) {
    switch (g_pPDA->m_ResultCode) {
      case PDA_RESULT_EXIT:
        g_pPDA->m_ResultCode = PDA_RESULT_NONE;
        level.Unload();
        PutCameraBack();
        g_pPDA->SetAllButtonsEnabled(false);
        m_InGamePending = STATE_MAIN_MENU;
        StartPendingFade();
        break;
      case PDA_RESULT_RESET_LEVEL:
        g_pPDA->m_ResultCode = PDA_RESULT_NONE;
        g_pGameWorld->ResetCamera();
        ChangeState(STATE_PLAYING);
        break;
      case PDA_RESULT_CHANGE_PROFILE:
        level.Unload();
        PutCameraBack();
        g_pPDA->m_ResultCode = PDA_RESULT_NONE;
        RestartTitleMusic();
        ChangeState(STATE_LOGIN);
        return;
      case PDA_RESULT_START_GAME:
        g_pPDA->m_ResultCode = PDA_RESULT_NONE;
        g_pPDA->SetAllButtonsEnabled(false);
        m_InGamePending = STATE_PLAYING;
        StartPendingFade();
        break;
      default:
        break;
    }
  }
  if (m_State == STATE_INGAME_PDA && !m_FadePending) {
    if (Released(platform::DIK_ESCAPE)) {
      g_pPDA->SetAllButtonsEnabled(false);
      m_InGamePending = STATE_PLAYING;
      StartPendingFade();
    } else if (Released(platform::DIK_F1)) {
      g_pGameWorld->ResetCamera();
      m_InGamePending = STATE_PLAYING;
      StartPendingFade();
    } else if (Released(platform::DIK_Q)) {
      level.Unload();
      PutCameraBack();
      ChangeState(STATE_MAIN_MENU);
    }
  }
  DrawPdaFrame();
  if (m_State == STATE_INGAME_PDA && FadeCompleted()) {
    if (m_InGamePending == STATE_PLAYING && g_pCurrentMusic) {
      g_pCurrentMusic->SetRepeat(true);
      g_pCurrentMusic->Play(false);
    }
    ChangeState(m_InGamePending);
  }
}

// ---- State 6: level over ----

void CApp::FinishLevel() {
  ProfileRecord& profile = g_ProfileStore.GetCurrentProfile();
  if (!m_LevelRaised) {
    g_pGameWorld->GetLevel().Unload();
    PutCameraBack();
    profile.levelReached += 1;
    m_LevelRaised = true;
    // A save that fails keeps the player here to read why (the profile
    // stays in memory); the next press tries once more and goes on.
    if (!g_ProfileStore.SaveAllProfiles()) return;
  } else {
    g_ProfileStore.SaveAllProfiles();
  }
  const uint32_t n = profile.levelReached;
  const CLevelDescription& finished = GetLevelDescription(n - 1);
  if (finished.endComic != L"null") {
    m_StartComic = false;
    StartComic(WideToMultiByte(finished.endComic));
    return;
  }
  if (finished.flagA || n >= LOADED_LEVELS) {
    CreateFinalScreen();
    return;
  }
  // With or without the PDA shown between levels, the desktop holds the
  // next level's map and its start.
  PrepareMap(n);
  RestartTitleMusic();
  ChangeState(STATE_DESKTOP);
}

void CApp::UpdateLevelOver() {
  if (!DeviceReady()) return;
  if (m_LevelOverDelay > 0.0f) m_LevelOverDelay -= g_FrameTime;
  if (m_LevelOverDelay <= 0.0f && ActionReleased(KMP_ACTION)) {
    FinishLevel();
    if (m_State != STATE_LEVEL_OVER) return;
  }
  // Without its widget the notice counts as having appeared.
  const bool noticeDone = m_LevelRaised || !m_pMissionComplete || m_pMissionComplete->done;
  if (!noticeDone) {
    StepWorld();
    g_pSceneManager->Update();
  }
  g_pGraphicsDevice->SetClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  g_pGraphicsDevice->Clear();
  if (!g_pGraphicsDevice->BeginScene()) return;
  // Once the notice has appeared, it stands alone on black.
  if (!noticeDone) RenderWorld();
  if (m_pMissionComplete && g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    m_pMissionComplete->Update();
    g_pGraphicsDevice->EndSprite();
  }
  if (noticeDone && m_LevelOverDelay <= 0.0f && g_pGraphicsDevice->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    // Still here once the level is raised: the save failed. Said above the
    // buy-now button, which stands over the continue line.
    if (m_LevelRaised) DrawSmallText(GetText("TXT_PROFILE_NOT_SAVED"), 400, BUYNOW_MISSION_Y - 30, true);
    DrawSmallText(GetText("TXT_KEY_TO_CONTINUE"), 400, 560, true);
    g_pGraphicsDevice->EndSprite();
  }
  g_pGraphicsDevice->Present();
}
