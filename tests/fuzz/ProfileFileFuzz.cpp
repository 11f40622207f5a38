// Fuzz target of the profile file reader: any bytes are either damaged or a
// profile within the limits whose bytes, written again, read the same. Then the
// playing game takes the bytes as its current profile's file, makes it live,
// plays a frame, draws and saves it. Seeds: profiles written by the game's
// writer, one with the other opener's 3F 00 prefix, and damaged ones.
#include <cstddef>
#include <cstdint>

#include "frontend/ProfileFile.h"
#include "frontend/ProfileStore.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSeeds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PROFILE_FILE_CONTENT content;
  const ProfileFileState state = ParseProfileBytes(data, size, content);
  if (state == ProfileFileState::Missing) __builtin_trap();
  if (state == ProfileFileState::Damaged) {
    if (!content.name.empty() || content.levelReached != 0) __builtin_trap();
  } else {
  if (size < 12 || size > 2 + 4 + 2 * PROFILE_MAX_COUNT + 4) __builtin_trap();
  if (content.levelReached > PROFILE_MAX_LEVEL || content.name.size() >= PROFILE_MAX_COUNT) __builtin_trap();
  const auto again = BuildProfileBytes(content.name, content.levelReached);
  PROFILE_FILE_CONTENT reread;
  if (ParseProfileBytes(again.data(), again.size(), reread) != ProfileFileState::Ok) __builtin_trap();
  if (reread.name != content.name || reread.levelReached != content.levelReached) __builtin_trap();
  }
  fuzzgame::PutInGame("Profile" + std::to_string(g_ProfileStore.m_CurrentProfile) + ".dat", data, size);
  g_ProfileStore.LoadCurrentProfile();
  ApplyCurrentProfile();
  fuzzgame::PlayDrawSave();
  return 0;
}

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
