#include "game/mechanisms/circuits/ChargeBar.h"

#include "engine/app/GraphicsDevice.h"
#include "engine/fonts/BitmapFont.h"
#include "engine/resources/Texture.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneManager.h"
#include "platform/Saturate.h"

namespace ChargeBar {

namespace {
constexpr uint32_t BATCH_FLAGS = 0x10;  // alpha blending
}

void Load(Nembra::CStatic2DSprite& frame, Nembra::CStatic2DSprite& fill, Nembra::CBitmapFont*& font,
          uint32_t colour) {
  if (Nembra::g_pTextureFactory) {
    frame.SetTexture(Nembra::g_pTextureFactory->Get("EnemyHealth.tga"));
    fill.SetTexture(Nembra::g_pTextureFactory->Get("EnemyHealth.tga"));
  }
  platform::RECT frameRect;
  frameRect.left = 0;
  frameRect.top = 4;
  frameRect.right = 44;
  frameRect.bottom = 16;
  frame.SetSourceRect(frameRect);
  frame.m_Center = D3DXVECTOR3(22.0f, 6.0f, 0.0f);
  platform::RECT fillRect;
  fillRect.top = colour == 1 ? 16 : 0;
  fillRect.right = 37;
  fillRect.bottom = fillRect.top + 4;
  fill.SetSourceRect(fillRect);
  fill.m_Center = D3DXVECTOR3(18.0f, 2.0f, 0.0f);
  font = Nembra::g_pBitmapFontFactory ? Nembra::g_pBitmapFontFactory->Get("GUI_Font_SmallNumbers") : nullptr;
}

bool Project(const D3DXVECTOR3& world, D3DXVECTOR3& screen) {
  if (!Nembra::g_pSceneManager || !Nembra::g_pGraphicsDevice || !Nembra::g_pGraphicsDevice->GetDevice()) return false;
  const Nembra::CCamera* camera = Nembra::g_pSceneManager->GetCamera();
  if (!camera) return false;
  platform::D3DVIEWPORT9 viewport;
  Nembra::g_pGraphicsDevice->GetDevice()->GetViewport(&viewport);
  D3DXMATRIX viewProjection;
  D3DXMatrixMultiply(&viewProjection, &camera->GetView(), &camera->GetProjection());
  D3DXVECTOR4 clip;
  D3DXVec3Transform(&clip, &world, &viewProjection);
  if (!(clip.w > 0.0f)) return false;
  const float depth = clip.z / clip.w;
  if (depth < 0.0f || depth > 1.0f) return false;
  screen.x = static_cast<float>(viewport.X) + (1.0f + clip.x / clip.w) * 0.5f * static_cast<float>(viewport.Width);
  screen.y = static_cast<float>(viewport.Y) + (1.0f - clip.y / clip.w) * 0.5f * static_cast<float>(viewport.Height);
  screen.z = 0.0f;
  return true;
}

std::wstring PercentText(uint32_t charge, uint32_t capacity) {
  if (capacity == 0) return L"100%";
  const uint64_t percent = static_cast<uint64_t>(charge) * 100u / capacity;
  return std::to_wstring(percent) + L"%";
}

void Draw(Nembra::CStatic2DSprite& frame, Nembra::CStatic2DSprite& fill, Nembra::CBitmapFont* font,
          const D3DXVECTOR3& objectPosition, uint32_t charge, uint32_t capacity) {
  D3DXVECTOR3 screen;
  if (!Project(objectPosition + D3DXVECTOR3(0.0f, 0.0f, HEIGHT_ABOVE), screen)) return;
  frame.SetPosition(screen);
  fill.SetPosition(screen);
  frame.Draw();
  fill.Draw();
  Nembra::CGraphicsDevice& device = *Nembra::g_pGraphicsDevice;
  device.EndSprite();
  device.BeginSprite(BATCH_FLAGS);
  if (!font) return;
  font->m_Centered = true;
  // An object placed far off to the side projects far past the int range.
  font->DrawText(PercentText(charge, capacity), platform::TruncateToInt32(screen.x),
                 platform::AddSaturated(platform::TruncateToInt32(screen.y), -TEXT_RISE), 1.0f, 1.0f, 1.0f, 1.0f);
  font->m_Centered = false;
  device.EndSprite();
  device.BeginSprite(BATCH_FLAGS);
}

}  // namespace ChargeBar
