// Fuzz target of the profile file reader: any bytes are either damaged or a
// profile within the limits whose bytes, written again, read the same. Then
// the playing game takes the bytes as its current profile's file, makes it
// live, plays a frame, draws and saves it.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzGame.h"
#include "frontend/ProfileStore.h"
#include "frontend/ProfileFile.h"

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
