#pragma once
// game/app/: the application and its screen states (front end, playing,
// HUD), and the program entry AppMain. It may call everything below it:
// the world, the level, the script, frontend/, engine/ and platform/.
//
// The game's application object: start-up, the screen-state machine that
// drives the whole game frame by frame, the entry actions of every state,
// the display gamma on activation, and the orderly end of the run.
//
// States: 0 logos, 1 main menu, 2 login, 3 playing, 4 death screen,
// 5 in-game PDA, 6 level over, 7 comic, 8 desktop, 9 final screen,
// 10 loading, 11 credits, 12 exit screen. Every change logs one line
// "state OLD -> NEW".
#include <memory>
#include <string>

#include "engine/app/Application.h"
#include "engine/scene/Camera.h"
#include "engine/sprites/Sprite2D.h"

namespace Nembra {
class CBitmapFont;
class CFont;
class CInputMapper;
}  // namespace Nembra
class CBuyNowScreen;
class CCredits;
class CFinalScreen;
class CGUIAbilityGauge;
class CGUIBanner;
class CGUICounters;
class CGUIDigitalTimer;
class CGUIHealthGauge;
class CGUIKeyItems;
class CGUILevelHud;
class CGUIMessageBox;
class CGUIMissionComplete;
class CGUIPauseTitle;
class CGUIWeaponPanel;
class CLogoSequence;

class CApp : public Nembra::CApplication {
 public:
  enum State : int {
    STATE_LOGOS = 0,
    STATE_MAIN_MENU = 1,
    STATE_LOGIN = 2,
    STATE_PLAYING = 3,
    STATE_DEATH = 4,
    STATE_INGAME_PDA = 5,
    STATE_LEVEL_OVER = 6,
    STATE_COMIC = 7,
    STATE_DESKTOP = 8,
    STATE_FINAL = 9,
    STATE_LOADING = 10,
    STATE_CREDITS = 11,
    STATE_EXIT = 12,
    STATE_COUNT = 13
  };
  // Levels this build holds; a level reached at or past it means every
  // level has been played.
  static constexpr uint32_t LOADED_LEVELS = 3;
  static constexpr const char* TITLE_MUSIC = "Karvessa.ogg";
  static constexpr const char* RADIATION_IMAGE = "Green.jpg";

  // dataFolder ends with a separator; every resource folder is set to it.
  explicit CApp(const std::string& dataFolder = ".\\DataDEMO\\");
  ~CApp() override;

  bool OnInit() override;
  void OnFrame() override;
  void OnShutdown() override;
  void OnActivate(bool active) override;

  void ChangeState(int newState);
  void RefreshTexts(const std::wstring& languageCode);
  void StartComic(const std::string& comicFile);
  bool LoadGameResources();
  void StartLevel();
  // The PDA's map: the texture and rectangle of that level's description.
  void PrepareMap(uint32_t levelNumber);

  // The handlers, one per state.
  void UpdateLogos();
  void UpdateMainMenu();
  void UpdateLogin();
  void UpdatePlaying();
  void UpdateDeathScreen();
  void UpdateInGamePDA();
  void UpdateLevelOver();
  void UpdateComic();
  void UpdateDesktop();
  void UpdateFinalScreen();
  void UpdateLoading();
  void UpdateCredits();
  void UpdateExitScreen();

  // Above 0: the run quits by itself after this many seconds of frames.
  void SetTimeLimit(float seconds) { m_TimeLimit = seconds; }

  int GetState() const { return m_State; }
  // 0, or 1 when the run ended on a failure (a level that could not start,
  // game objects that could not be made).
  int GetExitCode() const { return m_ExitCode; }
  bool AreGameObjectsCreated() const { return m_GameObjectsCreated; }
  float GetLevelOverDelay() const { return m_LevelOverDelay; }
  int GetInGamePending() const { return m_InGamePending; }
  int GetDesktopPending() const { return m_DesktopPending; }
  const std::wstring& GetDeathHint() const { return m_DeathHint; }
  Nembra::CCamera& GetCamera() { return m_Camera; }
  CGUIDigitalTimer* GetDigitalTimer() const { return m_pDigitalTimer; }
  CGUIHealthGauge* GetHealthGauge() const { return m_pHealthGauge; }
  CGUIWeaponPanel* GetWeaponPanel() const { return m_pWeaponPanel; }
  CGUIAbilityGauge* GetAbilityGauge() const { return m_pAbilityGauge; }
  CGUIKeyItems* GetKeyItems() const { return m_pKeyItems; }
  CGUICounters* GetCounters() const { return m_pCounters; }
  CGUIMessageBox* GetMessageBox() const { return m_pMessageBox; }
  CGUIMissionComplete* GetMissionComplete() const { return m_pMissionComplete; }
  CGUIPauseTitle* GetDeathTitle() const { return m_pDeathTitle; }
  CGUIBanner* GetObjectiveBanner() const { return m_pObjectiveBanner; }
  CGUIBanner* GetWeaponUpBanner() const { return m_pWeaponUpBanner; }
  CCredits* GetCredits() const { return m_pCredits; }
  CFinalScreen* GetFinalScreen() const { return m_pFinalScreen; }
  CLogoSequence* GetLogoSequence() const { return m_pLogoSequence; }
  CBuyNowScreen* GetBuyNowScreen() const { return m_pBuyNowScreen; }
  const Nembra::CStatic2DSprite& GetRadiationOverlay() const { return m_RadiationOverlay; }
  const Nembra::CStatic2DSprite& GetBackground() const { return m_Background; }

  // The eleven actions on their default keys and buttons.
  static void MapDefaultActions(Nembra::CInputMapper& mapper);

 private:
  // Lets a screen or widget give back what it holds, then deletes and
  // forgets it; nothing for null.
  template <class T>
  static void ReleaseAndDelete(T*& object) {
    if (!object) return;
    object->Release();
    delete object;
    object = nullptr;
  }

  // Frame skeleton.
  bool DeviceReady();
  bool FadeCompleted() const;
  // The fade to black whose end performs this state's pending change;
  // until the change, no result or key starts another.
  void StartPendingFade();
  void DrawFader();
  void DrawOverlays();
  // A frame of the PDA on black: the PDA, the fader, the overlays, present.
  void DrawPdaFrame();
  void DrawSmallText(const std::wstring& text, int x, int y, bool centred);

  void RestartTitleMusic();
  void StopMusic();
  // A failure the run cannot go on from: logged, shown in a message box,
  // and the run quits with exit code 1.
  void EndRun(const std::string& logLine, const std::string& message);
  void PutCameraBack();
  void CreateFinalScreen();
  void CreateCredits();
  uint32_t LevelReached() const;
  void FinishLevel();
  // The playing frame's world step and drawing.
  void StepWorld();
  void RenderWorld();
  // The HUD widgets: made and initialised once, given back at the end.
  void CreateHud();
  void ReleaseHud();
  // The playing frame's two HUD batches: the widgets' updates with the
  // bars over enemies and mechanisms, then the widgets' draws.
  void UpdateHudBatch();
  void DrawHudBatch();
  // Everything OnInit and LoadGameResources made, given back; shared by
  // OnShutdown and a failed start-up.
  void ReleaseAll();
  void ReadStartupLanguage();
  void ApplyStoredSettings();

  std::string m_DataFolder;
  Nembra::CCamera m_Camera;
  Nembra::CFont* m_pSystemFont = nullptr;
  Nembra::CFont* m_pInterfaceFont = nullptr;
  Nembra::CBitmapFont* m_pSmallFont = nullptr;
  Nembra::CBitmapFont* m_pBigFont = nullptr;
  std::unique_ptr<Nembra::CBitmapFont> m_pComicFont;
  bool m_ShowFrameRate = false;
  int m_State = STATE_LOGOS;
  bool m_FadeOnEntry = false;
  bool m_FadePending = false;
  bool m_StartComic = false;
  Nembra::CStatic2DSprite m_Background;
  Nembra::CStatic2DSprite m_RadiationOverlay;
  bool m_GameObjectsCreated = false;
  bool m_CameraAttached = false;

  CFinalScreen* m_pFinalScreen = nullptr;
  CGUIHealthGauge* m_pHealthGauge = nullptr;
  CGUIWeaponPanel* m_pWeaponPanel = nullptr;
  CGUIAbilityGauge* m_pAbilityGauge = nullptr;
  CGUIKeyItems* m_pKeyItems = nullptr;
  CGUICounters* m_pCounters = nullptr;
  CGUIBanner* m_pObjectiveBanner = nullptr;
  CGUIBanner* m_pWeaponUpBanner = nullptr;
  CGUIPauseTitle* m_pDeathTitle = nullptr;
  CGUIMissionComplete* m_pMissionComplete = nullptr;
  CGUIMessageBox* m_pMessageBox = nullptr;
  CGUIDigitalTimer* m_pDigitalTimer = nullptr;
  std::unique_ptr<CGUILevelHud> m_pLevelHud;
  CCredits* m_pCredits = nullptr;
  CLogoSequence* m_pLogoSequence = nullptr;
  CBuyNowScreen* m_pBuyNowScreen = nullptr;

  float m_LevelOverDelay = 0.0f;
  bool m_LevelRaised = false;  // the level just finished has raised the level reached
  int m_InGamePending = STATE_MAIN_MENU;
  int m_DesktopPending = STATE_MAIN_MENU;
  std::wstring m_DeathHint;
  int m_ExitCode = 0;
  float m_TimeLimit = 0.0f;
  float m_RunSeconds = 0.0f;
};
