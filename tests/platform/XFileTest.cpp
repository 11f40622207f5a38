// The .X reader and the meshes it builds.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "platform/HeadlessGraphics.h"
#include "platform/Log.h"
#include "platform/mesh/XFileParser.h"
#include "platform/mesh/XHierarchy.h"
#include "support/TempDir.h"
#include "tools/formats/XFileWriter.h"
#include "platform/XTestSupport.h"

using formats::XFileDesc;
using formats::XMeshDesc;

using namespace platform;

namespace {

using Rows = std::vector<std::array<uint32_t, 3>>;

using xtest::LoadBytes;
using xtest::Loaded;
using xtest::QuietLog;

XMeshDesc TwoMaterialQuad() {
  XMeshDesc m = formats::QuadMesh(10.0f);
  formats::XMaterialDesc opaque, clear;
  opaque.Face = {1, 0, 0, 1};
  opaque.Power = 8;
  opaque.Specular = {0.5f, 0.5f, 0.5f};
  opaque.Texture = "Wall.png";
  clear.Face = {0, 0, 1, 0.5f};
  clear.Emissive = {0.25f, 0, 0};
  m.Materials = {opaque, clear};
  m.FaceMaterials = {1, 0};  // first face uses the second material
  return m;
}

XFileDesc FileWith(const XMeshDesc& m) {
  XFileDesc f;
  f.Meshes.push_back(m);
  return f;
}

std::vector<uint8_t> VertexBytes(ID3DXMesh* m) {
  void* p = nullptr;
  m->LockVertexBuffer(D3DLOCK_READONLY, &p);
  std::vector<uint8_t> v(static_cast<uint8_t*>(p),
                         static_cast<uint8_t*>(p) + (size_t)m->GetNumVertices() * m->GetNumBytesPerVertex());
  m->UnlockVertexBuffer();
  return v;
}

std::vector<uint32_t> Indices(ID3DXMesh* m) {
  void* p = nullptr;
  m->LockIndexBuffer(D3DLOCK_READONLY, &p);
  std::vector<uint32_t> v(static_cast<uint32_t*>(p), static_cast<uint32_t*>(p) + m->GetNumFaces() * 3);
  m->UnlockIndexBuffer();
  return v;
}

}  // namespace

TEST(XFileReader, TextBinaryAndCompressedFilesGiveTheSameMesh) {
  XFileDesc file = FileWith(TwoMaterialQuad());
  Loaded text, binary, zipped;
  LoadBytes(formats::XFileText(file), text);
  LoadBytes(formats::XFileBinary(file), binary);
  LoadBytes(formats::XFileCompressed(file), zipped);
  ASSERT_EQ(text.hr, S_OK);
  ASSERT_EQ(binary.hr, S_OK);
  ASSERT_EQ(zipped.hr, S_OK);
  EXPECT_EQ(text.mesh->GetFVF(), (uint32_t)(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
  for (Loaded* other : {&binary, &zipped}) {
    EXPECT_EQ(other->mesh->GetFVF(), text.mesh->GetFVF());
    EXPECT_EQ(VertexBytes(other->mesh), VertexBytes(text.mesh));
    EXPECT_EQ(Indices(other->mesh), Indices(text.mesh));
    EXPECT_EQ(xtest::Subsets(other->mesh), xtest::Subsets(text.mesh));
    ASSERT_EQ(other->materials.size(), 2u);
    EXPECT_EQ(other->materials[0].TextureFilename, "Wall.png");
    EXPECT_EQ(other->materials[1].MatD3D.Diffuse.a, 0.5f);
  }
}

TEST(XFileReader, LargeCompressedFileSpansSeveralBlocks) {
  // More than one 32 KB block, so later blocks start with the earlier output
  // as their dictionary.
  XMeshDesc m;
  for (int i = 0; i < 3000; ++i) {
    m.Positions.push_back(D3DXVECTOR3((float)i, (float)(i % 7), 1.5f));
    if (i >= 2) m.Faces.push_back({(uint32_t)i - 2, (uint32_t)i - 1, (uint32_t)i});
  }
  Loaded text, zipped;
  LoadBytes(formats::XFileText(FileWith(m)), text);
  LoadBytes(formats::XFileCompressed(FileWith(m)), zipped);
  ASSERT_EQ(zipped.hr, S_OK);
  EXPECT_GT(formats::XFileBinary(FileWith(m)).size(), 65536u);
  EXPECT_EQ(VertexBytes(zipped.mesh), VertexBytes(text.mesh));
  EXPECT_EQ(zipped.mesh->GetNumFaces(), 2998u);
}

TEST(XFileReader, TwoMaterialQuadIsSortedIntoTwoSubsets) {
  Loaded q;
  LoadBytes(formats::XFileText(FileWith(TwoMaterialQuad())), q);
  ASSERT_EQ(q.hr, S_OK);
  EXPECT_EQ(q.numMaterials, 2u);
  EXPECT_EQ(xtest::Subsets(q.mesh), (Rows{{0, 0, 1}, {1, 1, 1}}));
  // The second file face (0, 2, 3) uses material 0, so it comes first.
  auto idx = Indices(q.mesh);
  EXPECT_EQ((std::vector<uint32_t>(idx.begin(), idx.begin() + 3)), (std::vector<uint32_t>{0, 2, 3}));
  const D3DMATERIAL9& opaque = q.materials[0].MatD3D;
  // Colours the file gives as RGB carry an alpha of 1: only the face colour makes a material transparent.
  EXPECT_EQ((std::vector<float>{opaque.Diffuse.r, opaque.Power, opaque.Specular.g, opaque.Specular.a,
                                opaque.Emissive.a, opaque.Ambient.a}),
            (std::vector<float>{1.0f, 8.0f, 0.5f, 1.0f, 1.0f, 1.0f}));
  EXPECT_TRUE(q.materials[0].HasTexture());
  EXPECT_FALSE(q.materials[1].HasTexture());
  EXPECT_EQ(q.materials[1].MatD3D.Emissive.r, 0.25f);
  // The two triangles share the diagonal 0-2.
  ASSERT_EQ(q.adjacency.size(), 6u);
  int shared = 0;
  for (uint32_t a : q.adjacency) shared += a != UINT32_MAX;
  EXPECT_EQ(shared, 2);
}

TEST(XFileReader, MeshWithoutMaterialsHasOneDefaultSubset) {
  XMeshDesc m = formats::QuadMesh(1.0f);
  Loaded q;
  LoadBytes(formats::XFileText(FileWith(m)), q);
  ASSERT_EQ(q.hr, S_OK);
  EXPECT_EQ(q.numMaterials, 0u);
  EXPECT_EQ(xtest::Subsets(q.mesh), (Rows{{0, 0, 2}}));
  EXPECT_EQ(xtest::Table(q.mesh)[0].VertexCount, 4u);
}

TEST(XFileReader, MergedMeshesKeepTheirOwnMaterials) {
  // A mesh without materials, then one with two: the plain faces get a
  // default material of their own, not the second mesh's first.
  XFileDesc f;
  f.Meshes.push_back(formats::QuadMesh(1.0f));
  f.Meshes.push_back(TwoMaterialQuad());
  Loaded q;
  LoadBytes(formats::XFileText(f), q);
  ASSERT_EQ(q.hr, S_OK);
  ASSERT_EQ(q.numMaterials, 3u);
  EXPECT_FALSE(q.materials[0].HasTexture());
  EXPECT_EQ(q.materials[0].MatD3D.Diffuse.g, 1.0f);
  EXPECT_TRUE(q.materials[1].HasTexture());
  EXPECT_EQ(xtest::Subsets(q.mesh), (Rows{{0, 0, 2}, {1, 2, 1}, {2, 3, 1}}));
}

TEST(XFileReader, FacesAreFannedAndVerticesSplitPerNormal) {
  // Two faces of a box edge: a four-corner face and a three-corner face
  // sharing vertices 1 and 2 with different normals.
  XMeshDesc m;
  m.Positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {1, 0.5f, -1}};
  m.Faces = {{0, 1, 2, 3}, {1, 4, 2}};
  m.Normals = {{0, 0, 1}, {1, 0, 0}};
  m.NormalFaces = {{0, 0, 0, 0}, {1, 1, 1}};
  Loaded q;
  LoadBytes(formats::XFileBinary(FileWith(m)), q);
  ASSERT_EQ(q.hr, S_OK);
  EXPECT_EQ(q.mesh->GetNumFaces(), 3u);
  // Positions 1 and 2 appear with two normals each: two extra vertices.
  ASSERT_EQ(q.mesh->GetNumVertices(), 7u);
  auto pos = xtest::Positions(q.mesh);
  EXPECT_EQ(pos[5], pos[1]);
  EXPECT_EQ(pos[6], pos[2]);
  auto idx = Indices(q.mesh);
  EXPECT_EQ(idx, (std::vector<uint32_t>{0, 1, 2, 0, 2, 3, 5, 4, 6}));
  // Normals of a split vertex differ.
  void* p = nullptr;
  q.mesh->LockVertexBuffer(D3DLOCK_READONLY, &p);
  float n1[3], n5[3];
  std::memcpy(n1, static_cast<uint8_t*>(p) + 1 * 24 + 12, 12);
  std::memcpy(n5, static_cast<uint8_t*>(p) + 5 * 24 + 12, 12);
  q.mesh->UnlockVertexBuffer();
  EXPECT_EQ(n1[2], 1.0f);
  EXPECT_EQ(n5[0], 1.0f);
}

TEST(XFileReader, ReferencesTemplatesUnknownObjectsAndFrames) {
  const std::string text =
      "xof 0303txt 0032\n"
      "template Mesh { <3D82AB44-62DA-11cf-AB39-0020AF71E433> DWORD nVertices; array Vector vertices[nVertices]; }\n"
      "// a comment\n# another\n"
      "Header { 1; 0; 1; }\n"
      "Material Red { 1.0;0.0;0.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { \"red.png\"; } }\n"
      "Mesh Shared <00000000-0000-0000-0000-000000000000> {\n"
      "  3; 0.0;0.0;0.0;, 1.0;.5;0.0;, 0.0;1.0;0.0;;\n"
      "  1; 3;0,1,2;;\n"
      "  Unknown { 5; Nested { 1; 2; } }\n"
      "  MeshMaterialList { 1; 1; 0;; { Red } }\n"
      "}\n"
      "Frame Moved { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 10,20,30,1;; } { Shared } }\n";
  Loaded q;
  LoadBytes(text, q);
  ASSERT_EQ(q.hr, S_OK);
  // The mesh used by the frame is placed by it and not loaded twice.
  ASSERT_EQ(q.mesh->GetNumVertices(), 3u);
  auto pos = xtest::Positions(q.mesh);
  EXPECT_EQ(pos[1], D3DXVECTOR3(11, 20.5f, 30));  // ".5" is a number
  ASSERT_EQ(q.materials.size(), 1u);
  EXPECT_EQ(q.materials[0].TextureFilename, "red.png");
}

TEST(XFileReader, DamagedFilesFailTheirLoad) {
  QuietLog quiet;
  const std::string head = "xof 0303txt 0032\n";
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"vertex count larger than the data", "Mesh { 1000000; 0;0;0;; 1; 3;0,0,0;; }"},
      {"face count larger than the data", "Mesh { 3; 0;0;0;,1;0;0;,0;1;0;; 4000000000; 3;0,1,2;; }"},
      {"face index out of range", "Mesh { 3; 0;0;0;,1;0;0;,0;1;0;; 1; 3;0,1,3;; }"},
      {"face with two corners", "Mesh { 3; 0;0;0;,1;0;0;,0;1;0;; 1; 2;0,1;; }"},
      {"normal index out of range",
       "Mesh { 3; 0;0;0;,1;0;0;,0;1;0;; 1; 3;0,1,2;; MeshNormals { 1; 0;0;1;; 1; 3;0,0,1;; } }"},
      {"normal faces differ", "Mesh { 3; 0;0;0;,1;0;0;,0;1;0;; 1; 3;0,1,2;; MeshNormals { 1; 0;0;1;; 2; 3;0,0,0;; } }"},
      {"material index out of range",
       "Mesh { 3; 0;0;0;,1;0;0;,0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 5;; Material { 1;1;1;1;; 0; 0;0;0;; "
       "0;0;0;; } } }"},
      {"material count without materials", "Mesh { 3; 0;0;0;,1;0;0;,0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 2; 1; 1;; } }"},
      {"skin weight vertex out of range",
       "Mesh { 3; 0;0;0;,1;0;0;,0;1;0;; 1; 3;0,1,2;; SkinWeights { \"B\"; 1; 7; 1.0; 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; } }"},
      {"texture coordinates beyond vertices", "Mesh { 1; 0;0;0;; 1; 3;0,0,0;; MeshTextureCoords { 2; 0;0;, 1;1;; } }"},
      {"negative count", "Mesh { -3; 0;0;0;; 1; 3;0,0,0;; }"},
      {"unknown reference", "Frame F { { Missing } }"},
      {"unterminated object", "Mesh { 3; 0;0;0;,1;0;0;,0;1;0;;"},
      {"unterminated string", "Material M { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"abc } }"},
      {"no faces", "Mesh { 0; 0; }"},
  };
  for (const auto& c : cases) {
    Loaded q;
    LoadBytes(head + c.second, q);
    EXPECT_TRUE(FAILED(q.hr)) << c.first;
    EXPECT_EQ(q.mesh, nullptr) << c.first;
  }
  // Not an .X file at all, and a bad header.
  for (const std::string& bad : {std::string("hello"), std::string("xof 0303xxx 0032 {}"), std::string()}) {
    Loaded q;
    LoadBytes(bad, q);
    EXPECT_TRUE(FAILED(q.hr));
  }
}

TEST(XFileReader, TruncatedFilesFailWithoutReadingPastTheEnd) {
  QuietLog quiet;
  XFileDesc f = FileWith(TwoMaterialQuad());
  for (const std::string& whole : {formats::XFileText(f), formats::XFileBinary(f), formats::XFileCompressed(f)}) {
    // Trailing line ends of the text file are not data.
    size_t meaningful = whole.find_last_not_of("\r\n") + 1;
    for (size_t n = 0; n < meaningful; ++n) {
      // A copy of exactly n bytes, so a sanitizer sees any read past it.
      std::vector<uint8_t> part(whole.begin(), whole.begin() + n);
      Loaded q;
      std::string s(part.begin(), part.end());
      LoadBytes(s, q);
      EXPECT_TRUE(FAILED(q.hr)) << "cut at " << n << " of " << whole.size();
    }
  }
}

TEST(XFileReader, BinaryStringTerminatorsOfEitherWidth) {
  // TextureFilename { "a.png"; } with a 16-bit, a 32-bit and no terminator.
  auto file = [](const std::string& terminator) {
    std::string b = "xof 0303bin 0032";
    auto word = [&](uint16_t w) { b.append(reinterpret_cast<const char*>(&w), 2); };
    auto dword = [&](uint32_t d) { b.append(reinterpret_cast<const char*>(&d), 4); };
    auto name = [&](const std::string& n) {
      word(1);
      dword((uint32_t)n.size());
      b += n;
    };
    // An object's name, its '{' and a list of integers (token 6) or floats (token 7).
    auto open = [&](const std::string& n, uint16_t list, std::vector<uint32_t> values) {
      name(n);
      word(10);
      word(list);
      dword(uint32_t(values.size()));
      for (uint32_t v : values) dword(v);
    };
    open("Mesh", 6, {3, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // 3 vertices at 0 (as ints)
    word(6);
    dword(5);
    for (uint32_t v : {1u, 3u, 0u, 1u, 2u}) dword(v);
    open("MeshMaterialList", 6, {1, 1, 0});
    open("Material", 7, std::vector<uint32_t>(11, 0x3F800000u));  // 1.0f
    name("TextureFilename");
    word(10);
    word(2);
    dword(5);
    b += "a.png" + terminator;
    for (int i = 0; i < 4; ++i) word(11);
    return b;
  };
  for (const std::string& t : {std::string("\x14\x00", 2), std::string("\x14\x00\x00\x00", 4), std::string()}) {
    Loaded q;
    LoadBytes(file(t), q);
    ASSERT_EQ(q.hr, S_OK) << t.size();
    ASSERT_EQ(q.materials.size(), 1u);
    EXPECT_EQ(q.materials[0].TextureFilename, "a.png");
  }
}

TEST(XFileReader, BinaryCountsLargerThanTheFileFail) {
  QuietLog quiet;
  std::string bin = formats::XFileBinary(FileWith(formats::QuadMesh(1)));
  // Raise the first integer-list length (the vertex count list) to huge.
  size_t at = bin.find(std::string("\x06\x00", 2), 16);
  ASSERT_NE(at, std::string::npos);
  uint32_t huge = 0x40000000u;
  std::string damaged = bin;
  std::memcpy(&damaged[at + 2], &huge, 4);
  Loaded q;
  LoadBytes(damaged, q);
  EXPECT_TRUE(FAILED(q.hr));
}

TEST(XFileReader, LoadsFromFileByDataName) {
  testsupport::TempDir dir;
  dir.Write("Meshes/Quad.X", formats::XFileText(FileWith(TwoMaterialQuad())));
  ID3DXMesh* mesh = nullptr;
  uint32_t n = 0;
  std::string name = dir.Path() + "\\MESHES\\QUAD.X";
  ASSERT_EQ(D3DXLoadMeshFromXA(name.c_str(), D3DXMESH_MANAGED, nullptr, nullptr, nullptr, nullptr, &n, &mesh), S_OK);
  EXPECT_EQ(n, 2u);
  mesh->Release();
  QuietLog quiet;
  EXPECT_TRUE(FAILED(D3DXLoadMeshFromXA((dir.Path() + "/missing.x").c_str(), 0, nullptr, nullptr, nullptr, nullptr,
                                        &n, &mesh)));
  EXPECT_EQ(mesh, nullptr);
}

TEST(XMesh, BoundingSphereEnclosesEveryVertex) {
  XMeshDesc m;
  m.Positions = {{-5, 0, 0}, {5, 0, 0}, {0, 3, 0}, {0, 0, 9}};
  m.Faces = {{0, 1, 2}, {0, 1, 3}};
  Loaded q;
  LoadBytes(formats::XFileText(FileWith(m)), q);
  ASSERT_EQ(q.hr, S_OK);
  void* p = nullptr;
  q.mesh->LockVertexBuffer(0, &p);
  D3DXVECTOR3 c;
  float r = 0;
  ASSERT_EQ(D3DXComputeBoundingSphere(static_cast<D3DXVECTOR3*>(p), q.mesh->GetNumVertices(),
                                      D3DXGetFVFVertexSize(q.mesh->GetFVF()), &c, &r),
            S_OK);
  q.mesh->UnlockVertexBuffer();
  EXPECT_EQ(c, D3DXVECTOR3(0, 0.75f, 2.25f));
  for (const auto& v : m.Positions) {
    D3DXVECTOR3 d = v - c;
    EXPECT_LE(D3DXVec3Length(&d), r + 1e-4f);
  }
}

TEST(XMesh, BoundingBoxIsTheLeastAndGreatestOfEachAxis) {
  // Positions 1.5 vertices apart in a buffer with other fields between them.
  const float buffer[] = {-5, 2, 7, 99, 4, -1, 0, 99, 1, 3, -8, 99};
  D3DXVECTOR3 low, high;
  ASSERT_EQ(D3DXComputeBoundingBox(reinterpret_cast<const D3DXVECTOR3*>(buffer), 3, 4 * sizeof(float), &low, &high),
            S_OK);
  EXPECT_EQ(low, D3DXVECTOR3(-5, -1, -8));
  EXPECT_EQ(high, D3DXVECTOR3(4, 3, 7));
  EXPECT_EQ(D3DXComputeBoundingBox(reinterpret_cast<const D3DXVECTOR3*>(buffer), 0, 12, &low, &high), S_OK);
  EXPECT_EQ(low, D3DXVECTOR3(0, 0, 0)) << "no points: an empty box at the origin";
  EXPECT_EQ(high, D3DXVECTOR3(0, 0, 0));
  EXPECT_EQ(D3DXComputeBoundingBox(reinterpret_cast<const D3DXVECTOR3*>(buffer), 3, 8, &low, &high), E_INVALIDARG);
  EXPECT_EQ(D3DXComputeBoundingBox(nullptr, 3, 12, &low, &high), E_INVALIDARG);
}

TEST(XMesh, OptimizeCompactsAndSortsAndCloneConvertsFormat) {
  ID3DXMesh mesh(2, 5, 0, D3DFVF_XYZ, nullptr);
  void* vp;
  mesh.LockVertexBuffer(0, &vp);
  float* v = static_cast<float*>(vp);
  for (int i = 0; i < 15; ++i) v[i] = (float)i;
  void* ip;
  mesh.LockIndexBuffer(0, &ip);
  const uint32_t idx[6] = {4, 3, 2, 2, 3, 0};  // vertex 1 unused
  std::memcpy(ip, idx, sizeof idx);
  uint32_t* attr;
  mesh.LockAttributeBuffer(0, &attr);
  attr[0] = 3;
  attr[1] = 1;
  uint32_t faceRemap[2];
  ID3DXBuffer* vremap = nullptr;
  ASSERT_EQ(mesh.OptimizeInplace(D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_COMPACT, nullptr, nullptr, faceRemap, &vremap),
            S_OK);
  EXPECT_EQ(faceRemap[0], 1u);
  EXPECT_EQ(mesh.GetNumVertices(), 4u);
  EXPECT_EQ(xtest::Subsets(&mesh), (Rows{{1, 0, 1}, {3, 1, 1}}));
  auto pos = xtest::Positions(&mesh);
  const uint32_t* remap = static_cast<uint32_t*>(vremap->GetBufferPointer());
  for (uint32_t i = 0; i < 4; ++i) {
    EXPECT_EQ(pos[i].x, (float)(remap[i] * 3));
  }
  vremap->Release();

  ID3DXMesh* clone = nullptr;
  ASSERT_EQ(mesh.CloneMeshFVF(0, D3DFVF_XYZ | D3DFVF_DIFFUSE, nullptr, &clone), S_OK);
  EXPECT_EQ(clone->GetNumBytesPerVertex(), 16u);
  void* cp;
  clone->LockVertexBuffer(D3DLOCK_READONLY, &cp);
  uint32_t colour;
  std::memcpy(&colour, static_cast<uint8_t*>(cp) + 16 + 12, 4);
  float x1;
  std::memcpy(&x1, static_cast<uint8_t*>(cp) + 16, 4);
  clone->UnlockVertexBuffer();
  EXPECT_EQ(colour, 0xFFFFFFFFu);
  EXPECT_EQ(x1, pos[1].x);
  clone->Release();
}

TEST(XMesh, DrawSubsetDrawsItsFacesWithTheMeshDevice) {
  headless::ResetGraphics();
  IGraphicsSystem* system = CreateGraphicsSystem();
  ASSERT_NE(system, nullptr);
  D3DPRESENT_PARAMETERS params;
  params.BackBufferWidth = 800;
  params.BackBufferHeight = 600;
  IDevice* device = nullptr;
  ASSERT_EQ(system->CreateDevice(nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device), D3D_OK);
  auto* rec = static_cast<headless::RecordingDevice*>(device);
  std::string bytes = formats::XFileText(FileWith(TwoMaterialQuad()));
  ID3DXMesh* mesh = nullptr;
  ASSERT_EQ(D3DXLoadMeshFromXInMemory(bytes.data(), (uint32_t)bytes.size(), D3DXMESH_MANAGED, device, nullptr,
                                      nullptr, nullptr, nullptr, &mesh),
            S_OK);
  rec->ClearLog();
  EXPECT_EQ(mesh->DrawSubset(1), S_OK);
  EXPECT_EQ(mesh->DrawSubset(7), S_OK);  // no such subset: nothing drawn
  ASSERT_EQ(rec->Draws().size(), 1u);
  EXPECT_TRUE(rec->Draws()[0].indexed);
  EXPECT_EQ(rec->Draws()[0].primitiveCount, 1u);
  EXPECT_EQ(rec->Draws()[0].fvf, mesh->GetFVF());
  EXPECT_EQ(rec->LiveBuffers(), 2u);
  // Data changed through a lock is sent again; unchanged data is not, and
  // rewritten vertices (a skinned working mesh, every draw) leave the
  // indices where they are.
  uint32_t locks = rec->Stats().locks;
  mesh->DrawSubset(0);
  EXPECT_EQ(rec->Stats().locks, locks);
  void* p = nullptr;
  mesh->LockVertexBuffer(0, &p);
  mesh->UnlockVertexBuffer();
  mesh->DrawSubset(0);
  EXPECT_EQ(rec->Stats().locks, locks + 1);
  mesh->LockIndexBuffer(0, &p);
  mesh->UnlockIndexBuffer();
  mesh->DrawSubset(0);
  EXPECT_EQ(rec->Stats().locks, locks + 2);
  mesh->Release();
  // The device still holds the bound buffers; unbound, they go.
  device->SetStreamSource(0, nullptr, 0, 0);
  device->SetIndices(nullptr);
  EXPECT_EQ(rec->LiveBuffers(), 0u);
  // Without a device a mesh cannot draw.
  ID3DXMesh bare(1, 3, 0, D3DFVF_XYZ, nullptr);
  EXPECT_TRUE(FAILED(bare.DrawSubset(0)));
  device->Release();
  system->Release();
}
