#pragma once
// The base of the PDA's applications: a background in the application
// window (181, 155)-(708, 425), a title above it, and a request that the
// shell passes on to the application object as its result code.
#include <string>

#include "engine/sprites/Sprite2D.h"

namespace Nembra {
class CBitmapFont;
}

class CPDAApplication {
 public:
  CPDAApplication() = default;
  virtual ~CPDAApplication() = default;
  CPDAApplication(const CPDAApplication&) = delete;
  CPDAApplication& operator=(const CPDAApplication&) = delete;

  // Request cleared, the title font, the background's place.
  virtual void Load();
  virtual void RefreshTexts() {}
  // Draws the background (inside the shell's image batch).
  virtual void Update();
  // Writes the title at (192, 115).
  virtual void Draw();
  // The application becomes current.
  virtual void Activate() { SetEnabled(true); }
  // Enables or disables the application's own widgets.
  virtual void SetEnabled(bool enabled) { (void)enabled; }
  // False when the application asks something first instead of closing.
  virtual bool CanClose() { return true; }

  // Posts a request for the shell to hand on.
  void Post(int code, int argument = 0) {
    m_RequestCode = code;
    m_RequestArgument = argument;
  }

  Nembra::CStatic2DSprite m_Background;
  Nembra::CBitmapFont* m_pTitleFont = nullptr;
  std::wstring m_Title;
  int m_RequestCode = 0;
  int m_RequestArgument = 0;

 protected:
  // The plain panel stretched over the application window.
  void UsePlainBackground();
};
