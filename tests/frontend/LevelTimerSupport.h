#pragma once
// Level timers brought to a chosen elapsed time, as the level's update
// would after that many seconds of play.
#include "engine/app/Application.h"
#include "game/level/LevelTimer.h"

namespace hudtest {

// Starts the timer and advances it by `seconds` in one step (the frame time
// is put back afterwards).
inline void RunTimerTo(CLevelTimer& timer, float seconds) {
  const float frame = Nembra::g_FrameTime;
  timer.Start();
  Nembra::g_FrameTime = seconds;
  timer.Update();
  Nembra::g_FrameTime = frame;
}

}  // namespace hudtest
