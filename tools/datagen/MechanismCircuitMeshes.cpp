// Meshes of the powered level objects: the breakable door, the energy
// generators and wave-weapon stations with their charge bars, the circuit
// sockets and receptors, and the laser emitters and receiver. Generators and
// stations have two subsets: the game turns depth writes off in the second,
// their translucent core; both are scaled to a bounding sphere of 110.
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
const D3DCOLORVALUE HAZARD = Rgb(0.95f, 0.8f, 0.15f);

// Colour 1 is blue, anything else red.
D3DCOLORVALUE Strong(bool blue, float alpha = 1.0f) {
  return blue ? Rgb(0.15f, 0.35f, 1.0f, alpha) : Rgb(1.0f, 0.15f, 0.1f, alpha);
}
D3DCOLORVALUE Dim(bool blue) { return blue ? Rgb(0.1f, 0.12f, 0.35f) : Rgb(0.35f, 0.08f, 0.07f); }
const char* ColourName(bool blue) { return blue ? "Blue" : "Red"; }

std::string Door() {
  MeshKit kit;
  const float hw = datagen::DOOR_WIDTH / 2, hd = datagen::DOOR_DEPTH / 2, h = datagen::DOOR_HEIGHT;
  kit.Box({-hw, -hd, 0}, {-hw + 25, hd, h}, DARK);
  kit.Box({hw - 25, -hd, 0}, {hw, hd, h}, DARK);
  kit.Box({-hw + 25, -hd, h - 25}, {hw - 25, hd, h}, DARK);
  kit.Box({-hw + 25, -hd + 6, 0}, {hw - 25, hd - 6, h - 25}, Rgb(0.72f, 0.74f, 0.78f));
  // A hazard band across both faces.
  const float inner = hw - 25, step = 2 * inner / 10;
  for (int k = 0; k < 10; ++k)
    kit.Box({-inner + k * step, -hd + 5, 120}, {-inner + (k + 1) * step, hd - 5, 150}, k % 2 ? DARK : HAZARD);
  return kit.FileBytes("Door");
}

// Scales the kit so that its bounding sphere has the stations' radius.
void FitRadius(MeshKit& kit) {
  D3DXVECTOR3 centre;
  float radius = 0;
  kit.BoundingSphere(&centre, &radius);
  kit.Scale(datagen::STATION_RADIUS / radius);
}

// A column of two dark rings held by three struts around a translucent core.
std::string Generator(bool blue) {
  MeshKit kit;
  const uint32_t core = kit.AddMaterial(Strong(blue, 0.6f));
  const float top = 170;
  kit.Prism(Axis::Z, {0, 0, 0}, 30, 70, 8, 0, DARK, STEEL);
  kit.Prism(Axis::Z, {0, 0, top - 30}, 30, 70, 8, 0, DARK, Strong(blue));
  for (int k = 0; k < 3; ++k) {
    const float angle = 2.0f * D3DX_PI * float(k) / 3.0f, x = 55 * std::cos(angle), y = 55 * std::sin(angle);
    kit.Box({x - 6, y - 6, 30}, {x + 6, y + 6, top - 30}, STEEL);
  }
  kit.UseMaterial(core);
  kit.Prism(Axis::Z, {0, 0, 30}, top - 60, 40, 8, 0, Strong(blue, 0.6f), Strong(blue, 0.6f));
  FitRadius(kit);
  return kit.FileBytes(std::string("Generator") + ColourName(blue));
}

// A squat hexagonal base with three fins under a translucent dome.
std::string WaveWeapon(bool blue) {
  MeshKit kit;
  const uint32_t dome = kit.AddMaterial(Strong(blue, 0.6f));
  kit.Prism(Axis::Z, {0, 0, 0}, 45, 75, 6, 0, DARK, STEEL);
  for (int k = 0; k < 3; ++k) {
    const float angle = 2.0f * D3DX_PI * (float(k) + 0.5f) / 3.0f, c = std::cos(angle), s = std::sin(angle);
    const D3DXVECTOR3 p(62 * c, 62 * s, 0);
    kit.Box({p.x - 8, p.y - 8, 45}, {p.x + 8, p.y + 8, 110}, Strong(blue));
  }
  kit.UseMaterial(dome);
  kit.Gem({0, 0, 90}, 50, 45, 8, Strong(blue, 0.6f), Strong(blue, 0.6f));
  FitRadius(kit);
  return kit.FileBytes(std::string("WaveWeapon") + ColourName(blue));
}

// The charge bar: a bright ring that rises along the generator.
std::string GenBar(bool blue) {
  MeshKit kit;
  kit.Prism(Axis::Z, {0, 0, -3}, 6, 78, 8, 0, Strong(blue), Strong(blue));
  return kit.FileBytes(std::string("GenBar") + ColourName(blue));
}

// A socket plate; `state` 0 off, 1 offered (a glowing rim), 2 red plug, 3 blue plug.
std::string Connector(int state) {
  MeshKit kit;
  kit.Prism(Axis::Z, {0, 0, 0}, 10, 28, 8, 0, STEEL, STEEL);
  kit.Prism(Axis::Z, {0, 0, 10}, 1, 14, 8, 0, DARK, DARK);
  if (state == 1) kit.Prism(Axis::Z, {0, 0, 10}, 2, 24, 8, 0, Rgb(0.6f, 1.0f, 0.7f), Rgb(0.6f, 1.0f, 0.7f));
  if (state >= 2) kit.Prism(Axis::Z, {0, 0, 10}, 35, 18, 8, 0, Strong(state == 3), Strong(state == 3));
  static const char* names[4] = {"ConnectorOff", "ConnectorOn", "ConnectorRed", "ConnectorBlue"};
  return kit.FileBytes(names[state]);
}

// A pedestal with a gem: dim when off, bright with a halo when on.
std::string Receptor(bool blue, bool on) {
  MeshKit kit;
  kit.Box({-30, -30, 0}, {30, 30, 70}, DARK);
  kit.Prism(Axis::Z, {0, 0, 70}, 6, 36, 8, 0, STEEL, STEEL);
  const D3DCOLORVALUE gem = on ? Strong(blue) : Dim(blue);
  kit.Gem({0, 0, 100}, on ? 22.0f : 16.0f, on ? 26.0f : 20.0f, 8, gem, gem);
  if (on) kit.Prism(Axis::Z, {0, 0, 98}, 4, 34, 12, 0, Rgb(1, 1, 1), Strong(blue));
  return kit.FileBytes(std::string("Receptor") + (on ? "On" : "Off") + ColourName(blue));
}

// Emitter head at the origin (the beam's height), looking along +x, on a pole.
std::string LaserEmitter(bool destructible) {
  MeshKit kit;
  kit.Box({-6, -6, -120}, {6, 6, -18}, STEEL);
  if (destructible) {
    kit.Prism(Axis::X, {-22, 0, 0}, 40, 18, 8, 0, HAZARD, DARK, &DARK);
  } else {
    kit.Box({-22, -16, -18}, {18, 16, 18}, DARK);
    kit.Box({-20, -18, -4}, {16, 18, 4}, STEEL);
  }
  kit.Box({18, -6, -6}, {26, 6, 6}, Rgb(1.0f, 0.35f, 0.1f));
  return kit.FileBytes(destructible ? "LaserEmitterD" : "LaserEmitterND");
}

// Receiver dish at the origin facing +x (turned back towards the emitter), on a pole.
std::string LaserReceiver() {
  MeshKit kit;
  kit.Box({-16, -6, -120}, {-4, 6, -18}, STEEL);
  kit.Box({-20, -12, -18}, {-4, 12, 18}, DARK);
  kit.Prism(Axis::X, {-4, 0, 0}, 6, 22, 8, 0, STEEL, STEEL);
  kit.Prism(Axis::X, {2, 0, 0}, 1.5f, 10, 8, 0, Rgb(0.5f, 0.05f, 0.05f), Rgb(0.5f, 0.05f, 0.05f));
  return kit.FileBytes("LaserReceiver");
}

bool WriteCircuitMeshes(const datagen::Output& out) {
  bool ok = out.Write("Door.X", Door());
  for (bool blue : {false, true}) {
    const std::string colour = ColourName(blue);
    ok &= out.Write("Generator" + colour + ".X", Generator(blue));
    ok &= out.Write("WaveWeapon" + colour + ".X", WaveWeapon(blue));
    ok &= out.Write("GenBar" + colour + ".X", GenBar(blue));
    ok &= out.Write("ReceptorOff" + colour + ".X", Receptor(blue, false));
    ok &= out.Write("ReceptorOn" + colour + ".X", Receptor(blue, true));
  }
  ok &= out.Write("ConnectorOff.X", Connector(0));
  ok &= out.Write("ConnectorOn.X", Connector(1));
  ok &= out.Write("ConnectorRed.X", Connector(2));
  ok &= out.Write("ConnectorBlue.X", Connector(3));
  ok &= out.Write("LaserEmitterD.X", LaserEmitter(true));
  ok &= out.Write("LaserEmitterND.X", LaserEmitter(false));
  ok &= out.Write("LaserReceiver.X", LaserReceiver());
  return ok;
}

}  // namespace

DATAGEN_GROUP("mechanism-circuit-meshes", WriteCircuitMeshes);
