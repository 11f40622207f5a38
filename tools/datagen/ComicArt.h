#pragma once
// Drawing of the comics' pages: panels of the story's scenes (the station,
// the hero, the commander and the engineer, the red and blue creatures, the
// corridors, the generators, the circuit and the core) made of flat shapes
// with dark outlines, and the white balloons with a tail to the speaker.
// Plain integer and float arithmetic: two runs paint the same pixels.
#include <cstdint>
#include <vector>

#include "tools/formats/GraphicsFiles.h"

namespace datagen::comic {

// The scenes a panel can show.
enum class Scene {
  StationInSpace,      // the station among the stars, its windows lit
  StationDark,         // the same, dark but for one lamp
  Commander,           // the commander's head and shoulders at the radio
  Engineer,            // the engineer's head and shoulders
  HeroWakes,           // the hero sitting up in a sleep pod
  RedShotAtBlue,       // the hero (left) fires red shots at a blue creature
  BlueShotAtRed,       // the hero (right) fires blue shots at a red creature
  CorridorToExit,      // the hero from behind, a corridor to a green exit marker
  DeadGenerators,      // three dark generators, sparks
  HeroAtDarkPanel,     // the hero at a dead wall panel, a red beam beyond
  CircuitLit,          // wires lighting up from a generator to a receptor
  HeroThroughGate,     // the hero running through an opening gate
  GuardianFallen,      // the guardian down in smoke, the hero standing, the core behind
};

struct PanelBox {
  int x, y, w, h;
};

struct Balloon {
  int x, y;        // the text's centre x and top y on the page
  int tailX, tailY;  // where the tail points (the speaker); tailY 0: no tail
};

// A page of 1024 x 1024 with the comic page (800 x 600) at its top left:
// the panels on a dark ground, then the balloons.
formats::TestPicture Page(const std::vector<std::pair<PanelBox, Scene>>& panels, const std::vector<Balloon>& balloons);

}  // namespace datagen::comic
