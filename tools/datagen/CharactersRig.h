#pragma once
// Low-poly skinned characters for the demo data: coloured boxes, each bound
// whole to one bone, posed by key frames. A character is a list of bones
// (bind positions in model space: x ahead, y to the left, z up), the boxes
// on them and its animation sets; the builder writes the .X file (compressed
// binary, 4800 ticks per second written, one opaque material, colours per vertex).
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/Math.h"

namespace datagen {

constexpr uint32_t CHARACTER_TICKS_PER_SECOND = 4800;
// Ticks of a time in seconds.
constexpr uint32_t Ticks(double seconds) { return static_cast<uint32_t>(seconds * CHARACTER_TICKS_PER_SECOND + 0.5); }

struct RigBone {
  std::string name;
  std::string parent;  // empty: under the root frame
  D3DXVECTOR3 at;      // bind position in model space
};

struct RigBox {
  std::string bone;
  D3DXVECTOR3 lo, hi;  // corners in model space, bind pose
  uint32_t rgb = 0xFFFFFF;
};

// A bone's pose at a key: turns about its own x, y and z (degrees, applied
// in that order), a shift of its bind position (parent's space) and a scale.
struct RigPose {
  D3DXVECTOR3 turn{0, 0, 0};
  D3DXVECTOR3 shift{0, 0, 0};
  float scale = 1.0f;
};

inline RigPose PoseTurn(float x, float y, float z) { return {{x, y, z}, {0, 0, 0}, 1.0f}; }
inline RigPose PoseShift(float x, float y, float z) { return {{0, 0, 0}, {x, y, z}, 1.0f}; }
inline RigPose PoseTurnShift(float tx, float ty, float tz, float x, float y, float z) {
  return {{tx, ty, tz}, {x, y, z}, 1.0f};
}

using RigPoses = std::map<std::string, RigPose>;

struct RigKey {
  uint32_t tick = 0;
  RigPoses bones;  // bones not named stand in their bind pose
};

// Every bone gets keys at every key tick, so a set's length is its last tick.
struct RigSet {
  std::string name;
  std::vector<RigKey> keys;
};

struct Rig {
  std::vector<RigBone> bones;
  std::vector<RigBox> boxes;
  std::vector<RigSet> sets;
  float emissive = 0.12f;  // a little light of its own, so no side is black
};

// The binary .X file of the rig.
std::string CharacterFileBytes(const Rig& rig);

// A looping set: the poses at evenly spaced ticks over the period, the
// first pose repeated at the end so the loop closes.
RigSet LoopSet(const std::string& name, uint32_t period, const std::vector<RigPoses>& poses);
// A set played once: (tick, poses) keys as given.
RigSet OnceSet(const std::string& name, const std::vector<std::pair<uint32_t, RigPoses>>& keys);

// A two-legged figure. Bones: "Pelvis", "Spine", "Head", "L_Arm", "R_Arm",
// "L_Leg", "R_Leg", and the two hand bones named by the shape at the ends
// of the arms (the arms hang straight down in the bind pose).
struct HumanoidShape {
  float hip = 90;        // leg length
  float torso = 70;      // pelvis to shoulders
  float halfWidth = 22;  // torso half width (y)
  float halfDepth = 14;  // torso half depth (x)
  float shoulder = 30;   // shoulder distance from the middle (y)
  float arm = 60;        // shoulder to hand
  float limb = 7;        // half thickness of arms and legs
  float head = 14;       // half size of the head
  uint32_t body = 0x808080, limbs = 0xA0A0A0, skin = 0xC0C0C0, accent = 0xFFFF00;
  std::string leftHand = "L_Hand", rightHand = "R_Hand";
  bool gun = false;  // a barrel held in the right hand, pointing along the arm
};
Rig HumanoidRig(const HumanoidShape& shape);
// Shoulder height of the shape.
inline float ShoulderHeight(const HumanoidShape& s) { return s.hip + s.torso - 8; }

// Swing of a hanging limb about y that points it at a place ahead:
// degrees that take (0, 0, -length) to (ahead, 0, -drop).
float PointAhead(float ahead, float drop);

}  // namespace datagen
