#pragma once
#include <cstdint>
#include <vector>

namespace platform {

// Milliseconds since the program started (64-bit, monotonic, never wraps).
// On the headless backend it is the time a test has set.
uint64_t GetTickCount();

// Waits, without keeping the processor busy, until GetTickCount reaches
// tick: sleeps for the whole milliseconds that remain, then for all but the
// last tenth of a millisecond, and yields the processor for the rest. Returns
// at once when the tick has come. On the headless backend it returns at once
// (the test drives the clock) and records the tick waited for.
void WaitForTick(uint64_t tick);

namespace headless {
// The headless clock, driven by tests.
void SetTime(uint64_t ms);
void AdvanceTime(uint64_t ms);
// The ticks WaitForTick was asked for, oldest first; ClearTickWaits empties the list.
const std::vector<uint64_t>& TickWaits();
void ClearTickWaits();
}  // namespace headless

}  // namespace platform
