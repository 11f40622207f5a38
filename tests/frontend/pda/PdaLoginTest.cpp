// The login application on real profile files: typing a name, what it may hold, logging in, deleting.
#include <gtest/gtest.h>

#include <filesystem>

#include "frontend/PdaFixture.h"
#include "engine/fonts/BitmapFont.h"
#include "frontend/FontNames.h"
#include "frontend/pda/PDAResources.h"
#include "frontend/pda/apps/PDAAppLogin.h"
#include "platform/Input.h"
#include "tools/formats/TextFiles.h"

namespace {

class PdaLogin : public pdatest::PdaTest {
 protected:
  void SetUp() override {
    PdaTest::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    pda->SetCurrentApp(PDA_APP_LOGIN);
    pda->SetAllButtonsEnabled(true);
    Frame();
  }
  CPDAAppLogin& Login() { return AppAt<CPDAAppLogin>(PDA_APP_LOGIN); }
  // The middle of slot i's profile button.
  int ClickSlot(int i) { return Click(252 + 100, CPDAAppLogin::SlotY(i) + 10); }
  // The button right of slot i: accept while typing there, delete otherwise.
  void ClickSlotButton(int i) { Click(634 + 10, CPDAAppLogin::SlotY(i) + 10); }
  void Type(const std::wstring& text) {
    s.Next().Type(text);
    Frame();
  }
  // Whether slot i is in use and its profile file exists.
  std::pair<bool, bool> Slot(int i) const {
    return {g_ProfileStore.m_Profiles[size_t(i)].inUse, Exists("Profile" + std::to_string(i) + ".dat")};
  }
  std::string File(const std::string& name) const { return s.DataFolder() + name; }
  bool Exists(const std::string& name) const { return std::filesystem::exists(File(name)); }
};

TEST_F(PdaLogin, AnaThenEnterMakesAnaWithoutCarriageReturnAndBothFiles) {
  ClickSlot(2);
  EXPECT_EQ(Login().m_Editing, 2);
  EXPECT_TRUE(Login().m_Accepts[2].m_Visible);
  EXPECT_FALSE(Login().m_Deletes[2].m_Visible);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(Login().m_Profiles[i].m_Enabled);
  EXPECT_FALSE(Button(PDA_BUTTON_SYSTEM_OFF).m_Enabled);
  Type(L"Ana");
  ASSERT_TRUE(Shows(L"Ana_"));
  EXPECT_EQ(fetest::AtOf(*Text(L"Ana_")), (fetest::At{295, 176 + 100}));
  // Enter goes down (typing its CR), then up.
  s.Next().KeyDown(platform::DIK_RETURN);
  Frame();
  EXPECT_EQ(Login().m_Editing, 2);
  s.Next().KeyUp(platform::DIK_RETURN);
  Frame();
  EXPECT_EQ(Login().m_Editing, -1);
  EXPECT_EQ(g_ProfileStore.m_Profiles[2].name, L"Ana");
  EXPECT_EQ(Slot(2), std::make_pair(true, true));
  EXPECT_TRUE(Exists("Config2.dat"));
  // The file holds the name alone, as the next run reads it.
  CProfileStore again;
  again.LoadAllProfiles();
  EXPECT_EQ(again.m_Profiles[2].name, L"Ana");
  Frame();
  EXPECT_TRUE(Shows(L"Ana"));
  EXPECT_TRUE(Login().m_Deletes[2].m_Enabled && Login().m_Profiles[0].m_Enabled);
  EXPECT_TRUE(Button(PDA_BUTTON_SYSTEM_OFF).m_Enabled);
}

TEST_F(PdaLogin, TabEscapeAndCharactersWithoutAGlyphAreNeverStored) {
  ClickSlot(0);
  Type(L"A\tb\x1B" L"c\x7F\u4E2D\U0001F600d\u00F1\u0416");
  EXPECT_EQ(Login().m_Name, L"Abcd\u00F1\u0416");
  // Backspace takes the last one off; on an empty name it does nothing.
  Key(platform::DIK_BACK);
  EXPECT_EQ(Login().m_Name, L"Abcd\u00F1");
  s.Next().Type(L"\t");
  s.Next().KeyDown(platform::DIK_TAB);
  Frame();
  EXPECT_EQ(Login().m_Name, L"Abcd\u00F1");
}

TEST_F(PdaLogin, EscapeCancelsAndAnEmptyNameStoresNothing) {
  ClickSlot(1);
  Type(L"Bob");
  Key(platform::DIK_ESCAPE);
  EXPECT_EQ(Login().m_Editing, -1);
  EXPECT_EQ(Slot(1), std::make_pair(false, false));
  Frame();
  EXPECT_EQ(CountTexts(T("TXT_NEW_PROFILE")), 5);
  EXPECT_TRUE(Login().m_Profiles[1].m_Enabled);
  // Enter on nothing, and the accept button on nothing.
  ClickSlot(1);
  Key(platform::DIK_RETURN);
  EXPECT_EQ(Login().m_Editing, -1);
  ClickSlot(1);
  ClickSlotButton(1);  // accept
  EXPECT_EQ(Login().m_Editing, -1);
  EXPECT_EQ(Slot(1), std::make_pair(false, false));
  EXPECT_TRUE(Button(PDA_BUTTON_SYSTEM_OFF).m_Enabled);
  // Escape and Enter released in the same frame: Escape wins.
  ClickSlot(1);
  Type(L"Bob");
  s.Next().KeyDown(platform::DIK_ESCAPE).KeyDown(platform::DIK_RETURN);
  Frame();
  s.Next().KeyUp(platform::DIK_ESCAPE).KeyUp(platform::DIK_RETURN);
  Frame();
  EXPECT_EQ(Login().m_Editing, -1);
  EXPECT_EQ(Slot(1), std::make_pair(false, false));
}

TEST_F(PdaLogin, FortyCharactersAndEnterInOneFrameStayWithin300Pixels) {
  ClickSlot(3);
  s.Next().Type(std::wstring(40, L'W') + L"\r").KeyDown(platform::DIK_RETURN);
  Frame();
  s.Next().KeyUp(platform::DIK_RETURN);
  Frame();
  const std::wstring& name = g_ProfileStore.m_Profiles[3].name;
  ASSERT_TRUE(g_ProfileStore.m_Profiles[3].inUse);
  Nembra::CBitmapFont* font = pda::Font(FONT_PDA_STD);
  EXPECT_LE(font->GetTextWidth(name), 300);
  EXPECT_GT(font->GetTextWidth(name + L"W"), 300);
  EXPECT_EQ(name.find(L'\r'), std::wstring::npos);
  // A name of narrow letters stops at 64 characters, however many more come.
  ASSERT_LE(font->GetTextWidth(std::wstring(65, L'i')), 300);
  ClickSlot(2);
  Type(std::wstring(70, L'i'));
  EXPECT_EQ(Login().m_Name, std::wstring(64, L'i'));
  Type(L"i");
  EXPECT_EQ(Login().m_Name.size(), 64u);
}

TEST_F(PdaLogin, AUsedSlotLogsInWithResultFourAndTheSlotOnce) {
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"Eva", 4));
  g_ProfileStore.m_Profiles[4].levelReached = 1;
  ASSERT_TRUE(g_ProfileStore.SaveAllProfiles());
  const size_t before = results.size();
  EXPECT_EQ(ClickSlot(4), PDA_RESULT_PROFILE_CHOSEN);
  EXPECT_EQ(pda->m_ResultArgument, 4);
  EXPECT_EQ(std::make_pair(g_ProfileStore.m_CurrentProfile, g_ProfileStore.GetCurrentProfile().levelReached),
            std::make_pair(4u, 1u));
  Frame();
  EXPECT_EQ(pda->m_ResultCode, 0);
  EXPECT_EQ(std::count(results.begin() + long(before), results.end(), PDA_RESULT_PROFILE_CHOSEN), 1);
}

TEST_F(PdaLogin, DeleteRemovesOnlyTheProfileFileAndOnlyAfterYes) {
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"Ana", 1));
  pda->SetCurrentApp(PDA_APP_LOGIN);
  Frame();
  ASSERT_TRUE(Login().m_Deletes[1].m_Enabled);
  EXPECT_FALSE(Login().m_Deletes[0].m_Enabled);  // an empty slot has nothing to delete
  ClickSlotButton(1);
  EXPECT_TRUE(Login().m_Confirm.m_Visible);
  EXPECT_EQ(Login().m_Confirm.m_Purpose, 8);
  EXPECT_FALSE(Button(PDA_BUTTON_SYSTEM_OFF).m_Enabled);
  // No: everything stays.
  No();
  EXPECT_FALSE(Login().m_Confirm.m_Visible);
  EXPECT_EQ(Slot(1), std::make_pair(true, true));
  EXPECT_TRUE(Button(PDA_BUTTON_SYSTEM_OFF).m_Enabled);
  // Yes: the profile file goes, the settings file stays.
  ClickSlotButton(1);
  Yes();
  EXPECT_EQ(Slot(1), std::make_pair(false, false));
  EXPECT_TRUE(Exists("Config1.dat"));
  EXPECT_FALSE(Login().m_Deletes[1].m_Enabled);
  Frame();
  EXPECT_EQ(CountTexts(T("TXT_NEW_PROFILE")), 5);
}

TEST_F(PdaLogin, AFailedRemovalKeepsTheSlot) {
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"Ana", 1));
  // Something the removal can't take away stands where the file was.
  std::filesystem::remove(File("Profile1.dat"));
  std::filesystem::create_directories(File("Profile1.dat/inside"));
  pda->SetCurrentApp(PDA_APP_LOGIN);
  Frame();
  ClickSlotButton(1);
  Yes();
  EXPECT_TRUE(g_ProfileStore.m_Profiles[1].inUse);
  EXPECT_TRUE(Login().m_Deletes[1].m_Enabled);
  Frame();
  EXPECT_TRUE(Shows(L"Ana"));
}

}  // namespace
