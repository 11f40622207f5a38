#pragma once
// Small helpers the HUD widgets share: placing a sprite or a flash on an
// atlas region, the truncated opacity the widgets tint with, and the
// choice of a word atlas by language code.
#include <string>

#include "engine/sprites/Sprite2D.h"
#include "frontend/hud/GUIFlash.h"
#include "frontend/hud/GUILayout.h"

namespace Nembra {
class CTexture;
}

namespace gui_layout {

// Gives the sprite the texture and region, its position and its centre.
void PlaceSprite(Nembra::CStatic2DSprite& sprite, Nembra::CTexture* texture, const REGION& region, float x,
                 float y, float centerX = 0.0f, float centerY = 0.0f);
inline void PlaceFlash(CGUIFlash& flash, Nembra::CTexture* texture, const REGION& region, float x, float y,
                       float centerX, float centerY) {
  PlaceSprite(flash.m_Sprite, texture, region, x, y, centerX, centerY);
}

// White at opacity a, the opacity cut to whole 255ths (towards zero).
D3DXCOLOR FadedWhite(float a);

}  // namespace gui_layout
