#pragma once
// The PDA's modal panels: the yes/no question, the new-mail notice, the
// decrypting notice and the file viewer. Each is a member of its owner,
// which shows it by setting visible, runs Update inside its image batch
// (images and the buttons' mouse test), Draw in a later batch (texts), and
// reads the answer after Update.
#include <string>

#include "engine/sprites/Sprite2D.h"
#include "frontend/widgets/PDAButton.h"

namespace Nembra {
class CBitmapFont;
}

// Answers of the panels.
enum : int { PDA_ANSWER_NONE = 0, PDA_ANSWER_YES = 4, PDA_ANSWER_NO = 5 };

// What the question, the mail notice and the decrypt notice share: the
// dimmed backdrop, the panel, the OK (or yes) button at the bottom and a
// title and a message.
class CPDAPanelDialog {
 public:
  // Backdrop and panel from "PDA.png", fonts "PDA_Title" and "PDA_Std".
  void LoadPanel();
  void SetMessage(const std::wstring& message) { m_Message = message; }
  const std::wstring& GetMessage() const { return m_Message; }

  bool m_Visible = false;
  int m_Answer = PDA_ANSWER_NONE;

 protected:
  // Backdrop and panel.
  void DrawPanel();
  // The title at (281, 200).
  void DrawTitle(const char* textId);
  // One of the panel's buttons at x, in the button row.
  static void LoadPanelButton(CPDAButton& button, int x);

  Nembra::CStatic2DSprite m_Backdrop;
  Nembra::CStatic2DSprite m_Panel;
  Nembra::CBitmapFont* m_pTitleFont = nullptr;
  Nembra::CBitmapFont* m_pMessageFont = nullptr;
  std::wstring m_Message;
};

// Yes or no. The owner disables its widgets, sets the message, the purpose
// and visible; the answer is 4 (yes) or 5 (no) in the frame of the click.
class CPDAConfirmDialog : public CPDAPanelDialog {
 public:
  void Load();
  void RefreshTexts();
  void Update();
  void Draw();

  int m_Purpose = 0;
  CPDAButton m_Yes;
  CPDAButton m_No;
};

// A message to read, closed by its OK button (answer 4); the owner
// disables its widgets while it shows.
class CPDANoticeDialog : public CPDAPanelDialog {
 public:
  void Load();
  void RefreshTexts();
  void Update();
  // The title is the text of this id.
  void Draw(const char* titleId);

  CPDAButton m_Ok;
};

// "You got mail": an e-mail icon and the "read" button.
class CPDAMailDialog : public CPDAPanelDialog {
 public:
  void Load();
  void Update();
  void Draw();

  CPDAButton m_Ok;
  Nembra::CStatic2DSprite m_Icon;
};

// A timed "decrypting" bar; the OK button only once it is full.
class CPDADecryptDialog : public CPDAPanelDialog {
 public:
  void Load();
  // Shows the notice with the bar empty again.
  void Open();
  // Advances the bar (also while hidden), then draws and tests the button.
  void Update();
  void Draw();

  float m_Progress = 0.0f;
  CPDAButton m_Ok;
  Nembra::CStatic2DSprite m_BarFrame;
  Nembra::CStatic2DSprite m_BarFill;
};

// The document viewer of the network and e-mail applications: a title and
// either a wrapped text or a picture, closed by its small button.
class CPDAShowFileDialog {
 public:
  CPDAShowFileDialog() = default;
  virtual ~CPDAShowFileDialog() = default;
  CPDAShowFileDialog(const CPDAShowFileDialog&) = delete;
  CPDAShowFileDialog& operator=(const CPDAShowFileDialog&) = delete;

  void Load();
  void SetTitle(const std::wstring& title) { m_Title = title; }
  void SetText(const std::wstring& text) { m_Text = text; }
  // The picture: a file of the texture folder, a part of it and where it goes.
  void SetImage(const std::wstring& file, const Nembra::RECT& source, const D3DXVECTOR3& position);
  // Backdrop, panel, the close button and, for a picture, the picture.
  void UpdateImages();
  void DrawTexts();

  // The body's last line must end above this y; later lines are not drawn.
  static constexpr int BODY_BOTTOM = 417;

  Nembra::CStatic2DSprite m_Backdrop;
  Nembra::CStatic2DSprite m_Panel;
  Nembra::CBitmapFont* m_pTitleFont = nullptr;
  Nembra::CBitmapFont* m_pBodyFont = nullptr;
  std::wstring m_Text;
  std::wstring m_Title;
  Nembra::CStatic2DSprite m_Image;
  bool m_Visible = false;
  bool m_ShowBody = true;
  CPDAButton m_Close;
};
