#include <gtest/gtest.h>

#include <cmath>

#include "engine/scene/Camera.h"

using namespace Nembra;

namespace {
float PlaneDistance(const D3DXPLANE& p, const D3DXVECTOR3& v) { return p.a * v.x + p.b * v.y + p.c * v.z + p.d; }
}  // namespace

TEST(CameraFrustum, DefaultCameraCullsBehindAndNearerThanTheNearSide) {
  CCamera camera;
  camera.Update();
  EXPECT_TRUE(camera.IsSphereVisible({0, 0, 0}, 1.0f));
  EXPECT_FALSE(camera.IsSphereVisible({0, -150, 0}, 1.0f));  // behind the eye
  EXPECT_TRUE(camera.IsSphereVisible({0, -40, 0}, 1.0f));    // 60 in front
  EXPECT_FALSE(camera.IsSphereVisible({0, -60, 0}, 1.0f));   // 40 in front
  EXPECT_FALSE(camera.IsSphereVisible({0, 600000, 0}, 1.0f));  // past the far side
  EXPECT_FALSE(camera.IsSphereVisible({5000, 0, 0}, 1.0f));    // far to the right
  EXPECT_TRUE(camera.IsSphereVisible({5000, 0, 0}, 5000.0f));  // large enough to reach in
  // The near-side plane lies near*far / (2*far - near) in front of the eye.
  const D3DXPLANE& nearPlane = camera.GetPlane(CCamera::PLANE_NEAR);
  const float expected = 100.0f * 500000.0f / (2.0f * 500000.0f - 100.0f);
  EXPECT_NEAR(PlaneDistance(nearPlane, {0, -100.0f + expected, 0}), 0.0f, 1e-2f);
  EXPECT_NEAR(nearPlane.b, 1.0f, 1e-5f);  // faces inwards, along +y
}

TEST(CameraFrustum, TouchingFromOutsideIsVisibleAndNaNRejectsNothing) {
  CCamera camera;
  camera.Update();
  ASSERT_TRUE(camera.Apply());
  const D3DXVECTOR3 centre(3000.0f, 1000.0f, 0.0f);
  const float distance = PlaneDistance(camera.GetPlane(CCamera::PLANE_RIGHT), centre);
  ASSERT_LT(distance, 0.0f);
  EXPECT_TRUE(camera.IsSphereVisible(centre, -distance));
  EXPECT_FALSE(camera.IsSphereVisible(centre, -distance * 0.999f));
  EXPECT_TRUE(camera.IsSphereVisible({NAN, 0, 0}, 1.0f));
}

TEST(CameraFrustum, FollowsTheEyeAndTheTarget) {
  CCamera camera;
  camera.Update();
  EXPECT_TRUE(camera.Apply());
  EXPECT_FALSE(camera.IsViewDirty());
  EXPECT_FALSE(camera.IsProjectionDirty());
  // Turn to look along +x from the origin.
  camera.SetPosition(0, 0, 0);
  camera.GetTarget().SetPosition(100, 0, 0);
  camera.Update();
  EXPECT_TRUE(camera.IsViewDirty());
  EXPECT_TRUE(camera.IsSphereVisible({1000, 0, 0}, 1.0f));
  EXPECT_FALSE(camera.IsSphereVisible({0, 1000, 0}, 1.0f));
  EXPECT_FALSE(camera.IsViewDirty());
  // Moving only the target marks the view dirty.
  camera.GetTarget().SetPosition(0, 100, 0);
  camera.Update();
  EXPECT_TRUE(camera.IsViewDirty());
  EXPECT_TRUE(camera.IsSphereVisible({0, 1000, 0}, 1.0f));
  // A parent that carries the camera moves the view too.
  CSceneNode rig;
  rig.AddChild(&camera);
  rig.AddChild(&camera.GetTarget());
  rig.Update();
  camera.Apply();
  rig.SetPosition(0, 0, 10000);
  rig.Update();
  EXPECT_TRUE(camera.IsViewDirty());
  EXPECT_FALSE(camera.IsSphereVisible({0, 1000, 0}, 1.0f));
  EXPECT_TRUE(camera.IsSphereVisible({0, 1000, 10000}, 1.0f));
}

TEST(CameraFrustum, FacingMatricesAndDirection) {
  CCamera camera;
  camera.Update();
  camera.Apply();
  D3DXVECTOR3 d = camera.GetDirection();
  EXPECT_NEAR(d.y, 1.0f, 1e-6f);
  // Looking along +y: the facing rotation is atan2(1, 0) - pi/2 = 0.
  EXPECT_TRUE(D3DXMatrixIsIdentity(&camera.GetFacingMatrix()) ||
              std::fabs(camera.GetFacingMatrix()._12) < 1e-6f);
  // The inverse view places the eye.
  EXPECT_NEAR(camera.GetInverseView()._42, -100.0f, 1e-3f);
  // Straight down: the facing matrix turns by -pi/2.
  camera.SetPosition(0, 0, 500);
  camera.GetTarget().SetPosition(0, 0, 0);
  camera.Update();
  camera.Apply();
  D3DXMATRIX expected;
  D3DXMatrixRotationZ(&expected, -D3DX_PI / 2.0f);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      EXPECT_NEAR(camera.GetFacingMatrix().m[r][c], expected.m[r][c], 1e-6f);
    }
}
