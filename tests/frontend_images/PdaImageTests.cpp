// The PDA's screens on the OpenGL device, probed by pixel.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "PictureProbes.h"
#include "engine/app/GraphicsDevice.h"
#include "frontend/PdaFixture.h"
#include "frontend/pda/PDALayout.h"
#include "frontend/pda/PDAResources.h"
#include "frontend/pda/apps/PDAAppConfig.h"
#include "frontend/pda/apps/PDAAppDesktop.h"
#include "frontend/pda/apps/PDAAppEmail.h"
#include "frontend/pda/apps/PDAAppLogin.h"
#include "frontend/pda/apps/PDAAppNetwork.h"
#include "frontend/pda/apps/PDAAppObjectives.h"
#include "platform/Input.h"
#include "support/FileSizeLimit.h"

using probe::B;
using probe::G;
using probe::Near;

namespace {

class PdaPictures : public pdatest::PdaTest {
 protected:
  PdaPictures() : PdaTest(true) {}

  bool Capture(const std::string& name) {
    return s.CaptureFrame(name, [&] { pda->UpdateAndDraw(); });
  }
  // White-ish (text) pixels in a box.
  int White(int x0, int y0, int x1, int y1) const { return probe::White(s, x0, y0, x1, y1, 190); }
  // The case around the screen and the plain panel inside it.
  void ExpectFrameAndPanel() {
    EXPECT_TRUE(Near(s.PixelAt(140, 300), 0x2C3037, 12)) << std::hex << s.PixelAt(140, 300);
    EXPECT_TRUE(Near(s.PixelAt(186, 420), 0x0F2236, 10)) << std::hex << s.PixelAt(186, 420);
  }
  void Desktop(uint32_t level, bool mailRead) {
    g_LevelDescriptions[level].read = mailRead;
    Open(PDA_APP_DESKTOP, level);
  }
};

TEST_F(PdaPictures, LoginWithTwoProfilesAndASlotTyping) {
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"Marta", 0));
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"\u0418\u043B\u044C\u044F", 1));
  pda->SetCurrentApp(PDA_APP_LOGIN);
  pda->SetAllButtonsEnabled(true);
  Frame();
  Click(252 + 100, CPDAAppLogin::SlotY(2) + 10);
  s.Next().Type(L"Ana");
  Frame();
  MoveTo(600, 500);
  ASSERT_TRUE(Capture("pda_login_typing"));
  ExpectFrameAndPanel();
  EXPECT_GT(White(295, 176, 380, 196), 30);        // "Marta"
  EXPECT_GT(White(295, 276, 360, 296), 30);        // "Ana_"
  EXPECT_GT(White(192, 115, 300, 145), 30);        // the title
  // The accept button's tick in the typing slot, light blue.
  EXPECT_GT(probe::Count(s, 634, 278, 661, 305, [](uint32_t c) { return B(c) > 220 && G(c) > 180; }), 10);
}

TEST_F(PdaPictures, TheDeleteQuestion) {
  ASSERT_TRUE(g_ProfileStore.CreateProfile(L"Marta", 0));
  pda->SetCurrentApp(PDA_APP_LOGIN);
  pda->SetAllButtonsEnabled(true);
  Frame();
  Click(634 + 10, CPDAAppLogin::SlotY(0) + 10);
  MoveTo(294 + 60, 350 + 20);
  ASSERT_TRUE(Capture("pda_login_delete_question"));
  // Dimmed screen around the panel, the panel, its texts and buttons.
  EXPECT_LT(G(s.PixelAt(200, 400)), 30);
  EXPECT_GT(White(281, 200, 420, 230), 30);
  EXPECT_GT(White(300, 255, 590, 320), 60);
  EXPECT_GT(White(294, 355, 417, 385), 10);
}

TEST_F(PdaPictures, TheNotSavedNoticeOfANewProfile) {
  pda->SetCurrentApp(PDA_APP_LOGIN);
  pda->SetAllButtonsEnabled(true);
  Frame();
  {
    testsupport::FileSizeLimit full(16);  // the profile's files can't be written
    ASSERT_TRUE(full.Active());
    Click(252 + 100, CPDAAppLogin::SlotY(0) + 10);
    s.Next().Type(L"Ana");
    Frame();
    Key(platform::DIK_RETURN);
  }
  MoveTo(600, 500);
  ASSERT_TRUE(Capture("pda_login_not_saved"));
  // The message in two lines on the panel, and the button's word.
  EXPECT_GT(White(280, 260, 610, 310), 60);
  EXPECT_GT(White(430, 362, 462, 380), 10);
}

TEST_F(PdaPictures, DesktopInThreeLanguages) {
  Desktop(0, true);
  for (const wchar_t* language : {L"ENG", L"SPA", L"RUS"}) {
    Language(language);
    Frame();
    const std::string code(language, language + 3);
    ASSERT_TRUE(Capture("pda_desktop_" + code));
    ExpectFrameAndPanel();
    for (int y : {176, 226, 276, 326}) EXPECT_GT(White(260, y, 500, y + 24), 30) << code << " " << y;
    EXPECT_GT(White(185, 422, 400, 442), 30);  // logged in as
    // ...on the screen, whose edge lies below the line's letters.
    EXPECT_TRUE(Near(s.PixelAt(450, 438), 0x0A1826, 6)) << code << std::hex << " " << s.PixelAt(450, 438);
  }
}

// The four application buttons (at x 220, 491 wide, so past the screen's
// right edge) draw their face, border included, inside the screen with as
// much room right of it as left, in the normal and the hover image; their
// labels stay on the faces in every language.
TEST_F(PdaPictures, DesktopButtonsLieInsideTheScreenWithEvenMargins) {
  Desktop(0, true);
  constexpr int left = pda::SCREEN_X, right = pda::SCREEN_X + pda::SCREEN_W;  // right excluded
  // The border's light blue (either image's), not a label's white or its blend into the face.
  const auto rim = [](uint32_t c) { return B(c) > 200 && B(c) - probe::R(c) > 80; };
  const auto expectInside = [&](int y, const std::string& what) {
    const int row = y + 20;
    int first = -1, last = -1;
    for (int x = left; x < right; ++x)
      if (rim(s.PixelAt(x, row))) {
        if (first < 0) first = x;
        last = x;
      }
    ASSERT_GE(first, 0) << what;
    EXPECT_GT(last - first, 400) << what << ": no right border on the screen";
    EXPECT_GE(probe::Count(s, last, y + 6, last + 1, y + 35, rim), 28) << what << " x " << last;
    EXPECT_NEAR(first - left, right - 1 - last, 1) << what << ": left and right margins";
    // Beyond the border lies the panel, as before the left one.
    EXPECT_TRUE(Near(s.PixelAt(last + 1, row), s.PixelAt(first - 1, row), 2))
        << what << std::hex << " " << s.PixelAt(last + 1, row);
    EXPECT_EQ(White(last, y, right, y + 41), 0) << what << ": a label past the face";
  };
  const int buttons[] = {175, 225, 275, 326};
  for (const wchar_t* language : {L"ENG", L"SPA", L"RUS"}) {
    Language(language);
    const std::string code(language, language + 3);
    MoveTo(600, 560);
    ASSERT_TRUE(Capture("pda_desktop_buttons_" + code));
    for (int y : buttons) expectInside(y, code + " " + std::to_string(y));
  }
  for (int y : buttons) {
    MoveTo(600, y + 24);  // the pointer below the label and clear of the borders
    ASSERT_TRUE(Capture("pda_desktop_hover_" + std::to_string(y)));
    expectInside(y, "hovered " + std::to_string(y));
  }
}

// The dialogs' backdrop dims the plain rectangle (180, 109)-(709, 491): the
// frame's screen fills exactly that rectangle, and the bezel around it stays
// as it was when the exit question opens over the desktop.
TEST_F(PdaPictures, TheExitQuestionDimsTheWholeScreenAndNothingOfTheBezel) {
  Desktop(0, true);
  MoveTo(600, 560);
  ASSERT_TRUE(Capture("pda_desktop_plain"));
  const std::vector<uint32_t> plain = s.Pixels();
  Click(191 + 5, 454 + 5);
  MoveTo(600, 560);
  ASSERT_TRUE(Capture("pda_desktop_exit_question"));
  const auto at = [](const std::vector<uint32_t>& p, int x, int y) { return p[size_t(y) * 800 + size_t(x)]; };
  const auto sum = [](uint32_t c) { return int((c >> 16) & 0xFF) + G(c) + B(c); };
  int inside = 0, outside = 0;
  const auto ring = [&](int left, int top, int right, int bottom, const std::function<void(int, int)>& probe) {
    for (int x = left; x <= right; x += 4) probe(x, top), probe(x, bottom);
    for (int y = top; y <= bottom; y += 4) probe(left, y), probe(right, y);
  };
  // One pixel inside the rectangle: the screen's own colour, dimmed by the backdrop.
  ring(180, 109, 708, 490, [&](int x, int y) {
    ++inside;
    EXPECT_TRUE(Near(at(plain, x, y), 0x0A1826, 6)) << x << "," << y << std::hex << " " << at(plain, x, y);
    EXPECT_LT(sum(s.PixelAt(x, y)), sum(at(plain, x, y))) << x << "," << y;
  });
  // One pixel outside: the bezel, not the screen, and not dimmed.
  ring(179, 108, 709, 491, [&](int x, int y) {
    ++outside;
    EXPECT_FALSE(Near(at(plain, x, y), 0x0A1826, 6)) << x << "," << y;
    EXPECT_TRUE(Near(s.PixelAt(x, y), at(plain, x, y), 2)) << x << "," << y;
  });
  EXPECT_GT(inside, 400);
  EXPECT_GT(outside, 400);
  // The frame buttons' seats lie on the screen, under the backdrop while the question is open.
  EXPECT_LT(sum(s.PixelAt(191 - 2, 454 + 13)), sum(at(plain, 191 - 2, 454 + 13)));
  No();
}

TEST_F(PdaPictures, DecryptNoticeNearHalfway) {
  for (CPDADocument& d : g_PDADocuments) d.enabled = true;
  g_PDADocuments[4].enabled = false;
  Desktop(1, true);
  auto& desktop = AppAt<CPDAAppDesktop>(PDA_APP_DESKTOP);
  for (int frames = 0; desktop.m_Decrypt.m_Progress < 0.48f && frames < 2000; ++frames) Frame();
  ASSERT_GE(desktop.m_Decrypt.m_Progress, 0.48f);
  desktop.m_Decrypt.m_BarFill.m_ScaleX = desktop.m_Decrypt.m_Progress;
  ASSERT_TRUE(Capture("pda_decrypt_notice"));
  // The bar (x 324 .. 564) green over about its first half.
  EXPECT_GT(std::min(G(s.PixelAt(340, 322)), G(s.PixelAt(430, 322))), 120);
  EXPECT_LT(G(s.PixelAt(540, 322)), 60);
  EXPECT_GT(White(281, 200, 420, 230), 30);
}

TEST_F(PdaPictures, MailNotice) {
  Desktop(0, false);
  ASSERT_TRUE(Capture("pda_mail_notice"));
  EXPECT_GT(White(355, 285, 600, 305), 30);
  EXPECT_GT(White(384, 355, 507, 385), 10);
}

TEST_F(PdaPictures, EmailScrolledHalfwayAndWithAnAttachmentOpen) {
  std::wstring mail;
  for (int i = 1; i <= 30; ++i) mail += L"Paragraph " + std::to_wstring(i) + L" of the long briefing, with words.\n";
  Desktop(1, true);
  g_LevelDescriptions[1].emailText = mail;
  pda->SetCurrentApp(PDA_APP_EMAIL);
  Frame();
  auto& email = AppAt<CPDAAppEmail>(PDA_APP_EMAIL);
  const int target = 220 - (email.m_LastHeight - 185) / 2;
  for (int turns = 0; email.m_Scroll > target && turns < 200; ++turns) {
    s.Next().Wheel(-1);
    Frame();
  }
  MoveTo(600, 520);
  ASSERT_TRUE(Capture("pda_email_scrolled"));
  EXPECT_GT(White(200, 230, 500, 400), 200);
  EXPECT_EQ(White(200, 160, 660, 164), 0);  // nothing above the overlay's edge but captions
  Click(193 + 20, 166 + 10);
  MoveTo(600, 520);
  ASSERT_TRUE(Capture("pda_email_attachment"));
  // The picture lies at (204, 200), 480 x 200, inside the viewer's panel
  // (189, 163)-(699, 417) below its title.
  EXPECT_FALSE(Near(s.PixelAt(300, 300), 0x0F2236, 4));
  EXPECT_GT(White(205, 166, 400, 182), 10);
  // Level4's plan shows whole: its light walls stand inside the picture,
  // none run into the 8 pixels along any of its edges.
  const auto walls = [&](int x0, int y0, int x1, int y1) {
    return probe::Count(s, x0, y0, x1, y1, [](uint32_t c) { return probe::R(c) > 150 && G(c) > 170 && B(c) > 170; });
  };
  EXPECT_GT(walls(212, 208, 676, 392), 300);
  EXPECT_EQ(walls(204, 392, 684, 400), 0) << "bottom";
  EXPECT_EQ(walls(204, 200, 684, 208), 0) << "top";
  EXPECT_EQ(walls(204, 200, 212, 400), 0) << "left";
  EXPECT_EQ(walls(676, 200, 684, 400), 0) << "right";
}

// Level4's briefing in each language stays inside the mail's text area,
// left of the scroll arrows (x 677), and the attachment's title inside its button.
TEST_F(PdaPictures, BriefingMailInThreeLanguages) {
  Desktop(1, true);
  for (const wchar_t* language : {L"ENG", L"SPA", L"RUS"}) {
    Language(language);
    pda->SetCurrentApp(PDA_APP_EMAIL);
    MoveTo(600, 520);
    const std::string code(language, language + 3);
    ASSERT_TRUE(Capture("pda_email_" + code));
    EXPECT_GT(White(200, 220, 660, 300), 200) << code;
    EXPECT_EQ(White(676, 215, 720, 420), 0) << code;
    for (int x : {662, 671})  // the text area reaches past x 670, in one piece
      EXPECT_TRUE(Near(s.PixelAt(x, 390), 0x0A1A2A, 6)) << code << " " << x;
    // The first attachment button (193, 166, 163 x 33): its title's ends
    // stay off the button's rim.
    EXPECT_GT(White(200, 170, 350, 196), 20) << code;
    EXPECT_EQ(White(193, 166, 198, 199) + White(351, 166, 356, 199), 0) << code;
  }
}

TEST_F(PdaPictures, NetworkListTextAndImageDocuments) {
  for (CPDADocument& d : g_PDADocuments) d.enabled = true;
  Desktop(1, true);
  pda->SetCurrentApp(PDA_APP_NETWORK);
  MoveTo(463 + 50, 158 + 20);
  ASSERT_TRUE(Capture("pda_network_list"));
  ExpectFrameAndPanel();
  EXPECT_GT(White(199, 160, 420, 195), 20);  // a title
  EXPECT_GT(White(463, 380, 686, 415), 20);  // "[ Locked ]"
  Click(CPDAAppNetwork::RowX(0) + 20, CPDAAppNetwork::RowY(0) + 20);
  MoveTo(600, 520);
  ASSERT_TRUE(Capture("pda_network_text"));
  EXPECT_GT(White(200, 191, 660, 230), 40);
  Click(668 + 10, 164 + 10);
  // The four pictures: the training hall's plan, Level4's circuit, the
  // camera still and the core's map (open from the last level on); each
  // shows light lines on its ground.
  g_ProfileStore.GetCurrentProfile().levelReached = 2;
  for (CPDADocument& d : g_PDADocuments) d.enabled = true;
  pda->SetCurrentApp(PDA_APP_NETWORK);
  for (int row : {2, 5, 8, 11}) {
    Click(CPDAAppNetwork::RowX(row) + 20, CPDAAppNetwork::RowY(row) + 20);
    MoveTo(600, 520);
    ASSERT_TRUE(Capture("pda_network_image_" + std::to_string(row)));
    EXPECT_GT(probe::Count(s, 204, 200, 684, 400, [](uint32_t c) { return G(c) > 170 && B(c) > 170; }), 150) << row;
    Click(668 + 10, 164 + 10);
  }
}

TEST_F(PdaPictures, ConfigurationCapturingAndTheSaveQuestion) {
  Desktop(0, true);
  pda->SetCurrentApp(PDA_APP_CONFIG);
  Frame();
  Click(300, CPDAAppConfig::ROW_Y[0] + 10);
  MoveTo(600, 520);
  ASSERT_TRUE(Capture("pda_config_capturing"));
  // The MoveUp row lit, with the slash key's name.
  EXPECT_GT(B(s.PixelAt(470, 183)), 120);
  EXPECT_GT(White(349, 174, 420, 190), 5);
  EXPECT_GT(White(241, 196, 340, 300), 100);  // the other labels
  Key(platform::DIK_E);
  auto& config = AppAt<CPDAAppConfig>(PDA_APP_CONFIG);
  config.m_Gamma.SetValue(0.25f);
  CloseApp();
  MoveTo(600, 520);
  ASSERT_TRUE(Capture("pda_config_save_question"));
  EXPECT_GT(White(300, 255, 590, 320), 60);
}

TEST_F(PdaPictures, InGameObjectivesWithTheExitQuestionAndTheGpsMap) {
  Profile(L"Ana", 0);
  pda->SetCurrentApp(PDA_APP_OBJECTIVES);
  pda->SetAllButtonsEnabled(true);
  MoveTo(260 + 10, 454 + 10);
  ASSERT_TRUE(Capture("pda_objectives"));
  EXPECT_GT(White(192, 115, 320, 145), 30);
  EXPECT_GT(White(250, 545, 550, 572), 20);  // the level reset hint
  // Level4's three objectives, open, in each language: an entry a line
  // (y 179, 239, 299), status included; no line of text touches a ruled line.
  auto& objectives = AppAt<CPDAAppObjectives>(PDA_APP_OBJECTIVES);
  for (const wchar_t* language : {L"ENG", L"SPA", L"RUS"}) {
    Language(language);
    const std::string code(language, language + 3);
    std::vector<PDAObjective> list;
    for (const char* id : {"TXT_OBJ_L4_TARGETS", "TXT_OBJ_L4_CIRCUIT", "TXT_OBJ_L4_EXIT"})
      list.push_back({Nembra::GetText(id), false});
    ASSERT_TRUE(s.CaptureFrame("pda_objectives_level4_" + code, [&] {
      pda->UpdateAndDraw();
      if (!Nembra::g_pGraphicsDevice->BeginSprite(16)) return;
      objectives.DrawList(list);
      Nembra::g_pGraphicsDevice->EndSprite();
    }));
    for (int line = 0; line < 6; ++line)
      if (line % 2 == 0)
        EXPECT_GT(White(206, 179 + 30 * line, 690, 205 + 30 * line), 150) << code << " line " << line;
      else
        EXPECT_EQ(White(206, 179 + 30 * line, 690, 205 + 30 * line), 0) << code << " line " << line;
    int rules = 0;
    for (int y = 160; y < 415; ++y) {  // the list's rules, not the panel's foot
      if (!Near(s.PixelAt(203, y), 0x1E3854, 6)) continue;
      ++rules;
      EXPECT_EQ(White(206, y - 4, 690, y + 5), 0) << code << " rule at y " << y;  // with room above and below
    }
    EXPECT_GE(rules, 7) << code;
  }
  Language(L"ENG");
  Click(191 + 5, 454 + 5);
  MoveTo(600, 520);
  ASSERT_TRUE(Capture("pda_objectives_exit_question"));
  EXPECT_GT(White(300, 255, 590, 320), 60);
  No();
  // The GPS from the desktop, with the level's map.
  g_LevelDescriptions[0].read = true;
  pda->m_Map.SetTexture(pda::Texture("MapTutorial.png"));
  pda->m_Map.SetSourceRect(Nembra::MakeRect(0, 0, 512, 256));
  pda->SetCurrentApp(PDA_APP_DESKTOP);
  Frame();
  Click(220 + 100, 275 + 20);
  MoveTo(600, 520);
  ASSERT_TRUE(Capture("pda_gps"));
  EXPECT_TRUE(Near(s.PixelAt(190, 164), 0x081E16, 12)) << std::hex << s.PixelAt(190, 164);
}

}  // namespace
