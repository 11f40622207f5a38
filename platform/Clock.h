#pragma once
#include <cstdint>

namespace platform {

// Milliseconds since the program started (64-bit, monotonic, never wraps).
// On the headless backend it is the time a test has set.
uint64_t GetTickCount();

namespace headless {
// The headless clock, driven by tests.
void SetTime(uint64_t ms);
void AdvanceTime(uint64_t ms);
}  // namespace headless

}  // namespace platform
