#include "tools/datagen/CharactersRig.h"

#include <cmath>

#include "tools/formats/XFileWriter.h"

namespace datagen {
namespace {

D3DXQUATERNION Turn(const D3DXVECTOR3& degrees) {
  const D3DXVECTOR3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  const float angles[3] = {degrees.x, degrees.y, degrees.z};
  D3DXQUATERNION q;
  D3DXQuaternionIdentity(&q);
  for (int i = 0; i < 3; ++i) {
    if (angles[i] == 0.0f) continue;
    D3DXQUATERNION r, next;
    D3DXQuaternionRotationAxis(&r, &axes[i], D3DXToRadian(angles[i]));
    D3DXQuaternionMultiply(&next, &q, &r);  // q first, then r
    q = next;
  }
  return q;
}

D3DXMATRIX Translation(const D3DXVECTOR3& v) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, v.x, v.y, v.z);
  return m;
}

D3DCOLORVALUE Colour(uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, 1.0f};
}

// Six faces of four corners each, with their own normals and colour.
void AddBox(formats::XMeshDesc& mesh, const RigBox& box, std::vector<uint32_t>& boneVertices) {
  const D3DXVECTOR3& a = box.lo;
  const D3DXVECTOR3& b = box.hi;
  struct Side {
    D3DXVECTOR3 normal;
    D3DXVECTOR3 corners[4];
  };
  // Corners counter-clockwise seen from outside.
  const Side sides[6] = {
      {{1, 0, 0}, {{b.x, a.y, a.z}, {b.x, b.y, a.z}, {b.x, b.y, b.z}, {b.x, a.y, b.z}}},
      {{-1, 0, 0}, {{a.x, b.y, a.z}, {a.x, a.y, a.z}, {a.x, a.y, b.z}, {a.x, b.y, b.z}}},
      {{0, 1, 0}, {{b.x, b.y, a.z}, {a.x, b.y, a.z}, {a.x, b.y, b.z}, {b.x, b.y, b.z}}},
      {{0, -1, 0}, {{a.x, a.y, a.z}, {b.x, a.y, a.z}, {b.x, a.y, b.z}, {a.x, a.y, b.z}}},
      {{0, 0, 1}, {{a.x, a.y, b.z}, {b.x, a.y, b.z}, {b.x, b.y, b.z}, {a.x, b.y, b.z}}},
      {{0, 0, -1}, {{a.x, b.y, a.z}, {b.x, b.y, a.z}, {b.x, a.y, a.z}, {a.x, a.y, a.z}}},
  };
  const D3DCOLORVALUE colour = Colour(box.rgb);
  for (const Side& side : sides) {
    const uint32_t first = static_cast<uint32_t>(mesh.Positions.size());
    const uint32_t normal = static_cast<uint32_t>(mesh.Normals.size());
    mesh.Normals.push_back(side.normal);
    for (const D3DXVECTOR3& c : side.corners) {
      boneVertices.push_back(static_cast<uint32_t>(mesh.Positions.size()));
      mesh.Colors.push_back({static_cast<uint32_t>(mesh.Positions.size()), colour});
      mesh.Positions.push_back(c);
    }
    // Counter-clockwise seen from outside, as the other meshes of the data.
    mesh.Faces.push_back({first, first + 1, first + 2, first + 3});
    mesh.NormalFaces.push_back({normal, normal, normal, normal});
    mesh.FaceMaterials.push_back(0);
  }
}

const RigBone* FindBone(const Rig& rig, const std::string& name) {
  for (const RigBone& b : rig.bones)
    if (b.name == name) return &b;
  return nullptr;
}

D3DXVECTOR3 LocalOffset(const Rig& rig, const RigBone& bone) {
  const RigBone* parent = bone.parent.empty() ? nullptr : FindBone(rig, bone.parent);
  return parent ? bone.at - parent->at : bone.at;
}

formats::XFrameDesc BoneFrame(const Rig& rig, const RigBone& bone) {
  formats::XFrameDesc frame;
  frame.Name = bone.name;
  frame.Transform = Translation(LocalOffset(rig, bone));
  for (const RigBone& child : rig.bones)
    if (child.parent == bone.name) frame.Children.push_back(BoneFrame(rig, child));
  return frame;
}

}  // namespace

std::string CharacterFileBytes(const Rig& rig) {
  formats::XMeshDesc mesh;
  mesh.Name = "Body";
  formats::XMaterialDesc material;
  material.Face = {1, 1, 1, 1};
  material.Emissive = {rig.emissive, rig.emissive, rig.emissive};
  mesh.Materials.push_back(material);
  for (const RigBone& bone : rig.bones) {
    std::vector<uint32_t> vertices;
    for (const RigBox& box : rig.boxes)
      if (box.bone == bone.name) AddBox(mesh, box, vertices);
    if (vertices.empty()) continue;
    formats::XSkinWeightsDesc skin;
    skin.Bone = bone.name;
    skin.Vertices = vertices;
    skin.Weights.assign(vertices.size(), 1.0f);
    skin.Offset = Translation(-bone.at);
    mesh.Skin.push_back(skin);
  }

  formats::XFrameDesc root;
  root.Name = "Root";
  root.Meshes.push_back(mesh);
  for (const RigBone& bone : rig.bones)
    if (bone.parent.empty()) root.Children.push_back(BoneFrame(rig, bone));

  formats::XFileDesc file;
  file.Frames.push_back(root);
  file.TicksPerSecond = CHARACTER_TICKS_PER_SECOND;
  for (const RigSet& set : rig.sets) {
    formats::XAnimationSetDesc out;
    out.Name = set.name;
    for (const RigBone& bone : rig.bones) {
      formats::XAnimationDesc a;
      a.Target = bone.name;
      const D3DXVECTOR3 rest = LocalOffset(rig, bone);
      bool scaled = false;
      for (const RigKey& key : set.keys) {
        auto it = key.bones.find(bone.name);
        const RigPose pose = it == key.bones.end() ? RigPose() : it->second;
        a.Rotation.push_back({key.tick, Turn(pose.turn)});
        a.Position.push_back({key.tick, rest + pose.shift});
        a.Scale.push_back({key.tick, {pose.scale, pose.scale, pose.scale}});
        scaled |= pose.scale != 1.0f;
      }
      if (!scaled) a.Scale.clear();
      out.Animations.push_back(a);
    }
    file.AnimationSets.push_back(out);
  }
  return formats::XFileCompressed(file);
}

RigSet LoopSet(const std::string& name, uint32_t period, const std::vector<RigPoses>& poses) {
  RigSet set;
  set.name = name;
  const size_t n = poses.size();
  for (size_t i = 0; i < n; ++i) set.keys.push_back({static_cast<uint32_t>(period * i / n), poses[i]});
  set.keys.push_back({period, poses.empty() ? RigPoses() : poses[0]});
  return set;
}

RigSet OnceSet(const std::string& name, const std::vector<std::pair<uint32_t, RigPoses>>& keys) {
  RigSet set;
  set.name = name;
  for (const auto& [tick, poses] : keys) set.keys.push_back({tick, poses});
  return set;
}

float PointAhead(float ahead, float drop) { return -D3DXToDegree(std::atan2(ahead, drop)); }

Rig HumanoidRig(const HumanoidShape& s) {
  Rig rig;
  const float top = s.hip + s.torso, sh = ShoulderHeight(s);
  const float legY = s.halfWidth * 0.55f;
  rig.bones = {
      {"Pelvis", "", {0, 0, s.hip}},
      {"Spine", "Pelvis", {0, 0, s.hip + 4}},
      {"Head", "Spine", {0, 0, top}},
      {"L_Arm", "Spine", {0, s.shoulder, sh}},
      {"R_Arm", "Spine", {0, -s.shoulder, sh}},
      {s.leftHand, "L_Arm", {0, s.shoulder, sh - s.arm}},
      {s.rightHand, "R_Arm", {0, -s.shoulder, sh - s.arm}},
      {"L_Leg", "Pelvis", {0, legY, s.hip}},
      {"R_Leg", "Pelvis", {0, -legY, s.hip}},
  };
  const float l = s.limb, h = s.head;
  rig.boxes = {
      {"Spine", {-s.halfDepth, -s.halfWidth, s.hip - 6}, {s.halfDepth, s.halfWidth, top}, s.body},
      {"Head", {-h, -h, top + 2}, {h, h, top + 2 + 2 * h}, s.skin},
      // A visor on the face shows where the figure looks.
      {"Head", {h * 0.6f, -h * 0.8f, top + 2 + h}, {h * 1.15f, h * 0.8f, top + 2 + h * 1.6f}, s.accent},
      {"L_Arm", {-l, s.shoulder - l, sh - s.arm + l}, {l, s.shoulder + l, sh + l}, s.limbs},
      {"R_Arm", {-l, -s.shoulder - l, sh - s.arm + l}, {l, -s.shoulder + l, sh + l}, s.limbs},
      {s.leftHand, {-l * 1.3f, s.shoulder - l * 1.3f, sh - s.arm - l * 1.3f},
       {l * 1.3f, s.shoulder + l * 1.3f, sh - s.arm + l * 1.3f}, s.accent},
      {s.rightHand, {-l * 1.3f, -s.shoulder - l * 1.3f, sh - s.arm - l * 1.3f},
       {l * 1.3f, -s.shoulder + l * 1.3f, sh - s.arm + l * 1.3f}, s.accent},
      {"L_Leg", {-l * 1.2f, legY - l * 1.2f, 0}, {l * 1.2f, legY + l * 1.2f, s.hip}, s.limbs},
      {"R_Leg", {-l * 1.2f, -legY - l * 1.2f, 0}, {l * 1.2f, -legY + l * 1.2f, s.hip}, s.limbs},
      // Feet point ahead.
      {"L_Leg", {-l, legY - l, 0}, {l * 3, legY + l, l}, s.body},
      {"R_Leg", {-l, -legY - l, 0}, {l * 3, -legY + l, l}, s.body},
  };
  if (s.gun) {
    const float g = l * 0.7f;
    rig.boxes.push_back(
        {s.rightHand, {-g, -s.shoulder - g, sh - s.arm - 5 * l}, {g, -s.shoulder + g, sh - s.arm}, 0x303030});
  }
  return rig;
}

}  // namespace datagen
