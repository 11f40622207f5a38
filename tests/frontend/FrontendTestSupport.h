#pragma once
// What the front-end tests share: scenario options, the sprites of an atlas
// region in the last frame, places to compare in one go, level timers run on.
#include <array>
#include <vector>

#include "engine/app/Application.h"
#include "frontend/hud/GUILayout.h"
#include "game/level/LevelTimer.h"
#include "scenario/ScreenScenario.h"

namespace fetest {

using scenario::FrameInput;
using scenario::ScreenScenario;

inline ScreenScenario::Options Writable(bool gl = false, float frameTime = 1.0f / 60.0f) {
  ScreenScenario::Options o;
  o.writableData = true;
  o.gl = gl;
  o.frameTime = frameTime;
  return o;
}

inline ScreenScenario::Options Gl() {
  ScreenScenario::Options o;
  o.gl = true;
  return o;
}

inline platform::ITexture* GuiAtlas() { return scenario::TextureOf(gui_layout::GUI_ATLAS); }

// The sprites drawn from a region of an atlas in the last frame.
inline std::vector<const scenario::SpriteRecord*> Drawn(const ScreenScenario& s, const gui_layout::REGION& region,
                                                        platform::ITexture* atlas = GuiAtlas()) {
  return s.Last().FindSprites(atlas, region.x, region.y);
}

// A sprite's left, top, width and height; a text's x and y.
using Box = std::array<float, 4>;
using At = std::array<int, 2>;
inline Box BoxOf(const scenario::SpriteRecord& r) { return {r.left, r.top, r.Width(), r.Height()}; }
// A sprite's source rectangle: left, top, width, height.
using Src = std::array<int, 4>;
inline Src SrcOf(const scenario::SpriteRecord& r) { return {r.srcLeft, r.srcTop, r.SourceWidth(), r.SourceHeight()}; }
inline At AtOf(const scenario::TextRecord& t) { return {t.x, t.y}; }
// Where the one line of this text was written in the last frame ({-1, -1}: not exactly one).
inline At TextAt(const ScreenScenario& s, const std::wstring& text) {
  const auto found = s.Last().FindText(text);
  return found.size() == 1 ? AtOf(*found[0]) : At{-1, -1};
}

// Starts a level timer and advances it by `seconds` in one step, as the
// level's update would (the frame time is put back afterwards).
inline void RunTimerTo(CLevelTimer& timer, float seconds) {
  const float frame = Nembra::g_FrameTime;
  timer.Start();
  Nembra::g_FrameTime = seconds;
  timer.Update();
  Nembra::g_FrameTime = frame;
}

}  // namespace fetest
