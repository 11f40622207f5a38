#include "frontend/hud/GUIBanner.h"

#include "engine/app/Engine.h"
#include "engine/app/Application.h"
#include "engine/resources/Texture.h"
#include "engine/sound/WaveSound.h"
#include "frontend/hud/GUISprites.h"

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
  const char* atlas = TEXT_ATLASES[lang];
  m_Texture.Hold(atlas, Nembra::g_pTextureFactory ? Nembra::g_pTextureFactory->GetSingleLevel(atlas) : nullptr);
  const WORD_IMAGE& word = WORD_IMAGES[lang][image];
  const float cx = static_cast<float>(word.centerX), cy = static_cast<float>(word.centerY);
  PlaceSprite(m_Notice, m_Texture.Get(), word.rect, 400.0f, 300.0f, cx, cy);
  PlaceFlash(m_Flash, m_Texture.Get(), word.rect, 400.0f, 300.0f, cx, cy);
  m_Notice.m_Visible = false;
  m_Flash.m_Duration = FLASH_TIME;
  m_Flash.m_Timer = 0.0f;
  m_DisplayTimer = 0.0f;
  m_FadeTimer = 0.0f;
  m_Sound.Take(sound);
}

void CGUIBanner::Show() {
  m_Notice.m_Visible = true;
  m_Notice.m_Color = D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
  m_DisplayTimer = 0.0f;
  m_FadeTimer = 0.0f;
  m_Flash.Start();
  if (Nembra::CWaveSound* s = m_Sound.Get()) s->Play(false);
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
  m_Texture.Reset();
  m_Sound.Reset();
  m_Notice = Nembra::CStatic2DSprite();
  m_Notice.m_Visible = false;
  m_Flash = CGUIFlash();
  m_DisplayTimer = 0.0f;
  m_FadeTimer = 0.0f;
}
