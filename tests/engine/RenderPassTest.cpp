#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "SceneFixture.h"
#include "engine/resources/Shader.h"
#include "engine/resources/Texture.h"
#include "engine/scene/Billboard.h"
#include "engine/scene/RenderEffect.h"

using namespace Nembra;
using scenetest::SceneTest;

namespace {

// A set that runs a step of the test's own when drawn.
struct StepSet : CGeometrySet {
  explicit StepSet(std::function<void()> s = {}) : step(std::move(s)) {}
  void Draw() override { step(); }
  std::function<void()> step;
};

platform::DWORD StateNow(platform::D3DRENDERSTATETYPE s) { return platform::headless::CurrentDevice()->RenderState(s); }

class CountingEffect : public CRenderEffect {
 public:
  void Update() override { ++updates; }
  void Begin() override { Update(), ++begins; }
  void End() override { ++ends; }
  int updates = 0, begins = 0, ends = 0;
};

// An effect that sets a texture factor of its own inside its bracket.
struct FactorEffect : CRenderEffect {
  void Update() override {}
  void Begin() override { g_pGraphicsDevice->SetRenderState(platform::D3DRS_TEXTUREFACTOR, 0xFF0000FFu); }
  void End() override {}
};

void AddNodes(std::initializer_list<CSceneNode*> nodes) {
  for (CSceneNode* n : nodes) g_pSceneManager->AddNode(n);
}

}  // namespace

TEST_F(SceneTest, EmptyFrameStillClearsTargetAndDepth) {
  EXPECT_TRUE(g_pSceneManager->Render());
  EXPECT_EQ(device->Stats().clears, 1u);
  const auto both = platform::D3DCLEAR_TARGET | platform::D3DCLEAR_ZBUFFER;
  EXPECT_EQ(device->LastClearFlags() & both, both);
  EXPECT_EQ(device->Stats().draws, 0u);
  g_pSceneManager->SetClearColor(D3DXCOLOR(1.0f, 0.0f, 0.0f, 1.0f));
  EXPECT_TRUE(g_pSceneManager->Render());
  EXPECT_EQ(device->LastClearColor(), 0xFFFF0000u);
}

TEST_F(SceneTest, BatchesApplyEachBlockMaterialAndTextureSetOnce) {
  CShader block;
  block.SetName("OPAQUE");
  block.SetRenderState(platform::D3DRS_ZWRITEENABLE, 0);
  CTexture texture;
  texture.SetName("WALL.PNG");
  CTextureSet textures, sameNames;  // another set with the same texture: same batch
  for (CTextureSet* t : {&textures, &sameNames}) t->Resize(1), t->SetTexture(0, &texture);
  std::vector<std::string> log;
  StepSet a([&] { log.push_back("a"); }), b([&] { log.push_back("b"); }), c([&] { log.push_back("c"); });
  for (StepSet* s : {&a, &b, &c}) {
    s->stateBlock = &block;
    s->textureSet = s == &c ? &sameNames : &textures;
    s->batchable = true;
  }
  D3DXMATRIX world;
  D3DXMatrixTranslation(&world, 1.0f, 2.0f, 3.0f);
  b.worldMatrix = &world;
  CGeometrySetRegistry& registry = *g_pGeometrySetRegistry;
  EXPECT_FALSE(registry.AddSet(nullptr));
  for (StepSet* s : {&a, &b, &c}) ASSERT_TRUE(registry.AddSet(s));
  EXPECT_EQ(registry.GetStateBlockBatchCount(), 1u);
  EXPECT_EQ(registry.GetMaterialBatchCount(), 1u);
  EXPECT_EQ(registry.GetTextureBatchCount(), 1u);
  EXPECT_EQ(registry.GetBatchedSetCount(), 3u);
  device->ClearLog();
  EXPECT_TRUE(registry.RenderBatches());
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(device->Stats().textureBinds, 1u);
  EXPECT_EQ(device->RenderState(platform::D3DRS_ZWRITEENABLE), 0u);
  EXPECT_EQ(device->Transform(platform::D3DTS_WORLD)._43, 0.0f);  // c: identity after b
  // Everything was emptied: the next frame draws nothing.
  log.clear();
  device->ClearLog();
  registry.RenderBatches();
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(registry.GetBatchedSetCount(), 0u);
  EXPECT_EQ(device->Stats().textureBinds, 0u);
}

TEST_F(SceneTest, SortedSetsGetTheirBlockBackAfterASetThatChangedStates) {
  CShader block;
  block.SetName("NO_DEPTH_WRITE");
  block.SetRenderState(platform::D3DRS_ZWRITEENABLE, 0);
  // Each set notes the state it found, then leaves one of its own behind (as beams and particles may).
  std::vector<platform::DWORD> seen;
  const auto leave = [&] {
    seen.push_back(StateNow(platform::D3DRS_ZWRITEENABLE));
    g_pGraphicsDevice->SetRenderState(platform::D3DRS_ZWRITEENABLE, 1);
  };
  StepSet first(leave), second(leave), particles(leave);
  for (StepSet* set : {&first, &second, &particles}) set->stateBlock = &block;
  CSceneNode farNode, nearNode;
  farNode.SetPosition(0, 900, 0);
  nearNode.SetPosition(0, 300, 0);
  AddNodes({&farNode, &nearNode});
  g_pSceneManager->Update();
  ASSERT_TRUE(g_pGeometrySetRegistry->SubmitBeam(&farNode, &first));
  ASSERT_TRUE(g_pGeometrySetRegistry->SubmitBeam(&nearNode, &second));
  ASSERT_TRUE(g_pGeometrySetRegistry->SubmitParticleSystem(&nearNode, &particles));
  g_pSceneManager->Render();
  EXPECT_EQ(seen, (std::vector<platform::DWORD>{0u, 0u, 0u}));  // each with its block's value
}

namespace {

// Quads need a texture; an empty one binds nothing but is enough to draw.
class QuadTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    texture.SetName("MARK.PNG");
    block.SetName("QUADS");
  }
  BILLBOARD_DESC Billboard(bool upright) {
    BILLBOARD_DESC d;
    d.width = 10.0f;
    d.height = 20.0f;
    d.upright = upright ? 1 : 0;
    d.texture = &texture;
    d.stateBlock = &block;
    return d;
  }
  PLANE_SPRITE_DESC Plane() {
    PLANE_SPRITE_DESC d;
    d.width = 10.0f;
    d.height = 20.0f;
    d.texture = &texture;
    d.stateBlock = &block;
    return d;
  }
  // Translation rows of the quads drawn so far.
  std::vector<D3DXVECTOR3> DrawnAt() const {
    std::vector<D3DXVECTOR3> out;
    for (const auto& d : device->Draws()) out.emplace_back(d.world._41, d.world._42, d.world._43);
    return out;
  }
  CTexture texture;
  CShader block;
};

}  // namespace

TEST_F(QuadTest, BillboardsAtEqualDistancesKeepSubmissionOrderFarFirst) {
  CStaticBillboard boards[3];
  const D3DXVECTOR3 places[] = {{0, -80, 0}, {0, -90, 0}, {20, -100, 0}};  // squared 400, 100, 400
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(boards[i].Create(Billboard(false)));
    boards[i].SetPosition(places[i]);
    boards[i].GetBoundingSphere().radius = 100.0f;  // reaches past the near side
    g_pSceneManager->AddNode(&boards[i]);
  }
  Frame();
  EXPECT_EQ(DrawnAt(), (std::vector<D3DXVECTOR3>{places[0], places[2], places[1]}));
  for (const auto& d : device->Draws()) {
    EXPECT_EQ(d.type, platform::D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(d.primitiveCount, 2u);
    EXPECT_EQ(d.fvf, QUAD_FVF);
  }
  device->ClearLog();
  Frame();  // the next frame draws them again, not twice
  EXPECT_EQ(device->Draws().size(), 3u);
}

TEST_F(QuadTest, EveryQueueIsDrawnBeforeTheNextWhateverTheDistances) {
  std::vector<std::string> log;
  CPlaneSprite farPlane, nearPlane;
  CStaticBillboard nearBoard;
  ASSERT_TRUE(farPlane.Create(Plane()));
  ASSERT_TRUE(nearPlane.Create(Plane()));
  ASSERT_TRUE(nearBoard.Create(Billboard(true)));
  farPlane.SetPosition(0, 3000, 0);
  nearPlane.SetPosition(0, 200, 0);
  nearBoard.SetPosition(0, 100, 0);
  CSceneNode nearNode, farNode;
  farNode.SetPosition(0, 5000, 0);
  AddNodes({&farPlane, &nearPlane, &nearBoard, &nearNode, &farNode});
  // Each set logs its name with the number of draws the device had seen before it.
  const auto marker = [&](std::string name) {
    return [&log, this, name] { log.push_back(name + "@" + std::to_string(device->Draws().size())); };
  };
  StepSet beamNear(marker("beam near")), beamFar(marker("beam far")), particles(marker("particles"));
  g_pSceneManager->Update();
  ASSERT_TRUE(g_pGeometrySetRegistry->SubmitBeam(&nearNode, &beamNear));
  ASSERT_TRUE(g_pGeometrySetRegistry->SubmitBeam(&farNode, &beamFar));
  ASSERT_TRUE(g_pGeometrySetRegistry->SubmitParticleSystem(&farNode, &particles));
  EXPECT_FALSE(g_pGeometrySetRegistry->SubmitBeam(&nearNode, nullptr));
  EXPECT_FALSE(g_pGeometrySetRegistry->SubmitParticleSystem(nullptr, &particles));
  EXPECT_EQ(g_pGeometrySetRegistry->GetQueueSize(CGeometrySetRegistry::QUEUE_TRANSPARENT), 2u);
  EXPECT_EQ(g_pGeometrySetRegistry->GetQueueSize(CGeometrySetRegistry::QUEUE_BILLBOARDS), 1u);
  g_pSceneManager->Render();
  // Both planes (far first), then the beams (far first), the particles, and the nearest of all, the billboard, last.
  EXPECT_EQ(log, (std::vector<std::string>{"beam far@2", "beam near@2", "particles@2"}));
  const auto at = DrawnAt();
  ASSERT_EQ(at.size(), 3u);
  EXPECT_EQ(std::vector<float>({at[0].y, at[1].y, at[2].y}), std::vector<float>({3000, 200, 100}));
  // The three quads share the one texture, each in its own set equal by content: bound once.
  EXPECT_EQ(device->Stats().textureBinds, 1u);
  EXPECT_EQ(g_pGeometrySetRegistry->GetQueueSize(CGeometrySetRegistry::QUEUE_TRANSPARENT), 0u);
}

TEST_F(QuadTest, FailedOrHiddenQuadsSubmitNothing) {
  CStaticBillboard noTexture, hidden, culled, noBuffer;
  BILLBOARD_DESC bad = Billboard(false);
  bad.texture = nullptr;
  EXPECT_FALSE(noTexture.Create(bad));
  EXPECT_EQ(noTexture.GetGeometrySet(), nullptr);
  CPlaneSprite noPlane;
  PLANE_SPRITE_DESC badPlane = Plane();
  badPlane.texture = nullptr;
  EXPECT_FALSE(noPlane.Create(badPlane));
  const float rect[4] = {0, 0, 1, 1};
  EXPECT_FALSE(CPlaneSprite().SetTextureRect(rect));  // nothing to write into
  ASSERT_TRUE(hidden.Create(Billboard(false)));
  hidden.SetVisible(false);
  ASSERT_TRUE(culled.Create(Billboard(false)));
  culled.SetPosition(0, -1000, 0);  // behind the eye
  CountingEffect effect;
  culled.SetRenderEffect(&effect);
  AddNodes({&noTexture, &noPlane, &hidden, &culled});
  Frame();
  EXPECT_EQ(device->Stats().draws, 0u);
  EXPECT_TRUE(culled.IsCulled());
  EXPECT_FALSE(hidden.IsCulled());
  EXPECT_EQ(effect.updates, 1);  // its clock runs on while unseen
  EXPECT_EQ(effect.begins, 0);
  culled.SetPosition(0, 500, 0);  // in view again: drawn inside the effect's bracket
  Frame();
  EXPECT_EQ(device->Stats().draws, 1u);
  EXPECT_EQ(effect.begins, 1);
  EXPECT_EQ(effect.ends, 1);
  // Device buffer creation failing makes Create fail cleanly.
  platform::headless::Controls().failBufferCreation = true;
  EXPECT_FALSE(noBuffer.Create(Billboard(false)));
  EXPECT_EQ(noBuffer.GetGeometrySet(), nullptr);
  platform::headless::Controls().failBufferCreation = false;
}

TEST_F(QuadTest, CullingScalesTheRadiusByTheLargestOwnScale) {
  CStaticBillboard board;
  ASSERT_TRUE(board.Create(Billboard(false)));
  board.GetBoundingSphere().radius = 10.0f;
  board.SetScale(1.0f, 3.0f, 2.0f);
  g_pSceneManager->AddNode(&board);
  camera.Update();
  camera.Apply();
  // Just outside the right plane by 29 and by 31 units.
  const D3DXPLANE& p = camera.GetPlane(CCamera::PLANE_RIGHT);
  const D3DXVECTOR3 ahead(0, 900, 0), n(p.a, p.b, p.c);
  const float d = p.a * ahead.x + p.b * ahead.y + p.c * ahead.z + p.d;
  const auto culledAt = [&](float out) {
    board.SetPosition(ahead - n * (d + out));
    Frame();
    return board.IsCulled();
  };
  EXPECT_FALSE(culledAt(29.0f));
  EXPECT_TRUE(culledAt(31.0f));
  board.SetScale(-3.0f, 1.0f, 1.0f);  // mirrored three times as wide: still 30 across
  EXPECT_FALSE(culledAt(29.0f));
}

TEST_F(QuadTest, TextureRectangleMapsTopLeftToTheThirdVertex) {
  CPlaneSprite plane;
  PLANE_SPRITE_DESC desc = Plane();
  desc.textureRect[2] = desc.textureRect[3] = 0.5f;
  ASSERT_TRUE(plane.Create(desc));
  const QUAD_VERTEX* v = plane.GetQuad().vertices;
  EXPECT_EQ(v[2].u, 0.0f);
  EXPECT_EQ(v[2].v, 0.0f);
  EXPECT_EQ(v[1].u, 0.5f);
  EXPECT_EQ(v[1].v, 0.5f);
  EXPECT_EQ(v[2].z, 10.0f);  // the top-left corner of a quad in the x-z plane
  EXPECT_EQ(v[2].x, -5.0f);
  EXPECT_EQ(v[0].color, 0xFFFFFFFFu);
  // The buffer holds what the vertices say.
  plane.SetPosition(0, 500, 0);
  g_pSceneManager->AddNode(&plane);
  Frame();
  ASSERT_EQ(device->Draws().size(), 1u);
  const auto& bytes = device->Draws()[0].vertices;
  ASSERT_GE(bytes.size(), 4 * sizeof(QUAD_VERTEX));
  QUAD_VERTEX drawn[4];
  std::memcpy(drawn, bytes.data(), sizeof drawn);
  EXPECT_EQ(drawn[2].u, 0.0f);
  EXPECT_EQ(drawn[3].u, 0.5f);
  EXPECT_EQ(drawn[0].v, 0.5f);
}

TEST_F(QuadTest, PlaneSpritesTurnWithTheSumOfTheirRotations) {
  CSceneNode parent;
  CPlaneSprite plane;
  ASSERT_TRUE(plane.Create(Plane()));
  g_pSceneManager->AddNode(&parent);
  g_pSceneManager->AddNode(&plane, &parent);
  parent.SetPosition(0, 500, 0);
  parent.SetRotationZ(0.5f);
  plane.SetRotationZ(0.25f);
  plane.SetScale(2.0f);
  Frame();
  ASSERT_EQ(device->Draws().size(), 1u);
  const D3DXMATRIX& m = device->Draws()[0].world;
  EXPECT_NEAR(m._11, 2.0f * std::cos(0.75f), 1e-5f);
  EXPECT_NEAR(m._12, 2.0f * std::sin(0.75f), 1e-5f);
  EXPECT_NEAR(m._42, 500.0f, 1e-3f);
  EXPECT_EQ(plane.GetLocalMatrix(), m);  // the drawing matrix stays in the local-matrix slot for the frame
}

TEST_F(QuadTest, BillboardsFaceTheOrbitingCamera) {
  CStaticBillboard screen, upright;
  ASSERT_TRUE(screen.Create(Billboard(false)));
  ASSERT_TRUE(upright.Create(Billboard(true)));
  AddNodes({&screen, &upright});
  screen.GetBoundingSphere().radius = upright.GetBoundingSphere().radius = 50.0f;
  for (int step = 0; step < 8; ++step) {
    const float a = step * D3DX_PI / 4.0f;
    camera.SetPosition(400.0f * std::cos(a), 400.0f * std::sin(a), 150.0f);
    camera.GetTarget().SetPosition(0, 0, 0);
    device->ClearLog();
    Frame();
    ASSERT_EQ(device->Draws().size(), 2u) << step;
    D3DXVECTOR3 toEye = camera.GetPosition(), flat;
    D3DXVec3Normalize(&toEye, &toEye);
    // The quad's normal: z for the screen-facing one (x-y plane), y for the upright one.
    const D3DXMATRIX& s = device->Draws()[0].world;
    const D3DXMATRIX& u = device->Draws()[1].world;
    D3DXVECTOR3 screenNormal(s._31, s._32, s._33), uprightNormal(u._21, u._22, u._23), flatEye(toEye.x, toEye.y, 0);
    D3DXVec3Normalize(&screenNormal, &screenNormal);
    D3DXVec3Normalize(&uprightNormal, &uprightNormal);
    D3DXVec3Normalize(&flat, &flatEye);
    EXPECT_NEAR(D3DXVec3Dot(&screenNormal, &toEye), 1.0f, 1e-4f) << step;
    EXPECT_NEAR(std::fabs(u._33), 1.0f, 1e-5f) << "stays vertical";
    EXPECT_NEAR(std::fabs(D3DXVec3Dot(&uprightNormal, &flat)), 1.0f, 1e-4f) << step;
  }
}

TEST_F(QuadTest, WithoutACameraNothingIsCulledAndEverythingIsEquallyFar) {
  CSceneManager lonely;
  CSceneManager* saved = g_pSceneManager;
  g_pSceneManager = &lonely;
  CStaticBillboard near, far;
  ASSERT_TRUE(near.Create(Billboard(false)));
  ASSERT_TRUE(far.Create(Billboard(true)));
  near.SetPosition(0, 10, 0);
  far.SetPosition(0, -100000, 0);
  AddNodes({&near, &far});
  lonely.Update();
  EXPECT_FALSE(near.IsCulled());
  EXPECT_FALSE(far.IsCulled());
  EXPECT_EQ(CGeometrySetRegistry::SortKey(&far), 0.0f);
  EXPECT_TRUE(lonely.Render());
  // Equal keys: drawn in submission order, unturned (identity facing).
  const auto at = DrawnAt();
  ASSERT_EQ(at.size(), 2u);
  EXPECT_EQ(at[0].y, 10.0f);
  EXPECT_EQ(at[1].y, -100000.0f);
  EXPECT_EQ(device->Draws()[0].world._11, 1.0f);
  g_pSceneManager = saved;
}

TEST_F(QuadTest, EachQuadIsDrawnWithItsColourAsTheTextureFactor) {
  CShader tinted;
  tinted.SetName("TINTED");
  tinted.SetRenderState(platform::D3DRS_TEXTUREFACTOR, 0x11223344u);
  BILLBOARD_DESC boardDesc = Billboard(false);
  boardDesc.stateBlock = &tinted;
  CStaticBillboard plain, faded;
  ASSERT_TRUE(plain.Create(boardDesc));
  EXPECT_EQ(plain.GetColor(), 0xFFFFFFFFu);  // opaque white unless told
  boardDesc.color = 0x80FFFFFFu;
  ASSERT_TRUE(faded.Create(boardDesc));
  PLANE_SPRITE_DESC planeDesc = Plane();
  planeDesc.stateBlock = &tinted;
  CPlaneSprite plane;
  ASSERT_TRUE(plane.Create(planeDesc));
  plane.SetColor(0x4000FF00u);
  faded.SetPosition(0, 800, 0);
  plain.SetPosition(0, 400, 0);
  plane.SetPosition(0, 500, 0);
  CSceneNode beamNode;
  beamNode.SetPosition(0, 600, 0);
  AddNodes({&plain, &faded, &plane, &beamNode});
  std::vector<platform::DWORD> seen;  // the texture factor the beam-like set found
  StepSet beam([&] { seen.push_back(StateNow(platform::D3DRS_TEXTUREFACTOR)); });
  beam.stateBlock = &tinted;
  const auto factors = [&] {
    std::vector<platform::DWORD> out;
    for (const auto& d : device->Draws()) out.push_back(d.textureFactor);
    return out;
  };
  g_pSceneManager->Update();
  ASSERT_TRUE(g_pGeometrySetRegistry->SubmitBeam(&beamNode, &beam));
  g_pSceneManager->Render();
  // The plane (transparent queue), the beam, then the billboards far to near: each quad with
  // its own colour over the block's; the beam after the plane finds the block's value again.
  EXPECT_EQ(factors(), (std::vector<platform::DWORD>{0x4000FF00u, 0x80FFFFFFu, 0xFFFFFFFFu}));
  EXPECT_EQ(seen, (std::vector<platform::DWORD>{0x11223344u}));
  // A colour changed between frames is drawn the next frame; an effect sets the factor after the colour.
  device->ClearLog();
  plain.SetColor(0x20FFFFFFu);
  FactorEffect effect;
  faded.SetRenderEffect(&effect);
  Frame();
  EXPECT_EQ(factors(), (std::vector<platform::DWORD>{0x4000FF00u, 0xFF0000FFu, 0x20FFFFFFu}));
  faded.SetRenderEffect(nullptr);
  // A copy keeps the colour; a new Create takes the description's.
  EXPECT_EQ(CStaticBillboard(plain).GetColor(), 0x20FFFFFFu);
  EXPECT_EQ(CPlaneSprite(plane).GetColor(), 0x4000FF00u);
  ASSERT_TRUE(plane.Create(planeDesc));
  EXPECT_EQ(plane.GetColor(), 0xFFFFFFFFu);
}
