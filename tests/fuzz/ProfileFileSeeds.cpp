// Seeds of the profile file fuzz target: profiles written by the game's
// writer, one with the other opener's 3F 00 prefix, and damaged ones.
#include "frontend/ProfileFile.h"
#include "fuzz/FuzzSeeds.h"

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds() {
  std::vector<std::vector<uint8_t>> seeds = {
      BuildProfileBytes(L"abc", 0),
      BuildProfileBytes(L"Mu\u00F1oz", 3),
      BuildProfileBytes(L"\u0414\u043C\u0438\u0442\u0440\u0438\u0439", 14),
      BuildProfileBytes(L"x\U0001F600", 1),
      BuildProfileBytes(std::wstring(256, L'z'), 2),
      BuildProfileBytes(L"", 0),
  };
  std::vector<uint8_t> other = BuildProfileBytes(L"abc", 5);
  other[0] = 0x3F;
  other[1] = 0x00;
  seeds.push_back(other);
  seeds.push_back({0xFF, 0xFE, 0x00, 0x00, 0x00, 0x80, 'a', 0, 0, 0, 0, 0, 0, 0});
  return seeds;
}
