#include "game/mechanisms/SoundCue.h"

void CSoundCue::Take(const std::string& name) {
  m_Name = name;
  m_pSound = Nembra::g_pWaveSoundFactory ? Nembra::g_pWaveSoundFactory->Get(name) : nullptr;
}

void CSoundCue::Play() {
  if (m_pSound) m_pSound->Play(false);
}
