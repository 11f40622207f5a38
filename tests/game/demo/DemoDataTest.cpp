// The generated demo data: what the game reads from it, and that the
// generator writes the same bytes every time.
#include <algorithm>
#include <filesystem>
#include <future>
#include <map>

#include "engine/scene/SceneManager.h"
#include "engine/util/KeyValueFile.h"
#include "game/GameTestSupport.h"
#include "game/level/LevelDescriptions.h"
#include "game/triggers/TriggerManager.h"

namespace {

namespace fs = std::filesystem;

class DemoDataTest : public gametest::ScriptedTest {
 protected:
  void SetUp() override {
    ScriptedTest::SetUp();
    ASSERT_TRUE(fs::is_directory(KARVESSA_DEMO_DATA_DIR)) << "the build writes " KARVESSA_DEMO_DATA_DIR;
    Nembra::g_DataDirectory = std::string(KARVESSA_DEMO_DATA_DIR) + "\\";
    for (int i = 0; i < LEVEL_DESCRIPTION_COUNT; ++i) g_LevelDescriptions[i] = CLevelDescription(i);
    g_PDADocuments.fill(CPDADocument());
  }
  void TearDown() override {
    for (int i = 0; i < LEVEL_DESCRIPTION_COUNT; ++i) g_LevelDescriptions[i] = CLevelDescription(i);
    g_PDADocuments.fill(CPDADocument());
    ScriptedTest::TearDown();
  }
};

bool HasCharIn(const std::wstring& text, wchar_t low, wchar_t high) {
  for (wchar_t c : text)
    if (c >= low && c <= high) return true;
  return false;
}

TEST_F(DemoDataTest, LevelDescriptionsParseInAllThreeLanguages) {
  const wchar_t* scripts[] = {L"LevelTutorial.lua", L"Level4.lua", L"Level8.lua"};
  const int enabled[] = {4, 8, 12};
  for (const wchar_t* code : {L"ENG", L"SPA", L"RUS"}) {
    SCOPED_TRACE(Nembra::WideToMultiByte(code));
    LoadLevelDescriptions(code);
    for (int i = 0; i < 3; ++i) {
      const CLevelDescription& level = g_LevelDescriptions[i];
      EXPECT_EQ(level.index, i);
      EXPECT_EQ(level.scriptFile, scripts[i]);
      EXPECT_TRUE(level.showPDA);
      EXPECT_EQ(level.attachmentCount, 1);
      EXPECT_TRUE(!level.mapTexture.empty() && level.mapRect[0] != level.mapRect[2]);
      EXPECT_TRUE(!level.emailText.empty() && level.emailText != L"Invalid File Name");
      EXPECT_TRUE(!level.attachments[0].title.empty() && level.attachments[1].title.empty());
      EXPECT_NE(level.attachments[0].text, L"Invalid File Name");
      EXPECT_EQ(std::count(std::begin(level.enabledDocuments), std::end(level.enabledDocuments), true), enabled[i]);
    }
    EXPECT_NE(g_LevelDescriptions[0].startComic, L"null");
    EXPECT_NE(g_LevelDescriptions[1].startComic, L"null");
    EXPECT_EQ(g_LevelDescriptions[2].startComic, L"null");
    EXPECT_NE(g_LevelDescriptions[2].endComic, L"null");
    EXPECT_EQ(g_LevelDescriptions[1].attachments[0].type, PDA_DOCUMENT_IMAGE);
    int images = 0;
    for (const CPDADocument& document : g_PDADocuments) {
      EXPECT_TRUE(!document.title.empty() && !document.text.empty() && document.text != L"Invalid File Name");
      if (document.type == PDA_DOCUMENT_IMAGE && ++images) {
        EXPECT_FALSE(document.imageFile.empty());
      }
    }
    EXPECT_EQ(images, 4);
  }
  // The last language loaded is Russian: Cyrillic throughout.
  EXPECT_TRUE(HasCharIn(g_LevelDescriptions[0].emailText, L'\x0410', L'\x044F'));
  EXPECT_TRUE(HasCharIn(g_PDADocuments[0].title, L'\x0410', L'\x044F'));
  LoadLevelDescriptions(L"SPA");
  std::wstring spanish = g_LevelDescriptions[0].emailText;
  for (const CPDADocument& document : g_PDADocuments) spanish += document.title + document.text;
  for (wchar_t c : std::wstring(L"áéíóúñ¿")) EXPECT_NE(spanish.find(c), std::wstring::npos) << int(c);
  // What the texts tell holds: crossing Level4's kill beam straight across
  // costs about a quarter of the player's health, on the diagonal over a
  // third (Level4Play measures both); the tutorial names the wheel that
  // turns the camera.
  const wchar_t* codes[] = {L"ENG", L"SPA", L"RUS"};
  const wchar_t* quarter[] = {L"quarter", L"cuarto", L"четверт"};
  const wchar_t* third[] = {L"third", L"tercio", L"трет"};
  const wchar_t* wheel[] = {L"wheel", L"rueda", L"колёсик"};
  for (int i = 0; i < 3; ++i) {
    LoadLevelDescriptions(codes[i]);
    std::map<std::wstring, std::wstring> texts;
    for (const Nembra::KeyValueRecord& r :
         Nembra::CKeyValueFile::GetSectionKeys(codes[i], std::string(KARVESSA_DEMO_DATA_DIR) + "/Texts.dat"))
      texts[r.key] = r.value;
    for (const std::wstring& beam : {g_LevelDescriptions[1].emailText, texts[L"TXT_MSG_LEVEL4_START"]}) {
      EXPECT_NE(beam.find(quarter[i]), std::wstring::npos) << i;
      EXPECT_NE(beam.find(third[i]), std::wstring::npos) << i;
    }
    EXPECT_NE(texts[L"TXT_MSG_TUTORIAL_WELCOME"].find(wheel[i]), std::wstring::npos) << i;
  }
}

TEST_F(DemoDataTest, TriggerFilesLoad) {
  Nembra::g_pSceneManager = new Nembra::CSceneManager;
  CTriggerManager triggers;
  EXPECT_TRUE(triggers.LoadTriggers("LevelTutorial_Triggers.dat"));
  ASSERT_NE(triggers.FindCircular("goal"), nullptr);
  EXPECT_EQ(triggers.FindCircular("goal")->GetScript(), "Tut_Goal.lua");
  triggers.Clear();
  EXPECT_TRUE(triggers.LoadTriggers("Level4_Triggers.dat"));
  EXPECT_EQ(triggers.CircularCount(), 1u);
  ASSERT_EQ(triggers.RectangularCount(), 1u);
  EXPECT_EQ(triggers.FindRectangular("TERMINAL")->GetType(), Nembra::TRIGGER_ACTION);
  triggers.Clear();
  EXPECT_TRUE(triggers.LoadTriggers("Level8_Triggers.dat"));
  EXPECT_EQ(triggers.CircularCount(), 2u);
  ASSERT_NE(triggers.FindCircular("GOAL"), nullptr);
  EXPECT_EQ(triggers.FindCircular("GOAL")->GetType(), Nembra::TRIGGER_WALK_IN);
  EXPECT_FALSE(triggers.FindCircular("GOAL")->IsEnabled());  // opened by the wave
  ASSERT_NE(triggers.FindCircular("L8_Console"), nullptr);
  EXPECT_EQ(triggers.FindCircular("L8_Console")->GetType(), Nembra::TRIGGER_ACTION);
  triggers.Clear();
  delete Nembra::g_pSceneManager;
  Nembra::g_pSceneManager = nullptr;
  EXPECT_TRUE(errors.empty());
}

std::map<std::string, std::string> ReadTree(const std::string& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file())
      files[fs::relative(entry.path(), root).string()] = testsupport::ReadFileBytes(entry.path().string());
  return files;
}

// The names of the files one tree has and the other has not, or with other bytes.
std::vector<std::string> Differences(const std::map<std::string, std::string>& a,
                                     const std::map<std::string, std::string>& b) {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : a)
    if (!b.count(name) || b.at(name) != bytes) names.push_back(name);
  for (const auto& [name, bytes] : b)
    if (!a.count(name)) names.push_back(name);
  return names;
}

// Two runs write the same bytes; a third over the second keeps what the
// player wrote there (settings, language, a profile) and changes nothing else.
TEST(DemoDataGenerator, TwoRunsWriteTheSameBytesAndARebuildKeepsThePlayersFiles) {
  testsupport::TempDir first, second;
  const auto generate = [](const std::string& folder) {
    return std::system(("\"" + std::string(KARVESSA_DATAGEN) + "\" \"" + folder + "\"").c_str());
  };
  const std::string one = first.Path() + "/DataDEMO", two = second.Path() + "/DataDEMO";
  // The first two runs go side by side, each into its own folder.
  auto firstRun = std::async(std::launch::async, generate, one);
  const int secondRun = generate(two);
  ASSERT_EQ(firstRun.get(), 0);
  ASSERT_EQ(secondRun, 0);
  const auto a = ReadTree(one);
  EXPECT_GT(a.size(), 60u);
  EXPECT_EQ(Differences(a, ReadTree(two)), std::vector<std::string>());
  EXPECT_FALSE(fs::exists(two + "/Profile0.dat") || fs::exists(two + "/Config0.dat")) << "no profiles written";
  const std::map<std::string, std::string> players = {{"ConfigLastUsed.dat", " [Monitor]\r\n Gamma=123\r\n"},
                                                      {"Language.dat", std::string("\xFF\xFE[\0\n\0", 6)},
                                                      {"Profile0.dat", "player"}};
  for (const auto& [name, bytes] : players) second.Write("DataDEMO/" + name, bytes);
  ASSERT_EQ(generate(two), 0);
  auto b = ReadTree(two);
  for (const auto& [name, bytes] : players) EXPECT_EQ(b[name], bytes) << name;
  EXPECT_NE(b["ConfigDefault.dat"].find("Gamma=500"), std::string::npos);
  for (const auto& [name, bytes] : players) a.count(name) ? void(b[name] = a.at(name)) : void(b.erase(name));
  EXPECT_EQ(Differences(a, b), std::vector<std::string>());
}

}  // namespace
