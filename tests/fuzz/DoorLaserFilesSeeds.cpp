// Seeds of the door description and durations fuzz target: the writer's
// files as the demo data holds them, and the damaged ones that once hung or
// overran a laser.
#include <string>

#include "fuzz/FuzzSeeds.h"
#include "tools/formats/DoorLaserTexts.h"

namespace {
std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }
}  // namespace

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  return {
      Bytes(formats::DoorDescriptionText("Door.X", 300.0f, 40.0f)),
      Bytes(formats::DoorDescriptionText("SlidingDoor.X", 400.0f, 40.0f)),
      Bytes(formats::DurationsText({1.5f, 0.5f, 1.0f, 0.5f})),
      Bytes(formats::DurationsText({0.1f, 0.2f, 0.3f})),
      Bytes("0\n"),
      Bytes("2 0 0\n"),
      Bytes("-5\n"),
      Bytes("2147483647\n0.1\n"),
      Bytes("1 1e-10"),  // below a millisecond: once froze the blink loop
      Bytes("Door.X\r\n300\r\n40\r\n"),
  };
}
