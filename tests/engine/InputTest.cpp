#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/InputMapper.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "platform/Input.h"
#include "platform/backends/headless/Headless.h"

using namespace platform;
using headless::InputEvent;
using Nembra::g_pInputMapper;
using Nembra::g_pKeyboard;
using Nembra::g_pMouse;

namespace {

enum { KMP_UP, KMP_DOWN, KMP_LEFT, KMP_RIGHT, KMP_SHOOT_BLUE, KMP_SHOOT_RED, KMP_EXIT, KMP_ABILITY, KMP_ACTION,
       KMP_RESTART, KMP_CAMERA };

// The engine singletons and a headless 800x600 window with input started.
class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::ResetEvents();
    headless::ResetInput();
    headless::SetTime(1000);
    Nembra::InitializeEngine();
    Nembra::APPLICATION_PARAMS params;
    params.windowed = false;
    ASSERT_TRUE(m_App.Init(params));
    ASSERT_TRUE(m_App.InitInput());
  }
  void TearDown() override {
    Nembra::ShutdownEngine();
    headless::ResetInput();
    headless::ResetEvents();
  }
  // One frame of the game: the keyboard, then the mouse.
  static void Frame() {
    g_pKeyboard->ReadState();
    g_pMouse->ReadState();
  }
  static void Send(const InputEvent& e) { headless::SendInput(e); }
  // The default bindings of the game.
  static void BindDefaults() {
    const struct { int action; uint32_t code; const char* name; } keys[] = {
        {KMP_UP, DIK_W, "KMP_UP"},           {KMP_DOWN, DIK_S, "KMP_DOWN"},         {KMP_LEFT, DIK_A, "KMP_LEFT"},
        {KMP_RIGHT, DIK_D, "KMP_RIGHT"},     {KMP_EXIT, DIK_ESCAPE, "KMP_EXIT"},    {KMP_ABILITY, DIK_E, "KMP_ABILITY"},
        {KMP_ACTION, DIK_SPACE, "KMP_ACTION"}, {KMP_RESTART, DIK_F1, "KMP_RESTART"},
        {KMP_CAMERA, DIK_F4, "KMP_CAMERA"}};
    for (const auto& k : keys) g_pInputMapper->AddKeyboardMapping(k.action, k.code, k.name);
    g_pInputMapper->AddMouseMapping(KMP_SHOOT_BLUE, 0, "KMP_SHOOT_BLUE");
    g_pInputMapper->AddMouseMapping(KMP_SHOOT_RED, 1, "KMP_SHOOT_RED");
  }
  // Sends EVENT and reads one frame.
  static void SendFrame(const InputEvent& e) {
    Send(e);
    Frame();
  }
  // Cursor at (x, y), wheel at 0, with no motion left over.
  static void PlaceCursor(int x, int y) {
    Frame();
    g_pMouse->SetPosition(x, y, 0);
  }
  Nembra::CApplication m_App;
};

struct KeyView {
  bool down, pressed, released;
  bool operator==(const KeyView& o) const {
    return std::tie(down, pressed, released) == std::tie(o.down, o.pressed, o.released);
  }
};
using Point = std::pair<int, int>;
Point Cursor() { return {g_pMouse->GetX(), g_pMouse->GetY()}; }
Point Motion() { return {g_pMouse->GetDX(), g_pMouse->GetDY()}; }
Point Wheel() { return {g_pMouse->GetDZ(), g_pMouse->GetZ()}; }
KeyView Key(int code) {
  return {g_pKeyboard->IsKeyDown(code), g_pKeyboard->WasKeyPressed(code), g_pKeyboard->WasKeyReleased(code)};
}
std::ostream& operator<<(std::ostream& os, const KeyView& k) {
  return os << "{down " << k.down << ", pressed " << k.pressed << ", released " << k.released << "}";
}
const KeyView UP{false, false, false}, PRESSED{true, true, false}, HELD{true, false, false},
    RELEASED{false, false, true};

TEST_F(InputTest, KeysHeldPressedAndReleasedOverFrames) {
  headless::SetInputScript({
      {InputEvent::KeyDown(DIK_W)},                            // 0
      {},                                                      // 1
      {InputEvent::KeyUp(DIK_W), InputEvent::KeyDown(DIK_A)},  // 2
      {InputEvent::KeyUp(DIK_A)},                              // 3: A was down for one frame
      {InputEvent::KeyDown(DIK_S), InputEvent::KeyUp(DIK_S)},  // 4: a tap between two reads
      {},                                                      // 5
  });
  const std::vector<std::map<int, KeyView>> expected = {
      {{DIK_W, PRESSED}, {DIK_A, UP}, {DIK_S, UP}},
      {{DIK_W, HELD}, {DIK_A, UP}},
      {{DIK_W, RELEASED}, {DIK_A, PRESSED}},
      {{DIK_W, UP}, {DIK_A, RELEASED}},
      {{DIK_A, UP}, {DIK_S, PRESSED}},
      {{DIK_S, RELEASED}},
  };
  for (size_t frame = 0; frame < expected.size(); ++frame) {
    Frame();
    for (const auto& [code, view] : expected[frame]) {
      EXPECT_EQ(Key(code), view) << "frame " << frame << " key " << code;
    }
  }
  Frame();
  EXPECT_EQ(Key(DIK_S), UP);
  EXPECT_FALSE(g_pKeyboard->WasAnyKeyReleased());
}

TEST_F(InputTest, TwoKeysReleasedInOneFrameGiveTheLowerCode) {
  headless::SetInputScript({
      {InputEvent::KeyDown(DIK_SPACE), InputEvent::KeyDown(DIK_Q), InputEvent::KeyDown(DIK_UP)},
      {InputEvent::KeyUp(DIK_SPACE), InputEvent::KeyUp(DIK_UP), InputEvent::KeyUp(DIK_Q)},
      {},
  });
  for (int released : {-1, int(DIK_Q), -1}) {
    Frame();
    EXPECT_EQ(g_pKeyboard->WasAnyKeyReleased(), released != -1);
    EXPECT_EQ(g_pKeyboard->GetReleasedKey(), released);
  }
}

TEST_F(InputTest, CursorMovesAtItsSpeedAndClampsToTheScreenButNotTheWheel) {
  PlaceCursor(400, 300);
  SendFrame(InputEvent::Move(3, -3));
  EXPECT_EQ(Motion(), Point(6, -6));
  EXPECT_EQ(Cursor(), Point(406, 294));
  // Far left and up: 0; far right and down: width - 1 and height - 1.
  SendFrame(InputEvent::Move(-5000, -5000));
  EXPECT_EQ(Cursor(), Point(0, 0));
  SendFrame(InputEvent::Move(5000, 5000));
  EXPECT_EQ(Cursor(), Point(799, 599));
  // Motion far beyond the int range neither wraps nor escapes the screen.
  for (int i = 0; i < 4; ++i) Send(InputEvent::Move(INT_MAX, INT_MIN));
  Frame();
  EXPECT_EQ(Cursor(), Point(799, 0));
  // The wheel: 120 a notch, never clamped.
  SendFrame(InputEvent::Wheel(3));
  EXPECT_EQ(Wheel(), Point(360, 360));
  SendFrame(InputEvent::Wheel(-100));
  EXPECT_EQ(Wheel(), Point(-12000, -11640));
  Frame();
  EXPECT_EQ(Wheel(), Point(0, -11640));
  // Another speed truncates towards zero.
  g_pMouse->SetSpeed(1.2f);
  g_pMouse->SetPosition(400, 300, 0);
  SendFrame(InputEvent::Move(3, -3));
  EXPECT_EQ(Motion(), Point(3, -3));
  EXPECT_EQ(g_pMouse->GetX(), 403);
}

TEST_F(InputTest, CursorClampsToTheScreenOfTheDescription) {
  Nembra::APPLICATION_PARAMS params;
  params.width = 640;
  params.height = 480;
  InputSystem* system = InputSystem::Create();
  ASSERT_NE(system, nullptr);
  ASSERT_TRUE(g_pMouse->Initialize(system, m_App.GetWindow(), params));
  SendFrame(InputEvent::Move(5000, 5000));
  EXPECT_EQ(Cursor(), Point(639, 479));
  system->Release();
}

TEST_F(InputTest, ClickNeedsPressAndReleaseInsideTheRegion) {
  // Region x 100, y 100, 50 x 50: x and y 100..149.
  struct Case {
    const char* what;
    int pressX, pressY, releaseX, releaseY;
    bool click;
  };
  const Case cases[] = {
      {"inside, inside", 110, 110, 140, 148, true},
      {"inside, dragged out", 110, 110, 160, 110, false},
      {"outside, released inside", 90, 110, 110, 110, false},
      {"right edge is outside", 110, 110, 150, 110, false},
  };
  for (const Case& c : cases) {
    PlaceCursor(c.pressX, c.pressY);
    SendFrame(InputEvent::ButtonDown(0));
    EXPECT_TRUE(g_pMouse->WasButtonPressed(0)) << c.what;
    EXPECT_EQ(g_pMouse->IsButtonDownInRegion(0, 100, 100, 50, 50), c.pressX >= 100 && c.pressX < 150) << c.what;
    int32_t px = 0, py = 0;
    g_pMouse->GetPressPosition(0, &px, &py);
    EXPECT_EQ(px, c.pressX) << c.what;
    // Move by whole speed steps (speed 2).
    SendFrame(InputEvent::Move((c.releaseX - c.pressX) / 2, (c.releaseY - c.pressY) / 2));
    EXPECT_FALSE(g_pMouse->WasClickedInRegion(0, 100, 100, 50, 50)) << c.what << ": still held";
    SendFrame(InputEvent::ButtonUp(0));
    ASSERT_EQ(g_pMouse->GetX(), c.releaseX) << c.what;
    EXPECT_EQ(g_pMouse->WasClickedInRegion(0, 100, 100, 50, 50), c.click) << c.what;
    // Another button, or the frame after, is no click.
    EXPECT_FALSE(g_pMouse->WasClickedInRegion(1, 100, 100, 50, 50)) << c.what;
    Frame();
    EXPECT_FALSE(g_pMouse->WasClickedInRegion(0, 100, 100, 50, 50)) << c.what;
  }
}

TEST_F(InputTest, AnyButtonCoversTheFirstThreeButtonsOnly) {
  Frame();
  SendFrame(InputEvent::ButtonDown(3));
  EXPECT_TRUE(g_pMouse->WasButtonPressed(3));
  EXPECT_FALSE(g_pMouse->WasAnyButtonPressed());
  Send(InputEvent::ButtonUp(3));
  SendFrame(InputEvent::ButtonDown(2));
  EXPECT_TRUE(g_pMouse->WasButtonReleased(3));
  EXPECT_FALSE(g_pMouse->WasAnyButtonReleased());
  EXPECT_TRUE(g_pMouse->WasAnyButtonPressed());
  SendFrame(InputEvent::ButtonUp(2));
  EXPECT_TRUE(g_pMouse->WasAnyButtonReleased());
}

TEST_F(InputTest, FailedReadsChangeNothingAndReadingResumes) {
  PlaceCursor(400, 300);
  Send(InputEvent::KeyDown(DIK_D));
  Send(InputEvent::ButtonDown(1));
  Send(InputEvent::Move(5, 0));
  SendFrame(InputEvent::Wheel(1));
  ASSERT_EQ(g_pMouse->GetX(), 410);
  ASSERT_EQ(g_pMouse->GetZ(), 120);
  // Both devices lose the input for one frame while the keys and buttons change.
  headless::FailInputReads(InputDeviceKind::Keyboard, 1);
  headless::FailInputReads(InputDeviceKind::Mouse, 1);
  Send(InputEvent::KeyUp(DIK_D));
  SendFrame(InputEvent::ButtonUp(1));
  EXPECT_EQ(Key(DIK_D), HELD);
  EXPECT_TRUE(g_pMouse->IsButtonDown(1));
  EXPECT_FALSE(g_pMouse->WasButtonReleased(1));
  EXPECT_FALSE(g_pMouse->WasButtonPressed(1));
  // The last movement and wheel step are not applied again.
  EXPECT_EQ(g_pMouse->GetDX(), 0);
  EXPECT_EQ(g_pMouse->GetDZ(), 0);
  EXPECT_EQ(g_pMouse->GetX(), 410);
  EXPECT_EQ(g_pMouse->GetZ(), 120);
  // The devices were acquired again: the changes arrive now.
  SendFrame(InputEvent::Move(-1, 0));
  EXPECT_EQ(Key(DIK_D), RELEASED);
  EXPECT_TRUE(g_pMouse->WasButtonReleased(1));
  EXPECT_EQ(g_pMouse->GetX(), 408);
}

TEST_F(InputTest, LosingTheWindowReleasesTheInputAndRelativeMode) {
  EXPECT_TRUE(headless::IsRelativeMouseMode());
  SendFrame(InputEvent::KeyDown(DIK_W));
  headless::SetInputFocus(false);
  EXPECT_FALSE(headless::IsRelativeMouseMode());
  Send(InputEvent::Move(50, 50));  // motion while another program has the mouse
  Frame();
  EXPECT_EQ(Key(DIK_W), HELD);  // a failed read changes nothing
  EXPECT_EQ(g_pMouse->GetDX(), 0);
  headless::SetInputFocus(true);
  Frame();  // fails, acquires again
  EXPECT_TRUE(headless::IsRelativeMouseMode());
  Frame();
  EXPECT_EQ(Key(DIK_W), RELEASED);  // the key went up while the window was away
  EXPECT_EQ(g_pMouse->GetDX(), 0);
}

TEST_F(InputTest, ClearStateForgetsCursorAndButtons) {
  PlaceCursor(300, 200);
  Send(InputEvent::ButtonDown(0));
  SendFrame(InputEvent::Wheel(2));
  g_pMouse->ClearState();
  EXPECT_EQ(Cursor(), Point(0, 0));
  EXPECT_EQ(g_pMouse->GetZ(), 0);
  EXPECT_FALSE(g_pMouse->IsButtonDown(0));
  EXPECT_FALSE(g_pMouse->WasButtonPressed(0));
}

TEST_F(InputTest, KeyAndButtonNames) {
  const std::pair<int, const wchar_t*> keys[] = {{DIK_W, L"W"},           {DIK_SPACE, L"Space"},
                                                 {DIK_LEFT, L"Left Arrow"}, {DIK_ESCAPE, L"Escape"},
                                                 {DIK_RCONTROL, L"Right Ctrl"}, {DIK_NUMPAD5, L"Num 5"},
                                                 {0, L""},                  {0x54, L""}};
  for (const auto& [code, name] : keys) EXPECT_EQ(g_pKeyboard->GetKeyName(code), name) << code;
  const wchar_t* buttons[] = {L"Left Mouse Button", L"Right Mouse Button", L"Middle Mouse Button"};
  for (int b = 0; b < 3; ++b) EXPECT_EQ(g_pMouse->GetButtonName(b), buttons[b]);
}

TEST_F(InputTest, ActionsFollowTheirBindingsAndRebinding) {
  BindDefaults();
  SendFrame(InputEvent::KeyDown(DIK_W));
  EXPECT_TRUE(g_pInputMapper->IsActionDown(KMP_UP));
  EXPECT_TRUE(g_pInputMapper->WasActionPressed(KMP_UP));
  EXPECT_EQ(g_pInputMapper->GetMappingName("KMP_UP"), L"W");
  EXPECT_EQ(g_pInputMapper->GetMappingName("KMP_ACTION"), L"Space");
  // Rebind move-up from W to the Up arrow, as the player's settings do.
  g_pInputMapper->SetMappingCode(KMP_UP, DIK_UP);
  EXPECT_FALSE(g_pInputMapper->IsActionDown(KMP_UP));
  EXPECT_EQ(g_pInputMapper->GetMappingName("KMP_UP"), L"Up Arrow");
  SendFrame(InputEvent::KeyDown(DIK_UP));
  EXPECT_TRUE(g_pInputMapper->IsActionDown(KMP_UP));
  SendFrame(InputEvent::KeyUp(DIK_UP));
  EXPECT_TRUE(g_pInputMapper->WasActionReleased(KMP_UP));
  EXPECT_FALSE(g_pInputMapper->IsActionDown(KMP_UP));
  // A code change of an action no one bound is ignored.
  g_pInputMapper->SetMappingCode(42, DIK_W);
  EXPECT_FALSE(g_pInputMapper->IsActionDown(42));
}

TEST_F(InputTest, MouseActionHeldOverFrames) {
  BindDefaults();
  Send(InputEvent::ButtonDown(1));
  const bool pressed[] = {true, false, false};
  for (bool p : pressed) {
    Frame();
    EXPECT_TRUE(g_pInputMapper->IsActionDown(KMP_SHOOT_RED));
    EXPECT_EQ(g_pInputMapper->WasActionPressed(KMP_SHOOT_RED), p);
    EXPECT_FALSE(g_pInputMapper->IsActionDown(KMP_SHOOT_BLUE));
  }
  SendFrame(InputEvent::ButtonUp(1));
  EXPECT_TRUE(g_pInputMapper->WasActionReleased(KMP_SHOOT_RED));
  EXPECT_EQ(g_pInputMapper->GetMappingName("KMP_SHOOT_RED"), L"Right Mouse Button");
  EXPECT_EQ(g_pInputMapper->GetMappingName("KMP_SHOOT_BLUE"), L"Left Mouse Button");
}

TEST_F(InputTest, UnknownNamesAndUnboundActions) {
  BindDefaults();
  EXPECT_EQ(g_pInputMapper->GetMappingName("KMP_JUMP"), L"ERROR : Unknown keyboard mapping value");
  EXPECT_EQ(g_pInputMapper->GetMappingName("kmp_up"), L"ERROR : Unknown keyboard mapping value");
  EXPECT_EQ(g_pInputMapper->GetMappingName(""), L"ERROR : Unknown keyboard mapping value");
  // An action with no mapping reads as up.
  SendFrame(InputEvent::KeyDown(DIK_W));
  for (int action : {11, -1, 1000}) {
    EXPECT_FALSE(g_pInputMapper->IsActionDown(action));
    EXPECT_FALSE(g_pInputMapper->WasActionPressed(action));
    EXPECT_FALSE(g_pInputMapper->WasActionReleased(action));
  }
}

TEST_F(InputTest, ReplacingAMappingDropsItsOldName) {
  g_pInputMapper->AddKeyboardMapping(KMP_UP, DIK_W, "KMP_UP");
  g_pInputMapper->AddKeyboardMapping(KMP_UP, DIK_I, "KMP_FORWARD");
  SendFrame(InputEvent::KeyDown(DIK_W));
  EXPECT_FALSE(g_pInputMapper->IsActionDown(KMP_UP));
  EXPECT_EQ(g_pInputMapper->GetMappingName("KMP_FORWARD"), L"I");
  // The old name led to the freed mapping: it is gone with it.
  EXPECT_EQ(g_pInputMapper->GetMappingName("KMP_UP"), L"ERROR : Unknown keyboard mapping value");
  // A name taken over by another action follows that action.
  g_pInputMapper->AddMouseMapping(KMP_CAMERA, 2, "KMP_FORWARD");
  EXPECT_EQ(g_pInputMapper->GetMappingName("KMP_FORWARD"), L"Middle Mouse Button");
  SendFrame(InputEvent::KeyDown(DIK_I));
  EXPECT_TRUE(g_pInputMapper->IsActionDown(KMP_UP));
  // Replacing the camera action again leaves no name behind.
  g_pInputMapper->AddKeyboardMapping(KMP_CAMERA, DIK_F4, "KMP_CAMERA");
  EXPECT_EQ(g_pInputMapper->GetMappingName("KMP_FORWARD"), L"ERROR : Unknown keyboard mapping value");
  EXPECT_EQ(g_pInputMapper->GetMappingName("KMP_CAMERA"), L"F4");
}

// Key codes and buttons read from a settings file may be anything.
TEST_F(InputTest, OutOfRangeCodesFromAFileReadAsUp) {
  BindDefaults();
  const long long codes[] = {300, -1, 4294967295LL, 511, 4, -2};  // up, down, left, right, blue, red
  for (int action = KMP_UP; action <= KMP_SHOOT_RED; ++action)
    g_pInputMapper->SetMappingCode(action, static_cast<uint32_t>(codes[action]));
  // Every key and button held, then all let go: whatever lies next to the
  // current states says "down" in the previous frame.
  for (int code = 1; code < KEYBOARD_STATE_SIZE; ++code) Send(InputEvent::KeyDown(code));
  for (int b = 0; b < MOUSE_BUTTON_COUNT; ++b) Send(InputEvent::ButtonDown(b));
  Frame();
  for (int action = KMP_UP; action <= KMP_SHOOT_RED; ++action) {
    EXPECT_FALSE(g_pInputMapper->IsActionDown(action)) << action;
    EXPECT_FALSE(g_pInputMapper->WasActionPressed(action)) << action;
  }
  for (int code = 1; code < KEYBOARD_STATE_SIZE; ++code) Send(InputEvent::KeyUp(code));
  for (int b = 0; b < MOUSE_BUTTON_COUNT; ++b) Send(InputEvent::ButtonUp(b));
  Frame();
  for (int action = KMP_UP; action <= KMP_SHOOT_RED; ++action) {
    EXPECT_FALSE(g_pInputMapper->IsActionDown(action)) << action;
    EXPECT_FALSE(g_pInputMapper->WasActionReleased(action)) << action;
  }
  for (int code : {256, 300, 511, -1, INT_MIN, INT_MAX}) {
    EXPECT_FALSE(g_pKeyboard->IsKeyDown(code)) << code;
    EXPECT_FALSE(g_pKeyboard->WasKeyReleased(code)) << code;
    EXPECT_EQ(g_pKeyboard->GetKeyName(code), L"") << code;
  }
  for (int b : {4, 7, -1, INT_MAX}) {
    EXPECT_FALSE(g_pMouse->IsButtonDown(b)) << b;
    EXPECT_FALSE(g_pMouse->WasButtonReleased(b)) << b;
    EXPECT_FALSE(g_pMouse->WasClickedInRegion(b, 0, 0, 800, 600)) << b;
    EXPECT_EQ(g_pMouse->GetButtonName(b), L"") << b;
  }
  EXPECT_EQ(g_pInputMapper->GetMappingName("KMP_UP"), L"");
  EXPECT_EQ(g_pInputMapper->GetMappingName("KMP_SHOOT_BLUE"), L"");
}

TEST_F(InputTest, StartUpWaitsForTheInputAWhileAndFailsWithoutIt) {
  Nembra::ShutdownEngine();
  Nembra::InitializeEngine();
  // Another program holds the input for three tries: start-up waits 100 ms each.
  headless::HoldInputElsewhere(3);
  uint64_t before = GetTickCount();
  EXPECT_TRUE(m_App.InitInput());
  EXPECT_EQ(GetTickCount() - before, 300u);
  // Held for good: start-up gives up waiting after a few seconds but keeps
  // the devices, which take the input once the window is in front.
  headless::HoldInputElsewhere(1000);
  before = GetTickCount();
  EXPECT_TRUE(m_App.InitInput());
  EXPECT_LE(GetTickCount() - before, 10000u);
  headless::HoldInputElsewhere(0);
  SendFrame(InputEvent::KeyDown(DIK_E));  // not acquired: fails and acquires
  EXPECT_FALSE(g_pKeyboard->IsKeyDown(DIK_E));
  Frame();
  EXPECT_TRUE(g_pKeyboard->WasKeyPressed(DIK_E));
  headless::FailInputCreation(true);
  EXPECT_FALSE(m_App.InitInput());
  headless::FailInputCreation(false);
}

TEST(InputSingletons, NoInputWithoutAWindow) {
  Nembra::InitializeEngine();
  EXPECT_FALSE(g_pInputMapper->InitializeInput(nullptr));
  Nembra::ShutdownEngine();
}

}  // namespace
