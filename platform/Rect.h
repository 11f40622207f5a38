#pragma once
// Integer rectangles and points as the window and drawing calls take them.
#include <cstdint>

namespace platform {

// Left, top, right, bottom; the right and bottom edges lie outside.
struct RECT {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

struct POINT {
  int32_t x = 0;
  int32_t y = 0;
};

}  // namespace platform
