#include "frontend/hud/widgets/GUIWeaponPanel.h"

#include <string>

#include "engine/fonts/BitmapFont.h"
#include "engine/resources/Texture.h"
#include "frontend/FontNames.h"
#include "frontend/hud/GUIPlayerView.h"
#include "frontend/hud/GUISprites.h"
#include "frontend/hud/widgets/GUIGauges.h"

using namespace gui_layout;

namespace {
Nembra::CTexture* TakeAtlas() {
  return Nembra::g_pTextureFactory ? Nembra::g_pTextureFactory->Get(GUI_ATLAS) : nullptr;
}
// A charge over the maximum; nothing when there is no maximum.
float ChargeScale(uint32_t charge, uint32_t maximum) {
  return maximum ? static_cast<float>(charge) / static_cast<float>(maximum) : 0.0f;
}
}  // namespace

void CGUIWeaponPanel::Init() {
  PlaceSprite(m_Frame, TakeAtlas(), WEAPON_FRAME, 725.0f, 377.0f);
  PlaceSprite(m_BlueBar, TakeAtlas(), WEAPON_BLUE_BAR, 742.0f, 519.0f, 8.0f, 94.0f);
  PlaceSprite(m_RedBar, TakeAtlas(), WEAPON_RED_BAR, 778.0f, 519.0f, 8.0f, 94.0f);
  PlaceSprite(m_Level2Icon, TakeAtlas(), WEAPON_LEVEL2_ICON, 752.0f, 392.0f);
  PlaceFlash(m_Level2Flash, TakeAtlas(), WEAPON_LEVEL2_FLASH, 759.0f, 400.0f, 7.0f, 8.0f);
  PlaceSprite(m_Level3Icon, TakeAtlas(), WEAPON_LEVEL3_ICON, 774.0f, 381.0f);
  PlaceFlash(m_Level3Flash, TakeAtlas(), WEAPON_LEVEL3_FLASH, 783.0f, 395.0f, 9.0f, 14.0f);
  m_Font.Take(FONT_GUI_SMALL_NUMBERS);
}

void CGUIWeaponPanel::Update() {
  const HUD_PLAYER_VALUES v = GetHudPlayerView().Read();
  m_Frame.Draw();
  m_BlueBar.m_ScaleY = ChargeScale(v.blueCharge, v.maxCharge);
  m_BlueBar.Draw();
  m_RedBar.m_ScaleY = ChargeScale(v.redCharge, v.maxCharge);
  m_RedBar.Draw();
  if (v.weaponLevel >= 2) m_Level2Icon.Draw();
  if (v.weaponLevel == 3) m_Level3Icon.Draw();
  UpdateLevelFlash(v.weaponLevel);
}

void CGUIWeaponPanel::UpdateLevelFlash(uint32_t level) {
  HUD_LAST_SEEN& last = HudLastSeen();
  if (level != 1 && level != last.weaponLevel) {
    if (level == 2)
      m_Level2Flash.Start();
    else
      m_Level3Flash.Start();
  }
  last.weaponLevel = level;
  if (level == 2) m_Level2Flash.Update();
  if (level == 3) m_Level3Flash.Update();
}

void CGUIWeaponPanel::Draw() {
  Nembra::CBitmapFont* font = m_Font.Get();
  if (!font) return;
  const HUD_PLAYER_VALUES v = GetHudPlayerView().Read();
  font->m_Centered = false;
  font->DrawText(std::to_wstring(v.blueCharge), CGUIGaugeBase::NumberX(v.blueCharge, 738, 735, 730), 468, 1.0f,
                 1.0f, 1.0f, 1.0f);
  font->DrawText(std::to_wstring(v.redCharge), CGUIGaugeBase::NumberX(v.redCharge, 774, 771, 766), 468, 1.0f,
                 1.0f, 1.0f, 1.0f);
}

void CGUIWeaponPanel::Release() {
  m_Frame = m_BlueBar = m_RedBar = m_Level2Icon = m_Level3Icon = Nembra::CStatic2DSprite();
  m_Level2Flash = m_Level3Flash = CGUIFlash();
  // The font is given back like the other widgets' fonts.
  m_Font.Reset();
}
