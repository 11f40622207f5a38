// Fuzz target of the pushable parts file: any bytes give all the parts or
// none, at most 256, with names within the cap and finite numbers, and what
// was read is written and read back whole; then a block built of those
// parts stands in the playing level for a frame, drawn and saved.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzGame.h"
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
