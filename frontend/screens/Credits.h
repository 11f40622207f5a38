#pragma once
// frontend/screens/: the full screens around play: the logos, the credits,
// the final screen and the purchase screen with its button and address.
// They may call the rest of frontend/, engine/ and platform/.
//
// The credits: the lines of a credits text scrolling up at 30 pixels a
// second over the menu background, centred, between two black bands that
// hide them above y 100 and below y 500. Headings (gold) take two line
// heights above and below them. finished is set in the first frame in
// which the end of the text has come up to y 300.
#include <string>
#include <vector>

#include "engine/fonts/BitmapFont.h"
#include "engine/resources/FactoryRef.h"
#include "engine/resources/Texture.h"
#include "engine/sprites/Sprite2D.h"
#include "frontend/screens/CreditsText.h"

class CCredits {
 public:
  // Reads the text (data folder + name) and takes the background, the band
  // and the font, which the destructor gives back.
  explicit CCredits(const std::string& file);
  ~CCredits();
  CCredits(const CCredits&) = delete;
  CCredits& operator=(const CCredits&) = delete;

  void LoadText(const std::string& file);
  // Draws the frame and scrolls by speed x frame time.
  void Render();
  // Draws the lines from this y on; returns the y after the last line.
  int DrawLines(float startY);

  const std::vector<CREDIT_LINE>& GetLines() const { return m_Lines; }

  float m_Speed = 30.0f;
  float m_Position = 300.0f;
  bool finished = false;

 private:
  Nembra::CStatic2DSprite m_Background;
  Nembra::CStatic2DSprite m_Band;
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_BackgroundTexture{Nembra::g_pTextureFactory};
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_BandTexture{Nembra::g_pTextureFactory};
  Nembra::CFactoryRef<Nembra::CBitmapFontFactory> m_Font{Nembra::g_pBitmapFontFactory};
  std::vector<CREDIT_LINE> m_Lines;
};

// The credits file of the menu's language: "Credits_ES.txt" for "SPA",
// "Credits_RU.txt" for "RUS", else "Credits_EN.txt".
std::string CreditsFileFor(const std::wstring& language);
