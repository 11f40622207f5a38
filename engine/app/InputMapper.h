#pragma once
// Input actions: game code asks for an action by number and the mapper
// answers through the key or mouse button bound to it. Actions also have a
// name ("KMP_UP"), through which texts show the bound input.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/Input.h"
#include "platform/Window.h"

namespace Nembra {

class CInputMapper;

// One action bound to one input.
struct INPUT_MAPPING {
  INPUT_MAPPING(CInputMapper* owner, uint32_t code) : m_pOwner(owner), m_Code(code) {}
  virtual ~INPUT_MAPPING() = default;
  virtual bool WasReleased() const = 0;
  virtual bool IsDown() const = 0;
  virtual bool WasPressed() const = 0;
  virtual void GetName(std::wstring& out) const = 0;

  CInputMapper* m_pOwner;
  uint32_t m_Code;  // key code of a keyboard mapping, button number of a mouse mapping
};

// Reads g_pKeyboard.
struct KEYBOARD_MAPPING : INPUT_MAPPING {
  using INPUT_MAPPING::INPUT_MAPPING;
  bool WasReleased() const override;
  bool IsDown() const override;
  bool WasPressed() const override;
  void GetName(std::wstring& out) const override;
};

// Reads g_pMouse.
struct MOUSE_MAPPING : INPUT_MAPPING {
  using INPUT_MAPPING::INPUT_MAPPING;
  bool WasReleased() const override;
  bool IsDown() const override;
  bool WasPressed() const override;
  void GetName(std::wstring& out) const override;
};

class CInputMapper {
 public:
  static const wchar_t* const UNKNOWN_MAPPING_TEXT;  // "ERROR : Unknown keyboard mapping value"

  CInputMapper() = default;
  ~CInputMapper();
  CInputMapper(const CInputMapper&) = delete;
  CInputMapper& operator=(const CInputMapper&) = delete;

  // Starts the input system and the keyboard and mouse devices for the
  // window (the mouse clamped to the application's screen size).
  bool InitializeInput(platform::HWND window);

  // Bind an action to a key or a button under a name. A mapping already
  // bound to the action number is replaced and freed, and so is the entry
  // of the name.
  void AddKeyboardMapping(int action, uint32_t keyCode, const std::string& name);
  void AddMouseMapping(int action, uint32_t button, const std::string& name);
  // Changes the key (or button) of a bound action; an unbound action is ignored.
  void SetMappingCode(int action, uint32_t code);

  // An action with no mapping reads as up.
  bool WasActionReleased(int action) const;
  bool IsActionDown(int action) const;
  bool WasActionPressed(int action) const;

  // The display name of the input bound to the named action, or
  // UNKNOWN_MAPPING_TEXT when no action has that name.
  std::wstring GetMappingName(const std::string& name) const;

 private:
  void AddMapping(int action, std::unique_ptr<INPUT_MAPPING> mapping, const std::string& name);
  const INPUT_MAPPING* Find(int action) const;

  platform::InputSystem* m_pDirectInput = nullptr;
  std::unordered_map<int, std::unique_ptr<INPUT_MAPPING>> m_ByAction;
  std::map<std::string, INPUT_MAPPING*> m_ByName;  // same objects, not owned
};

extern CInputMapper* g_pInputMapper;

}  // namespace Nembra
