// Per-frame cost of animated meshes: advancing a controller and skinning a
// mesh of a few thousand vertices on the processor.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "platform/mesh/XHierarchy.h"
#include "tests/fuzz/XFileFuzzBody.h"
#include "tools/formats/XFileWriter.h"

using namespace platform;

namespace {

// A tube along z of `rings` rings of 32 vertices, skinned to `bones` bones
// stacked along it (each vertex on its two nearest bones), with a set that
// turns every bone.
formats::XFileDesc Tube(int rings, int bones) {
  formats::XMeshDesc m;
  m.Name = "Tube";
  const int around = 32;
  const float length = 100.0f * bones;
  for (int r = 0; r < rings; ++r)
    for (int k = 0; k < around; ++k) {
      float a = 2 * D3DX_PI * k / around;
      m.Positions.push_back({10 * std::cos(a), 10 * std::sin(a), length * r / (rings - 1)});
    }
  for (int r = 0; r + 1 < rings; ++r)
    for (int k = 0; k < around; ++k) {
      uint32_t a = r * around + k, b = r * around + (k + 1) % around;
      m.Faces.push_back({a, b, b + around, a + around});
    }
  m.Skin.resize(bones);
  formats::XFrameDesc root;
  root.Name = "Root";
  formats::XFrameDesc* parent = &root;
  formats::XAnimationSetDesc set;
  set.Name = "Wave";
  for (int b = 0; b < bones; ++b) {
    auto& w = m.Skin[b];
    w.Bone = "Bone" + std::to_string(b);
    D3DXMatrixTranslation(&w.Offset, 0, 0, -100.0f * b);
    formats::XFrameDesc bone;
    bone.Name = w.Bone;
    D3DXMatrixTranslation(&bone.Transform, 0, 0, b ? 100.0f : 0.0f);
    parent->Children.push_back(bone);
    parent = &parent->Children.back();
    formats::XAnimationDesc an;
    an.Target = w.Bone;
    D3DXVECTOR3 axis(1, 0, 0);
    for (uint32_t t = 0; t <= 4800; t += 1200) {
      D3DXQUATERNION q;
      D3DXQuaternionRotationAxis(&q, &axis, 0.3f * std::sin(t / 4800.0f * 2 * D3DX_PI));
      an.Rotation.push_back({t, q});
    }
    an.Position = {{0, {0, 0, b ? 100.0f : 0.0f}}};
    set.Animations.push_back(an);
  }
  for (uint32_t v = 0; v < m.Positions.size(); ++v) {
    float along = m.Positions[v].z / 100.0f;
    int b0 = std::min((int)along, bones - 1), b1 = std::min(b0 + 1, bones - 1);
    float f = along - b0;
    m.Skin[b0].Vertices.push_back(v);
    m.Skin[b0].Weights.push_back(b0 == b1 ? 1.0f : 1 - f);
    if (b1 != b0) {
      m.Skin[b1].Vertices.push_back(v);
      m.Skin[b1].Weights.push_back(f);
    }
  }
  root.Meshes.push_back(m);
  formats::XFileDesc file;
  file.Frames.push_back(root);
  file.AnimationSets.push_back(set);
  return file;
}

void BM_AdvanceAndSkin(benchmark::State& state) {
  const int rings = (int)state.range(0), bones = (int)state.range(1);
  std::string bytes = formats::XFileBinary(Tube(rings, bones));
  xfuzz::Allocator alloc;  // names the frames, keeps mesh and skin
  D3DXFRAME* root = nullptr;
  ID3DXAnimationController* ac = nullptr;
  if (FAILED(D3DXLoadMeshHierarchyFromXInMemory(bytes.data(), (uint32_t)bytes.size(), 0, nullptr, &alloc, nullptr,
                                                &root, &ac))) {
    state.SkipWithError("load failed");
    return;
  }
  ID3DXAnimationSet* set = nullptr;
  ac->GetAnimationSet(0, &set);
  ac->SetTrackAnimationSet(0, set);
  ac->SetTrackEnable(0, true);
  set->Release();
  D3DXMESHCONTAINER* c = root->pMeshContainer;
  ID3DXMesh* src = c->MeshData.pMesh;
  std::vector<uint8_t> dst((size_t)src->GetNumVertices() * src->GetNumBytesPerVertex());
  std::vector<D3DXMATRIX> matrices(bones);
  std::vector<D3DXFRAME*> boneFrames(bones);
  for (int b = 0; b < bones; ++b) boneFrames[b] = D3DXFrameFind(root, c->pSkinInfo->GetBoneName(b));
  for (auto _ : state) {
    ac->AdvanceTime(1.0 / 60.0, nullptr);
    // Bones are chained: combine along the chain.
    D3DXMATRIX combined;
    for (int b = 0; b < bones; ++b) {
      combined = boneFrames[b]->TransformationMatrix * combined;
      matrices[b] = *c->pSkinInfo->GetBoneOffsetMatrix(b) * combined;
    }
    void* sp = nullptr;
    src->LockVertexBuffer(D3DLOCK_READONLY, &sp);
    c->pSkinInfo->UpdateSkinnedMesh(matrices.data(), nullptr, sp, dst.data());
    benchmark::DoNotOptimize(dst.data());
  }
  state.counters["vertices"] = src->GetNumVertices();
  D3DXFrameDestroy(root, &alloc);
  ac->Release();
}
BENCHMARK(BM_AdvanceAndSkin)->Args({10, 2})->Args({64, 8})->Args({128, 24});

}  // namespace

BENCHMARK_MAIN();
