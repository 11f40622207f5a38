#include "engine/scene/Light.h"

#include "engine/scene/Camera.h"
#include "engine/scene/SceneDevice.h"
#include "engine/scene/SceneManager.h"

namespace Nembra {

CLight::CLight(platform::D3DLIGHTTYPE type) {
  m_Light = platform::D3DLIGHT9();
  m_Light.Type = type;
  m_Light.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 0.0f};
  m_Light.Position = D3DVECTOR{m_Position.x, m_Position.y, m_Position.z};
  m_Light.Direction = D3DVECTOR{0.0f, 0.0f, -1.0f};
  m_Light.Range = 100.0f;
  m_Light.Falloff = 1.0f;
  m_Light.Attenuation0 = 0.0f;
  m_Light.Attenuation1 = 0.5f;
  m_Light.Attenuation2 = 0.0f;
  m_Light.Theta = D3DX_PI / 8.0f;
  m_Light.Phi = 3.0f * D3DX_PI / 16.0f;
}

void CLight::SetIndex(uint32_t index) {
  m_Index = index;
  if (platform::IDevice* device = GetSceneDevice()) device->SetLight(m_Index, &m_Light);
  m_Registered = true;
  m_On = false;
}

void CLight::Enable() {
  m_On = true;
  TryLight();
}

void CLight::Disable() {
  m_On = false;
  m_Lit = false;
  if (!m_Registered) return;
  if (platform::IDevice* device = GetSceneDevice()) device->LightEnable(m_Index, 0);
}

// The device lights only so many at once and may refuse: its answer is
// kept, so a refused light can ask again when a slot frees.
bool CLight::TryLight() {
  if (!m_Registered || !m_On) return false;
  platform::IDevice* device = GetSceneDevice();
  m_Lit = device && platform::SUCCEEDED(device->LightEnable(m_Index, 1));
  return m_Lit;
}

void CLight::Commit() {
  if (!m_Registered) return;
  platform::D3DLIGHT9 copy = m_Light;
  UpdateWorldMatrix();
  m_Target.UpdateWorldMatrix();
  const D3DXVECTOR3 from = GetWorldPosition();
  D3DXVECTOR3 direction = m_Target.GetWorldPosition() - from;
  D3DXVec3Normalize(&direction, &direction);
  copy.Direction = D3DVECTOR{direction.x, direction.y, direction.z};
  copy.Position = D3DVECTOR{from.x, from.y, from.z};
  if (platform::IDevice* device = GetSceneDevice()) device->SetLight(m_Index, &copy);
}

void CLight::Restore() {
  Commit();
  m_Lit = false;
  TryLight();
}

void CLight::OnUpdate() {
  const bool moved = HasMoved() || m_Target.HasMoved();
  m_Target.Update();
  if (moved) Commit();
}

void CPointLight::OnFrame() {
  if (!m_Registered) return;
  // Without an active camera there is nothing to cull against: in view.
  bool visible = true;
  if (CCamera* camera = g_pSceneManager ? g_pSceneManager->GetCamera() : nullptr) {
    visible = camera->IsSphereVisible(GetWorldPosition(), m_Light.Range + VIEW_MARGIN);
  }
  if (m_On && !visible) {
    Disable();
  } else if (!m_On && visible) {
    Enable();
  }
}

}  // namespace Nembra
