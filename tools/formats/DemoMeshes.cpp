#include "tools/formats/DemoMeshes.h"

namespace formats {
namespace {

D3DXMATRIX MatrixTranslation(float x, float y, float z) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, x, y, z);
  return m;
}

D3DXQUATERNION QuaternionRotationX(float degrees) {
  D3DXQUATERNION q;
  D3DXVECTOR3 axis(1, 0, 0);
  D3DXQuaternionRotationAxis(&q, &axis, D3DXToRadian(degrees));
  return q;
}

}  // namespace

XFileDesc BentBarFile() {
  XMeshDesc bar;
  bar.Name = "Bar";
  for (float z : {0.0f, 50.0f, 100.0f}) {
    bar.Positions.push_back({10, 0, z});
    bar.Positions.push_back({-10, 0, z});
    bar.Positions.push_back({0, 10, z});
  }
  for (uint32_t ring = 0; ring < 2; ++ring)
    for (uint32_t k = 0; k < 3; ++k) {
      uint32_t a = ring * 3 + k, b = ring * 3 + (k + 1) % 3;
      bar.Faces.push_back({a, b, b + 3, a + 3});
    }
  formats::XSkinWeightsDesc lower, upper;
  lower.Bone = "Lower";
  lower.Vertices = {0, 1, 2, 3, 4, 5};
  lower.Weights = {1, 1, 1, 0.5f, 0.5f, 0.5f};
  upper.Bone = "Upper";
  upper.Vertices = {3, 4, 5, 6, 7, 8};
  upper.Weights = {0.5f, 0.5f, 0.5f, 1, 1, 1};
  upper.Offset = MatrixTranslation(0, 0, -50);
  bar.Skin = {lower, upper};

  XFrameDesc root, lowerFrame, upperFrame;
  root.Name = "Root";
  root.Meshes.push_back(bar);
  lowerFrame.Name = "Lower";
  upperFrame.Name = "Upper";
  upperFrame.Transform = MatrixTranslation(0, 0, 50);
  lowerFrame.Children.push_back(upperFrame);
  root.Children.push_back(lowerFrame);

  XAnimationSetDesc bend;
  bend.Name = "Bend";
  XAnimationDesc a;
  a.Target = "Upper";
  // +90 degrees about x at the half: the upper half's +z turns to -y. The
  // writer stores the keys conjugated, as exporters do.
  a.Rotation = {{0, QuaternionRotationX(0)}, {2400, QuaternionRotationX(90)}, {4800, QuaternionRotationX(0)}};
  a.Position = {{0, {0, 0, 50}}, {4800, {0, 0, 50}}};
  bend.Animations.push_back(a);

  XAnimationSetDesc slide;  // moves "Lower" along x by 100 per second
  slide.Name = "Slide";
  XAnimationDesc s;
  s.Target = "Lower";
  s.Position = {{0, {0, 0, 0}}, {4800, {100, 0, 0}}};
  slide.Animations.push_back(s);

  XFileDesc file;
  file.Frames.push_back(root);
  file.AnimationSets = {bend, slide};
  return file;
}

}  // namespace formats
