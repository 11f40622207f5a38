// The follow camera: the reset view and the cursor's ground point, the
// wheel camera's turn and easing, the edge camera's strips and pull-back,
// snapping to a player who left the screen, and the player light.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/app/GraphicsDevice.h"
#include "engine/app/Mouse.h"
#include "engine/scene/Light.h"
#include "scenario/WorldScenario.h"

namespace {

constexpr float PI_8 = 0.39269909f;

void ExpectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float tolerance, const char* what) {
  const D3DXVECTOR3 d = a - b;
  EXPECT_LE(std::max({std::fabs(d.x), std::fabs(d.y), std::fabs(d.z)}), tolerance)
      << what << ": (" << a.x << ", " << a.y << ", " << a.z << ") against (" << b.x << ", " << b.y << ", " << b.z << ")";
}

// The point at height z under a screen point, through the view the device holds now.
D3DXVECTOR3 GroundUnder(float x, float y, float z) {
  platform::IDevice* device = Nembra::g_pGraphicsDevice->GetDevice();
  platform::D3DVIEWPORT9 viewport;
  D3DXMATRIX projection, view, world;
  device->GetViewport(&viewport);
  device->GetTransform(platform::D3DTS_PROJECTION, &projection);
  device->GetTransform(platform::D3DTS_VIEW, &view);
  const D3DXVECTOR3 a(x, y, 0.0f), b(x, y, 1.0f);
  D3DXVECTOR3 n, f;
  D3DXVec3Unproject(&n, &a, &viewport, &projection, &view, &world);
  D3DXVec3Unproject(&f, &b, &viewport, &projection, &view, &world);
  const float t = (z - n.z) / (f.z - n.z);
  return n + t * (f - n);
}

// The camera stands at its target + (765 sin yaw, 765 cos yaw, 1020).
void ExpectCameraAtYaw(scenario::WorldScenario& w, const char* what) {
  const float yaw = w.World().GetCameraYaw();
  const D3DXVECTOR3 offset = w.Camera().GetPosition() - w.Camera().GetTarget().GetPosition();
  ExpectNear(offset, {765.0f * std::sin(yaw), 765.0f * std::cos(yaw), 1020.0f}, 1e-3f, what);
  EXPECT_NEAR(std::sqrt(offset.x * offset.x + offset.y * offset.y + offset.z * offset.z), 1275.0f, 1e-2f) << what;
}

class FollowCamera : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(w.Ready()) << w.Problem(); }
  scenario::WorldScenario w;
};

TEST_F(FollowCamera, TheResetViewLooksAtTheOriginAndTheCursorFindsTheAimPlane) {
  w.Run(3);
  w.World().Reset();
  EXPECT_EQ(Nembra::g_pMouse->GetX(), 400);
  EXPECT_EQ(Nembra::g_pMouse->GetY(), 150);
  EXPECT_EQ(w.Camera().GetTarget().GetPosition(), D3DXVECTOR3(0, 0, 0));
  EXPECT_EQ(w.Camera().GetPosition(), D3DXVECTOR3(0, 765, 1020));
  EXPECT_NEAR(w.World().GetCameraYaw(), CGameWorld::START_YAW, 1e-6f) << "the reset leaves the yaw";
  // That camera applied: the screen centre looks along the line to the origin.
  w.Camera().UpdateWorldMatrix();
  w.Camera().GetTarget().UpdateWorldMatrix();
  w.Camera().SetDirty();
  ASSERT_TRUE(w.Camera().Apply());
  ExpectNear(w.World().ScreenToWorldRay({400, 300, 0}), {0, 90, 120}, 0.05f, "centre");
  ExpectNear(w.World().GetCameraForward(), {0, -1, 0}, 1e-6f, "forward");
  // The next frame moves the camera to the yaw's place.
  w.Frame();
  ExpectCameraAtYaw(w, "after the reset");
}

TEST_F(FollowCamera, TheWheelTurnsTheTargetYawByAnEighthOfPiAndTheCameraEasesAfterIt) {
  w.Next().MoveTo(400, 300);
  w.Run(30);
  const float start = w.World().GetTargetYaw();
  for (int notches : {1, 3, -1}) {
    const float before = w.World().GetTargetYaw();
    const float lag = before - w.World().GetCameraYaw();  // what is left of the last turn
    w.Next().Wheel(notches);
    w.Frame();
    const float expected = before + (notches > 0 ? -PI_8 : PI_8);
    EXPECT_NEAR(w.World().GetTargetYaw(), expected, 1e-5f) << notches;
    for (int k = 1; k <= 40; ++k) {
      if (k > 1) w.Frame();
      EXPECT_NEAR(w.World().GetTargetYaw() - w.World().GetCameraYaw(), (expected - before + lag) * std::pow(0.8f, k), 1e-5f)
          << notches << " frame " << k;
    }
    ExpectCameraAtYaw(w, "wheel");
  }
  EXPECT_NEAR(w.World().GetTargetYaw(), start - PI_8, 1e-5f);
}

TEST_F(FollowCamera, TheWheelCameraSnapsToAPlayerOffTheScreen) {
  w.Next().MoveTo(400, 300);
  w.Run(5);
  // On the screen the look-at point eases: it is not above the player.
  w.PlacePlayer({100, 0, 0});
  w.Frame();
  EXPECT_NE(w.Camera().GetTarget().GetPosition(), D3DXVECTOR3(100, 0, 120));
  w.PlacePlayer({5000, 0, 0});
  w.Frame();
  EXPECT_EQ(w.Camera().GetTarget().GetPosition(), D3DXVECTOR3(5000, 0, 120));
  ExpectCameraAtYaw(w, "snapped");
}

TEST_F(FollowCamera, TheEdgeStripsTurnTheCameraAndPullTheCursorBack) {
  w.World().SetCameraMode(false);
  w.Next().MoveTo(400, 300);
  w.Run(10);
  float yaw = w.World().GetTargetYaw();
  struct Case {
    int x, after;
    float turn;
  };
  for (const Case& c : {Case{50, 56, -0.06f}, Case{5, 15, -0.06f}, Case{750, 744, 0.06f}, Case{400, 400, 0.0f}}) {
    w.Next().MoveTo(c.x, 300).Wheel(2);  // the wheel is not read
    w.Frame();
    EXPECT_NEAR(w.World().GetTargetYaw(), yaw + c.turn, 1e-5f) << c.x;
    EXPECT_EQ(Nembra::g_pMouse->GetX(), c.after) << c.x;
    yaw = w.World().GetTargetYaw();
  }
  ExpectCameraAtYaw(w, "edge");
}

TEST_F(FollowCamera, TheEdgeCameraFollowsAPlayerJustOffTheScreenAndSnapsBeyondTheMargin) {
  w.World().SetCameraMode(false);
  w.Next().MoveTo(400, 300);
  w.Run(20);
  // 200 pixels beyond the right edge: still followed.
  D3DXVECTOR3 at = GroundUnder(1000, 300, 0);
  w.PlacePlayer(at);
  w.Frame();
  EXPECT_NE(w.Camera().GetTarget().GetPosition(), at + D3DXVECTOR3(0, 0, 120));
  // 300 pixels beyond: snapped above the player.
  w.PlacePlayer({0, 0, 0});
  w.Run(30);
  at = GroundUnder(1100, 300, 0);
  w.PlacePlayer(at);
  w.Frame();
  ExpectNear(w.Camera().GetTarget().GetPosition(), at + D3DXVECTOR3(0, 0, 120), 1e-3f, "snapped");
  // In the wheel camera 200 pixels off is already off.
  w.World().SetCameraMode(true);
  w.PlacePlayer({0, 0, 0});
  w.Run(30);
  at = GroundUnder(1000, 300, 0);
  w.PlacePlayer(at);
  w.Frame();
  ExpectNear(w.Camera().GetTarget().GetPosition(), at + D3DXVECTOR3(0, 0, 120), 1e-3f, "wheel camera");
}

TEST_F(FollowCamera, ThePlayerLightStandsAboveAndBehindThePlayer) {
  Nembra::CPointLight* light = w.World().GetPlayerLight();
  ASSERT_NE(light, nullptr);
  const auto& r = light->GetRecord();
  EXPECT_EQ((std::vector<float>{r.Range, r.Attenuation0, r.Attenuation1, r.Attenuation2}),
            (std::vector<float>{1600.0f, 0.5f, 0.0005f, 0.0000005f}));
  EXPECT_EQ(light->GetPosition(), D3DXVECTOR3(0, 0, 300));
  w.Frame();
  ExpectNear(light->GetPosition(), {106.07f, -106.07f, 300.0f}, 0.01f, "at the origin");
  w.PlacePlayer({1000, 500, 0});
  w.Frame();
  ExpectNear(light->GetPosition(), {1106.07f, 393.93f, 300.0f}, 0.01f, "moved");
}

}  // namespace
