#include "frontend/hud/GUIMissionComplete.h"

#include "engine/app/Engine.h"
#include "engine/app/Application.h"
#include "engine/app/Mouse.h"
#include "engine/resources/Texture.h"
#include "engine/sound/AudiereSound.h"
#include "frontend/screens/BuyNowButton.h"
#include "frontend/hud/GUISprites.h"
#include "game/world/GameGlobals.h"

using namespace gui_layout;

void CGUIMissionComplete::LoadTexts(const std::wstring& language) {
  // Another language gives back the atlas of the last one.
  m_Texture.Reset();
  const int lang = Nembra::LanguageIndexOf(language);
  const std::string atlas = TEXT_ATLASES[lang];
  Nembra::CTexture* texture =
      m_Texture.Hold(atlas, Nembra::g_pTextureFactory ? Nembra::g_pTextureFactory->GetSingleLevel(atlas) : nullptr);
  PlaceSprite(m_Backdrop, texture, DIM_PATCH, 400.0f, 300.0f, 5.0f, 5.0f);
  m_Backdrop.m_ScaleX = m_Backdrop.m_ScaleY = 100.0f;
  PlaceSprite(m_Fade, texture, BLACK_PATCH, 400.0f, 300.0f, 5.0f, 5.0f);
  m_Fade.m_ScaleX = m_Fade.m_ScaleY = 100.0f;
  const WORD_IMAGE& word = WORD_IMAGES[lang][TEXT_MISSION_COMPLETE];
  const float cx = static_cast<float>(word.centerX), cy = static_cast<float>(word.centerY);
  PlaceSprite(m_Title, texture, word.rect, 400.0f, 300.0f, cx, cy);
  PlaceFlash(m_Flash, texture, word.rect, 400.0f, 300.0f, cx, cy);
  m_Flash.m_Duration = FLASH_TIME;
  m_Flash.m_Timer = 0.0f;
  if (!m_PointerTexture.Get() && Nembra::g_pTextureFactory) {
    PlaceSprite(m_Pointer, m_PointerTexture.Take(POINTER), REGION{0, 0, 32, 32}, 0.0f, 0.0f, 2.0f, 2.0f);
  }
}

void CGUIMissionComplete::Show() {
  m_Title.m_Color = D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
  m_FadeInTimer = FADE_IN_TIME;
  m_Flash.Start();
  done = false;
  if (!m_Music.Get() && Nembra::g_pStreamingSoundFactory) m_Music.Take(MUSIC);
  Nembra::CAudiereSound* music = m_Music.Get();
  // The music playing stops first, so only the mission-complete music is heard.
  if (g_pCurrentMusic && g_pCurrentMusic != music) g_pCurrentMusic->Stop();
  g_pCurrentMusic = music;
  if (music) {
    music->SetRepeat(false);
    music->Play(false);
  }
}

void CGUIMissionComplete::Update() {
  if (m_FadeInTimer > 0.0f) {
    m_FadeInTimer -= Nembra::g_FrameTime;
    if (!(m_FadeInTimer > 0.0f)) {
      m_FadeInTimer = 0.0f;
      done = true;
    }
    m_Fade.m_Color = FadedWhite(1.0f - m_FadeInTimer / FADE_IN_TIME);
  }
  m_Backdrop.Draw();
  m_Fade.Draw();
  m_Title.Draw();
  m_Flash.Update();
  UpdateBuyNowButtonAt(BUYNOW_MISSION_X, BUYNOW_MISSION_Y);
  if (Nembra::g_pMouse) m_Pointer.SetPosition(D3DXVECTOR3(static_cast<float>(Nembra::g_pMouse->GetX()),
                                                          static_cast<float>(Nembra::g_pMouse->GetY()), 0.0f));
  m_Pointer.Draw();
}

void CGUIMissionComplete::Release() {
  m_Texture.Reset();
  m_PointerTexture.Reset();
  if (Nembra::CAudiereSound* music = m_Music.Get(); music && g_pCurrentMusic == music) {
    music->Stop();
    g_pCurrentMusic = nullptr;
  }
  m_Music.Reset();
  m_Backdrop = m_Fade = m_Title = m_Pointer = Nembra::CStatic2DSprite();
  m_Flash = CGUIFlash();
  m_FadeInTimer = 0.0f;
}
