#include "platform/Clock.h"

#include <chrono>
#include <thread>

#include "platform/Platform.h"

namespace platform {
namespace {
uint64_t g_headlessTime = 0;
std::vector<uint64_t> g_tickWaits;
const std::chrono::steady_clock::time_point g_start = std::chrono::steady_clock::now();
// How late a sleep usually wakes; the rest of a wait is spent yielding.
const std::chrono::microseconds SLEEP_LATENESS(100);
}  // namespace

uint64_t GetTickCount() {
  if (IsHeadless()) return g_headlessTime;
  auto elapsed = std::chrono::steady_clock::now() - g_start;
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void WaitForTick(uint64_t tick) {
  if (IsHeadless()) {
    g_tickWaits.push_back(tick);
    return;
  }
  using Clock = std::chrono::steady_clock;
  const Clock::time_point due = g_start + std::chrono::milliseconds(tick);
  const Clock::duration left = due - Clock::now();
  const auto wholeMs = std::chrono::duration_cast<std::chrono::milliseconds>(left);
  if (wholeMs.count() > 0) std::this_thread::sleep_for(wholeMs);
  if (due - Clock::now() > SLEEP_LATENESS) std::this_thread::sleep_until(due - SLEEP_LATENESS);
  while (GetTickCount() < tick) std::this_thread::yield();
}

namespace headless {
void SetTime(uint64_t ms) { g_headlessTime = ms; }
void AdvanceTime(uint64_t ms) { g_headlessTime += ms; }
const std::vector<uint64_t>& TickWaits() { return g_tickWaits; }
void ClearTickWaits() { g_tickWaits.clear(); }
}  // namespace headless

}  // namespace platform
