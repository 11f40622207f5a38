// Skinned meshes through their factory and animated sprites: poses,
// one-shot and looping sets, callbacks, bones and attached objects.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstring>
#include <memory>

#include "engine/MeshTestSupport.h"
#include "engine/app/Application.h"
#include "engine/scene/Animated3DSprite.h"
#include "engine/scene/GeometrySet.h"
#include "tools/formats/DemoMeshes.h"

using namespace Nembra;

namespace {

std::vector<D3DXVECTOR3> DrawnPositions(const platform::headless::DrawRecord& r) {
  const uint32_t stride = platform::GetFVFVertexSize(r.fvf);
  std::vector<D3DXVECTOR3> out;
  for (size_t at = 0; stride && at + 12 <= r.vertices.size(); at += stride) {
    D3DXVECTOR3 p;
    std::memcpy(&p, &r.vertices[at], 12);
    out.push_back(p);
  }
  return out;
}

bool HasNear(const std::vector<D3DXVECTOR3>& v, const D3DXVECTOR3& p) {
  for (const auto& q : v) {
    D3DXVECTOR3 d = q - p;
    if (D3DXVec3Length(&d) < 1e-3f) return true;
  }
  return false;
}

struct Counter : platform::ID3DXAnimationCallbackHandler {
  int calls = 0;
  platform::HRESULT HandleCallback(uint32_t, void*) override { return ++calls, platform::S_OK; }
};

// A scene node that counts its updates.
struct Follower : CSceneNode {
  int updates = 0;
  void OnUpdate() override { ++updates; }
};

class AnimatedSpriteTest : public testsupport::MeshEngineTest {
 protected:
  void SetUp() override {
    MeshEngineTest::SetUp();
    m_OldFrameTime = g_FrameTime;
    m_Mesh = Load("Bar.x", formats::BentBarFile());
    ASSERT_NE(m_Mesh, nullptr);
  }
  void TearDown() override {
    g_FrameTime = m_OldFrameTime;
    g_pGeometrySetRegistry = nullptr;
    MeshEngineTest::TearDown();
  }
  CSkinnedMesh* Load(const std::string& name, const formats::XFileDesc& file, bool binary = false) {
    WriteData("Meshes/" + name, binary ? formats::XFileBinary(file) : formats::XFileText(file));
    return g_pSkinnedMeshFactory->Get(name.c_str());
  }
  // Puts the bar on S, playing SET when one is given.
  void Play(CAnimated3DSprite& s, const char* set = nullptr, bool loop = true) {
    s.SetMesh(m_Mesh);
    if (set) s.SetAnimation(set, loop);
  }
  // One frame of a sprite as the renderer runs it.
  void Frame(CAnimated3DSprite& s, float dt, int times = 1) {
    for (int i = 0; i < times; ++i) {
      g_FrameTime = dt;
      s.UpdateTime();
      s.AdvanceAndPose();
    }
  }
  std::vector<D3DXVECTOR3> DrawOne(CAnimated3DSprite& s) {
    Device()->ClearLog();
    s.DrawMesh();
    EXPECT_EQ(Device()->Draws().size(), 1u);
    return Device()->Draws().empty() ? std::vector<D3DXVECTOR3>{} : DrawnPositions(Device()->Draws()[0]);
  }
  D3DXVECTOR3 Origin(const char* frame) {
    const D3DXMATRIX& m = m_Mesh->FindFrame(frame)->CombinedTransformationMatrix;
    return D3DXVECTOR3(m._41, m._42, m._43);
  }
  // Gives the mesh's own set callback keys, so every clone carries them.
  void AddMeshCallbacks(const char* set, std::vector<platform::D3DXKEY_CALLBACK> keys) {
    platform::ID3DXAnimationController* c = m_Mesh->GetAnimationController();
    platform::ID3DXAnimationSet *old = nullptr, *with = nullptr;
    ASSERT_EQ(c->GetAnimationSetByName(set, &old), platform::S_OK);
    platform::ID3DXBuffer* data = nullptr;
    old->Compress(0, 0.5f, nullptr, &data);
    platform::D3DXCreateCompressedAnimationSet(set, old->GetSourceTicksPerSecond(), old->GetPlaybackType(), data,
                                               (uint32_t)keys.size(), keys.data(), &with);
    c->UnregisterAnimationSet(old);
    c->RegisterAnimationSet(with);
    data->Release();
    with->Release();
    old->Release();
  }
  CSkinnedMesh* m_Mesh = nullptr;
  float m_OldFrameTime = 0;
};

}  // namespace

TEST_F(AnimatedSpriteTest, SkinnedMeshLoadsFramesBonesAndDefaultBlock) {
  EXPECT_EQ(m_Mesh->GetName(), "BAR.X");
  ASSERT_NE(m_Mesh->FindFrame("Upper"), nullptr);
  EXPECT_EQ(m_Mesh->FindFrame("upper"), nullptr);
  EXPECT_EQ(m_Mesh->FindFrame("Nowhere"), nullptr);
  EXPECT_EQ(m_Mesh->GetShader(), g_pShaderFactory->GetDefault());
  EXPECT_FALSE(m_Mesh->IsTransparent());
  EXPECT_NEAR(m_Mesh->GetBoundingSphereCenter().z, 50.0f, 1e-3f);
  EXPECT_EQ(GetSkinningScratchSize(), 2u);
  ASSERT_NE(m_Mesh->GetAnimationController(), nullptr);
  EXPECT_EQ(m_Mesh->GetAnimationController()->GetNumAnimationSets(), 2u);
}

TEST_F(AnimatedSpriteTest, UnnamedFramesAndOutOfRangeMaterialIds) {
  formats::XFileDesc file = formats::BentBarFile();
  formats::XFrameDesc unnamed;
  D3DXMatrixTranslation(&unnamed.Transform, 1, 2, 3);
  file.Frames[0].Children.push_back(unnamed);
  CSkinnedMesh* mesh = Load("Named.x", file);
  ASSERT_NE(mesh, nullptr);
  FRAME* f = mesh->FindFrame("UNNAMED");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->TransformationMatrix._42, 2.0f);
  // A face naming a material the mesh does not have: the file is refused, nothing left behind.
  formats::XFileDesc bad = formats::BentBarFile();
  bad.Frames[0].Meshes[0].Materials = {formats::XMaterialDesc()};
  bad.Frames[0].Meshes[0].FaceMaterials = {0, 0, 3, 0, 0, 0};
  EXPECT_EQ(Load("Bad.x", bad), nullptr);
  EXPECT_EQ(g_pMaterialFactory->GetCount(), 1u);
}

TEST_F(AnimatedSpriteTest, ScratchGrowsOnlyForMoreBones) {
  formats::XFileDesc one = formats::BentBarFile(), three = formats::BentBarFile();
  one.Frames[0].Meshes[0].Skin.pop_back();  // one bone
  ASSERT_NE(Load("One.x", one), nullptr);
  EXPECT_EQ(GetSkinningScratchSize(), 2u);
  formats::XSkinWeightsDesc root;
  root.Bone = "Root";
  three.Frames[0].Meshes[0].Skin.push_back(root);
  ASSERT_NE(Load("Three.x", three, true), nullptr);
  EXPECT_EQ(GetSkinningScratchSize(), 3u);
  // A mesh drawn after the scratch was freed grows it again.
  FreeSkinningScratch();
  CAnimated3DSprite s;
  Play(s);
  s.Pose();
  s.DrawMesh();
  EXPECT_EQ(GetSkinningScratchSize(), 2u);
}

TEST_F(AnimatedSpriteTest, TexturesDecideTheBlockAndAreGivenBack) {
  formats::XFileDesc file = formats::BentBarFile();
  formats::XMaterialDesc m;
  m.Texture = "Skin.png";
  file.Frames[0].Meshes[0].Materials = {m};
  file.Frames[0].Meshes[0].FaceMaterials = {0};
  WriteData("Materials/Skin.png", formats::PngBytes(formats::TestPicture(2, 2, 0xFFFFFFFFu), true));
  CSkinnedMesh* mesh = Load("Textured.x", file);
  ASSERT_NE(mesh, nullptr);
  // An alpha-format texture makes the mesh transparent even with opaque materials.
  EXPECT_TRUE(mesh->IsTransparent());
  EXPECT_EQ(mesh->GetShader(), g_pShaderFactory->GetDefaultTransparent());
  ASSERT_NE(g_pTextureFactory->Find("SKIN.PNG"), nullptr);
  EXPECT_EQ(g_pTextureFactory->Find("SKIN.PNG")->GetRefCount(), 1u);
  // The containers give their materials and textures back when destroyed.
  delete g_pSkinnedMeshFactory;
  g_pSkinnedMeshFactory = new CSkinnedMeshFactory();
  EXPECT_EQ(g_pTextureFactory->Find("SKIN.PNG"), nullptr);
  EXPECT_EQ(g_pMaterialFactory->GetCount(), 1u);  // only the default entry
  EXPECT_EQ(g_pShaderFactory->GetDefaultTransparent()->GetRefCount(), 0u);
}

TEST_F(AnimatedSpriteTest, BentBarSkinsToTheSecondBone) {
  CAnimated3DSprite s;
  Play(s, "Bend");
  EXPECT_FLOAT_EQ(s.GetBoundingSphere().radius, m_Mesh->GetBoundingSphereRadius());
  Frame(s, 0.5f);
  auto drawn = DrawOne(s);
  EXPECT_TRUE(HasNear(drawn, {10, -50, 50}));
  EXPECT_TRUE(HasNear(drawn, {10, 0, 0}));
  EXPECT_FALSE(HasNear(drawn, {10, 0, 100}));
  // Skinned vertices carry the whole transform: the world matrix is identity.
  EXPECT_TRUE(D3DXMatrixIsIdentity(&Device()->Draws()[0].world));
}

TEST_F(AnimatedSpriteTest, TwoSpritesOfOneMeshDrawTwoPosesInOneFrame) {
  CAnimated3DSprite a, b;
  Play(a, "Slide");
  Play(b, "Slide");
  b.SetPosition(0, 1000, 0);
  b.UpdateWorldMatrix();
  g_FrameTime = 0.25f;
  a.UpdateTime();
  a.Advance();
  g_FrameTime = 0.75f;
  b.UpdateTime();
  b.Advance();
  // Each poses the shared frames right before its own draw.
  auto drawBoth = [&](const D3DXVECTOR3& inA, const D3DXVECTOR3& inB) {
    Device()->ClearLog();
    for (CAnimated3DSprite* s : {&a, &b}) s->Pose(), s->DrawMesh();
    ASSERT_EQ(Device()->Draws().size(), 2u);
    EXPECT_TRUE(HasNear(DrawnPositions(Device()->Draws()[0]), inA));
    EXPECT_TRUE(HasNear(DrawnPositions(Device()->Draws()[1]), inB));
  };
  drawBoth({35, 0, 0}, {85, 1000, 0});
  // Each pose is whole: the sliding sprite does not show the bend the other left in the shared frames.
  a.SetAnimation("Bend", true);
  Frame(a, 0.5f);
  Frame(b, 0.5f);  // 0.75 + 0.5 wraps to 0.25
  drawBoth({10, -50, 50}, {10 + 25, 1000, 100});
}

TEST_F(AnimatedSpriteTest, AttachedNodeFollowsItsBone) {
  CAnimated3DSprite s;
  EXPECT_FLOAT_EQ(s.GetBoundingSphere().radius, 100.0f);  // no mesh yet
  Play(s, "Slide");
  EXPECT_EQ(s.GetBoneMatrix("Upper"), s.GetBoneMatrix("Upper"));  // cached
  EXPECT_EQ(s.GetBoneMatrix("NoSuchBone"), nullptr);
  Follower f;
  EXPECT_FALSE(f.AttachToBone(&s, "NoSuchBone"));
  EXPECT_FALSE(f.AttachToBone(nullptr, "Upper"));
  EXPECT_EQ(f.GetParent(), nullptr);
  ASSERT_TRUE(f.AttachToBone(&s, "Upper"));
  EXPECT_EQ(f.GetParent(), &s);
  EXPECT_TRUE(f.IsBoneDriven());
  ASSERT_EQ(s.GetAttachedNodes().size(), 1u);
  EXPECT_EQ(s.GetAttachedNodes().front(), &f);
  f.SetPosition(999, 999, 999);  // ignored: the bone decides
  s.SetPosition(0, 0, 500);
  s.UpdateWorldMatrix();
  Frame(s, 0.5f);
  EXPECT_EQ(f.updates, 1);
  EXPECT_NEAR(f.GetWorldPosition().x, 50.0f, 1e-3f);
  EXPECT_NEAR(f.GetWorldPosition().z, 550.0f, 1e-3f);
  Frame(s, 0.25f);
  EXPECT_NEAR(f.GetWorldPosition().x, 75.0f, 1e-3f);
  s.ClearAttachedNodes();
  Frame(s, 0.1f);
  EXPECT_EQ(f.updates, 2);
}

TEST_F(AnimatedSpriteTest, NodesAndSpritesMayGoInEitherOrder) {
  auto sprite = std::make_unique<CAnimated3DSprite>();
  Play(*sprite, "Slide");
  // A node destroyed while attached leaves the sprite's list.
  auto gone = std::make_unique<Follower>();
  ASSERT_TRUE(gone->AttachToBone(sprite.get(), "Lower"));
  gone.reset();
  EXPECT_TRUE(sprite->GetAttachedNodes().empty());
  Frame(*sprite, 0.1f);
  // A node moved to another sprite leaves the first one's list.
  CAnimated3DSprite other;
  Play(other);
  Follower moved, kept, cleared;
  ASSERT_TRUE(moved.AttachToBone(sprite.get(), "Lower"));
  ASSERT_TRUE(moved.AttachToBone(&other, "Upper"));
  EXPECT_TRUE(sprite->GetAttachedNodes().empty());
  // A sprite destroyed first lets go of every node on its bones, listed or not.
  ASSERT_TRUE(kept.AttachToBone(sprite.get(), "Lower"));
  ASSERT_TRUE(cleared.AttachToBone(sprite.get(), "Upper"));
  sprite->ClearAttachedNodes();
  sprite.reset();
  for (Follower* node : {&kept, &cleared}) {
    EXPECT_FALSE(node->IsBoneDriven());
    EXPECT_EQ(node->GetBoneMatrix(), nullptr);
    EXPECT_EQ(node->GetBoneOwner(), nullptr);
  }
  EXPECT_TRUE(moved.IsBoneDriven());
}

TEST_F(AnimatedSpriteTest, ClearedBoneCacheKeepsHandedOutMatricesAlive) {
  CAnimated3DSprite s;
  Play(s, "Slide");
  Follower f;
  ASSERT_TRUE(f.AttachToBone(&s, "Lower"));
  const D3DXMATRIX* old = f.GetBoneMatrix();
  s.ClearBoneCache();
  const D3DXMATRIX* fresh = s.GetBoneMatrix("Lower");
  EXPECT_NE(fresh, old);
  Frame(s, 0.4f);  // the node still reads its (old) matrix, which follows the bone
  EXPECT_NEAR(f.GetWorldPosition().x, 40.0f, 1e-3f);
  EXPECT_EQ(*fresh, *old);
}

TEST_F(AnimatedSpriteTest, RecordsNoNodeReadsAnyMoreAreFreed) {
  CAnimated3DSprite s;
  Play(s, "Slide");
  Follower f;
  // A player placed again at every level start: cache cleared, hand attached again.
  auto placeAgain = [&] {
    s.ClearBoneCache();
    s.ClearAttachedNodes();
    ASSERT_TRUE(f.AttachToBone(&s, "Lower"));
  };
  for (int i = 0; i < 100; ++i) placeAgain();
  malloc_trim(0);
  const size_t before = mallinfo2().uordblks;
  for (int i = 0; i < 2000; ++i) placeAgain();
  malloc_trim(0);
  EXPECT_LT(mallinfo2().uordblks, before + 2000) << "a record kept for every placing";
  Frame(s, 0.4f);
  EXPECT_NEAR(f.GetWorldPosition().x, 40.0f, 1e-3f);
}

TEST_F(AnimatedSpriteTest, OneShotHoldsItsLastPoseAndRestarts) {
  CAnimated3DSprite s;
  Play(s, "Slide", false);
  Frame(s, 0.3f, 3);
  EXPECT_FALSE(s.IsFinished());
  Frame(s, 0.3f);  // elapsed 1.2 > period 1
  EXPECT_TRUE(s.IsFinished());
  EXPECT_NEAR(Origin("Lower").x, 100.0f, 1e-2f);
  float elapsed = s.GetElapsed();
  Frame(s, 0.3f, 5);
  EXPECT_NEAR(Origin("Lower").x, 100.0f, 1e-2f);
  EXPECT_EQ(s.GetElapsed(), elapsed);  // a finished one-shot set does not advance
  s.SetAnimation("Slide", false);
  EXPECT_FALSE(s.IsFinished());
  Frame(s, 0.1f);
  EXPECT_NEAR(Origin("Lower").x, 10.0f, 1e-2f);
  // A step landing right on the end shows the last pose, not the first.
  s.SetAnimation("Slide", false);
  Frame(s, 0.5f, 2);
  EXPECT_FALSE(s.IsFinished());
  EXPECT_NEAR(Origin("Lower").x, 100.0f, 1e-2f);
  // A key in the span the finishing frame jumps over still fires, once.
  Counter c;
  s.m_pCallbackHandler = &c;
  s.SetAnimationCallbacks("Slide", {{4560.0f, nullptr}});  // 0.95 s
  s.SetAnimation("Slide", false);
  Frame(s, 0.3f, 6);  // 0.3, 0.6, 0.9, then past the end
  EXPECT_TRUE(s.IsFinished());
  EXPECT_EQ(c.calls, 1);
  EXPECT_NEAR(Origin("Lower").x, 100.0f, 1e-2f);
}

TEST_F(AnimatedSpriteTest, PausedSpriteKeepsItsPoseAndTime) {
  CAnimated3DSprite s;
  Play(s, "Slide");
  Frame(s, 0.2f);
  s.m_Paused = true;
  Frame(s, 0.3f);
  EXPECT_FLOAT_EQ(s.GetElapsed(), 0.2f);
  EXPECT_NEAR(Origin("Lower").x, 20.0f, 1e-3f);
  s.m_Paused = false;
  Frame(s, 0.3f);
  EXPECT_NEAR(Origin("Lower").x, 50.0f, 1e-3f);
}

TEST_F(AnimatedSpriteTest, SetAnimationAlternatesTracksAndUnknownSetsPlayNothing) {
  CAnimated3DSprite s;
  Play(s, "Bend");
  EXPECT_EQ(s.GetCurrentTrack(), 1u);
  s.SetAnimation("Slide", true);
  EXPECT_EQ(s.GetCurrentTrack(), 0u);
  Frame(s, 0.5f);
  EXPECT_NEAR(Origin("Lower").x, 50.0f, 1e-3f);  // only the last set plays
  EXPECT_NEAR(Origin("Upper").y, 0.0f, 1e-3f);
  s.SetAnimation("NoSuchSet", false);
  EXPECT_EQ(s.GetCurrentSet(), nullptr);
  Frame(s, 5.0f);  // no end-of-set test without a set
  EXPECT_FALSE(s.IsFinished());
}

TEST_F(AnimatedSpriteTest, CallbackKeysFireOncePerStartAndOncePerLoop) {
  CAnimated3DSprite s;
  Play(s);
  Counter atZero, atHalf;
  int tag = 0;
  s.SetAnimationCallbacks("Slide", {{0.0f, &tag}});
  s.SetAnimationCallbacks("Bend", {{2400.0f, &tag}});
  s.SetAnimationCallbacks("Unknown", {{0.0f, &tag}});  // changes nothing
  EXPECT_EQ(s.GetController()->GetNumAnimationSets(), 2u);
  s.m_pCallbackHandler = &atZero;
  s.SetAnimation("Slide", false);
  Frame(s, 0.1f, 30);
  EXPECT_EQ(atZero.calls, 1);
  s.SetAnimation("Slide", false);
  Frame(s, 0.1f, 5);
  EXPECT_EQ(atZero.calls, 2);
  s.m_pCallbackHandler = &atHalf;
  s.SetAnimation("Bend", true);
  Frame(s, 0.1f, 30);  // 0.5, 1.5, 2.5
  EXPECT_EQ(atHalf.calls, 3);
  // The mesh's own controller is untouched.
  platform::ID3DXAnimationSet* original = nullptr;
  m_Mesh->GetAnimationController()->GetAnimationSetByName("Slide", &original);
  EXPECT_EQ(original->GetNumCallbackKeys(), 0u);
  original->Release();
}

TEST_F(AnimatedSpriteTest, MeshSwapKeepsTheSetAndPositionWithoutFiringKeys) {
  AddMeshCallbacks("Slide", {{0.0f, nullptr}, {2400.0f, nullptr}});
  CAnimated3DSprite s;
  Counter c;
  s.m_pCallbackHandler = &c;
  Play(s, "Bend");  // time on another set first, so global time and track position differ
  Frame(s, 2.5f);
  s.SetAnimation("Slide", false);
  Frame(s, 0.3f);
  EXPECT_EQ(c.calls, 1);  // the key at 0
  s.SetMesh(m_Mesh);
  EXPECT_EQ(c.calls, 1);
  EXPECT_TRUE(s.IsLooping());
  EXPECT_NEAR(s.GetTrackPosition(), 0.3, 1e-6);
  s.Pose();
  EXPECT_NEAR(Origin("Lower").x, 30.0f, 1e-3f);
  Frame(s, 1.0f);  // looping now: 1.3 wraps to 0.3, passing the keys at 0.5 and 1.0
  EXPECT_NEAR(Origin("Lower").x, 30.0f, 1e-3f);
  EXPECT_EQ(c.calls, 3);
}

TEST_F(AnimatedSpriteTest, AttachedNodeFollowsTheNewMeshAfterASwap) {
  CSkinnedMesh* other = Load("Other.x", formats::BentBarFile(), true);
  ASSERT_NE(other, nullptr);
  CAnimated3DSprite s;
  Play(s, "Slide");
  Follower f, g;
  ASSERT_TRUE(f.AttachToBone(&s, "Lower"));
  s.ClearBoneCache();  // the node's matrix is now a retired record
  ASSERT_TRUE(g.AttachToBone(&s, "Lower"));
  Frame(s, 0.2f);
  s.SetMesh(other);
  s.SetPosition(0, 0, 500);
  s.UpdateWorldMatrix();
  Frame(s, 0.2f);
  // Both nodes read the new mesh's frame: moved with the sprite and on by the slide.
  for (Follower* node : {&f, &g}) {
    EXPECT_NEAR(node->GetWorldPosition().x, 40.0f, 1e-3f);
    EXPECT_NEAR(node->GetWorldPosition().z, 500.0f, 1e-3f);
  }
  EXPECT_EQ(s.GetBoneMatrix("Lower"), g.GetBoneMatrix());
}

TEST_F(AnimatedSpriteTest, SyncAnimationCopiesTheOthersTrackPosition) {
  AddMeshCallbacks("Slide", {{1200.0f, nullptr}});
  CAnimated3DSprite a, b;
  Play(a, "Bend");
  Play(b);
  Frame(a, 2.5f);
  a.SetAnimation("Slide", true);
  Frame(a, 0.3f);  // global time 2.8, track position 0.3
  Counter c;
  b.m_pCallbackHandler = &c;
  b.SyncAnimation(a);
  EXPECT_EQ(c.calls, 0);
  EXPECT_NEAR(b.GetTrackPosition(), 0.3, 1e-6);
  EXPECT_TRUE(b.IsLooping());
  b.Pose();
  EXPECT_NEAR(Origin("Lower").x, 30.0f, 1e-3f);
}

TEST_F(AnimatedSpriteTest, FileWithoutAnimationSetsStillAnimatesNothingSafely) {
  formats::XFileDesc file = formats::BentBarFile();
  file.AnimationSets.clear();
  CSkinnedMesh* still = Load("Still.x", file);
  ASSERT_NE(still, nullptr);
  ASSERT_NE(still->GetAnimationController(), nullptr);
  CAnimated3DSprite s;
  s.SetMesh(still);
  ASSERT_NE(s.GetController(), nullptr);
  s.SetAnimation("Walk", true);
  Frame(s, 0.5f);
  EXPECT_TRUE(HasNear(DrawOne(s), {10, 0, 100}));
}

TEST_F(AnimatedSpriteTest, SceneUpdateSubmitsVisibleSpritesAndTheRenderPassDrawsThem) {
  CGeometrySetRegistry registry;
  g_pGeometrySetRegistry = &registry;
  CAnimated3DSprite shown, hidden;
  Play(shown, "Slide");
  Play(hidden, "Slide");
  hidden.SetVisible(false);
  g_FrameTime = 0.25f;
  shown.OnUpdate();
  hidden.OnUpdate();
  // The shown sprite kept time and was queued; the hidden one (in view, so not culled) did neither.
  EXPECT_FLOAT_EQ(shown.GetElapsed(), 0.25f);
  EXPECT_FLOAT_EQ(hidden.GetElapsed(), 0.0f);
  EXPECT_EQ(registry.GetOpaqueAnimatedCount(), 1u);
  Device()->ClearLog();
  registry.RenderBatches();
  ASSERT_EQ(Device()->Draws().size(), 1u);
  EXPECT_TRUE(HasNear(DrawnPositions(Device()->Draws()[0]), {35, 0, 0}));
  EXPECT_EQ(registry.GetOpaqueAnimatedCount(), 0u);
  // A sprite destroyed between its submission and the render pass is not drawn.
  {
    CAnimated3DSprite gone;
    Play(gone, "Slide");
    gone.OnUpdate();
    EXPECT_EQ(registry.GetOpaqueAnimatedCount(), 1u);
  }
  EXPECT_EQ(registry.GetOpaqueAnimatedCount(), 0u);
  Device()->ClearLog();
  registry.RenderBatches();
  EXPECT_TRUE(Device()->Draws().empty());
}

TEST_F(AnimatedSpriteTest, CopiesAnimateOnTheirOwnController) {
  CAnimated3DSprite original;
  Play(original);
  Counter c;
  int tag = 0;
  original.SetAnimationCallbacks("Slide", {{2400.0f, &tag}});
  original.m_pCallbackHandler = &c;
  original.SetAnimation("Slide", true);
  Frame(original, 0.25f);
  Follower f;
  ASSERT_TRUE(f.AttachToBone(&original, "Lower"));
  CAnimated3DSprite copy(original);
  EXPECT_NE(copy.GetController(), original.GetController());
  EXPECT_EQ(copy.GetCurrentSet(), original.GetCurrentSet());
  EXPECT_NEAR(copy.GetTrackPosition(), 0.25, 1e-6);
  EXPECT_TRUE(copy.GetAttachedNodes().empty());
  // The copy carries the callback keys and moves on alone.
  Frame(copy, 0.5f);
  EXPECT_EQ(c.calls, 1);
  EXPECT_NEAR(Origin("Lower").x, 75.0f, 1e-3f);
  EXPECT_NEAR(original.GetTrackPosition(), 0.25, 1e-6);
  original.Pose();
  EXPECT_NEAR(Origin("Lower").x, 25.0f, 1e-3f);
  CAnimated3DSprite assigned;
  assigned = copy;
  assigned.Pose();
  EXPECT_NEAR(Origin("Lower").x, 75.0f, 1e-3f);
  assigned = assigned;  // self-assignment keeps it whole
  EXPECT_NE(assigned.GetController(), nullptr);
}

TEST_F(AnimatedSpriteTest, BoneMissingFromASwappedMeshLetsGoOfTheOldMesh) {
  formats::XFileDesc file = formats::BentBarFile();  // its second bone renamed: a differently rigged mesh
  file.Frames[0].Children[0].Children[0].Name = "Top";
  file.Frames[0].Meshes[0].Skin[1].Bone = "Top";
  file.AnimationSets[0].Animations[0].Target = "Top";
  CSkinnedMesh* renamed = Load("Renamed.x", file);
  ASSERT_NE(renamed, nullptr);
  CAnimated3DSprite s;
  Play(s, "Bend");
  D3DXMATRIX* upper = s.GetBoneMatrix("Upper");
  ASSERT_NE(upper, nullptr);
  Follower f;
  ASSERT_TRUE(f.AttachToBone(&s, "Upper"));
  Frame(s, 0.5f);
  const D3DXMATRIX last = *upper;
  EXPECT_NEAR(last._32, -1.0f, 1e-3f);  // the bent bone: its z axis turned down
  const D3DXVECTOR3 nodeAt = f.GetWorldPosition();
  s.SetMesh(renamed);
  // The old mesh's frames move on without the sprite: nothing follows them.
  D3DXMATRIX far;
  D3DXMatrixTranslation(&far, 1000, 0, 0);
  m_Mesh->UpdateFrames(&far);
  Frame(s, 0.25f);
  EXPECT_EQ(std::memcmp(upper, &last, sizeof last), 0);
  EXPECT_NEAR(f.GetWorldPosition().x, nodeAt.x, 1e-3f);
  EXPECT_EQ(s.GetBoneMatrix("Upper"), upper);  // still cached, with its last matrix
  // With the old mesh gone, poses read nothing of it (the sanitizer build checks the reads).
  g_pSkinnedMeshFactory->Release("Bar.x");
  m_Mesh = nullptr;
  Frame(s, 0.25f);
  EXPECT_EQ(std::memcmp(upper, &last, sizeof last), 0);
  // Back on a mesh with that bone, the record follows it again.
  CSkinnedMesh* again = Load("Again.x", formats::BentBarFile());
  ASSERT_NE(again, nullptr);
  s.SetMesh(again);
  s.SetAnimation("Slide", true);
  Frame(s, 0.5f);
  EXPECT_NEAR(upper->_41, 50.0f, 1e-3f);
  EXPECT_NEAR(upper->_43, 50.0f, 1e-3f);
}

TEST_F(AnimatedSpriteTest, PausedSpriteIsDrawnInItsOwnPoseAfterAnother) {
  CGeometrySetRegistry registry;
  g_pGeometrySetRegistry = &registry;
  CAnimated3DSprite paused, moving;
  Play(paused, "Slide");
  Play(moving, "Slide");
  Frame(paused, 0.25f);
  Frame(moving, 0.75f);
  paused.m_Paused = true;
  // The moving sprite is drawn first and leaves its pose in the frames.
  g_FrameTime = 0.1f;
  moving.OnUpdate();
  paused.OnUpdate();
  Device()->ClearLog();
  registry.RenderBatches();
  ASSERT_EQ(Device()->Draws().size(), 2u);
  // The bar's top corner, slid along x with the lower bone.
  EXPECT_TRUE(HasNear(DrawnPositions(Device()->Draws()[0]), {85, 10, 0}));
  auto pausedDraw = DrawnPositions(Device()->Draws()[1]);
  EXPECT_TRUE(HasNear(pausedDraw, {25, 10, 0}));
  EXPECT_FALSE(HasNear(pausedDraw, {85, 10, 0}));
  EXPECT_NEAR(paused.GetTrackPosition(), 0.25, 1e-6);  // its time stays frozen
  EXPECT_FLOAT_EQ(paused.GetElapsed(), 0.25f);
}

TEST_F(AnimatedSpriteTest, OneShotKeyAtTheLastKeyTimeNeverFires) {
  CAnimated3DSprite s;
  Play(s);
  Counter atEnd;
  int endTag = 0;
  s.SetAnimationCallbacks("Slide", {{4800.0f, &endTag}});  // the set's last key time
  s.m_pCallbackHandler = &atEnd;
  s.SetAnimation("Slide", false);
  Frame(s, 0.1f, 20);
  EXPECT_TRUE(s.IsFinished());
  EXPECT_EQ(atEnd.calls, 0);
  s.SetAnimation("Slide", true);  // looping, it closes each pass
  Frame(s, 0.1f, 25);  // to 2.5: the ends at 1 and 2
  EXPECT_EQ(atEnd.calls, 2);
}

TEST_F(AnimatedSpriteTest, SkinnedSphereIsTakenFromTheDrawnBindPose) {
  // A container frame turned 90 degrees about x, with bone offsets that undo
  // it, as exporters write a turned character: vertices are drawn along +z.
  formats::XFileDesc file = formats::BentBarFile();
  D3DXMATRIX turn, joint;
  D3DXMatrixRotationX(&turn, D3DX_PI / 2);
  file.Frames[0].Transform = turn;
  D3DXMatrixInverse(&file.Frames[0].Meshes[0].Skin[0].Offset, nullptr, &turn);
  D3DXMatrixTranslation(&joint, 0, 0, 50);
  D3DXMATRIX upperBind = joint * turn;
  D3DXMatrixInverse(&file.Frames[0].Meshes[0].Skin[1].Offset, nullptr, &upperBind);
  CSkinnedMesh* mesh = Load("Turned.x", file);
  ASSERT_NE(mesh, nullptr);
  const D3DXVECTOR3 centre = mesh->GetBoundingSphereCenter();
  const float radius = mesh->GetBoundingSphereRadius();
  EXPECT_NEAR(centre.z, 50.0f, 1.0f);
  CAnimated3DSprite s;
  s.SetMesh(mesh);
  s.Pose();
  const auto drawn = DrawOne(s);
  ASSERT_FALSE(drawn.empty());
  EXPECT_TRUE(HasNear(drawn, {10, 0, 100}));
  for (const D3DXVECTOR3& p : drawn) {
    D3DXVECTOR3 d = p - centre;
    EXPECT_LE(D3DXVec3Length(&d), radius + 1e-3f) << p.x << "," << p.y << "," << p.z;
  }
}

TEST_F(AnimatedSpriteTest, EachContainerOfAFileKeepsItsOwnMaterials) {
  formats::XFileDesc file = formats::BentBarFile();
  formats::XMeshDesc& first = file.Frames[0].Meshes[0];
  formats::XMaterialDesc red, green;
  red.Face = {1, 0, 0, 1};
  green.Face = {0, 1, 0, 1};
  first.Materials = {red};
  first.FaceMaterials = {0};
  formats::XMeshDesc second = first;
  second.Name = "Second";
  second.Materials = {green};
  file.Frames[0].Meshes.push_back(second);
  CSkinnedMesh* mesh = Load("Two.x", file);
  ASSERT_NE(mesh, nullptr);
  auto* a = static_cast<MESH_CONTAINER*>(mesh->GetRootFrame()->pMeshContainer);
  ASSERT_NE(a, nullptr);
  auto* b = static_cast<MESH_CONTAINER*>(a->pNextMeshContainer);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(a->materials.size(), 1u);
  ASSERT_EQ(b->materials.size(), 1u);
  ASSERT_TRUE(a->materials[0] && b->materials[0]);
  EXPECT_NE(a->materials[0], b->materials[0]);
  const D3DCOLORVALUE& da = a->materials[0]->GetMaterial().Diffuse;
  const D3DCOLORVALUE& db = b->materials[0]->GetMaterial().Diffuse;
  EXPECT_EQ(std::make_pair(da.r, da.g), std::make_pair(1.0f, 0.0f));
  EXPECT_EQ(std::make_pair(db.r, db.g), std::make_pair(0.0f, 1.0f));
  const std::string& name = a->materials[0]->GetName();
  const std::string path = name.substr(5, name.size() - 5 - 4);
  EXPECT_EQ(name, "AUTO_" + path + "_0_0");
  EXPECT_EQ(b->materials[0]->GetName(), "AUTO_" + path + "_1_0");
}
