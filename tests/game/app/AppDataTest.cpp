// Everything the application loads by name is in the generated demo data,
// where the game looks for it: the data folder itself (every resource
// folder is the data folder) and its Scripts folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/util/TextTable.h"
#include "platform/Platform.h"
#include "scenario/AppScenario.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

TEST(AppData, EveryFileTheApplicationLoadsIsGenerated) {
  const std::string data = KARVESSA_DEMO_DATA_DIR;
  if (!fs::is_directory(data)) GTEST_SKIP() << "no DataDEMO folder built";
  for (const char* name :
       {"GUI_Main_Background.jpg", "GUI_Main_Background_RU.jpg", CApp::RADIATION_IMAGE, "BuyNowButton.png",
        CApp::TITLE_MUSIC, "GUI_Font_SmallNumbers.png", "GUI_Font_SmallNumbers.dat", "GUI_Font_BigNumbers.png",
        "GUI_Font_BigNumbers.dat", "GUI_Font_Comic.png", "GUI_Font_Comic.dat", "Player.X", "Ene1CompletoAzul.X",
        "Ene1CompletoRojo.X", "Ene2CompletoAzul.X", "Ene2CompletoRojo.X", "Ene3CompletoAzul.X", "Ene3CompletoRojo.X",
        "Ene6CompletoAzul.X", "Ene6CompletoRojo.X", "Ene7CompletoAzul.X", "Ene7CompletoRojo.X", "Splat.X",
        "AbilityWave.X", "Logos.dat", "Credits_EN.txt", "Credits_ES.txt", "Credits_RU.txt", "Language.dat",
        "ConfigLastUsed.dat", "Texts.dat", "Scripts/LevelTutorial.lua", "Scripts/LevelTutorial_Init.lua"})
    EXPECT_TRUE(fs::is_regular_file(data + "/" + name)) << name;
}

// (Every text id the code names exists in every language: the data set's case.)
TEST(AppData, StartUpFilesLoadAndTheRussianTextsAreRead) {
  scenario::AppScenario a;
  ASSERT_TRUE(a.Ready()) << a.Problem();
  // The overlay and the background came from the data, not the factories' defaults.
  ASSERT_NE(a.App().GetRadiationOverlay().GetTexture(), nullptr);
  EXPECT_EQ(a.App().GetRadiationOverlay().m_Width, 256);
  EXPECT_EQ(a.App().GetBackground().m_Width, 1024);
  Nembra::CTextTable::Load(L"RUS");
  EXPECT_EQ(Nembra::GetText("TXT_KEY_TO_CONTINUE").substr(0, 7), L"\u041D\u0430\u0436\u043C\u0438\u0442\u0435");
}
