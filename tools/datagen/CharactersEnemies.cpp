// The two-legged enemies, each in a red and a blue model: the melee walker
// and the stalker (which share their animation sets), the shooter and the
// beam walker.
#include <cmath>

#include "tools/datagen/CharactersRig.h"
#include "tools/datagen/DataGen.h"

namespace datagen {
namespace {

struct Palette {
  uint32_t body, limbs, skin, accent;
};
constexpr Palette RED_WALKER{0xB02020, 0x7A1212, 0xD0603C, 0xFFE040};
constexpr Palette BLUE_WALKER{0x2040C0, 0x122A7A, 0x4C86D0, 0xFFE040};
constexpr Palette RED_STALKER{0x801830, 0xC04060, 0x5A1020, 0x40FF40};
constexpr Palette BLUE_STALKER{0x182880, 0x4060C0, 0x101C5A, 0x40FF40};
constexpr Palette RED_SHOOTER{0x9C2418, 0x5C5C5C, 0xC04830, 0xFF8000};
constexpr Palette BLUE_SHOOTER{0x20389C, 0x5C5C5C, 0x3060C0, 0x00E0FF};
constexpr Palette RED_BEAM{0xC03028, 0x8A8A8A, 0x602020, 0xFFFFFF};
constexpr Palette BLUE_BEAM{0x2838C0, 0x8A8A8A, 0x202060, 0xFFFFFF};

HumanoidShape Painted(HumanoidShape shape, const Palette& p) {
  shape.body = p.body;
  shape.limbs = p.limbs;
  shape.skin = p.skin;
  shape.accent = p.accent;
  return shape;
}

// Walker and stalker: long arms whose hands reach 120 ahead at height 100
// when swung forward, which both strike sets hold throughout.
constexpr float STRIKE_AHEAD = 120, STRIKE_HEIGHT = 100;

HumanoidShape ClawShape(float hip, float torso, float halfWidth, float shoulder, float limb, float head) {
  HumanoidShape s;
  s.hip = hip;
  s.torso = torso;
  s.halfWidth = halfWidth;
  s.halfDepth = halfWidth * 0.6f;
  s.shoulder = shoulder;
  s.limb = limb;
  s.head = head;
  s.arm = std::hypot(STRIKE_AHEAD, ShoulderHeight(s) - STRIKE_HEIGHT);
  s.leftHand = "Bip01_L_Hand";
  s.rightHand = "Bip01_R_Hand";
  return s;
}

Rig ClawRig(const HumanoidShape& shape, float hunch) {
  Rig rig = HumanoidRig(shape);
  const float reach = PointAhead(STRIKE_AHEAD, ShoulderHeight(shape) - STRIKE_HEIGHT);
  const RigPose arm = PoseTurn(0, reach, 0);
  const RigPose bent = PoseTurn(0, hunch, 0);
  rig.sets = {
      LoopSet("Ene1Reposo", Ticks(2.0),
              {{{"L_Arm", PoseTurn(0, -15, 0)}, {"R_Arm", PoseTurn(0, -15, 0)}, {"Head", PoseTurn(0, 0, 25)},
                {"Spine", bent}},
               {{"L_Arm", PoseTurn(0, -10, 0)}, {"R_Arm", PoseTurn(0, -10, 0)}, {"Head", PoseTurn(0, 0, -25)},
                {"Spine", bent}, {"Pelvis", PoseShift(0, 0, -3)}}}),
      LoopSet("Ene1CaminarAdelante", Ticks(0.8),
              {{{"L_Leg", PoseTurn(0, 30, 0)}, {"R_Leg", PoseTurn(0, -30, 0)}, {"L_Arm", PoseTurn(0, -35, 0)},
                {"R_Arm", PoseTurn(0, 5, 0)}, {"Spine", bent}},
               {{"L_Leg", PoseTurn(0, -30, 0)}, {"R_Leg", PoseTurn(0, 30, 0)}, {"L_Arm", PoseTurn(0, 5, 0)},
                {"R_Arm", PoseTurn(0, -35, 0)}, {"Spine", bent}, {"Pelvis", PoseShift(0, 0, 5)}}}),
      // Strikes: both arms held ahead, the claws snapping (keys at 700 and
      // 1800 ticks), legs lunging in the first, bracing wide in the second.
      OnceSet("Ene1Golpe1",
              {{0, {{"L_Arm", arm}, {"R_Arm", arm}}},
               {700, {{"L_Arm", arm}, {"R_Arm", arm}, {"Bip01_L_Hand", PoseTurn(45, 0, 0)},
                      {"Bip01_R_Hand", PoseTurn(-45, 0, 0)}, {"L_Leg", PoseTurn(0, -25, 0)},
                      {"R_Leg", PoseTurn(0, 20, 0)}, {"Head", PoseTurn(0, 20, 0)}}},
               {1800, {{"L_Arm", arm}, {"R_Arm", arm}, {"Bip01_L_Hand", PoseTurn(-45, 0, 0)},
                       {"Bip01_R_Hand", PoseTurn(45, 0, 0)}, {"L_Leg", PoseTurn(0, 10, 0)},
                       {"R_Leg", PoseTurn(0, -10, 0)}, {"Head", PoseTurn(0, -10, 0)}}},
               {Ticks(0.6), {{"L_Arm", arm}, {"R_Arm", arm}}}}),
      OnceSet("Ene1Golpe2",
              {{0, {{"L_Arm", arm}, {"R_Arm", arm}}},
               {Ticks(0.25), {{"L_Arm", arm}, {"R_Arm", arm}, {"Bip01_L_Hand", PoseTurn(0, 60, 0)},
                              {"Bip01_R_Hand", PoseTurn(0, 60, 0)}, {"L_Leg", PoseTurn(20, 0, 0)},
                              {"R_Leg", PoseTurn(-20, 0, 0)}, {"Head", PoseTurn(0, 0, 30)}}},
               {Ticks(0.45), {{"L_Arm", arm}, {"R_Arm", arm}, {"Bip01_L_Hand", PoseTurn(0, -40, 0)},
                              {"Bip01_R_Hand", PoseTurn(0, -40, 0)}, {"L_Leg", PoseTurn(20, 0, 0)},
                              {"R_Leg", PoseTurn(-20, 0, 0)}, {"Head", PoseTurn(0, 0, -30)}}},
               {Ticks(0.6), {{"L_Arm", arm}, {"R_Arm", arm}}}}),
  };
  return rig;
}

// The shooter: a heavy figure with a gun in the right hand; the shot
// leaves at the very start of "Ene3Golpe1", then the gun kicks up.
Rig ShooterRig(const Palette& p) {
  HumanoidShape s;
  s.hip = 90;
  s.torso = 92;
  s.halfWidth = 40;
  s.halfDepth = 26;
  s.shoulder = 50;
  s.arm = 72;
  s.limb = 11;
  s.head = 19;
  s.leftHand = "Bip01_L_Hand";
  s.rightHand = "Bip01_R_Finger0";
  s.gun = true;
  Rig rig = HumanoidRig(Painted(s, p));
  const RigPose aim = PoseTurn(0, -90, 0);
  rig.sets = {
      LoopSet("Ene3Reposo", Ticks(2.0),
              {{{"R_Arm", PoseTurn(0, -30, 0)}, {"Head", PoseTurn(0, 0, 20)}},
               {{"R_Arm", PoseTurn(0, -25, 0)}, {"Head", PoseTurn(0, 0, -20)}, {"Spine", PoseShift(0, 0, -3)}}}),
      LoopSet("Ene3CaminarAdelante", Ticks(1.2),
              {{{"L_Leg", PoseTurn(0, 22, 0)}, {"R_Leg", PoseTurn(0, -22, 0)}, {"L_Arm", PoseTurn(0, -20, 0)},
                {"R_Arm", PoseTurn(0, -45, 0)}},
               {{"L_Leg", PoseTurn(0, -22, 0)}, {"R_Leg", PoseTurn(0, 22, 0)}, {"L_Arm", PoseTurn(0, 20, 0)},
                {"R_Arm", PoseTurn(0, -45, 0)}, {"Pelvis", PoseShift(0, 0, 4)}}}),
      OnceSet("Ene3Golpe1", {{0, {{"R_Arm", aim}, {"L_Arm", PoseTurn(0, -30, 0)}}},
                             {Ticks(0.15), {{"R_Arm", PoseTurn(0, -115, 0)}, {"Spine", PoseTurn(0, -8, 0)},
                                            {"L_Arm", PoseTurn(0, -30, 0)}}},
                             {Ticks(0.5), {{"R_Arm", aim}, {"L_Arm", PoseTurn(0, -30, 0)}}},
                             {Ticks(1.0), {{"R_Arm", PoseTurn(0, -30, 0)}}}}),
  };
  return rig;
}

// The beam walker: a squat machine with a cannon arm; its muzzle bone
// "Ayudante" fires at 300 ticks into "Ene8Golpe1".
Rig BeamWalkerRig(const Palette& p) {
  HumanoidShape s;
  s.hip = 48;
  s.torso = 56;
  s.halfWidth = 36;
  s.halfDepth = 30;
  s.shoulder = 44;
  s.arm = 50;
  s.limb = 10;
  s.head = 17;
  s.leftHand = "L_Hand";
  s.rightHand = "Ayudante";
  s.gun = true;
  Rig rig = HumanoidRig(Painted(s, p));
  const RigPose aim = PoseTurn(0, -90, 0);
  rig.sets = {
      LoopSet("Ene8Reposo", Ticks(1.6),
              {{{"R_Arm", PoseTurn(0, -60, 0)}, {"L_Arm", PoseTurn(0, -20, 0)}, {"Head", PoseTurn(0, 0, 30)}},
               {{"R_Arm", PoseTurn(0, -60, 0)}, {"L_Arm", PoseTurn(0, -20, 0)}, {"Head", PoseTurn(0, 0, -30)}}}),
      LoopSet("Ene8CaminarAdelante", Ticks(0.6),
              {{{"L_Leg", PoseTurn(0, 28, 0)}, {"R_Leg", PoseTurn(0, -28, 0)}, {"R_Arm", PoseTurn(0, -60, 0)},
                {"Pelvis", PoseTurn(0, 0, 8)}},
               {{"L_Leg", PoseTurn(0, -28, 0)}, {"R_Leg", PoseTurn(0, 28, 0)}, {"R_Arm", PoseTurn(0, -60, 0)},
                {"Pelvis", PoseTurn(0, 0, -8)}}}),
      OnceSet("Ene8Golpe1", {{0, {{"R_Arm", aim}, {"L_Arm", PoseTurn(0, -40, 0)}}},
                             {300, {{"R_Arm", aim}, {"L_Arm", PoseTurn(0, -40, 0)}}},
                             {Ticks(0.2), {{"R_Arm", PoseTurn(0, -108, 0)}, {"Pelvis", PoseShift(-8, 0, 0)},
                                           {"L_Arm", PoseTurn(0, -40, 0)}}},
                             {Ticks(0.5), {{"R_Arm", aim}, {"L_Arm", PoseTurn(0, -40, 0)}}}}),
  };
  return rig;
}

bool WriteEnemies(const Output& out) {
  const HumanoidShape walker = ClawShape(80, 80, 26, 30, 8, 16);
  const HumanoidShape stalker = ClawShape(86, 70, 18, 24, 6, 12);
  bool ok = out.Write("Ene1CompletoRojo.X", CharacterFileBytes(ClawRig(Painted(walker, RED_WALKER), 6)));
  ok &= out.Write("Ene1CompletoAzul.X", CharacterFileBytes(ClawRig(Painted(walker, BLUE_WALKER), 6)));
  ok &= out.Write("Ene7CompletoRojo.X", CharacterFileBytes(ClawRig(Painted(stalker, RED_STALKER), 22)));
  ok &= out.Write("Ene7CompletoAzul.X", CharacterFileBytes(ClawRig(Painted(stalker, BLUE_STALKER), 22)));
  ok &= out.Write("Ene3CompletoRojo.X", CharacterFileBytes(ShooterRig(RED_SHOOTER)));
  ok &= out.Write("Ene3CompletoAzul.X", CharacterFileBytes(ShooterRig(BLUE_SHOOTER)));
  ok &= out.Write("Ene8CompletoRojo.X", CharacterFileBytes(BeamWalkerRig(RED_BEAM)));
  ok &= out.Write("Ene8CompletoAzul.X", CharacterFileBytes(BeamWalkerRig(BLUE_BEAM)));
  return ok;
}

}  // namespace

DATAGEN_GROUP("characters-enemies", WriteEnemies);

}  // namespace datagen
