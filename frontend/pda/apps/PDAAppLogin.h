#pragma once
// Application 1: the five profile slots. A used slot logs in (request 4
// with the slot), an empty one takes a typed name, and a used one can be
// deleted after a question.
#include <array>
#include <string>

#include "frontend/pda/PDAApplication.h"
#include "frontend/pda/PDADialogs.h"
#include "frontend/widgets/PDAButton.h"

class CPDAAppLogin : public CPDAApplication {
 public:
  static constexpr int SLOTS = 5;
  static constexpr int NAME_WIDTH = 300;  // widest name in the name font, pixels
  static constexpr size_t NAME_LENGTH = 64;  // longest name, characters
  static constexpr int DELETE_PURPOSE = 8;

  void Load() override;
  void RefreshTexts() override;
  void Update() override;
  void Draw() override;
  void SetEnabled(bool enabled) override;

  // The slot's y: 178 + 50 x slot.
  static int SlotY(int slot) { return 178 + 50 * slot; }

  std::array<CPDAButton, SLOTS> m_Profiles;
  std::array<CPDAButton, SLOTS> m_Deletes;
  std::array<CPDAButton, SLOTS> m_Accepts;
  Nembra::CBitmapFont* m_pNameFont = nullptr;
  int m_Editing = -1;
  int m_ToDelete = -1;
  std::wstring m_Name;
  CPDAConfirmDialog m_Confirm;
  // Shown when a new profile could not be written.
  CPDANoticeDialog m_Notice;

 private:
  void StartTyping(int slot);
  void EndTyping();
  // Appends the characters the name may hold, then trims it to the width.
  void Append(const std::wstring& typed);
  void DeleteProfile(int slot);
};
