// Meshes of the breakable and collectable level objects: barrel, bomb, the
// three boxes, the items, the wire grate closed and opened, a roof over a
// room of the tutorial level and the pushable block with its two wheels.
// Each has one subset: the fade-out of a vanishing object advances once per
// begun draw.
#include <cmath>
#include <string>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/MechanismAssets.h"
#include "tools/datagen/MechanismMeshKit.h"

namespace {

using datagen::Axis;
using datagen::MeshKit;
using datagen::DARK;
using datagen::Rgb;
using datagen::STEEL;

std::string Barrel() {
  MeshKit kit;
  const D3DCOLORVALUE body = Rgb(0.9f, 0.32f, 0.08f), band = Rgb(0.95f, 0.8f, 0.15f);
  kit.Prism(Axis::Z, {0, 0, 0}, 90, 30, 12, 0, body, DARK);
  kit.Prism(Axis::Z, {0, 0, 14}, 8, 31.5f, 12, 0, band, band);
  kit.Prism(Axis::Z, {0, 0, 68}, 8, 31.5f, 12, 0, band, band);
  return kit.FileBytes("Barrel");
}

std::string BombPack() {
  MeshKit kit;
  kit.Box({-25, -18, 0}, {25, 18, 22}, Rgb(0.3f, 0.38f, 0.18f));
  kit.Box({-26, -8, -0.5f}, {26, -3, 23}, DARK);
  kit.Box({-26, 3, -0.5f}, {26, 8, 23}, DARK);
  kit.Box({-6, -6, 22}, {6, 6, 30}, Rgb(1.0f, 0.1f, 0.05f));
  return kit.FileBytes("BombPack");
}

// A crate of side 180 (collision radius 90) standing on z 0, with as many
// bands as the power that breaks it.
std::string Box(int power) {
  MeshKit kit;
  static const D3DCOLORVALUE bodies[3] = {Rgb(0.62f, 0.43f, 0.22f), Rgb(0.5f, 0.53f, 0.58f),
                                          Rgb(0.32f, 0.2f, 0.18f)};
  static const D3DCOLORVALUE bands[3] = {Rgb(0.38f, 0.24f, 0.1f), Rgb(0.95f, 0.8f, 0.15f),
                                         Rgb(1.0f, 0.45f, 0.05f)};
  kit.Box({-90, -90, 0}, {90, 90, 180}, bodies[power - 1]);
  const float step = 180.0f / float(power + 1);
  for (int k = 1; k <= power; ++k) {
    const float z = step * float(k);
    kit.Box({-91, -91, z - 7}, {91, 91, z + 7}, bands[power - 1]);
  }
  return kit.FileBytes("Box" + std::to_string(power));
}

// A white cube with a red cross on every face, larger for more health.
std::string Health(int level) {
  MeshKit kit;
  const float s = 22.0f + 8.0f * float(level), h = s / 2, c = 45.0f, t = s / 6;
  const D3DCOLORVALUE red = Rgb(0.95f, 0.08f, 0.08f);
  kit.Box({-h, -h, c - h}, {h, h, c + h}, Rgb(0.95f, 0.95f, 0.95f));
  // Three slabs through the cube: a cross on every face.
  kit.Box({-h - 1, -t, c - h - 1}, {h + 1, t, c + h + 1}, red);
  kit.Box({-t, -h - 1, c - h - 1}, {t, h + 1, c + h + 1}, red);
  kit.Box({-h - 1, -h - 1, c - t}, {h + 1, h + 1, c + t}, red);
  return kit.FileBytes("Health" + std::to_string(level));
}

// Golden gems, one for each weapon level.
std::string WeaponUp(int level) {
  MeshKit kit;
  const D3DCOLORVALUE upper = Rgb(1.0f, 0.82f, 0.1f), lower = Rgb(0.85f, 0.45f, 0.05f);
  for (int k = 0; k < level; ++k) {
    const float angle = 2.0f * D3DX_PI * float(k) / float(level);
    kit.Gem({18 * std::cos(angle), 18 * std::sin(angle), 45}, 13, 24, 6, upper, lower);
  }
  kit.Prism(Axis::Z, {0, 0, 16}, 4, 34, 12, 0, Rgb(0.6f, 0.6f, 0.65f), Rgb(0.8f, 0.8f, 0.85f));
  return kit.FileBytes("WeaponUp" + std::to_string(level));
}

std::string Ability() {
  MeshKit kit;
  kit.Gem({0, 0, 45}, 18, 28, 8, Rgb(0.3f, 1.0f, 0.55f), Rgb(0.1f, 0.6f, 0.4f));
  for (int k = 0; k < 8; ++k) {
    const float angle = 2.0f * D3DX_PI * float(k) / 8.0f;
    const float x = 32 * std::cos(angle), y = 32 * std::sin(angle);
    kit.Box({x - 4, y - 4, 41}, {x + 4, y + 4, 49}, Rgb(0.7f, 1.0f, 0.9f));
  }
  return kit.FileBytes("Ability");
}

// The grate's frame: its two posts (and, when closed, both rails).
void GrateFrame(MeshKit& kit, bool closed) {
  const float hw = datagen::GRATE_WIDTH / 2, hd = datagen::GRATE_DEPTH / 2, top = datagen::GRATE_HEIGHT;
  const float inner = hw - datagen::GRATE_POST;
  kit.Box({-hw, -hd, 0}, {-inner, hd, top}, DARK);
  kit.Box({inner, -hd, 0}, {hw, hd, top}, DARK);
  kit.Box({-inner, -hd + 2, 0}, {inner, hd - 2, 15}, STEEL);
  if (closed) kit.Box({-inner, -hd + 2, top - 15}, {inner, hd - 2, top}, STEEL);
}

std::string WireGrate(bool opened) {
  MeshKit kit;
  GrateFrame(kit, !opened);
  const D3DCOLORVALUE wire = Rgb(0.75f, 0.78f, 0.8f);
  const float inner = datagen::GRATE_WIDTH / 2 - datagen::GRATE_POST, top = datagen::GRATE_HEIGHT;
  int index = 0;
  for (float x = -inner + 10; x < inner; x += 20, ++index) {
    // Opened, only torn stubs stand on the lower rail.
    const float height = opened ? 25.0f + float((index * 37) % 45) : top - 15;
    kit.Box({x - 2, -2, 15}, {x + 2, 2, height}, wire);
  }
  if (!opened)
    for (float z = 70; z < top - 30; z += 60) kit.Box({-inner, -2.5f, z - 2}, {inner, 2.5f, z + 2}, wire);
  return kit.FileBytes(opened ? "WireGrateOpened" : "WireGrate");
}

// A slab over the tutorial level's northern corridor, in level coordinates.
std::string Roof() {
  const datagen::ROOF_STYLE style{Rgb(0.32f, 0.35f, 0.4f), Rgb(0.5f, 0.52f, 0.55f), 200, 20, 10, 6};
  return datagen::RoofOverRoom("LevelTutorial", 3, style, "Roof");
}

// The block runs from its position forward along +x and rides on two rollers.
std::string Pushable() {
  MeshKit kit;
  const float hw = datagen::PUSHABLE_WIDTH / 2, l = datagen::PUSHABLE_LENGTH;
  const float z0 = datagen::PUSHABLE_WHEEL_RADIUS, z1 = z0 + datagen::PUSHABLE_HEIGHT;
  kit.Box({1, -hw, z0}, {l - 1, hw, z1}, Rgb(0.95f, 0.72f, 0.1f));
  kit.Box({0, -hw - 1, z0 + 30}, {l, hw + 1, z0 + 45}, DARK);
  kit.Box({0, -hw - 1, z1 - 45}, {l, hw + 1, z1 - 30}, DARK);
  return kit.FileBytes("Pushable");
}

// A striped roller about the x axis, centred on its origin.
std::string Wheel(int index) {
  MeshKit kit;
  const D3DCOLORVALUE stripe = index == 1 ? Rgb(0.9f, 0.9f, 0.9f) : Rgb(0.95f, 0.72f, 0.1f);
  // A corner at the top and one at the bottom: it touches the floor.
  kit.Prism(Axis::X, {-30, 0, 0}, 60, datagen::PUSHABLE_WHEEL_RADIUS, 10, D3DX_PI / 2, DARK, STEEL, &stripe);
  return kit.FileBytes("PushableWheel" + std::to_string(index));
}

bool WriteObjectMeshes(const datagen::Output& out) {
  bool ok = out.Write("Barrel.X", Barrel());
  ok &= out.Write("BombPack.X", BombPack());
  for (int n = 1; n <= 3; ++n) {
    ok &= out.Write("Box" + std::to_string(n) + ".X", Box(n));
    ok &= out.Write("Health" + std::to_string(n) + ".X", Health(n));
  }
  ok &= out.Write("WeaponUp2.X", WeaponUp(2));
  ok &= out.Write("WeaponUp3.X", WeaponUp(3));
  ok &= out.Write("Ability.X", Ability());
  ok &= out.Write("WireGrate.X", WireGrate(false));
  ok &= out.Write("WireGrateOpened.X", WireGrate(true));
  ok &= out.Write("LevelTutorial_Roof.X", Roof());
  ok &= out.Write("Pushable.X", Pushable());
  ok &= out.Write("PushableWheel1.X", Wheel(1));
  ok &= out.Write("PushableWheel2.X", Wheel(2));
  return ok;
}

}  // namespace

DATAGEN_GROUP("mechanism-object-meshes", WriteObjectMeshes);
