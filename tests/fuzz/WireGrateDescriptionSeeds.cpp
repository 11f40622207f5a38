// Seeds of the wire-grate description fuzz target: the writer's files, a
// Windows-line-end file and ones cut short or with a long name.
#include <string>

#include "fuzz/FuzzSeeds.h"
#include "tools/formats/MechanismFiles.h"

namespace {
std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }
}  // namespace

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  MechanismFiles::WIRE_GRATE_DESCRIPTION d;
  d.explosionEffectFile = "WireGrateExplosion.pfx";
  d.closedBoxWidth = 300.0f;
  d.closedBoxDepth = 20.0f;
  d.breakable = true;
  d.openedShapesFileA = "WireGrate_Opened0.dat";
  d.openedShapesFileB = "WireGrate_Opened1.dat";
  const std::string whole = formats::WireGrateDescriptionText(d);
  d.breakable = false;
  d.closedBoxWidth = -1.5e3f;
  return {Bytes(whole), Bytes(formats::WireGrateDescriptionText(d)), Bytes(whole.substr(0, 40)),
          Bytes("Reja.X\r\nRejaAbierta.X\r\nE.pfx\r\n240.0\r\n16.5\r\n1\r\nA.dat\r\nB.dat\r\n"),
          Bytes(std::string(300, 'x') + "\n")};
}
