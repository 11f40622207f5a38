// Fuzz target of the pushable parts file: any bytes give all the parts or none,
// at most 256, with names within the cap and finite numbers, and what was read
// is written and read back whole; then a block built of those parts stands in
// the playing level for a frame, drawn and saved. Seeds: the writer's files
// (the demo block's two wheels, none, a zero height) and bad counts.
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
  MechanismFiles::PUSHABLE_PARTS parts;
  const bool read = MechanismFiles::ParsePushableParts(data, size, parts);
  if (!read && !parts.parts.empty()) __builtin_trap();
  if (parts.parts.size() > static_cast<size_t>(MechanismFiles::MAX_PARTS)) __builtin_trap();
  if (!std::isfinite(parts.partHeight)) __builtin_trap();
  for (const MechanismFiles::PUSHABLE_PART& part : parts.parts) {
    if (part.meshFile.empty() || part.meshFile.size() > MechanismFiles::MAX_NAME) __builtin_trap();
    if (!std::isfinite(part.x)) __builtin_trap();
  }
  if (read) {
    const std::string text = formats::PushablePartsText(parts);
    MechanismFiles::PUSHABLE_PARTS back;
    if (!MechanismFiles::ParsePushableParts(reinterpret_cast<const uint8_t*>(text.data()), text.size(), back) ||
        back.parts.size() != parts.parts.size())
      __builtin_trap();
  }
  CLevel& level = fuzzgame::EmptiedLevel();
  fuzzgame::PutInGame("FuzzParts.txt", data, size);
  ITEMS_FILE items;
  PUSHABLE_RECORD& block = items.pushables.emplace_back();
  block.meshFile = "Pushable.X";
  block.length = 200.0f;
  block.width = 150.0f;
  block.firstName = "Block";
  block.secondName = "Rails";
  block.startPoint = fuzzgame::BesidePlayer();
  block.endPoint = block.startPoint + D3DXVECTOR3(1000.0f, 0.0f, 0.0f);
  block.partsFile = "FuzzParts.txt";
  block.pair.position = block.startPoint;
  level.LoadItems(items);
  fuzzgame::PlayDrawSave();
  return 0;
}

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  MechanismFiles::PUSHABLE_PARTS demo;
  demo.partHeight = 30.0f;
  demo.parts = {{"PushableWheel1.X", 50.0f}, {"PushableWheel2.X", 150.0f}};
  MechanismFiles::PUSHABLE_PARTS none;
  MechanismFiles::PUSHABLE_PARTS flat;
  flat.partHeight = 0.0f;
  flat.parts = {{"A.X", -1.0f}};
  return {SeedBytes(formats::PushablePartsText(demo)), SeedBytes(formats::PushablePartsText(none)),
          SeedBytes(formats::PushablePartsText(flat)), SeedBytes("156\n-1\n"), SeedBytes("156\n1000000000\nA.X 1\n")};
}
