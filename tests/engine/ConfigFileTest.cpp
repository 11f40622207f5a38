#include <gtest/gtest.h>

#include <filesystem>

#include "engine/util/ConfigFile.h"
#include "platform/Files.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "tools/formats/TextFiles.h"

using Nembra::CConfigFile;
using Nembra::ConfigRecord;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace {

const std::string SAMPLE =
    "# settings of the last session\r\n"
    "; written by the game\r\n"
    "\r\n"
    "  [Sound]  trailing words\r\n"
    "Effects=80\r\n"
    "   \t \r\n"
    "# louder than the default\r"
    "\n"
    "Music=1\r\n"
    "Music=2\r\n"
    "#Music=3\r\n"
    "Url=http://a/?b=c\r\n"
    "[Video]\n"
    " Gamma = 500 \n"
    "# end of file\n"
    "; really\n";

}  // namespace

TEST(ConfigFile, LoadsSectionsKeysAndComments) {
  TempDir dir;
  const std::string file = dir.Write("ConfigLastUsed.dat", SAMPLE);
  std::vector<ConfigRecord> records;
  ASSERT_TRUE(CConfigFile::Load(file, records));
  ASSERT_EQ(records.size(), 9u);
  EXPECT_EQ(records[0].comments, "# settings of the last session\n; written by the game\n");
  EXPECT_EQ(records[0].section, "Sound");
  EXPECT_EQ(records[0].key, "");
  EXPECT_EQ(records[1].key, "Effects");
  EXPECT_EQ(records[1].value, "80");
  EXPECT_EQ(records[2].comments, "# louder than the default\n") << "the CR is trimmed";
  EXPECT_EQ(records[4].commentChar, '#');
  EXPECT_EQ(records[4].key, "Music");
  EXPECT_EQ(records[4].value, "3");
  EXPECT_EQ(records[5].value, "http://a/?b=c") << "only the first '=' splits";
  EXPECT_EQ(records[7].section, "Video");
  EXPECT_EQ(records[7].key, "Gamma ") << "keys and values are not trimmed";
  EXPECT_EQ(records[7].value, " 500");
  EXPECT_TRUE(records[8].IsTextOnly());
  EXPECT_EQ(records[8].comments, "# end of file\n; really\n");
  // Loading a missing file fails and leaves the records alone.
  EXPECT_FALSE(CConfigFile::Load(dir.File("missing.dat"), records));
  EXPECT_EQ(records.size(), 9u);
}

TEST(ConfigFile, SaveWritesCrLfLinesAndRoundTrips) {
  TempDir dir;
  const std::string file = dir.Write("Config.dat", SAMPLE);
  std::vector<ConfigRecord> records;
  ASSERT_TRUE(CConfigFile::Load(file, records));
  ASSERT_TRUE(CConfigFile::Save(file, records));
  EXPECT_EQ(ReadFileBytes(file),
            "# settings of the last session\r\n"
            "; written by the game\r\n"
            " [Sound]\r\n"
            " Effects=80\r\n"
            "# louder than the default\r\n"
            " Music=1\r\n"
            " Music=2\r\n"
            "#Music=3\r\n"
            " Url=http://a/?b=c\r\n"
            " [Video]\r\n"
            " Gamma = 500\r\n"
            "# end of file\r\n"
            "; really\r\n");
  std::vector<ConfigRecord> again;
  ASSERT_TRUE(CConfigFile::Load(file, again));
  EXPECT_TRUE(again == records);
}

TEST(ConfigFile, LookupsAreExactAndFindCommentedOutKeys) {
  TempDir dir;
  const std::string file = dir.Write("Config.dat", SAMPLE);
  EXPECT_EQ(CConfigFile::GetValue("Effects", "Sound", file), "80");
  EXPECT_EQ(CConfigFile::GetValue("effects", "Sound", file), "");
  EXPECT_EQ(CConfigFile::GetValue("Effects", "sound", file), "");
  EXPECT_EQ(CConfigFile::GetValue("Music", "Sound", file), "1");
  std::vector<ConfigRecord> music = CConfigFile::GetRecords("Music", "Sound", file);
  ASSERT_EQ(music.size(), 3u);
  EXPECT_EQ(music[2].value, "3");
  EXPECT_EQ(music[2].commentChar, '#');
  EXPECT_TRUE(CConfigFile::SectionExists("Video", file));
  EXPECT_FALSE(CConfigFile::SectionExists("Input", file));
  EXPECT_FALSE(CConfigFile::SectionExists("", file)) << "the closing comments are no section";
  EXPECT_TRUE(CConfigFile::RecordExists("Gamma ", "Video", file));
  EXPECT_FALSE(CConfigFile::RecordExists("Gamma", "Video", file));
  const std::string missing = dir.File("none.dat");  // a missing file holds nothing
  EXPECT_EQ(CConfigFile::GetValue("Effects", "Sound", missing), "");
  EXPECT_TRUE(CConfigFile::GetRecords("Effects", "Sound", missing).empty());
  EXPECT_FALSE(CConfigFile::SectionExists("Sound", missing));
  EXPECT_FALSE(CConfigFile::RecordExists("Effects", "Sound", missing));
  // Only a commented-out key: found, changed in place, written back with its '#'.
  const std::string commented = dir.Write("Commented.dat", "[Sound]\r\n#Music=3\r\n");
  EXPECT_EQ(CConfigFile::GetValue("Music", "Sound", commented), "3");
  ASSERT_TRUE(CConfigFile::SetValue("Music", "4", "Sound", commented));
  EXPECT_EQ(ReadFileBytes(commented), " [Sound]\r\n#Music=4\r\n");
}

TEST(ConfigFile, SetValueChangesFirstOrAddsWhereExpected) {
  TempDir dir;
  const std::string file = dir.Write("Config.dat", SAMPLE);
  ASSERT_TRUE(CConfigFile::SetValue("Music", "7", "Sound", file));
  std::vector<ConfigRecord> music = CConfigFile::GetRecords("Music", "Sound", file);
  ASSERT_EQ(music.size(), 3u);
  EXPECT_EQ(music[0].value, "7");
  EXPECT_EQ(music[0].comments, "# louder than the default\n") << "comments stay with the record";
  EXPECT_EQ(music[1].value, "2");
  // A new key in an existing section goes right under its section line.
  ASSERT_TRUE(CConfigFile::SetValue("Brightness", "3", "Video", file));
  // A new section goes at the end, before the closing comments.
  ASSERT_TRUE(CConfigFile::SetValue("Jump", "57", "Input", file));
  const std::string text = ReadFileBytes(file);
  EXPECT_NE(text.find(" [Video]\r\n Brightness=3\r\n Gamma = 500\r\n [Input]\r\n Jump=57\r\n# end of file\r\n; really\r\n"),
            std::string::npos)
      << text;
  // Blank lines are gone.
  EXPECT_EQ(text.find("\r\n\r\n"), std::string::npos);
  EXPECT_EQ(CConfigFile::GetValue("Jump", "Input", file), "57");
  EXPECT_EQ(CConfigFile::GetValue("Brightness", "Video", file), "3");
  // Keys before the first section belong to the section "".
  const std::string loose = dir.Write("Loose.dat", "Top=1\r\n[A]\r\nx=2\r\n");
  EXPECT_EQ(CConfigFile::GetValue("Top", "", loose), "1");
  ASSERT_TRUE(CConfigFile::SetValue("Other", "5", "", loose));
  EXPECT_EQ(ReadFileBytes(loose), " Top=1\r\n Other=5\r\n [A]\r\n x=2\r\n");
}

TEST(ConfigFile, OddLinesKeepTheirPlaceAndSection) {
  TempDir dir;
  // A stray line, a '[' inside a value and a section line without ']'.
  const std::string file = dir.Write("Odd.dat",
                                     "[Comic]\r\n"
                                     "just some words\r\n"
                                     "Title=Chapter [1]\r\n"
                                     "Pages=12\r\n"
                                     "=orphan value\r\n"
                                     "[Open\r\n"
                                     "Key=1\r\n");
  EXPECT_EQ(CConfigFile::GetValue("Title", "Comic", file), "Chapter [1]");
  EXPECT_EQ(CConfigFile::GetValue("Pages", "Comic", file), "12");
  EXPECT_EQ(CConfigFile::GetValue("Key", "Open", file), "1");
  ASSERT_TRUE(CConfigFile::SetValue("Pages", "13", "Comic", file));
  EXPECT_EQ(ReadFileBytes(file),
            " [Comic]\r\n"
            "just some words\r\n"
            " Title=Chapter [1]\r\n"
            " Pages=13\r\n"
            "=orphan value\r\n"
            " [Open]\r\n"
            " Key=1\r\n");
  EXPECT_EQ(CConfigFile::GetValue("Pages", "Comic", file), "13");
  EXPECT_EQ(CConfigFile::GetValue("Title", "Comic", file), "Chapter [1]");
  // A UTF-8 byte-order mark left by an editor does not hide the first section.
  const std::string marked = dir.Write("Marked.dat", "\xEF\xBB\xBF[Sound]\r\nEffects=80\r\n");
  EXPECT_EQ(CConfigFile::GetValue("Effects", "Sound", marked), "80");
  // A line of any length.
  const std::string longValue(5000, 'v');
  ASSERT_TRUE(CConfigFile::SetValue("Long", longValue, "Comic", file));
  EXPECT_EQ(CConfigFile::GetValue("Long", "Comic", file), longValue);
}

TEST(ConfigFile, SetValueCreatesMissingFileButNeverReplacesUnreadable) {
  TempDir dir;
  const std::string file = dir.Path() + "\\Profile1.dat";
  ASSERT_TRUE(CConfigFile::SetValue("Name", "Ana", "Profile", file));
  EXPECT_EQ(ReadFileBytes(dir.File("Profile1.dat")), " [Profile]\r\n Name=Ana\r\n");
  EXPECT_EQ(CConfigFile::GetValue("Name", "Profile", file), "Ana");
  // A folder under the file's name can't be read and is left alone.
  ASSERT_TRUE(platform::MakeDirectories(dir.File("Folder.dat")));
  EXPECT_FALSE(CConfigFile::SetValue("Name", "Ana", "Profile", dir.File("Folder.dat")));
  EXPECT_TRUE(platform::DirectoryExists(dir.File("Folder.dat")));
  // A file in a folder that does not exist can't be made.
  EXPECT_FALSE(CConfigFile::SetValue("Name", "Ana", "Profile", dir.File("no/such/Profile.dat")));
}

TEST(ConfigFile, FailedSaveKeepsTheOldFileWhole) {
  TempDir dir;
  std::vector<std::pair<std::string, std::string>> keys;
  for (int i = 0; i < 40; ++i) keys.push_back({"Key" + std::to_string(i), std::string(30, 'a' + i % 26)});
  const std::string old = formats::SettingsFileText({{"Big", keys}});
  const std::string file = dir.Write("Config.dat", old);
  {
    testsupport::FileSizeLimit limit(16);
    ASSERT_TRUE(limit.Active());
    EXPECT_FALSE(CConfigFile::SetValue("Key0", "changed", "Big", file));
    std::vector<ConfigRecord> records;
    ASSERT_TRUE(CConfigFile::Load(file, records));
    EXPECT_FALSE(CConfigFile::Save(file, records));
  }
  EXPECT_EQ(ReadFileBytes(file), old);
  // No temporary file left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
  EXPECT_TRUE(CConfigFile::SetValue("Key0", "changed", "Big", file));
  EXPECT_EQ(CConfigFile::GetValue("Key0", "Big", file), "changed");
}
