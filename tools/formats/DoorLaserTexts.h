#pragma once
// Writers of the doors' description files and the lasers' durations files,
// as the level editors write them: text lines ending in a newline, numbers
// in their shortest form with ".0" after a whole one.
#include <string>
#include <vector>

namespace formats {

// The mesh name on its own line, then the width and the depth, one a line.
std::string DoorDescriptionText(const std::string& meshName, float width, float depth);
// The count, then one duration (seconds) a line.
std::string DurationsText(const std::vector<float>& seconds);

}  // namespace formats
