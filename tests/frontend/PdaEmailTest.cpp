// The e-mail application on the demo levels' mails: scrolling limits, the
// read flag, attachments in the viewer.
#include <gtest/gtest.h>

#include "PdaFixture.h"
#include "frontend/pda/apps/PDAAppEmail.h"

namespace {

class PdaEmail : public pdatest::PdaTest {
 protected:
  void Open(uint32_t level) {
    Profile(L"Ana", level);
    pda->SetCurrentApp(PDA_APP_DESKTOP);
    pda->SetAllButtonsEnabled(true);
    pda->SetCurrentApp(PDA_APP_EMAIL);
    Frame();
  }
  CPDAAppEmail& Mail() { return AppAt<CPDAAppEmail>(PDA_APP_EMAIL); }
  // The y of the mail's first line in the last frame.
  int FirstLineY() const {
    for (const scenario::TextRecord& t : s.Last().texts)
      if (t.font == "GUI_FONT_SMALLNUMBERS" && t.x == 200) return t.y;
    return -100000;
  }
  // The viewer's title line is drawn.
  bool ViewerTitle(const std::wstring& title) const {
    for (const scenario::TextRecord* t : s.Last().FindText(title))
      if (t->x == 205 && t->y == 166) return true;
    return false;
  }
  static std::wstring LongMail(size_t characters) {
    std::wstring text;
    while (text.size() < characters) text += L"Line of the briefing with several words in it. ";
    return text.substr(0, characters);
  }
};

TEST_F(PdaEmail, ALevelWithoutAttachmentsHasThreeDisabledEmptyButtons) {
  g_LevelDescriptions[0].attachmentCount = 0;
  Open(0);
  for (const CPDAButton& b : Mail().m_Attachments) {
    EXPECT_FALSE(b.m_Enabled);
    EXPECT_TRUE(b.m_Caption.empty());
  }
  EXPECT_EQ(Click(193 + 20, 166 + 10), 0);
  EXPECT_FALSE(Mail().m_Viewer.m_Visible);
}

TEST_F(PdaEmail, OpeningSetsTheReadFlagOfTheTableRecordAndStartsAtTheTop) {
  EXPECT_FALSE(g_LevelDescriptions[1].read);
  Open(1);
  EXPECT_TRUE(g_LevelDescriptions[1].read);
  EXPECT_FALSE(g_LevelDescriptions[0].read);
  EXPECT_EQ(FirstLineY(), 220);
  EXPECT_EQ(Mail().m_Scroll, 220);
}

TEST_F(PdaEmail, AShortMailDoesNotScrollAndUpNeverPasses220) {
  Open(0);
  ASSERT_LT(Mail().m_LastHeight, 195);
  s.Next().Wheel(-1);
  Frame();
  Frame();
  EXPECT_EQ(FirstLineY(), 220);
  // Holding the down button over many frames: nothing moves.
  for (int i = 0; i < 5; ++i) Click(668 + 10, 391 + 10);
  EXPECT_EQ(Mail().m_Scroll, 220);
  s.Next().Wheel(3);
  Frame();
  EXPECT_EQ(Mail().m_Scroll, 220);
}

TEST_F(PdaEmail, ALongMailScrollsTenPixelsAFrameAndStopsNear405) {
  g_LevelDescriptions[0].emailText = LongMail(3000);
  Open(0);
  Frame();
  const int height = Mail().m_LastHeight;
  ASSERT_GT(height, 400);
  // The wheel: one step per frame in which it turned.
  s.Next().Wheel(-1);
  Frame();
  EXPECT_EQ(Mail().m_Scroll, 210);
  s.Next().Wheel(-5);
  Frame();
  EXPECT_EQ(Mail().m_Scroll, 200);
  Frame();
  EXPECT_EQ(Mail().m_Scroll, 200);
  // The button: one step in the click's frame.
  Click(668 + 10, 391 + 10);
  EXPECT_EQ(Mail().m_Scroll, 190);
  for (int i = 0; i < 400; ++i) {
    s.Next().Wheel(-1);
    Frame();
  }
  // The text's end rests near y 405.
  const int end = Mail().m_Scroll + Mail().m_LastHeight;
  EXPECT_GE(end, 405 - 10);
  EXPECT_LE(end, 405 + 10);
  // Back up: never below the top.
  for (int i = 0; i < 400; ++i) {
    s.Next().Wheel(1);
    Frame();
  }
  EXPECT_EQ(Mail().m_Scroll, 220);
  Click(668 + 10, 209 + 10);
  EXPECT_EQ(Mail().m_Scroll, 220);
  // The overlay lies over the text; the attachment buttons over the overlay.
  const auto overlay = s.Last().FindSprites(scenario::TextureOf("PDA2.png"), 491, 270);
  ASSERT_EQ(overlay.size(), 1u);
  const auto attachment = s.Last().FindSprites(scenario::TextureOf("PDA2.png"), 144, 369);
  ASSERT_EQ(attachment.size(), 1u);
  EXPECT_LT(overlay[0]->order, attachment[0]->order);
  for (const scenario::TextRecord& t : s.Last().texts)
    if (t.x == 200 && t.font == "GUI_FONT_SMALLNUMBERS") {
      EXPECT_LT(t.order, overlay[0]->order);
    }
}

TEST_F(PdaEmail, TextAndImageAttachmentsOpenAndClose) {
  Open(0);  // a text attachment
  const CPDADocument& text = g_LevelDescriptions[0].attachments[0];
  ASSERT_EQ(text.type, PDA_DOCUMENT_TEXT);
  EXPECT_EQ(Mail().m_Attachments[0].m_Caption, text.title);
  EXPECT_TRUE(Mail().m_Attachments[0].m_Enabled);
  EXPECT_FALSE(Mail().m_Attachments[1].m_Enabled);
  Click(193 + 20, 166 + 10);
  EXPECT_TRUE(Mail().m_Viewer.m_Visible);
  Frame();
  EXPECT_TRUE(ViewerTitle(text.title));
  EXPECT_FALSE(s.Last().FindTextContaining(L"2. Shoot the box and the barrel.").empty());
  EXPECT_FALSE(Mail().m_Attachments[0].m_Enabled);
  Click(668 + 10, 164 + 10);
  EXPECT_FALSE(Mail().m_Viewer.m_Visible);
  EXPECT_TRUE(Mail().m_Attachments[0].m_Enabled);
  Frame();
  EXPECT_FALSE(ViewerTitle(text.title));
  EXPECT_EQ(CountTexts(text.title), 1);  // the caption on its button

  // An image attachment: the picture at its place, no body text.
  pda->SetCurrentApp(PDA_APP_DESKTOP);
  g_ProfileStore.GetCurrentProfile().levelReached = 1;
  pda->SetCurrentApp(PDA_APP_EMAIL);
  Frame();
  const CPDADocument& image = g_LevelDescriptions[1].attachments[0];
  ASSERT_EQ(image.type, PDA_DOCUMENT_IMAGE);
  Click(193 + 20, 166 + 10);
  Frame();
  const auto pictures = s.Last().FindSprites(scenario::TextureOf("Attachment_Level4.png"));
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0]->left, 204.0f);
  EXPECT_EQ(pictures[0]->top, 200.0f);
  EXPECT_EQ(pictures[0]->SourceWidth(), 480);
  Click(668 + 10, 164 + 10);
  Frame();
  EXPECT_TRUE(s.Last().FindSprites(scenario::TextureOf("Attachment_Level4.png")).empty());
}

}  // namespace
