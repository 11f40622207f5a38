#pragma once
// The perspective camera: its node is the eye, its target node the point
// looked at. Apply sends the view and projection to the device only when
// they changed and rebuilds the frustum; every culling test goes through
// IsSphereVisible.
#include "engine/scene/SceneNode.h"

namespace Nembra {

class CCamera : public CTargetNode {
 public:
  // Planes in storage order.
  enum { PLANE_NEAR = 0, PLANE_FAR, PLANE_LEFT, PLANE_RIGHT, PLANE_TOP, PLANE_BOTTOM, PLANE_COUNT };

  CCamera();
  // Stops being the scene's active camera.
  ~CCamera() override;

  void OnUpdate() override;
  virtual bool Apply();

  void SetAspect(float aspect);
  // Not used by the engine itself; each marks the projection for rebuilding.
  void SetFieldOfView(float fov);
  void SetNearFar(float zNear, float zFar);

  // Unit vector from the eye to the target, from the nodes' own positions.
  D3DXVECTOR3 GetDirection() const;
  bool IsSphereVisible(const D3DXVECTOR3& center, float radius);

  const D3DXMATRIX& GetInverseView() const { return m_InverseView; }
  const D3DXMATRIX& GetFacingMatrix() const { return m_FacingMatrix; }
  const D3DXMATRIX& GetView() const { return m_View; }
  const D3DXMATRIX& GetProjection() const { return m_Projection; }
  const D3DXPLANE& GetPlane(int i) const { return m_Planes[i]; }
  float GetFieldOfView() const { return m_FieldOfView; }
  float GetAspect() const { return m_Aspect; }
  float GetNear() const { return m_Near; }
  float GetFar() const { return m_Far; }
  const D3DXVECTOR3& GetUp() const { return m_Up; }
  bool IsViewDirty() const { return m_ViewDirty; }
  bool IsProjectionDirty() const { return m_ProjectionDirty; }
  // After a device reset the device has forgotten both matrices.
  void SetDirty() { m_ViewDirty = true; m_ProjectionDirty = true; }

 protected:
  void BuildFrustum();

  D3DXVECTOR3 m_Up{0.0f, 0.0f, 1.0f};
  D3DXMATRIX m_View;
  bool m_ViewDirty = true;
  float m_FieldOfView = D3DX_PI / 4.0f;
  float m_Aspect = 1.0f;
  float m_Near = 100.0f;
  float m_Far = 500000.0f;
  D3DXMATRIX m_Projection;
  bool m_ProjectionDirty = true;
  D3DXPLANE m_Planes[PLANE_COUNT];
  D3DXMATRIX m_InverseView;
  D3DXMATRIX m_FacingMatrix;
};

}  // namespace Nembra
