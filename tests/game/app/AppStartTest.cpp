// The application's start-up, activation, the front-end states and the
// end of the run, headless on the generated demo data.
#include <gtest/gtest.h>
#include <lua.hpp>

#include "game/level/LevelTimer.h"

#include "engine/fonts/BitmapFont.h"
#include "engine/sound/AudiereSound.h"
#include "frontend/screens/BuyNowButton.h"
#include "engine/sound/WaveSound.h"
#include "frontend/screens/Credits.h"
#include "frontend/hud/widgets/GUIDigitalTimer.h"
#include "frontend/screens/FinalScreen.h"
#include "game/app/AppMain.h"
#include "game/app/AppTestSupport.h"
#include "game/world/GameGlobals.h"
#include "game/script/GameScript.h"
#include "platform/Files.h"
#include "platform/Platform.h"

using apptest::WriteFile;
using scenario::AppScenario;

namespace {

std::vector<std::string> Log(std::initializer_list<const char*> lines) {
  return std::vector<std::string>(lines.begin(), lines.end());
}

}  // namespace

TEST(AppStart, StoredSettingsReachDeviceAndFactoriesAndActivationRereadsGamma) {
  AppScenario::Options o;
  o.prepareData = [](const std::string& data) {
    WriteFile(data + "ConfigLastUsed.dat",
              "[Monitor]\r\nGamma=500\r\n[Sound]\r\nMusic=1000\r\nEffects=0\r\n");
    // A save killed in the last run left its temporary file.
    WriteFile(data + ".ConfigLastUsed.dat.tmp815", "[Monitor]\r\nGam");
  };
  AppScenario a(o);
  ASSERT_TRUE(a.Ready()) << a.Problem();
  EXPECT_FALSE(platform::FileExists(a.DataFolder() + ".ConfigLastUsed.dat.tmp815"));
  EXPECT_TRUE(platform::FileExists(a.DataFolder() + "ConfigLastUsed.dat"));
  EXPECT_TRUE(apptest::RampIs(1.0f));
  EXPECT_FLOAT_EQ(Nembra::g_pStreamingSoundFactory->GetStreamingVolume(), 1.0f);
  EXPECT_FLOAT_EQ(Nembra::g_pWaveSoundFactory->GetWaveVolume(), 0.125f);

  a.App().OnActivate(false);
  EXPECT_TRUE(apptest::RampIs(1.0f) == false);
  EXPECT_EQ(0, std::memcmp(&Nembra::g_pGraphicsDevice->GetSavedGammaRamp(),
                           &platform::headless::CurrentDevice()->GammaRamp(), sizeof(platform::D3DGAMMARAMP)));
  // Each activation reads the file again.
  WriteFile(a.DataFolder() + "ConfigLastUsed.dat", "[Monitor]\r\nGamma=0\r\n");
  a.App().OnActivate(true);
  EXPECT_TRUE(apptest::RampIs(0.25f));
  // Without the key the current profile's gamma stands (not 0.25).
  WriteFile(a.DataFolder() + "ConfigLastUsed.dat", "[Other]\r\nX=1\r\n");
  g_ProfileStore.GetCurrentProfile().gamma = 1000;
  a.App().OnActivate(true);
  EXPECT_TRUE(apptest::RampIs(1.75f));
  // A value out of range is clamped to 0..1000 like every other reading of it.
  for (auto [stored, ramp] : {std::pair<const char*, float>{"5000", 1.75f}, {"-300", 0.25f}}) {
    WriteFile(a.DataFolder() + "ConfigLastUsed.dat", std::string("[Monitor]\r\nGamma=") + stored + "\r\n");
    a.App().OnActivate(true);
    EXPECT_TRUE(apptest::RampIs(ramp)) << stored;
  }
}

TEST(AppStart, FirstStartPassesLoadingLaterStartsGoStraightToLogin) {
  AppScenario a;
  ASSERT_TRUE(a.Ready()) << a.Problem();
  EXPECT_EQ(a.App().GetState(), CApp::STATE_LOGOS);
  // Start-up opened the game script, its registration leaving the stack empty.
  lua_State* script = g_GameScript.GetState();
  ASSERT_NE(script, nullptr);
  EXPECT_EQ(lua_gettop(script), 0);
  lua_getglobal(script, "LightSetTarget");  // the last one registered
  EXPECT_TRUE(lua_isfunction(script, -1));
  lua_pop(script, 1);
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_MAIN_MENU, 400)) << "the logos never ended";
  EXPECT_EQ(a.App().GetLogoSequence(), nullptr);
  // The title music plays, repeating.
  ASSERT_NE(g_pCurrentMusic, nullptr);
  EXPECT_EQ(g_pCurrentMusic, Nembra::g_pStreamingSoundFactory->Get(CApp::TITLE_MUSIC));
  EXPECT_TRUE(g_pCurrentMusic->GetStream() && g_pCurrentMusic->GetStream()->GetRepeat());

  a.Run(6);
  const auto demo = a.Last().FindText(L"Demo version");
  ASSERT_EQ(demo.size(), 1u);
  EXPECT_EQ(demo[0]->x, 10);
  EXPECT_EQ(demo[0]->y, 575);

  g_pMainMenu->m_Page = CMainMenu::PAGE_START;
  a.Frame();  // the fade to black starts; nothing else changes
  EXPECT_EQ(a.App().GetState(), CApp::STATE_MAIN_MENU);
  a.Run(4);   // 0.4 s of fading
  EXPECT_EQ(a.App().GetState(), CApp::STATE_MAIN_MENU);
  a.Frame();  // 0.5 s: the fade is complete
  EXPECT_EQ(a.App().GetState(), CApp::STATE_LOADING);
  a.Frame();  // the loading frame is drawn first, then the game objects made
  ASSERT_EQ(a.Last().FindText(L"Loading . . .").size(), 1u);
  EXPECT_EQ(a.App().GetState(), CApp::STATE_LOGIN);
  EXPECT_TRUE(a.App().AreGameObjectsCreated());
  ASSERT_NE(g_pPDA, nullptr);
  ASSERT_NE(g_pGameWorld, nullptr);
  EXPECT_EQ(g_pPDA->GetCurrentAppIndex(), PDA_APP_LOGIN);

  // Exit from login returns to the menu through a fade.
  a.Run(6);
  g_pPDA->m_ResultCode = PDA_RESULT_EXIT;
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_MAIN_MENU, 10));
  a.Run(6);
  a.ClearStateLog();
  g_pMainMenu->m_Page = CMainMenu::PAGE_START;
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_LOGIN, 10));
  EXPECT_EQ(a.StateLog(), Log({"1 -> 2"}));
}

TEST(AppStart, LoginLeadsByLevelReached) {
  AppScenario a(apptest::QuietLevel());
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(apptest::ToLogin(a));

  // Level 1: the desktop, music kept.
  Nembra::CAudiereSound* music = g_pCurrentMusic;
  a.ClearStateLog();
  apptest::ChooseProfile(a, 1);
  EXPECT_EQ(a.StateLog(), Log({"2 -> 8"}));
  EXPECT_EQ(g_pCurrentMusic, music);
  EXPECT_EQ(g_pPDA->GetCurrentAppIndex(), PDA_APP_DESKTOP);

  // Change profile from the desktop, then a profile past the last level
  // and one far outside the table: the final screen each time.
  for (uint32_t level : {3u, 9u, 4000000000u}) {
    g_pPDA->m_ResultCode = PDA_RESULT_CHANGE_PROFILE;
    a.Frame();
    ASSERT_EQ(a.App().GetState(), CApp::STATE_LOGIN);
    a.ClearStateLog();
    apptest::ChooseProfile(a, level);
    EXPECT_EQ(a.StateLog(), Log({"2 -> 9"})) << level;
    ASSERT_NE(a.App().GetFinalScreen(), nullptr);
    // Escape: a fade, then the credits.
    a.Tap(platform::DIK_ESCAPE);
    ASSERT_TRUE(a.RunUntilState(CApp::STATE_CREDITS, 10));
    EXPECT_EQ(a.App().GetFinalScreen(), nullptr);
    ASSERT_NE(a.App().GetCredits(), nullptr);
    a.Run(6);
    a.Tap(platform::DIK_SPACE);
    ASSERT_TRUE(a.RunUntilState(CApp::STATE_MAIN_MENU, 10));
    EXPECT_EQ(a.App().GetCredits(), nullptr);
    a.Run(6);
    g_pMainMenu->m_Page = CMainMenu::PAGE_START;
    ASSERT_TRUE(a.RunUntilState(CApp::STATE_LOGIN, 10));
    g_pPDA->m_ResultCode = PDA_RESULT_NONE;
    apptest::ChooseProfile(a, 1);
    ASSERT_EQ(a.App().GetState(), CApp::STATE_DESKTOP);
  }
}

TEST(AppStart, FinalScreenFadesOnceAfterRepeatedEscapes) {
  AppScenario a;
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(apptest::ToLogin(a));
  apptest::ChooseProfile(a, 3);
  ASSERT_EQ(a.App().GetState(), CApp::STATE_FINAL);
  a.Next().KeyDown(platform::DIK_ESCAPE);
  a.Frame();
  a.Next().KeyUp(platform::DIK_ESCAPE);
  a.Frame();  // the fade starts (alpha 0.2 after this frame's update)
  const float first = Nembra::g_ScreenFader.m_Alpha;
  for (int i = 0; i < 4; ++i) {
    a.Next().KeyDown(platform::DIK_ESCAPE);
    a.Frame();
    a.Next().KeyUp(platform::DIK_ESCAPE);
    if (a.App().GetState() != CApp::STATE_FINAL) break;
    a.Frame();
    if (a.App().GetState() != CApp::STATE_FINAL) break;
    EXPECT_GT(Nembra::g_ScreenFader.m_Alpha, first) << "the fade started again";
  }
  EXPECT_EQ(a.App().GetState(), CApp::STATE_CREDITS);
  EXPECT_NEAR(a.FrameNumber(), 0, 1000);
}

TEST(AppStart, CreditsAndLoadingTextFollowTheMenuLanguage) {
  struct Case {
    const wchar_t* code;
    const char* credits;
    const wchar_t* loading;
  };
  for (const Case& c : {Case{L"SPA", "Credits_ES.txt", L"Cargando . . ."},
                        Case{L"RUS", "Credits_RU.txt", L"\u0417\u0430\u0433\u0440\u0443\u0437\u043a\u0430 . . ."},
                        Case{L"XYZ", "Credits_EN.txt", L"Loading . . ."}}) {
    AppScenario a;
    ASSERT_TRUE(a.Ready()) << a.Problem();
    ASSERT_TRUE(apptest::ToMainMenu(a));
    a.Run(6);
    g_pMainMenu->m_LanguageCode = c.code;
    EXPECT_EQ(CreditsFileFor(c.code), c.credits);
    g_pMainMenu->m_Page = CMainMenu::PAGE_CREDITS;
    a.ClearStateLog();
    a.Frame();
    EXPECT_EQ(a.StateLog(), Log({"1 -> 11"}));
    ASSERT_NE(a.App().GetCredits(), nullptr);
    a.Run(20);
    a.Next().Press(0);
    a.Frame();
    a.Next().Release(0);
    ASSERT_TRUE(a.RunUntilState(CApp::STATE_MAIN_MENU, 10));
    a.Run(6);
    g_pMainMenu->m_LanguageCode = c.code;
    g_pMainMenu->m_Page = CMainMenu::PAGE_START;
    ASSERT_TRUE(a.RunUntilState(CApp::STATE_LOADING, 10));
    a.Frame();
    EXPECT_EQ(a.Last().FindText(c.loading).size(), 1u);
  }
}

TEST(AppStart, ExitScreenQuitsOnActionOrEscapeAndShutdownDeletesEverything) {
  for (int key : {platform::DIK_SPACE, platform::DIK_ESCAPE}) {
    AppScenario a;
    ASSERT_TRUE(a.Ready()) << a.Problem();
    ASSERT_TRUE(apptest::ToMainMenu(a));
    a.Run(6);
    g_pMainMenu->m_Page = CMainMenu::PAGE_EXIT;
    a.Frame();
    ASSERT_EQ(a.App().GetState(), CApp::STATE_EXIT);
    ASSERT_NE(a.App().GetBuyNowScreen(), nullptr);
    a.Run(3);
    EXPECT_FALSE(a.Ended());
    a.Tap(key);
    a.Frame();
    EXPECT_TRUE(a.Ended());
    EXPECT_EQ(g_pMainMenu, nullptr);
    EXPECT_EQ(g_pComicViewer, nullptr);
    EXPECT_EQ(g_pBuyNowButton, nullptr);
    EXPECT_EQ(a.App().GetBuyNowScreen(), nullptr);
    EXPECT_EQ(Nembra::g_pBitmapFontFactory, nullptr);
    EXPECT_EQ(a.App().GetExitCode(), 0);
  }
}

TEST(AppStart, ADeviceThatCannotBeMadeGivesTheStartUpErrorAndExitCodeOne) {
  platform::SetBackend(platform::Backend::Headless);
  platform::headless::ResetGraphics();
  platform::headless::Controls().failDeviceCreation = true;
  testing::internal::CaptureStderr();
  KarvessaRunOptions options;
  options.dataFolder = std::string(KARVESSA_DEMO_DATA_DIR) + "/";
  options.windowed = true;
  const int code = RunKarvessa(options);
  const std::string err = testing::internal::GetCapturedStderr();
  platform::headless::ResetGraphics();
  EXPECT_EQ(code, 1);
  EXPECT_NE(err.find(Nembra::INIT_ERROR_TEXT), std::string::npos) << err;
  // What the start-up had made is given back.
  EXPECT_EQ(g_pMainMenu, nullptr);
  EXPECT_EQ(g_pBuyNowButton, nullptr);
  EXPECT_EQ(Nembra::g_pBitmapFontFactory, nullptr);
  EXPECT_EQ(g_pCurrentMusic, nullptr);
}

TEST(AppStart, EntryActionsRestartTheTitleMusicAndHideTheTimerByWhereTheyComeFrom) {
  AppScenario a(apptest::QuietLevel());
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(apptest::ToLogin(a));
  CApp& app = a.App();
  // Restarted: the title music made current again (a stand-in cleared first).
  const auto restarts = [&](int from, int to) {
    app.ChangeState(from);
    g_pCurrentMusic = nullptr;
    app.ChangeState(to);
    const bool restarted = g_pCurrentMusic == Nembra::g_pStreamingSoundFactory->Get(CApp::TITLE_MUSIC);
    if (!g_pCurrentMusic) g_pCurrentMusic = Nembra::g_pStreamingSoundFactory->Get(CApp::TITLE_MUSIC);
    return restarted;
  };
  EXPECT_TRUE(restarts(CApp::STATE_LOGIN, CApp::STATE_MAIN_MENU));
  EXPECT_TRUE(restarts(CApp::STATE_PLAYING, CApp::STATE_LEVEL_OVER));
  EXPECT_TRUE(restarts(CApp::STATE_LOGIN, CApp::STATE_FINAL));
  EXPECT_FALSE(restarts(CApp::STATE_LOGIN, CApp::STATE_COMIC));
  EXPECT_FALSE(restarts(CApp::STATE_DESKTOP, CApp::STATE_COMIC));
  EXPECT_TRUE(restarts(CApp::STATE_LEVEL_OVER, CApp::STATE_COMIC));
  EXPECT_FALSE(restarts(CApp::STATE_COMIC, CApp::STATE_DESKTOP));
  EXPECT_FALSE(restarts(CApp::STATE_LOGIN, CApp::STATE_DESKTOP));
  EXPECT_TRUE(restarts(CApp::STATE_LEVEL_OVER, CApp::STATE_DESKTOP));
  EXPECT_FALSE(restarts(CApp::STATE_MAIN_MENU, CApp::STATE_LOGIN));
  // The title music repeats and is not rewound by a restart.
  EXPECT_TRUE(g_pCurrentMusic->GetStream()->GetRepeat());
  // A level script's music takes over from the title music: one stream plays.
  Nembra::CAudiereSound* title = g_pCurrentMusic;
  ASSERT_TRUE(title->IsPlaying());
  WriteFile(a.DataFolder() + "Scripts/MusicSwap.lua", "PlayMP3(\"MissionComplete.ogg\")\n");
  ASSERT_TRUE(g_GameScript.RunFile("MusicSwap.lua"));
  ASSERT_NE(g_pCurrentMusic, title);
  EXPECT_TRUE(g_pCurrentMusic->IsPlaying());
  EXPECT_TRUE(g_pCurrentMusic->GetStream()->GetRepeat());
  EXPECT_FALSE(title->IsPlaying());
  app.ChangeState(CApp::STATE_MAIN_MENU);

  // Effects stop on every way out of play and the in-game PDA, not between them.
  Nembra::CWaveSound* loop = Nembra::g_pWaveSoundFactory->Get("CollectEnergy.wav");
  ASSERT_NE(loop->GetAudioPath(), nullptr);
  const auto voicesAfter = [&](std::initializer_list<int> states) {
    app.ChangeState(*states.begin());
    loop->SetRepeats(Nembra::CSound::REPEAT_INFINITE);
    loop->Play(false);
    EXPECT_EQ(loop->GetAudioPath()->VoiceCount(), 1);
    for (auto s = states.begin() + 1; s != states.end(); ++s) app.ChangeState(*s);
    const int voices = loop->GetAudioPath()->VoiceCount();
    loop->Stop();
    return voices;
  };
  EXPECT_EQ(voicesAfter({CApp::STATE_PLAYING, CApp::STATE_INGAME_PDA, CApp::STATE_PLAYING}), 1);
  EXPECT_EQ(voicesAfter({CApp::STATE_PLAYING, CApp::STATE_DEATH}), 0);
  EXPECT_EQ(voicesAfter({CApp::STATE_INGAME_PDA, CApp::STATE_MAIN_MENU}), 0);
  EXPECT_EQ(voicesAfter({CApp::STATE_MAIN_MENU, CApp::STATE_LOGIN}), 1);

  CLevelTimer timer;
  const auto hidden = [&](int from) {
    app.ChangeState(from);
    app.GetDigitalTimer()->Show(&timer, 60.0f);
    app.ChangeState(CApp::STATE_PLAYING);
    return !app.GetDigitalTimer()->IsVisible();
  };
  EXPECT_FALSE(hidden(CApp::STATE_DEATH));
  EXPECT_FALSE(hidden(CApp::STATE_INGAME_PDA));
  EXPECT_TRUE(hidden(CApp::STATE_COMIC));
  EXPECT_TRUE(hidden(CApp::STATE_DESKTOP));
  app.GetDigitalTimer()->Hide();
  app.ChangeState(CApp::STATE_MAIN_MENU);
  // A state outside the table does nothing.
  app.ChangeState(42);
  a.Frame();
  EXPECT_EQ(app.GetState(), 42);
  EXPECT_TRUE(a.Last().sprites.empty());
  EXPECT_TRUE(a.Last().texts.empty());
  app.ChangeState(CApp::STATE_MAIN_MENU);
}
