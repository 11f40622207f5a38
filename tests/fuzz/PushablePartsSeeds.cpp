// Seeds of the pushable parts fuzz target: the writer's files (the demo
// block's two wheels, none, a zero height) and bad counts.
#include <string>

#include "fuzz/FuzzSeeds.h"
#include "tools/formats/MechanismFiles.h"

namespace {
std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }
}  // namespace

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  MechanismFiles::PUSHABLE_PARTS demo;
  demo.partHeight = 30.0f;
  demo.parts = {{"PushableWheel1.X", 50.0f}, {"PushableWheel2.X", 150.0f}};
  MechanismFiles::PUSHABLE_PARTS none;
  MechanismFiles::PUSHABLE_PARTS flat;
  flat.partHeight = 0.0f;
  flat.parts = {{"A.X", -1.0f}};
  return {Bytes(formats::PushablePartsText(demo)), Bytes(formats::PushablePartsText(none)),
          Bytes(formats::PushablePartsText(flat)), Bytes("156\n-1\n"), Bytes("156\n1000000000\nA.X 1\n")};
}
