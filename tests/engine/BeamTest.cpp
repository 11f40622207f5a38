#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/effects/Beam.h"
#include "engine/particles/ParticleEmitter.h"
#include "engine/scene/Camera.h"
#include "engine/scene/GeometrySet.h"
#include "engine/scene/SceneManager.h"
#include "FxDevice.h"

using namespace Nembra;
using namespace platform;

namespace {

void ExpectVertex(const PARTICLE_VERTEX& v, float x, float y, float z) {
  EXPECT_NEAR(v.x, x, 1e-4f);
  EXPECT_NEAR(v.y, y, 1e-4f);
  EXPECT_NEAR(v.z, z, 1e-4f);
}

// The four corners of a beam's strip.
void ExpectStrip(const PARTICLE_VERTEX* v, std::initializer_list<D3DXVECTOR3> corners) {
  for (const D3DXVECTOR3& c : corners) ExpectVertex(*v++, c.x, c.y, c.z);
}

class BeamTest : public fxtest::DeviceFixture {};

}  // namespace

TEST_F(BeamTest, FlatBeamIsLaidOutOnceFromItsOwnPosition) {
  CBeam beam;
  beam.Create("Laser.png", 100.0f, 20.0f, D3DXVECTOR3(1, 0, 0), false);
  const PARTICLE_VERTEX* v = beam.GetVertices();
  ExpectStrip(v, {{0, -10, 0}, {0, 10, 0}, {-100, -10, 0}, {-100, 10, 0}});
  EXPECT_EQ(v[0].u, 1.0f);
  EXPECT_EQ(v[1].v, 1.0f);
  EXPECT_EQ(v[2].u, 0.0f);
  EXPECT_EQ(v[3].color, 0xFFFFFFFFu);
  // Later moves do not lay a flat beam out again.
  beam.SetPosition(50, 0, 0);
  beam.UpdateWorldMatrix();
  EXPECT_TRUE(beam.Draw());
  ExpectVertex(beam.GetVertices()[0], 0, -10, 0);
  CBeam placed;
  placed.SetPosition(5, 6, 7);  // the node's own position, before any world matrix
  placed.Create("Laser.png", 10.0f, 4.0f, D3DXVECTOR3(0, 1, 0), false);
  ExpectVertex(placed.GetVertices()[0], 7, 6, 7);
  ExpectVertex(placed.GetVertices()[3], 3, -4, 7);
}

TEST_F(BeamTest, StateBlockDrawsBlendedWithoutLightOrDepthWrites) {
  CBeam beam;
  beam.Create("Laser.png", 100.0f, 20.0f, D3DXVECTOR3(1, 0, 0), false);
  CShader* block = beam.GetStateBlock();
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->GetName(), CBeam::STATE_BLOCK_NAME);
  const std::pair<D3DRENDERSTATETYPE, DWORD> states[] = {{D3DRS_LIGHTING, 0u}, {D3DRS_ALPHABLENDENABLE, 1u},
                                                         {D3DRS_ZWRITEENABLE, 0u}, {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
                                                         {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}};
  for (const auto& [state, value] : states) EXPECT_EQ(block->GetRenderState(state).value, value) << state;
  EXPECT_EQ(block->GetSamplerState(0, D3DSAMP_MIPFILTER).value, D3DTEXF_LINEAR);
  EXPECT_TRUE(block->GetSamplerState(0, D3DSAMP_MAGFILTER).defined);
  EXPECT_EQ(beam.GetTextureSet().GetCount(), 1u);
  EXPECT_EQ(beam.GetTextureSet().GetTexture(0), g_pTextureFactory->GetDefault());
  {
    CBeam second;
    second.Create("Laser.png", 1.0f, 1.0f, D3DXVECTOR3(0, 0, 1), true);
    EXPECT_EQ(second.GetStateBlock(), block);
    EXPECT_EQ(block->GetRefCount(), 2u);
  }
  EXPECT_EQ(block->GetRefCount(), 1u);  // given back by the destructor
}

TEST_F(BeamTest, RenderCopiesTheStripAndSkipsWithoutABuffer) {
  CBeam beam;
  beam.Create("Laser.png", 100.0f, 20.0f, D3DXVECTOR3(1, 0, 0), false);
  ASSERT_TRUE(beam.HasBuffer());
  m_Recorder->ClearLog();
  EXPECT_TRUE(beam.Render());
  ASSERT_EQ(m_Recorder->Draws().size(), 1u);
  const auto& draw = m_Recorder->Draws()[0];
  EXPECT_EQ(draw.type, D3DPT_TRIANGLESTRIP);
  EXPECT_EQ(draw.primitiveCount, 2u);
  EXPECT_EQ(draw.fvf, PARTICLE_FVF);
  ASSERT_GE(draw.vertices.size(), 96u);
  PARTICLE_VERTEX copied[4];
  std::memcpy(copied, draw.vertices.data(), sizeof copied);
  ExpectVertex(copied[2], -100, -10, 0);
  headless::Controls().failBufferCreation = true;
  CBeam broken;
  broken.Create("Laser.png", 100.0f, 20.0f, D3DXVECTOR3(1, 0, 0), false);
  headless::Controls().failBufferCreation = false;
  EXPECT_FALSE(broken.HasBuffer());
  m_Recorder->ClearLog();
  EXPECT_FALSE(broken.Render());
  EXPECT_TRUE(m_Recorder->Log().empty());
}

TEST_F(BeamTest, CameraFacingBeamTurnsToTheActiveCameraEveryFrame) {
  CSceneManager scene;
  CGeometrySetRegistry registry;
  g_pSceneManager = &scene;
  g_pGeometrySetRegistry = &registry;
  CCamera camera;
  camera.SetPosition(0, -100, 0);
  camera.GetTarget().SetPosition(0, 0, 0);
  scene.SetCamera(&camera);
  CBeam beam;
  beam.Create("Laser.png", 100.0f, 20.0f, D3DXVECTOR3(1, 0, 0), true);
  beam.UpdateWorldMatrix();
  beam.OnUpdate();
  ExpectStrip(beam.GetVertices(), {{0, 0, -10}, {0, 0, 10}, {-100, 0, -10}, {-100, 0, 10}});
  EXPECT_EQ(registry.GetQueueSize(CGeometrySetRegistry::QUEUE_BEAMS), 1u);
  // Owners change the public fields between frames; the beam follows.
  beam.length = 50.0f;
  beam.SetPosition(0, 0, 30);
  beam.UpdateWorldMatrix();
  beam.OnUpdate();
  ExpectVertex(beam.GetVertices()[3], -50, 0, 40);
  // Looking along the beam leaves no side: a zero-width strip, no NaN.
  beam.direction = D3DXVECTOR3(0, -1, 0);
  beam.OnUpdate();
  for (int i = 0; i < 4; ++i) ASSERT_FALSE(std::isnan(beam.GetVertices()[i].x));
  EXPECT_FLOAT_EQ(beam.GetVertices()[0].x, beam.GetVertices()[1].x);
  EXPECT_FLOAT_EQ(beam.GetVertices()[0].z, beam.GetVertices()[1].z);
  // An invisible beam keeps its vertices and is not submitted.
  registry.RenderBatches();
  const PARTICLE_VERTEX kept = beam.GetVertices()[0];
  beam.visible = false;
  beam.direction = D3DXVECTOR3(1, 0, 0);
  beam.OnUpdate();
  EXPECT_EQ(registry.GetQueueSize(CGeometrySetRegistry::QUEUE_BEAMS), 0u);
  EXPECT_EQ(beam.GetVertices()[0].z, kept.z);
  g_pSceneManager = nullptr;
  g_pGeometrySetRegistry = nullptr;
}

TEST_F(BeamTest, DeviceResetWithBeamsAndEmittersAlive) {
  CBeam beam;
  beam.Create("Laser.png", 100.0f, 20.0f, D3DXVECTOR3(1, 0, 0), false);
  CPointParticleEmitter emitter;
  EMITTER_PARAMS e;
  e.initialBurst = 30;
  e.emissionRate = 0.0f;
  e.life = 10.0f;
  ASSERT_TRUE(emitter.SetParams(e));
  emitter.Simulate(0.1f, D3DXVECTOR3(), D3DXMATRIX());
  const auto& list = m_Device->GetVolatileResources();
  ASSERT_EQ(std::count(list.begin(), list.end(), static_cast<CVolatileResource*>(&beam)), 1);
  const uint32_t buffers = m_Recorder->LiveBuffers();
  m_Recorder->LoseDevice();
  m_Recorder->MakeResettable();
  ASSERT_EQ(m_Device->Reset(), CGraphicsDevice::RESET_DONE);
  EXPECT_EQ(m_Recorder->LiveBuffers(), buffers);
  ExpectVertex(beam.GetVertices()[2], -100, -10, 0);
  EXPECT_EQ(emitter.GetLiveCount(), 30u);
  m_Recorder->ClearLog();
  EXPECT_TRUE(beam.Render());
  EXPECT_TRUE(emitter.Draw());
  EXPECT_EQ(m_Recorder->Stats().draws, 2u);
  EXPECT_EQ(m_Recorder->Draws().at(1).primitiveCount, 60u);
}
