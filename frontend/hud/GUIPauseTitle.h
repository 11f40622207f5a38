#pragma once
// The title over the death screen: the screen dimmed by a half-transparent
// backdrop and the language's title image, flashed when the player dies.
#include <string>

#include "engine/resources/FactoryRef.h"
#include "engine/resources/Texture.h"
#include "engine/sprites/Sprite2D.h"
#include "frontend/hud/GUIFlash.h"

class CGUIPauseTitle {
 public:
  static constexpr float FLASH_TIME = 0.7f;

  // Loads the word atlas of the language code and lays the title out.
  void LoadTexts(const std::wstring& language);
  // The player has just died: title opaque, flash started.
  void Restart();
  // Each frame of the death screen: backdrop, title, flash.
  void Draw();
  void Release();

  const Nembra::CStatic2DSprite& Title() const { return m_Title; }
  const CGUIFlash& Flash() const { return m_Flash; }
  const std::string& GetAtlasName() const { return m_Texture.GetName(); }

 private:
  Nembra::CStatic2DSprite m_Backdrop;
  Nembra::CStatic2DSprite m_Title;
  CGUIFlash m_Flash;
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_Texture{Nembra::g_pTextureFactory};
};
