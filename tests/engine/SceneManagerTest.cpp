#include <gtest/gtest.h>

#include "SceneFixture.h"

using namespace Nembra;
using scenetest::SceneTest;

namespace {
// View and projection matrices sent since the log was cleared.
std::pair<size_t, size_t> Sent(platform::headless::RecordingDevice* device) {
  std::pair<size_t, size_t> n{0, 0};
  for (const auto& line : device->Log()) n.first += line == "SetTransform 2", n.second += line == "SetTransform 3";
  return n;
}
using Counts = std::pair<size_t, size_t>;
}  // namespace

TEST_F(SceneTest, ManagerLinksNodesAndRefusesNulls) {
  CSceneManager& scene = *g_pSceneManager;
  EXPECT_FALSE(scene.AddNode(nullptr));
  EXPECT_FALSE(scene.AddTargetNode(nullptr));
  EXPECT_FALSE(scene.RemoveNode(nullptr));
  EXPECT_FALSE(scene.SetCamera(nullptr));
  EXPECT_EQ(scene.GetCamera(), &camera);  // the camera stays
  CSceneNode parent, child, loose;
  EXPECT_TRUE(scene.AddNode(&parent));
  EXPECT_TRUE(scene.AddNode(&child, &parent));
  EXPECT_EQ(parent.GetParent(), scene.GetRoot());
  EXPECT_EQ(child.GetParent(), &parent);
  // Never below itself: refused, and said so.
  EXPECT_FALSE(scene.AddNode(&parent, &child));
  EXPECT_FALSE(scene.AddNode(&child, &child));
  EXPECT_EQ(parent.GetParent(), scene.GetRoot());
  EXPECT_EQ(child.GetParent(), &parent);
  EXPECT_TRUE(scene.RemoveNode(&loose));  // no parent: nothing to do
  EXPECT_TRUE(scene.RemoveNode(&parent));
  EXPECT_EQ(parent.GetParent(), nullptr);
  EXPECT_TRUE(parent.GetChildren().empty());
  EXPECT_EQ(child.GetParent(), &parent);
  // A target node and its target are siblings under the same parent.
  CTargetNode looker;
  EXPECT_TRUE(scene.AddTargetNode(&looker, &child));
  ASSERT_EQ(child.GetChildren().size(), 2u);
  EXPECT_EQ(child.GetChildren().front(), &looker);
  EXPECT_EQ(child.GetChildren().back(), &looker.GetTarget());
}

TEST_F(SceneTest, CameraSendsItsMatricesOnlyWhenTheyChange) {
  g_pSceneManager->Update();
  ASSERT_TRUE(g_pSceneManager->Render());
  EXPECT_EQ(Sent(device), Counts(1, 1));
  D3DXMATRIX view;
  D3DXVECTOR3 eye(0, -100, 0), at(0, 0, 0), up(0, 0, 1);
  D3DXMatrixLookAtRH(&view, &eye, &at, &up);
  EXPECT_EQ(device->Transform(platform::D3DTS_VIEW), view);
  // Nothing changed: nothing sent, also through the culling tests.
  device->ClearLog();
  g_pSceneManager->Update();
  EXPECT_TRUE(camera.IsSphereVisible({0, 0, 0}, 1.0f));
  g_pSceneManager->Render();
  EXPECT_EQ(Sent(device), Counts(0, 0));
  // The aspect alone: one projection, no view, and a new frustum.
  device->ClearLog();
  const D3DXVECTOR3 side(700.0f, 900.0f, 0.0f);
  EXPECT_FALSE(camera.IsSphereVisible(side, 1.0f));
  camera.SetAspect(2.0f);
  g_pSceneManager->Update();
  g_pSceneManager->Render();
  EXPECT_EQ(Sent(device), Counts(0, 1));
  EXPECT_TRUE(camera.IsSphereVisible(side, 1.0f));
  EXPECT_FALSE(camera.IsSphereVisible({0.0f, 900.0f, 700.0f}, 1.0f));  // only the sides widen
  // Only the target moves: a new view in the next Apply.
  device->ClearLog();
  camera.GetTarget().SetPosition(100, 0, 0);
  g_pSceneManager->Update();
  g_pSceneManager->Render();
  EXPECT_EQ(Sent(device).first, 1u);
  EXPECT_NE(device->Transform(platform::D3DTS_VIEW), view);
  // After a device reset the game marks both dirty: both are sent again.
  device->ClearLog();
  camera.SetDirty();
  g_pSceneManager->Render();
  EXPECT_EQ(Sent(device), Counts(1, 1));
}

TEST_F(SceneTest, AFailedTransformIsTriedAgainByTheNextApply) {
  ASSERT_TRUE(camera.Apply());
  const D3DXVECTOR3 side(700.0f, 900.0f, 0.0f);
  ASSERT_FALSE(camera.IsSphereVisible(side, 1.0f));
  platform::headless::Controls().failSetTransform = true;
  // The view fails first: Apply stops there, both stay to be sent.
  camera.GetTarget().SetPosition(0, 0, 10);
  camera.SetAspect(2.0f);
  g_pSceneManager->Update();
  device->ClearLog();
  EXPECT_FALSE(camera.Apply());
  EXPECT_TRUE(camera.IsViewDirty());
  EXPECT_TRUE(camera.IsProjectionDirty());
  EXPECT_EQ(Sent(device).second, 0u);
  // Culling keeps the planes it has.
  EXPECT_FALSE(camera.IsSphereVisible(side, 1.0f));
  platform::headless::Controls().failSetTransform = false;
  device->ClearLog();
  EXPECT_TRUE(camera.Apply());
  EXPECT_FALSE(camera.IsViewDirty());
  EXPECT_FALSE(camera.IsProjectionDirty());
  EXPECT_EQ(Sent(device), Counts(1, 1));
  EXPECT_TRUE(camera.IsSphereVisible(side, 1.0f));
}

TEST_F(SceneTest, ACameraThatGoesAwayIsNoLongerActive) {
  auto* other = new CCamera;
  g_pSceneManager->AddTargetNode(other);
  ASSERT_TRUE(g_pSceneManager->SetCamera(other));
  delete other;
  EXPECT_EQ(g_pSceneManager->GetCamera(), nullptr);
  Frame();  // nothing left pointing at it
  // Deleting a camera that is not the active one leaves the active one.
  ASSERT_TRUE(g_pSceneManager->SetCamera(&camera));
  delete new CCamera;
  EXPECT_EQ(g_pSceneManager->GetCamera(), &camera);
}
