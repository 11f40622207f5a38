#pragma once
// Small valid mesh files in every encoding, the starting points of the
// fuzzer and of the mutation test; and damaged files that once brought the
// reader down, kept as regression inputs of the fuzzer's corpus.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "tools/formats/DemoMeshes.h"
#include "tools/formats/XFileWriter.h"

namespace xfuzz {

inline std::vector<std::string> SeedFiles() {
  using namespace formats;
  XMeshDesc quad = QuadMesh(4.0f, true);
  XMaterialDesc a, b;
  a.Texture = "a.png";
  b.Face = {1, 0, 0, 0.5f};
  quad.Materials = {a, b};
  quad.FaceMaterials = {1};
  quad.Colors = {{0, {1, 0, 0, 1}}};

  // The demo bar, with every kind of animation key.
  XFileDesc skinnedFile = BentBarFile();
  skinnedFile.TicksPerSecond = 4800;
  XAnimationDesc& an = skinnedFile.AnimationSets[0].Animations[0];
  an.Scale = {{0, D3DXVECTOR3(1, 1, 1)}};
  an.Matrix = {{100, D3DXMATRIX()}};

  XFileDesc staticFile;
  staticFile.Meshes.push_back(quad);
  return {XFileText(staticFile),  XFileBinary(staticFile),  XFileCompressed(staticFile),
          XFileText(skinnedFile), XFileBinary(skinnedFile), XFileCompressed(skinnedFile)};
}

// Tokens of a binary file, written one by one as hand-made files need.
struct BinaryTokens {
  std::string bytes = "xof 0303bin 0032";
  void Word(uint16_t w) { bytes.append(reinterpret_cast<const char*>(&w), 2); }
  void Dword(uint32_t d) { bytes.append(reinterpret_cast<const char*>(&d), 4); }
  void Name(const std::string& n) {
    Word(1);
    Dword((uint32_t)n.size());
    bytes += n;
  }
  void Ints(std::initializer_list<uint32_t> v) {
    Word(6);
    Dword((uint32_t)v.size());
    for (uint32_t x : v) Dword(x);
  }
  void Floats(std::initializer_list<float> v) {
    Word(7);
    Dword((uint32_t)v.size());
    for (float f : v) bytes.append(reinterpret_cast<const char*>(&f), 4);
  }
};

// The body (after the 16-byte header) of a binary file holding one quad.
inline std::string QuadBody() {
  formats::XFileDesc f;
  f.Meshes.push_back(formats::QuadMesh(1.0f));
  return formats::XFileBinary(f).substr(16);
}

// `runs` empty integer and float lists, then a valid quad.
inline std::string EmptyListsBeforeQuad(int runs = 100000) {
  BinaryTokens t;
  for (int i = 0; i < runs; ++i) {
    t.Word(i % 2 ? 7 : 6);
    t.Dword(0);
  }
  t.bytes += QuadBody();
  return t.bytes;
}

// A quad followed by an unknown object of `items` zero integers.
inline std::string QuadWithBlob(uint32_t items) {
  BinaryTokens t;
  t.bytes += QuadBody();
  t.Name("Blob");
  t.Word(10);
  t.Word(6);
  t.Dword(items);
  t.bytes.append((size_t)items * 4, '\0');
  t.Word(11);
  return t.bytes;
}

// A mesh with two normals objects; the first points past the second's list.
inline std::string TwoNormalsObjects() {
  return "xof 0303txt 0032\n"
         "Mesh {\n"
         " 3; 0;0;0;, 1;0;0;, 0;1;0;;\n"
         " 1; 3;0,1,2;;\n"
         " MeshNormals { 2; 0;0;-1;, 0;1;0;; 1; 3;1,1,1;; }\n"
         " MeshNormals { 1; 0;0;1;; 1; 3;0,0,0;; }\n"
         "}\n";
}

// Inputs that crashed or exhausted the reader before: a run of empty lists
// (plain and compressed), a compressed file inflating past the limit, and
// a repeated normals object.
inline std::vector<std::string> RegressionFiles() {
  const std::string lists = EmptyListsBeforeQuad();
  return {lists, formats::CompressXFile(lists), formats::CompressXFile(QuadWithBlob(4300000)), TwoNormalsObjects()};
}

}  // namespace xfuzz
