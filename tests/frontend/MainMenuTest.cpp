// The main menu on the demo data: its pages and Escape paths, the language
// file, the Russian menu, the sliders applied to the device and the
// mixer, the buttons' flash and highlight, and the buy-now button.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/sound/WaveSound.h"
#include "engine/util/ConfigFile.h"
#include "engine/util/KeyValueFile.h"
#include "engine/util/TextTable.h"
#include "frontend/screens/BuyNow.h"
#include "frontend/screens/BuyNowButton.h"
#include "engine/resources/Texture.h"
#include "frontend/menu/MainMenu.h"
#include "frontend/SettingsValues.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Window.h"
#include "scenario/ScreenScenario.h"

using scenario::FrameInput;
using scenario::ScreenScenario;

namespace {

// A wave sound that counts its plays instead of playing.
struct CountingSound : Nembra::CWaveSound {
  int plays = 0;
  bool Play(bool) override {
    ++plays;
    return true;
  }
};

class MainMenuTest : public ::testing::Test {
 protected:
  void SetUp() override { m_OldLanguage = Nembra::g_LanguageCode; }
  void TearDown() override {
    if (m_Menu) m_Menu->Release();
    m_Menu.reset();
    ReleaseBuyNowButton(m_BuyNow);
    g_pBuyNowButton = nullptr;
    Nembra::g_LanguageCode = m_OldLanguage;
    m_Scenario.reset();
  }
  void Start(const std::wstring& global = L"ENG") {
    ScreenScenario::Options o;
    o.writableData = true;
    m_Scenario = std::make_unique<ScreenScenario>(o);
    ASSERT_TRUE(m_Scenario->Ready()) << m_Scenario->Problem();
    Nembra::g_LanguageCode = global;
    m_Menu = std::make_unique<CMainMenu>();
  }
  void Init() { m_Menu->Init(); }
  void Frame() { m_Scenario->Frame([&] { m_Menu->Update(); }); }
  // Pointer to the middle of a button, press, release: the click lands in the third frame.
  void Click(int x, int y) {
    m_Scenario->Script({FrameInput().MoveTo(x, y), FrameInput().Press(0), FrameInput().Release(0)});
    Frame();
    Frame();
    Frame();
  }
  void ClickButton(int id) {
    const Nembra::RECT& r = m_Menu->Button(id).m_Rect;
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  void PressKey(int code) {
    m_Scenario->Script({FrameInput().KeyDown(code), FrameInput().KeyUp(code)});
    Frame();
    Frame();
  }
  std::string Data(const char* name) const { return m_Scenario->DataFolder() + name; }
  // A button's screen rectangle as x, y, width, height.
  std::array<int, 4> Box(int id) {
    const Nembra::RECT& r = m_Menu->Button(id).m_Rect;
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  std::string Setting(const char* key, const char* section) {
    return Nembra::CConfigFile::GetValue(key, section, Data("ConfigLastUsed.dat"));
  }

  std::unique_ptr<ScreenScenario> m_Scenario;
  std::unique_ptr<CMainMenu> m_Menu;
  std::unique_ptr<CBuyNowButton> m_BuyNow;
  std::wstring m_OldLanguage;
};

TEST_F(MainMenuTest, PagesAndEscapePaths) {
  Start();
  Init();
  Frame();
  using Box4 = std::array<int, 4>;
  EXPECT_EQ(Box(MENU_CONFIGURATION), (Box4{595, 379, 190, 43}));
  EXPECT_EQ(Box(MENU_YES), (Box4{322, 518, 75, 43}));
  EXPECT_EQ(Box(MENU_SAVE), (Box4{390, 460, 63, 28}));
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_MAIN);
  // The button of an open sub-page is tinted; every way back to the main page takes the tint off.
  auto tinted = [&](int id) { return m_Menu->Button(id).GetNormalImage()->m_Color.r != 1.0f; };
  ClickButton(MENU_LANGUAGE);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_LANGUAGE);
  EXPECT_TRUE(m_Menu->Button(MENU_ENGLISH).m_Visible);
  EXPECT_FALSE(m_Menu->Button(MENU_START).m_Enabled);
  EXPECT_TRUE(tinted(MENU_LANGUAGE));
  PressKey(1);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_MAIN);
  EXPECT_FALSE(tinted(MENU_LANGUAGE));
  EXPECT_FALSE(m_Menu->Button(MENU_ENGLISH).m_Visible);
  EXPECT_TRUE(m_Menu->Button(MENU_START).m_Enabled);

  // Escape on the main page asks; a second Escape closes the question.
  PressKey(1);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_EXIT_QUESTION);
  EXPECT_TRUE(m_Menu->Button(MENU_YES).m_Visible);
  PressKey(1);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_MAIN);
  ClickButton(MENU_EXIT);
  EXPECT_TRUE(tinted(MENU_EXIT));
  ClickButton(MENU_NO);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_MAIN);
  EXPECT_FALSE(tinted(MENU_EXIT));
  ClickButton(MENU_EXIT);
  ClickButton(MENU_YES);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_EXIT);
  PressKey(1);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_EXIT) << "the exit page ignores Escape";

  m_Menu->ShowMainPage();
  ClickButton(MENU_START);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_START);
  m_Menu->m_Page = 0;
  ClickButton(MENU_CREDITS);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_CREDITS);
  EXPECT_FALSE(m_Menu->Button(MENU_CONFIGURATION).m_Enabled);

  // Configuration: default loads the defaults without saving; Escape saves.
  m_Menu->ShowMainPage();
  ClickButton(MENU_CONFIGURATION);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_CONFIGURATION);
  EXPECT_TRUE(m_Menu->GammaSlider().m_Visible);
  m_Menu->GammaSlider().SetValue(0.6667f);
  m_Menu->MusicSlider().SetValue(0.251f);
  ClickButton(MENU_DEFAULT);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_CONFIGURATION);
  EXPECT_FLOAT_EQ(m_Menu->GammaSlider().GetValue(), 0.5f);
  EXPECT_FLOAT_EQ(m_Menu->EffectsSlider().GetValue(), 0.8f);
  m_Menu->GammaSlider().SetValue(0.6667f);
  m_Menu->MusicSlider().SetValue(0.251f);
  EXPECT_TRUE(tinted(MENU_CONFIGURATION));
  PressKey(1);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_MAIN);
  EXPECT_FALSE(tinted(MENU_CONFIGURATION));
  EXPECT_EQ(Setting("Gamma", "Monitor"), "666");
  EXPECT_EQ(Setting("Music", "Sound"), "251");
  EXPECT_EQ(Setting("Effects", "Sound"), "800");
  EXPECT_EQ(Setting("Type", "Camera"), "0") << "other keys stay";
  // The saved values come back exactly.
  m_Menu->LoadSettings();
  EXPECT_EQ(ToThousandths(m_Menu->MusicSlider().GetValue()), 251);

  // Dragging: the pointer at the middle of the bar gives one half; save keeps it.
  ClickButton(MENU_CONFIGURATION);
  m_Scenario->Script({FrameInput().MoveTo(245 + 123, 315), FrameInput().Press(0), FrameInput().Release(0)});
  Frame();
  Frame();
  Frame();
  EXPECT_FLOAT_EQ(m_Menu->GammaSlider().GetValue(), 0.5f);
  ClickButton(MENU_SAVE);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_MAIN);
  EXPECT_EQ(Setting("Gamma", "Monitor"), "500");
}

TEST_F(MainMenuTest, SlidersReachTheGammaRampAndTheMixers) {
  Start();
  Init();
  ClickButton(MENU_CONFIGURATION);
  m_Menu->GammaSlider().SetValue(0.0f);
  m_Menu->MusicSlider().SetValue(0.0f);
  m_Menu->EffectsSlider().SetValue(0.0f);
  Frame();
  auto* device = m_Scenario->Device();
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->GammaRamp().red[255], 16128);
  // The configuration panel (470 x 1 stretched to 220 rows, centred on x 330) and the gamma bar.
  platform::ITexture* config = scenario::TextureOf("GUI_Main_Config.png");
  const auto panel = m_Scenario->Last().FindSprites(config, 25, 7);
  ASSERT_EQ(panel.size(), 1u);
  EXPECT_FLOAT_EQ(panel[0]->left, 94.0f);
  EXPECT_FLOAT_EQ(panel[0]->top, 280.0f);
  EXPECT_FLOAT_EQ(panel[0]->Height(), 220.0f);
  EXPECT_EQ(panel[0]->SourceWidth(), 470);
  const auto bars = m_Scenario->Last().FindSprites(config, 123, 18);
  ASSERT_EQ(bars.size(), 3u);
  EXPECT_FLOAT_EQ(bars[0]->left, 235.0f);
  EXPECT_FLOAT_EQ(bars[0]->top, 300.0f);
  EXPECT_EQ(bars[0]->SourceWidth(), 266);
  EXPECT_EQ(bars[0]->SourceHeight(), 25);
  EXPECT_EQ(device->GammaRamp().red[0], 0);
  EXPECT_FLOAT_EQ(m_Menu->m_AppliedGamma, 0.25f);
  EXPECT_FLOAT_EQ(m_Menu->m_AppliedEffects, 0.125f);
  EXPECT_FLOAT_EQ(Nembra::g_pWaveSoundFactory->GetWaveVolume(), 0.125f);
  m_Menu->GammaSlider().SetValue(1.0f);
  m_Menu->MusicSlider().SetValue(1.0f);
  m_Menu->EffectsSlider().SetValue(1.0f);
  Frame();
  EXPECT_EQ(device->GammaRamp().red[0], 49152);
  EXPECT_EQ(device->GammaRamp().blue[255], 65535);
  EXPECT_FLOAT_EQ(m_Menu->m_AppliedGamma, 1.75f);
  EXPECT_FLOAT_EQ(m_Menu->m_AppliedMusic, 1.0f);
  EXPECT_FLOAT_EQ(m_Menu->m_AppliedEffects, 1.375f);
  EXPECT_FLOAT_EQ(Nembra::g_pWaveSoundFactory->GetWaveVolume(), 1.0f) << "the mixer clamps";

  // File values are clamped; absent keys and a missing file read 0.
  std::ofstream(Data("ConfigLastUsed.dat"), std::ios::binary)
      << "[Monitor]\r\nGamma=5000\r\n[Sound]\r\nEffects=-20\r\n";
  platform::ClearPathCache();
  m_Menu->LoadSettings();
  EXPECT_FLOAT_EQ(m_Menu->GammaSlider().GetValue(), 1.0f);
  EXPECT_FLOAT_EQ(m_Menu->EffectsSlider().GetValue(), 0.0f);
  EXPECT_FLOAT_EQ(m_Menu->MusicSlider().GetValue(), 0.0f);
  std::filesystem::remove(Data("ConfigLastUsed.dat"));
  platform::ClearPathCache();
  m_Menu->GammaSlider().SetValue(0.5f);
  m_Menu->LoadSettings();
  EXPECT_FLOAT_EQ(m_Menu->GammaSlider().GetValue(), 0.0f);
  Frame();
  EXPECT_FLOAT_EQ(m_Menu->m_AppliedGamma, 0.25f);
  // Saving makes the file again, from the sliders alone.
  m_Menu->GammaSlider().SetValue(0.251f);
  ASSERT_TRUE(m_Menu->SaveSettings());
  EXPECT_EQ(Setting("Gamma", "Monitor"), "251");
  EXPECT_EQ(Setting("Music", "Sound"), "0");
  // A value set beyond 0..1 is applied clamped.
  m_Menu->GammaSlider().SetValue(3.0f);
  m_Menu->EffectsSlider().SetValue(-1.0f);
  Frame();
  EXPECT_FLOAT_EQ(m_Menu->m_AppliedGamma, 1.75f);
  EXPECT_FLOAT_EQ(m_Menu->m_AppliedEffects, 0.125f);

  // A file that is there but can't be read is never replaced: the save
  // fails with a logged line, by Escape and by the save button alike.
  std::filesystem::remove(Data("ConfigLastUsed.dat"));
  std::filesystem::create_symlink("NoSuchTarget.dat", Data("ConfigLastUsed.dat"));
  platform::ClearPathCache();
  int logged = 0;
  platform::SetLogHook([&](platform::LogLevel, const std::string& line) {
    logged += line.find("ConfigLastUsed.dat") != std::string::npos;
  });
  EXPECT_FALSE(m_Menu->SaveSettings());
  m_Menu->ShowMainPage();
  ClickButton(MENU_CONFIGURATION);
  PressKey(1);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_MAIN);
  ClickButton(MENU_CONFIGURATION);
  ClickButton(MENU_SAVE);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_MAIN);
  platform::SetLogHook(nullptr);
  EXPECT_GE(logged, 3);
  EXPECT_TRUE(std::filesystem::is_symlink(Data("ConfigLastUsed.dat")));
}

TEST_F(MainMenuTest, LanguageFileWrittenOnlyOnAChangeAndMadeWhenMissing) {
  Start();
  const std::string file = Data("Language.dat");
  std::filesystem::remove(file);
  platform::ClearPathCache();
  Init();
  EXPECT_EQ(m_Menu->m_LanguageCode, L"ENG") << "a missing file gives English";
  EXPECT_EQ(m_Menu->GetLayoutLanguage(), MENU_ENG);
  EXPECT_FALSE(std::filesystem::exists(file));
  m_Menu->SetLanguage(L"ENG");
  EXPECT_FALSE(std::filesystem::exists(file)) << "the same language writes nothing";
  ClickButton(MENU_LANGUAGE);
  ClickButton(MENU_SPANISH);
  EXPECT_EQ(m_Menu->m_Page, CMainMenu::PAGE_MAIN);
  EXPECT_EQ(m_Menu->GetLayoutLanguage(), MENU_SPA);
  platform::ClearPathCache();
  EXPECT_EQ(Nembra::CKeyValueFile::GetValue(L"Language", L"InitLanguage", file), L"SPA");
  const auto written = std::filesystem::last_write_time(file);
  EXPECT_EQ(m_Menu->Button(MENU_START).m_Rect.left, 644);
  EXPECT_EQ(Box(MENU_CREDITS), (std::array<int, 4>{571, 448, 206, 43}));
  EXPECT_EQ(Box(MENU_YES), (std::array<int, 4>{322, 519, 41, 43}));
  EXPECT_EQ(m_Menu->Button(MENU_START).GetNormalImage()->m_SourceRect.right -
                m_Menu->Button(MENU_START).GetNormalImage()->m_SourceRect.left,
            133);
  std::filesystem::last_write_time(file, written - std::chrono::hours(1));
  m_Menu->SetLanguage(L"SPA");
  EXPECT_EQ(std::filesystem::last_write_time(file), written - std::chrono::hours(1));

  // A second menu reads the file: Spanish layout from the start.
  m_Menu->Release();
  m_Menu = std::make_unique<CMainMenu>();
  Init();
  EXPECT_EQ(m_Menu->m_LanguageCode, L"SPA");
  EXPECT_EQ(m_Menu->Button(MENU_EXIT).m_Rect.left, 662);
}

TEST_F(MainMenuTest, RussianMenuHasItsAtlasAndNoLanguageChoice) {
  Start(L"RUS");
  const std::string file = Data("Language.dat");
  const auto before = std::filesystem::last_write_time(file);
  Init();
  EXPECT_EQ(m_Menu->m_LanguageCode, L"RUS");
  EXPECT_EQ(m_Menu->GetMenuAtlas(), Nembra::g_pTextureFactory->Find(MENU_ATLAS_RUSSIAN));
  EXPECT_EQ(m_Menu->GetBackground().GetTexture(), Nembra::g_pTextureFactory->Find(MENU_BACKGROUND_RUSSIAN));
  EXPECT_FALSE(m_Menu->Button(MENU_LANGUAGE).m_Visible);
  EXPECT_EQ(m_Menu->Button(MENU_START).m_Rect.top, 314);
  EXPECT_EQ(Box(MENU_EXIT), (std::array<int, 4>{654, 518, 112, 43}));
  EXPECT_EQ(Box(MENU_DEFAULT), (std::array<int, 4>{150, 460, 157, 28}));
  Frame();
  platform::ITexture* atlas = scenario::TextureOf(MENU_ATLAS_RUSSIAN);
  ASSERT_NE(atlas, nullptr);
  // Start, configuration, credits and exit words; no language button.
  EXPECT_EQ(m_Scenario->Last().FindSprites(atlas).size(), 4u);
  EXPECT_TRUE(m_Scenario->Last().FindSprites(atlas, 0, MENU_LANGUAGE * MENU_ROW_H).empty());
  ClickButton(MENU_EXIT);
  PressKey(1);
  EXPECT_EQ(std::filesystem::last_write_time(file), before);
}

TEST_F(MainMenuTest, FlashAndHoverStartOnEntryAndHighlightReturnsToWhite) {
  Start();
  Init();
  const Nembra::RECT r = m_Menu->Button(MENU_CREDITS).m_Rect;
  CMainButton& credits = m_Menu->Button(MENU_CREDITS);
  EXPECT_EQ(credits.m_pHoverSound, Nembra::g_pWaveSoundFactory->Find("GUI_ButtonEffect.WAV"));
  // The menu's three sounds come from the data, not the factory's default.
  for (const char* sound : {"GUI_ButtonEffect.WAV", "GUI_ButtonClick.WAV", "PDA_ButtonClick.wav"}) {
    Nembra::CWaveSound* loaded = Nembra::g_pWaveSoundFactory->Find(sound);
    ASSERT_NE(loaded, nullptr) << sound;
    EXPECT_TRUE(loaded->IsLoaded()) << sound;
  }
  CountingSound hover;
  credits.m_pHoverSound = &hover;
  m_Scenario->Next().MoveTo(r.left + 5, r.top + 5);
  Frame();
  EXPECT_TRUE(credits.IsHovering());
  EXPECT_EQ(hover.plays, 1);
  EXPECT_FLOAT_EQ(credits.GetFlash().m_Timer, 0.4f);
  for (int i = 0; i < 10; ++i) Frame();
  EXPECT_LT(credits.GetFlash().m_Timer, 0.25f) << "staying on the button does not restart it";
  EXPECT_EQ(hover.plays, 1) << "one sound per entry";
  m_Scenario->Next().MoveTo(10, 10);
  Frame();
  EXPECT_FALSE(credits.IsHovering());
  m_Scenario->Next().MoveTo(r.left + 5, r.top + 5);
  Frame();
  EXPECT_FLOAT_EQ(credits.GetFlash().m_Timer, 0.4f) << "re-entry restarts it";
  EXPECT_EQ(hover.plays, 2);
  // The flash drawn at scale 1.0 and full opacity in its first frame.
  Frame();
  platform::ITexture* atlas = scenario::TextureOf(MENU_ATLAS);
  const MenuBox flash = MenuWordSource(MENU_ENG, MENU_CREDITS, 2);
  const auto drawn = m_Scenario->Last().FindSprites(atlas, flash.x, flash.y);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_FLOAT_EQ(drawn[0]->Width(), float(flash.w));
  EXPECT_EQ(drawn[0]->color >> 24, 255u);

  // A disabled button neither flashes nor sounds.
  m_Scenario->Next().MoveTo(10, 10);
  Frame();
  m_Menu->SetMainButtonsEnabled(false);
  m_Scenario->Next().MoveTo(r.left + 5, r.top + 5);
  Frame();
  EXPECT_FALSE(credits.IsHovering());
  EXPECT_EQ(hover.plays, 2);
  m_Menu->SetMainButtonsEnabled(true);

  credits.SetHighlighted(true);
  EXPECT_FLOAT_EQ(credits.GetNormalImage()->m_Color.b, 1.0f);
  EXPECT_FLOAT_EQ(credits.GetNormalImage()->m_Color.r, 0.6f);
  credits.SetHighlighted(false);
  const D3DXCOLOR white = credits.GetNormalImage()->m_Color;
  EXPECT_EQ(white.r, 1.0f);
  EXPECT_EQ(white.g, 1.0f);
  EXPECT_EQ(white.b, 1.0f);
  EXPECT_EQ(white.a, 1.0f);
}

TEST_F(MainMenuTest, BuyNowClickWithTheConfigurationOpenRequestsThePageAndQuits) {
  Start();
  Init();
  m_BuyNow = CreateBuyNowButton();
  g_pBuyNowButton = m_BuyNow.get();
  ClickButton(MENU_CONFIGURATION);
  ASSERT_EQ(m_Menu->m_Page, CMainMenu::PAGE_CONFIGURATION);
  Nembra::g_pApplication->WindowProc(Nembra::g_pApplication->GetWindow(), platform::WM_ACTIVATE, 1, 0);
  ASSERT_TRUE(Nembra::g_pApplication->IsActive());
  Click(700, 40);
  EXPECT_EQ(g_BuyNowAction.LastAddress(), "https://example.org/");
  EXPECT_TRUE(g_BuyNowAction.LastOpened());
  EXPECT_FALSE(Nembra::g_pApplication->IsActive());
}

}  // namespace
