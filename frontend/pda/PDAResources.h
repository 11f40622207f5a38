#pragma once
// What every PDA screen takes from the factories: the two atlases, the
// fonts, the click sound, and the pieces of the atlases set into sprites
// and buttons.
#include <string>

#include "engine/sprites/Sprite2D.h"
#include "frontend/pda/PDALayout.h"

namespace Nembra {
class CBitmapFont;
class CSound;
class CTexture;
}  // namespace Nembra
class CPDAButton;

namespace pda {

Nembra::CTexture* Texture(const std::string& name);
Nembra::CTexture* AtlasTexture(int atlas);
Nembra::CBitmapFont* Font(const char* name);
Nembra::CSound* ClickSound();

// The sprite shows the piece at (x, y).
void SetPiece(Nembra::CStatic2DSprite& sprite, const Piece& piece, int x, int y);
// One texel of the piece stretched to width x height at (x, y).
void SetStretched(Nembra::CStatic2DSprite& sprite, const Piece& texel, int x, int y, int width, int height);
// Normal and hover images (and the disabled one when it has a size) at
// (x, y), the hit rectangle of width x height there, and the click sound.
void SetButton(CPDAButton& button, const Piece& normal, const Piece& hover, const Piece& disabled, int x, int y,
               int width, int height);
constexpr Piece NO_PIECE{0, 0, 0, 0, 0};
// The button font "PDA_Std_Italic".
void SetButtonFont(CPDAButton& button);

// Draws text in white with the font's layout settings set first.
void DrawWhite(Nembra::CBitmapFont* font, const std::wstring& text, int x, int y, bool centred, int wrapWidth,
               int lineAdvance);

}  // namespace pda

namespace pda {
// Ends the sprite batch and begins the next one (alpha blending), so what
// follows lies over what was drawn; false when the new batch did not begin.
bool RestartBatch();
}  // namespace pda

class CLevelDescription;
namespace pda {
// The description of the level the current profile has reached.
CLevelDescription& CurrentLevel();
}  // namespace pda
