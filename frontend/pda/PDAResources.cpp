#include "frontend/pda/PDAResources.h"

#include "engine/fonts/BitmapFont.h"
#include "engine/resources/Texture.h"
#include "engine/sound/WaveSound.h"
#include "frontend/FontNames.h"
#include "frontend/widgets/PDAButton.h"

namespace pda {

Nembra::CTexture* Texture(const std::string& name) {
  return Nembra::g_pTextureFactory ? Nembra::g_pTextureFactory->GetSingleLevel(name) : nullptr;
}

Nembra::CTexture* AtlasTexture(int atlas) { return Texture(atlas == 2 ? ATLAS2 : ATLAS); }

Nembra::CBitmapFont* Font(const char* name) {
  return Nembra::g_pBitmapFontFactory ? Nembra::g_pBitmapFontFactory->Get(name) : nullptr;
}

Nembra::CSound* ClickSound() {
  return Nembra::g_pWaveSoundFactory ? Nembra::g_pWaveSoundFactory->Get(CLICK_SOUND) : nullptr;
}

void SetPiece(Nembra::CStatic2DSprite& sprite, const Piece& piece, int x, int y) {
  sprite.SetTexture(AtlasTexture(piece.atlas));
  sprite.SetSourceRect(piece.Rect());
  sprite.SetPosition(D3DXVECTOR3(float(x), float(y), 0.0f));
}

void SetStretched(Nembra::CStatic2DSprite& sprite, const Piece& texel, int x, int y, int width, int height) {
  SetPiece(sprite, texel, x, y);
  sprite.m_ScaleX = float(width);
  sprite.m_ScaleY = float(height);
}

void SetButton(CPDAButton& button, const Piece& normal, const Piece& hover, const Piece& disabled, int x, int y,
               int width, int height) {
  button.SetNormalImage(AtlasTexture(normal.atlas), normal.Rect());
  button.SetHoverImage(AtlasTexture(hover.atlas), hover.Rect());
  if (disabled.w > 0) button.SetDisabledImage(AtlasTexture(disabled.atlas), disabled.Rect());
  button.SetPosition(D3DXVECTOR3(float(x), float(y), 0.0f));
  button.m_Rect = Nembra::MakeRect(x, y, width, height);
  button.m_pClickSound = ClickSound();
}

void SetButtonFont(CPDAButton& button) {
  button.m_pFont = Font(FONT_PDA_STD_ITALIC);
  if (button.m_pFont) button.m_pFont->m_Centered = true;
}

void DrawWhite(Nembra::CBitmapFont* font, const std::wstring& text, int x, int y, bool centred, int wrapWidth,
               int lineAdvance) {
  if (!font) return;
  font->m_Centered = centred;
  font->m_WrapWidth = wrapWidth;
  font->m_LineAdvance = lineAdvance > 0 ? lineAdvance : font->GetLineHeight();
  font->DrawText(text, x, y, 1.0f, 1.0f, 1.0f, 1.0f);
  font->m_WrapWidth = 0;
  font->m_LineAdvance = font->GetLineHeight();
}

}  // namespace pda

#include "engine/app/GraphicsDevice.h"

namespace pda {
bool RestartBatch() {
  if (!Nembra::g_pGraphicsDevice) return false;
  Nembra::g_pGraphicsDevice->EndSprite();
  return Nembra::g_pGraphicsDevice->BeginSprite(16);
}
}  // namespace pda

#include "frontend/ProfileStore.h"
#include "game/level/LevelDescriptions.h"

namespace pda {
CLevelDescription& CurrentLevel() { return GetLevelDescription(g_ProfileStore.GetCurrentProfile().levelReached); }
}  // namespace pda
