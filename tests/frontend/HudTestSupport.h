#pragma once
// What the HUD tests share: finding the sprites of an atlas region in the
// last frame's decoded draws.
#include <vector>

#include "frontend/hud/GUILayout.h"
#include "scenario/ScreenScenario.h"

namespace hudtest {

inline platform::ITexture* GuiAtlas() { return scenario::TextureOf(gui_layout::GUI_ATLAS); }

// The sprites drawn from a region of an atlas in the last frame.
inline std::vector<const scenario::SpriteRecord*> Drawn(const scenario::ScreenScenario& s,
                                                        const gui_layout::REGION& region,
                                                        platform::ITexture* atlas = GuiAtlas()) {
  return s.Last().FindSprites(atlas, region.x, region.y);
}

}  // namespace hudtest
