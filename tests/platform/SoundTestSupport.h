#pragma once
// What the sound tests share: tones to play and the mixer's frame updates
// run for a while.
#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "platform/Sound.h"
#include "tools/formats/SoundFiles.h"

namespace soundtest {

inline formats::Tone ToneOf(double seconds, uint16_t channels = 1, uint32_t sampleRate = 44100) {
  formats::Tone tone;
  tone.seconds = seconds;
  tone.channels = channels;
  tone.sampleRate = sampleRate;
  return tone;
}

// Runs the mixer's frame updates until `done` holds or the time is up; answers the seconds it took.
inline double PumpUntil(const std::function<bool()>& done, double limitSeconds) {
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    platform::UpdateAudio();
    const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (done() || t > limitSeconds) return t;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

inline void Pump(double seconds) {
  PumpUntil([] { return false; }, seconds);
}

// The seconds after which each path first had no voice (-1: not within the limit).
inline std::vector<double> SecondsUntilSilent(const std::vector<const platform::SoundPath*>& paths, double limit) {
  std::vector<double> took(paths.size(), -1.0);
  const auto start = std::chrono::steady_clock::now();
  PumpUntil(
      [&] {
        const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        bool all = true;
        for (size_t i = 0; i < paths.size(); ++i) {
          if (took[i] < 0 && paths[i]->VoiceCount() == 0) took[i] = t;
          all = all && took[i] >= 0;
        }
        return all;
      },
      limit);
  return took;
}

// 16-bit little-endian samples as numbers.
inline std::vector<int16_t> Samples16(const std::vector<uint8_t>& pcm) {
  std::vector<int16_t> out(pcm.size() / 2);
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<int16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8));
  return out;
}

}  // namespace soundtest
