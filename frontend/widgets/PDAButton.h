#pragma once
// frontend/widgets/: the widgets the menu, the screens, the comic and the
// PDA share: buttons, radio groups, slide bars and the image helpers.
// They may call engine/ and platform/ only.
//
// The push button of the PDA and the menus: three images (normal, hover,
// disabled), a hit rectangle, a caption drawn centred on the button and a
// hint drawn on the status line while the mouse is over it. Update draws
// the image and tests the mouse; Draw writes the texts later in the frame,
// so texts lie over every image.
#include <memory>
#include <string>

#include "engine/sprites/Sprite2D.h"
#include "engine/util/Utilities.h"

namespace Nembra {
class CBitmapFont;
class CSound;
class CTexture;
}  // namespace Nembra

class CPDAButton {
 public:
  // Where the hint of a hovered button is centred.
  static constexpr int HINT_X = 400;
  static constexpr int HINT_Y = 550;

  CPDAButton() = default;
  virtual ~CPDAButton() = default;
  // Buttons own their sprites: they are built in place, never copied.
  CPDAButton(const CPDAButton&) = delete;
  CPDAButton& operator=(const CPDAButton&) = delete;

  // Each replaces the image of one state; false for a null texture or an
  // all-zero rectangle. The new image sits at (0, 0) until SetPosition.
  bool SetNormalImage(Nembra::CTexture* texture, const Nembra::RECT& source);
  bool SetHoverImage(Nembra::CTexture* texture, const Nembra::RECT& source);
  bool SetDisabledImage(Nembra::CTexture* texture, const Nembra::RECT& source);
  // Moves the images' top-left corner; the hit rectangle stays.
  void SetPosition(const D3DXVECTOR3& position);
  const D3DXVECTOR3& GetPosition() const { return m_Position; }

  // Once per frame inside a sprite batch: draws the image of the state,
  // tests hover and click and calls the hooks.
  virtual void Update();
  virtual bool WasClicked() const { return m_Clicked; }
  virtual void OnHover() {}
  virtual void OnNoHover() {}
  // Plays the click sound.
  virtual void OnClick();
  virtual void OnNoClick() {}

  // Writes the caption and, while hovered and enabled, the hint.
  void Draw();

  Nembra::CStatic2DSprite* GetNormalImage() const { return m_pNormal.get(); }
  Nembra::CStatic2DSprite* GetHoverImage() const { return m_pHover.get(); }
  Nembra::CStatic2DSprite* GetDisabledImage() const { return m_pDisabled.get(); }

  // Set by the owner.
  Nembra::RECT m_Rect;
  Nembra::CBitmapFont* m_pFont = nullptr;
  std::wstring m_Caption;
  std::wstring m_Hint;
  bool m_Enabled = true;
  bool m_Visible = true;
  // Shows the hover state whatever the mouse does, also while disabled.
  bool m_Highlight = false;
  Nembra::CSound* m_pClickSound = nullptr;

 protected:
  std::unique_ptr<Nembra::CStatic2DSprite> m_pNormal;
  std::unique_ptr<Nembra::CStatic2DSprite> m_pHover;
  std::unique_ptr<Nembra::CStatic2DSprite> m_pDisabled;
  D3DXVECTOR3 m_Position{0.0f, 0.0f, 0.0f};
  bool m_Clicked = false;
};
