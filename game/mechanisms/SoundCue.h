#pragma once
// Playing the short sounds of the mechanisms once (a new instance over those
// playing). A missing sound is skipped. Every request is counted by the
// sound's name, so a level without audio output still tells what it asked
// to hear.
#include <string>

#include "engine/sound/WaveSound.h"

// Takes a sound from the wave-sound factory; null when there is none.
Nembra::CWaveSound* TakeWaveSound(const std::string& name);
void PlayCue(Nembra::CSound* sound);
// Requests of the named sound since the last clear (name as taken).
int CueCount(const std::string& name);
void ClearCueCounts();
