#pragma once
// A coloured overlay over the whole screen that fades in or out over a set
// time. The game keeps one, g_ScreenFader, and draws it last in a frame's
// sprite batch.
#include <cstdint>

#include "engine/resources/Texture.h"
#include "engine/sprites/Sprite2D.h"

namespace Nembra {

class CScreenFader : public CStatic2DSprite {
 public:
  CScreenFader() = default;
  CScreenFader(const CScreenFader&) = delete;
  CScreenFader& operator=(const CScreenFader&) = delete;

  // Makes the one-texel white texture stretched over width x height, and
  // starts shown (opaque) or hidden.
  void Init(D3DXCOLOR color, uint32_t width, uint32_t height, bool shown, const float& duration);
  // From hidden: start fading in from alpha 0.
  void FadeIn();
  // From shown (or fading in): start fading out from alpha 1.
  void FadeOut();
  // Moves the alpha by the frame time and draws. A duration of 0 or less
  // jumps straight to the end of the fade.
  void Update();

  float m_Red = 0.0f, m_Green = 0.0f, m_Blue = 0.0f;
  float m_Alpha = 0.0f;  // 0 invisible .. 1 opaque
  float m_Duration = 0.0f;
  bool m_Shown = false;  // fading in or fully shown
  float m_Direction = -1.0f;

 private:
  CTexture m_Texture;
};

extern CScreenFader g_ScreenFader;

}  // namespace Nembra
