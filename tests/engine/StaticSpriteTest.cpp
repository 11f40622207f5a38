#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SceneFixture.h"
#include "engine/app/Engine.h"
#include "engine/resources/Material.h"
#include "engine/resources/Mesh.h"
#include "engine/resources/Shader.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/resources/Texture.h"
#include "engine/scene/Animated3DSprite.h"
#include "engine/scene/Billboard.h"
#include "engine/scene/RenderEffect.h"
#include "engine/scene/StaticSprite.h"
#include "support/TempDir.h"
#include "tools/formats/GraphicsFiles.h"
#include "tools/formats/XFileWriter.h"

using namespace Nembra;

namespace {

// A fan of `faces` triangles, face i drawn with material i (when there are
// materials), each material of the given diffuse alpha.
formats::XMeshDesc Fan(int faces, std::vector<float> alphas) {
  formats::XMeshDesc mesh;
  mesh.Name = "Fan";
  mesh.Positions.push_back({0, 0, 0});
  for (int i = 0; i <= faces; ++i) mesh.Positions.push_back({10.0f * i, 10.0f, 0.0f});
  for (int i = 0; i < faces; ++i) {
    mesh.Faces.push_back({0u, uint32_t(i + 1), uint32_t(i + 2)});
    if (!alphas.empty()) mesh.FaceMaterials.push_back(uint32_t(i));
  }
  for (float a : alphas) {
    formats::XMaterialDesc m;
    m.Face = {1, 1, 1, a};
    mesh.Materials.push_back(m);
  }
  return mesh;
}

class SpriteTest : public scenetest::SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    m_SavedData = g_DataDirectory;
    SetDataDirectory(m_Dir.Path() + "/");
    WriteMesh("One.x", Fan(1, {1.0f}));
    WriteMesh("Three.x", Fan(3, {1.0f, 1.0f, 1.0f}));
    WriteMesh("Glass.x", Fan(1, {0.5f}));
  }
  void TearDown() override {
    SetDataDirectory(m_SavedData);
    SceneTest::TearDown();
  }
  void WriteMesh(const std::string& name, const formats::XMeshDesc& mesh) {
    formats::XFileDesc file;
    file.Meshes.push_back(mesh);
    m_Dir.Write("Meshes/" + name, formats::XFileText(file));
  }
  CSimpleMesh* Mesh(const std::string& name) {
    CSimpleMesh* mesh = g_pSimpleMeshFactory->Get(name);
    EXPECT_NE(mesh, nullptr) << name;
    return mesh;
  }
  // Places a sprite of the mesh in front of the default camera.
  void Place(CStatic3DSprite& sprite, CSimpleMesh* mesh, float y) {
    ASSERT_TRUE(sprite.SetMesh(mesh));
    sprite.SetPosition(0, y, 0);
    g_pSceneManager->AddNode(&sprite);
  }
  // A 10 x 10 quad of a white texture, drawn with the transparent block.
  template <class Desc>
  Desc QuadDesc() {
    m_Dir.Write("Materials/Mark.png", formats::PngBytes(formats::TestPicture(4, 4, 0xFFFFFFFFu), false));
    Desc desc;
    desc.width = desc.height = 10.0f;
    desc.texture = g_pTextureFactory->Get("Mark.png");
    desc.stateBlock = g_pShaderFactory->GetDefaultTransparent();
    return desc;
  }
  // The y of each draw's world matrix, in drawing order.
  std::vector<float> DrawnY() const {
    std::vector<float> out;
    for (const auto& d : device->Draws()) out.push_back(d.world._42);
    return out;
  }
  size_t LogCount(const std::string& prefix) const {
    size_t n = 0;
    for (const auto& line : device->Log()) n += line.compare(0, prefix.size(), prefix) == 0;
    return n;
  }
  testsupport::TempDir m_Dir;
  std::string m_SavedData;
};

class TickingEffect : public CRenderEffect {
 public:
  void Update() override { ++updates; }
  void Begin() override { ++begins; }
  void End() override { ++ends; }
  int begins = 0, ends = 0, updates = 0;
};

}  // namespace

TEST_F(SpriteTest, SetMeshMakesOneSetPerSubsetAndTakesTheSphere) {
  CStatic3DSprite sprite;
  EXPECT_FALSE(sprite.SetMesh(nullptr));
  EXPECT_TRUE(sprite.GetSubsetSets().empty());
  CSimpleMesh* three = Mesh("Three.x");
  ASSERT_TRUE(sprite.SetMesh(three));
  ASSERT_EQ(sprite.GetSubsetSets().size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    const CStaticSpriteGeometrySet& set = sprite.GetSubsetSets()[i];
    EXPECT_EQ(set.GetSubset(), &three->GetSubsets()[i]);
    EXPECT_EQ(set.worldMatrix, sprite.GetWorldMatrixSlot());
    EXPECT_TRUE(set.batchable);
  }
  EXPECT_EQ(sprite.GetBoundingSphere().radius, three->GetBoundingSphereRadius());
  EXPECT_GT(sprite.GetBoundingSphere().radius, 0.0f);
  TickingEffect effect;
  sprite.SetRenderEffect(&effect);
  for (const auto& set : sprite.GetSubsetSets()) EXPECT_EQ(set.renderEffect, &effect);
  EXPECT_EQ(sprite.GetRenderEffect(), nullptr);
  // A new mesh does not carry the effect over.
  ASSERT_TRUE(sprite.SetMesh(Mesh("One.x")));
  EXPECT_EQ(sprite.GetSubsetSets()[0].renderEffect, nullptr);
  // A copy draws with its own matrix.
  CStatic3DSprite copy(sprite);
  EXPECT_EQ(copy.GetSubsetSets()[0].worldMatrix, copy.GetWorldMatrixSlot());
}

TEST_F(SpriteTest, TwoSpritesOfOneMeshShareOneBatch) {
  CStatic3DSprite a, b;
  CSimpleMesh* mesh = Mesh("One.x");
  Place(a, mesh, 500);
  Place(b, mesh, 800);
  g_pSceneManager->Update();
  EXPECT_EQ(g_pGeometrySetRegistry->GetStateBlockBatchCount(), 1u);
  EXPECT_EQ(g_pGeometrySetRegistry->GetMaterialBatchCount(), 1u);
  EXPECT_EQ(g_pGeometrySetRegistry->GetTextureBatchCount(), 1u);
  EXPECT_EQ(g_pGeometrySetRegistry->GetBatchedSetCount(), 2u);
  EXPECT_EQ(g_pGeometrySetRegistry->GetQueueSize(CGeometrySetRegistry::QUEUE_TRANSPARENT), 0u);
  device->ClearLog();
  g_pSceneManager->Render();
  EXPECT_EQ(device->Stats().draws, 2u);
  EXPECT_EQ(device->Stats().materialCalls, 1u);
  EXPECT_EQ(LogCount("SetTexture 0"), 1u);
  // The two draws had the sprites' own world matrices.
  ASSERT_EQ(device->Draws().size(), 2u);
  EXPECT_EQ(device->Draws()[0].world._42 + device->Draws()[1].world._42, 1300.0f);
}

TEST_F(SpriteTest, TransparentAndEffectSubsetsGoToTheSortedQueue) {
  CStatic3DSprite glass, nearGlass, withEffect, hidden, behind;
  Place(glass, Mesh("Glass.x"), 300);
  Place(nearGlass, Mesh("Glass.x"), 250);
  Place(withEffect, Mesh("Three.x"), 900);
  Place(hidden, Mesh("One.x"), 500);
  Place(behind, Mesh("One.x"), -5000);
  hidden.SetVisible(false);
  TickingEffect effect;
  withEffect.SetRenderEffect(&effect);
  g_pSceneManager->Update();
  EXPECT_TRUE(behind.IsCulled());
  EXPECT_FALSE(hidden.IsCulled());
  EXPECT_EQ(g_pGeometrySetRegistry->GetBatchedSetCount(), 0u);
  EXPECT_EQ(g_pGeometrySetRegistry->GetQueueSize(CGeometrySetRegistry::QUEUE_TRANSPARENT), 5u);
  device->ClearLog();
  g_pSceneManager->Render();
  // Far to near: the three subsets of the sprite at 900 in subset order, then the glass at 300 and at 250.
  EXPECT_EQ(DrawnY(), (std::vector<float>{900, 900, 900, 300, 250}));
  EXPECT_EQ(effect.begins, 3);
  EXPECT_EQ(effect.ends, 3);
  // Each subset of the first mesh has its own material; the two glasses
  // share theirs, applied once. The (empty) texture sets are all equal.
  EXPECT_EQ(device->Stats().materialCalls, 4u);
  EXPECT_EQ(LogCount("SetTexture 0"), 1u);
}

TEST_F(SpriteTest, SpritesDestroyedAfterSubmittingAreNotDrawn) {
  BILLBOARD_DESC desc = QuadDesc<BILLBOARD_DESC>();
  CStatic3DSprite kept;
  Place(kept, Mesh("One.x"), 700);
  auto *solid = new CStatic3DSprite, *glass = new CStatic3DSprite;
  auto* board = new CStaticBillboard;
  Place(*solid, Mesh("One.x"), 500);
  Place(*glass, Mesh("Glass.x"), 400);
  ASSERT_TRUE(board->Create(desc));
  board->SetPosition(0, 300, 0);
  g_pSceneManager->AddNode(board);
  g_pSceneManager->Update();
  ASSERT_EQ(g_pGeometrySetRegistry->GetBatchedSetCount(), 2u);
  delete solid;
  delete glass;
  delete board;
  EXPECT_EQ(g_pGeometrySetRegistry->GetBatchedSetCount(), 1u);
  EXPECT_EQ(g_pGeometrySetRegistry->GetQueueSize(CGeometrySetRegistry::QUEUE_TRANSPARENT), 0u);
  EXPECT_EQ(g_pGeometrySetRegistry->GetQueueSize(CGeometrySetRegistry::QUEUE_BILLBOARDS), 0u);
  device->ClearLog();
  g_pSceneManager->Render();
  EXPECT_EQ(DrawnY(), std::vector<float>{700});
  // A new mesh given after submitting takes the old subsets' sets out too.
  Frame();
  g_pSceneManager->Update();
  ASSERT_TRUE(kept.SetMesh(Mesh("Three.x")));
  EXPECT_EQ(g_pGeometrySetRegistry->GetBatchedSetCount(), 0u);
  device->ClearLog();
  g_pSceneManager->Render();
  EXPECT_TRUE(device->Draws().empty());
}

TEST_F(SpriteTest, AnimatedSpritesDrawOpaqueFirstAndTransparentTwice) {
  // A texture with an alpha channel makes a skinned mesh transparent.
  formats::TestPicture picture(2, 2, 0x80FFFFFFu);
  m_Dir.Write("Materials/Glass.png", formats::PngBytes(picture, true));
  formats::XFileDesc glassFile, solidFile;
  formats::XFrameDesc frame;
  frame.Name = "Root";
  frame.Meshes.push_back(Fan(1, {1.0f}));
  frame.Meshes[0].Materials[0].Texture = "Glass.png";
  glassFile.Frames.push_back(frame);
  frame.Meshes[0] = Fan(2, {1.0f, 1.0f});
  solidFile.Frames.push_back(frame);
  m_Dir.Write("Meshes/GlassMan.x", formats::XFileText(glassFile));
  m_Dir.Write("Meshes/SolidMan.x", formats::XFileText(solidFile));
  CSkinnedMesh* glassMesh = g_pSkinnedMeshFactory->Get("GlassMan.x");
  CSkinnedMesh* solidMesh = g_pSkinnedMeshFactory->Get("SolidMan.x");
  ASSERT_TRUE(glassMesh && solidMesh);
  ASSERT_TRUE(glassMesh->IsTransparent());
  ASSERT_FALSE(solidMesh->IsTransparent());
  CAnimated3DSprite glass, solid, hidden;
  glass.SetMesh(glassMesh);
  solid.SetMesh(solidMesh);
  hidden.SetMesh(solidMesh);
  hidden.SetVisible(false);
  for (CAnimated3DSprite* s : {&glass, &solid, &hidden}) {
    s->SetPosition(0, 400, 0);
    g_pSceneManager->AddNode(s);
  }
  CStatic3DSprite prop;
  Place(prop, Mesh("One.x"), 500);
  g_pSceneManager->Update();
  EXPECT_FALSE(g_pGeometrySetRegistry->SubmitAnimatedSprite(nullptr));
  EXPECT_EQ(g_pGeometrySetRegistry->GetOpaqueAnimatedCount(), 1u);
  EXPECT_EQ(g_pGeometrySetRegistry->GetTransparentAnimatedCount(), 1u);
  device->ClearLog();
  g_pSceneManager->Render();
  // The solid one (two faces, one draw per subset), then the static prop, then the glass one twice.
  ASSERT_EQ(DrawnY(), (std::vector<float>{400, 400, 500, 400, 400}));
  EXPECT_EQ(device->Draws()[3].cull, platform::D3DCULL_CCW);
  EXPECT_EQ(device->Draws()[4].cull, platform::D3DCULL_CW);
  // The (shared) block keeps the last culling it was drawn with.
  EXPECT_EQ(glassMesh->GetShader()->GetRenderState(platform::D3DRS_CULLMODE).value, platform::D3DCULL_CW);
  EXPECT_EQ(g_pGeometrySetRegistry->GetOpaqueAnimatedCount(), 0u);
  EXPECT_EQ(g_pGeometrySetRegistry->GetTransparentAnimatedCount(), 0u);
}

TEST_F(SpriteTest, PlaneSpritesAndTransparentSubsetsShareOneQueueByDistance) {
  PLANE_SPRITE_DESC desc = QuadDesc<PLANE_SPRITE_DESC>();
  CPlaneSprite farPlane, nearPlane;
  ASSERT_TRUE(farPlane.Create(desc));
  ASSERT_TRUE(nearPlane.Create(desc));
  farPlane.SetPosition(0, 600, 0);
  nearPlane.SetPosition(0, 200, 0);
  CStatic3DSprite glass;
  Place(glass, Mesh("Glass.x"), 300);
  g_pSceneManager->AddNode(&nearPlane);
  g_pSceneManager->AddNode(&farPlane);
  Frame();
  EXPECT_EQ(DrawnY(), (std::vector<float>{600, 300, 200}));
}

TEST_F(SpriteTest, CulledOrHiddenStaticSpritesStillAdvanceTheirEffect) {
  CStatic3DSprite behind, hidden, shown;
  Place(behind, Mesh("Three.x"), -5000);
  Place(hidden, Mesh("One.x"), 500);
  Place(shown, Mesh("One.x"), 600);
  hidden.SetVisible(false);
  TickingEffect behindFade, hiddenFade, shownFade;
  behind.SetRenderEffect(&behindFade);
  hidden.SetRenderEffect(&hiddenFade);
  shown.SetRenderEffect(&shownFade);
  EXPECT_EQ(behind.GetRenderEffect(), nullptr);  // kept by the subset sets
  for (int i = 0; i < 3; ++i) g_pSceneManager->Update();
  EXPECT_TRUE(behind.IsCulled());
  // Once per frame for the unseen ones, not once per subset.
  EXPECT_EQ(behindFade.updates, 3);
  EXPECT_EQ(hiddenFade.updates, 3);
  // A drawn sprite's effect moves on inside Begin, not here.
  EXPECT_EQ(shownFade.updates, 0);
  g_pSceneManager->Render();
  EXPECT_EQ(behindFade.begins + hiddenFade.begins, 0);
  // Without an effect nothing is advanced (and nothing breaks).
  CStatic3DSprite plain;
  Place(plain, Mesh("One.x"), -5000);
  g_pSceneManager->Update();
  EXPECT_EQ(behindFade.updates, 4);
}
