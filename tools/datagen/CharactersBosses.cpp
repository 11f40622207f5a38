// The two bosses in their red and blue models: the walking first boss,
// which fires from either hand and raises its arms for its ability, and
// the great stationary second boss with a tail that throws balls and two
// shoulder cannons that fire the lasers.
#include "tools/datagen/CharactersRig.h"
#include "tools/datagen/DataGen.h"

namespace datagen {
namespace {

struct Colours {
  uint32_t body, limbs, skin, accent;
};
constexpr Colours RED_FIRST{0x8E1A1A, 0xD04426, 0x5E1C1C, 0xFFC000};
constexpr Colours BLUE_FIRST{0x1A2A8E, 0x2A74D0, 0x1C245E, 0x00F0FF};
constexpr Colours RED_SECOND{0x7A1020, 0xC83434, 0x3A0A10, 0xFFFF80};
constexpr Colours BLUE_SECOND{0x10207A, 0x3454C8, 0x0A103A, 0xFFFF80};

// First boss: the hands hang at its sides; "DisparoIzquierdo" and
// "DisparoDerecho" bring one arm up to point ahead by 3000 ticks, when the
// shot leaves; "Habilidad" raises both arms overhead and throws them wide
// at 17000 ticks.
Rig FirstBossRig(const Colours& c) {
  HumanoidShape s;
  s.hip = 100;
  s.torso = 110;
  s.halfWidth = 50;
  s.halfDepth = 32;
  s.shoulder = 66;
  s.arm = 95;
  s.limb = 15;
  s.head = 24;
  s.body = c.body;
  s.limbs = c.limbs;
  s.skin = c.skin;
  s.accent = c.accent;
  s.leftHand = "Bip01_L_Hand";
  s.rightHand = "Bip01_R_Hand";
  Rig rig = HumanoidRig(s);
  const float top = s.hip + s.torso;
  rig.boxes.push_back({"Head", {-8, -6, top + 50}, {16, 6, top + 66}, c.accent});  // crest
  rig.boxes.push_back({"Spine", {-20, -80, top - 24}, {20, -50, top + 4}, c.accent});  // shoulder plates
  rig.boxes.push_back({"Spine", {-20, 50, top - 24}, {20, 80, top + 4}, c.accent});
  const auto shoot = [](const char* arm, const char* other, const char* step) {
    return OnceSet(std::string(arm) == "L_Arm" ? "DisparoIzquierdo" : "DisparoDerecho",
                   {{0, {}},
                    {1800, {{arm, PoseTurn(0, -60, 0)}, {step, PoseTurn(0, -15, 0)}}},
                    {3000, {{arm, PoseTurn(0, -90, 0)}, {other, PoseTurn(0, 20, 0)}, {step, PoseTurn(0, -20, 0)}}},
                    {3600, {{arm, PoseTurn(0, -100, 0)}, {other, PoseTurn(0, 20, 0)}}},
                    {Ticks(1.0), {{arm, PoseTurn(0, -20, 0)}}}});
  };
  rig.sets = {
      LoopSet("Ene3Reposo", Ticks(2.0),
              {{{"L_Arm", PoseTurn(0, -8, 0)}, {"R_Arm", PoseTurn(0, 8, 0)}, {"Head", PoseTurn(0, 0, 20)}},
               {{"L_Arm", PoseTurn(0, 8, 0)}, {"R_Arm", PoseTurn(0, -8, 0)}, {"Head", PoseTurn(0, 0, -20)},
                {"Spine", PoseShift(0, 0, -4)}}}),
      LoopSet("Reposo", Ticks(1.5),
              {{{"L_Arm", PoseTurn(-25, 0, 0)}, {"R_Arm", PoseTurn(25, 0, 0)}, {"Head", PoseTurn(0, -10, 0)}},
               {{"L_Arm", PoseTurn(-35, 0, 0)}, {"R_Arm", PoseTurn(35, 0, 0)}, {"Head", PoseTurn(0, 5, 0)},
                {"Pelvis", PoseShift(0, 0, -6)}}}),
      LoopSet("CaminarAdelante", Ticks(1.2),
              {{{"L_Leg", PoseTurn(0, 25, 0)}, {"R_Leg", PoseTurn(0, -25, 0)}, {"L_Arm", PoseTurn(0, -20, 0)},
                {"R_Arm", PoseTurn(0, 20, 0)}},
               {{"L_Leg", PoseTurn(0, -25, 0)}, {"R_Leg", PoseTurn(0, 25, 0)}, {"L_Arm", PoseTurn(0, 20, 0)},
                {"R_Arm", PoseTurn(0, -20, 0)}, {"Pelvis", PoseShift(0, 0, 6)}}}),
      shoot("L_Arm", "R_Arm", "L_Leg"),
      shoot("R_Arm", "L_Arm", "R_Leg"),
      OnceSet("Habilidad",
              {{0, {}},
               {Ticks(1.0), {{"L_Arm", PoseTurn(0, -120, 0)}, {"R_Arm", PoseTurn(0, -120, 0)}}},
               {Ticks(2.0), {{"L_Arm", PoseTurn(0, -175, 0)}, {"R_Arm", PoseTurn(0, -175, 0)},
                             {"Head", PoseTurn(0, -25, 0)}}},
               {Ticks(3.0), {{"L_Arm", PoseTurn(0, -175, 0)}, {"R_Arm", PoseTurn(0, -175, 0)},
                             {"Spine", PoseTurn(0, 0, 30)}, {"Head", PoseTurn(0, -25, 0)}}},
               {17000, {{"L_Arm", PoseTurn(-90, 0, 0)}, {"R_Arm", PoseTurn(90, 0, 0)},
                        {"Pelvis", PoseShift(0, 0, -12)}}},
               {Ticks(4.0), {}}}),
  };
  return rig;
}

// Second boss: a broad low mass with its face low in front, a two-part
// tail rising behind ending in "Bip01_Ponytail2" and cannons on pylons
// ending in "Ayudante_01" (left) and "Ayudante_02" (right). Its attacks
// fire at their first tick. Nothing of it stands over its middle higher
// than the health bar's place (200 over its feet, at its scale of 2), so
// the bar hangs over its back, clear of the face.
Rig SecondBossRig(const Colours& c) {
  Rig rig;
  rig.bones = {
      {"Bip01", "", {0, 0, 0}},
      {"Head", "Bip01", {95, 0, 60}},
      {"Bip01_Ponytail1", "Bip01", {-90, 0, 210}},
      {"Bip01_Ponytail2", "Bip01_Ponytail1", {-90, 0, 270}},
      {"L_Cannon", "Bip01", {0, 125, 150}},
      {"Ayudante_01", "L_Cannon", {84, 125, 150}},
      {"R_Cannon", "Bip01", {0, -125, 150}},
      {"Ayudante_02", "R_Cannon", {84, -125, 150}},
  };
  rig.boxes = {
      {"Bip01", {-120, -115, 0}, {95, 115, 72}, c.body},
      {"Bip01", {-95, -90, 72}, {45, 90, 84}, c.limbs},
      {"Bip01", {-114, -24, 72}, {-68, 24, 212}, c.body},   // the tail's root behind
      {"Bip01", {-20, 108, 72}, {20, 142, 138}, c.limbs},   // the cannons' pylons
      {"Bip01", {-20, -142, 72}, {20, -108, 138}, c.limbs},
      {"Head", {88, -55, 18}, {132, 55, 100}, c.skin},
      {"Head", {126, -40, 62}, {136, -14, 80}, c.accent},
      {"Head", {126, 14, 62}, {136, 40, 80}, c.accent},
      {"Head", {126, -30, 30}, {134, 30, 40}, c.body},     // the mouth
      {"Bip01_Ponytail1", {-102, -16, 205}, {-78, 16, 272}, c.limbs},
      {"Bip01_Ponytail2", {-100, -13, 262}, {-80, 13, 310}, c.limbs},
      {"Bip01_Ponytail2", {-104, -17, 300}, {-76, 17, 324}, c.accent},
      {"L_Cannon", {-30, 110, 136}, {84, 140, 164}, c.limbs},
      {"L_Cannon", {70, 114, 140}, {90, 136, 160}, c.accent},
      {"R_Cannon", {-30, -140, 136}, {84, -110, 164}, c.limbs},
      {"R_Cannon", {70, -136, 140}, {90, -114, 160}, c.accent},
  };
  rig.sets = {
      LoopSet("Reposo", Ticks(2.0),
              {{{"Bip01_Ponytail1", PoseTurn(15, 0, 0)}, {"Head", PoseTurn(0, 0, 12)},
                {"L_Cannon", PoseTurn(0, -6, 0)}, {"R_Cannon", PoseTurn(0, 6, 0)}},
               {{"Bip01_Ponytail1", PoseTurn(-15, 0, 0)}, {"Bip01_Ponytail2", PoseTurn(-20, 0, 0)},
                {"Head", PoseTurn(0, 0, -12)}, {"L_Cannon", PoseTurn(0, 6, 0)}, {"R_Cannon", PoseTurn(0, -6, 0)}}}),
      OnceSet("Bola", {{0, {{"Bip01_Ponytail1", PoseTurn(0, 35, 0)}, {"Bip01_Ponytail2", PoseTurn(0, 30, 0)}}},
                       {Ticks(0.3), {{"Bip01_Ponytail1", PoseTurn(0, -45, 0)},
                                     {"Bip01_Ponytail2", PoseTurn(0, -30, 0)}, {"Head", PoseTurn(0, -15, 0)}}},
                       {Ticks(0.7), {{"Bip01_Ponytail1", PoseTurn(0, 20, 0)}, {"Head", PoseTurn(0, 10, 0)}}},
                       {Ticks(1.0), {}}}),
      OnceSet("Laser", {{0, {}},
                        {Ticks(0.1), {{"L_Cannon", PoseTurnShift(0, -12, 0, -24, 0, 0)},
                                      {"R_Cannon", PoseTurnShift(0, -12, 0, -24, 0, 0)},
                                      {"Head", PoseTurn(0, -10, 0)}}},
                        {Ticks(0.5), {{"L_Cannon", PoseTurn(0, -4, 0)}, {"R_Cannon", PoseTurn(0, -4, 0)}}},
                        {Ticks(1.0), {}}}),
  };
  return rig;
}

bool WriteBosses(const Output& out) {
  bool ok = out.Write("IntermedioCompletoRojo.X", CharacterFileBytes(FirstBossRig(RED_FIRST)));
  ok &= out.Write("IntermedioCompletoAzul.X", CharacterFileBytes(FirstBossRig(BLUE_FIRST)));
  ok &= out.Write("FinalCompletoRojo.X", CharacterFileBytes(SecondBossRig(RED_SECOND)));
  ok &= out.Write("FinalCompletoAzul.X", CharacterFileBytes(SecondBossRig(BLUE_SECOND)));
  return ok;
}

}  // namespace

DATAGEN_GROUP("characters-bosses", WriteBosses);

}  // namespace datagen
