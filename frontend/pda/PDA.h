#pragma once
// frontend/pda/: the hand-held PDA: its frame, dialogs, resources, the link
// to the world and the base of its applications; the seven applications
// in apps/. It may call what frontend/ may call.
//
// The PDA: its frame, the five frame buttons with their questions, one of
// seven applications at a time, the logged-in line and the pointer. The
// application object runs UpdateAndDraw once a frame in the PDA states and
// then reads (and clears) the result code.
#include <array>
#include <map>
#include <memory>

#include "engine/sprites/Sprite2D.h"
#include "frontend/pda/PDAApplication.h"
#include "frontend/pda/PDADialogs.h"
#include "frontend/widgets/PDAButton.h"

namespace Nembra {
class CBitmapFont;
}

// The applications by number.
enum : int {
  PDA_APP_OBJECTIVES = 0,
  PDA_APP_LOGIN = 1,
  PDA_APP_DESKTOP = 2,
  PDA_APP_GPS = 3,
  PDA_APP_EMAIL = 4,
  PDA_APP_NETWORK = 5,
  PDA_APP_CONFIG = 6,
  PDA_APP_COUNT = 7
};

// The frame buttons by key.
enum : int {
  PDA_BUTTON_SYSTEM_OFF = 1,
  PDA_BUTTON_CHANGE_PROFILE = 2,
  PDA_BUTTON_LEVEL_RESET = 3,
  PDA_BUTTON_CLOSE_APP = 6,
  PDA_BUTTON_START_GAME = 7
};

// Result codes left for the application object.
enum : int {
  PDA_RESULT_NONE = 0,
  PDA_RESULT_EXIT = 1,
  PDA_RESULT_RESET_LEVEL = 2,
  PDA_RESULT_CHANGE_PROFILE = 3,
  PDA_RESULT_PROFILE_CHOSEN = 4,
  PDA_RESULT_START_GAME = 6
};

class CPDA {
 public:
  CPDA();
  ~CPDA();
  CPDA(const CPDA&) = delete;
  CPDA& operator=(const CPDA&) = delete;

  // Images, buttons, the question and every application's resources.
  void Load();
  // Every localised text again (after the language or profile changed).
  void RefreshTexts();
  // Makes an application (0..6) current and activates it.
  void SetCurrentApp(int index);
  CPDAApplication* GetCurrentApp() const { return m_pCurrent; }
  int GetCurrentAppIndex() const;
  CPDAApplication* GetApp(int index) const;
  // Every frame button and the current application's widgets.
  void SetAllButtonsEnabled(bool enabled);
  // System off, change profile and start game.
  void SetFrameButtonsEnabled(bool enabled);
  // One frame; leaves the result code and its argument.
  void UpdateAndDraw();

  CPDAButton& FrameButton(int key) { return m_FrameButtons[key]; }

  Nembra::CStatic2DSprite m_Frame;
  std::map<int, CPDAButton> m_FrameButtons;
  CPDAConfirmDialog m_Confirm;
  bool m_ShowLoggedIn = false;
  Nembra::CStatic2DSprite m_Pointer;
  Nembra::CBitmapFont* m_pStatusFont = nullptr;
  Nembra::CStatic2DSprite m_Status;
  int m_ResultCode = PDA_RESULT_NONE;
  int m_ResultArgument = 0;
  // The level map the GPS shows at (188, 162).
  Nembra::CStatic2DSprite m_Map;

 private:
  void AskFor(const char* messageId, int purpose);

  std::array<std::unique_ptr<CPDAApplication>, PDA_APP_COUNT> m_Apps;
  CPDAApplication* m_pCurrent = nullptr;
};

extern CPDA* g_pPDA;
