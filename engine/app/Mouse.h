#pragma once
// The mouse, read once per frame: relative motion drives a software cursor
// clamped to the screen, the wheel position runs free, and the queries
// compare this frame's buttons with the frame before. Buttons are 0 left,
// 1 right, 2 middle and 3; other numbers read as up.
#include <cstdint>
#include <string>

#include "engine/app/Application.h"
#include "platform/Input.h"
#include "platform/Window.h"

namespace Nembra {

class CMouse {
 public:
  static constexpr int BUTTON_COUNT = platform::MOUSE_BUTTON_COUNT;
  static constexpr int PRESS_BUTTONS = 3;  // buttons that the "any" queries and press positions cover

  CMouse();
  ~CMouse();
  CMouse(const CMouse&) = delete;
  CMouse& operator=(const CMouse&) = delete;

  // Makes and acquires the mouse device for the window; the cursor is
  // clamped to (0, 0, width, height) of the description.
  bool Initialize(platform::InputSystem* directInput, platform::HWND window, const APPLICATION_PARAMS& params);
  // Takes this frame's motion and buttons; once per frame.
  void ReadState();

  bool IsButtonDown(int button) const;
  bool WasButtonPressed(int button) const;
  bool WasButtonReleased(int button) const;
  bool WasAnyButtonPressed() const;   // buttons 0 to 2
  bool WasAnyButtonReleased() const;  // buttons 0 to 2

  // The cursor lies in the rectangle (left and top inclusive, right and bottom exclusive).
  bool IsInRegion(int x, int y, int width, int height) const;
  bool IsButtonDownInRegion(int button, int x, int y, int width, int height) const;
  // The button went up this frame with the cursor in the rectangle, and it
  // went down in the rectangle too.
  bool WasClickedInRegion(int button, int x, int y, int width, int height) const;

  std::wstring GetButtonName(int button) const;

  // Zeroes the device state, the previous buttons, the cursor and the previous cursor.
  void ClearState();

  // Cursor position and wheel position.
  int32_t GetX() const { return m_X; }
  int32_t GetY() const { return m_Y; }
  int32_t GetZ() const { return m_Z; }
  void SetPosition(int32_t x, int32_t y, int32_t z) {
    m_X = x;
    m_Y = y;
    m_Z = z;
  }
  // Movement of this frame: cursor pixels and wheel units (120 a notch).
  int32_t GetDX() const { return m_DX; }
  int32_t GetDY() const { return m_DY; }
  int32_t GetDZ() const { return m_DZ; }
  // Factor from device units to cursor pixels (2.0 by default).
  float GetSpeed() const { return m_Speed; }
  void SetSpeed(float speed) { m_Speed = speed; }
  // Where the cursor was when the button (0 to 2) last went down.
  void GetPressPosition(int button, int32_t* x, int32_t* y) const;

  void ReleaseDevice();

 private:
  static bool InRange(int button) { return button >= 0 && button < BUTTON_COUNT; }

  platform::InputDevice* m_pDevice = nullptr;
  platform::DIMOUSESTATE m_State;
  uint8_t m_PrevButtons[BUTTON_COUNT] = {0, 0, 0, 0};
  int32_t m_X = 0, m_Y = 0, m_Z = 0;
  int32_t m_PrevX = 0, m_PrevY = 0, m_PrevZ = 0;
  int32_t m_DX = 0, m_DY = 0, m_DZ = 0;
  float m_Speed = 2.0f;
  // The screen of a default description until Initialize sets the real one.
  int32_t m_ClampLeft = 0, m_ClampTop = 0, m_ClampRight = 800, m_ClampBottom = 600;
  int32_t m_PressX[PRESS_BUTTONS] = {0, 0, 0};
  int32_t m_PressY[PRESS_BUTTONS] = {0, 0, 0};
};

extern CMouse* g_pMouse;

}  // namespace Nembra
