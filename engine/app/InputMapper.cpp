#include "engine/app/InputMapper.h"

#include <climits>

#include "engine/app/Application.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"

namespace Nembra {

CInputMapper* g_pInputMapper = nullptr;

const wchar_t* const CInputMapper::UNKNOWN_MAPPING_TEXT = L"ERROR : Unknown keyboard mapping value";

namespace {
// Codes come from settings files: anything beyond int reads as no input.
int CodeOf(uint32_t code) { return code > static_cast<uint32_t>(INT_MAX) ? -1 : static_cast<int>(code); }
}  // namespace

bool KEYBOARD_MAPPING::WasReleased() const { return g_pKeyboard && g_pKeyboard->WasKeyReleased(CodeOf(m_Code)); }
bool KEYBOARD_MAPPING::IsDown() const { return g_pKeyboard && g_pKeyboard->IsKeyDown(CodeOf(m_Code)); }
bool KEYBOARD_MAPPING::WasPressed() const { return g_pKeyboard && g_pKeyboard->WasKeyPressed(CodeOf(m_Code)); }
void KEYBOARD_MAPPING::GetName(std::wstring& out) const {
  out = g_pKeyboard ? g_pKeyboard->GetKeyName(CodeOf(m_Code)) : std::wstring();
}

bool MOUSE_MAPPING::WasReleased() const { return g_pMouse && g_pMouse->WasButtonReleased(CodeOf(m_Code)); }
bool MOUSE_MAPPING::IsDown() const { return g_pMouse && g_pMouse->IsButtonDown(CodeOf(m_Code)); }
bool MOUSE_MAPPING::WasPressed() const { return g_pMouse && g_pMouse->WasButtonPressed(CodeOf(m_Code)); }
void MOUSE_MAPPING::GetName(std::wstring& out) const {
  out = g_pMouse ? g_pMouse->GetButtonName(CodeOf(m_Code)) : std::wstring();
}

CInputMapper::~CInputMapper() {
  m_ByName.clear();
  m_ByAction.clear();
  if (m_pDirectInput) m_pDirectInput->Release();
  m_pDirectInput = nullptr;
}

bool CInputMapper::InitializeInput(platform::HWND window) {
  if (m_pDirectInput) m_pDirectInput->Release();
  m_pDirectInput = platform::InputSystem::Create();
  if (!m_pDirectInput) return false;
  if (!g_pKeyboard || !g_pKeyboard->Initialize(m_pDirectInput, window)) return false;
  const APPLICATION_PARAMS params = g_pApplication ? g_pApplication->GetParams() : APPLICATION_PARAMS();
  return g_pMouse && g_pMouse->Initialize(m_pDirectInput, window, params);
}

void CInputMapper::AddMapping(int action, std::unique_ptr<INPUT_MAPPING> mapping, const std::string& name) {
  auto found = m_ByAction.find(action);
  if (found != m_ByAction.end()) {
    // The replaced mapping goes, and no name may still lead to it.
    for (auto it = m_ByName.begin(); it != m_ByName.end();)
      it = it->second == found->second.get() ? m_ByName.erase(it) : std::next(it);
  }
  INPUT_MAPPING* raw = mapping.get();
  m_ByAction[action] = std::move(mapping);
  m_ByName[name] = raw;
}

void CInputMapper::AddKeyboardMapping(int action, uint32_t keyCode, const std::string& name) {
  AddMapping(action, std::make_unique<KEYBOARD_MAPPING>(this, keyCode), name);
}

void CInputMapper::AddMouseMapping(int action, uint32_t button, const std::string& name) {
  AddMapping(action, std::make_unique<MOUSE_MAPPING>(this, button), name);
}

void CInputMapper::SetMappingCode(int action, uint32_t code) {
  auto it = m_ByAction.find(action);
  if (it != m_ByAction.end()) it->second->m_Code = code;
}

const INPUT_MAPPING* CInputMapper::Find(int action) const {
  auto it = m_ByAction.find(action);
  return it == m_ByAction.end() ? nullptr : it->second.get();
}

bool CInputMapper::WasActionReleased(int action) const {
  const INPUT_MAPPING* m = Find(action);
  return m && m->WasReleased();
}

bool CInputMapper::IsActionDown(int action) const {
  const INPUT_MAPPING* m = Find(action);
  return m && m->IsDown();
}

bool CInputMapper::WasActionPressed(int action) const {
  const INPUT_MAPPING* m = Find(action);
  return m && m->WasPressed();
}

std::wstring CInputMapper::GetMappingName(const std::string& name) const {
  auto it = m_ByName.find(name);
  if (it == m_ByName.end()) return UNKNOWN_MAPPING_TEXT;
  std::wstring out;
  it->second->GetName(out);
  return out;
}

}  // namespace Nembra
