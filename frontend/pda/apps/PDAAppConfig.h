#pragma once
// Application 6: the current profile's settings. Gamma and the two volumes
// on sliders that act at once, the camera type, and six keys rebound by
// clicking a row and releasing a key. Default loads "ConfigDefault.dat"
// into the widgets, Save writes the profile; closing with changes asks.
#include <array>
#include <cstdint>

#include "frontend/pda/PDAApplication.h"
#include "frontend/pda/PDADialogs.h"
#include "frontend/widgets/PDAButton.h"
#include "frontend/widgets/PDARadioGroup.h"
#include "frontend/widgets/PDASlideBar.h"

class CPDAAppConfig : public CPDAApplication {
 public:
  static constexpr int KEY_ROWS = 6;
  static constexpr int SAVE_PURPOSE = 7;
  static constexpr int WAITING_KEY = 0x35;  // shown in a row while it waits (the slash key)
  // The input action each row binds, and the rows' y.
  static constexpr std::array<int, KEY_ROWS> ROW_ACTIONS{0, 1, 2, 3, 8, 7};
  static constexpr std::array<int, KEY_ROWS> ROW_Y{173, 195, 217, 239, 261, 283};

  void Load() override;
  void RefreshTexts() override;
  void Update() override;
  void Draw() override;
  void Activate() override;
  void SetEnabled(bool enabled) override;
  bool CanClose() override;

  void LoadFromProfile();
  void SaveToProfile();
  bool HasChanges() const;
  void LoadDefaults();

  Nembra::CBitmapFont* m_pTextFont = nullptr;
  Nembra::CStatic2DSprite m_Panel;
  CPDASlideBar m_Gamma;
  CPDASlideBar m_Effects;
  CPDASlideBar m_Music;
  CPDAButton m_Default;
  CPDAButton m_Save;
  std::array<CPDAButton, KEY_ROWS> m_KeyRows;
  std::array<int32_t, KEY_ROWS> m_Keys{};
  int m_Capturing = -1;  // the input action waiting for a key
  int m_CaptureRow = -1;
  int m_PreviousKey = 0;
  CPDARadioGroup m_Camera;
  CPDAConfirmDialog m_Confirm;

 private:
  void ReturnToDesktop();
};
