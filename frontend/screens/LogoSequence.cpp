#include "frontend/screens/LogoSequence.h"

#include "engine/app/Application.h"
#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "engine/resources/Texture.h"
#include "engine/sprites/ScreenFader.h"
#include "frontend/screens/LogoList.h"

CLogo::CLogo(const std::string& image, int width, int height, float seconds)
    : m_Width(width), m_Height(height), m_Seconds(seconds) {
  m_Sprite.SetTexture(
      m_Texture.Hold(image, Nembra::g_pTextureFactory ? Nembra::g_pTextureFactory->GetSingleLevel(image) : nullptr));
  m_Sprite.SetSourceRect(Nembra::MakeRect(0, 0, width, height));
  m_Sprite.m_Center = D3DXVECTOR3(float(width / 2), float(height / 2), 0.0f);
  float cx = 400.0f, cy = 300.0f;
  if (Nembra::g_pApplication && Nembra::g_pApplication->GetParams().width > 0) {
    cx = float(Nembra::g_pApplication->GetParams().width / 2);
    cy = float(Nembra::g_pApplication->GetParams().height / 2);
  }
  m_Sprite.SetPosition(D3DXVECTOR3(cx, cy, 0.0f));
}

CLogoSequence::CLogoSequence() { Load(); }

void CLogoSequence::Load() {
  m_Logos.clear();
  for (const LOGO_ENTRY& entry : LoadLogoList(Nembra::g_DataDirectory + "Logos.dat"))
    m_Logos.emplace_back(entry.image, entry.width, entry.height, entry.seconds);
  m_Current = m_Logos.begin();
  m_Elapsed = 0.0f;
  m_FadingOut = m_FadingIn = false;
  // Nothing to show: done at once.
  done = m_Logos.empty();
}

void CLogoSequence::Update() {
  if (done) return;
  Nembra::CScreenFader& fader = Nembra::g_ScreenFader;
  m_Elapsed += Nembra::g_FrameTime;
  if (m_FadingIn) {
    if (!fader.m_Shown && fader.m_Direction == -1.0f && fader.m_Alpha == 0.0f) {
      m_Elapsed = 0.0f;
      m_FadingIn = false;
    }
  } else if (!m_FadingOut) {
    const bool skip = (Nembra::g_pKeyboard && Nembra::g_pKeyboard->WasKeyReleased(1)) ||
                      (Nembra::g_pMouse && Nembra::g_pMouse->WasAnyButtonPressed());
    if (m_Elapsed >= m_Current->m_Seconds || skip) {
      fader.FadeIn();
      m_FadingOut = true;
    }
  } else if (fader.m_Shown && fader.m_Direction == 1.0f && fader.m_Alpha == 1.0f) {
    m_FadingOut = false;
    ++m_Current;
    if (m_Current == m_Logos.end()) {
      done = true;
      return;
    }
    fader.FadeOut();
    m_FadingIn = true;
  }
  Nembra::CGraphicsDevice* device = Nembra::g_pGraphicsDevice;
  if (!device) return;
  if (device->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    m_Current->m_Sprite.Draw();
    device->EndSprite();
  }
  if (device->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    fader.Update();
    device->EndSprite();
  }
}

void CLogoSequence::Release() {
  m_Logos.clear();
  m_Current = m_Logos.end();
}
