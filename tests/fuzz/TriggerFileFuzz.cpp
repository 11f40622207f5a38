// Fuzz target of the trigger file reader: any bytes give a clean yes or no, the
// records before any damage, strings within the cap, and triggers a manager can
// hold, switch and test; then the playing level loads the file, plays a frame,
// draws and saves. Seeds: files of every record variety from the writer, and an
// empty one.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSeeds.h"
#include "game/level/Level.h"
#include "game/triggers/TriggerFile.h"
#include "game/triggers/TriggerManager.h"
#include "tools/formats/TriggerFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<TRIGGER_RECORD> records;
  const bool complete = ParseTriggerFile(data, size, records);
  // Every record takes at least 33 bytes after the 4-byte count.
  if (records.size() > size / 33) __builtin_trap();
  if (complete && size < 4) __builtin_trap();
  CTriggerManager triggers;
  for (const TRIGGER_RECORD& record : records) {
    if (record.script.size() > TRIGGER_FILE_MAX_STRING || record.name.size() > TRIGGER_FILE_MAX_STRING)
      __builtin_trap();
    if (record.type > 1) __builtin_trap();
    triggers.AddTrigger(record);
  }
  if (triggers.CircularCount() + triggers.RectangularCount() > records.size()) __builtin_trap();
  for (const TRIGGER_RECORD& record : records) {
    triggers.EnableTrigger(record.name, !record.enabled);
    const D3DXVECTOR3 centre(record.x, record.y, record.z);
    if (Nembra::CCircularTrigger* circle = triggers.FindCircular(record.name)) circle->IsInside(centre);
    if (Nembra::CRectangularTrigger* rect = triggers.FindRectangular(record.name)) rect->IsInside(centre);
  }
  triggers.ResetTriggers();
  CLevel& level = fuzzgame::EmptiedLevel();
  fuzzgame::PutInGame("FuzzTriggers.dat", data, size);
  level.LoadTriggers("FuzzTriggers.dat");
  fuzzgame::PlayDrawSave();
  return 0;
}

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  using formats::TriggerFileRecord;
  return {
      formats::TriggerFileBytes({}),
      formats::TriggerFileBytes({TriggerFileRecord::MakeCircle("Tut_Goal.lua", "GOAL", 1000.0f, 0.0f, 0.0f, 150.0f)}),
      formats::TriggerFileBytes({
          TriggerFileRecord::MakeCircle("L4_Goal.lua", "Goal", 3000.0f, 2500.0f, 0.0f, 200.0f),
          TriggerFileRecord::MakeRectangle("L4_Terminal.lua", "Terminal", -500.0f, 800.0f, 0.0f, 200.0f, 120.0f,
                                           TriggerFileRecord::Action),
          TriggerFileRecord::MakeCircle("", "goal", 1.0f, 2.0f, 3.0f, 4.0f, TriggerFileRecord::Action, false),
          TriggerFileRecord::MakeRectangle("x.lua", "", 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, TriggerFileRecord::WalkIn,
                                           false),
      }),
  };
}
