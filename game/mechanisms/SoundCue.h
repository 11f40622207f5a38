#pragma once
// The short sounds of the mechanisms, played once each time (a new instance
// over those playing). A sound the factory cannot give is skipped.
#include <string>

#include "engine/sound/WaveSound.h"

class CSoundCue {
 public:
  // Takes the sound from the wave-sound factory (null when there is none).
  void Take(const std::string& name);
  void Play();
  Nembra::CWaveSound* Get() const { return m_pSound; }
  const std::string& GetName() const { return m_Name; }

 private:
  std::string m_Name;
  Nembra::CWaveSound* m_pSound = nullptr;
};
