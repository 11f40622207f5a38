// The enemies that are not two-legged: the cocoon turret, the horned
// spitter on four legs, and the spreading puddle its gas ball leaves.
#include "tools/datagen/CharactersRig.h"
#include "tools/datagen/DataGen.h"

namespace datagen {
namespace {

struct Colours {
  uint32_t body, parts, accent;
};
constexpr Colours RED_COCOON{0xA82828, 0xE07050, 0xFFF060};
constexpr Colours BLUE_COCOON{0x2838A8, 0x5088E0, 0xFFF060};
constexpr Colours RED_HORN{0xA83020, 0x6A1A10, 0xF0E0C0};
constexpr Colours BLUE_HORN{0x2850B0, 0x10286A, 0xF0E0C0};

// The cocoon: a body closed in by four petals that fold out to open it.
// Hands and navel sit at distinct places around the body; each pass of
// the attack set reaches its volley key at 1000 ticks.
Rig CocoonRig(const Colours& c) {
  Rig rig;
  rig.bones = {
      {"Body", "", {0, 0, 0}},
      {"Petal_F", "Body", {52, 0, 12}},
      {"Petal_B", "Body", {-52, 0, 12}},
      {"Petal_L", "Body", {0, 52, 12}},
      {"Petal_R", "Body", {0, -52, 12}},
      {"Mano_Derecha", "Body", {30, -68, 100}},
      {"Mano_Izquierda", "Body", {30, 68, 100}},
      {"Ombligo", "Body", {58, 0, 62}},
  };
  rig.boxes = {
      {"Body", {-45, -45, 0}, {45, 45, 120}, c.body},
      {"Body", {-30, -30, 120}, {30, 30, 140}, c.parts},
      {"Petal_F", {46, -40, 12}, {58, 40, 150}, c.parts},
      {"Petal_B", {-58, -40, 12}, {-46, 40, 150}, c.parts},
      {"Petal_L", {-40, 46, 12}, {40, 58, 150}, c.parts},
      {"Petal_R", {-40, -58, 12}, {40, -46, 150}, c.parts},
      {"Mano_Derecha", {20, -72, 92}, {40, -40, 108}, c.body},
      {"Mano_Derecha", {26, -80, 94}, {44, -62, 112}, c.accent},
      {"Mano_Izquierda", {20, 40, 92}, {40, 72, 108}, c.body},
      {"Mano_Izquierda", {26, 62, 94}, {44, 80, 112}, c.accent},
      {"Ombligo", {44, -10, 52}, {64, 10, 72}, c.accent},
  };
  const auto open = [](float a, float pulse) {
    return RigPoses{{"Petal_F", PoseTurn(0, a, 0)},
                    {"Petal_B", PoseTurn(0, -a, 0)},
                    {"Petal_L", PoseTurn(-a, 0, 0)},
                    {"Petal_R", PoseTurn(a, 0, 0)},
                    {"Mano_Derecha", PoseShift(0, 0, pulse)},
                    {"Mano_Izquierda", PoseShift(0, 0, pulse)},
                    {"Ombligo", PoseShift(0, 0, pulse * 0.5f)}};
  };
  RigSet attack = OnceSet("Ene2Golpe1", {{0, open(75, 0)},
                                         {1000, open(80, 14)},
                                         {Ticks(0.6), open(72, -6)},
                                         {Ticks(1.0), open(75, 0)}});
  rig.sets = {
      LoopSet("Ene2Quieto", Ticks(2.0), {open(0, 0), open(14, 0)}),
      OnceSet("Ene2DesMutarCapullo", {{0, open(0, 0)}, {Ticks(0.5), open(40, 0)}, {Ticks(1.0), open(75, 0)}}),
      OnceSet("Ene2MutarCapullo", {{0, open(75, 0)}, {Ticks(0.5), open(40, 0)}, {Ticks(1.0), open(0, 0)}}),
      attack,
  };
  return rig;
}

// The horned spitter: a body on four legs, a head with a horn whose tip
// (bone "Cuerno") stays about 100 ahead at height 100 through the horn
// blow, and a mouth (bone "Boca") ahead at height 120.
Rig HornRig(const Colours& c) {
  Rig rig;
  rig.bones = {
      {"Pelvis", "", {0, 0, 70}},
      {"Head", "Pelvis", {50, 0, 100}},
      {"Boca", "Head", {80, 0, 120}},
      {"Cuerno", "Head", {100, 0, 100}},
      {"FL_Leg", "Pelvis", {32, 26, 62}},
      {"FR_Leg", "Pelvis", {32, -26, 62}},
      {"BL_Leg", "Pelvis", {-42, 26, 62}},
      {"BR_Leg", "Pelvis", {-42, -26, 62}},
  };
  rig.boxes = {
      {"Pelvis", {-62, -32, 52}, {50, 32, 112}, c.body},
      {"Pelvis", {-40, -20, 112}, {30, 20, 124}, c.parts},
      {"Head", {42, -22, 84}, {84, 22, 128}, c.body},
      {"Boca", {76, -12, 112}, {88, 12, 122}, 0x202020},
      {"Cuerno", {80, -6, 94}, {108, 6, 106}, c.accent},
      {"Head", {70, -16, 118}, {80, -8, 126}, 0xFFFF40},  // eyes
      {"Head", {70, 8, 118}, {80, 16, 126}, 0xFFFF40},
      {"FL_Leg", {24, 18, 0}, {40, 34, 62}, c.parts},
      {"FR_Leg", {24, -34, 0}, {40, -18, 62}, c.parts},
      {"BL_Leg", {-50, 18, 0}, {-34, 34, 62}, c.parts},
      {"BR_Leg", {-50, -34, 0}, {-34, -18, 62}, c.parts},
  };
  const auto gait = [](float a, float bob) {
    return RigPoses{{"FL_Leg", PoseTurn(0, a, 0)},
                    {"BR_Leg", PoseTurn(0, a, 0)},
                    {"FR_Leg", PoseTurn(0, -a, 0)},
                    {"BL_Leg", PoseTurn(0, -a, 0)},
                    {"Pelvis", PoseShift(0, 0, bob)}};
  };
  const auto lunge = [](float x, float head, float legs) {
    return RigPoses{{"Pelvis", PoseShift(x, 0, 0)},
                    {"Head", PoseTurn(0, head, 0)},
                    {"FL_Leg", PoseTurn(0, legs, 0)},
                    {"FR_Leg", PoseTurn(0, legs, 0)},
                    {"BL_Leg", PoseTurn(0, -legs, 0)},
                    {"BR_Leg", PoseTurn(0, -legs, 0)}};
  };
  rig.sets = {
      LoopSet("Ene6Reposo", Ticks(2.0),
              {{{"Head", PoseTurn(0, 0, 18)}}, {{"Head", PoseTurn(0, 6, 0)}, {"Pelvis", PoseShift(0, 0, -3)}},
               {{"Head", PoseTurn(0, 0, -18)}}}),
      LoopSet("Ene6CaminarAdelante", Ticks(0.8), {gait(25, 0), gait(0, 4), gait(-25, 0), gait(0, 4)}),
      OnceSet("Ene6GolpeCuerno", {{0, lunge(0, 0, 0)},
                                  {700, lunge(-14, -6, -12)},
                                  {1400, lunge(10, 6, 14)},
                                  {Ticks(0.6), lunge(0, 0, 0)}}),
      OnceSet("Ene6GolpeEscupir", {{0, lunge(0, 0, 0)},
                                   {1200, lunge(-10, -28, -8)},
                                   {2200, lunge(6, 12, 6)},
                                   {Ticks(0.8), lunge(0, 0, 0)}}),
  };
  return rig;
}

// The gas puddle: flat blots that grow from a tenth to full size over
// "Spread" (1 s, played once).
Rig SplatRig() {
  Rig rig;
  rig.bones = {{"Splat", "", {0, 0, 0}}};
  rig.boxes = {
      {"Splat", {-100, -60, 0}, {100, 60, 2}, 0x2E9A4E},
      {"Splat", {-60, -100, 0}, {60, 100, 2}, 0x2E9A4E},
      {"Splat", {-70, -40, 0}, {30, 60, 4}, 0x5CD47C},
      {"Splat", {10, -80, 0}, {70, -10, 4}, 0x5CD47C},
  };
  rig.emissive = 0.3f;
  RigPose small, mid;
  small.scale = 0.1f;
  mid.scale = 0.75f;
  rig.sets = {OnceSet("Spread", {{0, {{"Splat", small}}}, {Ticks(0.4), {{"Splat", mid}}}, {Ticks(1.0), {}}})};
  return rig;
}

bool WriteCreatures(const Output& out) {
  bool ok = out.Write("Ene2CompletoRojo.X", CharacterFileBytes(CocoonRig(RED_COCOON)));
  ok &= out.Write("Ene2CompletoAzul.X", CharacterFileBytes(CocoonRig(BLUE_COCOON)));
  ok &= out.Write("Ene6CompletoRojo.X", CharacterFileBytes(HornRig(RED_HORN)));
  ok &= out.Write("Ene6CompletoAzul.X", CharacterFileBytes(HornRig(BLUE_HORN)));
  ok &= out.Write("Splat.X", CharacterFileBytes(SplatRig()));
  return ok;
}

}  // namespace

DATAGEN_GROUP("characters-creatures", WriteCreatures);

}  // namespace datagen
