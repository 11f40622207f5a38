// The PDA's question panel, its shell (frame buttons, questions, results,
// hints, which buttons each application shows), the objectives and the GPS.
#include <gtest/gtest.h>

#include "frontend/PdaFixture.h"
#include "engine/fonts/BitmapFont.h"
#include "frontend/FontNames.h"
#include "frontend/pda/PDAResources.h"
#include "frontend/pda/apps/PDAAppDesktop.h"
#include "frontend/pda/apps/PDAAppObjectives.h"
#include "game/level/Level.h"

namespace {

using pdatest::PdaTest;

// One frame of a question panel of its own: its update, then its texts.
void DialogFrame(scenario::ScreenScenario& s, CPDAConfirmDialog& dialog) {
  s.Frame([&] { scenario::ScreenScenario::TwoPass([&] { dialog.Update(); }, [&] { dialog.Draw(); }); });
}

TEST_F(PdaTest, QuestionAnswersForOneFrameAndKeepsItsPurpose) {
  CPDAConfirmDialog dialog;
  dialog.Load();
  dialog.RefreshTexts();
  dialog.SetMessage(L"Question");
  dialog.m_Purpose = 8;
  dialog.m_Visible = true;
  std::vector<int> answers;
  auto frames = [&](const std::vector<fetest::FrameInput>& inputs) {
    s.Script(inputs);
    for (size_t i = 0; i < inputs.size(); ++i) {
      DialogFrame(s, dialog);
      answers.push_back(dialog.m_Answer);
    }
  };
  using fetest::FrameInput;
  frames({FrameInput().MoveTo(294 + 60, 350 + 20), FrameInput().Press(), FrameInput().Release(), FrameInput()});
  EXPECT_EQ(answers, (std::vector<int>{0, 0, 4, 0}));
  EXPECT_EQ(dialog.m_Purpose, 8);
  EXPECT_TRUE(dialog.m_Visible);  // the owner hides it
  frames({FrameInput().MoveTo(474 + 10, 360).Press(), FrameInput().Release()});  // "No" (474, 350)
  EXPECT_EQ(answers.back(), 5);
  EXPECT_TRUE(Text(T("TXT_YES")) && Text(T("TXT_NO")));
  EXPECT_EQ(fetest::TextAt(s, T("TXT_CONFIRM")), (fetest::At{281, 200}));
  // A hidden question neither draws nor answers.
  dialog.m_Visible = false;
  frames({FrameInput()});
  EXPECT_TRUE(s.Last().sprites.empty());
  EXPECT_EQ(answers.back(), 0);
}

TEST_F(PdaTest, QuestionWrapsItsMessageIn340PixelLinesCentredOn443) {
  CPDAConfirmDialog dialog;
  dialog.Load();
  const std::wstring message =
      L"This message is a good deal wider than the panel of the question and so it breaks at its spaces";
  dialog.SetMessage(message);
  dialog.m_Visible = true;
  DialogFrame(s, dialog);
  std::vector<const scenario::TextRecord*> lines;
  for (const scenario::TextRecord& t : s.Last().texts)
    if (t.font == "PDA_STD") lines.push_back(&t);
  ASSERT_GE(lines.size(), 3u);
  std::wstring joined;
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_LE(lines[i]->width, 340);
    EXPECT_NEAR(lines[i]->x + lines[i]->width / 2.0, 443.0, 1.0);
    EXPECT_EQ(lines[i]->y, 260 + 30 * int(i));
    joined += (i ? L" " : L"") + lines[i]->text;
  }
  EXPECT_EQ(joined, message);
}

TEST_F(PdaTest, StartGameGivesSixInTheClickFrameOverwritingARequest) {
  Profile(L"Ana", 0);
  pda->SetCurrentApp(PDA_APP_OBJECTIVES);
  pda->SetAllButtonsEnabled(true);
  MoveTo(671 + 5, 454 + 5);
  s.Next().Press();
  Frame();
  pda->GetApp(PDA_APP_OBJECTIVES)->Post(9, 1);
  s.Next().Release();
  Frame();
  EXPECT_EQ(pda->m_ResultCode, PDA_RESULT_START_GAME);
  Frame();
  EXPECT_EQ(pda->m_ResultCode, 0);
}

TEST_F(PdaTest, SystemOffAsksFirstAndDisablesEverythingMeanwhile) {
  Profile(L"Ana", 0);
  // The desktop's mail notice is not wanted here.
  g_LevelDescriptions[0].read = true;
  pda->SetCurrentApp(PDA_APP_DESKTOP);
  EXPECT_EQ(Click(191 + 5, 454 + 5), 0);
  EXPECT_TRUE(pda->m_Confirm.m_Visible);
  EXPECT_EQ(pda->m_Confirm.GetMessage(), T("TXT_CONFIRM_EXIT"));
  for (auto& entry : pda->m_FrameButtons) EXPECT_FALSE(entry.second.m_Enabled) << entry.first;
  // No: nothing happens, everything is enabled again.
  EXPECT_EQ(No(), 0);
  EXPECT_FALSE(pda->m_Confirm.m_Visible);
  for (auto& entry : pda->m_FrameButtons) EXPECT_TRUE(entry.second.m_Enabled) << entry.first;
  // Yes: the purpose as the result, in the answer's frame only.
  Click(191 + 5, 454 + 5);
  EXPECT_EQ(Yes(), PDA_RESULT_EXIT);
  Frame();
  EXPECT_EQ(pda->m_ResultCode, 0);
  // Change profile (3) and level reset (2) on the objectives screen.
  pda->SetCurrentApp(PDA_APP_OBJECTIVES);
  Click(226 + 5, 454 + 5);
  EXPECT_EQ(Yes(), PDA_RESULT_CHANGE_PROFILE);
  Click(260 + 5, 454 + 5);
  EXPECT_EQ(pda->m_Confirm.GetMessage(), T("TXT_CONFIRM_RESET"));
  EXPECT_EQ(Yes(), PDA_RESULT_RESET_LEVEL);
}

TEST_F(PdaTest, AQuestionDisablesTheApplicationsWidgetsAndANewLanguageRecaptionsAtOnce) {
  Profile(L"Ana", 0);
  g_LevelDescriptions[0].read = true;
  pda->SetAllButtonsEnabled(true);
  pda->SetCurrentApp(PDA_APP_DESKTOP);
  Frame();
  Click(226 + 5, 454 + 5);  // change profile
  ASSERT_TRUE(pda->m_Confirm.m_Visible);
  auto& desktop = AppAt<CPDAAppDesktop>(PDA_APP_DESKTOP);
  for (const CPDAButton& b : desktop.m_Buttons) EXPECT_FALSE(b.m_Enabled);
  Click(220 + 100, 175 + 20);  // the network entry, under the question
  EXPECT_EQ(pda->GetCurrentAppIndex(), PDA_APP_DESKTOP);
  Language(L"SPA");
  Frame();
  EXPECT_TRUE(Shows(L"S\u00ed") && Shows(L"No") && Shows(L"Aplicaciones"));
  No();
  for (const CPDAButton& b : desktop.m_Buttons) EXPECT_TRUE(b.m_Enabled);
}

TEST_F(PdaTest, EachApplicationShowsItsFrameButtons) {
  Profile(L"Ana", 0);
  g_LevelDescriptions[0].read = true;
  using Flags = std::vector<bool>;
  // Close, change profile, level reset and start game shown; system off, start, profile, reset and close enabled.
  auto Visible = [&] {
    return Flags{Button(PDA_BUTTON_CLOSE_APP).m_Visible, Button(PDA_BUTTON_CHANGE_PROFILE).m_Visible,
                 Button(PDA_BUTTON_LEVEL_RESET).m_Visible, Button(PDA_BUTTON_START_GAME).m_Visible};
  };
  auto Enabled = [&] {
    return Flags{Button(PDA_BUTTON_SYSTEM_OFF).m_Enabled, Button(PDA_BUTTON_START_GAME).m_Enabled,
                 Button(PDA_BUTTON_CHANGE_PROFILE).m_Enabled, Button(PDA_BUTTON_LEVEL_RESET).m_Enabled,
                 Button(PDA_BUTTON_CLOSE_APP).m_Enabled};
  };
  struct Row {
    int app;
    bool close, profile, reset, start, loggedIn;
  };
  const Row rows[] = {{PDA_APP_OBJECTIVES, false, true, true, true, true},
                      {PDA_APP_LOGIN, false, false, false, false, false},
                      {PDA_APP_DESKTOP, false, true, false, true, true}};
  for (const Row& r : rows) {
    pda->SetCurrentApp(r.app);
    Frame();
    EXPECT_TRUE(Button(PDA_BUTTON_SYSTEM_OFF).m_Visible);
    EXPECT_EQ(Visible(), (Flags{r.close, r.profile, r.reset, r.start})) << r.app;
    EXPECT_EQ(pda->m_ShowLoggedIn, r.loggedIn) << r.app;
    EXPECT_EQ(!s.Last().FindTextContaining(T("TXT_LOGGED_IN_AS")).empty(), r.loggedIn) << r.app;
  }
  // The others show close and leave the rest as they were (the desktop's).
  for (int app : {PDA_APP_GPS, PDA_APP_EMAIL, PDA_APP_NETWORK, PDA_APP_CONFIG}) {
    pda->SetCurrentApp(PDA_APP_DESKTOP);
    Frame();
    pda->SetCurrentApp(app);
    Frame();
    EXPECT_EQ(Visible(), (Flags{true, true, false, true})) << app;
    // Exit, change profile and start game are off until the application is closed; reset and close keep their state.
    EXPECT_EQ(Enabled(), (Flags{false, false, false, true, true})) << app;
    CloseApp();
    EXPECT_EQ(pda->GetCurrentAppIndex(), PDA_APP_DESKTOP) << app;
    EXPECT_TRUE(Button(PDA_BUTTON_SYSTEM_OFF).m_Enabled && Button(PDA_BUTTON_START_GAME).m_Enabled) << app;
  }
}

TEST_F(PdaTest, HintsShowAtTheBottomCentreOnlyWhileHovered) {
  Profile(L"Ana", 0);
  pda->SetCurrentApp(PDA_APP_OBJECTIVES);
  MoveTo(226 + 10, 454 + 10);
  const scenario::TextRecord* hint = Text(T("TXT_HINT_CHANGE_PROFILE"));
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(hint->y, 550);
  EXPECT_NEAR(hint->x + hint->width / 2.0, 400.0, 1.0);
  MoveTo(400, 300);
  EXPECT_EQ(Text(T("TXT_HINT_CHANGE_PROFILE")), nullptr);
  // A disabled button shows no hint.
  Button(PDA_BUTTON_CHANGE_PROFILE).m_Enabled = false;
  MoveTo(226 + 10, 454 + 10);
  EXPECT_EQ(Text(T("TXT_HINT_CHANGE_PROFILE")), nullptr);
}

TEST_F(PdaTest, ObjectivesListEachWithItsStateAndABlankLineBetween) {
  auto& objectives = AppAt<CPDAAppObjectives>(PDA_APP_OBJECTIVES);
  EXPECT_EQ(CPDAAppObjectives::ListText({{L"A", false}, {L"B", true}}),
            L"- A > " + T("TXT_INCOMPLETE") + L"\n\n- B > " + T("TXT_COMPLETE"));
  const std::wstring longText =
      L"Reach the far end of the hall and switch every one of the three generators on before the doors close";
  s.Frame([&] {
    scenario::ScreenScenario::TwoPass([&] { objectives.Update(); },
                                      [&] { objectives.DrawList({{L"A", false}, {longText, true}}); });
  });
  EXPECT_EQ(fetest::TextAt(s, L"- A > " + T("TXT_INCOMPLETE")), (fetest::At{206, 179}));
  EXPECT_EQ(fetest::TextAt(s, T("TXT_OBJECTIVES"))[1], 115);
  // The second starts one blank line further down and wraps within 485 pixels.
  std::vector<const scenario::TextRecord*> second;
  for (const scenario::TextRecord& t : s.Last().texts)
    if (t.font == "PDA_STD" && t.y > 179) second.push_back(&t);
  ASSERT_GE(second.size(), 2u);
  EXPECT_EQ(std::make_pair(second[0]->y, second[1]->y), std::make_pair(179 + 60, 179 + 90));
  // A line may pass the width by the blank before the word that broke it.
  const int blank = pda::Font(FONT_PDA_STD)->GetGlyph(L' ').width;
  for (const auto* line : second) EXPECT_LE(line->width, 485 + blank);
  EXPECT_NE(second.back()->text.find(T("TXT_COMPLETE")), std::wstring::npos);
  // None: only the title.
  s.Frame([&] { scenario::ScreenScenario::TwoPass([&] { objectives.Update(); }, [&] { objectives.DrawList({}); }); });
  ASSERT_EQ(s.Last().texts.size(), 1u);
  EXPECT_EQ(s.Last().texts[0].text, T("TXT_OBJECTIVES"));
}

TEST_F(PdaTest, ALevelsObjectivesShowTheirStateAsTheScriptLeftIt) {
  CLevel level;
  level.AddObjective("door", L"Open the door");
  level.AddObjective("core", L"Shut the core down");
  level.SetObjectiveComplete("core", true);
  auto& objectives = AppAt<CPDAAppObjectives>(PDA_APP_OBJECTIVES);
  auto draw = [&] {
    s.Frame([&] {
      scenario::ScreenScenario::TwoPass([&] { objectives.Update(); },
                                        [&] { objectives.DrawList(LevelObjectives(level)); });
    });
  };
  draw();
  EXPECT_EQ(Text(L"- Open the door > " + T("TXT_INCOMPLETE"))->y, 179);
  EXPECT_EQ(Text(L"- Shut the core down > " + T("TXT_COMPLETE"))->y, 179 + 60);
  // Completed during play: complete the next time.
  level.SetObjectiveComplete("door", true);
  draw();
  EXPECT_NE(Text(L"- Open the door > " + T("TXT_COMPLETE")), nullptr);
}

TEST_F(PdaTest, GpsShowsTheMapAndKeepsExitProfileAndStartOffUntilClosed) {
  Profile(L"Ana", 0);
  g_LevelDescriptions[0].read = true;
  pda->m_Map.SetTexture(pda::Texture("MapTutorial.png"));
  pda->m_Map.SetSourceRect(Nembra::MakeRect(0, 0, 512, 256));
  pda->SetCurrentApp(PDA_APP_DESKTOP);
  pda->SetAllButtonsEnabled(true);
  Frame();
  Click(220 + 100, 275 + 20);  // the GPS entry
  ASSERT_EQ(pda->GetCurrentAppIndex(), PDA_APP_GPS);
  Frame();
  const auto map = s.Last().FindSprites(scenario::TextureOf("MapTutorial.png"));
  ASSERT_EQ(map.size(), 1u);
  EXPECT_EQ(map[0]->left, 188.0f);
  for (int key : {PDA_BUTTON_SYSTEM_OFF, PDA_BUTTON_CHANGE_PROFILE, PDA_BUTTON_START_GAME}) {
    EXPECT_FALSE(Button(key).m_Enabled) << key;
    EXPECT_EQ(Click(Button(key).m_Rect.left + 5, Button(key).m_Rect.top + 5), 0);
    EXPECT_FALSE(pda->m_Confirm.m_Visible);
  }
  CloseApp();
  EXPECT_EQ(pda->GetCurrentAppIndex(), PDA_APP_DESKTOP);
  for (int key : {PDA_BUTTON_SYSTEM_OFF, PDA_BUTTON_CHANGE_PROFILE, PDA_BUTTON_START_GAME})
    EXPECT_TRUE(Button(key).m_Enabled) << key;
}

}  // namespace
