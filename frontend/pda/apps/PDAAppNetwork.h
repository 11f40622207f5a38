#pragma once
// Application 5: the twelve network documents in two columns. Documents
// the level enables show their title and open in the viewer; documents not
// yet seen open by themselves when the application becomes current.
#include <array>

#include "frontend/pda/PDAApplication.h"
#include "frontend/pda/PDADialogs.h"
#include "frontend/widgets/PDAButton.h"
#include "game/level/LevelDescriptions.h"

class CPDAAppNetwork : public CPDAApplication {
 public:
  void Load() override;
  void RefreshTexts() override;
  void Update() override;
  void Draw() override;
  void Activate() override;
  void SetEnabled(bool enabled) override;

  // Row i's top-left corner: rows 0..5 in the left column, 6..11 in the right.
  static int RowX(int i) { return 199 + 264 * (i / 6); }
  static int RowY(int i) { return 158 + 44 * (i % 6); }

  CPDAShowFileDialog m_Viewer;
  std::array<CPDAButton, PDA_DOCUMENT_COUNT> m_Rows;
  bool m_FileOpen = false;

 private:
  // Puts the document into the viewer (title and text or picture).
  void Show(const CPDADocument& document);
};
