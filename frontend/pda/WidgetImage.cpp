#include "frontend/pda/WidgetImage.h"

#include "engine/app/Mouse.h"

using Nembra::g_pMouse;

bool SetWidgetImage(std::unique_ptr<Nembra::CStatic2DSprite>& sprite, Nembra::CTexture* texture,
                    const Nembra::RECT& source) {
  sprite = std::make_unique<Nembra::CStatic2DSprite>();
  const bool textured = sprite->SetTexture(texture);
  const bool framed = sprite->SetSourceRect(source);
  return textured && framed;
}

void DrawWidgetImage(const std::unique_ptr<Nembra::CStatic2DSprite>& sprite) {
  if (sprite) sprite->Draw();
}

bool IsMouseInRect(const Nembra::RECT& rect) {
  return g_pMouse && g_pMouse->IsInRegion(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

bool WasLeftClickInRect(const Nembra::RECT& rect) {
  return g_pMouse &&
         g_pMouse->WasClickedInRegion(0, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

bool IsLeftDownInRect(const Nembra::RECT& rect) {
  return g_pMouse &&
         g_pMouse->IsButtonDownInRegion(0, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}
