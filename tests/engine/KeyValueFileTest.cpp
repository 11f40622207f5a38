#include <gtest/gtest.h>

#include <cstdio>

#include "engine/util/KeyValueFile.h"
#include "platform/Log.h"
#include "platform/Text.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "tools/formats/TextFiles.h"

using namespace Nembra;
using formats::KeyValueFileBytes;
using formats::Utf16FileBytes;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace {

// Collects warnings while alive.
class LogCapture {
 public:
  LogCapture() {
    platform::SetLogHook([this](platform::LogLevel level, const std::string& text) {
      if (level != platform::LogLevel::Info) lines.push_back(text);
    });
  }
  ~LogCapture() { platform::SetLogHook(nullptr); }
  std::vector<std::string> lines;
};

}  // namespace

TEST(KeyValueFile, ReadsCrLfBomsInLinesCommentsAndWideText) {
  TempDir dir;
  const std::string file = dir.Write(
      "Language.dat", Utf16FileBytes(L"; language of the game\r\n"
                                     L"[InitLanguage]\r\n"
                                     L"\uFEFFLanguage=ENG\r\n"
                                     L"\r\n\r\n"
                                     L"[Texts]\n"
                                     L"Greeting=\u00a1Hola, se\u00f1or! \u041f\u0440\u0438\u0432\u0435\u0442 \U0001F600\n"
                                     L"# old=text\n"));
  EXPECT_EQ(CKeyValueFile::GetValue(L"Language", L"InitLanguage", file), L"ENG");
  EXPECT_EQ(CKeyValueFile::GetValue(L"Greeting", L"Texts", file),
            L"\u00a1Hola, se\u00f1or! \u041f\u0440\u0438\u0432\u0435\u0442 \U0001F600");
  std::vector<KeyValueRecord> records;
  ASSERT_TRUE(CKeyValueFile::Load(file, records));
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(records[0].comments, L"; language of the game\n");
  EXPECT_EQ(records[4].commentChar, L'#');
  EXPECT_EQ(records[4].key, L"old");
  EXPECT_EQ(records[4].value, L"text");
}

TEST(KeyValueFile, SaveWritesBomAndLfAndRoundTrips) {
  TempDir dir;
  const std::string file = dir.Write("Texts.dat", Utf16FileBytes(L"# top\r\n[ENG]\r\nA=1\r\n;B=2\r\n# tail\r\n"));
  std::vector<KeyValueRecord> records;
  ASSERT_TRUE(CKeyValueFile::Load(file, records));
  ASSERT_TRUE(CKeyValueFile::Save(file, records));
  const std::string bytes = ReadFileBytes(file);
  EXPECT_EQ(bytes, Utf16FileBytes(L"# top\n [ENG]\n A=1\n;B=2\n# tail\n"));
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string("\x0A\x00", 2));
  std::vector<KeyValueRecord> again;
  ASSERT_TRUE(CKeyValueFile::Load(file, again));
  EXPECT_TRUE(again == records);
  // No records: only the BOM.
  ASSERT_TRUE(CKeyValueFile::Save(file, {}));
  EXPECT_EQ(ReadFileBytes(file), "\xFF\xFE");
}

TEST(KeyValueFile, FirstTwoBytesAreSkippedWithAWarning) {
  TempDir dir;
  // No BOM: "[" is taken for it, so the section line loses its bracket.
  std::vector<uint8_t> units = platform::WideToUtf16Le(L"[S]\nK=V\n");
  const std::string file = dir.Write("NoBom.dat", std::string(units.begin(), units.end()));
  LogCapture log;
  std::vector<KeyValueRecord> records;
  ASSERT_TRUE(CKeyValueFile::Load(file, records));
  ASSERT_EQ(log.lines.size(), 1u);
  EXPECT_NE(log.lines[0].find("byte-order mark"), std::string::npos);
  EXPECT_EQ(CKeyValueFile::GetValue(L"K", L"", file), L"V");
  // 0- and 1-byte files read as empty.
  EXPECT_TRUE(CKeyValueFile::Load(dir.Write("Empty.dat", ""), records));
  EXPECT_TRUE(records.empty());
  EXPECT_TRUE(CKeyValueFile::Load(dir.Write("One.dat", "\xFF"), records));
  EXPECT_TRUE(records.empty());
}

TEST(KeyValueFile, SectionKeysOfEveryPartAndSetValue) {
  TempDir dir;
  const std::string file = dir.Write(
      "Level1.dat", KeyValueFileBytes({{L"ENG", {{L"A", L"1"}, {L"B", L"2"}}},
                                       {L"SPA", {{L"A", L"uno"}}},
                                       {L"ENG", {{L"C", L"3"}}}}));
  std::vector<KeyValueRecord> keys = CKeyValueFile::GetSectionKeys(L"ENG", file);
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].key + keys[1].key + keys[2].key, L"ABC");
  EXPECT_EQ(keys[2].value, L"3");
  EXPECT_TRUE(CKeyValueFile::GetSectionKeys(L"RUS", file).empty());
  EXPECT_TRUE(CKeyValueFile::GetSectionKeys(L"ENG", dir.File("missing.dat")).empty());
  ASSERT_TRUE(CKeyValueFile::SetValue(L"A", L"une", L"SPA", file));
  ASSERT_TRUE(CKeyValueFile::SetValue(L"D", L"4", L"ENG", file));
  ASSERT_TRUE(CKeyValueFile::SetValue(L"Z", L"\u0436", L"RUS", file));
  EXPECT_EQ(ReadFileBytes(file), Utf16FileBytes(L" [ENG]\n D=4\n A=1\n B=2\n [SPA]\n A=une\n [ENG]\n C=3\n"
                                                L" [RUS]\n Z=\u0436\n"));
  EXPECT_TRUE(CKeyValueFile::SectionExists(L"RUS", file));
  EXPECT_TRUE(CKeyValueFile::RecordExists(L"C", L"ENG", file));
  EXPECT_FALSE(CKeyValueFile::RecordExists(L"c", L"ENG", file));
  EXPECT_EQ(CKeyValueFile::GetRecords(L"A", L"SPA", file).size(), 1u);
  // "Language.dat" of a new installation: made on the first change.
  const std::string language = dir.Path() + "\\Language.dat";
  EXPECT_EQ(CKeyValueFile::GetValue(L"Language", L"InitLanguage", language), L"");
  ASSERT_TRUE(CKeyValueFile::SetValue(L"Language", L"SPA", L"InitLanguage", language));
  EXPECT_EQ(CKeyValueFile::GetValue(L"Language", L"InitLanguage", language), L"SPA");
  ASSERT_TRUE(CKeyValueFile::SetValue(L"Language", L"RUS", L"InitLanguage", language));
  EXPECT_EQ(ReadFileBytes(dir.File("Language.dat")), Utf16FileBytes(L" [InitLanguage]\n Language=RUS\n"));
}

TEST(KeyValueFile, LongLinesAndFailedSaves) {
  TempDir dir;
  std::wstring longText(4000, L'\u00e9');
  const std::string file = dir.Write("Long.dat", KeyValueFileBytes({{L"ENG", {{L"Story", longText}}}}));
  EXPECT_TRUE(CKeyValueFile::GetValue(L"Story", L"ENG", file) == longText);
  const std::string old = ReadFileBytes(file);
  {
    testsupport::FileSizeLimit limit(16);
    ASSERT_TRUE(limit.Active());
    EXPECT_FALSE(CKeyValueFile::SetValue(L"Story", L"short", L"ENG", file));
  }
  EXPECT_TRUE(ReadFileBytes(file) == old) << "the old file is whole";
  EXPECT_FALSE(CKeyValueFile::SetValue(L"K", L"V", L"S", dir.File("no/folder/x.dat")));
}

TEST(UnicodeText, WholeFileReads) {
  TempDir dir;
  EXPECT_EQ(ReadUnicodeTextFile(dir.File("missing.txt")), L"Invalid File Name");
  EXPECT_EQ(ReadUnicodeTextFile(dir.Write("Bom.txt", "\xFF\xFE")), L"");
  EXPECT_EQ(ReadUnicodeTextFile(dir.Write("Zero.txt", "")), L"");
  EXPECT_EQ(ReadUnicodeTextFile(dir.Write("One.txt", "\xFF")), L"");
  EXPECT_EQ(ReadUnicodeTextFile(dir.Write("Odd.txt", Utf16FileBytes(L"ab") + "c")), L"ab");
  EXPECT_EQ(ReadUnicodeTextFile(dir.Write("Credits.txt", Utf16FileBytes(std::wstring(L"Line 1\nL\u00ednea 2\0rest", 19)))),
            L"Line 1\nL\u00ednea 2");
  EXPECT_EQ(ReadUnicodeTextFile(dir.Path() + "\\CREDITS.TXT"), L"Line 1\nL\u00ednea 2");
}

TEST(UnicodeText, OpenSizeAndCount) {
  TempDir dir;
  EXPECT_EQ(OpenUnicodeFile(dir.File("missing.txt"), "rb"), nullptr);
  const std::string path = dir.File("Out.txt");
  FILE* out = OpenUnicodeFile(path, "wb");
  ASSERT_NE(out, nullptr);
  const char text[] = {'h', 0, 'i', 0};
  std::fwrite(text, 1, sizeof text, out);
  std::fclose(out);
  EXPECT_EQ(ReadFileBytes(path), Utf16FileBytes(L"hi"));
  FILE* in = OpenUnicodeFile(path, "rb");
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(UnicodeFileByteSize(in), 6);
  EXPECT_EQ(UnicodeFileCharCount(in), 2);
  EXPECT_EQ(std::ftell(in), 2);
  EXPECT_EQ(std::fgetc(in), 'h');
  std::fclose(in);
  FILE* tiny = OpenUnicodeFile(dir.Write("Tiny.txt", "\xFF"), "rb");
  ASSERT_NE(tiny, nullptr);
  EXPECT_EQ(UnicodeFileByteSize(tiny), 1);
  EXPECT_EQ(UnicodeFileCharCount(tiny), 0);
  std::fclose(tiny);
  EXPECT_EQ(MultiByteToWide(""), L"");
  EXPECT_EQ(WideToMultiByte(L""), "");
  EXPECT_EQ(MultiByteToWide("se\xC3\xB1or"), L"se\u00f1or");
  EXPECT_EQ(WideToMultiByte(L"se\u00f1or"), "se\xC3\xB1or");
}
