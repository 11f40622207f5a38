#pragma once
// Helpers every screen widget shares: the image setters (a sprite made
// afresh for one state of a widget) and the mouse tests on a rectangle.
#include <memory>

#include "engine/sprites/Sprite2D.h"
#include "engine/util/Utilities.h"

namespace Nembra {
class CTexture;
}

// Replaces the sprite by a new one showing the source rectangle of the
// texture. False when the texture is null or the rectangle all zero; the
// new sprite stays in place either way (drawing nothing without a texture).
bool SetWidgetImage(std::unique_ptr<Nembra::CStatic2DSprite>& sprite, Nembra::CTexture* texture,
                    const Nembra::RECT& source);

// Draws the sprite when there is one.
void DrawWidgetImage(const std::unique_ptr<Nembra::CStatic2DSprite>& sprite);

// The mouse lies inside the rectangle (right and bottom excluded).
bool IsMouseInRect(const Nembra::RECT& rect);
// Mouse button 0 went up this frame inside the rectangle, having gone down
// inside it too.
bool WasLeftClickInRect(const Nembra::RECT& rect);
// Mouse button 0 is held with the cursor inside the rectangle.
bool IsLeftDownInRect(const Nembra::RECT& rect);
