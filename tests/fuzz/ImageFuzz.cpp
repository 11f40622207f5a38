// Fuzz target of the image readers (PNG, JPEG, TGA): any bytes are refused
// or give an image whose pixels match its size, within the largest texture.
#include <cstddef>
#include <cstdint>

#include "platform/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::Image image;
  std::string error;
  if (!platform::DecodeImage(data, size, image, &error)) {
    if (error.empty() || !image.argb.empty()) __builtin_trap();
    return 0;
  }
  if (image.width == 0 || image.height == 0 || uint64_t(image.width) * image.height > uint64_t(8192) * 8192 ||
      image.argb.size() != size_t(image.width) * image.height)
    __builtin_trap();
  return 0;
}
