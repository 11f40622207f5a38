#pragma once
// Writers of the mechanisms' text side files, field by field as a C program
// prints them ("%s\n", "%f\n", "%d\n"): the wire grate's description and the
// pushable block's parts file. The generator and the tests use them.
#include <string>

#include "game/mechanisms/MechanismFiles.h"

namespace formats {

std::string WireGrateDescriptionText(const MechanismFiles::WIRE_GRATE_DESCRIPTION& description);
std::string PushablePartsText(const MechanismFiles::PUSHABLE_PARTS& parts);

}  // namespace formats
