#include "frontend/widgets/WidgetImage.h"

#include "engine/app/Mouse.h"
#include "platform/Saturate.h"

using Nembra::g_pMouse;

namespace {
int Width(const Nembra::RECT& r) { return platform::ClampToInt32(int64_t(r.right) - r.left); }
int Height(const Nembra::RECT& r) { return platform::ClampToInt32(int64_t(r.bottom) - r.top); }
}  // namespace

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
  return g_pMouse && g_pMouse->IsInRegion(rect.left, rect.top, Width(rect), Height(rect));
}

bool WasLeftClickInRect(const Nembra::RECT& rect) {
  return g_pMouse &&
         g_pMouse->WasClickedInRegion(0, rect.left, rect.top, Width(rect), Height(rect));
}

bool IsLeftDownInRect(const Nembra::RECT& rect) {
  return g_pMouse &&
         g_pMouse->IsButtonDownInRegion(0, rect.left, rect.top, Width(rect), Height(rect));
}
