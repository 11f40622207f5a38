#include "frontend/menu/MainMenu.h"

#include <vector>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "engine/resources/Texture.h"
#include "engine/sound/WaveSound.h"
#include "engine/util/ConfigFile.h"
#include "engine/util/KeyValueFile.h"
#include "engine/util/TextTable.h"
#include "engine/util/Utilities.h"
#include "frontend/SettingsValues.h"
#include "frontend/screens/BuyNowButton.h"
#include "platform/Log.h"

using Nembra::CConfigFile;
using Nembra::ConfigRecord;

CMainMenu* g_pMainMenu = nullptr;

namespace {

constexpr const char* kClickSound = "GUI_ButtonClick.WAV";
constexpr const char* kHoverSound = "GUI_ButtonEffect.WAV";
constexpr const char* kSliderSound = "PDA_ButtonClick.wav";
constexpr const char* kPointer = "MousePointer2.tga";
constexpr int kEscape = 1;

// The order buttons are drawn and their clicks tested.
constexpr int kUpdateOrder[MENU_BUTTON_COUNT] = {MENU_START,   MENU_LANGUAGE, MENU_CONFIGURATION, MENU_CREDITS,
                                                 MENU_EXIT,    MENU_ENGLISH,  MENU_SPANISH,       MENU_YES,
                                                 MENU_NO,      MENU_DEFAULT,  MENU_SAVE};
constexpr int kMainButtons[] = {MENU_START, MENU_LANGUAGE, MENU_CONFIGURATION, MENU_CREDITS, MENU_EXIT};

Nembra::RECT ToRect(const MenuBox& b) { return Nembra::MakeRect(b.x, b.y, b.w, b.h); }

std::string SettingOf(const std::vector<ConfigRecord>& records, const char* key, const char* section) {
  const auto found = Nembra::SectionedText<std::string>::Find(records, key, section);
  return found.empty() ? std::string() : found.front().value;
}

void PlacePanel(Nembra::CStatic2DSprite& panel, Nembra::CTexture* atlas, float x, float y, float sx, float sy) {
  panel.SetTexture(atlas);
  panel.SetSourceRect(ToRect(MENU_PANEL_STRIP));
  panel.m_Center = D3DXVECTOR3(236.0f, 0.0f, 0.0f);
  panel.SetPosition(D3DXVECTOR3(x, y, 0.0f));
  panel.m_ScaleX = sx;
  panel.m_ScaleY = sy;
}

}  // namespace

CMainMenu::CMainMenu() = default;

void CMainMenu::Init() {
  using Nembra::g_pTextureFactory;
  m_ClickSound.Take(kClickSound);
  m_HoverSound.Take(kHoverSound);

  // The language decides the atlas and the background, so it comes first.
  m_LanguageFile = Nembra::g_DataDirectory + "Language.dat";
  LoadLanguage();
  if (!Nembra::IsLanguageCode(m_LanguageCode)) m_LanguageCode = Nembra::LANGUAGE_ENGLISH;

  const char* menuAtlas = m_LanguageCode == Nembra::LANGUAGE_RUSSIAN ? MENU_ATLAS_RUSSIAN : MENU_ATLAS;
  m_BackgroundName = MenuBackgroundOf(m_LanguageCode);
  m_MenuAtlas.Hold(menuAtlas, g_pTextureFactory->GetSingleLevel(menuAtlas));
  m_ConfigAtlas.Hold(MENU_CONFIG_ATLAS, g_pTextureFactory->GetSingleLevel(MENU_CONFIG_ATLAS));
  m_Background.SetTexture(g_pTextureFactory->GetSingleLevel(m_BackgroundName));
  m_Background.SetSourceRect(Nembra::MakeRect(0, 0, 800, 600));
  m_Background.SetPosition(D3DXVECTOR3(0.0f, 0.0f, 0.0f));

  for (CMainButton& button : m_Buttons) {
    button.SetNormalTexture(m_MenuAtlas.Get());
    button.SetHoverTexture(m_MenuAtlas.Get());
    button.GetFlash().m_Sprite.SetTexture(m_MenuAtlas.Get());
    button.m_pClickSound = m_ClickSound.Get();
    button.m_pHoverSound = m_HoverSound.Get();
  }

  PlacePanel(m_LanguagePanel, m_ConfigAtlas.Get(), 400.0f, 315.0f, 0.6f, 180.0f);
  PlacePanel(m_ConfigurationPanel, m_ConfigAtlas.Get(), 330.0f, 280.0f, 1.0f, 220.0f);
  PlacePanel(m_ExitPanel, m_ConfigAtlas.Get(), 405.0f, 500.0f, 0.5f, 80.0f);

  CPDASlideBar* sliders[] = {&m_Gamma, &m_Music, &m_Effects};
  for (int i = 0; i < 3; ++i) {
    const float y = 300.0f + 50.0f * static_cast<float>(i);
    sliders[i]->SetBackgroundImage(m_ConfigAtlas.Get(), ToRect(MENU_SLIDER_BAR));
    sliders[i]->SetFillImage(m_ConfigAtlas.Get(), ToRect(MENU_SLIDER_FILL));
    sliders[i]->SetPosition(D3DXVECTOR3(235.0f, y, 0.0f), D3DXVECTOR3(245.0f, y + 8.0f, 0.0f));
    sliders[i]->m_Rect = Nembra::MakeRect(245, static_cast<int>(y) + 8, 246, 15);
  }
  m_Effects.m_pReleaseSound = Nembra::g_pWaveSoundFactory ? Nembra::g_pWaveSoundFactory->Get(kSliderSound) : nullptr;

  for (Nembra::CStatic2DSprite& label : m_Labels) label.SetTexture(m_MenuAtlas.Get());
  m_Pointer.SetTexture(g_pTextureFactory->Get(kPointer));
  m_Pointer.SetSourceRect(Nembra::MakeRect(0, 0, 32, 32));
  m_Pointer.m_Center = D3DXVECTOR3(2.0f, 2.0f, 0.0f);

  LoadSettings();
  ShowMainPage();
  ApplyLanguageLayout();
}

void CMainMenu::Release() {
  m_MenuAtlas.Reset();
  m_ConfigAtlas.Reset();
  m_ClickSound.Reset();
  m_HoverSound.Reset();
  for (CMainButton& button : m_Buttons) {
    button.m_pClickSound = nullptr;
    button.m_pHoverSound = nullptr;
  }
}

void CMainMenu::SetMainButtonsEnabled(bool enabled) {
  for (int id : kMainButtons) m_Buttons[id].m_Enabled = enabled;
}

void CMainMenu::ShowMainPage() {
  SetMainButtonsEnabled(true);
  for (int id : {MENU_ENGLISH, MENU_SPANISH, MENU_YES, MENU_NO, MENU_DEFAULT, MENU_SAVE})
    m_Buttons[id].m_Visible = false;
  m_LanguagePanel.m_Visible = m_ConfigurationPanel.m_Visible = m_ExitPanel.m_Visible = false;
  for (Nembra::CStatic2DSprite& label : m_Labels) label.m_Visible = false;
  m_Gamma.m_Visible = m_Music.m_Visible = m_Effects.m_Visible = false;
  for (int id : {MENU_LANGUAGE, MENU_CONFIGURATION, MENU_CREDITS, MENU_EXIT}) m_Buttons[id].SetHighlighted(false);
  m_Page = PAGE_MAIN;
}

void CMainMenu::ShowSubPage(int page) {
  SetMainButtonsEnabled(false);
  switch (page) {
    case PAGE_LANGUAGE:
      m_Buttons[MENU_ENGLISH].m_Visible = m_Buttons[MENU_SPANISH].m_Visible = true;
      m_LanguagePanel.m_Visible = true;
      m_Buttons[MENU_LANGUAGE].SetHighlighted(true);
      break;
    case PAGE_CONFIGURATION:
      m_Buttons[MENU_DEFAULT].m_Visible = m_Buttons[MENU_SAVE].m_Visible = true;
      m_Gamma.m_Visible = m_Music.m_Visible = m_Effects.m_Visible = true;
      m_ConfigurationPanel.m_Visible = true;
      for (Nembra::CStatic2DSprite& label : m_Labels) label.m_Visible = true;
      m_Buttons[MENU_CONFIGURATION].SetHighlighted(true);
      break;
    case PAGE_EXIT_QUESTION:
      m_Buttons[MENU_YES].m_Visible = m_Buttons[MENU_NO].m_Visible = true;
      m_ExitPanel.m_Visible = true;
      m_Buttons[MENU_EXIT].SetHighlighted(true);
      break;
    default:
      break;
  }
  m_Page = page;
}

void CMainMenu::LoadLanguage() {
  const std::wstring global = Nembra::g_LanguageCode;
  if (global == L"RUS")
    m_LanguageCode = L"RUS";
  else if (global == L"ENG" || global == L"SPA")
    m_LanguageCode = Nembra::CKeyValueFile::GetValue(L"Language", L"InitLanguage", m_LanguageFile);
}

void CMainMenu::SaveLanguage() {
  std::vector<Nembra::KeyValueRecord> records;
  Nembra::CKeyValueFile::Load(m_LanguageFile, records);  // a missing file starts empty
  Nembra::SectionedText<std::wstring>::Set(records, L"Language", m_LanguageCode, L"InitLanguage");
  Nembra::CKeyValueFile::Save(m_LanguageFile, records);
}

void CMainMenu::SetLanguage(const std::wstring& code) {
  if (code == m_LanguageCode) return;
  m_LanguageCode = code;
  ApplyLanguageLayout();
  SaveLanguage();
}

void CMainMenu::ApplyLanguageLayout() {
  if (!Nembra::IsLanguageCode(m_LanguageCode)) return;
  const int language = Nembra::LanguageIndexOf(m_LanguageCode);
  m_LayoutLanguage = language;
  for (int id = 0; id < MENU_BUTTON_COUNT; ++id) {
    CMainButton& button = m_Buttons[id];
    const MenuBox screen = MENU_SCREEN_BOXES[language][id];
    const MenuBox normal = MenuWordSource(language, id, 0), hover = MenuWordSource(language, id, 1),
                  flash = MenuWordSource(language, id, 2);
    button.GetNormalImage()->SetSourceRect(ToRect(normal));
    button.GetHoverImage()->SetSourceRect(ToRect(hover));
    button.m_Rect = ToRect(screen);
    button.SetPosition(D3DXVECTOR3(float(screen.x), float(screen.y), 0.0f));
    Nembra::CStatic2DSprite& sprite = button.GetFlash().m_Sprite;
    sprite.SetSourceRect(ToRect(flash));
    sprite.m_Center = D3DXVECTOR3(float(flash.w / 2), float(flash.h / 2), 0.0f);
    sprite.SetPosition(D3DXVECTOR3(float(screen.x + flash.w / 2), float(screen.y + flash.h / 2), 0.0f));
  }
  for (int i = 0; i < MENU_LABEL_COUNT; ++i) {
    m_Labels[i].SetSourceRect(ToRect(MenuLabelSource(language, i)));
    m_Labels[i].SetPosition(D3DXVECTOR3(float(MENU_LABEL_X), float(MENU_LABEL_Y[i]), 0.0f));
  }
  if (language == MENU_RUS) {
    m_Buttons[MENU_LANGUAGE].m_Visible = false;
    m_Buttons[MENU_ENGLISH].m_Visible = false;
    m_Buttons[MENU_SPANISH].m_Visible = false;
  } else {
    m_Buttons[MENU_LANGUAGE].m_Visible = true;
  }
}

void CMainMenu::LoadSliders(const std::string& file) {
  std::vector<ConfigRecord> records;
  CConfigFile::Load(file, records);  // a missing file reads every key as 0
  m_Gamma.SetValue(FromThousandths(Nembra::StringToInt(SettingOf(records, "Gamma", "Monitor"))));
  m_Effects.SetValue(FromThousandths(Nembra::StringToInt(SettingOf(records, "Effects", "Sound"))));
  m_Music.SetValue(FromThousandths(Nembra::StringToInt(SettingOf(records, "Music", "Sound"))));
}

void CMainMenu::LoadDefaultSettings() { LoadSliders(Nembra::g_DataDirectory + "ConfigDefault.dat"); }

void CMainMenu::LoadSettings() { LoadSliders(Nembra::g_DataDirectory + "ConfigLastUsed.dat"); }

bool CMainMenu::SaveSettings() {
  const std::string file = Nembra::g_DataDirectory + "ConfigLastUsed.dat";
  return CConfigFile::Rewrite(file, [this](std::vector<ConfigRecord>& records) {
    using Text = Nembra::SectionedText<std::string>;
    Text::Set(records, "Gamma", Nembra::IntToString(ToThousandths(m_Gamma.GetValue())), "Monitor");
    Text::Set(records, "Effects", Nembra::IntToString(ToThousandths(m_Effects.GetValue())), "Sound");
    Text::Set(records, "Music", Nembra::IntToString(ToThousandths(m_Music.GetValue())), "Sound");
  });
}

void CMainMenu::SaveSettingsAndShowMainPage() {
  // A failed save is logged; the values stay on the sliders for this run.
  if (!SaveSettings()) platform::LogWarning("the menu's gamma and volumes last until the game ends");
  ShowMainPage();
}

void CMainMenu::Update() {
  Nembra::CGraphicsDevice* device = Nembra::g_pGraphicsDevice;
  if (device && device->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    m_Background.Draw();
    m_LanguagePanel.Draw();
    m_ConfigurationPanel.Draw();
    m_ExitPanel.Draw();
    for (int id : kUpdateOrder) m_Buttons[id].Update();
    m_Gamma.DrawAndUpdate();
    m_Music.DrawAndUpdate();
    m_Effects.DrawAndUpdate();
    for (Nembra::CStatic2DSprite& label : m_Labels) label.Draw();
    UpdateBuyNowButtonAt(BUYNOW_MENU_X, BUYNOW_MENU_Y);
    if (Nembra::g_pMouse)
      m_Pointer.SetPosition(
          D3DXVECTOR3(float(Nembra::g_pMouse->GetX()), float(Nembra::g_pMouse->GetY()), 0.0f));
    m_Pointer.Draw();
    const APPLIED_SETTINGS applied = ApplySettings(m_Gamma.GetValue(), m_Music.GetValue(), m_Effects.GetValue());
    m_AppliedGamma = applied.gamma;
    m_AppliedMusic = applied.music;
    m_AppliedEffects = applied.effects;
    device->EndSprite();
  }

  if (Nembra::g_pKeyboard && Nembra::g_pKeyboard->WasKeyPressed(kEscape)) {
    switch (m_Page) {
      case PAGE_MAIN:
        ShowSubPage(PAGE_EXIT_QUESTION);
        break;
      case PAGE_CONFIGURATION:
        SaveSettingsAndShowMainPage();
        break;
      case PAGE_LANGUAGE:
      case PAGE_EXIT_QUESTION:
        ShowMainPage();
        break;
      default:
        break;
    }
  }

  for (int id : kUpdateOrder) {
    if (!m_Buttons[id].WasClicked()) continue;
    switch (id) {
      case MENU_START:
        m_Page = PAGE_START;
        break;
      case MENU_LANGUAGE:
        ShowSubPage(PAGE_LANGUAGE);
        break;
      case MENU_CONFIGURATION:
        ShowSubPage(PAGE_CONFIGURATION);
        break;
      case MENU_CREDITS:
        SetMainButtonsEnabled(false);
        m_Page = PAGE_CREDITS;
        break;
      case MENU_EXIT:
        ShowSubPage(PAGE_EXIT_QUESTION);
        break;
      case MENU_ENGLISH:
        SetLanguage(L"ENG");
        ShowMainPage();
        break;
      case MENU_SPANISH:
        SetLanguage(L"SPA");
        ShowMainPage();
        break;
      case MENU_YES:
        m_Page = PAGE_EXIT;
        break;
      case MENU_NO:
        ShowMainPage();
        break;
      case MENU_DEFAULT:
        LoadDefaultSettings();
        break;
      case MENU_SAVE:
        SaveSettingsAndShowMainPage();
        break;
      default:
        break;
    }
    break;
  }
}
