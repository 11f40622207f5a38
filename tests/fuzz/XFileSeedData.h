#pragma once
// Small valid mesh files in every encoding, the starting points of the
// fuzzer and of the mutation test.
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

}  // namespace xfuzz
