#include "tools/formats/DoorLaserTexts.h"

#include <cstdio>

namespace formats {

namespace {
// The shortest form, with ".0" after a whole number ("300.0", "0.25").
std::string Number(float value) {
  char text[48];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  const std::string number = text;
  return number.find_first_not_of("+-0123456789") == std::string::npos ? number + ".0" : number;
}
}  // namespace

std::string DoorDescriptionText(const std::string& meshName, float width, float depth) {
  return meshName + "\n" + Number(width) + "\n" + Number(depth) + "\n";
}

std::string DurationsText(const std::vector<float>& seconds) {
  std::string text = std::to_string(seconds.size()) + "\n";
  for (float s : seconds) text += Number(s) + "\n";
  return text;
}

}  // namespace formats
