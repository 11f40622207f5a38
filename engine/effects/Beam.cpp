#include "engine/effects/Beam.h"

#include <cstring>

#include "engine/app/Engine.h"
#include "engine/app/GraphicsDevice.h"
#include "engine/resources/Material.h"
#include "engine/resources/Shader.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneManager.h"

namespace Nembra {

using namespace platform;

const char* const CBeam::STATE_BLOCK_NAME = "AUTO_BEAM_SHADER_NAME";

namespace {
constexpr uint32_t BEAM_BUFFER_BYTES = 4 * sizeof(PARTICLE_VERTEX);
IDevice* Device() { return g_pGraphicsDevice ? g_pGraphicsDevice->GetDevice() : nullptr; }
}  // namespace

void CBeamGeometrySet::Draw() { m_Owner->Render(); }

CBeam::CBeam()
    : m_Vertices{{0, 0, 0, 0xFFFFFFFFu, 1.0f, 0.0f},
                 {0, 0, 0, 0xFFFFFFFFu, 1.0f, 1.0f},
                 {0, 0, 0, 0xFFFFFFFFu, 0.0f, 0.0f},
                 {0, 0, 0, 0xFFFFFFFFu, 0.0f, 1.0f}} {}

CBeam::~CBeam() {
  if (m_Registered && g_pGraphicsDevice) g_pGraphicsDevice->RemoveVolatileResource(this);
  ReleaseBuffer();
  ReleaseResources();
}

void CBeam::ReleaseResources() {
  if (m_pOwnTexture && g_pTextureFactory) g_pTextureFactory->Release(m_pOwnTexture->GetName());
  if (m_pStateBlock && g_pShaderFactory) g_pShaderFactory->Release(m_pStateBlock->GetName());
  if (m_pMaterial && g_pMaterialFactory) g_pMaterialFactory->Release(m_pMaterial->GetName());
  m_pOwnTexture = nullptr;
  m_pStateBlock = nullptr;
  m_pMaterial = nullptr;
}

bool CBeam::CreateBuffer() {
  ReleaseBuffer();
  IDevice* device = Device();
  if (!device) return false;
  if (FAILED(device->CreateVertexBuffer(BEAM_BUFFER_BYTES, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, PARTICLE_FVF,
                                        D3DPOOL_DEFAULT, &m_pVertexBuffer))) {
    m_pVertexBuffer = nullptr;
    return false;
  }
  return true;
}

void CBeam::ReleaseBuffer() {
  if (m_pVertexBuffer) m_pVertexBuffer->Release();
  m_pVertexBuffer = nullptr;
}

void CBeam::Create(const std::string& textureName, float beamLength, float width, const D3DXVECTOR3& beamDirection,
                   bool facesCamera) {
  ReleaseResources();
  CreateBuffer();  // a beam without a buffer is simply not drawn

  if (g_pShaderFactory) {
    m_pStateBlock = g_pShaderFactory->Get(STATE_BLOCK_NAME);
    if (m_pStateBlock) {
      if (CShader* transparent = g_pShaderFactory->GetDefaultTransparent()) *m_pStateBlock = *transparent;
      m_pStateBlock->SetRenderState(D3DRS_LIGHTING, 0);
      m_pStateBlock->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
      m_pStateBlock->SetRenderState(D3DRS_ZWRITEENABLE, 0);
      m_pStateBlock->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
      m_pStateBlock->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
      m_pStateBlock->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    }
  }
  m_pMaterial = g_pMaterialFactory ? g_pMaterialFactory->Get(DEFAULT_RESOURCE_NAME) : nullptr;
  m_TextureSet.Resize(1);
  m_pOwnTexture = g_pTextureFactory ? g_pTextureFactory->Get(textureName) : nullptr;
  m_TextureSet.SetTexture(0, m_pOwnTexture);

  m_GeometrySet.worldMatrix = &IdentityMatrix();
  m_GeometrySet.stateBlock = m_pStateBlock;
  m_GeometrySet.material = m_pMaterial;
  m_GeometrySet.textureSet = &m_TextureSet;
  m_GeometrySet.batchable = false;

  length = beamLength;
  halfWidth = width * 0.5f;
  direction = beamDirection;
  m_FacesCamera = facesCamera;
  if (!facesCamera) LayOut(m_Position, D3DXVECTOR3(0.0f, 0.0f, -1.0f));

  if (!m_Registered && g_pGraphicsDevice) m_Registered = g_pGraphicsDevice->AddVolatileResource(this);
}

void CBeam::SetTexture(CTexture* texture) {
  if (m_TextureSet.GetCount() == 0) m_TextureSet.Resize(1);
  m_TextureSet.SetTexture(0, texture);
}

void CBeam::LayOut(const D3DXVECTOR3& start, const D3DXVECTOR3& view) {
  const D3DXVECTOR3 end = start - direction * length;
  const D3DXVECTOR3 along = start - end;
  D3DXVECTOR3 side;
  D3DXVec3Cross(&side, &along, &view);
  D3DXVec3Normalize(&side, &side);  // parallel vectors give a zero-width strip
  side *= halfWidth;
  const D3DXVECTOR3 corners[4] = {start - side, start + side, end - side, end + side};
  for (int i = 0; i < 4; ++i) {
    m_Vertices[i].x = corners[i].x;
    m_Vertices[i].y = corners[i].y;
    m_Vertices[i].z = corners[i].z;
  }
}

void CBeam::OnUpdate() {
  if (!visible) return;
  Draw();
  if (g_pGeometrySetRegistry) g_pGeometrySetRegistry->SubmitBeam(this, &m_GeometrySet);
}

bool CBeam::Draw() {
  if (!m_FacesCamera) return true;
  CCamera* camera = g_pSceneManager ? g_pSceneManager->GetCamera() : nullptr;
  const D3DXVECTOR3 view = camera ? camera->GetDirection() : D3DXVECTOR3(0.0f, 0.0f, -1.0f);
  LayOut(GetWorldPosition(), view);
  return true;
}

bool CBeam::Render() {
  IDevice* device = Device();
  if (!m_pVertexBuffer || !device) return false;  // no buffer: nothing to lock
  void* data = nullptr;
  if (FAILED(m_pVertexBuffer->Lock(0, 0, &data, D3DLOCK_DISCARD)) || !data) return false;
  std::memcpy(data, m_Vertices, sizeof m_Vertices);
  m_pVertexBuffer->Unlock();
  device->SetFVF(PARTICLE_FVF);
  device->SetStreamSource(0, m_pVertexBuffer, 0, sizeof(PARTICLE_VERTEX));
  return SUCCEEDED(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2));
}

void CBeam::OnLostDevice() { ReleaseBuffer(); }

void CBeam::OnResetDevice() { CreateBuffer(); }

}  // namespace Nembra
