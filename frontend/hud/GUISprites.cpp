#include "frontend/hud/GUISprites.h"

#include "engine/util/Utilities.h"

namespace gui_layout {

void PlaceSprite(Nembra::CStatic2DSprite& sprite, Nembra::CTexture* texture, const REGION& region, float x, float y,
                 float centerX, float centerY) {
  sprite.SetTexture(texture);
  sprite.SetSourceRect(Nembra::MakeRect(region.x, region.y, region.width, region.height));
  sprite.SetPosition(D3DXVECTOR3(x, y, 0.0f));
  sprite.m_Center = D3DXVECTOR3(centerX, centerY, 0.0f);
}

D3DXCOLOR FadedWhite(float a) {
  return D3DXCOLOR(1.0f, 1.0f, 1.0f, static_cast<float>(static_cast<int>(a * 255.0f)) / 255.0f);
}

}  // namespace gui_layout
