#pragma once
// Small valid mesh files in every encoding, the starting points of the
// fuzzer and of the mutation test.
#include <string>
#include <vector>

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

  XMeshDesc bar;
  bar.Name = "Bar";
  bar.Positions = {{0, 0, 0}, {1, 0, 0}, {0, 0, 10}, {1, 0, 10}};
  bar.Faces = {{0, 1, 3, 2}};
  XSkinWeightsDesc w0, w1;
  w0.Bone = "A";
  w0.Vertices = {0, 1};
  w0.Weights = {1, 1};
  w1.Bone = "B";
  w1.Vertices = {2, 3};
  w1.Weights = {1, 1};
  D3DXMatrixTranslation(&w1.Offset, 0, 0, -5);
  bar.Skin = {w0, w1};
  XFrameDesc root, fa, fb;
  root.Name = "Root";
  root.Meshes.push_back(bar);
  fa.Name = "A";
  fb.Name = "B";
  D3DXMatrixTranslation(&fb.Transform, 0, 0, 5);
  fa.Children.push_back(fb);
  root.Children.push_back(fa);
  XAnimationSetDesc set;
  set.Name = "Wave";
  XAnimationDesc an;
  an.Target = "B";
  an.Rotation = {{0, D3DXQUATERNION(0, 0, 0, 1)}, {4800, D3DXQUATERNION(0.7071f, 0, 0, 0.7071f)}};
  an.Scale = {{0, D3DXVECTOR3(1, 1, 1)}};
  an.Position = {{0, D3DXVECTOR3(0, 0, 5)}, {2400, D3DXVECTOR3(0, 1, 5)}};
  an.Matrix = {{100, D3DXMATRIX()}};
  set.Animations.push_back(an);

  XFileDesc staticFile, skinnedFile;
  staticFile.Meshes.push_back(quad);
  skinnedFile.Frames.push_back(root);
  skinnedFile.AnimationSets.push_back(set);
  skinnedFile.TicksPerSecond = 4800;
  return {XFileText(staticFile),  XFileBinary(staticFile),  XFileCompressed(staticFile),
          XFileText(skinnedFile), XFileBinary(skinnedFile), XFileCompressed(skinnedFile)};
}

}  // namespace xfuzz
