// The key-item row and the counters, frame by frame on the demo data.
#include <gtest/gtest.h>

#include <limits>

#include "frontend/FrontendTestSupport.h"
#include "frontend/hud/widgets/GUICounters.h"
#include "frontend/hud/widgets/GUIKeyItems.h"

using namespace gui_layout;
using namespace fetest;

namespace {

class KeyItems : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s.Ready()) << s.Problem();
    keys.Init();
  }
  void TearDown() override { keys.Release(); }
  void Frame() { s.Frame([&] { ScreenScenario::TwoPass([&] { keys.Update(); }, nullptr); }); }
  // Left edges of the memory card, access card, checkpoint and connectors icons this frame (-1: not drawn).
  using Lefts = std::array<float, 4>;
  Lefts Icons() const {
    Lefts lefts;
    const int items[] = {CGUIKeyItems::MEMORY_CARD, CGUIKeyItems::ACCESS_CARD, CGUIKeyItems::CHECKPOINT,
                         CGUIKeyItems::CONNECTORS};
    for (size_t i = 0; i < 4; ++i) {
      const auto d = Drawn(s, KEY_ICONS[items[i]]);
      lefts[i] = d.size() == 1 ? d[0]->left : -1.0f;
    }
    return lefts;
  }
  int StripsDrawn(int n) const { return int(Drawn(s, KEY_STRIPS[n - 1]).size()); }

  ScreenScenario s;
  CGUIKeyItems keys;
};

TEST_F(KeyItems, IconsLineUpFromTheRightInTheOrderSwitchedOnOverTheirStrip) {
  Frame();
  EXPECT_EQ(Icons(), (Lefts{-1, -1, -1, -1}));
  EXPECT_EQ(StripsDrawn(1) + StripsDrawn(2) + StripsDrawn(3), 0);

  keys.SetMemoryCard(true);
  keys.SetAccessCard(true);
  Frame();
  EXPECT_EQ(Icons(), (Lefts{766, 738, -1, -1}));
  EXPECT_EQ(StripsDrawn(2), 1);
  EXPECT_EQ(StripsDrawn(1) + StripsDrawn(3), 0);
  // The same by the atlas's own numbers: memory card (331, 78), access card (331, 26), strip (149, 467).
  const auto memory = s.Last().FindSprites(fetest::GuiAtlas(), 331, 78);
  const auto access = s.Last().FindSprites(fetest::GuiAtlas(), 331, 26);
  const auto strip = s.Last().FindSprites(fetest::GuiAtlas(), 149, 467);
  ASSERT_TRUE(memory.size() == 1 && access.size() == 1 && strip.size() == 1);
  EXPECT_EQ(memory[0]->left, 766.0f);
  EXPECT_EQ(access[0]->SourceHeight(), 26);
  EXPECT_EQ(strip[0]->SourceWidth(), 120);
  // Each flashes over its own icon: centre at the icon's x + 12, y 21, growing from nothing.
  const auto flash = Drawn(s, KEY_FLASHES[CGUIKeyItems::ACCESS_CARD]);
  ASSERT_EQ(flash.size(), 1u);
  EXPECT_EQ(BoxOf(*flash[0]), (Box{750, 21, 0, 0}));

  keys.SetCheckpoint(true);
  keys.SetConnectors(true);
  Frame();
  EXPECT_EQ(Icons(), (Lefts{766, 738, 710, 682}));
  EXPECT_EQ(keys.GetShownCount(), 4u);
  EXPECT_EQ(StripsDrawn(1) + StripsDrawn(2) + StripsDrawn(3), 0);  // four: no strip

  keys.Reset();
  Frame();
  EXPECT_EQ(keys.GetShownCount(), 0u);
  EXPECT_EQ(Icons(), (Lefts{-1, -1, -1, -1}));
}

TEST_F(KeyItems, TheCountChangesOnlyWhenAnIconChangesState) {
  // Off while off: nothing (the count never wraps below zero).
  keys.SetCheckpoint(false);
  EXPECT_EQ(keys.GetShownCount(), 0u);
  keys.SetMemoryCard(true);
  Frame();
  EXPECT_EQ(StripsDrawn(1), 1);
  // Off while off again, with one icon on: the count stays.
  keys.SetAccessCard(false);
  EXPECT_EQ(keys.GetShownCount(), 1u);
  // On while on: the same slot, the flash starts over, the count stays.
  for (int i = 0; i < 10; ++i) Frame();
  EXPECT_FALSE(Drawn(s, KEY_FLASHES[CGUIKeyItems::MEMORY_CARD]).empty());
  keys.SetMemoryCard(true);
  EXPECT_EQ(keys.GetShownCount(), 1u);
  Frame();
  EXPECT_EQ(Icons(), (Lefts{766, -1, -1, -1}));
  const auto flash = Drawn(s, KEY_FLASHES[CGUIKeyItems::MEMORY_CARD]);
  ASSERT_EQ(flash.size(), 1u);
  EXPECT_EQ(flash[0]->Width(), 0.0f);  // restarted
  // The next icon takes the next slot.
  keys.SetAccessCard(true);
  Frame();
  EXPECT_EQ(Icons(), (Lefts{766, 738, -1, -1}));
  EXPECT_EQ(StripsDrawn(2), 1);
  // Switching one off leaves the others where they are.
  keys.SetMemoryCard(false);
  Frame();
  EXPECT_EQ(keys.GetShownCount(), 1u);
  EXPECT_EQ(Icons(), (Lefts{-1, 738, -1, -1}));
  EXPECT_EQ(StripsDrawn(1), 1);
  // The next one on takes the first free slot, never one still shown.
  keys.SetCheckpoint(true);
  keys.SetConnectors(true);
  Frame();
  EXPECT_EQ(Icons(), (Lefts{-1, 738, 766, 710}));
  const auto moved = Drawn(s, KEY_FLASHES[CGUIKeyItems::CHECKPOINT]);
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_FLOAT_EQ(moved[0]->left, 778.0f);
  EXPECT_EQ(StripsDrawn(3), 1);
}

class Counters : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s.Ready()) << s.Problem();
    counters.Init();
  }
  void TearDown() override { counters.Release(); }
  void Frame() {
    s.Frame([&] { ScreenScenario::TwoPass([&] { counters.Update(); }, [&] { counters.Draw(); }); });
  }
  // The one line drawn with this text (null when not exactly one).
  const scenario::TextRecord* Line(const std::wstring& text) const {
    const auto found = s.Last().FindText(text);
    return found.size() == 1 ? found[0] : nullptr;
  }
  // A line's y and colour ({-1, 0}: not exactly one such line).
  std::pair<int, uint32_t> Row(const std::wstring& text) const {
    const auto* line = Line(text);
    return line ? std::pair<int, uint32_t>{line->y, line->color} : std::pair<int, uint32_t>{-1, 0};
  }

  ScreenScenario s;
  CGUICounters counters;
};

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kGold = 0xFFFFD200u;

TEST_F(Counters, ItemsCountUpToTheirTotalAndStayGoldPastIt) {
  counters.ShowItems(3);
  Frame();
  const scenario::TextRecord* line = Line(L"0 / 3");
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->font, "GUI_FONT_BIGNUMBERS");
  EXPECT_EQ(AtOf(*line), (At{41, 7}));
  EXPECT_EQ(line->color, kWhite);
  EXPECT_EQ(Drawn(s, COUNTER_STRIPS[CGUICounters::ITEMS]).size(), 1u);
  const std::wstring expected[] = {L"1 / 3", L"2 / 3", L"3 / 3", L"4 / 3"};
  const uint32_t colours[] = {kWhite, kWhite, kGold, kGold};
  for (int i = 0; i < 4; ++i) {
    counters.AddItem();
    Frame();
    EXPECT_EQ(Row(expected[i]).second, colours[i]) << i;
    // Each add flashes the row's icon from its start.
    const auto flash = Drawn(s, COUNTER_FLASHES[CGUICounters::ITEMS]);
    ASSERT_EQ(flash.size(), 1u);
    EXPECT_EQ(std::make_pair(flash[0]->Width(), flash[0]->left), std::make_pair(0.0f, 21.0f));
  }
  // Shown again, the count starts over but the row stays complete until the level starts again.
  counters.ShowItems(5);
  Frame();
  EXPECT_EQ(Row(L"0 / 5").second, kGold);
}

TEST_F(Counters, RowsStackInTheOrderFirstShownAndTheTimerCountsDown) {
  CLevelTimer timer;
  counters.ShowGenerators(3);
  counters.ShowTimer(&timer, 100.0f);
  counters.ShowItems(2);
  RunTimerTo(timer, 38.5f);  // 61.5 s left
  for (int i = 0; i < 3; ++i) counters.AddGenerator();
  Frame();
  ASSERT_EQ(s.Last().texts.size(), 3u);
  EXPECT_EQ(Row(L"3 / 3"), std::make_pair(7, kGold));
  EXPECT_EQ(Row(L"1 : 01 : 30"), std::make_pair(47, kWhite));
  EXPECT_EQ(Row(L"0 / 2").first, 87);
  // Strips 40 pixels apart.
  ASSERT_EQ(Drawn(s, COUNTER_STRIPS[CGUICounters::TIMER]).size() + Drawn(s, COUNTER_STRIPS[CGUICounters::ITEMS]).size(), 2u);
  EXPECT_EQ(std::make_pair(Drawn(s, COUNTER_STRIPS[CGUICounters::TIMER])[0]->top,
                           Drawn(s, COUNTER_STRIPS[CGUICounters::ITEMS])[0]->top),
            std::make_pair(44.0f, 84.0f));
  EXPECT_EQ(counters.GetShownRows(), 3u);

  // Below a minute: seconds and sixtieths; at the end 0 : 00 in gold.
  RunTimerTo(timer, 90.5f);
  Frame();
  EXPECT_NE(Line(L"9 : 30"), nullptr);
  RunTimerTo(timer, 120.0f);
  Frame();
  EXPECT_EQ(Row(L"0 : 00").second, kGold);
  EXPECT_TRUE(counters.Row(CGUICounters::TIMER).complete);

  // Shown again while visible: the next free slot, without taking it.
  counters.ShowGenerators(4);
  Frame();
  EXPECT_EQ(Row(L"0 / 4").first, 127);
  EXPECT_EQ(counters.GetShownRows(), 3u);
  counters.ShowReceptors(1);
  Frame();
  EXPECT_EQ(Row(L"0 / 1").first, 127);  // the fourth slot, where the generators row moved
}

TEST_F(Counters, StartStopRestartsOnlyTheFlashAndResetHidesEveryRow) {
  CLevelTimer timer;
  counters.ShowTimer(&timer, 10.0f);
  RunTimerTo(timer, 2.0f);
  for (int i = 0; i < 30; ++i) Frame();
  EXPECT_TRUE(Drawn(s, COUNTER_FLASHES[CGUICounters::TIMER]).empty());
  counters.StartStopTimer();
  Frame();
  ASSERT_EQ(Drawn(s, COUNTER_FLASHES[CGUICounters::TIMER]).size(), 1u);
  EXPECT_NE(Line(L"8 : 00"), nullptr);  // the time left is the timer's, untouched
  EXPECT_EQ(timer.GetTime(), 2.0f);

  counters.ShowItems(2);
  counters.AddItem();
  counters.AddItem();
  counters.Reset();
  EXPECT_EQ(counters.Row(CGUICounters::TIMER).timer, nullptr);
  Frame();
  EXPECT_TRUE(s.Last().texts.empty());
  EXPECT_TRUE(s.Last().sprites.empty());
  EXPECT_EQ(counters.GetShownRows(), 0u);
  // A row shown after the reset starts at the top, white.
  counters.ShowItems(2);
  Frame();
  EXPECT_EQ(Row(L"0 / 2"), std::make_pair(7, kWhite));
}

TEST_F(Counters, HugeTotalsAndCountsWrapWithoutHarm) {
  const uint32_t top = std::numeric_limits<uint32_t>::max();
  counters.ShowReceptors(top);
  counters.AddReceptor();
  Frame();
  EXPECT_NE(Line(L"1 / 4294967295"), nullptr);
  counters.ShowReceptors(0);
  counters.AddReceptor();  // past a total of 0: never equal, not complete
  Frame();
  EXPECT_EQ(Row(L"1 / 0").second, kWhite);
  CLevelTimer timer;
  counters.ShowTimer(&timer, 3.0e38f);
  Frame();
  EXPECT_EQ(s.Last().texts.size(), 2u);
  EXPECT_EQ(CGUICounters::FormatTimeLeft(-1.0f), L"0 : 00");
  EXPECT_EQ(CGUICounters::FormatTimeLeft(std::numeric_limits<float>::quiet_NaN()), L"0 : 00");
  EXPECT_EQ(CGUICounters::FormatTimeLeft(59.99f), L"59 : 59");
  EXPECT_EQ(CGUICounters::FormatTimeLeft(60.0f), L"1 : 00 : 00");
}

}  // namespace
