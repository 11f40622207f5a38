#pragma once
// The fill light every demo level adds to its own: three dim directional
// lights from all round, a little from above, so that every wall, pillar
// and crate face shows its texture, including the faces turned away from
// the level's main light (the engine's ambient is 0). Any horizontal face
// normal gets between 0.8 and 0.93 of one fill's colour; the main light's
// side stays brighter, so the shapes read.
#include <cmath>
#include <string>

namespace datagen {

// Script lines for the fill lights "Fill0" .. "Fill2" of a level script.
inline std::string FillLightScript() {
  static const int AZIMUTHS[3] = {30, 150, 270};  // degrees the light travels towards
  std::string script = "-- Fill light from all round, so no face is black; colours are 0 to 255.\n";
  for (int i = 0; i < 3; ++i) {
    const double a = AZIMUTHS[i] * 3.14159265358979 / 180.0;
    const std::string name = "\"Fill" + std::to_string(i) + "\"";
    const std::string x = std::to_string(static_cast<int>(std::lround(-1000.0 * std::cos(a))));
    const std::string y = std::to_string(static_cast<int>(std::lround(-1000.0 * std::sin(a))));
    script += "LightAddDirectional(" + name + ")\n";
    script += "LightSetPos(" + name + ", " + x + ", " + y + ", 400)\n";
    script += "LightSetTarget(" + name + ", 0, 0, 0)\n";
    script += "LightSetDiffuseColor(" + name + ", 125, 128, 136)\n";
    script += "LightTurnOn(" + name + ", true)\n";
  }
  return script;
}

}  // namespace datagen
