// The application's screens on the OpenGL device: the states a player sees, each kept as a picture.
#include <gtest/gtest.h>

#include "frontend/comic/ComicViewer.h"
#include "frontend/screens/LogoSequence.h"
#include "frontend/menu/MainMenu.h"
#include "frontend/ProfileStore.h"
#include "frontend/pda/PDA.h"
#include "game/world/GameWorld.h"
#include "platform/Input.h"
#include "frontend_images/PictureProbes.h"
#include "game/app/AppTestSupport.h"
#include "scenario/AppScenario.h"
#include "support/FileSizeLimit.h"

using scenario::AppScenario;

namespace {

AppScenario::Options Gl() {
  AppScenario::Options o;
  o.gl = true;
  return o;
}

// How many of the probed pixels are not black.
int LitProbes(const std::vector<uint32_t>& pixels) { return probe::LitProbes(pixels, 50, 0x10); }

}  // namespace

TEST(AppImages, EveryScreenOfARun) {
  AppScenario a(Gl());
  if (!a.Ready()) GTEST_SKIP() << a.Problem();
  a.Run(3);
  ASSERT_TRUE(a.Capture("app_00_logos"));
  a.App().GetLogoSequence()->done = true;
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_MAIN_MENU, 3));
  a.Run(8);
  ASSERT_TRUE(a.Capture("app_01_main_menu"));
  EXPECT_GT(LitProbes(a.Pixels()), 100);

  g_pMainMenu->m_Page = CMainMenu::PAGE_START;
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_LOADING, 10));
  ASSERT_TRUE(a.Capture("app_10_loading"));
  a.Run(8);
  ASSERT_TRUE(a.Capture("app_02_login"));
  EXPECT_GT(LitProbes(a.Pixels()), 40);

  g_ProfileStore.GetCurrentProfile().levelReached = 1;
  g_pPDA->m_ResultCode = PDA_RESULT_PROFILE_CHOSEN;
  a.Frame();
  ASSERT_EQ(a.App().GetState(), CApp::STATE_DESKTOP);
  a.Run(4);
  ASSERT_TRUE(a.Capture("app_08_desktop"));

  g_pPDA->m_ResultCode = PDA_RESULT_CHANGE_PROFILE;
  a.Frame();
  ASSERT_EQ(a.App().GetState(), CApp::STATE_LOGIN);
  apptest::ChooseProfile(a, 0);
  ASSERT_EQ(a.App().GetState(), CApp::STATE_COMIC);
  a.Run(12);
  ASSERT_TRUE(a.Capture("app_07_comic"));
  g_pComicViewer->finished = 1;
  a.Frame();
  ASSERT_EQ(a.App().GetState(), CApp::STATE_PLAYING);
  a.Run(6);
  // The tutorial's floor with the player on it, and the HUD.
  ASSERT_TRUE(a.Capture("app_03_playing"));
  EXPECT_GT(LitProbes(a.Pixels()), 40);
  g_pGameWorld->GetPlayer().SetRadiation(0.5f);
  ASSERT_TRUE(a.Capture("app_03_playing_radiation"));
  g_pGameWorld->GetPlayer().SetRadiation(0.0f);
  a.Tap(platform::DIK_ESCAPE);
  a.Run(4);
  ASSERT_TRUE(a.Capture("app_05_ingame_pda"));
  a.Tap(platform::DIK_ESCAPE);
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_PLAYING, 10));
  g_pGameWorld->GetPlayer().Deactivate();
  a.Frame();
  ASSERT_EQ(a.App().GetState(), CApp::STATE_DEATH);
  a.Run(3);
  ASSERT_TRUE(a.Capture("app_04_death"));
  a.Tap(platform::DIK_SPACE);
  g_pGameWorld->GetLevel().SetFinished(true);
  a.Run(14);
  ASSERT_EQ(a.App().GetState(), CApp::STATE_LEVEL_OVER);
  ASSERT_TRUE(a.Capture("app_06_level_over"));
  // A save that fails keeps the level over on screen, saying why.
  g_ProfileStore.GetCurrentProfile().inUse = 1;  // a profile to save
  g_ProfileStore.GetCurrentProfile().name = L"Ana";
  {
    testsupport::FileSizeLimit full(16);
    ASSERT_TRUE(full.Active());
    a.Tap(platform::DIK_SPACE);
  }
  ASSERT_EQ(a.App().GetState(), CApp::STATE_LEVEL_OVER);
  ASSERT_TRUE(a.Capture("app_06_level_over_not_saved"));
  // Its line stands between the title and the buy-now button, clear of the button's rows.
  auto white = [&](int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += probe::IsWhite(a.Pixels()[size_t(y) * 800 + size_t(x)], 180) ? 1 : 0;
    return n;
  };
  EXPECT_GT(white(200, 430, 600, 478), 100);
  EXPECT_EQ(white(150, 478, 300, 556), 0) << "no text beside the button";
}

TEST(AppImages, FinalCreditsAndExitScreens) {
  AppScenario a(Gl());
  if (!a.Ready()) GTEST_SKIP() << a.Problem();
  a.App().GetLogoSequence()->done = true;
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_MAIN_MENU, 3));
  a.Run(6);
  g_pMainMenu->m_Page = CMainMenu::PAGE_START;
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_LOGIN, 12));
  a.Run(6);
  g_ProfileStore.GetCurrentProfile().levelReached = 3;
  g_pPDA->m_ResultCode = PDA_RESULT_PROFILE_CHOSEN;
  a.Frame();
  ASSERT_EQ(a.App().GetState(), CApp::STATE_FINAL);
  a.Run(3);
  ASSERT_TRUE(a.Capture("app_09_final"));
  a.Tap(platform::DIK_ESCAPE);
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_CREDITS, 10));
  a.Run(15);
  ASSERT_TRUE(a.Capture("app_11_credits"));
  a.Tap(platform::DIK_ESCAPE);
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_MAIN_MENU, 10));
  a.Run(6);
  g_pMainMenu->m_Page = CMainMenu::PAGE_EXIT;
  a.Frame();
  ASSERT_EQ(a.App().GetState(), CApp::STATE_EXIT);
  a.Run(2);
  ASSERT_TRUE(a.Capture("app_12_exit"));
}
