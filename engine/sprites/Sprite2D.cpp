#include "engine/sprites/Sprite2D.h"

#include "engine/app/GraphicsDevice.h"
#include "engine/resources/Texture.h"

namespace Nembra {

C2DSprite::C2DSprite() : m_Position(0.0f, 0.0f, 0.0f), m_Center(0.0f, 0.0f, 0.0f) {}

bool CStatic2DSprite::SetSourceRect(const RECT& rect) {
  if (rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0) return false;
  m_SourceRect = rect;
  return true;
}

bool CStatic2DSprite::SetTexture(CTexture* texture) {
  if (!texture) return false;
  m_pTexture = texture;
  m_Width = static_cast<int>(texture->GetWidth());
  m_Height = static_cast<int>(texture->GetHeight());
  return true;
}

D3DXMATRIX CStatic2DSprite::GetTransform() const {
  D3DXMATRIX scaling, rotation, translation, m;
  D3DXMatrixScaling(&scaling, m_ScaleX, m_ScaleY, 0.0f);
  D3DXMatrixRotationZ(&rotation, m_Rotation);
  D3DXMatrixTranslation(&translation, m_Position.x, m_Position.y, m_Position.z);
  D3DXMatrixMultiply(&m, &scaling, &rotation);
  D3DXMatrixMultiply(&m, &m, &translation);
  return m;
}

void CStatic2DSprite::Draw() {
  if (!m_Visible) return;
  // A sprite whose texture never loaded (or was never given) draws nothing.
  if (!m_pTexture || !m_pTexture->GetTexture()) return;
  if (!g_pGraphicsDevice) return;
  platform::ISprite* sprite = g_pGraphicsDevice->GetSprite();
  if (!sprite) return;
  const D3DXMATRIX transform = GetTransform();
  sprite->SetTransform(&transform);
  const D3DXVECTOR3 zero(0.0f, 0.0f, 0.0f);
  sprite->Draw(m_pTexture->GetTexture(), &m_SourceRect, &m_Center, &zero,
               PackColor(m_Color.r, m_Color.g, m_Color.b, m_Color.a));
}

}  // namespace Nembra
