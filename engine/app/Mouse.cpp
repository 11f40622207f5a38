#include "engine/app/Mouse.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/app/Keyboard.h"
#include "engine/util/Utilities.h"
#include "platform/Saturate.h"

namespace Nembra {

CMouse* g_pMouse = nullptr;

namespace {
using platform::AddSaturated;

bool InRect(int32_t px, int32_t py, int x, int y, int width, int height) {
  return IsPointInRect(px, py, x, y, AddSaturated(x, width), AddSaturated(y, height));
}

int32_t Scale(int32_t units, float speed) {
  const double v = std::trunc(static_cast<double>(units) * speed);
  if (!(v > -2147483648.0)) return INT32_MIN;  // also NaN
  if (v > 2147483647.0) return INT32_MAX;
  return static_cast<int32_t>(v);
}

}  // namespace

CMouse::CMouse() = default;

CMouse::~CMouse() { ReleaseDevice(); }

bool CMouse::Initialize(platform::InputSystem* directInput, platform::HWND window,
                        const APPLICATION_PARAMS& params) {
  ReleaseDevice();
  m_pDevice = OpenInputDevice(directInput, platform::InputDeviceKind::Mouse, window, true);
  if (!m_pDevice) return false;
  m_ClampLeft = 0;
  m_ClampTop = 0;
  m_ClampRight = params.width;
  m_ClampBottom = params.height;
  return true;
}

void CMouse::ReadState() {
  std::memcpy(m_PrevButtons, m_State.rgbButtons, sizeof m_PrevButtons);
  m_PrevX = m_X;
  m_PrevY = m_Y;
  m_PrevZ = m_Z;

  if (!m_pDevice || m_pDevice->GetDeviceState(sizeof m_State, &m_State) != platform::InputResult::Ok) {
    // A failed read moves nothing and keeps the buttons as they were, so
    // the last movement is not applied twice and no button changes.
    if (m_pDevice) m_pDevice->Acquire();
    m_State.lX = m_State.lY = m_State.lZ = 0;
  }

  m_DX = Scale(m_State.lX, m_Speed);
  m_DY = Scale(m_State.lY, m_Speed);
  m_DZ = m_State.lZ;
  m_X = AddSaturated(m_X, m_DX);
  m_Y = AddSaturated(m_Y, m_DY);
  m_Z = AddSaturated(m_Z, m_DZ);

  if (m_X < m_ClampLeft) m_X = m_ClampLeft;
  if (m_X >= m_ClampRight) m_X = m_ClampRight - 1;
  if (m_Y < m_ClampTop) m_Y = m_ClampTop;
  if (m_Y >= m_ClampBottom) m_Y = m_ClampBottom - 1;

  for (int b = 0; b < PRESS_BUTTONS; ++b) {
    if (WasButtonPressed(b)) {
      m_PressX[b] = m_X;
      m_PressY[b] = m_Y;
    }
  }
}

bool CMouse::IsButtonDown(int button) const { return InRange(button) && (m_State.rgbButtons[button] & 0x80); }

bool CMouse::WasButtonPressed(int button) const {
  return InRange(button) && !(m_PrevButtons[button] & 0x80) && (m_State.rgbButtons[button] & 0x80);
}

bool CMouse::WasButtonReleased(int button) const {
  return InRange(button) && (m_PrevButtons[button] & 0x80) && !(m_State.rgbButtons[button] & 0x80);
}

bool CMouse::WasAnyButtonPressed() const {
  for (int b = 0; b < PRESS_BUTTONS; ++b)
    if (WasButtonPressed(b)) return true;
  return false;
}

bool CMouse::WasAnyButtonReleased() const {
  for (int b = 0; b < PRESS_BUTTONS; ++b)
    if (WasButtonReleased(b)) return true;
  return false;
}

bool CMouse::IsInRegion(int x, int y, int width, int height) const { return InRect(m_X, m_Y, x, y, width, height); }

bool CMouse::IsButtonDownInRegion(int button, int x, int y, int width, int height) const {
  return IsInRegion(x, y, width, height) && IsButtonDown(button);
}

bool CMouse::WasClickedInRegion(int button, int x, int y, int width, int height) const {
  // Only buttons 0 to 2 have a press position.
  if (button < 0 || button >= PRESS_BUTTONS) return false;
  return IsInRegion(x, y, width, height) && WasButtonReleased(button) &&
         InRect(m_PressX[button], m_PressY[button], x, y, width, height);
}

std::wstring CMouse::GetButtonName(int button) const { return platform::GetMouseButtonName(button); }

void CMouse::ClearState() {
  m_State = platform::DIMOUSESTATE{};
  std::memset(m_PrevButtons, 0, sizeof m_PrevButtons);
  m_X = m_Y = m_Z = 0;
  m_PrevX = m_PrevY = m_PrevZ = 0;
}

void CMouse::GetPressPosition(int button, int32_t* x, int32_t* y) const {
  const bool known = button >= 0 && button < PRESS_BUTTONS;
  if (x) *x = known ? m_PressX[button] : 0;
  if (y) *y = known ? m_PressY[button] : 0;
}

void CMouse::ReleaseDevice() { ReleaseInputDevice(m_pDevice); }

}  // namespace Nembra
