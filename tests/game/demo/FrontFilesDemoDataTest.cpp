// The generator's front-end files, read by the game's own readers from a
// temporary copy (the store may write next to what it reads).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine/util/KeyValueFile.h"
#include "frontend/ProfileStore.h"
#include "frontend/screens/BuyNow.h"
#include "frontend/screens/CreditsText.h"
#include "frontend/screens/LogoList.h"
#include "game/demo/ProfileTestSupport.h"

namespace fs = std::filesystem;

namespace {

class FrontFilesDemoData : public profiletest::ProfileFixture {
 protected:
  // Copies the named files of the built data folder; false when there is none.
  bool CopyDemo(std::initializer_list<const char*> names) {
    const fs::path demo = KARVESSA_DEMO_DATA_DIR;
    for (const char* name : names) {
      std::error_code ec;
      if (!fs::copy_file(demo / name, fs::path(m_Dir.Path()) / name, ec)) return false;
    }
    platform::ClearPathCache();
    return true;
  }
};

}  // namespace

TEST_F(FrontFilesDemoData, SettingsLanguageAndPurchaseAddress) {
  if (!CopyDemo({"ConfigDefault.dat", "ConfigLastUsed.dat", "Language.dat", "Buynow.dat"}))
    GTEST_SKIP() << "no DataDEMO folder built";
  g_ProfileStore.m_CurrentProfile = 2;
  g_ProfileStore.LoadLastUsedSettings();
  const ProfileRecord& zero = g_ProfileStore.m_Profiles[0];
  EXPECT_EQ(zero.gamma, 500);
  EXPECT_EQ(zero.effects, 800);
  EXPECT_EQ(zero.music, 700);
  EXPECT_EQ(zero.cameraType, 0u);
  const uint32_t keys[6] = {zero.moveUp, zero.moveDown, zero.moveLeft, zero.moveRight, zero.action, zero.ability};
  const uint32_t expected[6] = {17, 31, 30, 32, 57, 18};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(keys[i], expected[i]) << i;
  }
  EXPECT_EQ(Get("ConfigLastUsed.dat"), Get("ConfigDefault.dat")) << "the last-used file starts as the defaults";
  EXPECT_EQ(Nembra::CKeyValueFile::GetValue(L"Language", L"InitLanguage", m_Dir.File("Language.dat")), L"ENG");
  const std::string buynow = Get("Buynow.dat");
  EXPECT_EQ(ReadBuyNowAddress(reinterpret_cast<const uint8_t*>(buynow.data()), buynow.size()), "https://example.org/");
  EXPECT_FALSE(Exists("Profile0.dat")) << "the generator never writes profiles";
}

TEST_F(FrontFilesDemoData, LogosAndCreditsInThreeLanguages) {
  if (!CopyDemo({"Logos.dat", "Credits_EN.txt", "Credits_ES.txt", "Credits_RU.txt"}))
    GTEST_SKIP() << "no DataDEMO folder built";
  const auto logos = LoadLogoList(m_Dir.File("Logos.dat"));
  ASSERT_EQ(logos.size(), 2u);
  for (const LOGO_ENTRY& logo : logos) {
    EXPECT_GT(logo.width, 0);
    EXPECT_GT(logo.height, 0);
    EXPECT_GT(logo.seconds, 0.0f);
  }
  const wchar_t* marks[3] = {
      L"Programming", L"Programaci\u00F3n",
      L"\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u0438\u0440\u043E\u0432\u0430\u043D\u0438\u0435"};
  const char* files[3] = {"Credits_EN.txt", "Credits_ES.txt", "Credits_RU.txt"};
  for (int language = 0; language < 3; ++language) {
    const auto lines = LoadCreditLines(m_Dir.File(files[language]));
    ASSERT_GT(lines.size(), 10u) << files[language];
    int headings = 0;
    bool found = false;
    for (const CREDIT_LINE& line : lines) {
      ASSERT_FALSE(line.text.empty()) << files[language];
      EXPECT_EQ(line.text.back(), L'\r') << "CR LF line ends";
      headings += line.IsHeading();
      found = found || line.text == std::wstring(marks[language]) + L"\r";
    }
    EXPECT_GE(headings, 5) << files[language];
    EXPECT_TRUE(found) << files[language];
  }
}

TEST(FrontFilesDemoDataRebuild, PlayersFilesSurviveARebuild) {
  testsupport::TempDir dir;
  const std::string data = dir.Path() + "/DataDEMO";
  const std::string run = "\"" + std::string(KARVESSA_DATAGEN) + "\" \"" + data + "\"";
  ASSERT_EQ(std::system(run.c_str()), 0);
  EXPECT_FALSE(fs::exists(data + "/Profile0.dat"));
  EXPECT_FALSE(fs::exists(data + "/Config0.dat"));
  // The player changed the settings and the language and made a profile.
  dir.Write("DataDEMO/ConfigLastUsed.dat", " [Monitor]\r\n Gamma=123\r\n");
  dir.Write("DataDEMO/Language.dat", std::string("\xFF\xFE[\0\n\0", 6));
  dir.Write("DataDEMO/Profile0.dat", "player");
  ASSERT_EQ(std::system(run.c_str()), 0);
  EXPECT_EQ(testsupport::ReadFileBytes(data + "/ConfigLastUsed.dat"), " [Monitor]\r\n Gamma=123\r\n");
  EXPECT_EQ(testsupport::ReadFileBytes(data + "/Language.dat"), std::string("\xFF\xFE[\0\n\0", 6));
  EXPECT_EQ(testsupport::ReadFileBytes(data + "/Profile0.dat"), "player");
  EXPECT_NE(testsupport::ReadFileBytes(data + "/ConfigDefault.dat").find("Gamma=500"), std::string::npos);
}
