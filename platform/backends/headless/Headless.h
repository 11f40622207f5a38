#pragma once
// Test controls of the headless backend that are not part of a subsystem's
// own header.
#include "platform/Clock.h"
#include "platform/Window.h"

namespace platform {
namespace headless {
// Makes the next window creations fail (true) or succeed again (false).
void FailWindowCreation(bool fail);
}  // namespace headless
}  // namespace platform
