#pragma once
// The start-up logos: each full-screen logo stays its seconds after its
// fade-in, then the screen fader's overlay covers it and clears over the
// next. Releasing Escape or pressing a mouse button skips a logo while it
// shows. The list comes from "Logos.dat"; done is set after the last logo
// has faded out, or at once when there is no logo to show.
#include <list>
#include <string>

#include "engine/resources/FactoryRef.h"
#include "engine/resources/Texture.h"
#include "engine/sprites/Sprite2D.h"

class CLogo {
 public:
  // The image (data folder + name, one mip level) shown whole, centred on
  // the screen.
  CLogo(const std::string& image, int width, int height, float seconds);

  Nembra::CFactoryRef<Nembra::CTextureFactory> m_Texture{Nembra::g_pTextureFactory};
  Nembra::CStatic2DSprite m_Sprite;
  int m_Width = 0;
  int m_Height = 0;
  float m_Seconds = 0.0f;
};

class CLogoSequence {
 public:
  // Reads "Logos.dat" and loads the logos.
  CLogoSequence();
  CLogoSequence(const CLogoSequence&) = delete;
  CLogoSequence& operator=(const CLogoSequence&) = delete;

  void Load();
  // One frame: times, skips, fades and draws the current logo (nothing
  // once done, and nothing in the frame that sets done).
  void Update();
  // Drops the logos, which give back their textures.
  void Release();

  const std::list<CLogo>& GetLogos() const { return m_Logos; }
  // The logo on screen (null when done or when there are none).
  const CLogo* GetCurrent() const { return m_Current == m_Logos.end() ? nullptr : &*m_Current; }

  float m_Elapsed = 0.0f;
  bool m_FadingOut = false;
  bool m_FadingIn = false;
  bool done = false;

 private:
  std::list<CLogo> m_Logos;
  std::list<CLogo>::iterator m_Current;
};
