// The e-mail application on the demo levels' mails: scrolling limits, the read flag, attachments.
#include <gtest/gtest.h>

#include "frontend/PdaFixture.h"
#include "frontend/pda/apps/PDAAppEmail.h"

namespace {

class PdaEmail : public pdatest::PdaTest {
 protected:
  void Open(uint32_t level) { PdaTest::Open(PDA_APP_EMAIL, level); }
  void Wheel(int notches) {
    s.Next().Wheel(notches);
    Frame();
  }
  void AttachmentClick() { Click(193 + 20, 166 + 10); }
  void ViewerClose() { Click(668 + 10, 164 + 10); }
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
  AttachmentClick();
  EXPECT_EQ(pda->m_ResultCode, 0);
  EXPECT_FALSE(Mail().m_Viewer.m_Visible);
}

TEST_F(PdaEmail, OpeningSetsTheReadFlagOfTheTableRecordAndStartsAtTheTop) {
  EXPECT_FALSE(g_LevelDescriptions[1].read);
  Open(1);
  EXPECT_TRUE(g_LevelDescriptions[1].read);
  EXPECT_FALSE(g_LevelDescriptions[0].read);
  EXPECT_EQ(std::make_pair(FirstLineY(), Mail().m_Scroll), std::make_pair(220, 220));
}

TEST_F(PdaEmail, AShortMailDoesNotScrollAndUpNeverPasses220) {
  Open(0);
  ASSERT_LT(Mail().m_LastHeight, 195);
  Wheel(-1);
  Frame();
  EXPECT_EQ(FirstLineY(), 220);
  // Holding the down button over many frames: nothing moves.
  for (int i = 0; i < 5; ++i) Click(668 + 10, 391 + 10);
  EXPECT_EQ(Mail().m_Scroll, 220);
  Wheel(3);
  EXPECT_EQ(Mail().m_Scroll, 220);
}

TEST_F(PdaEmail, ALongMailScrollsTenPixelsAFrameAndStopsNear405) {
  g_LevelDescriptions[0].emailText = LongMail(3000);
  Open(0);
  Frame();
  const int height = Mail().m_LastHeight;
  ASSERT_GT(height, 400);
  // The wheel: one step per frame in which it turned.
  Wheel(-1);
  EXPECT_EQ(Mail().m_Scroll, 210);
  Wheel(-5);
  EXPECT_EQ(Mail().m_Scroll, 200);
  Frame();
  EXPECT_EQ(Mail().m_Scroll, 200);
  // The button: one step in the click's frame.
  Click(668 + 10, 391 + 10);
  EXPECT_EQ(Mail().m_Scroll, 190);
  for (int i = 0; i < 400; ++i) Wheel(-1);
  EXPECT_NEAR(Mail().m_Scroll + Mail().m_LastHeight, 405, 10);  // the text's end rests near y 405
  // Back up: never below the top.
  for (int i = 0; i < 400; ++i) Wheel(1);
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
    EXPECT_TRUE(t.x != 200 || t.font != "GUI_FONT_SMALLNUMBERS" || t.order < overlay[0]->order);
}

TEST_F(PdaEmail, TextAndImageAttachmentsOpenAndClose) {
  Open(0);  // a text attachment
  const CPDADocument& text = g_LevelDescriptions[0].attachments[0];
  ASSERT_EQ(text.type, PDA_DOCUMENT_TEXT);
  EXPECT_EQ(Mail().m_Attachments[0].m_Caption, text.title);
  EXPECT_TRUE(Mail().m_Attachments[0].m_Enabled);
  EXPECT_FALSE(Mail().m_Attachments[1].m_Enabled);
  AttachmentClick();
  EXPECT_TRUE(Mail().m_Viewer.m_Visible);
  Frame();
  EXPECT_TRUE(ViewerTitle(text.title));
  EXPECT_FALSE(s.Last().FindTextContaining(L"2. Shoot the box and the barrel.").empty());
  EXPECT_FALSE(Mail().m_Attachments[0].m_Enabled);
  ViewerClose();
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
  AttachmentClick();
  Frame();
  const auto pictures = s.Last().FindSprites(scenario::TextureOf("Attachment_Level4.png"));
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(std::make_tuple(pictures[0]->left, pictures[0]->top, pictures[0]->SourceWidth()),
            std::make_tuple(204.0f, 200.0f, 480));
  ViewerClose();
  Frame();
  EXPECT_TRUE(s.Last().FindSprites(scenario::TextureOf("Attachment_Level4.png")).empty());
}

}  // namespace
