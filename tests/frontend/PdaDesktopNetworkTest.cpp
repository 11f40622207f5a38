// The desktop's notices (new documents, new mail) and the network
// application's list and viewer, on the demo levels' document tables.
#include <gtest/gtest.h>

#include "PdaFixture.h"
#include "frontend/pda/apps/PDAAppDesktop.h"
#include "frontend/pda/apps/PDAAppNetwork.h"

namespace {

class PdaDesktop : public pdatest::PdaTest {
 protected:
  void Enter(uint32_t level) {
    Profile(L"Ana", level);
    pda->SetAllButtonsEnabled(true);
    pda->SetCurrentApp(PDA_APP_DESKTOP);
    Frame();
  }
  CPDAAppDesktop& Desktop() { return AppAt<CPDAAppDesktop>(PDA_APP_DESKTOP); }
  CPDAAppNetwork& Network() { return AppAt<CPDAAppNetwork>(PDA_APP_NETWORK); }
  // Every document seen but those given.
  static void SeenAllBut(std::initializer_list<int> fresh) {
    for (CPDADocument& d : g_PDADocuments) d.enabled = true;
    for (int i : fresh) g_PDADocuments[size_t(i)].enabled = false;
  }
  void ClickOk() { Click(384 + 20, 350 + 20); }
};

TEST_F(PdaDesktop, TheFirstLevelNeverShowsTheDecryptNotice) {
  SeenAllBut({0, 1, 2, 3});
  Enter(0);
  EXPECT_FALSE(Desktop().m_Decrypt.m_Visible);
  EXPECT_TRUE(Desktop().m_Mail.m_Visible);  // its mail is new
  EXPECT_TRUE(Shows(T("TXT_YOU_GOT_MAIL")));
  // The decrypting progress runs on while its notice is hidden.
  Desktop().m_Decrypt.Open();
  Desktop().m_Decrypt.m_Visible = false;
  Frames(70);
  EXPECT_EQ(Desktop().m_Decrypt.m_Progress, 1.0f);
  EXPECT_TRUE(Desktop().m_Decrypt.m_Ok.m_Enabled);
  EXPECT_EQ(Desktop().m_Decrypt.GetMessage(), T("TXT_DECRYPT_READY"));
}

TEST_F(PdaDesktop, SeveralNewDocumentsGiveOneTimedNotice) {
  g_LevelDescriptions[1].read = true;
  SeenAllBut({5, 6});
  Enter(1);
  EXPECT_TRUE(Desktop().m_Decrypt.m_Visible);
  EXPECT_FALSE(Desktop().m_Mail.m_Visible);
  EXPECT_EQ(CountTexts(T("TXT_DECRYPT")), 1);
  EXPECT_FALSE(Desktop().m_Decrypt.m_Ok.m_Enabled);
  // Under a second of frames the OK button does nothing.
  int frames = 1;
  while (Desktop().m_Decrypt.m_Progress < 0.9f) {
    Frame();
    ++frames;
  }
  EXPECT_FALSE(Desktop().m_Decrypt.m_Ok.m_Enabled);
  ClickOk();
  EXPECT_TRUE(Desktop().m_Decrypt.m_Visible);
  // At one second the bar is exactly full and the button works.
  while (Desktop().m_Decrypt.m_Progress < 1.0f) Frame();
  EXPECT_EQ(Desktop().m_Decrypt.m_Progress, 1.0f);
  EXPECT_EQ(Desktop().m_Decrypt.m_BarFill.m_ScaleX, 1.0f);
  EXPECT_TRUE(Desktop().m_Decrypt.m_Ok.m_Enabled);
  Frame();
  EXPECT_TRUE(Shows(T("TXT_DECRYPT_READY")));
  const auto fill = s.Last().FindSprites(scenario::TextureOf("PDA.png"), 0, 896);
  ASSERT_EQ(fill.size(), 1u);
  EXPECT_FLOAT_EQ(fill[0]->Width(), 240.0f);
  ClickOk();
  EXPECT_EQ(pda->GetCurrentAppIndex(), PDA_APP_NETWORK);
  Frame();
  // The network shows the second new one; both count as seen.
  EXPECT_TRUE(Network().m_Viewer.m_Visible);
  EXPECT_EQ(Network().m_Viewer.m_Title, g_PDADocuments[6].title);
  EXPECT_TRUE(g_PDADocuments[5].enabled && g_PDADocuments[6].enabled);
  // The rows under a document it opened by itself take no click.
  Click(CPDAAppNetwork::RowX(5) + 20, CPDAAppNetwork::RowY(5) + 20);
  EXPECT_EQ(Network().m_Viewer.m_Title, g_PDADocuments[6].title);
}

TEST_F(PdaDesktop, ButtonsAreInertUnderANoticeAndTheMailNoticeLeadsToTheMail) {
  Enter(0);
  ASSERT_TRUE(Desktop().m_Mail.m_Visible);
  for (const CPDAButton& b : Desktop().m_Buttons) {
    EXPECT_FALSE(b.m_Enabled);
  }
  Click(220 + 100, 275 + 20);  // GPS, under the notice's backdrop
  EXPECT_EQ(pda->GetCurrentAppIndex(), PDA_APP_DESKTOP);
  EXPECT_FALSE(Button(PDA_BUTTON_START_GAME).m_Enabled);
  ClickOk();
  EXPECT_EQ(pda->GetCurrentAppIndex(), PDA_APP_EMAIL);
  EXPECT_TRUE(g_LevelDescriptions[0].read);
  Click(671 + 5, 118 + 5);
  EXPECT_EQ(pda->GetCurrentAppIndex(), PDA_APP_DESKTOP);
  EXPECT_FALSE(Desktop().m_Mail.m_Visible);
  EXPECT_FALSE(Desktop().m_Decrypt.m_Visible);
  EXPECT_TRUE(Desktop().m_Buttons[0].m_Enabled);
  EXPECT_TRUE(Button(PDA_BUTTON_START_GAME).m_Enabled);
  // And the desktop's buttons open their applications.
  Click(220 + 100, 175 + 20);
  EXPECT_EQ(pda->GetCurrentAppIndex(), PDA_APP_NETWORK);
}

TEST_F(PdaDesktop, NoEnabledDocumentGivesTwelveLockedRows) {
  for (bool& enabled : g_LevelDescriptions[0].enabledDocuments) enabled = false;
  g_LevelDescriptions[0].read = true;
  Enter(0);
  pda->SetCurrentApp(PDA_APP_NETWORK);
  Frame();
  EXPECT_EQ(CountTexts(T("TXT_FILE_LOCKED")), 12);
  for (const CPDAButton& row : Network().m_Rows) {
    EXPECT_FALSE(row.m_Enabled);
  }
  Click(CPDAAppNetwork::RowX(0) + 20, CPDAAppNetwork::RowY(0) + 20);
  EXPECT_FALSE(Network().m_Viewer.m_Visible);
}

TEST_F(PdaDesktop, NetworkRowsOpenDocumentsAndHideWhileViewing) {
  g_LevelDescriptions[2].read = true;
  SeenAllBut({});
  Enter(2);
  pda->SetCurrentApp(PDA_APP_NETWORK);
  Frame();
  EXPECT_FALSE(Network().m_Viewer.m_Visible);  // nothing new: nothing opens
  EXPECT_EQ(CPDAAppNetwork::RowX(6), 463);
  EXPECT_EQ(CPDAAppNetwork::RowY(6), 158);
  const auto rows = s.Last().FindSprites(scenario::TextureOf("PDA2.png"), 0, 540);
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_EQ(rows[6]->left, 463.0f);
  EXPECT_EQ(rows[6]->top, 158.0f);
  ASSERT_NE(Text(g_PDADocuments[6].title), nullptr);
  // A seen text document opens again on a click.
  Click(463 + 20, 158 + 20);
  EXPECT_TRUE(Network().m_Viewer.m_Visible);
  Frame();
  EXPECT_EQ(Network().m_Viewer.m_Text, g_PDADocuments[6].text);
  EXPECT_EQ(Text(g_PDADocuments[6].title)->x, 205);  // the viewer's title; the captions are hidden
  EXPECT_EQ(CountTexts(g_PDADocuments[0].title), 0);
  for (const CPDAButton& row : Network().m_Rows) {
    EXPECT_FALSE(row.m_Enabled);
  }
  Click(CPDAAppNetwork::RowX(1) + 20, CPDAAppNetwork::RowY(1) + 20);
  EXPECT_EQ(Network().m_Viewer.m_Title, g_PDADocuments[6].title);
  Click(668 + 10, 164 + 10);
  EXPECT_FALSE(Network().m_Viewer.m_Visible);
  // An image document: its picture at its place.
  Click(CPDAAppNetwork::RowX(2) + 20, CPDAAppNetwork::RowY(2) + 20);
  Frame();
  const auto picture = s.Last().FindSprites(scenario::TextureOf("Document2.png"));
  ASSERT_EQ(picture.size(), 1u);
  EXPECT_EQ(picture[0]->left, 204.0f);
  EXPECT_EQ(picture[0]->top, 200.0f);
}

TEST_F(PdaDesktop, TheViewerDrawsOnlyTheLinesThatEndAboveThePanelBottom) {
  g_LevelDescriptions[2].read = true;
  SeenAllBut({});
  std::wstring longText;
  for (int i = 0; i < 40; ++i) longText += L"Line " + std::to_wstring(i) + L"\n";
  g_PDADocuments[0].text = longText;
  Enter(2);
  pda->SetCurrentApp(PDA_APP_NETWORK);
  Frame();
  Click(CPDAAppNetwork::RowX(0) + 20, CPDAAppNetwork::RowY(0) + 20);
  Frame();
  int lines = 0;
  for (const scenario::TextRecord& t : s.Last().texts)
    if (t.x == 200 && t.text.rfind(L"Line ", 0) == 0) {
      ++lines;
      EXPECT_LE(t.y + 15, 417);
    }
  EXPECT_EQ(lines, 15);
}

}  // namespace
