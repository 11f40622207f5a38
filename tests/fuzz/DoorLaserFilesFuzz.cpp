// Fuzz target of the door description and laser durations readers: any bytes
// give a clean yes or no, names within the cap, finite sizes, and a durations
// list no longer than the cap of entries of at least a millisecond, which a
// laser then blinks by without end. Then a breakable door and an open/close
// door described by the bytes, and an intermittent laser blinking by them,
// stand in the playing level for a frame, drawn and saved. Seeds: the writer's
// files as the demo data holds them, and the damaged ones that once hung or
// overran a laser.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSeeds.h"
#include "game/files/LevelFileRecords.h"
#include "game/level/Level.h"
#include "game/mechanisms/barriers/DoorLaserFiles.h"
#include "tools/formats/DoorLaserTexts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DOOR_DESCRIPTION description;
  description.width = 7.0f;
  if (DoorLaserFiles::ParseDoorDescription(data, size, description)) {
    if (description.meshName.empty() || description.meshName.size() > DoorLaserFiles::MAX_NAME) __builtin_trap();
    if (!std::isfinite(description.width) || !std::isfinite(description.depth)) __builtin_trap();
  } else if (description.width != 7.0f || !description.meshName.empty()) {
    __builtin_trap();  // a failed read keeps the values
  }
  const std::vector<float> durations = DoorLaserFiles::ParseDurations(data, size);
  if (durations.size() > static_cast<size_t>(DoorLaserFiles::MAX_DURATIONS)) __builtin_trap();
  float total = 0.0f;
  for (float d : durations) {
    if (!(d >= DoorLaserFiles::MIN_DURATION) || !std::isfinite(d)) __builtin_trap();
    total += d;
  }
  // The blink loop of a laser: every pass takes a positive time off.
  if (!durations.empty()) {
    float timer = total * 3.0f + 1.0f;
    size_t index = 0;
    int passes = 0;
    while (durations[index] <= timer && passes < 1000000) {
      timer -= durations[index];
      index = (index + 1) % durations.size();
      ++passes;
    }
  }
  CLevel& level = fuzzgame::EmptiedLevel();
  fuzzgame::PutInGame("FuzzDoor.txt", data, size);
  const D3DXVECTOR3 at = fuzzgame::BesidePlayer();
  ITEMS_FILE items;
  DOOR_RECORD& door = items.doors.emplace_back();
  door.chargeNeeded = 3;
  door.descriptionFile = "FuzzDoor.txt";
  door.pair.position = at;
  OPEN_CLOSE_DOOR_RECORD& gate = items.openCloseDoors.emplace_back();
  gate.name = "FuzzGate";
  gate.descriptionFile = "FuzzDoor.txt";
  gate.pair.position = at + D3DXVECTOR3(0.0f, 300.0f, 0.0f);
  LASER_RECORD& laser = items.lasers.emplace_back();
  laser.name = "FuzzLaser";
  laser.initiallyStopped = 0;
  laser.range = 300.0f;
  laser.speed = 50.0f;
  laser.initiallyIntermittent = 1;
  laser.durationsFile = "FuzzDoor.txt";
  laser.farEnd = at + D3DXVECTOR3(0.0f, -300.0f, 0.0f);
  laser.pair.position = at + D3DXVECTOR3(0.0f, -600.0f, 0.0f);
  level.LoadItems(items);
  fuzzgame::PlayDrawSave();
  return 0;
}

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  return {
      SeedBytes(formats::DoorDescriptionText("Door.X", 300.0f, 40.0f)),
      SeedBytes(formats::DoorDescriptionText("SlidingDoor.X", 400.0f, 40.0f)),
      SeedBytes(formats::DurationsText({1.5f, 0.5f, 1.0f, 0.5f})),
      SeedBytes(formats::DurationsText({0.1f, 0.2f, 0.3f})),
      SeedBytes("0\n"),
      SeedBytes("2 0 0\n"),
      SeedBytes("-5\n"),
      SeedBytes("2147483647\n0.1\n"),
      SeedBytes("1 1e-10"),  // below a millisecond: once froze the blink loop
      SeedBytes("Door.X\r\n300\r\n40\r\n"),
  };
}
