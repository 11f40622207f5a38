// The desktop's notices (new documents, new mail) and the network application's list and viewer.
#include <gtest/gtest.h>

#include "frontend/PdaFixture.h"
#include "frontend/pda/apps/PDAAppDesktop.h"
#include "frontend/pda/apps/PDAAppNetwork.h"

namespace {

class PdaDesktop : public pdatest::PdaTest {
 protected:
  void Enter(uint32_t level) { Open(PDA_APP_DESKTOP, level); }
  void ClickRow(int row) { Click(CPDAAppNetwork::RowX(row) + 20, CPDAAppNetwork::RowY(row) + 20); }
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
  while (Desktop().m_Decrypt.m_Progress < 0.9f) Frame();
  EXPECT_FALSE(Desktop().m_Decrypt.m_Ok.m_Enabled);
  ClickOk();
  EXPECT_TRUE(Desktop().m_Decrypt.m_Visible);
  // At one second the bar is exactly full and the button works.
  while (Desktop().m_Decrypt.m_Progress < 1.0f) Frame();
  EXPECT_EQ(std::make_pair(Desktop().m_Decrypt.m_Progress, Desktop().m_Decrypt.m_BarFill.m_ScaleX),
            std::make_pair(1.0f, 1.0f));
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
  ClickRow(5);
  EXPECT_EQ(Network().m_Viewer.m_Title, g_PDADocuments[6].title);
}

TEST_F(PdaDesktop, ButtonsAreInertUnderANoticeAndTheMailNoticeLeadsToTheMail) {
  Enter(0);
  ASSERT_TRUE(Desktop().m_Mail.m_Visible);
  for (const CPDAButton& b : Desktop().m_Buttons) EXPECT_FALSE(b.m_Enabled);
  Click(220 + 100, 275 + 20);  // GPS, under the notice's backdrop
  EXPECT_EQ(pda->GetCurrentAppIndex(), PDA_APP_DESKTOP);
  EXPECT_FALSE(Button(PDA_BUTTON_START_GAME).m_Enabled);
  ClickOk();
  EXPECT_EQ(pda->GetCurrentAppIndex(), PDA_APP_EMAIL);
  EXPECT_TRUE(g_LevelDescriptions[0].read);
  CloseApp();
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
  for (const CPDAButton& row : Network().m_Rows) EXPECT_FALSE(row.m_Enabled);
  ClickRow(0);
  EXPECT_FALSE(Network().m_Viewer.m_Visible);
}

TEST_F(PdaDesktop, NetworkRowsOpenDocumentsAndHideWhileViewing) {
  g_LevelDescriptions[2].read = true;
  SeenAllBut({});
  Enter(2);
  pda->SetCurrentApp(PDA_APP_NETWORK);
  Frame();
  EXPECT_FALSE(Network().m_Viewer.m_Visible);  // nothing new: nothing opens
  EXPECT_EQ(std::make_pair(CPDAAppNetwork::RowX(6), CPDAAppNetwork::RowY(6)), std::make_pair(463, 158));
  const auto rows = s.Last().FindSprites(scenario::TextureOf("PDA2.png"), 0, 540);
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_EQ(std::make_pair(rows[6]->left, rows[6]->top), std::make_pair(463.0f, 158.0f));
  ASSERT_NE(Text(g_PDADocuments[6].title), nullptr);
  // A seen text document opens again on a click.
  Click(463 + 20, 158 + 20);
  EXPECT_TRUE(Network().m_Viewer.m_Visible);
  Frame();
  EXPECT_EQ(Network().m_Viewer.m_Text, g_PDADocuments[6].text);
  EXPECT_EQ(Text(g_PDADocuments[6].title)->x, 205);  // the viewer's title; the captions are hidden
  EXPECT_EQ(CountTexts(g_PDADocuments[0].title), 0);
  for (const CPDAButton& row : Network().m_Rows) EXPECT_FALSE(row.m_Enabled);
  ClickRow(1);
  EXPECT_EQ(Network().m_Viewer.m_Title, g_PDADocuments[6].title);
  Click(668 + 10, 164 + 10);
  EXPECT_FALSE(Network().m_Viewer.m_Visible);
  // An image document: its picture at its place.
  ClickRow(2);
  Frame();
  const auto picture = s.Last().FindSprites(scenario::TextureOf("Document2.png"));
  ASSERT_EQ(picture.size(), 1u);
  EXPECT_EQ(std::make_pair(picture[0]->left, picture[0]->top), std::make_pair(204.0f, 200.0f));
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
  ClickRow(0);
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
