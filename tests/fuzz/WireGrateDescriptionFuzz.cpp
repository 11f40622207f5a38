// Fuzz target of the wire-grate description reader: any bytes give a count of
// fields read, names within the cap, finite box sizes, and a description the
// writer can write and the reader read back the same; then a grate described by
// the file stands in the playing level for a frame, drawn and saved. Seeds: the
// writer's files, a Windows-line-end file and ones cut short or with a long
// name.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSeeds.h"
#include "game/files/LevelFileRecords.h"
#include "game/level/Level.h"
#include "game/mechanisms/MechanismFiles.h"
#include "tools/formats/MechanismFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MechanismFiles::WIRE_GRATE_DESCRIPTION d;
  const int fields = MechanismFiles::ParseWireGrateDescription(data, size, d);
  if (fields < 0 || fields > 8) __builtin_trap();
  for (const std::string* name : {&d.closedMesh, &d.openedMesh, &d.explosionEffectFile, &d.openedShapesFileA,
                                  &d.openedShapesFileB})
    if (name->size() > MechanismFiles::MAX_NAME) __builtin_trap();
  if (!std::isfinite(d.closedBoxWidth) || !std::isfinite(d.closedBoxDepth)) __builtin_trap();
  if (fields == 8 && !d.explosionEffectFile.empty() && !d.openedShapesFileB.empty()) {
    const std::string text = formats::WireGrateDescriptionText(d);
    MechanismFiles::WIRE_GRATE_DESCRIPTION back;
    if (MechanismFiles::ParseWireGrateDescription(reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                                                  back) != 8)
      __builtin_trap();
    if (back.openedShapesFileB != d.openedShapesFileB || back.breakable != d.breakable) __builtin_trap();
  }
  CLevel& level = fuzzgame::EmptiedLevel();
  fuzzgame::PutInGame("FuzzGrate_Desc.txt", data, size);
  ITEMS_FILE items;
  WIRE_GRATE_RECORD& grate = items.wireGrates.emplace_back();
  grate.descriptionFile = "FuzzGrate_Desc.txt";
  grate.pair.position = fuzzgame::BesidePlayer();
  level.LoadItems(items);
  fuzzgame::PlayDrawSave();
  return 0;
}

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
  return {SeedBytes(whole), SeedBytes(formats::WireGrateDescriptionText(d)), SeedBytes(whole.substr(0, 40)),
          SeedBytes("Reja.X\r\nRejaAbierta.X\r\nE.pfx\r\n240.0\r\n16.5\r\n1\r\nA.dat\r\nB.dat\r\n"),
          SeedBytes(std::string(300, 'x') + "\n")};
}
