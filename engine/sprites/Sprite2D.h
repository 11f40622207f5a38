#pragma once
// Screen sprites: textured rectangles placed in screen pixels and drawn
// through the device's shared sprite between BeginSprite and EndSprite.
// They are plain values: copies share the texture, which they do not own.
#include "engine/util/Utilities.h"
#include "platform/Math.h"

namespace Nembra {

class CTexture;

class C2DSprite {
 public:
  C2DSprite();
  virtual ~C2DSprite() = default;
  virtual void Draw() = 0;

  void SetX(int x) { m_Position.x = static_cast<float>(x); }
  void SetY(int y) { m_Position.y = static_cast<float>(y); }
  void SetPosition(const D3DXVECTOR3& position) { m_Position = position; }
  const D3DXVECTOR3& GetPosition() const { return m_Position; }

  // Public settings, read at every Draw.
  D3DXVECTOR3 m_Position;  // screen position in pixels (z goes into the transform too)
  D3DXVECTOR3 m_Center;    // the point of the source rectangle that lands on the position
  RECT m_Bounds;           // kept for the sprite's user; the sprite never reads it
  RECT m_SourceRect;       // the part of the texture shown
  int m_Width = 0;         // the texture's size in texels
  int m_Height = 0;
  bool m_Visible = true;
  float m_Rotation = 0.0f;  // radians about the screen z axis
  float m_ScaleX = 1.0f;
  float m_ScaleY = 1.0f;
  D3DXCOLOR m_Color{1.0f, 1.0f, 1.0f, 1.0f};  // modulates the texture
};

class CStatic2DSprite : public C2DSprite {
 public:
  CStatic2DSprite() = default;

  // False, keeping the old rectangle, when all four values are 0.
  bool SetSourceRect(const RECT& rect);
  // False for null (nothing changes); else takes the texture and its size.
  bool SetTexture(CTexture* texture);
  CTexture* GetTexture() const { return m_pTexture; }

  // Draws with transform scale x rotation x translation; nothing when hidden
  // or when there is no texture to draw.
  void Draw() override;

  // The transform Draw uses: S(scale.x, scale.y, 0) x Rz(rotation) x T(position).
  D3DXMATRIX GetTransform() const;

 protected:
  CTexture* m_pTexture = nullptr;
};

}  // namespace Nembra
