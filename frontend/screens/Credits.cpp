#include "frontend/screens/Credits.h"

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/resources/Texture.h"
#include "engine/util/MissingReports.h"
#include "engine/util/TextTable.h"
#include "frontend/FontNames.h"
#include "frontend/menu/MainMenuLayout.h"
#include "platform/Files.h"
#include "platform/Saturate.h"

std::string CreditsFileFor(const std::wstring& language) {
  return std::string("Credits") + Nembra::LanguageSuffixOf(language) + ".txt";
}

CCredits::CCredits(const std::string& file) {
  LoadText(file);
  if (Nembra::g_pTextureFactory) {
    m_Background.SetTexture(m_BackgroundTexture.Take(MenuBackgroundOf(Nembra::g_LanguageCode)));
    m_Band.SetTexture(m_BandTexture.Take("TP.png"));
  }
  m_Background.SetSourceRect(Nembra::MakeRect(0, 0, 1024, 1024));
  m_Band.SetSourceRect(Nembra::MakeRect(0, 0, 1, 1));
  m_Band.m_ScaleX = 800.0f;
  m_Band.m_ScaleY = 100.0f;
  m_Font.Take(FONT_GUI_SMALL_NUMBERS);
}

CCredits::~CCredits() = default;

void CCredits::LoadText(const std::string& file) {
  const std::string path = Nembra::g_DataDirectory + file;
  // Without its file the screen scrolls nothing and ends at once: say why.
  if (!platform::FileExists(path)) Nembra::ReportMissing("credits text " + file);
  m_Lines = LoadCreditLines(path);
}

int CCredits::DrawLines(float startY) {
  // A long credits file runs past the int range: the pen stops at its end.
  int y = platform::TruncateToInt32(startY);
  Nembra::CBitmapFont* font = m_Font.Get();
  const int height = font ? font->m_LineAdvance : 0;
  const int heading = platform::ClampToInt32(2 * int64_t(height));
  for (const CREDIT_LINE& line : m_Lines) {
    if (!line.IsHeading()) {
      if (font) font->DrawText(line.text, 400, y, line.red, line.green, line.blue, line.alpha);
      y = platform::AddSaturated(y, height);
    } else {
      y = platform::AddSaturated(y, heading);
      if (font) font->DrawText(line.text, 400, y, line.red, line.green, line.blue, line.alpha);
      y = platform::AddSaturated(y, heading);
    }
  }
  if (y <= 300) finished = true;
  return y;
}

void CCredits::Render() {
  Nembra::CGraphicsDevice* device = Nembra::g_pGraphicsDevice;
  if (device && device->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    m_Background.Draw();
    device->EndSprite();
  }
  if (device && device->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    if (Nembra::CBitmapFont* font = m_Font.Get()) font->m_Centered = true;
    DrawLines(m_Position);
    device->EndSprite();
  }
  if (device && device->BeginSprite(platform::D3DXSPRITE_ALPHABLEND)) {
    m_Band.SetPosition(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
    m_Band.Draw();
    m_Band.SetPosition(D3DXVECTOR3(0.0f, 500.0f, 0.0f));
    m_Band.Draw();
    device->EndSprite();
  }
  m_Position -= m_Speed * Nembra::g_FrameTime;
}
