#include "platform/Clock.h"

#include <chrono>

#include "platform/Platform.h"

namespace platform {
namespace {
uint64_t g_headlessTime = 0;
const std::chrono::steady_clock::time_point g_start = std::chrono::steady_clock::now();
}  // namespace

uint64_t GetTickCount() {
  if (IsHeadless()) return g_headlessTime;
  auto elapsed = std::chrono::steady_clock::now() - g_start;
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

namespace headless {
void SetTime(uint64_t ms) { g_headlessTime = ms; }
void AdvanceTime(uint64_t ms) { g_headlessTime += ms; }
}  // namespace headless

}  // namespace platform
