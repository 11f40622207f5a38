#pragma once
// The portraits the demo levels' messages show beside their text: one
// image of 89 x 89 faces, and the painter of one face.
#include <cstdint>

#include "frontend/hud/GUILayout.h"

namespace datagen {

class Output;
class Painter;

constexpr const char* PORTRAITS_IMAGE = "Portraits.png";
// The commander and the engineer who talk to the player.
constexpr gui_layout::REGION PORTRAIT_COMMANDER{0, 0, 89, 89};
constexpr gui_layout::REGION PORTRAIT_ENGINEER{89, 0, 89, 89};

// A head and shoulders on a plain ground, size x size at (x, y).
void PaintPortrait(Painter& p, int x, int y, int size, uint32_t groundRgb, uint32_t skinArgb);
bool WritePortraits(const Output& out);

}  // namespace datagen
