// Nothing the game asks of the generated data is missing: every screen of
// the front end in each of the three languages, and the tutorial played,
// log no "missing: " line (no texture, mesh, sound, font, particle file,
// text id, bone, animation set or glyph served by a stand-in).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/util/TextTable.h"
#include "frontend/comic/ComicViewer.h"
#include "game/app/AppTestSupport.h"
#include "game/world/GameGlobals.h"
#include "tools/formats/TextFiles.h"

using scenario::AppScenario;

namespace {

std::vector<std::string> MissingLines(const AppScenario& a) {
  std::vector<std::string> out;
  for (const std::string& line : a.LogLines())
    if (line.rfind("missing: ", 0) == 0) out.push_back(line);
  return out;
}

AppScenario::Options InLanguage(const std::wstring& language) {
  AppScenario::Options o;
  o.frameTime = 0.05f;
  o.prepareData = [language](const std::string& data) {
    apptest::WriteFile(data + "Language.dat",
                       formats::KeyValueFileBytes({{L"InitLanguage", {{L"Language", language}}}}));
  };
  return o;
}

// Walks, turns, fires both colours and presses Action for a while.
void Wander(AppScenario& a, int frames) {
  const int keys[] = {platform::DIK_W, platform::DIK_D, platform::DIK_S, platform::DIK_A};
  for (int i = 0; i < frames && a.App().GetState() == CApp::STATE_PLAYING; ++i) {
    scenario::FrameInput& in = a.Next();
    if (i % 100 == 0) in.KeyDown(keys[(i / 100) % 4]);
    if (i % 100 == 80) in.KeyUp(keys[(i / 100) % 4]);
    if (i % 30 == 5) in.Press(i % 60 == 5 ? 0 : 1);
    if (i % 30 == 7) in.Release(i % 60 == 7 ? 0 : 1);
    if (i % 45 == 20) in.KeyDown(platform::DIK_SPACE);
    if (i % 45 == 22) in.KeyUp(platform::DIK_SPACE);
    in.MoveTo(300 + (i * 7) % 200, 200 + (i * 3) % 150);
    a.Frame();
  }
}

class AppMissing : public ::testing::TestWithParam<const wchar_t*> {};

}  // namespace

TEST_P(AppMissing, EveryFrontEndScreenFindsItsAssetsTextsAndGlyphs) {
  AppScenario a(InLanguage(GetParam()));
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_MAIN_MENU, 600)) << "the logos play out";
  for (int page : {CMainMenu::PAGE_CONFIGURATION, CMainMenu::PAGE_LANGUAGE, CMainMenu::PAGE_EXIT_QUESTION,
                   CMainMenu::PAGE_MAIN}) {
    g_pMainMenu->m_Page = page;
    a.Run(15);
  }
  g_pMainMenu->m_Page = CMainMenu::PAGE_CREDITS;
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_CREDITS, 5));
  a.Run(60);
  a.Tap(platform::DIK_ESCAPE);
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_MAIN_MENU, 60));
  a.Run(15);
  g_pMainMenu->m_Page = CMainMenu::PAGE_START;
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_LOGIN, 60)) << "through the loading screen";
  a.Run(15);
  // The desktop between levels with each of its applications.
  apptest::ChooseProfile(a, 1);
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_DESKTOP, 30));
  for (int app : {PDA_APP_DESKTOP, PDA_APP_EMAIL, PDA_APP_GPS, PDA_APP_NETWORK, PDA_APP_CONFIG, PDA_APP_DESKTOP}) {
    g_pPDA->SetCurrentApp(app);
    a.Run(15);
  }
  // Every level played: the final screen, then the credits from it.
  g_pPDA->m_ResultCode = PDA_RESULT_CHANGE_PROFILE;
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_LOGIN, 30));
  apptest::ChooseProfile(a, CApp::LOADED_LEVELS);
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_FINAL, 60));
  a.Run(30);
  a.Tap(platform::DIK_SPACE);
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_CREDITS, 60));
  a.Run(30);
  a.Tap(platform::DIK_ESCAPE);
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_MAIN_MENU, 60));
  a.Run(15);
  g_pMainMenu->m_Page = CMainMenu::PAGE_EXIT;
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_EXIT, 5));
  a.Run(15);
  EXPECT_EQ(MissingLines(a), std::vector<std::string>());
}

TEST_P(AppMissing, TheTutorialPlayedFindsItsAssetsTextsAndGlyphs) {
  AppScenario a(InLanguage(GetParam()));
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(apptest::ToLogin(a));
  a.Run(10);
  apptest::ChooseProfile(a, 0);
  ASSERT_EQ(a.App().GetState(), CApp::STATE_COMIC);
  a.Run(30);
  g_pComicViewer->finished = 1;
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_PLAYING, 5));
  Wander(a, 400);
  // The in-game PDA and its objectives, then back; the death screen.
  a.Tap(platform::DIK_ESCAPE);
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_INGAME_PDA, 5));
  a.Run(15);
  a.Tap(platform::DIK_ESCAPE);
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_PLAYING, 30));
  Wander(a, 400);
  g_pGameWorld->GetPlayer().Deactivate();
  ASSERT_TRUE(a.RunUntilState(CApp::STATE_DEATH, 5));
  a.Run(15);
  EXPECT_EQ(MissingLines(a), std::vector<std::string>());
  // The run's log does carry such reports.
  Nembra::GetText("TXT_NOT_THERE");
  EXPECT_EQ(MissingLines(a), std::vector<std::string>{"missing: text TXT_NOT_THERE"});
}

INSTANTIATE_TEST_SUITE_P(Languages, AppMissing, ::testing::Values(L"ENG", L"SPA", L"RUS"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                           return platform::WideToUtf8(info.param);
                         });
