#include "engine/scene/Camera.h"

#include <cmath>

#include "engine/scene/SceneDevice.h"
#include "engine/scene/SceneManager.h"

namespace Nembra {

namespace {
// Without a device there is nothing to send to: the matrices are still
// built, so culling works before the device exists.
bool SendTransform(platform::D3DTRANSFORMSTATETYPE state, const D3DXMATRIX& m) {
  platform::IDevice* device = GetSceneDevice();
  return !device || platform::SUCCEEDED(device->SetTransform(state, &m));
}
}  // namespace

CCamera::CCamera() {
  SetPosition(0.0f, -100.0f, 0.0f);
  m_Target.SetPosition(0.0f, 0.0f, 0.0f);
}

CCamera::~CCamera() {
  if (g_pSceneManager) g_pSceneManager->ForgetCamera(this);
}

void CCamera::OnUpdate() {
  bool moved = HasMoved() || m_Target.HasMoved();
  m_Target.Update();
  m_ViewDirty = m_ViewDirty || moved;
}

void CCamera::SetAspect(float aspect) {
  m_Aspect = aspect;
  m_ProjectionDirty = true;
}

void CCamera::SetFieldOfView(float fov) {
  m_FieldOfView = fov;
  m_ProjectionDirty = true;
}

void CCamera::SetNearFar(float zNear, float zFar) {
  m_Near = zNear;
  m_Far = zFar;
  m_ProjectionDirty = true;
}

D3DXVECTOR3 CCamera::GetDirection() const {
  D3DXVECTOR3 d = m_Target.GetPosition() - m_Position;
  D3DXVec3Normalize(&d, &d);
  return d;
}

bool CCamera::Apply() {
  bool rebuilt = false;
  if (m_ViewDirty) {
    D3DXVECTOR3 eye = GetWorldPosition();
    D3DXVECTOR3 at = m_Target.GetWorldPosition();
    D3DXMatrixLookAtRH(&m_View, &eye, &at, &m_Up);
    if (!SendTransform(platform::D3DTS_VIEW, m_View)) return false;
    if (!D3DXMatrixInverse(&m_InverseView, nullptr, &m_View)) D3DXMatrixIdentity(&m_InverseView);
    D3DXVECTOR3 d = GetDirection();
    float angle = (d.x == 0.0f && d.y == 0.0f) ? -D3DX_PI / 2.0f : std::atan2(d.y, d.x) - D3DX_PI / 2.0f;
    D3DXMatrixRotationZ(&m_FacingMatrix, angle);
    m_ViewDirty = false;
    rebuilt = true;
  }
  if (m_ProjectionDirty) {
    D3DXMatrixPerspectiveFovRH(&m_Projection, m_FieldOfView, m_Aspect, m_Near, m_Far);
    if (!SendTransform(platform::D3DTS_PROJECTION, m_Projection)) return false;
    m_ProjectionDirty = false;
    rebuilt = true;
  }
  if (rebuilt) BuildFrustum();
  return true;
}

void CCamera::BuildFrustum() {
  D3DXMATRIX m;
  D3DXMatrixMultiply(&m, &m_View, &m_Projection);
  auto column = [&m](int j) { return D3DXPLANE(m.m[0][j], m.m[1][j], m.m[2][j], m.m[3][j]); };
  auto add = [](const D3DXPLANE& a, const D3DXPLANE& b) { return D3DXPLANE(a.a + b.a, a.b + b.b, a.c + b.c, a.d + b.d); };
  auto sub = [](const D3DXPLANE& a, const D3DXPLANE& b) { return D3DXPLANE(a.a - b.a, a.b - b.b, a.c - b.c, a.d - b.d); };
  const D3DXPLANE c1 = column(0), c2 = column(1), c3 = column(2), c4 = column(3);
  const D3DXPLANE raw[PLANE_COUNT] = {add(c3, c4), sub(c4, c3), add(c1, c4), sub(c4, c1), sub(c4, c2), add(c2, c4)};
  for (int i = 0; i < PLANE_COUNT; ++i) D3DXPlaneNormalize(&m_Planes[i], &raw[i]);
}

bool CCamera::IsSphereVisible(const D3DXVECTOR3& center, float radius) {
  Apply();
  for (const D3DXPLANE& p : m_Planes) {
    float distance = p.a * center.x + p.b * center.y + p.c * center.z + p.d;
    if (distance < -radius) return false;
  }
  return true;
}

}  // namespace Nembra
