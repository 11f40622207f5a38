#include <gtest/gtest.h>

#include <vector>

#include "SceneFixture.h"
#include "engine/scene/Light.h"

using namespace Nembra;
using scenetest::SceneTest;

namespace {

// A point placed `outside` units outside the camera's right plane, 1000
// units in front of the default eye.
D3DXVECTOR3 OutsideRightPlane(CCamera& camera, float outside) {
  camera.Apply();
  const D3DXPLANE& p = camera.GetPlane(CCamera::PLANE_RIGHT);
  const D3DXVECTOR3 ahead(0.0f, 900.0f, 0.0f);
  const float d = p.a * ahead.x + p.b * ahead.y + p.c * ahead.z + p.d;
  return ahead - D3DXVECTOR3(p.a, p.b, p.c) * (d + outside);
}

}  // namespace

TEST_F(SceneTest, LightsGetGrowingIndicesAndAreSwitchedOn) {
  CSceneManager& scene = *g_pSceneManager;
  CLight* a = scene.CreateDirectionalLight();
  CLight* b = scene.CreatePointLight();
  CLight* c = scene.CreateSpotLight();
  ASSERT_TRUE(a && b && c);
  const CLight* made[] = {a, b, c};
  const platform::D3DLIGHTTYPE types[] = {platform::D3DLIGHT_DIRECTIONAL, platform::D3DLIGHT_POINT,
                                          platform::D3DLIGHT_SPOT};
  for (uint32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(made[i]->GetIndex(), i);
    EXPECT_TRUE(device->LightEnabled(i)) << i;
    EXPECT_EQ(device->Light(i).Type, types[i]) << i;
  }
  EXPECT_FLOAT_EQ(device->Light(1).Range, 100.0f);
  EXPECT_FLOAT_EQ(device->Light(1).Attenuation1, 0.5f);
  // The light and its target hang under the root.
  EXPECT_EQ(a->GetParent(), scene.GetRoot());
  EXPECT_EQ(a->GetTarget().GetParent(), scene.GetRoot());
  scene.DeleteLight(b);
  EXPECT_FALSE(device->LightEnabled(1));
  EXPECT_EQ(scene.GetLights().size(), 2u);
  CLight* d = scene.CreatePointLight();
  EXPECT_EQ(d->GetIndex(), 3u);  // indices are never given out again
  // A light the manager does not own is left alone.
  CSceneManager other;
  CLight* foreign = other.CreatePointLight();
  scene.DeleteLight(foreign);
  EXPECT_EQ(other.GetLights().size(), 1u);
  EXPECT_EQ(scene.GetLights().size(), 3u);
}

TEST_F(SceneTest, DeleteAllLightsEmptiesTheLightsAndTheTree) {
  CSceneManager& scene = *g_pSceneManager;
  CSceneNode holder, below;
  scene.AddNode(&holder);
  scene.AddNode(&below, &holder);
  scene.CreatePointLight(&holder);
  scene.CreateDirectionalLight();
  scene.DeleteAllLights();
  EXPECT_TRUE(scene.GetLights().empty());
  EXPECT_TRUE(scene.GetRoot()->GetChildren().empty());
  EXPECT_TRUE(holder.GetChildren().empty());
  EXPECT_FALSE(device->LightEnabled(0));
  EXPECT_FALSE(device->LightEnabled(1));
  EXPECT_EQ(scene.GetNextLightIndex(), 2u);
}

TEST_F(SceneTest, PointLightSwitchesWithItsRangeSphereInView) {
  CSceneManager& scene = *g_pSceneManager;
  CPointLight* light = scene.CreatePointLight();
  CDirectionalLight* sun = scene.CreateDirectionalLight();
  sun->SetPosition(0.0f, -5000.0f, 0.0f);  // far behind the eye
  // 150 outside: the test radius is range + 100 = 200, so still in view.
  light->SetPosition(OutsideRightPlane(camera, 150.0f));
  Frame();
  EXPECT_TRUE(light->IsOn());
  EXPECT_TRUE(device->LightEnabled(light->GetIndex()));
  light->SetPosition(OutsideRightPlane(camera, 250.0f));
  Frame();
  EXPECT_FALSE(light->IsOn());
  EXPECT_FALSE(device->LightEnabled(light->GetIndex()));
  EXPECT_TRUE(device->LightEnabled(sun->GetIndex()));  // never culled
  // The camera turns towards it: on again.
  camera.GetTarget().SetPosition(light->GetPosition());
  Frame();
  EXPECT_TRUE(light->IsOn());
  EXPECT_TRUE(device->LightEnabled(light->GetIndex()));
  // An owner's Disable does not survive while the light is in view.
  light->Disable();
  Frame();
  EXPECT_TRUE(light->IsOn());
}

TEST_F(SceneTest, WithoutACameraPointLightsStayOn) {
  CSceneManager lonely;
  CSceneManager* saved = g_pSceneManager;
  g_pSceneManager = &lonely;
  CPointLight* light = lonely.CreatePointLight();
  light->SetPosition(0.0f, -100000.0f, 0.0f);
  lonely.Update();
  EXPECT_TRUE(light->IsOn());
  EXPECT_TRUE(device->LightEnabled(light->GetIndex()));
  g_pSceneManager = saved;
}

TEST_F(SceneTest, MovedLightsAreSentAgainInTheSameFrame) {
  CSceneManager& scene = *g_pSceneManager;
  CSceneNode carrier;
  scene.AddNode(&carrier);
  CSpotLight* light = scene.CreateSpotLight(&carrier);
  carrier.SetPosition(10.0f, 0.0f, 0.0f);
  light->SetPosition(0.0f, 0.0f, 100.0f);
  light->GetTarget().SetPosition(0.0f, 0.0f, 0.0f);
  Frame();
  platform::D3DLIGHT9 sent = device->Light(light->GetIndex());
  EXPECT_FLOAT_EQ(sent.Position.x, 10.0f);
  EXPECT_FLOAT_EQ(sent.Position.z, 100.0f);
  EXPECT_FLOAT_EQ(sent.Direction.z, -1.0f);
  // Only the target moves.
  light->GetTarget().SetPosition(0.0f, 100.0f, 100.0f);
  device->ClearLog();
  Frame();
  sent = device->Light(light->GetIndex());
  EXPECT_NEAR(sent.Direction.y, 1.0f, 1e-6f);
  EXPECT_NEAR(sent.Direction.z, 0.0f, 1e-6f);
  // A still light is not sent again.
  device->ClearLog();
  Frame();
  EXPECT_EQ(device->Stats().lightCalls, 0u);
  // Changes reach the device on Commit.
  light->SetDiffuseColor(D3DXCOLOR(1.0f, 0.0f, 0.0f, 1.0f));
  light->SetRange(300.0f);
  light->Commit();
  EXPECT_FLOAT_EQ(device->Light(light->GetIndex()).Diffuse.g, 0.0f);
  EXPECT_FLOAT_EQ(device->Light(light->GetIndex()).Range, 300.0f);
}

TEST_F(SceneTest, RestoreLightsAfterAResetSendsEveryLightAgain) {
  CSceneManager& scene = *g_pSceneManager;
  CLight* on = scene.CreateDirectionalLight();
  CLight* off = scene.CreateDirectionalLight();
  on->SetPosition(5.0f, 6.0f, 7.0f);
  off->Disable();
  Frame();
  // The device wrapper's reset makes the device forget its lights and has
  // the scene send them again.
  device->LoseDevice();
  device->MakeResettable();
  device->ClearLog();
  ASSERT_EQ(g_pGraphicsDevice->Reset(), CGraphicsDevice::RESET_DONE);
  EXPECT_GT(device->Stats().lightCalls, 0u);
  EXPECT_TRUE(device->LightEnabled(on->GetIndex()));
  EXPECT_FALSE(device->LightEnabled(off->GetIndex()));
  EXPECT_FLOAT_EQ(device->Light(on->GetIndex()).Position.x, 5.0f);
  EXPECT_FLOAT_EQ(device->Light(on->GetIndex()).Position.z, 7.0f);
}

TEST_F(SceneTest, LightsPastTheDevicesLimitAreLitWhenASlotFrees) {
  CSceneManager& scene = *g_pSceneManager;
  std::vector<CLight*> lights;
  for (uint32_t i = 0; i < platform::MAX_ACTIVE_LIGHTS + 2; ++i) lights.push_back(scene.CreateDirectionalLight());
  auto lit = [&](size_t i) { return device->LightEnabled(lights[i]->GetIndex()); };
  // The device lights eight; the other two stay on, waiting, unlit.
  for (size_t i = 0; i < lights.size(); ++i) {
    EXPECT_TRUE(lights[i]->IsOn()) << i;
    EXPECT_EQ(lit(i), i < platform::MAX_ACTIVE_LIGHTS) << i;
  }
  // Frames while every slot is taken ask the device for nothing more.
  Frame();
  device->ClearLog();
  Frame();
  EXPECT_EQ(device->Stats().lightCalls, 0u);
  // One light switched off frees a slot: the first waiting light takes it
  // in the next frame, the second keeps waiting.
  lights[2]->Disable();
  Frame();
  EXPECT_TRUE(lit(8));
  EXPECT_FALSE(lit(9));
  // Deleting a light frees another.
  scene.DeleteLight(lights[0]);
  Frame();
  EXPECT_TRUE(lit(9));
  // Switched on again with every slot taken: on, unlit, and lit as soon
  // as a slot frees.
  lights[2]->Enable();
  EXPECT_TRUE(lights[2]->IsOn());
  EXPECT_FALSE(lit(2));
  lights[5]->Disable();
  Frame();
  EXPECT_TRUE(lit(2));
  EXPECT_FALSE(lit(5));
}
