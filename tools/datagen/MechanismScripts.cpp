// The scripts the demo's scripted mechanisms run: a broken door, the two
// moves of the sliding door, a full generator and station, a lit receptor,
// a fallen target and a switched-off laser. Each counts its runs in a
// script variable of its own name and says what happened in the log, so a
// level built on them shows its progress.
#include <string>

#include "tools/datagen/DataGen.h"

namespace {

struct MECHANISM_SCRIPT {
  const char* file;
  const char* what;
};

constexpr MECHANISM_SCRIPT SCRIPTS[] = {
    {"DoorBroken.lua", "a door broke"},
    {"SlidingDoorOpen.lua", "the sliding door opens"},
    {"SlidingDoorClose.lua", "the sliding door closes"},
    {"GeneratorFull.lua", "a generator is full"},
    {"StationFull.lua", "a wave-weapon station is full"},
    {"ReceptorOn.lua", "a receptor lit up"},
    {"TargetDown.lua", "a target fell"},
    {"LaserOff.lua", "a laser emitter was shot"},
};

std::string ScriptText(const MECHANISM_SCRIPT& script) {
  const std::string name = std::string(script.file).substr(0, std::string(script.file).size() - 4);
  return "-- " + std::string(script.what) + "\nIncVar(\"" + name + "\")\n";
}

bool WriteMechanismScripts(const datagen::Output& out) {
  bool ok = true;
  for (const MECHANISM_SCRIPT& script : SCRIPTS) ok &= out.Write(std::string("Scripts/") + script.file, ScriptText(script));
  return ok;
}

}  // namespace

DATAGEN_GROUP("mechanism-scripts", WriteMechanismScripts);
