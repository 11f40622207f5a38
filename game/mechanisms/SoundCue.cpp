#include "game/mechanisms/SoundCue.h"

#include <map>

#include "engine/sound/WaveSound.h"
#include "platform/Text.h"

namespace {
std::map<std::string, int>& Counts() {
  static std::map<std::string, int> counts;
  return counts;
}
}  // namespace

Nembra::CWaveSound* TakeWaveSound(const std::string& name) {
  return Nembra::g_pWaveSoundFactory ? Nembra::g_pWaveSoundFactory->Get(name) : nullptr;
}

void PlayCue(Nembra::CSound* sound) {
  if (!sound) return;
  ++Counts()[platform::AsciiUpper(sound->GetName())];
  sound->Play(false);
}

int CueCount(const std::string& name) {
  auto it = Counts().find(platform::AsciiUpper(name));
  return it == Counts().end() ? 0 : it->second;
}

void ClearCueCounts() { Counts().clear(); }
