#include <gtest/gtest.h>

#include <SDL.h>

#include <map>

#include "platform/Input.h"
#include "platform/Window.h"

using namespace platform;
using headless::InputEvent;

namespace {

// Key numbers are stored in profiles and settings files: they must be the
// ones the game has always used.
TEST(KeyCodes, ScancodesGiveTheStoredKeyNumbers) {
  const std::map<int, int> expected = {
      {SDL_SCANCODE_ESCAPE, 1},     {SDL_SCANCODE_1, 2},        {SDL_SCANCODE_0, 11},
      {SDL_SCANCODE_BACKSPACE, 14}, {SDL_SCANCODE_TAB, 15},     {SDL_SCANCODE_Q, 16},
      {SDL_SCANCODE_W, 17},         {SDL_SCANCODE_RETURN, 28},  {SDL_SCANCODE_LCTRL, 29},
      {SDL_SCANCODE_A, 30},         {SDL_SCANCODE_S, 31},       {SDL_SCANCODE_D, 32},
      {SDL_SCANCODE_LSHIFT, 42},    {SDL_SCANCODE_Z, 44},       {SDL_SCANCODE_M, 50},
      {SDL_SCANCODE_RSHIFT, 54},    {SDL_SCANCODE_LALT, 56},    {SDL_SCANCODE_SPACE, 57},
      {SDL_SCANCODE_F1, 59},        {SDL_SCANCODE_F4, 62},      {SDL_SCANCODE_F10, 68},
      {SDL_SCANCODE_KP_7, 71},      {SDL_SCANCODE_KP_0, 82},    {SDL_SCANCODE_F11, 87},
      {SDL_SCANCODE_F12, 88},       {SDL_SCANCODE_KP_ENTER, 156}, {SDL_SCANCODE_RCTRL, 157},
      {SDL_SCANCODE_KP_DIVIDE, 181}, {SDL_SCANCODE_RALT, 184},  {SDL_SCANCODE_HOME, 199},
      {SDL_SCANCODE_UP, 200},       {SDL_SCANCODE_PAGEUP, 201}, {SDL_SCANCODE_LEFT, 203},
      {SDL_SCANCODE_RIGHT, 205},    {SDL_SCANCODE_END, 207},    {SDL_SCANCODE_DOWN, 208},
      {SDL_SCANCODE_PAGEDOWN, 209}, {SDL_SCANCODE_INSERT, 210}, {SDL_SCANCODE_DELETE, 211},
  };
  for (const auto& [scancode, code] : expected) {
    EXPECT_EQ(KeyCodeFromScancode(scancode), code) << scancode;
  }

  // Every key the table gives has a name to show when binding it, and no
  // two scancodes share a key except the known aliases.
  std::map<int, int> seen;
  for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
    const int code = KeyCodeFromScancode(sc);
    if (code == 0) continue;
    ASSERT_GT(code, 0);
    ASSERT_LT(code, KEYBOARD_STATE_SIZE);
    EXPECT_FALSE(GetKeyName(code).empty()) << "scancode " << sc;
    auto [it, fresh] = seen.emplace(code, sc);
    if (!fresh) {
      const bool alias = (code == DIK_BACKSLASH && sc == SDL_SCANCODE_NONUSHASH) ||
                         (code == DIK_MUTE && sc == SDL_SCANCODE_AUDIOMUTE);
      EXPECT_TRUE(alias) << "scancodes " << it->second << " and " << sc << " both give " << code;
    }
  }
  EXPECT_GE(seen.size(), 100u);
  EXPECT_EQ(KeyCodeFromScancode(SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(KeyCodeFromScancode(-1), 0);
  EXPECT_EQ(KeyCodeFromScancode(100000), 0);
}

class InputDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::ResetInput();
    m_System = InputSystem::Create();
    ASSERT_NE(m_System, nullptr);
  }
  void TearDown() override {
    if (m_System) m_System->Release();
    headless::ResetInput();
  }
  InputDevice* Make(InputDeviceKind kind, bool exclusive) {
    InputDevice* d = m_System->CreateDevice(kind);
    EXPECT_NE(d, nullptr);
    EXPECT_EQ(d->SetCooperativeLevel(m_Window, exclusive), InputResult::Ok);
    return d;
  }
  static uint8_t KeyByte(InputDevice* keyboard, int code) {
    uint8_t keys[KEYBOARD_STATE_SIZE];
    EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), InputResult::Ok);
    return keys[code];
  }

  InputSystem* m_System = nullptr;
  // Any non-null handle will do for the headless devices.
  HWND m_Window = reinterpret_cast<HWND>(&m_System);
};

TEST_F(InputDeviceTest, KeyboardReadsOnlyWhenAcquiredAndSeesEveryTap) {
  InputDevice* keyboard = Make(InputDeviceKind::Keyboard, false);
  uint8_t keys[KEYBOARD_STATE_SIZE];
  EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), InputResult::NotAcquired);
  ASSERT_EQ(keyboard->Acquire(), InputResult::Ok);
  EXPECT_EQ(keyboard->GetDeviceState(sizeof keys - 1, keys), InputResult::InvalidParam);
  EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, nullptr), InputResult::InvalidParam);

  headless::SendInput(InputEvent::KeyDown(DIK_W));
  EXPECT_EQ(KeyByte(keyboard, DIK_W), 0x80);
  EXPECT_EQ(KeyByte(keyboard, DIK_W), 0x80);
  EXPECT_EQ(KeyByte(keyboard, DIK_S), 0);
  // Down and up between two reads: seen down by one read.
  headless::SendInput(InputEvent::KeyUp(DIK_W));
  headless::SendInput(InputEvent::KeyDown(DIK_S));
  headless::SendInput(InputEvent::KeyUp(DIK_S));
  EXPECT_EQ(KeyByte(keyboard, DIK_W), 0);
  EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), InputResult::Ok);
  EXPECT_EQ(keys[DIK_S], 0);
  // Events without a key code are ignored.
  headless::SendInput(InputEvent::KeyDown(0));
  headless::SendInput(InputEvent::KeyDown(300));
  headless::SendInput(InputEvent::KeyDown(-4));
  EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), InputResult::Ok);
  for (uint8_t k : keys) {
    EXPECT_EQ(k, 0);
  }
  keyboard->Release();
}

TEST_F(InputDeviceTest, MouseGathersMotionBetweenReads) {
  InputDevice* mouse = Make(InputDeviceKind::Mouse, true);
  headless::SendInput(InputEvent::Move(40, 40));  // before acquisition: not ours
  ASSERT_EQ(mouse->Acquire(), InputResult::Ok);
  headless::SendInput(InputEvent::Move(3, -1));
  headless::SendInput(InputEvent::Move(2, -1));
  headless::SendInput(InputEvent::Wheel(-2));
  headless::SendInput(InputEvent::ButtonDown(2));
  headless::SendInput(InputEvent::ButtonDown(9));
  DIMOUSESTATE state;
  EXPECT_EQ(mouse->GetDeviceState(sizeof state - 1, &state), InputResult::InvalidParam);
  ASSERT_EQ(mouse->GetDeviceState(sizeof state, &state), InputResult::Ok);
  EXPECT_EQ(state.lX, 5);
  EXPECT_EQ(state.lY, -2);
  EXPECT_EQ(state.lZ, -2 * WHEEL_DELTA);
  EXPECT_EQ(state.rgbButtons[0], 0);
  EXPECT_EQ(state.rgbButtons[2], 0x80);
  ASSERT_EQ(mouse->GetDeviceState(sizeof state, &state), InputResult::Ok);
  EXPECT_EQ(state.lX, 0);
  EXPECT_EQ(state.lZ, 0);
  EXPECT_EQ(state.rgbButtons[2], 0x80);
  mouse->Release();
}

TEST_F(InputDeviceTest, RelativeModeOnlyWhileAnExclusiveMouseIsAcquired) {
  InputDevice* shared = Make(InputDeviceKind::Mouse, false);
  ASSERT_EQ(shared->Acquire(), InputResult::Ok);
  EXPECT_FALSE(headless::IsRelativeMouseMode());
  shared->Release();

  InputDevice* mouse = Make(InputDeviceKind::Mouse, true);
  ASSERT_EQ(mouse->Acquire(), InputResult::Ok);
  EXPECT_TRUE(headless::IsRelativeMouseMode());
  mouse->Unacquire();
  EXPECT_FALSE(headless::IsRelativeMouseMode());
  ASSERT_EQ(mouse->Acquire(), InputResult::Ok);
  headless::SetInputFocus(false);
  EXPECT_FALSE(headless::IsRelativeMouseMode());
  EXPECT_FALSE(mouse->IsAcquired());
  EXPECT_EQ(mouse->Acquire(), InputResult::OtherAppHasPriority);
  headless::SetInputFocus(true);
  ASSERT_EQ(mouse->Acquire(), InputResult::Ok);
  EXPECT_TRUE(headless::IsRelativeMouseMode());
  mouse->Release();
  EXPECT_FALSE(headless::IsRelativeMouseMode());
}

TEST_F(InputDeviceTest, CreationCanFail) {
  headless::FailInputCreation(true);
  EXPECT_EQ(InputSystem::Create(), nullptr);
  EXPECT_EQ(m_System->CreateDevice(InputDeviceKind::Keyboard), nullptr);
  headless::FailInputCreation(false);
  InputDevice* keyboard = m_System->CreateDevice(InputDeviceKind::Keyboard);
  ASSERT_NE(keyboard, nullptr);
  EXPECT_EQ(keyboard->SetCooperativeLevel(nullptr, false), InputResult::Failed);
  keyboard->Release();
}

}  // namespace
