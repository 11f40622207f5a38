#pragma once
// For the programs that open a real window: whether a display exists.
#include <cstdio>
#include <cstdlib>

namespace testsupport {

// False, with a note that the check is skipped, when there is no display.
inline bool HaveDisplay() {
  if (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY")) return true;
  std::printf("no display: skipped\n");
  return false;
}

// Exit code that CTest counts as skipped.
constexpr int SKIPPED = 77;

}  // namespace testsupport
