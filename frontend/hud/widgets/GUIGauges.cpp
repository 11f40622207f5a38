#include "frontend/hud/widgets/GUIGauges.h"

#include "engine/app/Application.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/resources/Texture.h"
#include "frontend/FontNames.h"
#include "frontend/hud/GUIPlayerView.h"
#include "frontend/hud/GUISprites.h"

using namespace gui_layout;

float BlinkAlpha(float timer, float half) {
  return timer < half ? timer / half : 1.0f - (timer - half) / half;
}

int CGUIGaugeBase::NumberX(uint32_t value, int oneDigit, int twoDigits, int threeDigits) {
  if (value < 10) return oneDigit;
  if (value < 100) return twoDigits;
  return threeDigits;
}

void CGUIGaugeBase::Take() {
  if (Nembra::g_pTextureFactory) m_Texture.Hold(GUI_ATLAS, Nembra::g_pTextureFactory->GetSingleLevel(GUI_ATLAS));
  m_Font.Take(FONT_GUI_SMALL_NUMBERS);
  m_Flash.m_Timer = 0.0f;
  m_BlinkTimer = 0.0f;
}

void CGUIGaugeBase::Release() {
  m_Texture.Reset();
  m_Font.Reset();
  m_Frame = m_Bar = m_BlinkBar = Nembra::CStatic2DSprite();
  m_Flash = CGUIFlash();
  m_BlinkTimer = 0.0f;
}

void CGUIHealthGauge::Init() {
  Take();
  PlaceSprite(m_Frame, m_Texture.Get(), HEALTH_FRAME, 4.0f, 560.0f);
  PlaceSprite(m_Bar, m_Texture.Get(), HEALTH_BAR, 39.0f, 569.0f);
  PlaceSprite(m_BlinkBar, m_Texture.Get(), HEALTH_BLINK_BAR, 39.0f, 569.0f);
  PlaceFlash(m_Flash, m_Texture.Get(), HEALTH_FLASH, 21.0f, 577.0f, 11.0f, 11.0f);
}

void CGUIHealthGauge::Update() {
  CHudPlayerView& view = GetHudPlayerView();
  const HUD_PLAYER_VALUES v = view.Read();
  // A player without maximum health shows an empty bar.
  const float ratio = v.maxHealth ? static_cast<float>(v.health) / static_cast<float>(v.maxHealth) : 0.0f;
  HUD_LAST_SEEN& last = HudLastSeen();
  if (ratio != last.healthRatio && m_BlinkTimer == 0.0f) m_BlinkTimer = 2.0f * BLINK_HALF;
  last.healthRatio = ratio;
  m_Bar.m_ScaleX = ratio;
  m_BlinkBar.m_ScaleX = ratio;
  m_Frame.Draw();
  m_Bar.Draw();
  if (m_BlinkTimer > 0.0f) {
    m_BlinkBar.m_Color = FadedWhite(BlinkAlpha(m_BlinkTimer, BLINK_HALF));
    m_BlinkBar.Draw();
    m_BlinkTimer -= Nembra::g_FrameTime;
    if (!(m_BlinkTimer > 0.0f)) m_BlinkTimer = 0.0f;
  }
  if (m_Flash.m_Timer == 0.0f && view.TakeHealedFlag()) m_Flash.Start();
  m_Flash.Update();
}

void CGUIHealthGauge::Draw() {
  Nembra::CBitmapFont* font = m_Font.Get();
  if (!font) return;
  const uint32_t health = GetHudPlayerView().Read().health;
  font->m_Centered = false;
  font->DrawText(std::to_wstring(health), NumberX(health, 92, 87, 82), 569, 1.0f, 1.0f, 1.0f, 1.0f);
}

void CGUIAbilityGauge::Init() {
  Take();
  PlaceSprite(m_Frame, m_Texture.Get(), ABILITY_FRAME, 166.0f, 559.0f);
  PlaceSprite(m_Bar, m_Texture.Get(), ABILITY_BAR, 190.0f, 569.0f);
  PlaceSprite(m_BlinkBar, m_Texture.Get(), ABILITY_BLINK_BAR, 190.0f, 569.0f);
  PlaceFlash(m_Flash, m_Texture.Get(), ABILITY_FLASH, 779.0f, 576.0f, 11.0f, 11.0f);
}

void CGUIAbilityGauge::Update() {
  const HUD_PLAYER_VALUES v = GetHudPlayerView().Read();
  const float value = static_cast<float>(v.abilityCharge) + v.abilityFraction;
  m_Bar.m_ScaleX = value / 100.0f;
  m_BlinkBar.m_ScaleX = value / 100.0f;
  m_Frame.Draw();
  m_Bar.Draw();
  HUD_LAST_SEEN& last = HudLastSeen();
  if (v.abilityCharge != last.abilityCharge && v.abilityCharge == 100) {
    m_BlinkTimer = 2.0f * BLINK_HALF;
    m_Flash.Start();
  }
  last.abilityCharge = v.abilityCharge;
  m_Flash.Update();
  if (v.abilityCharge == 100) {
    m_BlinkBar.m_Color = FadedWhite(BlinkAlpha(m_BlinkTimer, BLINK_HALF));
    m_BlinkBar.Draw();
    m_BlinkTimer -= Nembra::g_FrameTime;
    if (!(m_BlinkTimer > 0.0f)) m_BlinkTimer = 2.0f * BLINK_HALF;
  }
}

void CGUIAbilityGauge::Draw() {
  Nembra::CBitmapFont* font = m_Font.Get();
  if (!font) return;
  const uint32_t charge = GetHudPlayerView().Read().abilityCharge;
  font->m_Centered = false;
  font->DrawText(std::to_wstring(charge) + L"%", NumberX(charge, 467, 462, 457), 569, 1.0f, 1.0f, 1.0f, 1.0f);
}
