// The skinned meshes of the level mechanisms: the sliding door that scripts
// open and close ("Closed", "Opening", "Open", "Closing", each one second)
// and the red and blue pop-up targets ("Down", "Up", half a second each).
// Every vertex belongs wholly to one bone; the sets key the moving bones.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/MechanismAssets.h"
#include "tools/datagen/MechanismMeshKit.h"

namespace {

using datagen::Axis;
using datagen::MeshKit;
using datagen::Rgb;

constexpr uint32_t TICKS_PER_SECOND = 4800;

D3DXMATRIX Translation(const D3DXVECTOR3& p) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, p.x, p.y, p.z);
  return m;
}

D3DXQUATERNION RotationX(float radians) {
  D3DXQUATERNION q;
  const D3DXVECTOR3 axis(1, 0, 0);
  D3DXQuaternionRotationAxis(&q, &axis, radians);
  return q;
}

// Builds a skinned mesh bone by bone: the parts added between two calls of
// Bone belong to the bone named in the first.
class SkinBuilder {
 public:
  // Bone frame at `pivot` (a child of the root frame); its vertices follow.
  void Bone(const std::string& name, const D3DXVECTOR3& pivot) {
    Close();
    m_Bones.push_back({name, pivot});
    m_First = uint32_t(m_Kit.Mesh().Positions.size());
  }
  MeshKit& Kit() { return m_Kit; }

  formats::XFileDesc File(const std::string& meshName, std::vector<formats::XAnimationSetDesc> sets) {
    Close();
    formats::XMeshDesc mesh = m_Kit.Mesh();
    mesh.Name = meshName;
    mesh.Skin = m_Skin;
    formats::XFrameDesc root;
    root.Name = "Root";
    root.Meshes.push_back(mesh);
    for (const auto& [name, pivot] : m_Bones) {
      formats::XFrameDesc bone;
      bone.Name = name;
      bone.Transform = Translation(pivot);
      root.Children.push_back(bone);
    }
    formats::XFileDesc file;
    file.Frames.push_back(root);
    file.AnimationSets = std::move(sets);
    file.TicksPerSecond = TICKS_PER_SECOND;
    return file;
  }

 private:
  void Close() {
    if (m_Bones.empty()) return;
    formats::XSkinWeightsDesc skin;
    skin.Bone = m_Bones.back().first;
    for (uint32_t v = m_First; v < uint32_t(m_Kit.Mesh().Positions.size()); ++v) {
      skin.Vertices.push_back(v);
      skin.Weights.push_back(1.0f);
    }
    skin.Offset = Translation(-m_Bones.back().second);
    if (!skin.Vertices.empty()) m_Skin.push_back(skin);
    m_First = uint32_t(m_Kit.Mesh().Positions.size());
  }

  MeshKit m_Kit;
  std::vector<std::pair<std::string, D3DXVECTOR3>> m_Bones;
  std::vector<formats::XSkinWeightsDesc> m_Skin;
  uint32_t m_First = 0;
};

// A set moving bones between two positions over `ticks`.
formats::XAnimationSetDesc Slide(const std::string& name, uint32_t ticks,
                                 const std::vector<std::pair<std::string, std::pair<D3DXVECTOR3, D3DXVECTOR3>>>& moves) {
  formats::XAnimationSetDesc set;
  set.Name = name;
  for (const auto& [bone, ends] : moves) {
    formats::XAnimationDesc a;
    a.Target = bone;
    a.Position = {{0, ends.first}, {ticks, ends.second}};
    a.Rotation = {{0, RotationX(0)}, {ticks, RotationX(0)}};
    set.Animations.push_back(a);
  }
  return set;
}

std::string SlidingDoor() {
  const float hw = datagen::SLIDING_DOOR_WIDTH / 2, hd = datagen::SLIDING_DOOR_DEPTH / 2;
  const float h = datagen::SLIDING_DOOR_HEIGHT, travel = hw - 10;
  const D3DCOLORVALUE dark = datagen::DARK, leaf = Rgb(0.35f, 0.45f, 0.55f);
  const D3DCOLORVALUE edge = Rgb(0.95f, 0.8f, 0.15f);
  SkinBuilder b;
  b.Bone("Frame", {0, 0, 0});
  b.Kit().Box({-hw - 30, -hd - 5, 0}, {-hw, hd + 5, h + 30}, dark);
  b.Kit().Box({hw, -hd - 5, 0}, {hw + 30, hd + 5, h + 30}, dark);
  b.Kit().Box({-hw, -hd - 5, h}, {hw, hd + 5, h + 30}, dark);
  b.Bone("LeftLeaf", {0, 0, 0});
  b.Kit().Box({-hw, -hd, 0}, {-8, hd, h}, leaf);
  b.Kit().Box({-8, -hd, 0}, {0, hd, h}, edge);
  b.Bone("RightLeaf", {0, 0, 0});
  b.Kit().Box({8, -hd, 0}, {hw, hd, h}, leaf);
  b.Kit().Box({0, -hd, 0}, {8, hd, h}, edge);
  const D3DXVECTOR3 shut(0, 0, 0), leftOpen(-travel, 0, 0), rightOpen(travel, 0, 0);
  const uint32_t second = TICKS_PER_SECOND;
  std::vector<formats::XAnimationSetDesc> sets = {
      Slide("Closed", second, {{"LeftLeaf", {shut, shut}}, {"RightLeaf", {shut, shut}}}),
      Slide("Opening", second, {{"LeftLeaf", {shut, leftOpen}}, {"RightLeaf", {shut, rightOpen}}}),
      Slide("Open", second, {{"LeftLeaf", {leftOpen, leftOpen}}, {"RightLeaf", {rightOpen, rightOpen}}}),
      Slide("Closing", second, {{"LeftLeaf", {leftOpen, shut}}, {"RightLeaf", {rightOpen, shut}}})};
  return datagen::BinaryXFile(b.File("SlidingDoor", sets));
}

// A round board of rings on a post, hinged at its foot: "Down" lies flat,
// "Up" raises it.
std::string Target(bool blue) {
  const D3DCOLORVALUE colour = blue ? Rgb(0.15f, 0.35f, 1.0f) : Rgb(1.0f, 0.15f, 0.1f);
  const D3DCOLORVALUE white = Rgb(0.95f, 0.95f, 0.95f), dark = datagen::DARK;
  const D3DXVECTOR3 hinge(0, 0, 20);
  SkinBuilder b;
  b.Bone("Base", {0, 0, 0});
  b.Kit().Box({-50, -25, 0}, {50, 25, 20}, dark);
  b.Bone("Board", hinge);
  b.Kit().Box({-6, -4, 20}, {6, 4, 70}, datagen::STEEL);
  const float centre = 120;
  b.Kit().Prism(Axis::Y, {0, -4, centre}, 8, 50, 16, 0, colour, colour);
  b.Kit().Prism(Axis::Y, {0, -5, centre}, 10, 34, 16, 0, white, white);
  b.Kit().Prism(Axis::Y, {0, -6, centre}, 12, 20, 16, 0, colour, colour);
  b.Kit().Prism(Axis::Y, {0, -7, centre}, 14, 7, 16, 0, white, white);
  const uint32_t half = TICKS_PER_SECOND / 2;
  auto lying = RotationX(-D3DX_PI / 2), standing = RotationX(0);
  formats::XAnimationSetDesc down, up;
  down.Name = "Down";
  up.Name = "Up";
  formats::XAnimationDesc a;
  a.Target = "Board";
  a.Position = {{0, hinge}, {half, hinge}};
  a.Rotation = {{0, lying}, {half, lying}};
  down.Animations.push_back(a);
  a.Rotation = {{0, lying}, {half / 2, RotationX(-D3DX_PI / 4)}, {half, standing}};
  up.Animations.push_back(a);
  return datagen::BinaryXFile(b.File(blue ? "TargetBlue" : "TargetRed", {down, up}));
}

bool WriteAnimatedMeshes(const datagen::Output& out) {
  bool ok = out.Write("SlidingDoor.X", SlidingDoor());
  ok &= out.Write("TargetRed.X", Target(false));
  ok &= out.Write("TargetBlue.X", Target(true));
  return ok;
}

}  // namespace

DATAGEN_GROUP("mechanism-animated-meshes", WriteAnimatedMeshes);
