// The player's figure: a green and white suit with a gun in the right hand,
// whose bone "Ayudante" is where the shots start.
#include "tools/datagen/CharactersRig.h"
#include "tools/datagen/DataGen.h"

namespace datagen {
namespace {

// Running: legs swinging about `axis` (y ahead and back, x to the sides),
// the body leaning by `lean` about the same axis, the gun arm aimed ahead.
RigSet Run(const std::string& name, uint32_t period, bool sideways, float swing, float lean) {
  const auto leg = [&](float a) { return sideways ? PoseTurn(a, 0, 0) : PoseTurn(0, a, 0); };
  const auto spine = sideways ? PoseTurn(lean, 0, 0) : PoseTurn(0, lean, 0);
  const RigPose gun = PoseTurn(0, -90, 0);
  return LoopSet(name, period,
                 {
                     {{"L_Leg", leg(swing)}, {"R_Leg", leg(-swing)}, {"Spine", spine}, {"R_Arm", gun},
                      {"L_Arm", PoseTurn(0, swing, 0)}, {"Pelvis", PoseShift(0, 0, 0)}},
                     {{"L_Leg", leg(0)}, {"R_Leg", leg(0)}, {"Spine", spine}, {"R_Arm", gun},
                      {"L_Arm", PoseTurn(0, 0, 0)}, {"Pelvis", PoseShift(0, 0, 6)}},
                     {{"L_Leg", leg(-swing)}, {"R_Leg", leg(swing)}, {"Spine", spine}, {"R_Arm", gun},
                      {"L_Arm", PoseTurn(0, -swing, 0)}, {"Pelvis", PoseShift(0, 0, 0)}},
                     {{"L_Leg", leg(0)}, {"R_Leg", leg(0)}, {"Spine", spine}, {"R_Arm", gun},
                      {"L_Arm", PoseTurn(0, 0, 0)}, {"Pelvis", PoseShift(0, 0, 6)}},
                 });
}

Rig PlayerRig() {
  HumanoidShape shape;
  shape.hip = 90;
  shape.torso = 72;
  shape.halfWidth = 22;
  shape.halfDepth = 13;
  shape.shoulder = 28;
  shape.arm = 62;
  shape.limb = 7;
  shape.head = 14;
  shape.body = 0x1FA35A;    // green suit
  shape.limbs = 0xE6E6E6;   // white sleeves and legs
  shape.skin = 0xE8BE96;
  shape.accent = 0xFFCC00;  // yellow visor and gloves
  shape.leftHand = "L_Hand";
  shape.rightHand = "Ayudante";
  shape.gun = true;
  Rig rig = HumanoidRig(shape);
  rig.sets = {
      LoopSet("ParadoDisparando", Ticks(1.2),
              {{{"R_Arm", PoseTurn(0, -90, 0)}, {"L_Arm", PoseTurn(0, -50, -20)}, {"Head", PoseTurn(0, 0, 0)}},
               {{"R_Arm", PoseTurn(0, -84, 0)}, {"L_Arm", PoseTurn(0, -30, -20)}, {"Head", PoseTurn(0, 6, 14)},
                {"Spine", PoseShift(0, 0, -3)}}}),
      Run("CorrerAdelante", Ticks(0.7), false, 35, 12),
      Run("CorrerAtras", Ticks(0.8), false, 25, -10),
      Run("CorrerIzquierda", Ticks(0.7), true, -22, -8),
      Run("CorrerDerecha", Ticks(0.7), true, 22, 8),
      // Falls on its back and lies still: a set played once, held at its end.
      OnceSet("Muerte", {{0, {}},
                         {Ticks(0.5), {{"Pelvis", PoseTurnShift(0, -40, 0, 0, 0, -20)},
                                       {"L_Arm", PoseTurn(0, -120, 0)}, {"R_Arm", PoseTurn(0, -120, 0)},
                                       {"Head", PoseTurn(0, 20, 0)}}},
                         {Ticks(1.0), {{"Pelvis", PoseTurnShift(0, -90, 0, 0, 0, -76)},
                                       {"L_Arm", PoseTurn(40, -160, 0)}, {"R_Arm", PoseTurn(-40, -160, 0)},
                                       {"L_Leg", PoseTurn(15, 0, 0)}, {"R_Leg", PoseTurn(-15, 0, 0)}}},
                         {Ticks(1.3), {{"Pelvis", PoseTurnShift(0, -90, 0, 0, 0, -76)},
                                       {"L_Arm", PoseTurn(40, -160, 0)}, {"R_Arm", PoseTurn(-40, -160, 0)},
                                       {"L_Leg", PoseTurn(15, 0, 0)}, {"R_Leg", PoseTurn(-15, 0, 0)}}}}),
  };
  return rig;
}

bool WritePlayer(const Output& out) { return out.Write("Player.X", CharacterFileBytes(PlayerRig())); }

}  // namespace

DATAGEN_GROUP("characters-player", WritePlayer);

}  // namespace datagen
