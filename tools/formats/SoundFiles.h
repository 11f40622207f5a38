#pragma once
// Writers for test sounds: a sine tone or any sound as a PCM .wav, or as an
// Ogg Vorbis file. Tests and the demo data generator make their sounds with
// these.
#include <cstdint>
#include <string>
#include <vector>

namespace formats {

struct Tone {
  double frequency = 440.0;  // Hz
  double seconds = 1.0;
  double amplitude = 0.5;  // of full scale
  uint32_t sampleRate = 44100;
  uint16_t channels = 1;  // 1 or 2 (the same tone on both)
};

// A RIFF WAVE file of the tone with 8-bit (unsigned) or 16-bit samples.
std::string WaveToneBytes(const Tone& tone, uint16_t bitsPerSample = 16);

// A 16-bit RIFF WAVE file of any sound: `samples` interleaved by channel,
// each in -1 .. 1 (beyond it clamped).
std::string WaveBytes(const std::vector<float>& samples, uint16_t channels, uint32_t sampleRate);

// An Ogg Vorbis file of the tone; empty when the encoder refuses the format.
std::string OggToneBytes(const Tone& tone);

// An Ogg Vorbis file of any sound: `samples` interleaved by channel, each in
// -1 .. 1; `quality` is the encoder's -0.1 .. 1. Empty when it is refused.
std::string OggBytes(const std::vector<float>& samples, uint16_t channels, uint32_t sampleRate,
                     float quality = 0.4f);

}  // namespace formats
