#include "engine/scene/Billboard.h"

#include <cstring>

#include "engine/app/Engine.h"
#include "engine/resources/Material.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneDevice.h"
#include "engine/scene/SceneManager.h"

namespace Nembra {

// ---- CVertexBuffer -------------------------------------------------------

bool CVertexBuffer::Create(uint32_t count, uint32_t fvf, uint32_t stride) {
  Release();
  if (count == 0 || fvf == 0 || stride == 0) return false;
  platform::IDevice* device = GetSceneDevice();
  if (!device) return false;
  platform::IVertexBuffer* buffer = nullptr;
  if (platform::FAILED(device->CreateVertexBuffer(count * stride, 0, fvf, platform::D3DPOOL_MANAGED, &buffer)) ||
      !buffer)
    return false;
  m_Buffer = buffer;
  m_Count = count;
  m_Stride = stride;
  m_FVF = fvf;
  return true;
}

bool CVertexBuffer::Fill(uint32_t byteOffset, uint32_t count, const void* data) {
  if (!data || !m_Buffer) return false;
  const uint64_t size = uint64_t(m_Stride) * count;
  if (size == 0 || byteOffset + size > uint64_t(m_Count) * m_Stride) return false;
  void* target = nullptr;
  if (platform::FAILED(m_Buffer->Lock(byteOffset, uint32_t(size), &target, 0)) || !target) return false;
  m_Locked = true;
  std::memcpy(target, data, size);
  m_Buffer->Unlock();
  m_Locked = false;
  return true;
}

void CVertexBuffer::DrawPrimitive(platform::D3DPRIMITIVETYPE type, uint32_t first, uint32_t primitiveCount) {
  platform::IDevice* device = GetSceneDevice();
  if (!device || !m_Buffer) return;
  device->SetStreamSource(0, m_Buffer, 0, m_Stride);
  device->SetFVF(m_FVF);
  device->DrawPrimitive(type, first, primitiveCount);
}

void CVertexBuffer::Release() {
  if (m_Buffer) {
    if (m_Locked) m_Buffer->Unlock();
    m_Buffer->Release();
  }
  m_Buffer = nullptr;
  m_Locked = false;
  m_Count = m_Stride = m_FVF = 0;
}

// ---- CTexturedQuad -------------------------------------------------------

CTexturedQuad::~CTexturedQuad() { Destroy(); }

void CTexturedQuad::Destroy() {
  delete geometrySet;
  geometrySet = nullptr;
  m_VertexBuffer.Release();
}

bool CTexturedQuad::Create(float w, float h, Layout layout, CTexture* texture, CShader* block, const float r[4],
                           CGeometrySet* set, D3DXMATRIX* worldSlot) {
  Destroy();
  width = w;
  height = h;
  const float hw = w / 2.0f, hh = h / 2.0f;
  switch (layout) {
    case LAYOUT_XY:
      vertices[0].x = -hw, vertices[0].y = -hh, vertices[0].z = 0;
      vertices[1].x = hw, vertices[1].y = -hh, vertices[1].z = 0;
      vertices[2].x = -hw, vertices[2].y = hh, vertices[2].z = 0;
      vertices[3].x = hw, vertices[3].y = hh, vertices[3].z = 0;
      break;
    case LAYOUT_XZ:
      vertices[0].x = -hw, vertices[0].y = 0, vertices[0].z = -hh;
      vertices[1].x = hw, vertices[1].y = 0, vertices[1].z = -hh;
      vertices[2].x = -hw, vertices[2].y = 0, vertices[2].z = hh;
      vertices[3].x = hw, vertices[3].y = 0, vertices[3].z = hh;
      break;
    case LAYOUT_UPRIGHT:
      vertices[0].x = -hw, vertices[0].y = 0, vertices[0].z = 0;
      vertices[1].x = hw, vertices[1].y = 0, vertices[1].z = 0;
      vertices[2].x = -hw, vertices[2].y = 0, vertices[2].z = h;
      vertices[3].x = hw, vertices[3].y = 0, vertices[3].z = h;
      break;
  }
  textureSet.Resize(1);
  stateBlock = block;
  material = g_pMaterialFactory ? g_pMaterialFactory->GetDefault() : nullptr;
  bool ok = m_VertexBuffer.Create(4, QUAD_FVF, sizeof(QUAD_VERTEX)) && texture;
  if (ok) {
    textureSet.SetTexture(0, texture);
    textureWidth = texture->GetWidth();
    textureHeight = texture->GetHeight();
    ok = SetTextureRect(r);
  }
  if (!ok) {
    delete set;
    return false;
  }
  set->worldMatrix = worldSlot;
  set->stateBlock = stateBlock;
  set->material = material;
  set->textureSet = &textureSet;
  set->batchable = false;
  geometrySet = set;
  return true;
}

bool CTexturedQuad::SetTextureRect(const float r[4]) {
  if (textureSet.GetCount() == 0) return false;
  std::memcpy(rect, r, sizeof rect);
  const float u = r[0], v = r[1], du = r[2], dv = r[3];
  vertices[0].u = u, vertices[0].v = v + dv;
  vertices[1].u = u + du, vertices[1].v = v + dv;
  vertices[2].u = u, vertices[2].v = v;
  vertices[3].u = u + du, vertices[3].v = v;
  return m_VertexBuffer.Fill(0, 4, vertices);
}

namespace {

// The drawing matrix: rotation x the node's own scale, at the position.
void ComposeQuadMatrix(D3DXMATRIX* out, const D3DXMATRIX& rotation, const D3DXVECTOR3& scale,
                       const D3DXVECTOR3& position) {
  D3DXMATRIX scaling;
  D3DXMatrixScaling(&scaling, scale.x, scale.y, scale.z);
  D3DXMatrixMultiply(out, &rotation, &scaling);
  out->_41 = position.x;
  out->_42 = position.y;
  out->_43 = position.z;
}

}  // namespace

// ---- CQuadSprite ----------------------------------------------------------

template <class Base, class Desc>
void CQuadSprite<Base, Desc>::ApplyColor() const {
  if (g_pGraphicsDevice) g_pGraphicsDevice->SetRenderState(platform::D3DRS_TEXTUREFACTOR, m_Desc.color);
}

template class CQuadSprite<CBillboard, BILLBOARD_DESC>;
template class CQuadSprite<C3DSprite, PLANE_SPRITE_DESC>;

// ---- CStaticBillboard ----------------------------------------------------

CStaticBillboard::CStaticBillboard(const CStaticBillboard& other) : CQuadSprite(other) {
  if (other.m_Quad.geometrySet && Create(m_Desc)) SetTextureRect(other.m_Quad.rect);
}

bool CStaticBillboard::Create(const BILLBOARD_DESC& desc) {
  m_Desc = desc;
  m_Upright = desc.upright != 0;
  return Created(m_Quad.Create(desc.width, desc.height,
                               m_Upright ? CTexturedQuad::LAYOUT_UPRIGHT : CTexturedQuad::LAYOUT_XY, desc.texture,
                               desc.stateBlock, desc.textureRect, new CStaticBillboardGeometrySet(this),
                               &m_LocalMatrix));
}

void CStaticBillboard::Draw() {
  if (!m_Quad.geometrySet) return;
  CCamera* camera = g_pSceneManager ? g_pSceneManager->GetCamera() : nullptr;
  D3DXMATRIX facing;  // identity without a camera
  if (camera) facing = m_Upright ? camera->GetFacingMatrix() : camera->GetInverseView();
  ComposeQuadMatrix(&m_LocalMatrix, facing, m_Scale, GetWorldPosition());
  if (g_pGeometrySetRegistry) g_pGeometrySetRegistry->SubmitBillboard(this);
}

// ---- CPlaneSprite --------------------------------------------------------

CPlaneSprite::CPlaneSprite(const CPlaneSprite& other) : CQuadSprite(other) {
  if (other.m_Quad.geometrySet && Create(m_Desc)) SetTextureRect(other.m_Quad.rect);
}

bool CPlaneSprite::Create(const PLANE_SPRITE_DESC& desc) {
  m_Desc = desc;
  return Created(m_Quad.Create(desc.width, desc.height, CTexturedQuad::LAYOUT_XZ, desc.texture, desc.stateBlock,
                               desc.textureRect, new CPlaneSpriteGeometrySet(this), &m_LocalMatrix));
}

void CPlaneSprite::Draw() {
  if (!m_Quad.geometrySet) return;
  D3DXMATRIX rotation;
  D3DXMatrixRotationYawPitchRoll(&rotation, GetWorldRotationX(), GetWorldRotationY(), GetWorldRotationZ());
  ComposeQuadMatrix(&m_LocalMatrix, rotation, m_Scale, GetWorldPosition());
  if (g_pGeometrySetRegistry) g_pGeometrySetRegistry->SubmitPlaneSprite(this);
}

}  // namespace Nembra
