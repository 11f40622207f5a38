#pragma once
// The demonstration's last two screens: the final screen after the last
// level (a picture, three strips of words in the player's language, the
// buy-now button and the pointer), and the purchase screen shown when the
// player leaves from the main menu (the picture with its banner strip over
// the top, the buy-now button and the pointer). Both draw inside a sprite
// batch the application has begun.
#include <string>

#include "engine/resources/FactoryRef.h"
#include "engine/resources/Texture.h"
#include "engine/sprites/Sprite2D.h"

class CFinalScreen {
 public:
  CFinalScreen() = default;
  CFinalScreen(const CFinalScreen&) = delete;
  CFinalScreen& operator=(const CFinalScreen&) = delete;

  // "Final_RU.png" for "RUS", "Final_ES.png" for "SPA", else "Final_EN.png".
  void Init(const std::wstring& language);
  void Update();
  void Release();

  const std::string& GetFinalImage() const { return m_FinalTexture.GetName(); }

 private:
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_BackgroundTexture{Nembra::g_pTextureFactory};
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_FinalTexture{Nembra::g_pTextureFactory};
  Nembra::CStatic2DSprite m_Background;
  Nembra::CStatic2DSprite m_Strips[3];
  Nembra::CStatic2DSprite m_Pointer;
};

class CBuyNowScreen {
 public:
  CBuyNowScreen();
  ~CBuyNowScreen();
  CBuyNowScreen(const CBuyNowScreen&) = delete;
  CBuyNowScreen& operator=(const CBuyNowScreen&) = delete;

  void Render();

 private:
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_Texture{Nembra::g_pTextureFactory};
  Nembra::CStatic2DSprite m_Background;
  Nembra::CStatic2DSprite m_Strip;
  Nembra::CStatic2DSprite m_Pointer;
};
