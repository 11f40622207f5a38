// Seeds of the "Buynow.dat" fuzz target: the generator's file and refused
// addresses.
#include <string>

#include "fuzz/FuzzSeeds.h"
#include "tools/formats/TextFiles.h"

namespace {
std::vector<uint8_t> File(const std::string& url) {
  const std::string text = formats::SettingsFileText({{"Buynow", {{"URL", url}}}});
  return std::vector<uint8_t>(text.begin(), text.end());
}
}  // namespace

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  return {File("https://example.org/"), File("http://a.b/c?d=1&e=2"), File("file:///x"), File("; rm -rf ~"),
          File("javascript:alert(1)")};
}
