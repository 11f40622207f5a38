#pragma once
// The level-over screen: the level darkened by a backdrop and a black fade
// coming in over 0.4 s, the mission-complete title with a flash, the
// purchase button, the mouse pointer and the mission-complete music. The
// done flag says the fade has come in.
#include <string>

#include "engine/resources/FactoryRef.h"
#include "engine/resources/Texture.h"
#include "engine/sound/AudiereSound.h"
#include "engine/sprites/Sprite2D.h"
#include "frontend/hud/GUIFlash.h"

class CGUIMissionComplete {
 public:
  static constexpr float FLASH_TIME = 0.7f;
  static constexpr float FADE_IN_TIME = 0.4f;
  static constexpr const char* MUSIC = "MissionComplete.ogg";
  static constexpr const char* POINTER = "MousePointer2.tga";

  // Loads the word atlas of the language code, the pointer, and lays the screen out.
  void LoadTexts(const std::wstring& language);
  // The level is finished: the fade starts, the title flashes and the
  // mission-complete music replaces the music playing (which is stopped).
  void Show();
  // Each frame of the level-over state, in a sprite batch: the screen, the
  // buy-now button (g_pBuyNowButton) at (302, 480), the pointer.
  void Update();
  void Release();

  bool done = false;  // the fade has come in

  float GetFadeInTimer() const { return m_FadeInTimer; }
  const Nembra::CStatic2DSprite& Fade() const { return m_Fade; }
  const Nembra::CStatic2DSprite& Title() const { return m_Title; }
  const Nembra::CStatic2DSprite& Pointer() const { return m_Pointer; }
  const std::string& GetAtlasName() const { return m_Texture.GetName(); }

 private:
  Nembra::CStatic2DSprite m_Backdrop;
  Nembra::CStatic2DSprite m_Fade;
  Nembra::CStatic2DSprite m_Title;
  CGUIFlash m_Flash;
  float m_FadeInTimer = 0.0f;
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_Texture{Nembra::g_pTextureFactory};  // the word atlas
  Nembra::CStatic2DSprite m_Pointer;
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_PointerTexture{Nembra::g_pTextureFactory};
  Nembra::CFactoryRef<Nembra::CAudiereStreamingSoundFactory> m_Music{Nembra::g_pStreamingSoundFactory};
};
