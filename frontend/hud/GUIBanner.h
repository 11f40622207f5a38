#pragma once
// A centred notice drawn from the language's word atlas: shown at once
// under a grow-and-fade flash with a sound, held, then faded out. The HUD
// has two: objective complete and weapon up.
#include <string>

#include "engine/resources/FactoryRef.h"
#include "engine/resources/Texture.h"
#include "engine/sound/WaveSound.h"
#include "engine/sprites/Sprite2D.h"
#include "frontend/hud/GUIFlash.h"
#include "frontend/hud/GUILayout.h"

class CGUIBanner {
 public:
  static constexpr float FLASH_TIME = 0.7f;
  static constexpr float HOLD_TIME = 0.6f;
  static constexpr float FADE_TIME = 0.5f;

  // Load the atlas of the language code ("SPA", "RUS", anything else
  // English), set the notice up hidden and take the banner's sound.
  void LoadObjectiveCompleteTexts(const std::wstring& language);
  void LoadWeaponUpTexts(const std::wstring& language);
  // Shows the notice from the beginning, flash and sound included.
  void Show();
  // Once per frame in the image batch, while the notice is shown.
  void Update();
  // Gives the atlas and the sound back.
  void Release();

  bool IsVisible() const { return m_Notice.m_Visible; }
  const Nembra::CStatic2DSprite& Notice() const { return m_Notice; }
  const CGUIFlash& Flash() const { return m_Flash; }
  float GetDisplayTimer() const { return m_DisplayTimer; }
  float GetFadeTimer() const { return m_FadeTimer; }
  Nembra::CWaveSound* GetSound() const { return m_Sound.Get(); }
  const std::string& GetAtlasName() const { return m_Texture.GetName(); }

 private:
  void Load(const std::wstring& language, gui_layout::TEXT_IMAGE image, const char* sound);

  Nembra::CStatic2DSprite m_Notice;
  CGUIFlash m_Flash;
  float m_DisplayTimer = 0.0f;
  float m_FadeTimer = 0.0f;
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_Texture{Nembra::g_pTextureFactory};
  Nembra::CFactoryRef<Nembra::CWaveSoundFactory> m_Sound{Nembra::g_pWaveSoundFactory};
};
