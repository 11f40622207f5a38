#include "engine/app/Keyboard.h"

#include <cstring>

#include "platform/Log.h"

namespace Nembra {

CKeyboard* g_pKeyboard = nullptr;

namespace {
// Start-up waits at most this long for a window that is not in front.
constexpr int ACQUIRE_WAIT_MS = 100;
constexpr int ACQUIRE_TRIES = 30;

// While another program has the input, start-up waits and tries again, for a
// few seconds at most; after that the device stays unacquired and the reads
// take it over once the window is in front.
bool AcquireInputDevice(platform::InputDevice* device) {
  for (int tries = 0;; ++tries) {
    const platform::InputResult r = device->Acquire();
    if (r == platform::InputResult::Ok) return true;
    if (r != platform::InputResult::OtherAppHasPriority) return false;
    if (tries + 1 >= ACQUIRE_TRIES) {
      platform::LogWarning("input is held by another program; it is taken when the window comes to the front");
      return true;
    }
    platform::WaitForInput(ACQUIRE_WAIT_MS);
  }
}
}  // namespace

platform::InputDevice* OpenInputDevice(platform::InputSystem* directInput, platform::InputDeviceKind kind,
                                       platform::HWND window, bool exclusive) {
  if (!directInput) return nullptr;
  platform::InputDevice* device = directInput->CreateDevice(kind);
  if (!device) return nullptr;
  if (device->SetCooperativeLevel(window, exclusive) != platform::InputResult::Ok || !AcquireInputDevice(device))
    ReleaseInputDevice(device);
  return device;
}

CKeyboard::CKeyboard() {
  std::memset(m_KeyStates, 0, sizeof m_KeyStates);
  std::memset(m_PrevKeyStates, 0, sizeof m_PrevKeyStates);
}

CKeyboard::~CKeyboard() { ReleaseDevice(); }

bool CKeyboard::Initialize(platform::InputSystem* directInput, platform::HWND window) {
  ReleaseDevice();
  m_pDevice = OpenInputDevice(directInput, platform::InputDeviceKind::Keyboard, window, false);
  if (!m_pDevice) return false;
  std::memset(m_KeyStates, 0, sizeof m_KeyStates);
  std::memset(m_PrevKeyStates, 0, sizeof m_PrevKeyStates);
  return true;
}

void CKeyboard::ReadState() {
  std::memcpy(m_PrevKeyStates, m_KeyStates, sizeof m_KeyStates);
  if (!m_pDevice) return;
  // A failed read keeps the states as they were: nothing is pressed or
  // released in this frame.
  if (m_pDevice->GetDeviceState(sizeof m_KeyStates, m_KeyStates) != platform::InputResult::Ok)
    m_pDevice->Acquire();
}

bool CKeyboard::IsKeyDown(int code) const { return InRange(code) && (m_KeyStates[code] & 0x80); }

bool CKeyboard::WasKeyPressed(int code) const {
  return InRange(code) && !(m_PrevKeyStates[code] & 0x80) && (m_KeyStates[code] & 0x80);
}

bool CKeyboard::WasKeyReleased(int code) const {
  return InRange(code) && (m_PrevKeyStates[code] & 0x80) && !(m_KeyStates[code] & 0x80);
}

bool CKeyboard::WasAnyKeyReleased() const { return GetReleasedKey() >= 0; }

int CKeyboard::GetReleasedKey() const {
  for (int code = 0; code < STATE_SIZE; ++code)
    if ((m_PrevKeyStates[code] & 0x80) && !(m_KeyStates[code] & 0x80)) return code;
  return -1;
}

std::wstring CKeyboard::GetKeyName(int code) const { return platform::GetKeyName(code); }

void ReleaseInputDevice(platform::InputDevice*& device) {
  if (!device) return;
  device->Unacquire();
  device->Release();
  device = nullptr;
}

void CKeyboard::ReleaseDevice() { ReleaseInputDevice(m_pDevice); }

}  // namespace Nembra
