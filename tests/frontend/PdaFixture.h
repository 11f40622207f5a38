#pragma once
// A PDA on a private copy of the demo data (it writes profiles and settings),
// driven by scripted frames; English texts loaded, the tables' flags cleared.
#include <gtest/gtest.h>

#include <string>

#include "FrontendTestSupport.h"
#include "engine/util/TextTable.h"
#include "frontend/ProfileStore.h"
#include "frontend/pda/PDA.h"
#include "game/level/LevelDescriptions.h"

namespace pdatest {

class PdaTest : public ::testing::Test {
 protected:
  explicit PdaTest(bool gl = false) : s(fetest::Writable(gl)) {}

  void SetUp() override {
    if (!s.Ready()) {
      if (s.IsGl()) GTEST_SKIP() << s.Problem();
      FAIL() << s.Problem();
    }
    Language(L"ENG");
    for (CLevelDescription& level : g_LevelDescriptions) level.read = false;
    for (CPDADocument& document : g_PDADocuments) document.enabled = false;
    g_ProfileStore = CProfileStore();
    pda = std::make_unique<CPDA>();
    g_pPDA = pda.get();
    pda->Load();
    pda->RefreshTexts();
  }
  void TearDown() override {
    g_pPDA = nullptr;
    pda.reset();
  }

  void Language(const std::wstring& code) {
    Nembra::CTextTable::Load(code);
    LoadLevelDescriptions(code);
    if (pda) pda->RefreshTexts();
  }

  // Logs into a new profile in slot 0 at the given level, without the login screen.
  void Profile(const std::wstring& name, uint32_t level) {
    ASSERT_TRUE(g_ProfileStore.CreateProfile(name, 0));
    g_ProfileStore.m_CurrentProfile = 0;
    g_ProfileStore.GetCurrentProfile().levelReached = level;
  }

  // Logs Ana in at the level and opens the application from the desktop,
  // every frame button enabled, with one frame.
  void Open(int app, uint32_t level = 0) {
    Profile(L"Ana", level);
    pda->SetCurrentApp(PDA_APP_DESKTOP);
    pda->SetAllButtonsEnabled(true);
    pda->SetCurrentApp(app);
    Frame();
  }
  // Clicks the close-application button, and the question's yes and no.
  void CloseApp() { Click(671 + 5, 118 + 5); }
  int Yes() { return Click(294 + 10, 360); }
  int No() { return Click(474 + 10, 360); }

  // Frames of the PDA.
  void Frame() {
    s.Frame([&] { pda->UpdateAndDraw(); });
    results.push_back(pda->m_ResultCode);
  }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) Frame();
  }
  // Moves there (one frame), presses (one frame) and releases (one frame,
  // the click's). The result of the click's frame is returned.
  int Click(int x, int y) {
    s.Next().MoveTo(x, y);
    Frame();
    s.Next().Press();
    Frame();
    s.Next().Release();
    Frame();
    return pda->m_ResultCode;
  }
  void MoveTo(int x, int y) {
    s.Next().MoveTo(x, y);
    Frame();
  }
  void Key(int code) {
    s.Next().KeyDown(code);
    Frame();
    s.Next().KeyUp(code);
    Frame();
  }

  // Texts of the last frame.
  bool Shows(const std::wstring& text) const { return !s.Last().FindText(text).empty(); }
  const scenario::TextRecord* Text(const std::wstring& text) const {
    const auto found = s.Last().FindText(text);
    return found.empty() ? nullptr : found.front();
  }
  int CountTexts(const std::wstring& text) const { return int(s.Last().FindText(text).size()); }
  static std::wstring T(const char* id) { return Nembra::GetText(id); }

  CPDAButton& Button(int key) { return pda->FrameButton(key); }
  template <typename App>
  App& AppAt(int index) {
    return *static_cast<App*>(pda->GetApp(index));
  }

  scenario::ScreenScenario s;
  std::unique_ptr<CPDA> pda;
  std::vector<int> results;
};

}  // namespace pdatest
