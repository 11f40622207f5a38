#include "frontend/hud/GUIPauseTitle.h"

#include "engine/app/Engine.h"
#include "engine/resources/Texture.h"
#include "frontend/hud/GUISprites.h"

using namespace gui_layout;

void CGUIPauseTitle::LoadTexts(const std::wstring& language) {
  Release();
  const int lang = Nembra::LanguageIndexOf(language);
  const char* atlas = TEXT_ATLASES[lang];
  m_Texture.Hold(atlas, Nembra::g_pTextureFactory ? Nembra::g_pTextureFactory->GetSingleLevel(atlas) : nullptr);
  PlaceSprite(m_Backdrop, m_Texture.Get(), DIM_PATCH, 400.0f, 300.0f, 5.0f, 5.0f);
  m_Backdrop.m_ScaleX = m_Backdrop.m_ScaleY = 100.0f;
  const WORD_IMAGE& word = WORD_IMAGES[lang][TEXT_DEATH_TITLE];
  const float cx = static_cast<float>(word.centerX), cy = static_cast<float>(word.centerY);
  PlaceSprite(m_Title, m_Texture.Get(), word.rect, 400.0f, 300.0f, cx, cy);
  PlaceFlash(m_Flash, m_Texture.Get(), word.rect, 400.0f, 300.0f, cx, cy);
  m_Flash.m_Duration = FLASH_TIME;
  m_Flash.m_Timer = 0.0f;
}

void CGUIPauseTitle::Restart() {
  m_Title.m_Color = D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
  m_Flash.Start();
}

void CGUIPauseTitle::Draw() {
  m_Backdrop.Draw();
  m_Title.Draw();
  m_Flash.Update();
}

void CGUIPauseTitle::Release() {
  m_Texture.Reset();
  m_Backdrop = Nembra::CStatic2DSprite();
  m_Title = Nembra::CStatic2DSprite();
  m_Flash = CGUIFlash();
}
