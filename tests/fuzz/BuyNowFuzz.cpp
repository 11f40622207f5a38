// Fuzz target of the "Buynow.dat" reader and the address check: whatever
// the bytes, an address the check passes is a plain http or https address
// that the platform opens (headless, so nothing is started).
#include <cstddef>
#include <cstdint>
#include <string>

#include "frontend/BuyNow.h"
#include "platform/Platform.h"
#include "platform/Window.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool headless = (platform::SetBackend(platform::Backend::Headless), true);
  (void)headless;
  const std::string address = ReadBuyNowAddress(data, size);
  if (!IsPurchaseAddress(address)) return 0;
  if (address.rfind("http://", 0) != 0 && address.rfind("https://", 0) != 0) __builtin_trap();
  for (unsigned char c : address)
    if (c <= 0x20 || c == 0x7F) __builtin_trap();
  if (!platform::OpenWebPage(address)) __builtin_trap();
  return 0;
}
