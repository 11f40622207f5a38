// The application object's life: construction, the start-up sequence, the
// frame dispatch, the entry actions of every state, activation and the end
// of the run.
#include "game/app/App.h"

#include <array>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/app/InputMapper.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/fonts/Font.h"
#include "engine/resources/Mesh.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/resources/Texture.h"
#include "engine/scene/SceneManager.h"
#include "engine/sound/AudiereSound.h"
#include "engine/sound/SoundDevice.h"
#include "engine/sound/WaveSound.h"
#include "engine/sprites/ScreenFader.h"
#include "engine/util/ConfigFile.h"
#include "engine/util/KeyValueFile.h"
#include "engine/util/Random.h"
#include "engine/util/TextTable.h"
#include "engine/util/Utilities.h"
#include "frontend/FontNames.h"
#include "frontend/ProfileStore.h"
#include "frontend/SettingsValues.h"
#include "frontend/comic/ComicViewer.h"
#include "frontend/hud/GUIBanner.h"
#include "frontend/hud/GUILevelHud.h"
#include "frontend/hud/GUIMissionComplete.h"
#include "frontend/hud/GUIPauseTitle.h"
#include "frontend/hud/widgets/GUIDigitalTimer.h"
#include "frontend/menu/MainMenu.h"
#include "frontend/pda/PDA.h"
#include "frontend/screens/BuyNow.h"
#include "frontend/screens/BuyNowButton.h"
#include "frontend/screens/Credits.h"
#include "frontend/screens/FinalScreen.h"
#include "frontend/screens/LogoSequence.h"
#include "game/level/LevelDescriptions.h"
#include "game/script/GameScript.h"
#include "game/script/ScriptVariables.h"
#include "game/world/GameGlobals.h"
#include "game/world/GameWorld.h"
#include "game/world/InputActions.h"
#include "platform/Files.h"
#include "platform/Input.h"
#include "platform/Log.h"

using namespace Nembra;

CApp::CApp(const std::string& dataFolder) : m_DataFolder(dataFolder) {
  g_DataDirectory = m_DataFolder;
  for (std::string* folder : ResourceDirectories()) *folder = m_DataFolder;
  g_ScriptDirectory = m_DataFolder + "Scripts\\";
  g_pPDA = nullptr;
  g_pGameWorld = nullptr;
  g_pMainMenu = nullptr;
}

// Whatever the run made is given back by OnShutdown (or by a failed
// start-up); the members left hold nothing of the engine's.
CApp::~CApp() = default;

void CApp::MapDefaultActions(CInputMapper& mapper) {
  using namespace platform;
  mapper.AddKeyboardMapping(KMP_UP, DIK_W, "KMP_UP");
  mapper.AddKeyboardMapping(KMP_DOWN, DIK_S, "KMP_DOWN");
  mapper.AddKeyboardMapping(KMP_LEFT, DIK_A, "KMP_LEFT");
  mapper.AddKeyboardMapping(KMP_RIGHT, DIK_D, "KMP_RIGHT");
  mapper.AddMouseMapping(KMP_SHOOT_BLUE, 0, "KMP_SHOOT_BLUE");
  mapper.AddMouseMapping(KMP_SHOOT_RED, 1, "KMP_SHOOT_RED");
  mapper.AddKeyboardMapping(KMP_EXIT, DIK_ESCAPE, "KMP_EXIT");
  mapper.AddKeyboardMapping(KMP_ABILITY, DIK_E, "KMP_ABILITY");
  mapper.AddKeyboardMapping(KMP_ACTION, DIK_SPACE, "KMP_ACTION");
  mapper.AddKeyboardMapping(KMP_RESTART, DIK_F1, "KMP_RESTART");
  mapper.AddKeyboardMapping(KMP_CAMERA, DIK_F4, "KMP_CAMERA");
}

void CApp::ReadStartupLanguage() {
  std::wstring code =
      CKeyValueFile::GetValue(L"Language", L"InitLanguage", m_DataFolder + "Language.dat");
  if (!IsLanguageCode(code)) code = LANGUAGE_ENGLISH;
  CTextTable::Load(code);
}

void CApp::ApplyStoredSettings() {
  g_ProfileStore.LoadLastUsedSettings();
  const ProfileRecord& profile = g_ProfileStore.GetCurrentProfile();
  ApplySettingsFromThousandths(profile.gamma, profile.music, profile.effects);
}

bool CApp::OnInit() {
  auto fail = [this](const char* what) {
    platform::LogError(std::string("start-up failed: ") + what);
    ReleaseAll();
    return false;
  };
  SeedRandomFromTime();
  // Saves cut short by a crash or a kill leave their temporary files.
  platform::RemoveAtomicWriteTemporaries(g_DataDirectory);
  if (!InitInput()) return fail("input");
  MapDefaultActions(*g_pInputMapper);
  // The text table follows the chosen language from the start, with the
  // key names of the actions just bound.
  ReadStartupLanguage();
  g_pMouse->SetSpeed(1.2f);
  if (!g_pGraphicsDevice->Create(m_Window, m_Params)) return fail("graphics device");
  if (!g_pSoundDevice->Initialize(m_Window, 44100, L"")) return fail("sound device");

  g_pSceneManager->SetClearColor(D3DXCOLOR(0.0f, 0.0f, 0.0f, 1.0f));
  m_Camera.SetAspect(static_cast<float>(m_Params.width) / static_cast<float>(m_Params.height));
  g_pSceneManager->AddTargetNode(&m_Camera, nullptr);
  g_pSceneManager->SetCamera(&m_Camera);
  m_CameraAttached = true;

  // Open registers the game's functions.
  if (!g_GameScript.Open()) return fail("game script");

  m_pSystemFont = g_pFontFactory->Get("System Font");
  if (!m_pSystemFont || !m_pSystemFont->Create("Verdana", 10, CFont::STYLE_BOLD)) return fail("system font");
  m_pSystemFont->SetPosition(5, 5);
  m_pSystemFont->SetColor(D3DXCOLOR(1.0f, 1.0f, 0.0f, 1.0f));
  m_pInterfaceFont = g_pFontFactory->Get("Interface Font");
  if (!m_pInterfaceFont || !m_pInterfaceFont->Create("Verdana", 12, CFont::STYLE_BOLD | CFont::STYLE_ITALIC))
    return fail("interface font");
  m_pInterfaceFont->SetColor(D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f));

  if (!g_pBitmapFontFactory) g_pBitmapFontFactory = new CBitmapFontFactory();

  m_Background.SetTexture(g_pTextureFactory->GetSingleLevel(MenuBackgroundOf(g_LanguageCode)));
  m_Background.SetSourceRect(RECT{0, 0, 1024, 1024});
  m_Background.SetPosition(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
  m_RadiationOverlay.SetTexture(g_pTextureFactory->Get(RADIATION_IMAGE));
  m_RadiationOverlay.SetSourceRect(RECT{0, 0, 256, 256});
  m_RadiationOverlay.m_ScaleX = 3.125f;
  m_RadiationOverlay.m_ScaleY = 2.34375f;

  g_pMainMenu = new CMainMenu();
  g_pMainMenu->Init();
  g_pComicViewer = new CComicViewer();

  m_pSmallFont = g_pBitmapFontFactory->Get(FONT_GUI_SMALL_NUMBERS);
  m_pBigFont = g_pBitmapFontFactory->Get(FONT_GUI_BIG_NUMBERS);

  const float fadeSeconds = 0.5f;
  g_ScreenFader.Init(D3DXCOLOR(0.0f, 0.0f, 0.0f, 1.0f), static_cast<uint32_t>(m_Params.width),
                     static_cast<uint32_t>(m_Params.height), false, fadeSeconds);
  ApplyStoredSettings();

  m_pComicFont = std::make_unique<CBitmapFont>();
  m_pComicFont->Load(FONT_GUI_COMIC);

  ChangeState(STATE_LOGOS);

  g_pBuyNowButton = CreateBuyNowButton().release();
  return true;
}

void CApp::OnFrame() {
  if (m_TimeLimit > 0.0f) {
    m_RunSeconds += g_FrameTime;
    if (m_RunSeconds >= m_TimeLimit) {
      platform::LogInfo("time limit reached");
      m_TimeLimit = 0.0f;
      Quit();
    }
  }
  g_pKeyboard->ReadState();
  g_pMouse->ReadState();
  switch (m_State) {
    case STATE_LOGOS: UpdateLogos(); break;
    case STATE_MAIN_MENU: UpdateMainMenu(); break;
    case STATE_LOGIN: UpdateLogin(); break;
    case STATE_PLAYING: UpdatePlaying(); break;
    case STATE_DEATH: UpdateDeathScreen(); break;
    case STATE_INGAME_PDA: UpdateInGamePDA(); break;
    case STATE_LEVEL_OVER: UpdateLevelOver(); break;
    case STATE_COMIC: UpdateComic(); break;
    case STATE_DESKTOP: UpdateDesktop(); break;
    case STATE_FINAL: UpdateFinalScreen(); break;
    case STATE_LOADING: UpdateLoading(); break;
    case STATE_CREDITS: UpdateCredits(); break;
    case STATE_EXIT: UpdateExitScreen(); break;
    default: break;
  }
}

void CApp::ChangeState(int newState) {
  const int old = m_State;
  m_State = newState;
  m_FadePending = false;
  platform::LogInfo("state " + std::to_string(old) + " -> " + std::to_string(newState));
  // Effects run on only between play and the in-game PDA.
  const auto inLevel = [](int s) { return s == STATE_PLAYING || s == STATE_INGAME_PDA; };
  if (inLevel(old) && !inLevel(newState) && g_pWaveSoundFactory) g_pWaveSoundFactory->StopAll();

  switch (newState) {
    case STATE_LOGOS:
      m_pLogoSequence = new CLogoSequence();
      break;
    case STATE_MAIN_MENU:
      g_pMouse->SetPosition(400, 300, g_pMouse->GetZ());
      RestartTitleMusic();
      m_FadeOnEntry = true;
      if (g_pMainMenu) {
        g_pMainMenu->LoadSettings();
        g_pMainMenu->SetMainButtonsEnabled(true);
      }
      break;
    case STATE_LOGIN:
      m_FadeOnEntry = true;
      if (g_pPDA) {
        g_pPDA->SetCurrentApp(PDA_APP_LOGIN);
        g_pPDA->SetAllButtonsEnabled(true);
      }
      break;
    case STATE_PLAYING:
      if (old != STATE_DEATH && old != STATE_INGAME_PDA && m_pDigitalTimer) m_pDigitalTimer->Hide();
      m_FadeOnEntry = true;
      break;
    case STATE_INGAME_PDA:
      if (g_pPDA) {
        g_pPDA->SetCurrentApp(PDA_APP_OBJECTIVES);
        g_pPDA->SetAllButtonsEnabled(true);
      }
      break;
    case STATE_LEVEL_OVER:
      RestartTitleMusic();
      g_pMouse->SetPosition(400, 300, g_pMouse->GetZ());
      m_LevelOverDelay = 1.0f;
      m_LevelRaised = false;
      break;
    case STATE_COMIC:
      if (old != STATE_LOGIN && old != STATE_DESKTOP) RestartTitleMusic();
      break;
    case STATE_DESKTOP:
      if (old != STATE_COMIC && old != STATE_LOGIN) RestartTitleMusic();
      if (g_pPDA) {
        g_pPDA->SetAllButtonsEnabled(true);
        g_pPDA->SetCurrentApp(PDA_APP_DESKTOP);
      }
      break;
    case STATE_FINAL:
      RestartTitleMusic();
      break;
    case STATE_CREDITS:
      m_FadeOnEntry = true;
      break;
    default:
      break;
  }
}

void CApp::OnActivate(bool active) {
  if (!g_pGraphicsDevice || !g_pGraphicsDevice->GetDevice()) return;
  if (!active) {
    g_pGraphicsDevice->RestoreGamma();
    return;
  }
  const std::string file = m_DataFolder + "ConfigLastUsed.dat";
  // Without the file or the key, the current profile's gamma stands.
  if (CConfigFile::RecordExists("Gamma", "Monitor", file))
    ApplyGammaFromThousandths(StringToInt(CConfigFile::GetValue("Gamma", "Monitor", file)));
  else
    ApplyGammaFromThousandths(g_ProfileStore.GetCurrentProfile().gamma);
}

void CApp::RefreshTexts(const std::wstring& languageCode) {
  CTextTable::Load(languageCode);
  if (m_pObjectiveBanner) m_pObjectiveBanner->LoadObjectiveCompleteTexts(languageCode);
  if (m_pWeaponUpBanner) m_pWeaponUpBanner->LoadWeaponUpTexts(languageCode);
  if (m_pDeathTitle) m_pDeathTitle->LoadTexts(languageCode);
  if (m_pMissionComplete) m_pMissionComplete->LoadTexts(languageCode);
  if (g_pPDA) g_pPDA->RefreshTexts();
  LoadLevelDescriptions(languageCode);
}

void CApp::StartComic(const std::string& comicFile) {
  if (g_pComicViewer) g_pComicViewer->OpenComic(comicFile);
  ChangeState(STATE_COMIC);
}

bool CApp::LoadGameResources() {
  if (!m_GameObjectsCreated) {
    g_pGameWorld = new CGameWorld();
    if (!g_pGameWorld->Init(&m_Camera)) {
      delete g_pGameWorld;
      g_pGameWorld = nullptr;
      EndRun("the game world could not be made", INIT_ERROR_TEXT);
      return false;
    }
    m_GameObjectsCreated = true;
    // Kept for the whole run so that the first level finds them loaded.
    static const char* const kSkinned[] = {"Player.X",          "Ene1CompletoAzul.X", "Ene1CompletoRojo.X",
                                           "Ene2CompletoAzul.X", "Ene2CompletoRojo.X", "Ene3CompletoAzul.X",
                                           "Ene3CompletoRojo.X", "Ene6CompletoAzul.X", "Ene6CompletoRojo.X",
                                           "Ene7CompletoAzul.X", "Ene7CompletoRojo.X", "Splat.X"};
    for (const char* name : kSkinned) g_pSkinnedMeshFactory->Get(name);
    g_pSimpleMeshFactory->Get("AbilityWave.X");
    CreateHud();
    g_pPDA = new CPDA();
    g_pPDA->Load();
  }
  RefreshTexts(g_pMainMenu ? g_pMainMenu->m_LanguageCode : std::wstring(LANGUAGE_ENGLISH));
  ChangeState(STATE_LOGIN);
  return true;
}

void CApp::ReleaseAll() {
  // The music belongs to the streaming factory, which the engine's
  // shutdown deletes.
  StopMusic();
  g_pCurrentMusic = nullptr;
  if (g_pPDA) {
    delete g_pPDA;
    g_pPDA = nullptr;
  }
  g_GameScript.Close();
  g_ScriptVars.clear();
  ReleaseHud();
  delete g_pGameWorld;
  g_pGameWorld = nullptr;
  ReleaseAndDelete(g_pMainMenu);
  ReleaseAndDelete(m_pFinalScreen);
  ReleaseAndDelete(m_pDigitalTimer);
  delete m_pBuyNowScreen;
  m_pBuyNowScreen = nullptr;
  delete g_pComicViewer;
  g_pComicViewer = nullptr;
  delete g_pBuyNowButton;
  g_pBuyNowButton = nullptr;
  delete m_pCredits;
  m_pCredits = nullptr;
  ReleaseAndDelete(m_pLogoSequence);
  m_pComicFont.reset();
  if (g_pBitmapFontFactory) {
    delete g_pBitmapFontFactory;
    g_pBitmapFontFactory = nullptr;
  }
  m_pSmallFont = m_pBigFont = nullptr;
  if (m_CameraAttached && g_pSceneManager) {
    g_pSceneManager->SetCamera(nullptr);
    g_pSceneManager->RemoveNode(&m_Camera);
  }
  m_CameraAttached = false;
  m_Background = CStatic2DSprite();
  m_RadiationOverlay = CStatic2DSprite();
  m_GameObjectsCreated = false;
}

void CApp::OnShutdown() {
  // A run ended while the finished level waits for the player (the
  // purchase button quits from there) keeps the level it reached.
  if (m_State == STATE_LEVEL_OVER && !m_LevelRaised && g_pGameWorld) {
    ++g_ProfileStore.GetCurrentProfile().levelReached;
    m_LevelRaised = true;
    g_ProfileStore.SaveAllProfiles();
  } else if (m_State == STATE_LEVEL_OVER && g_ProfileStore.GetCurrentProfile().unsaved) {
    g_ProfileStore.SaveAllProfiles();  // its save failed: one more try before the end
  }
  ReleaseAll();
}
