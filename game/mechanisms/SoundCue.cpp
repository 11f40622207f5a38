#include "game/mechanisms/SoundCue.h"

#include <map>

#include "platform/Text.h"

namespace {
std::map<std::string, int>& Counts() {
  static std::map<std::string, int> counts;
  return counts;
}
}  // namespace

void CSoundCue::Take(const std::string& name) {
  m_Name = name;
  m_pSound = Nembra::g_pWaveSoundFactory ? Nembra::g_pWaveSoundFactory->Get(name) : nullptr;
}

void CSoundCue::Play() {
  if (m_Name.empty()) return;
  ++Counts()[platform::AsciiUpper(m_Name)];
  if (m_pSound) m_pSound->Play(false);
}

int CueCount(const std::string& name) {
  auto it = Counts().find(platform::AsciiUpper(name));
  return it == Counts().end() ? 0 : it->second;
}

void ClearCueCounts() { Counts().clear(); }
