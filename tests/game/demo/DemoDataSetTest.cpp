// The generated demo data set as a whole: every text id the code or the
// scripts use exists in the three languages, every section of the items
// file is used by a level, the enemy types the levels must spawn are among
// their generators' options, and the folder stays under its size.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/util/KeyValueFile.h"
#include "frontend/comic/ComicDescription.h"
#include "game/files/LevelFiles.h"
#include "platform/Files.h"

namespace {

namespace fs = std::filesystem;

const std::string DATA = KARVESSA_DEMO_DATA_DIR;
const char* const LEVELS[] = {"LevelTutorial", "Level4", "Level8"};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string Join(const std::set<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : ", ") + name;
  return out;
}

// Every match of the pattern's first group in the text.
void Collect(const std::string& text, const std::regex& pattern, std::set<std::string>& into) {
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) into.insert((*it)[1]);
}

// The text ids the game's code names: string literals "TXT_..." in the
// game's and the front end's sources (this file's folder is tests/game).
std::set<std::string> CodeTextIds() {
  const fs::path root = fs::path(__FILE__).parent_path().parent_path().parent_path().parent_path();
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

// The text ids the generated scripts pass to the functions that take one:
// AddObjective's second argument, the messages' first.
std::set<std::string> ScriptTextIds() {
  std::set<std::string> ids;
  const std::regex objective("AddObjective\\s*\\(\\s*\"[^\"]*\"\\s*,\\s*\"([^\"]+)\"");
  const std::regex message("GUIShowMessage(?:Timer)?\\s*\\(\\s*\"([^\"]+)\"");
  for (const auto& entry : fs::recursive_directory_iterator(DATA + "/Scripts")) {
    if (!entry.is_regular_file()) continue;
    const std::string text = ReadText(entry.path());
    Collect(text, objective, ids);
    Collect(text, message, ids);
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
    for (const std::string& id : used) {
      const auto it = table.find(id);
      if (it == table.end())
        missing.insert(id);
      else if (it->second.empty())
        empty.insert(id);
    }
    const std::string lang(language, language + 3);
    EXPECT_TRUE(missing.empty()) << lang << " lacks " << Join(missing);
    EXPECT_TRUE(empty.empty()) << lang << " has empty " << Join(empty);
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
    used[ITEMS_SECTION_ITEMS] += file.items.size();
    used[ITEMS_SECTION_BOXES] += file.boxes.size();
    used[ITEMS_SECTION_CIRCUIT_OBJECTS] += file.circuitObjects.size();
    used[ITEMS_SECTION_DOORS] += file.doors.size();
    used[ITEMS_SECTION_OPEN_CLOSE_DOORS] += file.openCloseDoors.size();
    used[ITEMS_SECTION_ROOFS] += file.roofs.size();
    used[ITEMS_SECTION_LINKS] += file.links.size();
    used[ITEMS_SECTION_WIRE_GRATES] += file.wireGrates.size();
    used[ITEMS_SECTION_BARRELS] += file.barrels.size();
    used[ITEMS_SECTION_TARGETS] += file.targets.size();
    used[ITEMS_SECTION_PUSHABLES] += file.pushables.size();
    used[ITEMS_SECTION_LASERS] += file.lasers.size();
    used[ITEMS_SECTION_WAVE_WEAPONS] += file.waveWeapons.size();
  }
  std::set<std::string> missing;
  for (int s = 0; s < ITEMS_SECTION_COUNT; ++s)
    if (used[s] == 0) missing.insert(SECTIONS[s]);
  EXPECT_TRUE(missing.empty()) << "no level loads a record of: " << Join(missing);
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
  std::set<std::string> missing;
  for (int type : {1, 2, 3, 6, 7, 8})
    if (!offered.count(type)) missing.insert(std::to_string(type));
  EXPECT_TRUE(missing.empty()) << "no generator that Level4 or Level8 loads offers enemy type " << Join(missing);
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
