#pragma once
// The main menu's button: a push button whose images come from the menu's
// word atlas, which flashes (a copy of its word growing from 1.0 to 1.5
// times and fading out in 0.4 s) and plays a hover sound when the pointer
// enters it, and which can be tinted to mark the open sub-page.
#include "frontend/hud/GUIFlash.h"
#include "frontend/widgets/PDAButton.h"

class CMainButton : public CPDAButton {
 public:
  CMainButton();

  // Replace the normal or hover image's sprite by a new one on the
  // texture (source rectangle set later); false for a null texture.
  bool SetNormalTexture(Nembra::CTexture* texture);
  bool SetHoverTexture(Nembra::CTexture* texture);
  // Blue-grey tint (0.6, 0.6, 1.0) on the normal image, or exactly white.
  void SetHighlighted(bool on);

  // Runs the flash under the button's own image, then the button.
  void Update() override;
  // Entry (first hovered frame): starts the flash and plays the hover sound.
  void OnHover() override;
  void OnNoHover() override;

  bool IsHovering() const { return m_Hovering; }
  CGUIFlash& GetFlash() { return m_Flash; }

  Nembra::CSound* m_pHoverSound = nullptr;  // not owned

 private:
  CGUIFlash m_Flash;
  bool m_Hovering = false;
};
