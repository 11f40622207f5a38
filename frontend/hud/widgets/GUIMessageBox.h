#pragma once
// The message panel at the bottom of the screen: a portrait beside a
// localised text in a frame, shown by scripts for a while and then faded
// out over a second, or closed early.
#include <string>

#include "engine/fonts/BitmapFont.h"
#include "engine/resources/FactoryRef.h"
#include "engine/resources/Texture.h"
#include "engine/sprites/Sprite2D.h"
#include "frontend/hud/GUIFlash.h"

class CGUIMessageBox {
 public:
  static constexpr float DEFAULT_DISPLAY_TIME = 7.0f;
  static constexpr float CLOSE_TIME = 1.0f;
  static constexpr int TEXT_X = 115;
  static constexpr int TEXT_Y = 450;
  static constexpr int WRAP_WIDTH = 580;
  static constexpr int LINE_HEIGHT = 15;

  // Takes the atlas and the message font and lays the panel out, hidden.
  void Init();
  // true: opens (or restarts) the box for displayTime seconds with a glow;
  // false: an open box starts closing from full opacity, a hidden one stays hidden.
  void Show(bool show, float displayTime);
  // Gone at once, without a fade (the level's restart clears the box).
  void Hide() {
    m_Visible = false;
    m_ClosingTimer = 0.0f;
  }
  // The text as given.
  void SetText(const std::wstring& text) { m_Text = text; }
  // The portrait: that rectangle of an image of the data folder
  // (Nembra::MakeRect(x, y, width, height)).
  void SetBackground(const std::string& imageFile, const Nembra::RECT& rect);
  // Once per frame in the image batch: timing, portrait, frame, glow.
  void Update();
  // Once per frame in the text batch: the text.
  void Draw();
  // Gives the atlas and the portrait back.
  void Release();

  bool IsVisible() const { return m_Visible; }
  float GetClosingTimer() const { return m_ClosingTimer; }
  float GetElapsed() const { return m_Elapsed; }
  const std::wstring& GetText() const { return m_Text; }
  const Nembra::CStatic2DSprite& Portrait() const { return m_Portrait; }
  const Nembra::CStatic2DSprite& Frame() const { return m_Frame; }
  const CGUIFlash& Flash() const { return m_Flash; }

 private:
  Nembra::CStatic2DSprite m_Frame;
  Nembra::CStatic2DSprite m_Portrait;
  std::wstring m_Text;
  Nembra::CFactoryRef<Nembra::CBitmapFontFactory> m_Font{Nembra::g_pBitmapFontFactory};
  bool m_Visible = false;
  CGUIFlash m_Flash;
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_Texture{Nembra::g_pTextureFactory};
  float m_Elapsed = 0.0f;
  float m_ClosingTimer = 0.0f;
  float m_DisplayTime = 0.0f;
  // The image the portrait took, given back on change.
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_PortraitImage{Nembra::g_pTextureFactory};
};
