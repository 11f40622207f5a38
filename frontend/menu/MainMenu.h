#pragma once
// frontend/menu/: the title screen, its layout and its buttons. It may call
// the rest of frontend/, engine/ and platform/.
//
// The title screen: five main buttons (start, language, configuration,
// credits, exit), three sub-pages beside them (language choice, the
// configuration sliders, the exit question), the menu's own language and
// the last-used gamma and volumes, applied live every frame. The menu
// never changes the application's state: it publishes a page number that
// the application reads each frame.
#include <string>

#include "engine/resources/FactoryRef.h"
#include "engine/resources/Texture.h"
#include "engine/sound/WaveSound.h"
#include "engine/sprites/Sprite2D.h"
#include "frontend/menu/MainMenuLayout.h"
#include "frontend/menu/MenuButton.h"
#include "frontend/widgets/PDASlideBar.h"

class CMainMenu {
 public:
  enum Page : int {
    PAGE_MAIN = 0,
    PAGE_START = 1,
    PAGE_LANGUAGE = 2,
    PAGE_CONFIGURATION = 3,
    PAGE_CREDITS = 4,
    PAGE_EXIT_QUESTION = 5,
    PAGE_EXIT = 6
  };

  CMainMenu();
  CMainMenu(const CMainMenu&) = delete;
  CMainMenu& operator=(const CMainMenu&) = delete;

  // Language first ("Language.dat", or Russian with the Russian texts),
  // then the atlas and background of that language, the buttons, panels,
  // sliders and labels, the last-used settings, the main page.
  void Init();
  // One frame inside the scene: draws, applies gamma and volumes, handles
  // Escape and the clicks.
  void Update();
  // Gives back the atlases and the sounds.
  void Release();

  void SetMainButtonsEnabled(bool enabled);
  void ShowMainPage();

  void LoadLanguage();
  void SaveLanguage();
  // A different code: lay the menu out for it and write "Language.dat".
  void SetLanguage(const std::wstring& code);
  void ApplyLanguageLayout();

  // The sliders from "ConfigDefault.dat" / "ConfigLastUsed.dat" ([Monitor]
  // Gamma, [Sound] Effects and Music, thousandths; absent keys read 0).
  void LoadDefaultSettings();
  void LoadSettings();
  // The sliders into "ConfigLastUsed.dat" in one write; other keys kept.
  // False (logged, the file left as it was) when a file there can't be
  // read or the write fails.
  [[nodiscard]] bool SaveSettings();

  CMainButton& Button(int id) { return m_Buttons[id]; }
  CPDASlideBar& GammaSlider() { return m_Gamma; }
  CPDASlideBar& MusicSlider() { return m_Music; }
  CPDASlideBar& EffectsSlider() { return m_Effects; }
  Nembra::CTexture* GetMenuAtlas() const { return m_MenuAtlas.Get(); }
  const Nembra::CStatic2DSprite& GetBackground() const { return m_Background; }
  // The layout in force: MENU_ENG, MENU_SPA or MENU_RUS.
  int GetLayoutLanguage() const { return m_LayoutLanguage; }

  // What the last drawn frame applied: gamma, music and effects volumes
  // as given to the device and the factories (which clamp the volumes).
  float m_AppliedGamma = 0.0f, m_AppliedMusic = 0.0f, m_AppliedEffects = 0.0f;

  // Read by the application.
  std::wstring m_LanguageCode;
  int m_Page = PAGE_MAIN;

 private:
  void LoadSliders(const std::string& file);
  // Leaving the configuration page: save, then the main page either way.
  void SaveSettingsAndShowMainPage();
  void ShowSubPage(int page);

  std::string m_LanguageFile;
  std::string m_BackgroundName;
  Nembra::CStatic2DSprite m_Pointer;
  Nembra::CFactoryRef<Nembra::CWaveSoundFactory> m_ClickSound{Nembra::g_pWaveSoundFactory};
  Nembra::CFactoryRef<Nembra::CWaveSoundFactory> m_HoverSound{Nembra::g_pWaveSoundFactory};
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_MenuAtlas{Nembra::g_pTextureFactory};
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_ConfigAtlas{Nembra::g_pTextureFactory};
  Nembra::CStatic2DSprite m_Background;
  Nembra::CStatic2DSprite m_LanguagePanel, m_ConfigurationPanel, m_ExitPanel;
  Nembra::CStatic2DSprite m_Labels[MENU_LABEL_COUNT];
  CMainButton m_Buttons[MENU_BUTTON_COUNT];
  CPDASlideBar m_Gamma, m_Music, m_Effects;
  int m_LayoutLanguage = -1;
};

extern CMainMenu* g_pMainMenu;
