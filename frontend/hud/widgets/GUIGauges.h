#pragma once
// frontend/hud/widgets/: the HUD's widgets: gauges, counters, the digital
// timer, key items, the weapon panel and the message box. They may call
// hud/, the font names, game/level/, engine/ and platform/.
//
// The two horizontal gauges at the bottom of the HUD: health (bottom left,
// a short blink whenever the ratio changes, a flash when healed) and the
// ability charge (bottom centre, a flash when full and a blink for as long
// as it stays full). Values come from the HUD's player view each frame.
#include <cstdint>
#include <string>

#include "engine/fonts/BitmapFont.h"
#include "engine/resources/FactoryRef.h"
#include "engine/resources/Texture.h"
#include "engine/sprites/Sprite2D.h"
#include "frontend/hud/GUIFlash.h"

// Opacity of a blink bar whose timer runs down from 2 x half to 0: rising
// from 0 to 1 over the first half, falling back to 0 over the second.
float BlinkAlpha(float timer, float half);

// What both gauges share: frame, bar, blink bar, flash, the small-number
// font and the atlas.
class CGUIGaugeBase {
 public:
  // Gives the atlas and the font back and empties the sprites.
  void Release();

  const Nembra::CStatic2DSprite& Bar() const { return m_Bar; }
  const Nembra::CStatic2DSprite& BlinkBar() const { return m_BlinkBar; }
  const CGUIFlash& Flash() const { return m_Flash; }
  float GetBlinkTimer() const { return m_BlinkTimer; }

  // Left edge of a number of one, two or three and more digits, so the
  // digits end at the same place.
  static int NumberX(uint32_t value, int oneDigit, int twoDigits, int threeDigits);

 protected:
  void Take();

  Nembra::CStatic2DSprite m_Frame;
  Nembra::CStatic2DSprite m_Bar;
  Nembra::CStatic2DSprite m_BlinkBar;
  CGUIFlash m_Flash;
  Nembra::CFactoryRef<Nembra::CBitmapFontFactory> m_Font{Nembra::g_pBitmapFontFactory};
  float m_BlinkTimer = 0.0f;
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_Texture{Nembra::g_pTextureFactory};
};

class CGUIHealthGauge : public CGUIGaugeBase {
 public:
  static constexpr float BLINK_HALF = 0.1f;
  void Init();
  // Image batch: frame, bar, blink, heal flash.
  void Update();
  // Text batch: the health.
  void Draw();
};

class CGUIAbilityGauge : public CGUIGaugeBase {
 public:
  static constexpr float BLINK_HALF = 0.25f;
  void Init();
  void Update();
  // Text batch: the charge followed by "%".
  void Draw();
};
