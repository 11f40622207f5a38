#pragma once
// Application 4: the current level's briefing mail, scrolled by two
// buttons and the wheel, with up to three attachments that open in the
// file viewer. Opening it marks the mail read.
#include <array>

#include "frontend/pda/PDAApplication.h"
#include "frontend/pda/PDADialogs.h"
#include "frontend/widgets/PDAButton.h"

class CPDAAppEmail : public CPDAApplication {
 public:
  static constexpr int TOP = 220;     // where the text starts, and the highest it goes down to
  static constexpr int STEP = 10;     // pixels per frame of scrolling
  static constexpr int BOTTOM = 405;  // the text's end may not rise above this

  void Load() override;
  void RefreshTexts() override;
  void Update() override;
  void Draw() override;
  void Activate() override;
  void SetEnabled(bool enabled) override;

  CPDAShowFileDialog m_Viewer;
  Nembra::CStatic2DSprite m_Overlay;
  Nembra::CBitmapFont* m_pMailFont = nullptr;
  int m_Scroll = TOP;
  int m_LastHeight = 0;  // height the mail covered when last drawn
  CPDAButton m_Up;
  CPDAButton m_Down;
  std::array<CPDAButton, 3> m_Attachments;

 private:
  void EnableAttachments(bool enabled);
};
