#pragma once
// The weapon panel at the right of the HUD: the blue and red shot charges
// as two vertical bars over the maximum charge, icons for weapon levels 2
// and 3 with a flash each time the level rises, and both charges as numbers.
#include "engine/fonts/BitmapFont.h"
#include "engine/resources/FactoryRef.h"
#include "engine/sprites/Sprite2D.h"
#include "frontend/hud/GUIFlash.h"

class CGUIWeaponPanel {
 public:
  // Takes the atlas once per sprite and the small-number font; lays the panel out.
  void Init();
  // Image batch: frame, bars, level icons, then the level flashes.
  void Update();
  // Starts the flash of a level that has risen, remembers the level and
  // runs the flash of the level shown.
  void UpdateLevelFlash(uint32_t level);
  // Text batch: both charges.
  void Draw();
  // Lets go of the sprites; the atlas references stay with the factory.
  void Release();

  const Nembra::CStatic2DSprite& BlueBar() const { return m_BlueBar; }
  const Nembra::CStatic2DSprite& RedBar() const { return m_RedBar; }
  const CGUIFlash& Level2Flash() const { return m_Level2Flash; }
  const CGUIFlash& Level3Flash() const { return m_Level3Flash; }

 private:
  Nembra::CStatic2DSprite m_Frame;
  Nembra::CStatic2DSprite m_BlueBar;
  Nembra::CStatic2DSprite m_RedBar;
  Nembra::CStatic2DSprite m_Level2Icon;
  Nembra::CStatic2DSprite m_Level3Icon;
  CGUIFlash m_Level2Flash;
  CGUIFlash m_Level3Flash;
  Nembra::CFactoryRef<Nembra::CBitmapFontFactory> m_Font{Nembra::g_pBitmapFontFactory};
};
