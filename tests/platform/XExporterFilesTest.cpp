// Mesh files as other exporters write them: rotation keys stored as the
// conjugate of the row-vector rotation; damaged files, made by hand or by
// random mutations of valid ones, fail cleanly.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "fuzz/XFileFuzzBody.h"
#include "fuzz/XFileSeedData.h"
#include "platform/XTestSupport.h"
#include "platform/mesh/XFileParser.h"
#include "platform/mesh/XHierarchy.h"
#include "tools/formats/DemoMeshes.h"
#include "tools/formats/XFileWriter.h"

using namespace platform;

namespace {

using xtest::LoadBytes;
using xtest::Loaded;
using xtest::QuietLog;

// A frame turned +90 degrees about x (y goes to z) and a set whose one key
// holds that same turn, written as exporters write it.
const char* const kTurnedFrameText =
    "xof 0303txt 0032\n"
    "Frame J {\n"
    "  FrameTransformMatrix {\n"
    "    1.000000,0.000000,0.000000,0.000000,\n"
    "    0.000000,0.000000,1.000000,0.000000,\n"
    "    0.000000,-1.000000,0.000000,0.000000,\n"
    "    0.000000,0.000000,0.000000,1.000000;;\n"
    "  }\n"
    "}\n"
    "AnimationSet Turn {\n"
    "  Animation {\n"
    "    { J }\n"
    "    AnimationKey {\n"
    "      0;\n"
    "      1;\n"
    "      0;4;0.707107,-0.707107,0.000000,0.000000;;;\n"
    "    }\n"
    "  }\n"
    "}\n";

// The same frame and set in the binary encoding, token by token.
std::string TurnedFrameBinary() {
  xfuzz::BinaryTokens f;
  f.Name("Frame");
  f.Name("J");
  f.Word(10);
  f.Name("FrameTransformMatrix");
  f.Word(10);
  f.Floats({1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1});
  for (int i = 0; i < 2; ++i) f.Word(11);
  f.Name("AnimationSet");
  f.Name("Turn");
  f.Word(10);
  f.Name("Animation");
  f.Word(10);
  f.Word(10);
  f.Name("J");
  f.Word(11);
  f.Name("AnimationKey");
  f.Word(10);
  f.Ints({0, 1, 0, 4});
  f.Floats({0.707107f, -0.707107f, 0, 0});
  for (int i = 0; i < 3; ++i) f.Word(11);
  return f.bytes;
}

void ExpectMatrixNear(const D3DXMATRIX& a, const D3DXMATRIX& b) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      EXPECT_NEAR(a.m[r][c], b.m[r][c], 1e-4f) << r << "," << c;
    }
}

D3DXVECTOR3 NormalOf(ID3DXMesh* m, uint32_t vertex) {
  void* p = nullptr;
  m->LockVertexBuffer(D3DLOCK_READONLY, &p);
  D3DXVECTOR3 n;
  std::memcpy(&n, static_cast<uint8_t*>(p) + (size_t)vertex * m->GetNumBytesPerVertex() + 12, 12);
  m->UnlockVertexBuffer();
  return n;
}

}  // namespace

TEST(XExporterKeys, RotationKeyEqualToItsFrameMatrixPosesThatMatrix) {
  const std::string text = kTurnedFrameText;
  const std::string binary = TurnedFrameBinary();
  for (const std::string& bytes : {text, binary, formats::CompressXFile(binary)}) {
    xtest::Hierarchy h(bytes);
    ASSERT_EQ(h.hr, S_OK);
    const D3DXMATRIX file = h.root->TransformationMatrix;
    EXPECT_FLOAT_EQ(file._23, 1.0f);
    h.Play(0, "Turn");
    ASSERT_EQ(h.controller->AdvanceTime(0, nullptr), S_OK);
    // The key reproduces the frame's own matrix, not its transpose.
    ExpectMatrixNear(h.root->TransformationMatrix, file);
    D3DXVECTOR3 y(0, 1, 0), turned;
    D3DXVec3TransformCoord(&turned, &y, &h.root->TransformationMatrix);
    EXPECT_NEAR(turned.z, 1.0f, 1e-4f);
  }
}

TEST(XExporterKeys, WriterStoresTheConjugateAsExportersDo) {
  formats::XFileDesc file;
  formats::XFrameDesc j;
  j.Name = "J";
  file.Frames.push_back(j);
  formats::XAnimationSetDesc set;
  set.Name = "Turn";
  formats::XAnimationDesc a;
  a.Target = "J";
  D3DXQUATERNION q;
  D3DXVECTOR3 axis(1, 0, 0);
  D3DXQuaternionRotationAxis(&q, &axis, D3DX_PI / 2);  // x = +0.7071
  a.Rotation = {{0, q}};
  set.Animations.push_back(a);
  file.AnimationSets.push_back(set);
  const std::string text = formats::XFileText(file);
  EXPECT_NE(text.find("0.707106769;-0.707106769;0;0;"), std::string::npos) << text;
  // So do the demo meshes: the bar's bend key at 2400 ticks.
  const std::string bar = formats::XFileText(formats::BentBarFile());
  EXPECT_NE(bar.find("0.707106769;-0.707106769;0;0;"), std::string::npos);
  EXPECT_EQ(bar.find("0.707106769;0.707106769;"), std::string::npos);
  // And the matrix it poses is the row-vector turn the quaternion names.
  xtest::Hierarchy h(text);
  ASSERT_EQ(h.hr, S_OK);
  h.Play(0, "Turn");
  h.controller->AdvanceTime(0, nullptr);
  D3DXMATRIX expected;
  D3DXMatrixRotationQuaternion(&expected, &q);
  ExpectMatrixNear(h.root->TransformationMatrix, expected);
}

TEST(XExporterDamage, RunsOfEmptyListsCostNoStack) {
  QuietLog quiet;
  // 100,000 empty integer and float lists ahead of a valid mesh.
  const std::string file = xfuzz::EmptyListsBeforeQuad();
  for (const std::string& bytes : {file, formats::CompressXFile(file)}) {
    Loaded q;
    LoadBytes(bytes, q);
    ASSERT_EQ(q.hr, S_OK);
    EXPECT_EQ(q.mesh->GetNumVertices(), 4u);
  }
  // Only the lists: nothing to load, a clean failure.
  const std::string onlyRuns = file.substr(0, 16 + 100000 * 6);
  for (const std::string& bytes : {onlyRuns, formats::CompressXFile(onlyRuns)}) {
    Loaded q;
    LoadBytes(bytes, q);
    EXPECT_TRUE(FAILED(q.hr));
    EXPECT_EQ(q.mesh, nullptr);
  }
}

TEST(XExporterDamage, InflationAndDataItemsAreBounded) {
  xfile::XScene scene;
  std::string error;
  auto parse = [&](const std::string& bytes) {
    return xfile::ParseXFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), scene, error);
  };
  // Small enough: loads in every encoding.
  const std::string small = xfuzz::QuadWithBlob(1000);
  EXPECT_TRUE(parse(small)) << error;
  EXPECT_TRUE(parse(formats::CompressXFile(small))) << error;
  ASSERT_EQ(scene.Meshes.size(), 1u);
  // Inflating past 16 MiB (a few dozen KiB compressed): refused at once.
  const std::string big = formats::CompressXFile(xfuzz::QuadWithBlob(4300000));
  EXPECT_LT(big.size(), 200000u);
  EXPECT_FALSE(parse(big));
  EXPECT_EQ(error, "bad uncompressed size");
  // Over four million data items in a plain file: refused.
  EXPECT_FALSE(parse(xfuzz::QuadWithBlob(4200000)));
  EXPECT_EQ(error, "too many data items");
}

TEST(XExporterDamage, LaterNormalsObjectReplacesTheEarlierOneWhole) {
  Loaded normals;
  LoadBytes(xfuzz::TwoNormalsObjects(), normals);
  ASSERT_EQ(normals.hr, S_OK);
  ASSERT_EQ(normals.mesh->GetNumVertices(), 3u);
  for (uint32_t v = 0; v < 3; ++v) EXPECT_EQ(NormalOf(normals.mesh, v), D3DXVECTOR3(0, 0, 1)) << v;
  // A second material list replaces the first the same way.
  const std::string twoLists =
      "xof 0303txt 0032\n"
      "Mesh {\n"
      " 3; 0;0;0;, 1;0;0;, 0;1;0;;\n"
      " 1; 3;0,1,2;;\n"
      " MeshMaterialList { 2; 1; 1;; Material { 1;0;0;1;; 0; 0;0;0;; 0;0;0;; } Material { 0;1;0;1;; 0; 0;0;0;; "
      "0;0;0;; } }\n"
      " MeshMaterialList { 1; 1; 0;; Material { 0;0;1;1;; 0; 0;0;0;; 0;0;0;; } }\n"
      "}\n";
  Loaded lists;
  LoadBytes(twoLists, lists);
  ASSERT_EQ(lists.hr, S_OK);
  ASSERT_EQ(lists.numMaterials, 1u);
  EXPECT_FLOAT_EQ(lists.materials[0].MatD3D.Diffuse.b, 1.0f);
}

TEST(XExporterDamage, RegressionInputsOfTheFuzzCorpusAreHandled) {
  QuietLog quiet;
  const std::vector<std::string> inputs = xfuzz::RegressionFiles();
  ASSERT_EQ(inputs.size(), 4u);
  const bool loads[] = {true, true, false, true};
  for (size_t i = 0; i < inputs.size(); ++i) {
    const std::string& s = inputs[i];
    EXPECT_LE(s.size(), 1u << 20) << i;  // within the fuzzer's input length
    xfile::XScene scene;
    std::string error;
    EXPECT_EQ(xfile::ParseXFile(reinterpret_cast<const uint8_t*>(s.data()), s.size(), scene, error), loads[i]) << i;
  }
}

TEST(XFileMutation, RandomlyDamagedFilesAreHandled) {
  platform::SetLogHook([](platform::LogLevel, const std::string&) {});
  std::mt19937 rng(12345);
  auto seeds = xfuzz::SeedFiles();
  // Every seed loads as given, so the mutations start from valid files.
  for (const auto& s : seeds) {
    std::string error;
    platform::xfile::XScene scene;
    EXPECT_TRUE(platform::xfile::ParseXFile((const uint8_t*)s.data(), s.size(), scene, error)) << error;
  }
  int rejected = 0;
  const int kRounds = 4000;
  for (int round = 0; round < kRounds; ++round) {
    std::string s = seeds[round % seeds.size()];
    int edits = 1 + (int)(rng() % 4);
    for (int e = 0; e < edits && !s.empty(); ++e) {
      size_t at = 16 + rng() % std::max<size_t>(1, s.size() - 16);
      if (at >= s.size()) at = s.size() - 1;
      switch (rng() % 5) {
        case 0: s[at] = (char)(rng() & 0xFF); break;                       // random byte
        case 1: s[at] ^= (char)(1u << (rng() % 8)); break;                 // bit flip
        case 2: s.erase(at, 1 + rng() % 8); break;                         // cut
        case 3: s.insert(at, std::string(1 + rng() % 4, (char)(rng() & 0xFF))); break;
        case 4: s.resize(at); break;                                        // truncate
      }
    }
    platform::xfile::XScene scene;
    std::string error;
    std::vector<uint8_t> exact(s.begin(), s.end());  // exact size for the sanitizer
    if (!platform::xfile::ParseXFile(exact.data(), exact.size(), scene, error)) {
      ++rejected;
      EXPECT_FALSE(error.empty());
    }
    xfuzz::RunInput(exact.data(), exact.size());
  }
  platform::SetLogHook(nullptr);
  // Most mutations damage the file; the readers must notice.
  EXPECT_GT(rejected, kRounds / 4);
}
