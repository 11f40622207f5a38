#include <gtest/gtest.h>

#include "engine/app/Engine.h"
#include "engine/app/InputMapper.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "engine/util/TextTable.h"
#include "platform/Input.h"
#include "support/MissingLog.h"
#include "support/TempDir.h"
#include "tools/formats/TextFiles.h"

using namespace Nembra;

namespace {

enum { ACTION_ABILITY = 1, ACTION_SHOOT = 2, ACTION_UP = 3 };

// A data folder with a "Texts.dat", and input devices whose keys have names.
class TextTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_OldData = g_DataDirectory;
    SetDataDirectory(m_Dir.Path() + "\\");
    g_TextTable.clear();
    g_LanguageCode = L"ENG";
    g_pKeyboard = &m_Keyboard;
    g_pMouse = &m_Mouse;
    g_pInputMapper = &m_Mapper;
    m_Mapper.AddKeyboardMapping(ACTION_ABILITY, platform::DIK_E, "KMP_ABILITY");
    m_Mapper.AddKeyboardMapping(ACTION_UP, platform::DIK_W, "KMP_UP");
    m_Mapper.AddMouseMapping(ACTION_SHOOT, 0, "KMP_SHOOT_BLUE");
  }
  void TearDown() override {
    g_pInputMapper = nullptr;
    g_pMouse = nullptr;
    g_pKeyboard = nullptr;
    g_TextTable.clear();
    g_LanguageCode = L"ENG";
    SetDataDirectory(m_OldData);
  }
  void WriteTexts(const std::vector<formats::Section<std::wstring>>& languages) {
    m_Dir.Write("TEXTS.DAT", formats::TextTableFileBytes(languages));
  }
  static std::wstring Key(int code) { return platform::GetKeyName(code); }
  testsupport::TempDir m_Dir;
  std::string m_OldData;
  CKeyboard m_Keyboard;
  CMouse m_Mouse;
  CInputMapper m_Mapper;
};

}  // namespace

TEST_F(TextTableTest, LanguagesMergeAndUnknownIdsSaySo) {
  EXPECT_EQ(g_LanguageCode, L"ENG");
  EXPECT_EQ(GetText("MENU_PLAY"), L">> ERROR : Unknown Text ID <<");
  WriteTexts({{L"ENG", {{L"MENU_PLAY", L"Play"}, {L"MENU_QUIT", L"Quit"}, {L"MENU_PLAY", L"Play game"}}},
              {L"SPA", {{L"MENU_PLAY", L"Jugar"}}},
              {L"RUS", {{L"MENU_PLAY", L"\u0418\u0433\u0440\u0430\u0442\u044c"}}}});
  CTextTable::Load(L"ENG");
  EXPECT_EQ(GetText("MENU_PLAY"), L"Play game") << "a later line wins";
  EXPECT_EQ(GetText("MENU_QUIT"), L"Quit");
  EXPECT_EQ(GetText("menu_quit"), L">> ERROR : Unknown Text ID <<");
  CTextTable::Load(L"SPA");
  EXPECT_EQ(g_LanguageCode, L"SPA");
  EXPECT_EQ(GetText("MENU_PLAY"), L"Jugar");
  EXPECT_EQ(GetText("MENU_QUIT"), L"Quit") << "ids the language lacks keep their texts";
  CTextTable::Load(L"RUS");
  EXPECT_EQ(GetText("MENU_PLAY"), L"\u0418\u0433\u0440\u0430\u0442\u044c");
  // A language with no section, or no file at all, changes no text.
  CTextTable::Load(L"FRA");
  EXPECT_EQ(g_LanguageCode, L"FRA");
  EXPECT_EQ(GetText("MENU_PLAY"), L"\u0418\u0433\u0440\u0430\u0442\u044c");
  SetDataDirectory(m_Dir.Path() + "\\Nowhere\\");
  CTextTable::Load(L"ENG");
  EXPECT_EQ(GetText("MENU_PLAY"), L"\u0418\u0433\u0440\u0430\u0442\u044c");
}

TEST_F(TextTableTest, UnknownIdsAreReportedMissingOnceEach) {
  testsupport::MissingLog log;
  WriteTexts({{L"ENG", {{L"MENU_PLAY", L"Play"}}}});
  CTextTable::Load(L"ENG");
  EXPECT_EQ(GetText("MENU_PLAY"), L"Play");
  for (int frame = 0; frame < 3; ++frame) EXPECT_EQ(GetText("TXT_FOO"), L">> ERROR : Unknown Text ID <<");
  EXPECT_EQ(GetText("menu_play"), L">> ERROR : Unknown Text ID <<");  // ids keep their case
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"missing: text TXT_FOO", "missing: text menu_play"}));
}

TEST_F(TextTableTest, LineBreaksAndEveryTokenReplaced) {
  m_Dir.Write("Texts.dat", formats::Utf16FileBytes(L"[ENG]\n"
                                                    L"HINT_DOOR=Press @KMP_ABILITY to open$the door\n"
                                                    L"HINT_END=Move with @KMP_UP\n"
                                                    L"HINT_TWO=@KMP_UP, then @KMP_SHOOT_BLUE!\n"
                                                    L"HINT_WRAP=Use @KMP_ABILITY$now\n"
                                                    L"HINT_GLUED=(@KMP_UP)x@KMP_UP\n"
                                                    L"HINT_BAD=Try @KMP_JUMP now\n"
                                                    L"HINT_MAIL=mail @ home\n"
                                                    L"#HINT_OLD=Old text\n"));
  CTextTable::Load(L"ENG");
  const std::wstring e = Key(platform::DIK_E), w = Key(platform::DIK_W);
  ASSERT_FALSE(e.empty());
  ASSERT_NE(e, w);
  const std::wstring left = m_Mouse.GetButtonName(0);
  EXPECT_EQ(GetText("HINT_DOOR"), L"Press " + e + L" to open\nthe door");
  EXPECT_EQ(GetText("HINT_END"), L"Move with " + w);
  EXPECT_EQ(GetText("HINT_TWO"), w + L", then " + left + L"!");
  EXPECT_EQ(GetText("HINT_WRAP"), L"Use " + e + L"\nnow") << "a line break ends the token";
  EXPECT_EQ(GetText("HINT_GLUED"), L"(" + w + L")x" + w);
  EXPECT_EQ(GetText("HINT_BAD"), L"Try ERROR : Unknown keyboard mapping value now");
  EXPECT_EQ(GetText("HINT_MAIL"), L"mail @ home");
  EXPECT_EQ(GetText("HINT_OLD"), L"Old text") << "commented-out lines are loaded too";
}

TEST_F(TextTableTest, DigitsBelongToTheToken) {
  enum { ACTION_WEAPON_2 = 10, ACTION_WEAPON_3 = 11 };
  m_Mapper.AddKeyboardMapping(ACTION_WEAPON_2, platform::DIK_2, "KMP_2");
  m_Mapper.AddKeyboardMapping(ACTION_WEAPON_3, platform::DIK_3, "KMP_3RD");
  WriteTexts({{L"ENG", {{L"HINT_WEAPONS", L"Switch with @KMP_2 or @KMP_3RD, 2 or 3.@KMP_2"}}}});
  CTextTable::Load(L"ENG");
  const std::wstring two = Key(platform::DIK_2), three = Key(platform::DIK_3);
  ASSERT_FALSE(two.empty());
  ASSERT_NE(two, three);
  EXPECT_EQ(GetText("HINT_WEAPONS"), L"Switch with " + two + L" or " + three + L", 2 or 3." + two);
}

TEST_F(TextTableTest, ReloadFollowsRebinding) {
  WriteTexts({{L"SPA", {{L"HINT", L"Pulsa @KMP_ABILITY"}}}});
  CTextTable::Load(L"SPA");
  EXPECT_EQ(GetText("HINT"), L"Pulsa " + Key(platform::DIK_E));
  ASSERT_NE(Key(platform::DIK_Q), Key(platform::DIK_E));
  m_Mapper.SetMappingCode(ACTION_ABILITY, platform::DIK_Q);
  EXPECT_EQ(GetText("HINT"), L"Pulsa " + Key(platform::DIK_E)) << "texts change only on a load";
  CTextTable::Reload();
  EXPECT_EQ(g_LanguageCode, L"SPA");
  EXPECT_EQ(GetText("HINT"), L"Pulsa " + Key(platform::DIK_Q));
}
