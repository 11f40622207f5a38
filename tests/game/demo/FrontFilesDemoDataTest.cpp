// The generator's front-end files, read by the game's own readers from a
// temporary copy (the store may write next to what it reads).
#include <gtest/gtest.h>

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
  EXPECT_EQ(profiletest::Settings(g_ProfileStore.m_Profiles[0]),
            (std::vector<int64_t>{500, 800, 700, 0, 17, 31, 30, 32, 57, 18}));

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
