#include "frontend/GUIBanner.h"

#include "engine/app/Engine.h"
#include "engine/app/Application.h"
#include "engine/resources/Texture.h"
#include "engine/sound/WaveSound.h"
#include "frontend/GUISprites.h"

using namespace gui_layout;

void CGUIBanner::LoadObjectiveCompleteTexts(const std::wstring& language) {
  Load(language, TEXT_OBJECTIVE_COMPLETE, "ObjectiveComplete2.wav");
}

void CGUIBanner::LoadWeaponUpTexts(const std::wstring& language) {
  Load(language, TEXT_WEAPON_UP, "WeaponUp2.wav");
}

void CGUIBanner::Load(const std::wstring& language, TEXT_IMAGE image, const char* sound) {
  // Loading again (another language) gives back what the last load took.
  Release();
  const int lang = Nembra::LanguageIndexOf(language);
  m_AtlasName = TEXT_ATLASES[lang];
  if (Nembra::g_pTextureFactory) m_pTexture = Nembra::g_pTextureFactory->GetSingleLevel(m_AtlasName);
  const WORD_IMAGE& word = WORD_IMAGES[lang][image];
  const float cx = static_cast<float>(word.centerX), cy = static_cast<float>(word.centerY);
  PlaceSprite(m_Notice, m_pTexture, word.rect, 400.0f, 300.0f, cx, cy);
  PlaceFlash(m_Flash, m_pTexture, word.rect, 400.0f, 300.0f, cx, cy);
  m_Notice.m_Visible = false;
  m_Flash.m_Duration = FLASH_TIME;
  m_Flash.m_Timer = 0.0f;
  m_DisplayTimer = 0.0f;
  m_FadeTimer = 0.0f;
  m_SoundName = sound;
  if (Nembra::g_pWaveSoundFactory) m_pSound = Nembra::g_pWaveSoundFactory->Get(m_SoundName);
}

void CGUIBanner::Show() {
  m_Notice.m_Visible = true;
  m_Notice.m_Color = D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
  m_DisplayTimer = 0.0f;
  m_FadeTimer = 0.0f;
  m_Flash.Start();
  if (m_pSound) m_pSound->Play(false);
}

void CGUIBanner::Update() {
  if (!m_Notice.m_Visible) return;
  const float dt = Nembra::g_FrameTime;
  if (m_DisplayTimer > 0.0f) {
    m_DisplayTimer -= dt;
    if (!(m_DisplayTimer > 0.0f)) {
      m_DisplayTimer = 0.0f;
      m_FadeTimer = FADE_TIME;
    }
  }
  if (m_FadeTimer > 0.0f) {
    m_FadeTimer -= dt;
    if (!(m_FadeTimer > 0.0f)) {
      m_FadeTimer = 0.0f;
      m_Notice.m_Visible = false;
    }
    m_Notice.m_Color = FadedWhite(2.0f * m_FadeTimer);
  }
  m_Notice.Draw();
  m_Flash.Update();
  // The hold starts once the flash is over (and, as it always has, is armed
  // again while the fade runs; the fade ends first).
  if (!(m_Flash.m_Timer > 0.0f) && !(m_DisplayTimer > 0.0f)) m_DisplayTimer = HOLD_TIME;
}

void CGUIBanner::Release() {
  if (m_pTexture && Nembra::g_pTextureFactory) Nembra::g_pTextureFactory->Release(m_AtlasName);
  if (m_pSound && Nembra::g_pWaveSoundFactory) Nembra::g_pWaveSoundFactory->Release(m_SoundName);
  m_pTexture = nullptr;
  m_pSound = nullptr;
  m_Notice = Nembra::CStatic2DSprite();
  m_Notice.m_Visible = false;
  m_Flash = CGUIFlash();
  m_DisplayTimer = 0.0f;
  m_FadeTimer = 0.0f;
}
