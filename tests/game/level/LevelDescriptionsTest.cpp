#include "game/GameTestSupport.h"
#include "game/level/LevelDescriptions.h"
#include "support/MissingLog.h"
#include "tools/formats/TextFiles.h"

#include <tuple>

namespace {

using Section = formats::Section<std::wstring>;

class LevelDescriptionsTest : public gametest::ScriptedTest {
 protected:
  void SetUp() override {
    ScriptedTest::SetUp();
    ResetTables();
  }
  void TearDown() override {
    ResetTables();
    ScriptedTest::TearDown();
  }
  static void ResetTables() {
    for (int i = 0; i < LEVEL_DESCRIPTION_COUNT; ++i) g_LevelDescriptions[i] = CLevelDescription(i);
    g_PDADocuments.fill(CPDADocument());
  }
  void WriteKeyValue(const std::string& name, const std::vector<Section>& sections) {
    WriteData(name, formats::KeyValueFileBytes(sections));
  }
  void WriteText(const std::string& name, const std::wstring& text) {
    WriteData(name, formats::Utf16FileBytes(text));
  }
  // A level file with the given [LEVEL_DESC] keys and attachment sections.
  void WriteLevel(const std::string& name, std::vector<std::pair<std::wstring, std::wstring>> keys,
                  std::vector<Section> more = {}) {
    std::vector<Section> sections = {Section{L"LEVEL_DESC", std::move(keys)}};
    for (Section& s : more) sections.push_back(std::move(s));
    WriteKeyValue(name, sections);
  }
  static Section Attachment(int n, const std::wstring& type, const std::wstring& title) {
    return Section{L"ATTACHMENT_" + std::to_wstring(n),
                   {{L"Type", type},
                    {L"Title", title},
                    {L"TextFile", L"Att" + std::to_wstring(n) + L".txt"},
                    {L"ImageFile", L"Pic.png"},
                    {L"ImageRect", L"1,2,3,4"},
                    {L"ImagePos", L"10,20"}}};
  }
  // [ENABLED_FILES] with the keys File0 to File<keys - 1>, the first <enabled> of them TRUE.
  static Section EnabledFiles(int keys, int enabled = 0) {
    Section files{L"ENABLED_FILES", {}};
    for (int n = 0; n < keys; ++n) files.keys.emplace_back(L"File" + std::to_wstring(n), n < enabled ? L"TRUE" : L"FALSE");
    return files;
  }
};

TEST_F(LevelDescriptionsTest, LanguageCodesChooseTheFileSuffix) {
  const std::pair<const wchar_t*, const char*> suffixes[] = {
      {L"SPA", "_ES"}, {L"RUS", "_RU"}, {L"ENG", "_EN"}, {L"FRA", "_EN"}, {L"", "_EN"}};
  for (const auto& [code, suffix] : suffixes) EXPECT_STREQ(Nembra::LanguageSuffixOf(code), suffix);
  for (const char* suffix : {"_EN", "_ES", "_RU"})
    WriteLevel(std::string("Level4") + suffix + ".dat", {{L"ScriptFile", L"S" + std::wstring(suffix, suffix + 3)}});
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"SPA", L"S_ES"}, {L"RUS", L"S_RU"}, {L"ENG", L"S_EN"}, {L"XYZ", L"S_EN"}};
  for (const auto& [code, script] : cases) {
    LoadLevelDescriptions(code);
    EXPECT_EQ(g_LevelDescriptions[1].scriptFile, script) << code;
  }
}

TEST_F(LevelDescriptionsTest, ShowPDAIsTrueOnlyForTrueInAnyCase) {
  const std::pair<const char*, const wchar_t*> values[] = {{"a", L"true"}, {"b", L"TRUE"}, {"c", L"yes"},
                                                            {"d", L"TrUe"}, {"e", L"1"}};
  for (const auto& [file, value] : values) WriteLevel(std::string(file) + ".dat", {{L"ShowPDA", value}});
  WriteLevel("absent.dat", {{L"ScriptFile", L"x.lua"}});
  const std::pair<const char*, bool> expected[] = {{"a", true}, {"b", true}, {"c", false},
                                                   {"d", true}, {"e", false}, {"absent", false}};
  for (const auto& [file, show] : expected) {
    CLevelDescription record(5);
    EXPECT_TRUE(record.showPDA);  // the constructor's default
    ParseLevelDescription(record, std::string(file) + ".dat", 1);
    EXPECT_EQ(record.showPDA, show) << file;
    EXPECT_EQ(record.index, 1);
  }
}

TEST_F(LevelDescriptionsTest, ReadsEveryFieldOfALevelFile) {
  WriteText("Mail.txt", L"Hola, ¿qué tal?");
  WriteText("Att0.txt", L"Первый");
  WriteText("Att1.txt", L"second");
  WriteLevel("Level.dat",
             {{L"ScriptFile", L"Level4.lua"},
              {L"StartComic", L"ComicA.dat"},
              {L"EndComic", L"ComicB.dat"},
              {L"ShowPDA", L"TRUE"},
              {L"EmailFile", L"Mail.txt"},
              {L"MapTexture", L"Map.png"},
              {L"MapRect", L"-10,20,30,-40"},
              {L"AttachmentCount", L"2"}},
             {Section{L"ENABLED_FILES", {{L"File0", L"TRUE"}, {L"File3", L"true"}, {L"File11", L"TRUE"},
                                         {L"File12", L"TRUE"}}},
              Attachment(0, L"image", L"Plan"), Attachment(1, L"TEXT", L"Note"), Attachment(2, L"IMAGE", L"No")});
  CLevelDescription record(9);
  ParseLevelDescription(record, "Level.dat", 1);
  EXPECT_EQ(
      std::make_tuple(record.index, record.scriptFile, record.startComic, record.endComic, record.emailFile,
                      record.emailText, record.mapTexture),
      std::make_tuple(1, L"Level4.lua", L"ComicA.dat", L"ComicB.dat", L"Mail.txt", L"Hola, ¿qué tal?", L"Map.png"));
  EXPECT_EQ(std::vector<int32_t>(record.mapRect, record.mapRect + 4), (std::vector<int32_t>{-10, 20, 30, -40}));
  EXPECT_EQ(record.attachmentCount, 2);
  for (int n = 0; n < PDA_DOCUMENT_COUNT; ++n)
    EXPECT_EQ(record.enabledDocuments[n], n == 0 || n == 3 || n == 11) << n;
  const CPDADocument& first = record.attachments[0];
  EXPECT_EQ(std::make_tuple(first.type, first.title, first.text, first.imageFile),
            std::make_tuple(PDA_DOCUMENT_IMAGE, L"Plan", L"Первый", L"Pic.png"));  // "image" in lower case
  EXPECT_EQ(std::vector<int32_t>(first.imageRect, first.imageRect + 4), (std::vector<int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(std::vector<float>(first.imagePos, first.imagePos + 3), (std::vector<float>{10, 20, 0}));
  EXPECT_EQ(std::make_tuple(record.attachments[1].type, record.attachments[1].text),
            std::make_tuple(PDA_DOCUMENT_TEXT, L"second"));
  // AttachmentCount 2 leaves the third at its defaults.
  const CPDADocument& third = record.attachments[2];
  EXPECT_EQ(std::make_tuple(third.title, third.type), std::make_tuple(L"", PDA_DOCUMENT_TEXT));
  EXPECT_EQ(std::vector<int32_t>(third.imageRect, third.imageRect + 4), (std::vector<int32_t>{0, 0, 480, 200}));
  EXPECT_EQ(std::make_tuple(third.imagePos[0], third.imagePos[1]), std::make_tuple(204.0f, 200.0f));
}

TEST_F(LevelDescriptionsTest, AttachmentCountsOutsideZeroToThreeAreSafe) {
  WriteLevel("Five.dat", {{L"AttachmentCount", L"5"}},
             {Attachment(0, L"TEXT", L"A"), Attachment(1, L"TEXT", L"B"), Attachment(2, L"Picture", L"C")});
  WriteLevel("Negative.dat", {{L"AttachmentCount", L"-3"}}, {Attachment(0, L"TEXT", L"A")});
  CLevelDescription five, negative;
  ParseLevelDescription(five, "Five.dat", 0);
  ParseLevelDescription(negative, "Negative.dat", 0);
  EXPECT_EQ(five.attachments[2].title, L"C");
  EXPECT_EQ(five.attachments[2].type, PDA_DOCUMENT_TEXT);  // neither text nor image
  EXPECT_EQ(negative.attachmentCount, -3);
  EXPECT_TRUE(negative.attachments[0].title.empty());
}

TEST_F(LevelDescriptionsTest, RectanglesAreHeldToWhatAnImageCanHave) {
  Section far = Attachment(0, L"IMAGE", L"Far");
  far.keys[4].second = L"-2147483648,2147483647,1048577,-1048576";
  WriteLevel("Far.dat", {{L"MapRect", L"2147483647,-2147483648,99999999999,-5"}, {L"AttachmentCount", L"1"}}, {far});
  CLevelDescription record;
  ParseLevelDescription(record, "Far.dat", 0);
  const int32_t limit = 1 << 20;
  EXPECT_EQ(std::vector<int32_t>(record.mapRect, record.mapRect + 4),
            (std::vector<int32_t>{limit, -limit, limit, -5}));
  const int32_t* image = record.attachments[0].imageRect;
  EXPECT_EQ(std::vector<int32_t>(image, image + 4), (std::vector<int32_t>{-limit, limit, limit, -limit}));
}

TEST_F(LevelDescriptionsTest, MissingFilesKeepTheDefaultsAndMissingTextsSaySo) {
  WriteLevel("LevelTutorial_EN.dat", {{L"EmailFile", L"NoSuchMail.txt"}, {L"AttachmentCount", L"1"}},
             {Attachment(0, L"TEXT", L"A")});
  LoadLevelDescriptions(L"ENG");
  EXPECT_EQ(g_LevelDescriptions[0].emailText, L"Invalid File Name");
  EXPECT_EQ(g_LevelDescriptions[0].attachments[0].text, L"Invalid File Name");
  const CLevelDescription& missing = g_LevelDescriptions[1];  // no Level4 file
  EXPECT_EQ(std::make_tuple(missing.index, missing.startComic, missing.endComic, missing.showPDA, missing.scriptFile),
            std::make_tuple(1, L"null", L"null", true, L""));
  EXPECT_EQ(std::vector<int32_t>(missing.mapRect, missing.mapRect + 4), (std::vector<int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(missing.attachments[0].type, PDA_DOCUMENT_TEXT);
  // No document file: the documents keep their defaults.
  EXPECT_TRUE(g_PDADocuments[0].title.empty() && g_PDADocuments[0].text.empty());
  EXPECT_TRUE(errors.empty());
}

TEST_F(LevelDescriptionsTest, AMissingLevelOrDocumentFileIsNamedWithItsLanguageOncePerRun) {
  for (const char* name : {"LevelTutorial_ES.dat", "Level8_ES.dat", "Files_ES.dat", "LevelTutorial_EN.dat",
                           "Level4_EN.dat", "Level8_EN.dat", "Files_EN.dat"})
    WriteLevel(name, {{L"ScriptFile", L"s.lua"}}, {EnabledFiles(PDA_DOCUMENT_COUNT)});
  testsupport::MissingLog log;
  LoadLevelDescriptions(L"SPA");
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"missing: level description Level4_ES.dat (language SPA)"}));
  LoadLevelDescriptions(L"SPA");  // the texts reloaded in the same language: said once
  LoadLevelDescriptions(L"ENG");  // every English file there: nothing to say
  EXPECT_EQ(log.Lines().size(), 1u);
  // An unknown language reads the English files; a missing one is named with the code asked for.
  for (const char* name : {"Level8_EN.dat", "Files_EN.dat"}) std::remove(dir.File(name).c_str());
  platform::ClearPathCache();
  LoadLevelDescriptions(L"FRA");
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"missing: level description Level4_ES.dat (language SPA)",
                                                   "missing: level description Level8_EN.dat (language FRA)",
                                                   "missing: document list Files_EN.dat (language FRA)"}));
}

TEST_F(LevelDescriptionsTest, ACutLevelFileNamesWhatItLacksAndKeepsWhatItHas) {
  WriteText("Mail.txt", L"Report to the core.");
  // Cut in half: the count names an attachment whose section is gone, and the
  // enabled files stop at File6.
  WriteLevel("Level4_EN.dat",
             {{L"ScriptFile", L"Level4.lua"}, {L"EmailFile", L"Mail.txt"}, {L"AttachmentCount", L"1"}},
             {EnabledFiles(7, 3)});
  testsupport::MissingLog log;
  CLevelDescription record(1);
  EXPECT_TRUE(ParseLevelDescription(record, "Level4_EN.dat", 1));
  EXPECT_EQ(log.Lines(),
            (std::vector<std::string>{
                "missing: keys File7, File8, File9, File10, File11 of [ENABLED_FILES] in level description "
                "Level4_EN.dat",
                "missing: section [ATTACHMENT_0] of level description Level4_EN.dat (AttachmentCount 1)"}));
  EXPECT_EQ(record.attachmentCount, 0) << "no empty attachment for the PDA to show";
  EXPECT_EQ(std::make_tuple(record.scriptFile, record.emailText), std::make_tuple(L"Level4.lua", L"Report to the core."));
  for (int n = 0; n < PDA_DOCUMENT_COUNT; ++n) EXPECT_EQ(record.enabledDocuments[n], n < 3) << n;
  // Read again in the same run: said once.
  log.Clear();
  ParseLevelDescription(record, "Level4_EN.dat", 1);
  EXPECT_TRUE(log.Lines().empty());
  // One key missing is named alone; a file with no [ENABLED_FILES] lacks all twelve.
  WriteLevel("One.dat", {}, {Section{L"ENABLED_FILES", {{L"File0", L"TRUE"}, {L"File1", L"TRUE"}, {L"File2", L"TRUE"},
                                                         {L"File3", L"TRUE"}, {L"File4", L"TRUE"}, {L"File5", L"TRUE"},
                                                         {L"File6", L"TRUE"}, {L"File7", L"TRUE"}, {L"File8", L"TRUE"},
                                                         {L"File10", L"TRUE"}, {L"File11", L"TRUE"}}}});
  WriteLevel("None.dat", {{L"ScriptFile", L"x.lua"}});
  CLevelDescription one, none;
  ParseLevelDescription(one, "One.dat", 0);
  ParseLevelDescription(none, "None.dat", 0);
  EXPECT_FALSE(one.enabledDocuments[9]);
  EXPECT_TRUE(one.enabledDocuments[10]);
  EXPECT_EQ(log.Lines(),
            (std::vector<std::string>{"missing: key File9 of [ENABLED_FILES] in level description One.dat",
                                      "missing: keys File0, File1, File2, File3, File4, File5, File6, File7, File8, "
                                      "File9, File10, File11 of [ENABLED_FILES] in level description None.dat"}));
}

TEST_F(LevelDescriptionsTest, TheAttachmentCountNamesOnlyTheAttachmentsTheFileHas) {
  WriteText("Att0.txt", L"zero");
  WriteText("Att1.txt", L"one");
  WriteText("Att2.txt", L"two");
  WriteLevel("Gap.dat", {{L"AttachmentCount", L"3"}},
             {EnabledFiles(PDA_DOCUMENT_COUNT), Attachment(0, L"TEXT", L"A0"), Attachment(2, L"IMAGE", L"A2")});
  testsupport::MissingLog log;
  CLevelDescription record;
  ParseLevelDescription(record, "Gap.dat", 0);
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                             "missing: section [ATTACHMENT_1] of level description Gap.dat (AttachmentCount 3)"}));
  ASSERT_EQ(record.attachmentCount, 2);
  EXPECT_EQ(std::make_tuple(record.attachments[0].title, record.attachments[0].text),
            std::make_tuple(L"A0", L"zero"));
  EXPECT_EQ(std::make_tuple(record.attachments[1].title, record.attachments[1].type, record.attachments[1].text),
            std::make_tuple(L"A2", PDA_DOCUMENT_IMAGE, L"two"));
  // A reload whose first attachment is gone: the one it has comes first, and
  // what is beyond the new count is kept.
  WriteLevel("Gap.dat", {{L"AttachmentCount", L"2"}}, {EnabledFiles(PDA_DOCUMENT_COUNT), Attachment(1, L"TEXT", L"B1")});
  log.Clear();
  ParseLevelDescription(record, "Gap.dat", 0);
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                             "missing: section [ATTACHMENT_0] of level description Gap.dat (AttachmentCount 2)"}));
  EXPECT_EQ(std::make_tuple(record.attachmentCount, record.attachments[0].title, record.attachments[1].title),
            std::make_tuple(1, L"B1", L"A2"));
  // A count above three reads three and names nothing beyond them; a whole file says nothing.
  WriteLevel("Five.dat", {{L"AttachmentCount", L"5"}},
             {EnabledFiles(PDA_DOCUMENT_COUNT), Attachment(0, L"TEXT", L"C0"), Attachment(1, L"TEXT", L"C1"),
              Attachment(2, L"TEXT", L"C2")});
  log.Clear();
  CLevelDescription five;
  ParseLevelDescription(five, "Five.dat", 0);
  EXPECT_EQ(five.attachments[2].title, L"C2");
  EXPECT_GE(five.attachmentCount, 3);
  EXPECT_TRUE(log.Lines().empty());
}

TEST_F(LevelDescriptionsTest, FlagsAreSetForTheTutorialAndTheLastLevel) {
  LoadLevelDescriptions(L"ENG");
  for (int i = 0; i < LEVEL_DESCRIPTION_COUNT; ++i)  // the tutorial: flag B; the last level: flag A
    EXPECT_EQ(std::make_pair(g_LevelDescriptions[i].flagA, g_LevelDescriptions[i].flagB),
              std::make_pair(i == 2, i == 0))
        << i;
}

TEST_F(LevelDescriptionsTest, AReloadOverwritesWhatItReadsAndKeepsTheRest) {
  WriteLevel("LevelTutorial_EN.dat", {{L"ScriptFile", L"en.lua"}, {L"AttachmentCount", L"2"}},
             {Attachment(0, L"TEXT", L"A0"), Attachment(1, L"TEXT", L"A1")});
  WriteLevel("Level4_EN.dat", {{L"ScriptFile", L"four.lua"}});
  WriteLevel("LevelTutorial_ES.dat", {{L"ScriptFile", L"es.lua"}, {L"AttachmentCount", L"1"}},
             {Attachment(0, L"TEXT", L"B0")});
  LoadLevelDescriptions(L"ENG");
  g_LevelDescriptions[0].read = true;
  g_LevelDescriptions[1].read = true;
  LoadLevelDescriptions(L"SPA");
  EXPECT_EQ(std::make_tuple(g_LevelDescriptions[0].scriptFile, g_LevelDescriptions[0].attachmentCount,
                            g_LevelDescriptions[0].attachments[0].title),
            std::make_tuple(L"es.lua", 1, L"B0"));
  EXPECT_EQ(g_LevelDescriptions[0].attachments[1].title, L"A1");  // beyond the new count: kept
  EXPECT_EQ(g_LevelDescriptions[1].scriptFile, L"four.lua");      // no Spanish file: kept
  EXPECT_TRUE(g_LevelDescriptions[0].read && g_LevelDescriptions[1].read);
}

TEST_F(LevelDescriptionsTest, ReadFlagsClearForTheFirstFourteenRecords) {
  for (CLevelDescription& record : g_LevelDescriptions) record.read = true;
  ClearLevelReadFlags();
  for (int i = 0; i < 15; ++i) EXPECT_EQ(g_LevelDescriptions[i].read, i == 14) << i;
}

TEST_F(LevelDescriptionsTest, DocumentListAndLevelDocumentFlags) {
  std::vector<Section> files;
  for (int n = 0; n < PDA_DOCUMENT_COUNT; ++n) {
    files.push_back(Section{L"FILE_" + std::to_wstring(n),
                            {{L"Type", n == 4 ? L"Image" : L"TEXT"},
                             {L"Title", L"Doc " + std::to_wstring(n)},
                             {L"TextFile", L"Doc" + std::to_wstring(n) + L".txt"},
                             {L"ImageFile", n == 4 ? L"Doc4.png" : L""}}});
    if (n != 7) WriteText("Doc" + std::to_string(n) + ".txt", L"Текст " + std::to_wstring(n));
  }
  WriteKeyValue("Files_RU.dat", files);
  WriteLevel("Level8_RU.dat", {}, {Section{L"ENABLED_FILES", {{L"File2", L"TRUE"}, {L"File4", L"TRUE"}}}});
  LoadLevelDescriptions(L"RUS");
  EXPECT_EQ(std::make_tuple(g_PDADocuments[4].type, g_PDADocuments[4].imageFile, g_PDADocuments[4].text),
            std::make_tuple(PDA_DOCUMENT_IMAGE, L"Doc4.png", L"Текст 4"));  // image documents read their text too
  EXPECT_EQ(g_PDADocuments[11].title, L"Doc 11");
  EXPECT_EQ(g_PDADocuments[7].text, L"Invalid File Name");
  // Keys the file leaves out read as empty: the rectangle becomes 0,0,0,0.
  EXPECT_EQ(g_PDADocuments[0].imageRect[2], 0);
  for (uint32_t level : {2u, 0u}) {
    ApplyLevelDocumentFlags(level);
    for (int n = 0; n < PDA_DOCUMENT_COUNT; ++n)
      EXPECT_EQ(g_PDADocuments[n].enabled, level == 2 && (n == 2 || n == 4)) << n;
  }
}

TEST_F(LevelDescriptionsTest, LevelNumbersOutsideTheTableGiveADefaultRecord) {
  EXPECT_EQ(&GetLevelDescription(3), &g_LevelDescriptions[3]);
  EXPECT_EQ(&GetLevelDescription(14), &g_LevelDescriptions[14]);
  EXPECT_EQ(GetLevelDescription(3).index, 3);
  for (uint32_t level : {15u, 16u, 4294967295u}) {
    CLevelDescription& outside = GetLevelDescription(level);
    EXPECT_EQ(std::make_tuple(outside.startComic, outside.showPDA), std::make_tuple(L"null", true)) << level;
    outside.enabledDocuments[0] = true;  // a change does not survive to the next call
    outside.read = true;
  }
  EXPECT_FALSE(GetLevelDescription(15).enabledDocuments[0] || GetLevelDescription(15).read);
  g_PDADocuments[0].enabled = true;
  ApplyLevelDocumentFlags(4294967295u);
  EXPECT_FALSE(g_PDADocuments[0].enabled);
}

}  // namespace
