#pragma once
// The small screen bar drawn over a generator or a station: a frame, a
// coloured fill and the charge in percent, at the screen point of a place
// 300 units above the object.
#include <cstdint>
#include <string>

#include "engine/sprites/Sprite2D.h"
#include "platform/Math.h"

namespace Nembra {
class CBitmapFont;
}

namespace ChargeBar {

constexpr float HEIGHT_ABOVE = 300.0f;
constexpr int TEXT_RISE = 25;

// Frame and fill of "EnemyHealth.tga" (the fill's row by colour: 1 blue,
// any other red) and the small-numbers font.
void Load(Nembra::CStatic2DSprite& frame, Nembra::CStatic2DSprite& fill, Nembra::CBitmapFont*& font,
          uint32_t colour);
// The point on the screen through the active camera and the viewport;
// false when there is no camera or device, or the point lies outside the
// depth range (behind the camera or past the far plane).
bool Project(const D3DXVECTOR3& world, D3DXVECTOR3& screen);
// "NN%": the whole part of charge / capacity x 100; "100%" for capacity 0.
std::wstring PercentText(uint32_t charge, uint32_t capacity);
// Draws the bar inside the open sprite batch; nothing for a point that
// does not project. Without a font the bar is drawn without its text.
void Draw(Nembra::CStatic2DSprite& frame, Nembra::CStatic2DSprite& fill, Nembra::CBitmapFont* font,
          const D3DXVECTOR3& objectPosition, uint32_t charge, uint32_t capacity);

}  // namespace ChargeBar
