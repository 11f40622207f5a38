#pragma once
// Textured quads in the world: billboards that face the camera (fully, or
// only turning about the vertical axis) and plane sprites that follow the
// node's own rotation. Each keeps its four vertices in a managed vertex
// buffer written only when the texture rectangle changes; per frame only
// the drawing matrix changes.
#include <cstdint>

#include "engine/resources/Texture.h"
#include "engine/scene/GeometrySet.h"
#include "engine/scene/Sprite3D.h"
#include "platform/Graphics.h"

namespace Nembra {

class CShader;
class CMaterial;

// A small vertex-buffer holder.
class CVertexBuffer {
 public:
  CVertexBuffer() = default;
  ~CVertexBuffer() { Release(); }
  CVertexBuffer(const CVertexBuffer&) = delete;
  CVertexBuffer& operator=(const CVertexBuffer&) = delete;

  // Releases any old buffer, then makes a managed one. False for a zero
  // count, format or stride, or when the device refuses.
  bool Create(uint32_t count, uint32_t fvf, uint32_t stride);
  // Copies count vertices in at the byte offset; false without data or
  // buffer, or when the range does not fit.
  bool Fill(uint32_t byteOffset, uint32_t count, const void* data);
  void DrawPrimitive(platform::D3DPRIMITIVETYPE type, uint32_t first, uint32_t primitiveCount);
  void Release();

  platform::IVertexBuffer* GetBuffer() const { return m_Buffer; }
  uint32_t GetCount() const { return m_Count; }

 private:
  platform::IVertexBuffer* m_Buffer = nullptr;
  uint32_t m_Count = 0;
  uint32_t m_Stride = 0;
  uint32_t m_FVF = 0;
  bool m_Locked = false;
};

struct QUAD_VERTEX {
  float x = 0, y = 0, z = 0;
  D3DCOLOR color = 0xFFFFFFFFu;
  float u = 0, v = 0;
};
static_assert(sizeof(QUAD_VERTEX) == 24, "quad vertex layout");
constexpr uint32_t QUAD_FVF = platform::D3DFVF_XYZ | platform::D3DFVF_DIFFUSE | platform::D3DFVF_TEX1;  // 0x142

struct BILLBOARD_DESC {
  float width = 0, height = 0;
  uint8_t upright = 0;
  CTexture* texture = nullptr;
  CShader* stateBlock = nullptr;
  D3DCOLOR color = 0xFFFFFFFFu;  // the texture factor the quad is drawn with
  float textureRect[4] = {0, 0, 1, 1};  // u, v, du, dv
};

struct PLANE_SPRITE_DESC {
  float width = 0, height = 0;
  CTexture* texture = nullptr;
  CShader* stateBlock = nullptr;
  D3DCOLOR color = 0xFFFFFFFFu;
  float textureRect[4] = {0, 0, 1, 1};
};

// What billboards and plane sprites share: the quad, its texture, material,
// state block, vertex buffer and geometry set.
class CTexturedQuad {
 public:
  CTexturedQuad() = default;
  ~CTexturedQuad();
  CTexturedQuad(const CTexturedQuad&) = delete;
  CTexturedQuad& operator=(const CTexturedQuad&) = delete;

  // upright: standing on its base in the x-z plane; planeXZ: centred in the
  // x-z plane; otherwise centred in the x-y plane.
  enum Layout { LAYOUT_XY, LAYOUT_XZ, LAYOUT_UPRIGHT };
  // Builds the quad; the geometry set is made only when everything worked
  // (the set is given by makeSet, with the world matrix slot).
  bool Create(float width, float height, Layout layout, CTexture* texture, CShader* stateBlock,
              const float rect[4], CGeometrySet* set, D3DXMATRIX* worldSlot);
  bool SetTextureRect(const float rect[4]);
  void Draw() { m_VertexBuffer.DrawPrimitive(platform::D3DPT_TRIANGLESTRIP, 0, 2); }
  void Destroy();

  QUAD_VERTEX vertices[4];
  float width = 0, height = 0;
  uint32_t textureWidth = 0, textureHeight = 0;
  CTextureSet textureSet;
  CMaterial* material = nullptr;
  CShader* stateBlock = nullptr;
  CVertexBuffer m_VertexBuffer;
  CGeometrySet* geometrySet = nullptr;  // owned; null until created
  float rect[4] = {0, 0, 1, 1};
};

class CBillboard : public C3DSprite {
 public:
  virtual bool Create(const BILLBOARD_DESC& desc) = 0;
  bool IsUpright() const { return m_Upright; }

 protected:
  bool m_Upright = false;
};

// What billboards and plane sprites have in common around their quad.
template <class Base, class Desc>
class CQuadSprite : public Base {
 public:
  // The effect also brackets the quad's draw.
  void SetRenderEffect(CRenderEffect* effect) override {
    this->m_RenderEffect = effect;
    if (m_Quad.geometrySet) m_Quad.geometrySet->renderEffect = effect;
  }
  bool SetTextureRect(const float rect[4]) { return m_Quad.SetTextureRect(rect); }
  // The sprite's colour with its alpha (opaque white unless set): its draw
  // makes it the texture factor, which a state block reads through
  // D3DTA_TFACTOR (a pulsing or tinted quad); a render effect on the sprite
  // may set the factor again inside its bracket. Create takes it from the
  // description.
  void SetColor(D3DCOLOR color) { m_Desc.color = color; }
  D3DCOLOR GetColor() const { return m_Desc.color; }
  // Sets the texture factor to the colour on the scene's device.
  void ApplyColor() const;
  void DrawQuad() { m_Quad.Draw(); }
  CGeometrySet* GetGeometrySet() const { return m_Quad.geometrySet; }
  const CTexturedQuad& GetQuad() const { return m_Quad; }

 protected:
  CQuadSprite() = default;
  // The quad is not copied: the copy makes its own from the description.
  CQuadSprite(const CQuadSprite& other) : Base(other), m_Desc(other.m_Desc) {}
  // After a Create of the quad: the set takes the sprite's effect.
  bool Created(bool ok) {
    if (ok) m_Quad.geometrySet->renderEffect = this->m_RenderEffect;
    return ok;
  }

  CTexturedQuad m_Quad;
  Desc m_Desc;
};

class CStaticBillboard : public CQuadSprite<CBillboard, BILLBOARD_DESC> {
 public:
  CStaticBillboard() = default;
  // A copy of a created billboard is created again from the same
  // description: it gets a buffer and a geometry set of its own.
  CStaticBillboard(const CStaticBillboard& other);
  CStaticBillboard& operator=(const CStaticBillboard& other) = delete;
  ~CStaticBillboard() override = default;

  bool Create(const BILLBOARD_DESC& desc) override;
  // Builds the drawing matrix (facing the camera, the node's own scale, at
  // its world position) into the local-matrix slot and submits the quad.
  // A billboard that was never created submits nothing.
  void Draw() override;
};

class CPlaneSprite : public CQuadSprite<C3DSprite, PLANE_SPRITE_DESC> {
 public:
  CPlaneSprite() = default;
  CPlaneSprite(const CPlaneSprite& other);
  CPlaneSprite& operator=(const CPlaneSprite& other) = delete;
  ~CPlaneSprite() override = default;

  bool Create(const PLANE_SPRITE_DESC& desc);
  // The sums of the rotations up the chain, the node's own scale, at its
  // world position. A sprite that was never created submits nothing.
  void Draw() override;
};

}  // namespace Nembra
