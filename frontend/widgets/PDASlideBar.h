#pragma once
// A horizontal slider: a background image and a fill image whose
// horizontal scale is the value (0 to 1), dragged with the left button
// while the pointer stays inside the active rectangle.
#include <memory>

#include "engine/sprites/Sprite2D.h"
#include "engine/util/Utilities.h"

namespace Nembra {
class CSound;
class CTexture;
}  // namespace Nembra

class CPDASlideBar {
 public:
  CPDASlideBar() = default;
  // Slide bars are members of their owners; the base is not for deleting through.
  ~CPDASlideBar() = default;
  CPDASlideBar(const CPDASlideBar&) = delete;
  CPDASlideBar& operator=(const CPDASlideBar&) = delete;

  bool SetBackgroundImage(Nembra::CTexture* texture, const Nembra::RECT& source);
  bool SetFillImage(Nembra::CTexture* texture, const Nembra::RECT& source);
  // The background goes to the first point (the bar's position), the fill to the second.
  void SetPosition(const D3DXVECTOR3& background, const D3DXVECTOR3& fill);
  // Stores the value and scales the fill by it; no clamping.
  void SetValue(float value);
  float GetValue() const { return m_Value; }

  // The drag: while the left button is held inside the active rectangle
  // the value follows the pointer (clamped to 0..1); a release inside the
  // rectangle calls OnRelease. Nothing while disabled.
  void Update();
  // When visible: draws the background, then the fill, then runs Update.
  void DrawAndUpdate();
  // Plays the release sound.
  virtual void OnRelease();

  Nembra::CStatic2DSprite* GetBackgroundImage() const { return m_pBackground.get(); }
  Nembra::CStatic2DSprite* GetFillImage() const { return m_pFill.get(); }

  // Set by the owner.
  Nembra::RECT m_Rect;
  bool m_Enabled = true;
  bool m_Visible = true;
  Nembra::CSound* m_pReleaseSound = nullptr;

 private:
  std::unique_ptr<Nembra::CStatic2DSprite> m_pBackground;
  std::unique_ptr<Nembra::CStatic2DSprite> m_pFill;
  D3DXVECTOR3 m_Position{0.0f, 0.0f, 0.0f};
  float m_Value = 1.0f;
};
