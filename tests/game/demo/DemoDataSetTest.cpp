// The generated demo data set as a whole: every text id the code or the
// scripts use exists in the three languages, every section of the items
// file is used by a level, the enemy types the levels must spawn are among
// their generators' options, and the folder stays under its size.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "engine/util/KeyValueFile.h"
#include "frontend/comic/ComicDescription.h"
#include "game/files/LevelFiles.h"
#include "platform/Files.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

const std::string DATA = KARVESSA_DEMO_DATA_DIR;
const char* const LEVELS[] = {"LevelTutorial", "Level4", "Level8"};

std::string ReadText(const fs::path& path) { return testsupport::ReadFileBytes(path.string()); }

// Every match of the pattern's first group in the text.
void Collect(const std::string& text, const std::regex& pattern, std::set<std::string>& into) {
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) into.insert((*it)[1]);
}

// The text ids the game's code names: string literals "TXT_..." in the
// game's, front end's and engine's sources. (The compiler's name of this
// file is no guide to them: a compiler cache may make it relative.)
std::set<std::string> CodeTextIds() {
  const fs::path root = KARVESSA_SOURCE_DIR;
  std::set<std::string> ids;
  const std::regex literal("\"(TXT_[A-Z0-9_]+)\"");
  for (const char* folder : {"game", "frontend", "engine"}) {
    if (!fs::is_directory(root / folder)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      const std::string ext = entry.path().extension().string();
      if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h")) Collect(ReadText(entry.path()), literal, ids);
    }
  }
  return ids;
}

// The text ids the generated scripts name: AddObjective's second argument,
// the messages' first, and every "TXT_..." literal.
std::set<std::string> ScriptTextIds() {
  std::set<std::string> ids;
  const std::regex objective("AddObjective\\s*\\(\\s*\"[^\"]*\"\\s*,\\s*\"([^\"]+)\"");
  const std::regex message("GUIShowMessage(?:Timer)?\\s*\\(\\s*\"([^\"]+)\"");
  const std::regex literal("\"(TXT_[A-Z0-9_]+)\"");
  for (const auto& entry : fs::recursive_directory_iterator(DATA + "/Scripts")) {
    if (!entry.is_regular_file()) continue;
    const std::string text = ReadText(entry.path());
    Collect(text, objective, ids);
    Collect(text, message, ids);
    Collect(text, literal, ids);
  }
  return ids;
}

// The balloons' text ids of every comic in the data folder.
std::set<std::string> ComicTextIds() {
  std::set<std::string> ids;
  for (const auto& entry : fs::directory_iterator(DATA)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("Comic", 0) != 0 || entry.path().extension() != ".dat") continue;
    for (const COMIC_PAGE_DESC& page : LoadComicDescription(entry.path().string()).pages)
      for (const COMIC_BALLOON_DESC& balloon : page.balloons) ids.insert(balloon.textId);
  }
  return ids;
}

TEST(DemoDataSet, EveryTextIdUsedByCodeOrScriptsExistsInAllThreeLanguages) {
  const std::set<std::string> code = CodeTextIds();
  ASSERT_GT(code.size(), 30u) << "the game's sources are read from beside this test";
  const std::set<std::string> scripts = ScriptTextIds();
  EXPECT_GE(scripts.size(), 4u) << "the tutorial's objectives and messages at least";
  const std::set<std::string> comics = ComicTextIds();
  EXPECT_FALSE(comics.empty());
  std::set<std::string> used = code;
  used.insert(scripts.begin(), scripts.end());
  used.insert(comics.begin(), comics.end());
  for (const wchar_t* language : {L"ENG", L"SPA", L"RUS"}) {
    std::map<std::string, std::wstring> table;
    for (const Nembra::KeyValueRecord& r : Nembra::CKeyValueFile::GetSectionKeys(language, DATA + "/Texts.dat"))
      if (r.commentChar == L' ' && !r.key.empty()) table[std::string(r.key.begin(), r.key.end())] = r.value;
    std::set<std::string> missing, empty;
    for (const std::string& id : used)
      if (!table.count(id) || table[id].empty()) (table.count(id) ? empty : missing).insert(id);
    EXPECT_EQ(missing, std::set<std::string>()) << "missing in " << std::string(language, language + 3);
    EXPECT_EQ(empty, std::set<std::string>()) << "empty in " << std::string(language, language + 3);
  }
}

bool ScriptLoads(const std::string& level, const std::string& call) {
  const std::string script = ReadText(DATA + "/Scripts/" + level + ".lua");
  return script.find(call) != std::string::npos;
}

TEST(DemoDataSet, EachItemsSectionIsUsedBySomeLevel) {
  const char* const SECTIONS[ITEMS_SECTION_COUNT] = {
      "items", "boxes", "receptors and generators", "doors", "open/close doors", "roofs", "circuit links",
      "wire grates", "barrels", "targets", "pushable blocks", "lasers", "wave weapons"};
  size_t used[ITEMS_SECTION_COUNT] = {};
  for (const std::string level : LEVELS) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(DATA + "/" + level + "_Items.dat", bytes)) << level;
    ITEMS_FILE file;
    ASSERT_TRUE(ParseItemsFile(bytes, file)) << level;
    if (!ScriptLoads(level, "LoadItems(\"" + level + "_Items.dat\")")) continue;  // written, never loaded
    const size_t counts[ITEMS_SECTION_COUNT] = {
        file.items.size(),      file.boxes.size(),   file.circuitObjects.size(), file.doors.size(),
        file.openCloseDoors.size(), file.roofs.size(), file.links.size(),       file.wireGrates.size(),
        file.barrels.size(),    file.targets.size(), file.pushables.size(),      file.lasers.size(),
        file.waveWeapons.size()};
    for (int s = 0; s < ITEMS_SECTION_COUNT; ++s) used[s] += counts[s];
  }
  std::set<std::string> missing;
  for (int s = 0; s < ITEMS_SECTION_COUNT; ++s)
    if (used[s] == 0) missing.insert(SECTIONS[s]);
  EXPECT_EQ(missing, std::set<std::string>()) << "sections no level loads a record of";
}

TEST(DemoDataSet, EnemyTypesOneTwoThreeSixSevenEightSpawnInLevel4OrLevel8) {
  std::set<int> offered;
  for (const std::string level : {"Level4", "Level8"}) {
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(DATA + "/" + level + "_Generators.dat", bytes)) continue;
    if (!ScriptLoads(level, "LoadEnemyGenerators(\"" + level + "_Generators.dat\")")) continue;
    ENEMY_GENERATOR_FILE file;
    ASSERT_TRUE(ParseEnemyGeneratorFile(bytes, file)) << level;
    for (const ENEMY_GENERATOR_RECORD& g : file.generators) {
      // The first option takes the lowest rolls; the second its share; the
      // third whatever the first two leave.
      offered.insert(g.options[0].type);
      if (g.options[1].percent > 0) offered.insert(g.options[1].type);
      if (g.options[0].percent + g.options[1].percent < 100) offered.insert(g.options[2].type);
    }
  }
  for (int type : {1, 2, 3, 6, 7, 8})
    EXPECT_EQ(offered.count(type), 1u) << "no generator that Level4 or Level8 loads offers enemy type " << type;
}

TEST(DemoDataSet, TheFolderStaysUnderFiftyMegabytes) {
  uintmax_t bytes = 0;
  size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(DATA))
    if (entry.is_regular_file()) {
      bytes += entry.file_size();
      ++files;
    }
  EXPECT_GT(files, 100u);
  EXPECT_LT(bytes, uintmax_t(50) * 1000 * 1000);
}

}  // namespace
