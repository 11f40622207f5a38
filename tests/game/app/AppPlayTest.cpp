// The application's in-level states: play, the death screen, the in-game
// PDA and the level over, and a level that cannot start; headless on the
// generated demo data with 0.1 s frames.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/resources/Texture.h"
#include "engine/sound/AudiereSound.h"
#include "engine/util/TextTable.h"
#include "frontend/pda/apps/PDAAppLogin.h"
#include "game/app/AppTestSupport.h"
#include "game/level/LevelDescriptions.h"
#include "game/world/GameGlobals.h"
#include "platform/Files.h"
#include "platform/SoundTestSupport.h"
#include "support/FileSizeLimit.h"

using apptest::Log;
using scenario::AppScenario;

namespace {

CLevel& Level() { return g_pGameWorld->GetLevel(); }

class AppPlay : public apptest::QuietApp {};

CPDAAppLogin& Login() { return *static_cast<CPDAAppLogin*>(g_pPDA->GetApp(PDA_APP_LOGIN)); }

}  // namespace

TEST_F(AppPlay, NewProfileSeesTheStartComicThenPlays) {
  ASSERT_TRUE(apptest::ToLogin(a));
  a.ClearStateLog();
  apptest::ChooseProfile(a, 0);
  g_pComicViewer->finished = 1;
  a.Frame();
  EXPECT_EQ(a.StateLog(), Log({"2 -> 7", "7 -> 3"}));
  EXPECT_EQ(Level().GetInitScript(), "Quiet_Init.lua");
  EXPECT_EQ(a.App().GetExitCode(), 0);
  EXPECT_FALSE(a.Ended());
}

TEST_F(AppPlay, EscapeOpensThePdaInAPlayingFrameAndTheFadeBringsPlayAndMusicBack) {
  ASSERT_TRUE(apptest::ToPlaying(a));
  a.Run(8);
  ASSERT_TRUE(g_pCurrentMusic && g_pCurrentMusic->IsPlaying());
  // The music has been heard a little (the output plays it in real time:
  // waited for on its own clock, no frame passing meanwhile).
  constexpr uint64_t HEARD = 4410;  // frames: a tenth of a second or more
  platform::OutputStream* music = g_pCurrentMusic->GetStream().get();
  soundtest::PumpUntil([&] { return music->FramesPlayed() > HEARD; }, 3.0);
  a.Next().KeyDown(platform::DIK_ESCAPE);
  a.Frame();
  a.Next().KeyUp(platform::DIK_ESCAPE);
  a.ClearStateLog();
  a.Frame();
  EXPECT_EQ(a.StateLog(), Log({"3 -> 5"}));
  EXPECT_FALSE(g_pCurrentMusic->IsPlaying());
  const uint64_t paused = g_pCurrentMusic->GetStream()->FramesPlayed();
  EXPECT_GT(paused, HEARD);
  // That frame was still drawn as play: the scene, no PDA frame.
  EXPECT_TRUE(a.Last().FindSprites(g_pPDA->m_Frame.GetTexture() ? g_pPDA->m_Frame.GetTexture()->GetTexture() : nullptr)
                  .empty());
  EXPECT_EQ(g_pPDA->GetCurrentAppIndex(), PDA_APP_OBJECTIVES);
  a.Run(3);
  // Escape again: a fade to black, then play with the music resumed, not rewound.
  a.Tap(platform::DIK_ESCAPE);
  EXPECT_EQ(a.App().GetState(), CApp::STATE_INGAME_PDA);
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_PLAYING, 8));
  EXPECT_TRUE(g_pCurrentMusic->IsPlaying());
  EXPECT_GE(g_pCurrentMusic->GetStream()->FramesPlayed(), paused) << "the music was rewound";
}

TEST_F(AppPlay, DeathAndFinishInOneFrameGoToTheDeathScreenAndTheRestartStaysInPlay) {
  ASSERT_TRUE(apptest::ToPlaying(a));
  a.Run(3);
  a.ClearStateLog();
  Level().SetFinished(true);
  g_pGameWorld->GetPlayer().Deactivate();
  a.Frame();
  EXPECT_EQ(a.StateLog(), Log({"3 -> 6", "6 -> 4"}));
  a.Run(2);
  ASSERT_FALSE(a.Last().FindTextContaining(L"ESC").empty());
  a.Tap(platform::DIK_SPACE);
  EXPECT_EQ(a.App().GetState(), CApp::STATE_PLAYING);
  EXPECT_FALSE(Level().IsFinished());
  a.Run(5);
  EXPECT_EQ(a.App().GetState(), CApp::STATE_PLAYING);
  // Die again; Escape leaves for the main menu.
  g_pGameWorld->GetPlayer().Deactivate();
  a.Frame();
  ASSERT_EQ(a.App().GetState(), CApp::STATE_DEATH);
  a.ClearStateLog();
  a.Tap(platform::DIK_ESCAPE);
  EXPECT_EQ(a.StateLog(), Log({"4 -> 1"}));
}

TEST_F(AppPlay, RadiationOverlayFollowsThePlayersValue) {
  ASSERT_TRUE(apptest::ToPlaying(a));
  a.Run(2);
  platform::ITexture* green = a.App().GetRadiationOverlay().GetTexture()->GetTexture();
  EXPECT_TRUE(a.Last().FindSprites(green).empty());
  g_pGameWorld->GetPlayer().SetRadiation(0.5f);
  a.Frame();
  const auto overlay = a.Last().FindSprites(green);
  ASSERT_EQ(overlay.size(), 1u);
  EXPECT_EQ(overlay[0]->color >> 24, 100u);
  EXPECT_FLOAT_EQ(overlay[0]->Width(), 800.0f);
  EXPECT_FLOAT_EQ(overlay[0]->Height(), 600.0f);
}

TEST_F(AppPlay, LevelOverRaisesTheLevelOnceAfterTheFirstSecond) {
  ASSERT_TRUE(apptest::ToPlaying(a));
  a.Run(2);
  Level().SetFinished(true);
  a.Frame();
  ASSERT_EQ(a.App().GetState(), CApp::STATE_LEVEL_OVER);
  // Action during the first second does nothing.
  a.Tap(platform::DIK_SPACE);
  a.Tap(platform::DIK_SPACE);
  EXPECT_EQ(a.App().GetState(), CApp::STATE_LEVEL_OVER);
  EXPECT_EQ(g_ProfileStore.GetCurrentProfile().levelReached, 0u);
  a.Run(7);
  EXPECT_EQ(a.Last().FindText(Nembra::GetText("TXT_KEY_TO_CONTINUE")).size(), 1u);
  a.ClearStateLog();
  a.Tap(platform::DIK_SPACE);
  a.Tap(platform::DIK_SPACE);
  EXPECT_EQ(g_ProfileStore.GetCurrentProfile().levelReached, 1u);
  EXPECT_EQ(a.StateLog(), Log({"6 -> 8"}));
  EXPECT_EQ(g_pPDA->GetCurrentAppIndex(), PDA_APP_DESKTOP);
}

TEST_F(AppPlay, LevelOverWithoutThePdaStillEndsOnTheDesktopOnce) {
  ASSERT_TRUE(apptest::ToPlaying(a));
  GetLevelDescription(1).showPDA = false;
  Level().SetFinished(true);
  a.Run(12);
  a.ClearStateLog();
  for (int i = 0; i < 3; ++i) a.Tap(platform::DIK_SPACE);
  EXPECT_EQ(g_ProfileStore.GetCurrentProfile().levelReached, 1u);
  EXPECT_EQ(a.StateLog(), Log({"6 -> 8"}));
}

TEST_F(AppPlay, QuitFromLevelOverKeepsTheFinishedLevel) {
  ASSERT_TRUE(apptest::ToPlaying(a));
  Level().SetFinished(true);
  a.Frame();
  ASSERT_EQ(a.App().GetState(), CApp::STATE_LEVEL_OVER);
  a.App().Quit();
  a.Frame();
  ASSERT_TRUE(a.Ended());
  EXPECT_EQ(g_ProfileStore.GetCurrentProfile().levelReached, 1u);
}

TEST_F(AppPlay, AProfileThatCannotBeWrittenIsToldKeptAndWrittenOnceItCan) {
  ASSERT_TRUE(apptest::ToLogin(a));
  a.Run(6);  // the login's fade from black
  // The notice's first words (the login's panel wraps it).
  const std::wstring told = Nembra::GetText("TXT_PROFILE_NOT_SAVED").substr(0, 16);
  const std::string file = a.DataFolder() + "Profile0.dat";
  {
    testsupport::FileSizeLimit full(16);  // every save of the game fails
    ASSERT_TRUE(full.Active());
    apptest::ClickRect(a, Login().m_Profiles[0].m_Rect);
    a.Next().Type(L"player");
    a.Frame();
    a.Tap(platform::DIK_RETURN);
    EXPECT_EQ(a.Last().FindTextContaining(told).size(), 1u) << "the login tells the player";
    apptest::ClickRect(a, Login().m_Notice.m_Ok.m_Rect);
    a.Frame();
    EXPECT_TRUE(a.Last().FindTextContaining(told).empty());
    apptest::ClickRect(a, Login().m_Profiles[0].m_Rect);  // log in
    ASSERT_TRUE(a.RunUntilState(CApp::STATE_COMIC, 10));
    EXPECT_TRUE(g_ProfileStore.GetCurrentProfile().inUse) << "the profile lives on in memory";
    g_pComicViewer->finished = 1;
    a.Frame();
    ASSERT_EQ(a.App().GetState(), CApp::STATE_PLAYING);
    Level().SetFinished(true);
    a.Run(12);
    a.Tap(platform::DIK_SPACE);
    EXPECT_EQ(a.App().GetState(), CApp::STATE_LEVEL_OVER) << "the level over stays to tell";
    EXPECT_EQ(a.Last().FindTextContaining(told).size(), 1u);
    EXPECT_FALSE(platform::FileExists(file));
  }
  a.ClearStateLog();
  a.Tap(platform::DIK_SPACE);  // writing works again: the next press saves and goes on
  EXPECT_EQ(a.StateLog(), Log({"6 -> 8"}));
  ASSERT_TRUE(platform::FileExists(file));
  CProfileStore fromDisk;
  fromDisk.LoadAllProfiles();
  EXPECT_EQ(fromDisk.m_Profiles[0].name, L"player");
  EXPECT_EQ(fromDisk.m_Profiles[0].levelReached, 1u);
}

TEST_F(AppPlay, InGamePdaKeysAndResults) {
  ASSERT_TRUE(apptest::ToPlaying(a));
  a.Run(6);
  a.Tap(platform::DIK_ESCAPE);
  ASSERT_EQ(a.App().GetState(), CApp::STATE_INGAME_PDA);
  // F1 restarts at once and fades back to play.
  a.Tap(platform::DIK_F1);
  EXPECT_EQ(a.App().GetInGamePending(), CApp::STATE_PLAYING);
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_PLAYING, 8));
  a.Run(6);
  // The reset confirmation returns at once; a key released in that frame starts no fade over the play.
  a.Tap(platform::DIK_ESCAPE);
  ASSERT_EQ(a.App().GetState(), CApp::STATE_INGAME_PDA);
  ASSERT_FALSE(Nembra::g_ScreenFader.m_Shown);
  a.Next().KeyDown(platform::DIK_ESCAPE);
  a.Frame();
  g_pPDA->m_ResultCode = PDA_RESULT_RESET_LEVEL;
  a.ClearStateLog();
  a.Next().KeyUp(platform::DIK_ESCAPE);
  a.Frame();
  EXPECT_EQ(a.StateLog(), Log({"5 -> 3"}));
  EXPECT_FALSE(Nembra::g_ScreenFader.m_Shown);
  a.Run(6);
  // Q leaves for the menu without a fade.
  a.Tap(platform::DIK_ESCAPE);
  a.ClearStateLog();
  a.Tap(platform::DIK_Q);
  EXPECT_EQ(a.StateLog(), Log({"5 -> 1"}));
}

TEST_F(AppPlay, ExitConfirmationIgnoresEscapeAndF1WhileItFades) {
  ASSERT_TRUE(apptest::ToPlaying(a));
  a.Run(6);
  a.Tap(platform::DIK_ESCAPE);
  ASSERT_EQ(a.App().GetState(), CApp::STATE_INGAME_PDA);
  g_pPDA->m_ResultCode = PDA_RESULT_EXIT;
  a.ClearStateLog();
  a.Frame();
  a.Tap(platform::DIK_ESCAPE);
  a.Tap(platform::DIK_F1);
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_MAIN_MENU, 8));
  EXPECT_EQ(a.StateLog(), Log({"5 -> 1"}));
  a.Run(5);
  EXPECT_EQ(a.App().GetState(), CApp::STATE_MAIN_MENU);
}

// The same start on data with a file taken away or spoilt.
TEST(AppPlayData, WithoutTheLoginFontANameIsTypedInAnotherAndTheGameStarts) {
  AppScenario::Options o = apptest::QuietLevel();
  o.prepareData = [quiet = o.prepareData](const std::string& data) {
    quiet(data);
    std::remove((data + "PDA_Std.dat").c_str());
    std::remove((data + "PDA_Std.png").c_str());
  };
  AppScenario a(o);
  ASSERT_TRUE(a.Ready() && apptest::ToLogin(a)) << a.Problem();
  a.Run(6);
  apptest::ClickRect(a, Login().m_Profiles[0].m_Rect);
  a.Next().Type(L"Ana");
  a.Frame();
  EXPECT_EQ(a.Last().FindText(L"Ana_").size(), 1u) << "the typed name is shown";
  a.Tap(platform::DIK_RETURN);
  EXPECT_EQ(g_ProfileStore.m_Profiles[0].name, L"Ana");
  apptest::ClickRect(a, Login().m_Profiles[0].m_Rect);
  EXPECT_TRUE(a.RunUntilState(CApp::STATE_COMIC, 10)) << "the game starts";
  EXPECT_EQ(std::count_if(a.LogLines().begin(), a.LogLines().end(), [](const std::string& line) {
              return line.find("font 'PDA_Std' is missing: the login shows and takes profile names in "
                               "'PDA_Std_Italic'") != std::string::npos;
            }), 1);
}

TEST(AppPlayData, WithoutItsLevelDescriptionALevelEndsTheRunNamingTheFile) {
  AppScenario::Options o;
  o.prepareData = [](const std::string& data) {
    std::remove((data + "Level4_EN.dat").c_str());
    // The table outlives a run: an earlier run in this process may have filled the record.
    for (int i = 0; i < LEVEL_DESCRIPTION_COUNT; ++i) g_LevelDescriptions[i] = CLevelDescription(i);
  };
  AppScenario a(o);
  ASSERT_TRUE(a.Ready() && apptest::ToLogin(a)) << a.Problem();
  apptest::ChooseProfile(a, 1);
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_DESKTOP, 10));
  g_pPDA->m_ResultCode = PDA_RESULT_START_GAME;
  ASSERT_TRUE(a.RunUntil([&] { return a.Ended(); }, 60)) << ::testing::PrintToString(a.StateLog());
  EXPECT_EQ(a.App().GetExitCode(), 1);
  auto said = [&](const std::string& text) {
    return std::count_if(a.LogLines().begin(), a.LogLines().end(),
                         [&](const std::string& line) { return line.find(text) != std::string::npos; });
  };
  EXPECT_EQ(said("missing: level description Level4_EN.dat (language ENG)"), 1);
  EXPECT_EQ(said("level 1 has no level script: its description Level4_EN.dat was not read; the game ends"), 1);
  EXPECT_EQ(said("\"\""), 0) << "no message names an empty script";
  EXPECT_EQ(std::count(a.LogLines().begin(), a.LogLines().end(), "missing: texture "), 0) << "nor an empty map";
}

TEST(AppPlayData, ALevelScriptWithALuaErrorEndsTheRunWithExitCodeOne) {
  AppScenario::Options o;
  o.prepareData = [](const std::string& data) {
    apptest::WriteFile(data + "Scripts/LevelTutorial.lua", "this is not lua (\n");
  };
  AppScenario a(o);
  ASSERT_TRUE(a.Ready() && apptest::ToLogin(a)) << a.Problem();
  apptest::ChooseProfile(a, 0);
  g_pComicViewer->finished = 1;
  a.Run(2);
  EXPECT_TRUE(a.Ended());
  EXPECT_EQ(a.App().GetExitCode(), 1);
  EXPECT_TRUE(std::any_of(a.LogLines().begin(), a.LogLines().end(),
                          [](const std::string& line) { return line.find("LevelTutorial.lua") != std::string::npos; }));
}
