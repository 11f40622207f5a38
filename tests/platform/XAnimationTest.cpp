// Frame hierarchies, skinning on the processor and the animation controller.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "platform/Log.h"
#include "platform/mesh/XHierarchy.h"
#include "tools/formats/XFileWriter.h"
#include "tools/formats/DemoMeshes.h"
#include "platform/XTestSupport.h"

using formats::XAnimationDesc;
using formats::XAnimationSetDesc;
using formats::XFileDesc;
using formats::XFrameDesc;
using formats::XMeshDesc;

using namespace platform;

namespace {

D3DXMATRIX Translation(float x, float y, float z) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, x, y, z);
  return m;
}

void ExpectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float tol = 1e-3f) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

size_t IndexOf(const std::vector<D3DXVECTOR3>& v, const D3DXVECTOR3& p) {
  for (size_t i = 0; i < v.size(); ++i)
    if (v[i] == p) return i;
  ADD_FAILURE() << "no vertex at " << p.x << "," << p.y << "," << p.z;
  return 0;
}

struct Counter : ID3DXAnimationCallbackHandler {
  std::vector<std::pair<uint32_t, void*>> calls;
  HRESULT HandleCallback(uint32_t track, void* data) override {
    calls.push_back({track, data});
    return S_OK;
  }
};

// The named set again with callback keys and the given playback.
void ReplaceWithCallbacks(xtest::Hierarchy& h, const char* name, std::vector<D3DXKEY_CALLBACK> keys,
                          D3DXPLAYBACK_TYPE playback = D3DXPLAY_LOOP) {
  ID3DXAnimationSet* old = h.Set(name);
  ASSERT_NE(old, nullptr);
  ID3DXBuffer* data = nullptr;
  ASSERT_EQ(old->Compress(D3DXCOMPRESS_DEFAULT, 0.5f, nullptr, &data), S_OK);
  ID3DXCompressedAnimationSet* set = nullptr;
  ASSERT_EQ(D3DXCreateCompressedAnimationSet(old->GetName(), old->GetSourceTicksPerSecond(), playback, data,
                                             (uint32_t)keys.size(), keys.data(), &set),
            S_OK);
  data->Release();
  h.controller->UnregisterAnimationSet(old);
  h.controller->RegisterAnimationSet(set);
  old->Release();
  set->Release();
}

ID3DXAnimationController* Clone(ID3DXAnimationController* c) {
  ID3DXAnimationController* out = nullptr;
  EXPECT_EQ(c->CloneAnimationController(c->GetMaxNumAnimationOutputs(), c->GetMaxNumAnimationSets(),
                                        c->GetMaxNumTracks(), c->GetMaxNumEvents(), &out),
            S_OK);
  return out;
}

// The bent bar's hierarchy: its set "Slide" moves the frame Lower 100 along x in one second.
class XAnimation : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(h.hr, S_OK); }
  xtest::Hierarchy h{formats::XFileText(formats::BentBarFile())};
};

}  // namespace

TEST(XHierarchy, FramesContainersAndSkinAreBuiltThroughTheAllocator) {
  xtest::Hierarchy h(formats::XFileText(formats::BentBarFile()));
  ASSERT_EQ(h.hr, S_OK);
  EXPECT_EQ(h.alloc.framesMade, 3);
  EXPECT_EQ(h.alloc.containersMade, 1);
  EXPECT_STREQ(h.root->Name, "Root");
  EXPECT_EQ(D3DXFrameFind(h.root, "Upper"), h.root->pFrameFirstChild->pFrameFirstChild);
  EXPECT_EQ(D3DXFrameFind(h.root, "upper"), nullptr);  // names are case-sensitive
  D3DXMESHCONTAINER* c = h.root->pMeshContainer;
  ASSERT_NE(c, nullptr);
  ASSERT_NE(c->pSkinInfo, nullptr);
  EXPECT_EQ(c->pSkinInfo->GetNumBones(), 2u);
  EXPECT_STREQ(c->pSkinInfo->GetBoneName(1), "Upper");
  EXPECT_EQ(*c->pSkinInfo->GetBoneOffsetMatrix(1), Translation(0, 0, -50));
  EXPECT_EQ(c->NumMaterials, 0u);
  EXPECT_EQ(c->MeshData.pMesh->GetNumFaces(), 12u);  // six quads fanned
  uint32_t most = 0;
  c->pSkinInfo->GetMaxVertexInfluences(&most);
  EXPECT_EQ(most, 2u);
  D3DXVECTOR3 centre;
  float radius = 0;
  ASSERT_EQ(D3DXFrameCalculateBoundingSphere(h.root, &centre, &radius), S_OK);
  EXPECT_NEAR(centre.z, 50.0f, 1e-4f);
  EXPECT_GE(radius, 50.0f);
}

TEST(XHierarchy, FailedContainerDestroysEverythingMade) {
  xtest::Allocator alloc;
  alloc.failContainers = true;
  std::string bytes = formats::XFileText(formats::BentBarFile());
  D3DXFRAME* root = nullptr;
  ID3DXAnimationController* controller = nullptr;
  EXPECT_TRUE(FAILED(D3DXLoadMeshHierarchyFromXInMemory(bytes.data(), (uint32_t)bytes.size(), 0, nullptr, &alloc,
                                                        nullptr, &root, &controller)));
  EXPECT_EQ(root, nullptr);
  EXPECT_EQ(controller, nullptr);
  EXPECT_EQ(alloc.framesMade, alloc.framesDestroyed);
}

TEST(XHierarchy, UnnamedFramesAndLooseMeshesAndNoAnimationSets) {
  XFileDesc file;
  file.Meshes.push_back(formats::QuadMesh(2));
  XFrameDesc unnamed;
  unnamed.Transform = Translation(1, 2, 3);
  file.Frames.push_back(unnamed);
  xtest::Hierarchy h(formats::XFileBinary(file));
  ASSERT_EQ(h.hr, S_OK);
  // Both frames have no name; the allocator calls them "UNNAMED".
  D3DXFRAME* found = D3DXFrameFind(h.root, "UNNAMED");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->TransformationMatrix, Translation(1, 2, 3));
  ASSERT_NE(h.root->pFrameSibling, nullptr);
  EXPECT_NE(h.root->pFrameSibling->pMeshContainer, nullptr);
  // A file without sets still gives a controller, with no sets.
  ASSERT_NE(h.controller, nullptr);
  EXPECT_EQ(h.controller->GetNumAnimationSets(), 0u);
  EXPECT_GE(h.controller->GetMaxNumTracks(), 2u);
  EXPECT_EQ(h.controller->AdvanceTime(0.5, nullptr), S_OK);
  ID3DXAnimationController* clone = Clone(h.controller);
  ASSERT_NE(clone, nullptr);
  clone->Release();
}

TEST(XSkinning, BentBarVertexFollowsTheSecondBone) {
  for (const std::string& bytes : {formats::XFileText(formats::BentBarFile()), formats::XFileBinary(formats::BentBarFile())}) {
    xtest::Hierarchy h(bytes);
    ASSERT_EQ(h.hr, S_OK);
    auto bind = xtest::Positions(h.root->pMeshContainer->MeshData.pMesh);
    size_t tip = IndexOf(bind, {10, 0, 100});
    size_t middle = IndexOf(bind, {10, 0, 50});
    // Bind pose: the skinned mesh equals the loaded one.
    auto rest = xtest::Skin(h);
    ExpectNear(rest[tip], {10, 0, 100});
    // The second bone at Rx(90 degrees) x T(0, 0, 50).
    h.Play(0, "Bend");
    h.controller->SetTrackPosition(0, 0.5);
    ASSERT_EQ(h.controller->AdvanceTime(0, nullptr), S_OK);
    auto bent = xtest::Skin(h);
    ExpectNear(bent[tip], {10, -50, 50});
    // Half on each bone: the ring at the joint does not move.
    ExpectNear(bent[middle], {10, 0, 50});
    ExpectNear(bent[IndexOf(bind, {10, 0, 0})], {10, 0, 0});
  }
}

TEST(XSkinning, NormalsTurnWithTheBoneAndSplitVerticesKeepTheirWeights) {
  // A triangle with two normals at vertex 0: the loader splits it, and the
  // copy must be skinned like the original.
  XMeshDesc m;
  m.Positions = {{0, 0, 100}, {10, 0, 100}, {0, 10, 100}, {0, -10, 100}, {-10, 0, 100}};
  m.Faces = {{0, 1, 2}, {0, 3, 4}};
  m.Normals = {{0, 0, 1}, {0, 1, 0}};
  m.NormalFaces = {{0, 0, 0}, {1, 1, 1}};
  formats::XSkinWeightsDesc w;
  w.Bone = "B";
  w.Vertices = {0, 1, 2, 3, 4};
  w.Weights = {1, 1, 1, 1, 1};
  m.Skin = {w};
  XFrameDesc root, bone;
  root.Name = "R";
  root.Meshes.push_back(m);
  bone.Name = "B";
  root.Children.push_back(bone);
  XFileDesc file;
  file.Frames.push_back(root);
  xtest::Hierarchy h(formats::XFileText(file));
  ASSERT_EQ(h.hr, S_OK);
  D3DXFRAME* b = D3DXFrameFind(h.root, "B");
  D3DXMatrixRotationX(&b->TransformationMatrix, D3DXToRadian(90));
  ID3DXMesh* src = h.root->pMeshContainer->MeshData.pMesh;
  ASSERT_EQ(src->GetNumVertices(), 6u);  // vertex 0 split in two
  std::vector<uint8_t> out((size_t)src->GetNumVertices() * src->GetNumBytesPerVertex());
  void* sp;
  src->LockVertexBuffer(D3DLOCK_READONLY, &sp);
  D3DXMATRIX bones[1] = {b->TransformationMatrix};
  ASSERT_EQ(h.root->pMeshContainer->pSkinInfo->UpdateSkinnedMesh(bones, nullptr, sp, out.data()), S_OK);
  src->UnlockVertexBuffer();
  float v0[6], v4[6];
  std::memcpy(v0, &out[0], 24);
  std::memcpy(v4, &out[5 * 24], 24);
  // Both copies of vertex 0 moved to (0, -100, 0).
  EXPECT_NEAR(v0[1], -100.0f, 1e-3f);
  EXPECT_NEAR(v4[1], -100.0f, 1e-3f);
  // Normal (0,0,1) turns to (0,-1,0); normal (0,1,0) turns to (0,0,1).
  EXPECT_NEAR(v0[4], -1.0f, 1e-5f);
  EXPECT_NEAR(v4[5], 1.0f, 1e-5f);
}

TEST_F(XAnimation, PeriodsLoopingWrapAndZeroAdvance) {
  ID3DXAnimationSet* slide = h.Set("Slide");
  ASSERT_NE(slide, nullptr);
  EXPECT_DOUBLE_EQ(slide->GetPeriod(), 1.0);  // 4800 ticks at the default 4800 per second
  EXPECT_DOUBLE_EQ(slide->GetPeriodicPosition(1.25), 0.25);
  slide->Release();
  h.Play(0, "Slide");
  h.controller->AdvanceTime(0.25, nullptr);
  ExpectNear(h.Origin("Lower"), {25, 0, 0});
  h.controller->AdvanceTime(1.0, nullptr);  // wraps to 0.25 again
  ExpectNear(h.Origin("Lower"), {25, 0, 0});
  EXPECT_DOUBLE_EQ(h.controller->GetTime(), 1.25);
  D3DXTRACK_DESC d;
  h.controller->GetTrackDesc(0, &d);
  EXPECT_DOUBLE_EQ(d.Position, 1.25);
  // Another user wrote the shared frame: a zero advance puts the pose back.
  D3DXFRAME* lower = D3DXFrameFind(h.root, "Lower");
  lower->TransformationMatrix = Translation(-7, -7, -7);
  h.controller->AdvanceTime(0, nullptr);
  ExpectNear(h.Origin("Lower"), {25, 0, 0});
  // Speed scales the advance; with the track disabled the frame goes back
  // to its own matrix from the file, whatever another user left there.
  h.controller->SetTrackSpeed(0, 2.0f);
  h.controller->AdvanceTime(0.125, nullptr);
  ExpectNear(h.Origin("Lower"), {50, 0, 0});
  h.controller->SetTrackEnable(0, false);
  lower->TransformationMatrix = Translation(-7, -7, -7);
  h.controller->AdvanceTime(0.1, nullptr);
  ExpectNear(h.Origin("Lower"), {0, 0, 0});
}

TEST_F(XAnimation, TicksPerSecondFromTheFileSetThePeriod) {
  XFileDesc file = formats::BentBarFile();
  file.TicksPerSecond = 2400;
  xtest::Hierarchy slow(formats::XFileBinary(file));
  ASSERT_EQ(slow.hr, S_OK);
  ID3DXAnimationSet* slide = slow.Set("Slide");
  EXPECT_DOUBLE_EQ(slide->GetPeriod(), 2.0);
  slide->Release();
}

TEST_F(XAnimation, OneShotSetHoldsItsLastPose) {
  ReplaceWithCallbacks(h, "Slide", {}, D3DXPLAY_ONCE);
  h.Play(0, "Slide");
  h.controller->AdvanceTime(0.5, nullptr);
  ExpectNear(h.Origin("Lower"), {50, 0, 0});
  h.controller->AdvanceTime(1.0, nullptr);
  ExpectNear(h.Origin("Lower"), {100, 0, 0});
  h.controller->AdvanceTime(3.0, nullptr);
  ExpectNear(h.Origin("Lower"), {100, 0, 0});
}

TEST_F(XAnimation, KeyAtZeroFiresOncePerStart) {
  int tag = 0;
  ReplaceWithCallbacks(h, "Slide", {{0.0f, &tag}}, D3DXPLAY_ONCE);
  h.Play(1, "Slide");
  Counter c;
  for (int i = 0; i < 30; ++i) h.controller->AdvanceTime(0.1, &c);
  ASSERT_EQ(c.calls.size(), 1u);
  EXPECT_EQ(c.calls[0].first, 1u);
  EXPECT_EQ(c.calls[0].second, &tag);
  // Starting again from position 0 fires it again; zero advances never do.
  h.controller->SetTrackPosition(1, 0);
  h.controller->AdvanceTime(0, &c);
  EXPECT_EQ(c.calls.size(), 1u);
  h.controller->AdvanceTime(0.05, &c);
  EXPECT_EQ(c.calls.size(), 2u);
  // No handler, no calls (and no harm).
  h.controller->SetTrackPosition(1, 0);
  h.controller->AdvanceTime(0.05, nullptr);
  EXPECT_EQ(c.calls.size(), 2u);
}

TEST_F(XAnimation, KeyAtHalfSecondFiresOncePerLoop) {
  int half = 0;
  ReplaceWithCallbacks(h, "Slide", {{2400.0f, &half}});
  h.Play(0, "Slide");
  Counter small, large;
  for (int i = 0; i < 30; ++i) h.controller->AdvanceTime(0.1, &small);  // [0, 3)
  EXPECT_EQ(small.calls.size(), 3u);
  // One long step over several periods fires each pass's key.
  h.controller->SetTrackPosition(0, 0);
  h.controller->AdvanceTime(2.6, &large);  // 0.5, 1.5, 2.5
  EXPECT_EQ(large.calls.size(), 3u);
}

TEST_F(XAnimation, ClonesAnimateIndependently) {
  ID3DXAnimationController *a = Clone(h.controller), *b = Clone(h.controller);
  ASSERT_TRUE(a && b);
  for (ID3DXAnimationController* c : {a, b}) {
    ID3DXAnimationSet* s = nullptr;
    c->GetAnimationSetByName("Slide", &s);
    c->SetTrackAnimationSet(0, s);
    c->SetTrackEnable(0, true);
    s->Release();
  }
  a->AdvanceTime(0.1, nullptr);
  b->AdvanceTime(0.6, nullptr);
  // Each writes its own pose into the shared frames when advanced.
  a->AdvanceTime(0, nullptr);
  ExpectNear(h.Origin("Lower"), {10, 0, 0});
  b->AdvanceTime(0, nullptr);
  ExpectNear(h.Origin("Lower"), {60, 0, 0});
  // The original was never advanced.
  EXPECT_EQ(h.controller->GetTime(), 0.0);
  a->Release();
  b->Release();
}

TEST_F(XAnimation, TwoWeightedTracksBlend) {
  h.Play(0, "Slide");
  h.Play(1, "Slide");
  h.controller->SetTrackPosition(0, 0.2);
  h.controller->SetTrackPosition(1, 0.6);
  h.controller->SetTrackWeight(0, 1.0f);
  h.controller->SetTrackWeight(1, 3.0f);
  h.controller->AdvanceTime(0, nullptr);
  ExpectNear(h.Origin("Lower"), {50, 0, 0});  // (20 x 1 + 60 x 3) / 4
}

TEST_F(XAnimation, SetRegistrationAndTrackErrors) {
  ID3DXAnimationSet* s = nullptr;
  EXPECT_TRUE(FAILED(h.controller->GetAnimationSetByName("Nope", &s)));
  EXPECT_EQ(s, nullptr);
  EXPECT_TRUE(FAILED(h.controller->SetTrackEnable(99, true)));
  EXPECT_TRUE(FAILED(h.controller->SetTrackPosition(2, 0)));
  s = h.Set("Bend");
  EXPECT_TRUE(FAILED(h.controller->RegisterAnimationSet(s)));  // already there
  // Capacity reached: no room for a third set.
  ID3DXAnimationSet* extra = new ID3DXAnimationSet("Extra", 4800, D3DXPLAY_LOOP, nullptr);
  EXPECT_TRUE(FAILED(h.controller->RegisterAnimationSet(extra)));
  EXPECT_EQ(h.controller->UnregisterAnimationSet(s), S_OK);
  EXPECT_EQ(h.controller->RegisterAnimationSet(extra), S_OK);
  EXPECT_EQ(h.controller->GetNumAnimationSets(), 2u);
  extra->Release();
  s->Release();
  EXPECT_TRUE(FAILED(h.controller->AdvanceTime(std::nan(""), nullptr)));
}

TEST_F(XAnimation, KeyAtThePeriodEndsItsPassAndKeysBeyondNeverFire) {
  int atEnd = 0, beyond = 0, atStart = 0;
  // The set's period is 4800 ticks (one second).
  ReplaceWithCallbacks(h, "Slide", {{0.0f, &atStart}, {4800.0f, &atEnd}, {7200.0f, &beyond}});
  h.Play(0, "Slide");
  Counter c;
  auto calls = [&](void* tag) {
    int n = 0;
    for (const auto& call : c.calls) n += call.second == tag;
    return n;
  };
  for (int i = 0; i < 4; ++i) h.controller->AdvanceTime(0.25, &c);  // [0, 1)
  EXPECT_EQ(calls(&atStart), 1);
  EXPECT_EQ(calls(&atEnd), 0);  // not at the start of the pass
  h.controller->AdvanceTime(0.25, &c);  // [1, 1.25): the first pass ends, the second starts
  EXPECT_EQ(calls(&atEnd), 1);
  EXPECT_EQ(calls(&atStart), 2);
  ASSERT_EQ(c.calls.size(), 3u);
  EXPECT_EQ(c.calls[1].second, &atEnd);  // the end of one pass before the start of the next
  EXPECT_EQ(c.calls[2].second, &atStart);
  for (int i = 0; i < 7; ++i) h.controller->AdvanceTime(0.25, &c);  // to 3.0
  EXPECT_EQ(calls(&atEnd), 2);
  EXPECT_EQ(calls(&beyond), 0);
  // A step starting exactly at a pass's end still fires that end once.
  h.controller->SetTrackPosition(0, 0.5);
  h.controller->AdvanceTime(0.5, &c);  // [0.5, 1.0)
  h.controller->AdvanceTime(0.5, &c);  // [1.0, 1.5)
  EXPECT_EQ(calls(&atEnd), 3);
  // A one-shot set: a key at its period fires when the end is passed;
  // beyond it, never.
  Counter once;
  ReplaceWithCallbacks(h, "Slide", {{4800.0f, &atEnd}, {7200.0f, &beyond}}, D3DXPLAY_ONCE);
  h.Play(1, "Slide");
  h.controller->SetTrackEnable(0, false);
  for (int i = 0; i < 12; ++i) h.controller->AdvanceTime(0.25, &once);
  ASSERT_EQ(once.calls.size(), 1u);
  EXPECT_EQ(once.calls[0].second, &atEnd);
}
