// What the settings files write must read back as written: values, keys
// and sections the grammar can't hold are refused, and a load, save, load
// of any file gives the records of the first load.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/util/ConfigFile.h"
#include "engine/util/KeyValueFile.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "support/TempDir.h"
#include "tools/formats/TextFiles.h"

using namespace Nembra;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace {

template <typename Str>
std::string Describe(const std::vector<SectionedRecord<Str>>& records) {
  std::string out;
  for (const auto& r : records) {
    out += "{" + platform::WideToUtf8(std::wstring(r.comments.begin(), r.comments.end())) + "|" +
           std::to_string(static_cast<int>(r.commentChar)) + "|" +
           platform::WideToUtf8(std::wstring(r.section.begin(), r.section.end())) + "|" +
           platform::WideToUtf8(std::wstring(r.key.begin(), r.key.end())) + "|" +
           platform::WideToUtf8(std::wstring(r.value.begin(), r.value.end())) + "}\n";
  }
  return out;
}

// Text made of the pieces the grammar cares about.
std::wstring RandomText(std::mt19937& rng) {
  static const std::vector<std::wstring> pieces = {
      L"[", L"]", L"=", L"#", L";", L" ", L"\t", L"\r", L"\n", L"\n", L"\n", L"Sound", L"k", L"7",
      L"\uFEFF", L"\u00e9", L"\r\n", L"  ", L"[Video]", L"Music=1", L"# note"};
  std::wstring text;
  const int count = static_cast<int>(rng() % 40);
  for (int i = 0; i < count; ++i) text += pieces[rng() % pieces.size()];
  return text;
}

}  // namespace

TEST(SettingsFiles, SetValueRefusesWhatCannotBeReadBack) {
  TempDir dir;
  const std::string config = dir.Write("Config.dat", " [Profile]\r\n Name=Ana\r\n");
  const std::string texts = dir.Write("Texts.dat", formats::Utf16FileBytes(L" [ENG]\n Name=Ana\n"));
  const std::string oldConfig = ReadFileBytes(config);
  const std::string oldTexts = ReadFileBytes(texts);
  struct Case {
    std::string key, value, section;
  };
  const std::vector<Case> refused = {
      {"Name", "Ana\n[Cheats]\nGod=1", "Profile"},  // a line break would start a section of its own
      {"Name", "Ana\r", "Profile"},                   // trailing blanks are trimmed on reading
      {"Name", "Ana ", "Profile"},
      {"Na=me", "Ana", "Profile"},  // the first '=' ends the key
      {"#Name", "Ana", "Profile"},  // reads as a commented-out key
      {";Name", "Ana", "Profile"},
      {"[Name", "Ana", "Profile"},  // reads as a section
      {" Name", "Ana", "Profile"},  // leading blanks are trimmed
      {"", "Ana", "Profile"},       // no key at all
      {"Name", "Ana", "Pro]file"},  // the first ']' ends the name
      {"Name", "Ana", "Pro\nfile"},
      {"Na\nme", "Ana", "Profile"},
  };
  for (const Case& c : refused) {
    EXPECT_FALSE(CConfigFile::SetValue(c.key, c.value, c.section, config)) << c.key << " " << c.value << " " << c.section;
    EXPECT_FALSE(CKeyValueFile::SetValue(platform::Utf8ToWide(c.key), platform::Utf8ToWide(c.value),
                                         platform::Utf8ToWide(c.section), texts))
        << c.key << " " << c.value << " " << c.section;
  }
  // Two surrogate halves held as two wide characters come back as one.
  EXPECT_FALSE(CKeyValueFile::SetValue(L"Name", std::wstring(L"Ana") + wchar_t(0xD83D) + wchar_t(0xDE00), L"Profile",
                                       texts));
  EXPECT_EQ(ReadFileBytes(config), oldConfig);
  EXPECT_EQ(ReadFileBytes(texts), oldTexts);
  EXPECT_FALSE(CConfigFile::SetValue("Name", "A\nB", "Profile", dir.File("New.dat")));
  EXPECT_FALSE(platform::FileExists(dir.File("New.dat"))) << "nothing is created for a refused value";
  // What the grammar does hold is written and read back exactly: blanks
  // inside, '=' and brackets in a value, a key ending with a blank.
  const std::vector<Case> kept = {{"Name", " Ana = [x] #1", "Profile"},
                                  {"Gamma ", "500", "Video"},
                                  {"Url", "http://a/?b=c", "Buy now"},
                                  {"Empty", "", "[Odd"}};
  for (const Case& c : kept) {
    ASSERT_TRUE(CConfigFile::SetValue(c.key, c.value, c.section, config)) << c.key;
    EXPECT_EQ(CConfigFile::GetValue(c.key, c.section, config), c.value) << c.key;
    const std::wstring key = platform::Utf8ToWide(c.key), section = platform::Utf8ToWide(c.section);
    ASSERT_TRUE(CKeyValueFile::SetValue(key, platform::Utf8ToWide(c.value), section, texts)) << c.key;
    EXPECT_EQ(platform::WideToUtf8(CKeyValueFile::GetValue(key, section, texts)), c.value) << c.key;
  }
}

TEST(SettingsFiles, MarksInCommentsSurviveASave) {
  TempDir dir;
  // Two UTF-8 marks: the reader drops the first, the second keeps the
  // header line a comment; a save must not turn it into a section.
  const std::string config = dir.Write("Config.dat", "\xEF\xBB\xBF\xEF\xBB\xBF[Sound]\r\nMusic=1\r\n[Video]\r\nGamma=2\r\n");
  ASSERT_TRUE(CConfigFile::SetValue("Gamma", "3", "Video", config));
  EXPECT_EQ(CConfigFile::GetValue("Music", "", config), "1");
  EXPECT_EQ(CConfigFile::GetValue("Music", "Sound", config), "");
  // A U+FEFF after a comment line's indentation is part of the comment.
  const std::string texts = dir.Write("Texts.dat", formats::Utf16FileBytes(L"A=1\n  \uFEFF[Other]\nB=2\n"));
  ASSERT_TRUE(CKeyValueFile::SetValue(L"A", L"5", L"", texts));
  EXPECT_EQ(CKeyValueFile::GetValue(L"B", L"", texts), L"2");
  EXPECT_EQ(CKeyValueFile::GetValue(L"B", L"Other", texts), L"");
}

TEST(SettingsFiles, LoadSaveLoadGivesTheSameRecordsForAnyText) {
  TempDir dir;
  const std::string config = dir.File("Config.dat");
  const std::string texts = dir.File("Texts.dat");
  std::mt19937 rng(2024);
  for (int round = 0; round < 400; ++round) {
    const std::wstring text = RandomText(rng);
    // 8-bit: the text as UTF-8, sometimes after one or two marks.
    std::string bytes = platform::WideToUtf8(text);
    for (uint32_t marks = rng() % 3; marks > 0; --marks) bytes.insert(0, "\xEF\xBB\xBF");
    ASSERT_TRUE(formats::WriteBytes(config, bytes));
    std::vector<ConfigRecord> first, second;
    ASSERT_TRUE(CConfigFile::Load(config, first));
    ASSERT_TRUE(CConfigFile::Save(config, first));
    ASSERT_TRUE(CConfigFile::Load(config, second));
    ASSERT_TRUE(first == second) << "8-bit round " << round << "\n" << Describe(first) << "--\n"
                                            << Describe(second);
    // UTF-16 with its BOM.
    ASSERT_TRUE(formats::WriteBytes(texts, formats::Utf16FileBytes(text)));
    std::vector<KeyValueRecord> wideFirst, wideSecond;
    ASSERT_TRUE(CKeyValueFile::Load(texts, wideFirst));
    ASSERT_TRUE(CKeyValueFile::Save(texts, wideFirst));
    ASSERT_TRUE(CKeyValueFile::Load(texts, wideSecond));
    ASSERT_TRUE(wideFirst == wideSecond) << "UTF-16 round " << round << "\n" << Describe(wideFirst)
                                                    << "--\n" << Describe(wideSecond);
  }
}
