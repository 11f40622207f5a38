#pragma once
// The levels every generated sound is mastered to, in one place.
//
// They leave room for what the game stacks on top at the default settings.
// An effect plays at 0 dB (the effects volume, 0.8 x 1.25 + 0.125, is more
// than the most a sound path plays at) under the sound device's master
// level of +10 dB, and a centred mono voice reaches each speaker about
// 4.5 dB down: a file's peak comes out about 5.5 dB louder. The music plays
// at its volume of 0.7 (-3 dB), centred too: it comes out about 7.5 dB
// quieter. So an explosion peaks at about -11.5 dBFS in each speaker and a
// shot or a cry at about -19.5 dBFS (their loudness is alike: the tones are
// dense, the blasts are not), and the music bed, about -28 dBFS RMS with
// its peaks near -12.5 dBFS, sits under them. Three explosions, two shots
// and two cries starting together over the music still peak near -2 dBFS:
// the output's limiter has work only beyond that.
#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

enum class SoundLevel {
  Blast,   // explosions: peak at -17 dBFS
  Effect,  // every other effect (shots, cries, pick-ups, signals, clicks): -25 dBFS
  Music,   // the loudest moment of a piece of music: -5 dBFS
};

// The level's peak, of full scale.
double PeakOf(SoundLevel level);

// Scales the samples so that the loudest lands at the level's peak
// (silence stays silent).
void Master(std::vector<float>& samples, SoundLevel level);

// A 16-bit mono .wav of the samples, mastered to the level.
std::string MasteredWave(std::vector<float> samples, uint32_t sampleRate, SoundLevel level);

}  // namespace datagen
