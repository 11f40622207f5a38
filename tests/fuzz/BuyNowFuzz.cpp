// Fuzz target of the "Buynow.dat" reader and the address check: whatever the
// bytes, an address the check passes is a plain http or https address that the
// platform opens (headless, so nothing is started). Then the purchase screen,
// with the bytes as "Buynow.dat", is drawn and its button clicked. Seeds: the
// generator's file and refused addresses.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/app/Application.h"
#include "frontend/screens/BuyNow.h"
#include "frontend/screens/BuyNowButton.h"
#include "frontend/screens/FinalScreen.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSeeds.h"
#include "platform/Platform.h"
#include "platform/Window.h"
#include "scenario/ScreenScenario.h"
#include "tools/formats/TextFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool headless = (platform::SetBackend(platform::Backend::Headless), true);
  (void)headless;
  const std::string address = ReadBuyNowAddress(data, size);
  if (IsPurchaseAddress(address)) {
    if (address.rfind("http://", 0) != 0 && address.rfind("https://", 0) != 0) __builtin_trap();
    for (unsigned char c : address)
      if (c <= 0x20 || c == 0x7F) __builtin_trap();
    if (!platform::OpenWebPage(address)) __builtin_trap();
  }
  fuzzgame::PutOnScreen("Buynow.dat", data, size);
  Nembra::g_pApplication->WindowProc(Nembra::g_pApplication->GetWindow(), platform::WM_ACTIVATE, 1, 0);
  std::unique_ptr<CBuyNowButton> button = CreateBuyNowButton();
  g_pBuyNowButton = button.get();
  {
    CBuyNowScreen screen;
    auto frame = [&] { scenario::ScreenScenario::TwoPass([&] { screen.Render(); }, nullptr); };
    fuzzgame::Screen().Script({scenario::FrameInput().MoveTo(690, 550), scenario::FrameInput().Press(0),
                               scenario::FrameInput().Release(0)});
    for (int i = 0; i < 3; ++i) fuzzgame::DrawScreen(frame);
  }
  ReleaseBuyNowButton(button);
  g_pBuyNowButton = nullptr;
  return 0;
}

namespace {
std::vector<uint8_t> File(const std::string& url) {
  return SeedBytes(formats::SettingsFileText({{"Buynow", {{"URL", url}}}}));
}
}  // namespace

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  return {File("https://example.org/"), File("http://a.b/c?d=1&e=2"), File("file:///x"), File("; rm -rf ~"),
          File("javascript:alert(1)")};
}
